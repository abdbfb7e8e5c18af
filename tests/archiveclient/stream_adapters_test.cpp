#include "archiveclient/base/FileStreams.h"
#include "archiveclient/base/LocalProgress.h"
#include "archiveclient/base/StreamAdapters.h"

#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

namespace
{

std::string Bytes(size_t n)
{
    std::string s(n, '\0');
    for (size_t i = 0; i < n; i++)
        s[i] = static_cast<char>(i * 7 + 1);
    return s;
}

// A memory stream that counts the calls that reach it and hands out at most
// m_piece bytes per read.
class CProbeStream : public CBufInStream
{
public:
    explicit CProbeStream(const std::string& bytes, UINT32 piece = 0xFFFFFFFF)
        : m_bytes(bytes), m_piece(piece)
    {
        Attach(reinterpret_cast<const BYTE*>(m_bytes.data()), m_bytes.size(), nullptr);
    }
    HRESULT STDMETHODCALLTYPE Read(void* data, UINT32 size, UINT32* processed) override
    {
        reads++;
        return CBufInStream::Read(data, size < m_piece ? size : m_piece, processed);
    }
    HRESULT STDMETHODCALLTYPE Seek(INT64 offset, UINT32 origin, UINT64* newPosition) override
    {
        seeks++;
        return CBufInStream::Seek(offset, origin, newPosition);
    }
    int reads = 0;
    int seeks = 0;

private:
    std::string m_bytes;
    UINT32 m_piece;
};

class CMemoryOutStream : public CRefCounted<IOutStream>
{
public:
    HRESULT STDMETHODCALLTYPE Write(const void* data, UINT32 size, UINT32* processed) override
    {
        if (bytes.size() < m_position + size)
            bytes.resize(m_position + size);
        bytes.replace(m_position, size, static_cast<const char*>(data), size);
        m_position += size;
        if (processed)
            *processed = size;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Seek(INT64 offset, UINT32 origin, UINT64* newPosition) override
    {
        if (origin != kSeekSet)
            return E_NOTIMPL;
        m_position = static_cast<size_t>(offset);
        if (newPosition)
            *newPosition = m_position;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSize(UINT64 newSize) override
    {
        bytes.resize(static_cast<size_t>(newSize));
        return S_OK;
    }
    std::string bytes;

private:
    size_t m_position = 0;
};

HRESULT ReadAll(ISequentialInStream* stream, std::string& out, UINT32 piece = 64)
{
    out.clear();
    for (;;)
    {
        char buffer[4096];
        UINT32 read = 0;
        HRESULT result = stream->Read(buffer, piece, &read);
        out.append(buffer, read);
        if (result != S_OK || read == 0)
            return result;
    }
}

TEST(StreamAdapters, RangeStreamReadsOnlyItsRangeAndSeeksLikeAFile)
{
    std::string data = Bytes(300);
    CInterfaceRef<IInStream> inner(new CProbeStream(data));
    CInterfaceRef<IInStream> range;
    ASSERT_EQ(CreateRangeInStream(inner, 100, 10, range.OutPtr()), S_OK);

    char buffer[64];
    UINT32 read = 99;
    ASSERT_EQ(range->Read(buffer, 64, &read), S_OK);
    EXPECT_EQ(std::string(buffer, read), data.substr(100, 10));
    ASSERT_EQ(range->Read(buffer, 64, &read), S_OK);
    EXPECT_EQ(read, 0u);

    UINT64 position = 7;
    EXPECT_EQ(range->Seek(-1, kSeekSet, &position), kNegativeSeekResult);
    EXPECT_EQ(position, 7u);
    EXPECT_EQ(range->Seek(50, kSeekEnd, &position), S_OK);
    EXPECT_EQ(position, 60u);
    ASSERT_EQ(range->Read(buffer, 64, &read), S_OK);
    EXPECT_EQ(read, 0u);
    ASSERT_EQ(range->Seek(-4, kSeekEnd, &position), S_OK);
    ASSERT_EQ(range->Read(buffer, 64, &read), S_OK);
    EXPECT_EQ(std::string(buffer, read), data.substr(106, 4));
}

// Every seekable stream refuses an unknown origin before anything moves and a
// position before the start.
TEST(StreamAdapters, EverySeekChecksOriginAndNegativePosition)
{
    std::wstring path = qvtest::ScratchDir() + L"\\f";
    ASSERT_TRUE(qvtest::WriteFileBytes(path, Bytes(20)));
    std::string data = Bytes(20);

    CInFileStream* inFile = new CInFileStream;
    CInterfaceRef<IInStream> inFileRef(inFile);
    ASSERT_TRUE(inFile->File.Open(path.c_str()));
    COutFileStream* outFile = new COutFileStream;
    CInterfaceRef<IOutStream> outFileRef(outFile);
    ASSERT_TRUE(outFile->File.Create((path + L"2").c_str(), true));
    CInterfaceRef<IInStream> buf(new CProbeStream(data));
    CInterfaceRef<IInStream> range;
    ASSERT_EQ(CreateRangeInStream(buf, 2, 15, range.OutPtr()), S_OK);
    CTailOutStream* tail = new CTailOutStream;
    CInterfaceRef<IOutStream> tailRef(tail);
    CInterfaceRef<IOutStream> memory(new CMemoryOutStream);
    tail->Init(memory, 3);

    struct Case
    {
        const char* name;
        std::function<HRESULT(INT64, UINT32, UINT64*)> seek;
    } cases[] = {
        {"in file", [&](INT64 o, UINT32 g, UINT64* p) { return inFileRef->Seek(o, g, p); }},
        {"out file", [&](INT64 o, UINT32 g, UINT64* p) { return outFileRef->Seek(o, g, p); }},
        {"buffer", [&](INT64 o, UINT32 g, UINT64* p) { return buf->Seek(o, g, p); }},
        {"range", [&](INT64 o, UINT32 g, UINT64* p) { return range->Seek(o, g, p); }},
        {"tail", [&](INT64 o, UINT32 g, UINT64* p) { return tailRef->Seek(o, g, p); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        UINT64 position = 0;
        ASSERT_EQ(c.seek(5, kSeekSet, &position), S_OK);
        EXPECT_EQ(c.seek(1, 3, &position), STG_E_INVALIDFUNCTION);
        EXPECT_EQ(c.seek(-6, kSeekCur, &position), kNegativeSeekResult);
        ASSERT_EQ(c.seek(0, kSeekCur, &position), S_OK);
        EXPECT_EQ(position, 5u);
    }
}

TEST(StreamAdapters, CachedRangeServesCoveredReadsWithoutTheInnerStream)
{
    std::string data = Bytes(200);
    CProbeStream* inner = new CProbeStream(data);
    CInterfaceRef<IInStream> innerRef(inner);
    CLimitedCachedInStream* cached = new CLimitedCachedInStream;
    CInterfaceRef<IInStream> ref(cached);
    cached->SetStream(inner);
    ASSERT_EQ(cached->InitAndSeek(50, 100), S_OK);
    cached->SetCache(reinterpret_cast<const BYTE*>(data.data()) + 40, 30, 40); // bytes 40..69
    inner->reads = inner->seeks = 0;

    char buffer[64];
    UINT32 read = 0;
    ASSERT_EQ(ref->Read(buffer, 20, &read), S_OK); // 50..69: in the cache
    EXPECT_EQ(std::string(buffer, read), data.substr(50, 20));
    EXPECT_EQ(inner->reads + inner->seeks, 0);
    ASSERT_EQ(ref->Read(buffer, 10, &read), S_OK); // 70..79: beyond it
    EXPECT_EQ(std::string(buffer, read), data.substr(70, 10));
    EXPECT_EQ(inner->seeks, 1);
    EXPECT_EQ(inner->reads, 1);
}

TEST(StreamAdapters, LimitedOutStreamOverflow)
{
    struct Case
    {
        bool allowed;
        UINT64 remaining;
        UINT32 size;
        HRESULT result;
        UINT32 processed;
        bool overflow;
        size_t passedOn;
    } cases[] = {
        {false, 0, 5, E_FAIL, 0, true, 0},
        {true, 0, 5, S_OK, 5, true, 0},
        {false, 3, 5, S_OK, 3, false, 3},
        {false, 0, 0, S_OK, 0, false, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.allowed << " " << c.remaining << " " << c.size);
        CMemoryOutStream* sink = new CMemoryOutStream;
        CInterfaceRef<ISequentialOutStream> sinkRef(sink);
        CLimitedSequentialOutStream* limited = new CLimitedSequentialOutStream;
        CInterfaceRef<ISequentialOutStream> ref(limited);
        limited->SetStream(sink);
        limited->Init(c.remaining, c.allowed);
        UINT32 processed = 99;
        EXPECT_EQ(ref->Write("abcde", c.size, &processed), c.result);
        EXPECT_EQ(processed, c.processed);
        EXPECT_EQ(limited->IsOverflowed(), c.overflow);
        EXPECT_EQ(sink->bytes.size(), c.passedOn);
    }
}

TEST(StreamAdapters, LimitedSequentialInStreamStopsAtLimitAndNotesTheEnd)
{
    CInterfaceRef<ISequentialInStream> inner(new CProbeStream("abcdef"));
    CLimitedSequentialInStream* limited = new CLimitedSequentialInStream;
    CInterfaceRef<ISequentialInStream> ref(limited);
    limited->SetStream(inner);
    limited->Init(4);
    std::string out;
    ASSERT_EQ(ReadAll(ref, out), S_OK);
    EXPECT_EQ(out, "abcd");
    EXPECT_FALSE(limited->WasFinished());
    limited->Init(10);
    ASSERT_EQ(ReadAll(ref, out), S_OK);
    EXPECT_EQ(out, "ef");
    EXPECT_TRUE(limited->WasFinished());
}

TEST(StreamAdapters, TailStreamWritesAfterItsOffset)
{
    CMemoryOutStream* memory = new CMemoryOutStream;
    CInterfaceRef<IOutStream> memoryRef(memory);
    memory->bytes = "HEAD";
    ASSERT_EQ(memory->Seek(4, kSeekSet, nullptr), S_OK);
    CTailOutStream* tail = new CTailOutStream;
    CInterfaceRef<IOutStream> ref(tail);
    tail->Init(memory, 4);
    ASSERT_EQ(ref->Write("abcdef", 6, nullptr), S_OK);
    UINT64 position = 0;
    ASSERT_EQ(ref->Seek(-4, kSeekEnd, &position), S_OK);
    EXPECT_EQ(position, 2u);
    ASSERT_EQ(ref->Write("XY", 2, nullptr), S_OK);
    EXPECT_EQ(memory->bytes, "HEADabXYef");
    ASSERT_EQ(ref->SetSize(3), S_OK);
    EXPECT_EQ(memory->bytes, "HEADabX");
}

TEST(StreamAdapters, ReadUntilFullCollectsShortReads)
{
    CInterfaceRef<ISequentialInStream> trickle(new CProbeStream("0123456789", 3));
    char buffer[16];
    size_t size = 8;
    ASSERT_EQ(ReadUntilFull(trickle, buffer, size), S_OK);
    EXPECT_EQ(std::string(buffer, size), "01234567");
    size = 16;
    ASSERT_EQ(ReadUntilFull(trickle, buffer, size), S_OK);
    EXPECT_EQ(std::string(buffer, size), "89");
}

// Reports from the copy coder, in order.
class CRatioRecorder : public CRefCounted<ICompressProgressInfo>
{
public:
    HRESULT STDMETHODCALLTYPE ReportSizes(const UINT64* in, const UINT64* out) override
    {
        sizes.push_back({in ? *in : ~0ull, out ? *out : ~0ull});
        return result;
    }
    std::vector<std::pair<UINT64, UINT64>> sizes;
    HRESULT result = S_OK;
};

TEST(StreamAdapters, CopyCoderCopiesInPiecesAndReportsTotals)
{
    std::string data = Bytes(0x20000 + 5);
    CInterfaceRef<ISequentialInStream> in(new CProbeStream(data));
    CMemoryOutStream* out = new CMemoryOutStream;
    CInterfaceRef<ISequentialOutStream> outRef(out);
    CRatioRecorder* ratio = new CRatioRecorder;
    CInterfaceRef<ICompressProgressInfo> ratioRef(ratio);
    ASSERT_EQ(CopyStreamData(in, out, ratio), S_OK);
    EXPECT_EQ(out->bytes, data);
    ASSERT_EQ(ratio->sizes.size(), 2u);
    EXPECT_EQ(ratio->sizes[1], std::make_pair(UINT64(data.size()), UINT64(data.size())));

    ratio->result = E_ABORT;
    CInterfaceRef<ISequentialInStream> again(new CProbeStream(data));
    EXPECT_EQ(CopyStreamData(again, nullptr, ratio), E_ABORT);
}

TEST(StreamAdapters, CopyStreamDataExactNeedsTheWholeSize)
{
    struct Case
    {
        UINT64 size;
        HRESULT result;
        size_t copied;
    } cases[] = {{10, E_FAIL, 6}, {6, S_OK, 6}, {4, S_OK, 4}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.size);
        CInterfaceRef<ISequentialInStream> in(new CProbeStream("abcdef"));
        CMemoryOutStream* out = new CMemoryOutStream;
        CInterfaceRef<ISequentialOutStream> outRef(out);
        EXPECT_EQ(CopyStreamDataExact(in, out, c.size, nullptr), c.result);
        EXPECT_EQ(out->bytes.size(), c.copied);
    }
}

TEST(StreamAdapters, CopyCoderAsInputCountsWhatPassesThrough)
{
    CInterfaceRef<ICompressCoder> coder(new NCompress::CCopyCoder);
    CInterfaceRef<ICompressSetInStream> setIn;
    ASSERT_EQ(setIn.QueryFrom(coder.Get()), S_OK);
    CInterfaceRef<ISequentialInStream> asInput;
    ASSERT_EQ(asInput.QueryFrom(coder.Get()), S_OK);
    CInterfaceRef<ICompressGetInStreamProcessedSize> processed;
    ASSERT_EQ(processed.QueryFrom(coder.Get()), S_OK);
    CInterfaceRef<ISequentialInStream> source(new CProbeStream("abcdefgh"));
    ASSERT_EQ(setIn->AttachInput(source), S_OK);
    std::string out;
    ASSERT_EQ(ReadAll(asInput, out, 3), S_OK);
    EXPECT_EQ(out, "abcdefgh");
    UINT64 total = 0;
    ASSERT_EQ(processed->QueryInputProcessed(&total), S_OK);
    EXPECT_EQ(total, 8u);
    EXPECT_EQ(setIn->DetachInput(), S_OK);
}

TEST(StreamAdapters, UniqueBlobSetStoresEachStringOnceInSortedOrder)
{
    CUniqueBlobSet set;
    EXPECT_EQ(set.AddUnique("abc", 3), 0u);
    EXPECT_EQ(set.AddUnique("abd", 3), 1u);
    EXPECT_EQ(set.AddUnique("abc", 3), 0u);
    EXPECT_EQ(set.AddUnique("zz", 2), 2u);
    EXPECT_EQ(set.AddUnique("", 0), 3u);
    EXPECT_EQ(set.AddUnique(nullptr, 0), 3u);
    EXPECT_EQ(set.AddUnique("\xFF"
                            "bc",
                            3),
              4u); // unsigned order: after "abd"
    EXPECT_EQ(set.AddUnique("abd", 3), 1u);
    EXPECT_EQ(set.AddUnique("zz", 2), 2u);
    EXPECT_EQ(set.AddUnique("\xFF"
                            "bc",
                            3),
              4u);
    ASSERT_EQ(set.Count(), 5u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(set.At(2).Data()), 2), "zz");
}

// ---- CLocalProgress ----

class CProgressRecorder : public CRefCounted<IProgress>
{
public:
    HRESULT STDMETHODCALLTYPE SetTotal(UINT64) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetCompleted(const UINT64* completed) override
    {
        done.push_back(*completed);
        return S_OK;
    }
    std::vector<UINT64> done;
};

class CProgressWithRatio : public CProgressRecorder, public ICompressProgressInfo
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (IsEqualGUID(iid, IID_ICompressProgressInfo))
        {
            *out = static_cast<ICompressProgressInfo*>(this);
            AddRef();
            return S_OK;
        }
        return CProgressRecorder::QueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return CProgressRecorder::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return CProgressRecorder::Release(); }
    HRESULT STDMETHODCALLTYPE ReportSizes(const UINT64* in, const UINT64* out) override
    {
        ratios.push_back({*in, *out});
        return S_OK;
    }
    std::vector<std::pair<UINT64, UINT64>> ratios;
};

TEST(LocalProgress, AddsBasesAndOffsetAndForwardsToBothInterfaces)
{
    struct Case
    {
        bool withRatio;
        bool sendProgress;
        bool inputIsMain;
        std::vector<std::pair<UINT64, UINT64>> ratios;
        std::vector<UINT64> done;
    } cases[] = {
        {true, true, true, {{1020, 5}}, {1070}},
        {true, true, false, {{1020, 5}}, {55}},
        {true, false, true, {{1020, 5}}, {}},
        {false, true, true, {}, {1070}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.withRatio << c.sendProgress << c.inputIsMain);
        CProgressWithRatio* both = new CProgressWithRatio;
        CProgressRecorder* plain = c.withRatio ? both : new CProgressRecorder;
        CInterfaceRef<IProgress> target(plain);
        if (!c.withRatio)
            delete both;
        CLocalProgress* local = new CLocalProgress;
        CInterfaceRef<ICompressProgressInfo> ref(local);
        local->Attach(target, c.inputIsMain);
        local->InBase = 1000;
        local->ProgressOffset = 50;
        local->SendProgress = c.sendProgress;
        UINT64 in = 20, out = 5;
        ASSERT_EQ(ref->ReportSizes(&in, &out), S_OK);
        EXPECT_EQ(plain->done, c.done);
        if (c.withRatio)
        {
            EXPECT_EQ(both->ratios, c.ratios);
        }
    }
}

TEST(LocalProgress, ReportCurrentSendsTheBasesAlone)
{
    CProgressRecorder* target = new CProgressRecorder;
    CInterfaceRef<IProgress> ref(target);
    CLocalProgress* local = new CLocalProgress;
    CInterfaceRef<ICompressProgressInfo> localRef(local);
    local->Attach(target, false);
    local->OutBase = 300;
    local->ProgressOffset = 7;
    ASSERT_EQ(local->ReportCurrent(), S_OK);
    EXPECT_EQ(target->done, std::vector<UINT64>{307});
}

} // namespace
