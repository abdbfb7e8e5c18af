#include "archiveclient/ops/FormatDetection.h"

#include "archiveclient/base/PropValue.h"
#include "archiveclient/base/StreamAdapters.h"
#include "archiveclient/ops/EmbeddedList.h"
#include <algorithm>
#include <cstring>
#include <memory>

namespace
{

const UINT64 kDefaultSearchLimit = 0x800000;
const size_t kHeadCheckSize = 1024;
const size_t kStartCheckSize = 0x100000;
const size_t kScanBufferSize = 0x400000;
const size_t kScanKeepBefore = 0x10000;
const size_t kScanLookAhead = 0x100000;
const UINT64 kScanProgressStep = 0x800000;
const uint32_t kMaxScanSignatures = 254;
const PROPID kpidSizeNotDetectable = 85;

const char* const kPreArchiveNames[] = {"pe", "elf", "macho", "mub", "te"};
const char* const kPlainSignatureNames[] = {"7z",  "xz",  "rar", "bzip2", "gzip",
                                            "cab", "wim", "rpm", "vhd",   "xar"};

template <size_t N> bool NameIsIn(const UString& name, const char* const (&names)[N])
{
    for (const char* candidate : names)
        if (name.EqualsAsciiNoCase(candidate))
            return true;
    return false;
}

bool IsPreArchiveFormat(const CArchiveFormatInfo& format)
{
    return (format.Flags & kArcFlagPreArc) != 0 || NameIsIn(format.Name, kPreArchiveNames);
}

bool HasPlainSignature(const CArchiveFormatInfo& format)
{
    return format.FlagsDefined || NameIsIn(format.Name, kPlainSignatureNames);
}

bool IsArchiveDespiteFailure(const CArchiveErrorInfo& info)
{
    return info.errorFlagsSet && (info.errorFlags & 1) == 0;
}

bool IsNumberedPart(const UString& extension, wchar_t lower)
{
    if (extension.Length() < 2 || ToLowerAsciiChar(extension[0]) != lower)
        return false;
    for (uint32_t i = 1; i < extension.Length(); i++)
        if (extension[i] < L'0' || extension[i] > L'9')
            return false;
    return true;
}

bool IsExcluded(const CArchiveOpenRequest& request, int32_t formatIndex)
{
    if (request.excludedFormats == nullptr)
        return false;
    for (uint32_t i = 0; i < request.excludedFormats->Count(); i++)
        if (request.excludedFormats->At(i) == formatIndex)
            return true;
    return false;
}

UString ExtensionOfPath(const UString& path)
{
    int sep = path.FindLastPathSeparator();
    UString fileName(path.CharsAt(static_cast<uint32_t>(sep + 1)));
    int dot = fileName.FindLastDot();
    if (dot < 0)
        return UString();
    return UString(fileName.CharsAt(static_cast<uint32_t>(dot + 1)));
}

HRESULT SeekToStart(IInStream* stream)
{
    return stream->Seek(0, kSeekSet, nullptr);
}

HRESULT ReportTotal(IArchiveOpenCallback* callback, UINT64 bytes)
{
    if (callback == nullptr)
        return S_OK;
    return callback->SetTotal(nullptr, &bytes);
}

// The matching rar volume header: the marker block, then a main header (type 0x73)
// whose flags say this is a volume.
bool IsRarVolumeHead(const BYTE* data, size_t size)
{
    static const BYTE kMarker[7] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};
    return size >= 16 && std::memcmp(data, kMarker, sizeof(kMarker)) == 0 && data[9] == 0x73 &&
           (data[10] & 1) != 0;
}

struct CLevelScan
{
    CArchiveLevel& level;
    CArchiveOpenRequest& request;
    CCodecs& codecs;
    CCandidateOrder candidates;
    std::vector<bool> refusedAtStart;
    bool searchInHandler = false;
    UINT64 searchLimit = kDefaultSearchLimit;
    UString extension;

    CLevelScan(CArchiveLevel& l, CArchiveOpenRequest& r) : level(l), request(r), codecs(*r.Codecs) {}

    const CArchiveFormatInfo& Format(int32_t index) const
    {
        return codecs.Formats.At(static_cast<uint32_t>(index));
    }

    const CAcceptFlags& AcceptFlagsFor(int32_t formatIndex) const
    {
        const CArchiveTypeChoice& type = request.typeChoice;
        if (candidates.isForced)
            return type.forced;
        if (candidates.matchedByExtension[static_cast<size_t>(formatIndex)])
            return type.byExtension;
        if (candidates.unknownExtension)
            return type.unknownExtension;
        return type.wrongExtension;
    }

    HRESULT TryCandidates(bool& opened);
    HRESULT CheckStarts(NArchive::NParser::CHandler& list, CExtractCallback_To_OpenCallback* adapter,
                        bool& opened);
    HRESULT ScanSignatures(NArchive::NParser::CHandler& list, CExtractCallback_To_OpenCallback* adapter);
};

