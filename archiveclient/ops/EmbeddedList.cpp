#include "archiveclient/ops/EmbeddedList.h"

#include "archiveclient/base/LocalProgress.h"
#include "archiveclient/base/PropValue.h"
#include "archiveclient/base/StreamAdapters.h"
#include "archiveclient/codecs/Codecs.h"
#include "archiveclient/codecs/OpenHandler.h"
#include "archiveclient/ops/ClientUtils.h"

namespace
{

const PROPID kpidArcComment = 82;
const PROPID kpidIsNotArcType = 84;
const PROPID kpidTypeProp = 20;
const PROPID kpidCommentProp = 28;
const PROPID kpidNumSubDirs = 31;
const PROPID kpidNumSubFiles = 32;
const PROPID kpidUnpackSize = 78;

HRESULT ReadArchiveText(IInArchive* handler, PROPID propId, UString& text, bool& found)
{
    CPropValue prop;
    HRESULT hr = handler->GetArchiveProperty(propId, &prop);
    if (hr != S_OK)
        return hr;
    found = prop.vt == VT_BSTR;
    if (found)
        text.AssignBstr(prop.bstrVal);
    return S_OK;
}

} // namespace

void CEmbeddedArchiveItem::Normalize()
{
    if (offset < 0)
    {
        size += static_cast<uint64_t>(offset);
        offset = 0;
    }
}

HRESULT ReadEmbeddedItemProperties(IInArchive* handler, const CCodecs& codecs, int32_t formatIndex,
                                   CEmbeddedArchiveItem& item)
{
    const CArchiveFormatInfo& format = codecs.Formats.At(static_cast<uint32_t>(formatIndex));
    item.formatIndex = formatIndex;
    if (format.Exts.Count() != 0)
        item.extension = format.Exts.At(0).Ext;
    else
        item.extension.Empty();
    item.typeName = format.Name;
    {
        CPropValue prop;
        HRESULT hr = handler->GetArchiveProperty(kpidIsNotArcType, &prop);
        if (hr != S_OK)
            return hr;
        item.isNotArchiveType = prop.vt == VT_BOOL && prop.boolVal != VARIANT_FALSE;
    }
    item.isSelfExe = (format.Flags & kArcFlagPreArc) != 0;
    for (PROPID timeId : {static_cast<PROPID>(kpidMTime), static_cast<PROPID>(kpidCTime)})
    {
        CPropValue prop;
        HRESULT hr = handler->GetArchiveProperty(timeId, &prop);
        if (hr != S_OK)
            return hr;
        if (prop.vt == VT_FILETIME)
        {
            item.modified = prop.filetime;
            item.modifiedSet = true;
            break;
        }
    }
    bool found = false;
    HRESULT hr = ReadArchiveText(handler, kpidName, item.name, found);
    if (hr != S_OK)
        return hr;
    if (found)
        item.extension.Empty();
    else
    {
        UString extension;
        hr = ReadArchiveText(handler, kpidExtension, extension, found);
        if (hr != S_OK)
            return hr;
        if (found)
            item.extension = extension;
    }
    hr = ReadArchiveText(handler, kpidArcComment, item.comment, found);
    if (hr != S_OK)
        return hr;

    UINT32 count = 0;
    hr = handler->GetNumberOfItems(&count);
    if (hr != S_OK)
        return hr;
    for (UINT32 i = 0; i < count; i++)
    {
        CPropValue size;
        if (handler->GetProperty(i, kpidSize, &size) == S_OK)
        {
            uint64_t value = 0;
            try
            {
                if (PropertyToUInt64(size, value))
                {
                    item.unpackSize += value;
                    item.unpackSizeSet = true;
                }
            }
            catch (int)
            {
                // A size of another type is not counted.
            }
        }
        bool isDir = false;
        ReadItemIsDir(handler, i, isDir);
        if (isDir)
            item.dirCount++;
        else
            item.fileCount++;
    }
    item.dirCountSet = item.dirCount != 0;
    item.fileCountSet = true;
    return S_OK;
}