// Phase 1: the candidates in order, each opened at the start (or searched by the
// handler itself when the format was named).
HRESULT CLevelScan::TryCandidates(bool& opened)
{
    opened = false;
    const CArchiveTypeChoice& type = request.typeChoice;
    size_t tries = candidates.isForced ? candidates.extensionMatches : candidates.order.size();
    for (size_t i = 0; i < tries && i < candidates.order.size(); i++)
    {
        int32_t formatIndex = candidates.order[i];
        if (formatIndex < 0)
            continue;
        const CArchiveFormatInfo& format = Format(formatIndex);
        bool exactOnly = false;
        if (i >= candidates.extensionMatches)
        {
            if ((format.Flags & kArcFlagBackwardOpen) == 0)
                continue;
            exactOnly = true;
        }
        HRESULT hr = ReportTotal(request.callback.Get(), level.fileSize);
        if (hr != S_OK)
            return hr;
        if (!request.stream.IsNull())
        {
            hr = SeekToStart(request.stream.Get());
            if (hr != S_OK)
                return hr;
        }
        CInterfaceRef<IInArchive> handler;
        hr = CreateArchiveHandler(request, static_cast<uint32_t>(formatIndex), handler);
        if (hr != S_OK)
            return hr;
        if (handler.IsNull())
            continue;
        if (!request.stream.IsNull())
        {
            UINT64 zero = 0;
            const UINT64* limit = searchInHandler && !exactOnly ? &searchLimit : &zero;
            hr = handler->Open(request.stream.Get(), limit, request.callback.Get());
        }
        else
        {
            CInterfaceRef<IArchiveOpenSeq> openSeq;
            openSeq.QueryFrom(handler.Get());
            if (openSeq.IsNull())
                return E_NOTIMPL;
            hr = openSeq->OpenSeq(request.sequentialStream.Get());
        }
        if (hr != S_OK && hr != S_FALSE)
            return hr;
        HRESULT openResult = hr;
        hr = level.ReadOpenProperties(handler.Get(), 0, openResult);
        if (hr != S_OK)
            return hr;

        if (openResult == S_FALSE)
        {
            bool despite = IsArchiveDespiteFailure(level.errorInfo);
            if (!type.allowEmbeddedList || !despite)
                refusedAtStart[static_cast<size_t>(formatIndex)] = true;
            if (exactOnly)
                continue;
            if (i == 0 && candidates.extensionMatches == 1)
            {
                level.errorInfo.errorFormatIndex = formatIndex;
                level.failedOpenInfo = level.errorInfo;
                if (!type.allowEmbeddedList && despite && !IsPreArchiveFormat(format))
                    return S_FALSE;
            }
            continue;
        }

        bool tail = level.errorInfo.thereIsTail;
        if (tail && type.zeroTailAllowed)
        {
            hr = level.CheckZeroTail(request, static_cast<uint64_t>(level.offset) + level.physicalSize);
            if (hr != S_OK)
                return hr;
            if (level.errorInfo.ignoreTail)
                tail = false;
        }
        const CAcceptFlags& accept = AcceptFlagsFor(formatIndex);
        bool afterStart = level.offset > 0;
        if (afterStart &&
            (exactOnly || !searchInHandler || (!accept.asTail && !accept.inMiddle) ||
             (type.maxStartOffsetSet && static_cast<uint64_t>(level.offset) > type.maxStartOffset)))
            continue;
        if (tail && ((afterStart && !accept.inMiddle) || (!afterStart && !accept.atStart)))
            continue;
        if ((afterStart || tail) && !candidates.isForced && IsPreArchiveFormat(format))
            continue;
        level.handler = handler;
        level.formatIndex = formatIndex;
        opened = true;
        return S_OK;
    }
    return S_OK;
}

// Phase 2: every format that can tell from the head of the stream, opened at 0.
HRESULT CLevelScan::CheckStarts(NArchive::NParser::CHandler& list, CExtractCallback_To_OpenCallback* adapter,
                                bool& opened)
{
    opened = false;
    const CArchiveTypeChoice& type = request.typeChoice;
    IInStream* stream = request.stream.Get();

    size_t headSize = kStartCheckSize;
    bool endOfFile = false;
    if (level.fileSize < headSize)
    {
        headSize = static_cast<size_t>(level.fileSize);
        endOfFile = true;
    }
    std::unique_ptr<BYTE[]> head(new BYTE[kStartCheckSize]);
    HRESULT hr = SeekToStart(stream);
    if (hr != S_OK)
        return hr;
    size_t headRead = headSize;
    hr = ReadUntilFull(stream, head.get(), headRead);
    if (hr != S_OK)
        return hr;
    if (headRead == 0)
        return S_FALSE;
    if (headRead < headSize)
        endOfFile = true;

    std::vector<int32_t> startOrder;
    int32_t splitIndex = -1;
    for (int32_t formatIndex : candidates.order)
    {
        if (formatIndex < 0 || refusedAtStart[static_cast<size_t>(formatIndex)])
            continue;
        const CArchiveFormatInfo& format = Format(formatIndex);
        if (format.Name.EqualsAsciiNoCase("Split"))
        {
            splitIndex = formatIndex;
            continue;
        }
        if (format.IsArcFunc != nullptr)
        {
            UINT32 answer = format.IsArcFunc(head.get(), headRead);
            if (answer == kIsArc_No || (answer == kIsArc_NeedMore && endOfFile))
                continue;
            startOrder.insert(startOrder.begin(), formatIndex);
            continue;
        }
        bool needsCheck =
            !HasPlainSignature(format) || format.Signatures.Count() == 0 ||
            (format.Flags & (kArcFlagPureStartOpen | kArcFlagStartOpen | kArcFlagBackwardOpen)) != 0;
        bool atFront = false;
        if (HasPlainSignature(format))
        {
            for (uint32_t k = 0; k < format.Signatures.Count() && !atFront; k++)
            {
                const CByteBlock& signature = format.Signatures.At(k);
                uint64_t end = format.SignatureOffset + signature.Size();
                if (end <= headRead)
                    atFront = std::memcmp(head.get() + format.SignatureOffset, signature.Data(),
                                          static_cast<size_t>(signature.Size())) == 0;
                else if (!endOfFile)
                    needsCheck = true;
            }
        }
        if (atFront)
            startOrder.insert(startOrder.begin(), formatIndex);
        else if (needsCheck)
            startOrder.push_back(formatIndex);
    }
    if (splitIndex >= 0)
        startOrder.insert(startOrder.begin(), splitIndex);

    for (int32_t formatIndex : startOrder)
    {
        const CArchiveFormatInfo& format = Format(formatIndex);
        hr = ReportTotal(request.callback.Get(), level.fileSize);
        if (hr != S_OK)
            return hr;
        hr = SeekToStart(stream);
        if (hr != S_OK)
            return hr;
        CInterfaceRef<IInArchive> handler;
        hr = CreateArchiveHandler(request, static_cast<uint32_t>(formatIndex), handler);
        if (hr != S_OK)
            return hr;
        if (handler.IsNull())
            continue;
        UINT64 zero = 0;
        hr = OpenHandlerForSize(handler.Get(), !type.allowArchive, stream, &zero, request.callback.Get(),
                                adapter);
        if (hr == S_FALSE)
        {
            refusedAtStart[static_cast<size_t>(formatIndex)] = true;
            continue;
        }
        if (hr != S_OK)
            return hr;
        hr = level.ReadOpenProperties(handler.Get(), 0, S_OK);
        if (hr != S_OK)
            return hr;
        if (level.offset > 0)
            continue;

        CEmbeddedArchiveItem find;
        find.offset = level.offset;
        find.size = level.availableSize;
        find.sizeUnknown = !level.physicalSizeSet;
        find.Normalize();

        if (type.allowArchive)
        {
            bool accepted = !level.errorInfo.thereIsTail;
            if (!accepted && type.zeroTailAllowed)
            {
                hr = level.CheckZeroTail(request, static_cast<uint64_t>(level.offset) + level.physicalSize);
                if (hr != S_OK)
                    return hr;
                accepted = level.errorInfo.ignoreTail;
            }
            if (!accepted)
                accepted = AcceptFlagsFor(formatIndex).atStart &&
                           !(IsPreArchiveFormat(format) && !candidates.isForced);
            if (accepted)
            {
                level.stream = request.stream;
                level.handler = handler;
                level.formatIndex = formatIndex;
                opened = true;
                return S_OK;
            }
        }
        refusedAtStart[static_cast<size_t>(formatIndex)] = true;
        if (!(find.offset == 0 && !find.sizeUnknown && find.size == level.fileSize))
        {
            hr = ReadEmbeddedItemProperties(handler.Get(), codecs, formatIndex, find);
            if (hr != S_OK)
                return hr;
            list.AddItem(find);
        }
    }
    return S_OK;
}