namespace NArchive
{
namespace NParser
{

void CHandler::AddGap(uint64_t end)
{
    if (maxEnd < end)
    {
        CEmbeddedArchiveItem gap;
        gap.offset = static_cast<int64_t>(maxEnd);
        gap.size = end - maxEnd;
        items.push_back(gap);
        maxEnd = end;
    }
    else if (end < maxEnd && !items.empty() && items.back().sizeUnknown)
    {
        CEmbeddedArchiveItem& last = items.back();
        last.size = end - static_cast<uint64_t>(last.offset);
        maxEnd = end;
    }
}

void CHandler::AddItem(const CEmbeddedArchiveItem& item)
{
    AddGap(static_cast<uint64_t>(item.offset));
    size_t left = 0;
    size_t right = items.size();
    while (left < right)
    {
        size_t mid = (left + right) / 2;
        const CEmbeddedArchiveItem& probe = items[mid];
        bool before = probe.offset < item.offset || (probe.offset == item.offset && probe.size <= item.size);
        if (before)
            left = mid + 1;
        else
            right = mid;
    }
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(left), item);
    uint64_t end = static_cast<uint64_t>(item.offset) + item.size;
    if (maxEnd < end)
        maxEnd = end;
}

HRESULT CHandler::Open(IInStream* inStream, const UINT64*, IArchiveOpenCallback*)
{
    Close();
    stream = inStream;
    return S_OK;
}

HRESULT CHandler::Close()
{
    items.clear();
    stream.Release();
    return S_OK;
}

HRESULT CHandler::GetNumberOfItems(UINT32* count)
{
    *count = static_cast<UINT32>(items.size());
    return S_OK;
}

HRESULT CHandler::GetProperty(UINT32 index, PROPID propId, PROPVARIANT* value)
{
    try
    {
        CPropValue prop;
        if (index >= items.size())
            return E_INVALIDARG;
        const CEmbeddedArchiveItem& item = items[index];
        switch (propId)
        {
        case kpidPath: {
            wchar_t digits[16];
            FormatUInt32Decimal(index + 1, digits);
            UString path(digits);
            if (!item.name.IsEmpty())
            {
                path.AppendChar(L'.');
                path.Append(item.name);
            }
            if (!item.extension.IsEmpty())
            {
                path.AppendChar(L'.');
                path.Append(item.extension);
            }
            prop.SetString(path);
            break;
        }
        case kpidSize:
        case kpidPackSize:
            prop.SetUInt64(item.size);
            break;
        case kpidMTime:
            if (item.modifiedSet)
                prop.SetFileTime(item.modified);
            break;
        case kpidTypeProp:
            if (!item.typeName.IsEmpty())
                prop.SetString(item.typeName);
            break;
        case kpidCommentProp:
            if (!item.comment.IsEmpty())
                prop.SetString(item.comment);
            break;
        case kpidNumSubDirs:
            if (item.dirCountSet)
                prop.SetUInt64(item.dirCount);
            break;
        case kpidNumSubFiles:
            if (item.fileCountSet)
                prop.SetUInt64(item.fileCount);
            break;
        case kpidOffset:
            prop.SetUInt64(static_cast<uint64_t>(item.offset));
            break;
        case kpidUnpackSize:
            if (item.unpackSizeSet)
                prop.SetUInt64(item.unpackSize);
            break;
        default:
            break;
        }
        return prop.DetachTo(value);
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

HRESULT CHandler::Extract(const UINT32* indices, UINT32 count, INT32 testMode,
                          IArchiveExtractCallback* extractCallback)
{
    try
    {
        return ExtractItems(indices, count, testMode, extractCallback);
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

HRESULT CHandler::ExtractItems(const UINT32* indices, UINT32 count, INT32 testMode,
                               IArchiveExtractCallback* extractCallback)
{
    bool all = count == 0xFFFFFFFF;
    if (all)
        count = static_cast<UINT32>(items.size());
    if (count == 0)
        return S_OK;
    auto indexAt = [&](UINT32 i) { return all ? i : indices[i]; };
    uint64_t total = 0;
    for (UINT32 i = 0; i < count; i++)
    {
        UINT32 index = indexAt(i);
        if (index >= items.size())
            return E_INVALIDARG;
        total += items[index].size;
    }
    HRESULT hr = extractCallback->SetTotal(total);
    if (hr != S_OK)
        return hr;

    CInterfaceRef<CLocalProgress> progress(new CLocalProgress());
    progress->Attach(extractCallback, false);
    CInterfaceRef<CLimitedSequentialInStream> inLimited(new CLimitedSequentialInStream());
    inLimited->SetStream(stream.Get());
    CInterfaceRef<CLimitedSequentialOutStream> outLimited(new CLimitedSequentialOutStream());
    CInterfaceRef<NCompress::CCopyCoder> copier(new NCompress::CCopyCoder());

    uint64_t done = 0;
    for (UINT32 i = 0; i < count; i++, done += items[indexAt(i - 1)].size)
    {
        const CEmbeddedArchiveItem& item = items[indexAt(i)];
        progress->InBase = done;
        progress->OutBase = done;
        hr = progress->ReportCurrent();
        if (hr != S_OK)
            return hr;
        CInterfaceRef<ISequentialOutStream> realOut;
        INT32 askMode = testMode ? kAskTest : kAskExtract;
        hr = extractCallback->GetStream(indexAt(i), realOut.OutPtr(), askMode);
        if (hr != S_OK)
            return hr;
        if (!testMode && realOut.IsNull())
            continue;
        hr = extractCallback->PrepareOperation(askMode);
        if (hr != S_OK)
            return hr;
        outLimited->SetStream(realOut.Get());
        outLimited->Init(item.size);
        if (stream.IsNull())
            return E_FAIL;
        hr = stream->Seek(item.offset, kSeekSet, nullptr);
        if (hr != S_OK)
            return hr;
        inLimited->Init(item.size);
        hr = copier->Process(inLimited.Get(), outLimited.Get(), nullptr, nullptr, progress.Get());
        if (hr != S_OK)
            return hr;
        INT32 result = copier->TotalProcessed() == item.size ? kOpResultOk : kOpResultDataError;
        outLimited->SetStream(nullptr);
        realOut.Release();
        hr = extractCallback->SetOperationResult(result);
        if (hr != S_OK)
            return hr;
    }
    return S_OK;
}

HRESULT CHandler::GetArchiveProperty(PROPID, PROPVARIANT* value)
{
    CPropValue prop;
    return prop.DetachTo(value);
}

namespace
{

struct CPropInfoRow
{
    PROPID id;
    VARTYPE type;
};

const CPropInfoRow kItemProps[] = {
    {kpidPath, VT_BSTR},        {kpidSize, VT_UI8},   {kpidMTime, VT_FILETIME}, {kpidTypeProp, VT_BSTR},
    {kpidCommentProp, VT_BSTR}, {kpidOffset, VT_UI8}, {kpidUnpackSize, VT_UI8},
};

} // namespace

HRESULT CHandler::GetNumberOfProperties(UINT32* count)
{
    *count = sizeof(kItemProps) / sizeof(kItemProps[0]);
    return S_OK;
}

HRESULT CHandler::GetPropertyInfo(UINT32 index, BSTR* name, PROPID* propId, VARTYPE* varType)
{
    if (index >= sizeof(kItemProps) / sizeof(kItemProps[0]))
        return E_INVALIDARG;
    *name = nullptr;
    *propId = kItemProps[index].id;
    *varType = kItemProps[index].type;
    return S_OK;
}

HRESULT CHandler::GetNumberOfArchiveProperties(UINT32* count)
{
    *count = 0;
    return S_OK;
}

HRESULT CHandler::GetArchivePropertyInfo(UINT32, BSTR*, PROPID*, VARTYPE*)
{
    return E_NOTIMPL;
}

HRESULT CHandler::GetStream(UINT32 index, ISequentialInStream** out)
{
    try
    {
        *out = nullptr;
        if (index >= items.size() || stream.IsNull())
            return E_INVALIDARG;
        const CEmbeddedArchiveItem& item = items[index];
        IInStream* range = nullptr;
        HRESULT hr = CreateRangeInStream(stream.Get(), static_cast<uint64_t>(item.offset), item.size, &range);
        if (hr != S_OK)
            return hr;
        *out = range;
        return S_OK;
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

} // namespace NParser
} // namespace NArchive

// ---- Adapters ----

HRESULT CArchiveOpenCallback_Offset::SetTotal(const UINT64*, const UINT64*)
{
    return S_OK;
}

HRESULT CArchiveOpenCallback_Offset::SetCompleted(const UINT64*, const UINT64* bytes)
{
    if (callback.IsNull())
        return S_OK;
    UINT64 value = offset;
    if (bytes != nullptr)
        value += *bytes;
    UINT64 filesCopy = files;
    return callback->SetCompleted(&filesCopy, &value);
}

HRESULT CArchiveOpenCallback_Offset::GetProperty(PROPID propId, PROPVARIANT* value)
{
    if (volumeCallback.IsNull())
    {
        CPropValue prop;
        return prop.DetachTo(value);
    }
    return volumeCallback->GetProperty(propId, value);
}

HRESULT CArchiveOpenCallback_Offset::GetStream(const wchar_t* name, IInStream** stream)
{
    if (volumeCallback.IsNull())
    {
        *stream = nullptr;
        return S_FALSE;
    }
    return volumeCallback->GetStream(name, stream);
}

HRESULT CArchiveOpenCallback_Offset::CryptoGetTextPassword(BSTR* password)
{
    if (passwordCallback.IsNull())
        return E_NOTIMPL;
    return passwordCallback->CryptoGetTextPassword(password);
}

HRESULT CExtractCallback_To_OpenCallback::SetTotal(UINT64)
{
    return S_OK;
}

HRESULT CExtractCallback_To_OpenCallback::SetCompleted(const UINT64*)
{
    return S_OK;
}

HRESULT CExtractCallback_To_OpenCallback::GetStream(UINT32, ISequentialOutStream** outStream, INT32)
{
    *outStream = nullptr;
    return S_OK;
}

HRESULT CExtractCallback_To_OpenCallback::PrepareOperation(INT32)
{
    return S_OK;
}

HRESULT CExtractCallback_To_OpenCallback::SetOperationResult(INT32)
{
    return S_OK;
}

HRESULT CExtractCallback_To_OpenCallback::ReportSizes(const UINT64* inSize, const UINT64*)
{
    if (callback.IsNull())
        return S_OK;
    UINT64 value = offset;
    if (inSize != nullptr)
        value += *inSize;
    UINT64 filesCopy = files;
    return callback->SetCompleted(&filesCopy, &value);
}

void* CExtractCallback_To_OpenCallback::QueryOtherInterface(REFIID iid)
{
    if (IsEqualGUID(iid, InterfaceIdOf<IProgress>()))
        return static_cast<IProgress*>(static_cast<IArchiveExtractCallback*>(this));
    return nullptr;
}