// Phase 3: every position of the stream whose two bytes begin a signature, and the
// formats without a usable signature where an archive may begin.
HRESULT CLevelScan::ScanSignatures(NArchive::NParser::CHandler& list,
                                   CExtractCallback_To_OpenCallback* adapter)
{
    const CArchiveTypeChoice& type = request.typeChoice;
    IInStream* stream = request.stream.Get();
    uint32_t formatCount = codecs.Formats.Count();

    // Signature numbers fit a byte, so that the tables stay small; 0xFF ends a chain.
    std::vector<uint32_t> firstSignature(formatCount);
    uint32_t signatureCount = 0;
    for (uint32_t f = 0; f < formatCount; f++)
    {
        firstSignature[f] = signatureCount;
        signatureCount += codecs.Formats.At(f).Signatures.Count();
    }
    if (signatureCount > kMaxScanSignatures)
        return S_FALSE;
    std::vector<BYTE> hash(0x10000, 0xFF);
    BYTE chain[256];
    std::memset(chain, 0xFF, sizeof(chain));
    std::vector<int32_t> signatureFormat(256, -1);
    std::vector<uint32_t> signatureIndex(256, 0);
    std::vector<bool> difficult(formatCount, false);
    std::vector<int32_t> difficultFormats;
    for (int32_t formatIndex : candidates.order)
    {
        if (formatIndex < 0)
            continue;
        const CArchiveFormatInfo& format = Format(formatIndex);
        bool isDifficult = !format.FlagsDefined || (format.Flags & kArcFlagStartOpen) != 0;
        for (uint32_t k = 0; k < format.Signatures.Count(); k++)
        {
            const CByteBlock& signature = format.Signatures.At(k);
            if (signature.Size() < 2)
            {
                isDifficult = true;
                continue;
            }
            uint32_t n = firstSignature[static_cast<uint32_t>(formatIndex)] + k;
            uint32_t value = signature.Data()[0] | (static_cast<uint32_t>(signature.Data()[1]) << 8);
            chain[n] = hash[value];
            hash[value] = static_cast<BYTE>(n);
            signatureFormat[n] = formatIndex;
            signatureIndex[n] = k;
        }
        if (isDifficult)
        {
            difficult[static_cast<size_t>(formatIndex)] = true;
            difficultFormats.push_back(formatIndex);
        }
    }

    HRESULT hr = SeekToStart(stream);
    if (hr != S_OK)
        return hr;
    CInterfaceRef<CLimitedCachedInStream> cached(new CLimitedCachedInStream());
    cached->SetStream(stream);
    CInterfaceRef<CArchiveOpenCallback_Offset> offsetCallback;
    if (!request.callback.IsNull())
    {
        offsetCallback = new CArchiveOpenCallback_Offset();
        offsetCallback->callback = request.callback;
        offsetCallback->volumeCallback.QueryFrom(request.callback.Get());
        offsetCallback->passwordCallback.QueryFrom(request.callback.Get());
    }
    hr = ReportTotal(request.callback.Get(), level.fileSize);
    if (hr != S_OK)
        return hr;
    std::unique_ptr<BYTE[]> buffer(new BYTE[kScanBufferSize]);
    BYTE* buf = buffer.get();

    UINT64 streamSize = level.fileSize;
    UINT64 position = 0;
    UINT64 bufferStart = 0;
    size_t bytesInBuffer = 0;
    bool endOfFile = false;
    UINT64 lastProgress = 0;
    bool checkAllHere = true;
    if (!type.everyPosition && list.items.size() == 1 && list.items[0].offset == 0 &&
        !list.items[0].sizeUnknown)
        position = list.items[0].size;

    for (;;)
    {
        while (!endOfFile)
        {
            UINT64 bufferEnd = bufferStart + bytesInBuffer;
            if (position > bufferEnd)
            {
                UINT64 distance = position - bufferEnd;
                if (distance <= kScanKeepBefore)
                {
                    size_t keep = static_cast<size_t>(kScanKeepBefore - distance);
                    if (keep > bytesInBuffer)
                        keep = bytesInBuffer;
                    std::memmove(buf, buf + bytesInBuffer - keep, keep);
                    bufferStart = bufferEnd - keep;
                    bytesInBuffer = keep;
                }
                else
                {
                    bufferStart = position - kScanKeepBefore;
                    bytesInBuffer = 0;
                }
                cached->SetCache(buf, bytesInBuffer, bufferStart);
                continue;
            }
            if (bytesInBuffer < kScanBufferSize)
            {
                hr = stream->Seek(static_cast<INT64>(bufferStart + bytesInBuffer), kSeekSet, nullptr);
                if (hr != S_OK)
                    return hr;
                size_t got = kScanBufferSize - bytesInBuffer;
                hr = ReadUntilFull(stream, buf + bytesInBuffer, got);
                if (hr != S_OK)
                    return hr;
                if (got == 0)
                {
                    streamSize = bufferStart + bytesInBuffer;
                    endOfFile = true;
                }
                else
                {
                    bytesInBuffer += got;
                    cached->SetCache(buf, bytesInBuffer, bufferStart);
                }
                continue;
            }
            if (bufferEnd - position < kScanLookAhead)
            {
                UINT64 from =
                    position - bufferStart >= kScanKeepBefore ? position - kScanKeepBefore - bufferStart : 0;
                if (from == 0)
                    break;
                std::memmove(buf, buf + from, bytesInBuffer - static_cast<size_t>(from));
                bufferStart += from;
                bytesInBuffer -= static_cast<size_t>(from);
                cached->SetCache(buf, bytesInBuffer, bufferStart);
                continue;
            }
            break;
        }

        bool handlersUseOffset = false;
        if (!offsetCallback.IsNull())
        {
            offsetCallback->files = list.items.size();
            offsetCallback->offset = position;
            handlersUseOffset = !type.allowArchive || list.items.size() > 1;
            if (position - lastProgress >= kScanProgressStep)
            {
                hr = offsetCallback->SetCompleted(nullptr, nullptr);
                if (hr != S_OK)
                    return hr;
                lastProgress = position;
            }
        }
        UINT64 bufferEnd = bufferStart + bytesInBuffer;
        if (bufferEnd > streamSize)
        {
            level.fileSize = streamSize;
            streamSize = bufferEnd;
        }
        if (position >= bufferEnd || bufferEnd - position < 2)
            break;
        UINT64 available = bufferEnd - position;
        UINT64 scanLength = available >= kScanLookAhead ? available - kScanLookAhead : available - 2;
        if (!type.allowEmbeddedList)
        {
            if (position > searchLimit)
                break;
            if (scanLength > searchLimit - position)
                scanLength = searchLimit - position;
        }
        scanLength++;

        if (!checkAllHere)
        {
            UINT64 limit = position + scanLength;
            while (position < limit)
            {
                const BYTE* p = buf + (position - bufferStart);
                if (hash[p[0] | (static_cast<uint32_t>(p[1]) << 8)] != 0xFF)
                    break;
                position++;
            }
            if (position == limit)
                continue;
            available = bufferEnd - position;
        }

        // Candidates here: (format, signature number or -1 for a difficult format).
        std::vector<std::pair<int32_t, int32_t>> here;
        if (checkAllHere)
            for (int32_t formatIndex : difficultFormats)
                here.emplace_back(formatIndex, -1);
        const BYTE* at = buf + (position - bufferStart);
        for (uint32_t n = hash[at[0] | (static_cast<uint32_t>(at[1]) << 8)]; n != 0xFF; n = chain[n])
        {
            int32_t formatIndex = signatureFormat[n];
            const CArchiveFormatInfo& format = Format(formatIndex);
            if (checkAllHere && difficult[static_cast<size_t>(formatIndex)])
                continue;
            if (format.SignatureOffset > position)
                continue;
            const CByteBlock& signature = format.Signatures.At(signatureIndex[n]);
            if (signature.Size() > available ||
                std::memcmp(at, signature.Data(), static_cast<size_t>(signature.Size())) != 0)
                continue;
            here.emplace_back(formatIndex, static_cast<int32_t>(n));
        }

        bool found = false;
        bool foundSizeKnown = false;
        UINT64 nextPosition = position + 1;
        for (const auto& candidate : here)
        {
            int32_t formatIndex = candidate.first;
            const CArchiveFormatInfo& format = Format(formatIndex);
            bool bySignature = candidate.second >= 0;
            UINT64 archiveStart = bySignature ? position - format.SignatureOffset : position;
            if (archiveStart == 0 && refusedAtStart[static_cast<size_t>(formatIndex)])
                continue;
            if (format.IsArcFunc != nullptr && archiveStart >= bufferStart)
            {
                UINT32 answer = format.IsArcFunc(buf + (archiveStart - bufferStart),
                                                 static_cast<size_t>(bufferEnd - archiveStart));
                if (answer == kIsArc_No || (answer == kIsArc_NeedMore && endOfFile))
                    continue;
            }
            CInterfaceRef<IInArchive> handler;
            hr = CreateArchiveHandler(request, static_cast<uint32_t>(formatIndex), handler);
            if (hr != S_OK)
                return hr;
            if (handler.IsNull())
                return E_FAIL;
            bool global = (format.Flags & kArcFlagUseGlobalOffset) != 0;
            UINT64 handlerStreamOffset;
            if (global)
            {
                hr = cached->InitAndSeek(0, streamSize);
                if (hr == S_OK)
                    hr = cached->Seek(static_cast<INT64>(archiveStart), kSeekSet, nullptr);
                handlerStreamOffset = 0;
            }
            else
            {
                hr = cached->InitAndSeek(archiveStart, streamSize - archiveStart);
                handlerStreamOffset = archiveStart;
            }
            if (hr != S_OK)
                return hr;
            if (!offsetCallback.IsNull())
            {
                offsetCallback->files = list.items.size();
                offsetCallback->offset = archiveStart;
            }
            adapter->files = 0;
            adapter->offset = archiveStart;
            IArchiveOpenCallback* openCallback =
                handlersUseOffset ? static_cast<IArchiveOpenCallback*>(offsetCallback.Get())
                                  : request.callback.Get();
            UINT64 zero = 0;
            HRESULT openResult =
                OpenHandlerForSize(handler.Get(), true, cached.Get(), &zero, openCallback, adapter);
            if (openResult != S_OK && openResult != S_FALSE)
                return openResult;
            hr = level.ReadOpenProperties(handler.Get(), global ? 0 : archiveStart, openResult);
            if (hr != S_OK)
                return hr;
            if (openResult == S_FALSE)
            {
                bool despite = IsArchiveDespiteFailure(level.errorInfo);
                if (!type.allowEmbeddedList)
                {
                    if (!candidates.isForced && despite)
                    {
                        level.errorInfo.errorFormatIndex = formatIndex;
                        level.failedOpenInfo = level.errorInfo;
                        return S_FALSE;
                    }
                    continue;
                }
                if (!(despite && level.physicalSizeSet && level.physicalSize != 0))
                    continue;
            }

            CEmbeddedArchiveItem find;
            if (global)
                find.offset = level.offset;
            else
            {
                if (level.offset != 0)
                    return E_FAIL;
                find.offset = static_cast<int64_t>(archiveStart);
            }
            UINT64 rest = find.offset >= 0 && static_cast<UINT64>(find.offset) <= streamSize
                              ? streamSize - static_cast<UINT64>(find.offset)
                              : 0;
            if (level.physicalSizeSet)
                find.size = std::min<UINT64>(level.physicalSize, rest);
            else
            {
                find.size = rest;
                find.sizeUnknown = true;
            }
            if (find.size == 0 || find.size > (1ull << 63))
                return E_FAIL;
            find.Normalize();
            if (find.offset == 0 && !find.sizeUnknown && find.size == streamSize && !type.allowArchive)
                continue;

            UINT64 findEnd = static_cast<UINT64>(find.offset) + find.size;
            nextPosition = (type.everyPosition || find.sizeUnknown) ? position + 1 : findEnd;
            if (nextPosition <= position)
                nextPosition = position + 1;

            hr = ReadEmbeddedItemProperties(handler.Get(), codecs, formatIndex, find);
            if (hr != S_OK)
                return hr;
            if (static_cast<UINT64>(find.offset) < archiveStart && !type.everyPosition)
            {
                while (!list.items.empty())
                {
                    const CEmbeddedArchiveItem& last = list.items.back();
                    if (last.offset < find.offset || static_cast<UINT64>(last.offset) + last.size > findEnd)
                        break;
                    list.items.pop_back();
                }
                list.maxEnd = 0;
                for (const CEmbeddedArchiveItem& item : list.items)
                    list.maxEnd = std::max<UINT64>(list.maxEnd, static_cast<UINT64>(item.offset) + item.size);
            }

            if (openResult == S_OK && type.allowArchive && level.physicalSizeSet)
            {
                bool tail = level.errorInfo.thereIsTail;
                if (tail && type.zeroTailAllowed)
                {
                    hr =
                        level.CheckZeroTail(request, handlerStreamOffset + static_cast<UINT64>(level.offset) +
                                                         level.physicalSize);
                    if (hr != S_OK)
                        return hr;
                    if (level.errorInfo.ignoreTail)
                        tail = false;
                }
                const CAcceptFlags& accept = AcceptFlagsFor(formatIndex);
                bool accepted = false;
                if (find.offset > 0 && !find.isNotArchiveType)
                    accepted = tail ? accept.inMiddle : accept.asTail;
                else if (find.offset == 0)
                    accepted = true;
                if (find.isSelfExe && !candidates.isForced)
                    accepted = false;
                if (!accepted && !find.isSelfExe && !tail && (!find.isNotArchiveType || find.offset == 0))
                {
                    if (list.items.empty())
                        accepted = accept.asTail;
                    else if (list.items.size() == 1 && list.items[0].isSelfExe)
                        accepted = type.unknownExtension.asTail;
                }
                if (accepted)
                {
                    // The handler keeps reading through the range stream after this
                    // call, when the scan window is gone.
                    cached->SetCache(nullptr, 0, 0);
                    level.stream = request.stream;
                    level.handler = handler;
                    level.formatIndex = formatIndex;
                    level.streamOffset = handlerStreamOffset;
                    return S_OK;
                }
            }
            list.AddItem(find);
            found = true;
            foundSizeKnown = !find.sizeUnknown;
            break;
        }
        position = found ? nextPosition : position + 1;
        checkAllHere = found && foundSizeKnown;
    }
    return S_OK;
}

} // namespace

bool IsExeExtension(const UString& extension)
{
    return extension.EqualsAsciiNoCase("exe");
}

int FindFormatByNameInOrder(const CCodecs& codecs, const std::vector<int32_t>& order, const wchar_t* name)
{
    for (size_t i = 0; i < order.size(); i++)
        if (order[i] >= 0 && codecs.Formats.At(static_cast<uint32_t>(order[i])).Name.EqualsNoCase(name))
            return static_cast<int>(i);
    return -1;
}

void OrderBySignatureMatch(const CCodecs& codecs, std::vector<int32_t>& order, uint32_t count,
                           std::vector<int32_t>& outOrder, const BYTE* data, size_t size)
{
    for (uint32_t i = 0; i < count && i < order.size(); i++)
    {
        int32_t formatIndex = order[i];
        if (formatIndex < 0)
            continue;
        const CArchiveFormatInfo& format = codecs.Formats.At(static_cast<uint32_t>(formatIndex));
        bool taken = format.SignatureOffset != 0;
        for (uint32_t k = 0; !taken && k < format.Signatures.Count(); k++)
        {
            const CByteBlock& signature = format.Signatures.At(k);
            if (signature.Size() == 0)
                taken = size == 0;
            else
                taken = size >= signature.Size() &&
                        std::memcmp(data, signature.Data(), static_cast<size_t>(signature.Size())) == 0;
        }
        if (taken)
        {
            outOrder.push_back(formatIndex);
            order[i] = -1;
        }
    }
}

HRESULT BuildCandidateOrder(const CArchiveLevel& level, const CArchiveOpenRequest& request,
                            CCandidateOrder& out)
{
    const CCodecs& codecs = *request.Codecs;
    const CArchiveTypeChoice& type = request.typeChoice;
    uint32_t formatCount = codecs.Formats.Count();
    out.order.clear();
    out.extensionMatches = 0;
    out.matchedByExtension.assign(formatCount, false);
    out.isForced = false;
    out.unknownExtension = false;
    UString extension = ExtensionOfPath(level.path);

    if (type.formatIndex >= 0)
    {
        out.order.push_back(type.formatIndex);
        out.extensionMatches = 1;
        out.matchedByExtension[static_cast<size_t>(type.formatIndex)] = true;
        out.isForced = true;
        return S_OK;
    }

    bool numberedZip = IsNumberedPart(extension, L'z');
    bool numberedRar = IsNumberedPart(extension, L'r');
    bool preArchivePresent = false;
    for (uint32_t f = 0; f < formatCount; f++)
    {
        const CArchiveFormatInfo& format = codecs.Formats.At(f);
        int32_t formatIndex = static_cast<int32_t>(f);
        if (format.Name.EqualsAsciiNoCase("Split") && (level.ignoreSplit || !type.allowArchive))
            continue;
        if (IsExcluded(request, formatIndex))
            continue;
        if (IsPreArchiveFormat(format))
            preArchivePresent = true;
        bool matched = (!extension.IsEmpty() && format.FindExtensionIndex(extension.Chars()) >= 0) ||
                       (numberedZip && format.Name.EqualsAsciiNoCase("zip")) ||
                       (numberedRar && format.Name.EqualsAsciiNoCase("rar"));
        if (matched)
        {
            out.order.insert(out.order.begin() + out.extensionMatches, formatIndex);
            out.extensionMatches++;
            out.matchedByExtension[f] = true;
        }
        else
            out.order.push_back(formatIndex);
    }

    if (request.stream.IsNull())
    {
        if (out.extensionMatches != 1)
            return E_NOTIMPL;
        out.order.resize(1);
    }
    else if (out.order.size() >= 2)
    {
        IInStream* stream = request.stream.Get();
        HRESULT hr = SeekToStart(stream);
        if (hr != S_OK)
            return hr;
        if (out.extensionMatches != 0 && !IsExeExtension(extension))
        {
            std::vector<int32_t> ordered;
            BYTE head[kHeadCheckSize];
            if (extension.Equals(L"000") || extension.Equals(L"001"))
            {
                int rar = FindFormatByNameInOrder(codecs, out.order, L"rar");
                if (rar >= 0)
                {
                    size_t got = sizeof(head);
                    hr = ReadUntilFull(stream, head, got);
                    if (hr != S_OK)
                        return hr;
                    if (IsRarVolumeHead(head, got))
                    {
                        ordered.push_back(out.order[static_cast<size_t>(rar)]);
                        out.order[static_cast<size_t>(rar)] = -1;
                        if (static_cast<uint32_t>(rar) >= out.extensionMatches)
                            out.extensionMatches++;
                    }
                }
            }
            else
            {
                size_t got = sizeof(head);
                hr = ReadUntilFull(stream, head, got);
                if (hr != S_OK)
                    return hr;
                if (got == 0)
                    return S_FALSE;
                OrderBySignatureMatch(codecs, out.order, out.extensionMatches, ordered, nullptr, 0);
                OrderBySignatureMatch(codecs, out.order, out.extensionMatches, ordered, head, got);
            }
            for (int32_t formatIndex : out.order)
                if (formatIndex >= 0)
                    ordered.push_back(formatIndex);
            out.order.swap(ordered);
        }
        if (out.order.size() >= 2)
        {
            int iso = FindFormatByNameInOrder(codecs, out.order, L"iso");
            int udf = FindFormatByNameInOrder(codecs, out.order, L"udf");
            if (iso >= 0 && udf >= 0 && iso < udf)
                std::swap(out.order[static_cast<size_t>(iso)], out.order[static_cast<size_t>(udf)]);
        }
    }
    out.unknownExtension = out.extensionMatches == 0 || preArchivePresent;
    return S_OK;
}

HRESULT OpenHandlerForSize(IInArchive* handler, bool needSize, IInStream* stream, const UINT64* searchLimit,
                           IArchiveOpenCallback* openCallback, IArchiveExtractCallback* extractCallback)
{
    HRESULT hr = handler->Open(stream, searchLimit, openCallback);
    if (hr != S_OK || !needSize)
        return hr;
    CPropValue size;
    hr = handler->GetArchiveProperty(kpidPhySize, &size);
    if (hr != S_OK)
        return hr;
    if (size.vt != VT_EMPTY)
        return S_OK;
    CPropValue notDetectable;
    hr = handler->GetArchiveProperty(kpidSizeNotDetectable, &notDetectable);
    if (hr != S_OK)
        return hr;
    if (notDetectable.vt == VT_BOOL && notDetectable.boolVal != VARIANT_FALSE)
        return S_OK;
    return handler->Extract(nullptr, 0xFFFFFFFF, 1, extractCallback);
}

HRESULT OpenArchiveLevel(CArchiveLevel& level, CArchiveOpenRequest& request)
{
    level.rawProps.Release();
    level.rootProps.Release();
    level.handler.Release();
    level.errorInfo.Clear();
    level.errorInfo.errorFormatIndex = -1;
    level.isEmbeddedList = false;
    level.streamOffset = 0;

    CLevelScan scan(level, request);
    const CArchiveTypeChoice& type = request.typeChoice;
    scan.extension = ExtensionOfPath(level.path);
    scan.searchLimit = type.maxStartOffsetSet ? type.maxStartOffset : kDefaultSearchLimit;
    scan.searchInHandler = type.formatIndex >= 0;
    HRESULT hr = BuildCandidateOrder(level, request, scan.candidates);
    if (hr != S_OK)
        return hr;
    scan.refusedAtStart.assign(request.Codecs->Formats.Count(), false);

    level.fileSize = 0;
    if (!request.stream.IsNull())
    {
        UINT64 size = 0;
        hr = request.stream->Seek(0, kSeekEnd, &size);
        if (hr == S_OK)
            hr = SeekToStart(request.stream.Get());
        if (hr != S_OK)
            return hr;
        level.fileSize = size;
    }

    bool opened = false;
    if (type.allowArchive)
    {
        hr = scan.TryCandidates(opened);
        if (hr != S_OK || opened)
            return hr;
    }

    if (request.stream.IsNull())
        return S_FALSE;
    if (scan.candidates.isForced && !type.allowEmbeddedList)
    {
        if (type.maxStartOffsetSet)
        {
            if (type.maxStartOffset == 0)
                return S_FALSE;
        }
        else
        {
            const CArchiveFormatInfo& format = scan.Format(type.formatIndex);
            if (format.FindExtensionIndex(scan.extension.Chars()) >= 0 &&
                (format.Flags & kArcFlagFindSignature) != 0 && scan.searchInHandler)
                return S_FALSE;
        }
    }

    CInterfaceRef<NArchive::NParser::CHandler> list(new NArchive::NParser::CHandler());
    CInterfaceRef<CExtractCallback_To_OpenCallback> adapter(new CExtractCallback_To_OpenCallback());
    adapter->Init(request.callback.Get());

    hr = scan.CheckStarts(*list, adapter.Get(), opened);
    if (hr != S_OK || opened)
        return hr;

    hr = scan.ScanSignatures(*list, adapter.Get());
    if (hr != S_OK || !level.handler.IsNull())
        return hr;

    if (type.allowEmbeddedList)
    {
        bool oneBefore = list->items.size() == 1;
        list->AddGap(level.fileSize);
        if (list->items.empty())
            return S_FALSE;
        if (oneBefore || list->items.size() != 1)
        {
            std::vector<CEmbeddedArchiveItem> items;
            items.swap(list->items);
            UINT64 maxEnd = list->maxEnd;
            list->Open(request.stream.Get(), nullptr, nullptr);
            list->items.swap(items);
            list->maxEnd = maxEnd;
            level.handler = static_cast<IInArchive*>(list.Get());
            level.stream = request.stream;
            level.errorInfo.Clear();
            level.isEmbeddedList = true;
            level.formatIndex = -1;
            level.offset = 0;
            return S_OK;
        }
    }
    return level.handler.IsNull() ? S_FALSE : S_OK;
}
