#include "archiveclient/base/StreamAdapters.h"

#include <cstring>

namespace
{

// The new position of a seek from base by offset; false when it would be negative.
bool OffsetPosition(UINT64 base, INT64 offset, UINT64& position)
{
    if (offset < 0 && static_cast<UINT64>(0) - static_cast<UINT64>(offset) > base)
        return false;
    position = base + static_cast<UINT64>(offset);
    return true;
}

// Seek over a virtual position; the end is size.
HRESULT SeekVirtual(UINT64& position, UINT64 size, INT64 offset, UINT32 origin, UINT64* newPosition)
{
    UINT64 base = 0;
    switch (origin)
    {
    case kSeekSet:
        break;
    case kSeekCur:
        base = position;
        break;
    case kSeekEnd:
        base = size;
        break;
    default:
        return STG_E_INVALIDFUNCTION;
    }
    UINT64 target = 0;
    if (!OffsetPosition(base, offset, target))
        return kNegativeSeekResult;
    position = target;
    if (newPosition != nullptr)
        *newPosition = target;
    return S_OK;
}

UINT32 CutRequest(UINT32 size, UINT64 available)
{
    return available < size ? static_cast<UINT32>(available) : size;
}

int CompareBlock(const CByteBlock& block, const void* data, UINT64 size)
{
    if (block.Size() != size)
        return block.Size() < size ? -1 : 1;
    if (size == 0)
        return 0;
    return std::memcmp(block.Data(), data, static_cast<size_t>(size));
}

const UINT32 kCopyBufferSize = 0x20000;

} // namespace

// ---- CByteBlock ----

CByteBlock::CByteBlock(const CByteBlock& other)
{
    CopyFrom(other.m_data, other.m_size);
}

CByteBlock& CByteBlock::operator=(const CByteBlock& other)
{
    if (this != &other)
        CopyFrom(other.m_data, other.m_size);
    return *this;
}

void CByteBlock::Allocate(UINT64 n)
{
    if (n == m_size)
        return;
    Free();
    if (n > 0)
    {
        m_data = new BYTE[static_cast<size_t>(n)];
        m_size = n;
    }
}

void CByteBlock::CopyFrom(const void* data, UINT64 n)
{
    Allocate(n);
    if (n > 0)
        std::memcpy(m_data, data, static_cast<size_t>(n));
}

void CByteBlock::Free()
{
    delete[] m_data;
    m_data = nullptr;
    m_size = 0;
}

// ---- CUniqueBlobSet ----

UINT32 CUniqueBlobSet::AddUnique(const void* data, UINT64 size)
{
    UINT32 left = 0;
    UINT32 right = m_sorted.Count();
    while (left != right)
    {
        UINT32 middle = left + (right - left) / 2;
        UINT32 index = m_sorted.At(middle);
        int order = CompareBlock(m_blocks.At(index), data, size);
        if (order == 0)
            return index;
        if (order < 0)
            left = middle + 1;
        else
            right = middle;
    }
    CByteBlock copy;
    copy.CopyFrom(data, size);
    UINT32 index = m_blocks.AddCopy(copy);
    m_sorted.Insert(left, index);
    return index;
}

// ---- ReadUntilFull ----

HRESULT ReadUntilFull(ISequentialInStream* stream, void* data, size_t& size)
{
    size_t wanted = size;
    size = 0;
    BYTE* p = static_cast<BYTE*>(data);
    while (size < wanted)
    {
        size_t rest = wanted - size;
        UINT32 request = rest > 0x7FFFFFFF ? 0x80000000u : static_cast<UINT32>(rest);
        UINT32 read = 0;
        HRESULT result = stream->Read(p, request, &read);
        size += read;
        p += read;
        if (result != S_OK)
            return result;
        if (read == 0)
            break;
    }
    return S_OK;
}

// ---- CLimitedSequentialInStream ----

HRESULT STDMETHODCALLTYPE CLimitedSequentialInStream::Read(void* data, UINT32 size, UINT32* processed)
{
    if (processed != nullptr)
        *processed = 0;
    UINT32 request = CutRequest(size, m_limit - m_position);
    if (request == 0)
        return S_OK;
    UINT32 read = 0;
    HRESULT result = m_stream->Read(data, request, &read);
    m_position += read;
    if (read == 0)
        m_wasFinished = true;
    if (processed != nullptr)
        *processed = read;
    return result;
}

// ---- CLimitedInStream ----

HRESULT CLimitedInStream::InitAndSeek(UINT64 start, UINT64 size)
{
    m_start = start;
    m_physicalPosition = start;
    m_virtualPosition = 0;
    m_size = size;
    return m_stream->Seek(static_cast<INT64>(start), kSeekSet, nullptr);
}

HRESULT CLimitedInStream::SeekPhysical()
{
    UINT64 wanted = m_start + m_virtualPosition;
    if (wanted == m_physicalPosition)
        return S_OK;
    HRESULT result = m_stream->Seek(static_cast<INT64>(wanted), kSeekSet, nullptr);
    // Only a seek that worked tells where the inner stream stands.
    if (result == S_OK)
        m_physicalPosition = wanted;
    return result;
}

HRESULT STDMETHODCALLTYPE CLimitedInStream::Read(void* data, UINT32 size, UINT32* processed)
{
    if (processed != nullptr)
        *processed = 0;
    if (m_virtualPosition >= m_size)
        return S_OK;
    UINT32 request = CutRequest(size, m_size - m_virtualPosition);
    HRESULT result = SeekPhysical();
    if (result != S_OK)
        return result;
    UINT32 read = 0;
    result = m_stream->Read(data, request, &read);
    m_virtualPosition += read;
    m_physicalPosition += read;
    if (processed != nullptr)
        *processed = read;
    return result;
}

HRESULT STDMETHODCALLTYPE CLimitedInStream::Seek(INT64 offset, UINT32 origin, UINT64* newPosition)
{
    return SeekVirtual(m_virtualPosition, m_size, offset, origin, newPosition);
}

HRESULT CreateRangeInStream(IInStream* inner, UINT64 start, UINT64 size, IInStream** out)
{
    *out = nullptr;
    CLimitedInStream* range = new CLimitedInStream;
    CInterfaceRef<IInStream> holder(range);
    range->SetStream(inner);
    HRESULT result = range->InitAndSeek(start, size);
    if (result != S_OK)
        return result;
    result = range->Seek(0, kSeekSet, nullptr);
    if (result != S_OK)
        return result;
    *out = holder.Detach();
    return S_OK;
}

// ---- CLimitedCachedInStream ----

HRESULT STDMETHODCALLTYPE CLimitedCachedInStream::Read(void* data, UINT32 size, UINT32* processed)
{
    if (processed != nullptr)
        *processed = 0;
    if (m_virtualPosition >= m_size)
        return S_OK;
    UINT32 request = CutRequest(size, m_size - m_virtualPosition);
    UINT64 begin = m_start + m_virtualPosition;
    if (m_cache != nullptr && begin >= m_cacheOffset && begin - m_cacheOffset <= m_cacheSize &&
        request <= m_cacheSize - (begin - m_cacheOffset))
    {
        if (request != 0)
            std::memcpy(data, m_cache + (begin - m_cacheOffset), request);
        m_virtualPosition += request;
        if (processed != nullptr)
            *processed = request;
        return S_OK;
    }
    return CLimitedInStream::Read(data, size, processed);
}

// ---- CLimitedSequentialOutStream ----

HRESULT STDMETHODCALLTYPE CLimitedSequentialOutStream::Write(const void* data, UINT32 size, UINT32* processed)
{
    if (processed != nullptr)
        *processed = 0;
    if (size > m_remaining)
    {
        if (m_remaining == 0)
        {
            m_overflow = true;
            if (!m_overflowAllowed)
                return E_FAIL;
            if (processed != nullptr)
                *processed = size;
            return S_OK;
        }
        size = static_cast<UINT32>(m_remaining);
    }
    HRESULT result = S_OK;
    UINT32 written = size;
    if (!m_stream.IsNull())
        result = m_stream->Write(data, size, &written);
    m_remaining -= written;
    if (processed != nullptr)
        *processed = written;
    return result;
}

// ---- CTailOutStream ----

HRESULT STDMETHODCALLTYPE CTailOutStream::Write(const void* data, UINT32 size, UINT32* processed)
{
    UINT32 written = 0;
    HRESULT result = m_stream->Write(data, size, &written);
    m_virtualPosition += written;
    if (m_virtualSize < m_virtualPosition)
        m_virtualSize = m_virtualPosition;
    if (processed != nullptr)
        *processed = written;
    return result;
}

HRESULT STDMETHODCALLTYPE CTailOutStream::Seek(INT64 offset, UINT32 origin, UINT64* newPosition)
{
    HRESULT result = SeekVirtual(m_virtualPosition, m_virtualSize, offset, origin, newPosition);
    if (result != S_OK)
        return result;
    return m_stream->Seek(static_cast<INT64>(m_offset + m_virtualPosition), kSeekSet, nullptr);
}

HRESULT STDMETHODCALLTYPE CTailOutStream::SetSize(UINT64 newSize)
{
    m_virtualSize = newSize;
    return m_stream->SetSize(newSize + m_offset);
}

// ---- CBufInStream ----

HRESULT STDMETHODCALLTYPE CBufInStream::Read(void* data, UINT32 size, UINT32* processed)
{
    if (processed != nullptr)
        *processed = 0;
    if (size == 0 || m_position >= m_size)
        return S_OK;
    UINT32 count = CutRequest(size, m_size - m_position);
    std::memcpy(data, m_data + m_position, count);
    m_position += count;
    if (processed != nullptr)
        *processed = count;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CBufInStream::Seek(INT64 offset, UINT32 origin, UINT64* newPosition)
{
    return SeekVirtual(m_position, m_size, offset, origin, newPosition);
}

// ---- The copy coder ----

namespace NCompress
{

CCopyCoder::~CCopyCoder()
{
    if (m_buffer != nullptr)
        VirtualFree(m_buffer, 0, MEM_RELEASE);
}

HRESULT STDMETHODCALLTYPE CCopyCoder::Process(ISequentialInStream* inStream, ISequentialOutStream* outStream,
                                              const UINT64*, const UINT64* outSize,
                                              ICompressProgressInfo* progress)
{
    if (m_buffer == nullptr)
    {
        m_buffer = static_cast<BYTE*>(VirtualAlloc(nullptr, kCopyBufferSize, MEM_COMMIT, PAGE_READWRITE));
        if (m_buffer == nullptr)
            return E_OUTOFMEMORY;
    }
    m_total = 0;
    for (;;)
    {
        UINT32 chunk = kCopyBufferSize;
        if (outSize != nullptr)
            chunk = CutRequest(chunk, *outSize - m_total);
        if (chunk == 0)
            return S_OK;
        UINT32 read = 0;
        HRESULT readResult = inStream->Read(m_buffer, chunk, &read);
        if (read == 0)
            return readResult;
        if (outStream != nullptr)
        {
            UINT32 done = 0;
            while (done < read)
            {
                UINT32 written = 0;
                HRESULT result = outStream->Write(m_buffer + done, read - done, &written);
                done += written;
                m_total += written;
                if (result != S_OK)
                    return result;
                if (written == 0)
                    return E_FAIL;
            }
        }
        else
            m_total += read;
        if (readResult != S_OK)
            return readResult;
        if (progress != nullptr)
        {
            HRESULT result = progress->ReportSizes(&m_total, &m_total);
            if (result != S_OK)
                return result;
        }
    }
}

HRESULT STDMETHODCALLTYPE CCopyCoder::AttachInput(ISequentialInStream* inStream)
{
    m_inStream = inStream;
    m_total = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CCopyCoder::DetachInput()
{
    m_inStream.Release();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CCopyCoder::Read(void* data, UINT32 size, UINT32* processed)
{
    UINT32 read = 0;
    HRESULT result = m_inStream.IsNull() ? E_FAIL : m_inStream->Read(data, size, &read);
    m_total += read;
    if (processed != nullptr)
        *processed = read;
    return result;
}

HRESULT STDMETHODCALLTYPE CCopyCoder::QueryInputProcessed(UINT64* size)
{
    *size = m_total;
    return S_OK;
}

} // namespace NCompress

HRESULT CopyStreamData(ISequentialInStream* in, ISequentialOutStream* out, ICompressProgressInfo* progress)
{
    CInterfaceRef<ICompressCoder> coder(new NCompress::CCopyCoder);
    return coder->Process(in, out, nullptr, nullptr, progress);
}

HRESULT CopyStreamDataExact(ISequentialInStream* in, ISequentialOutStream* out, UINT64 size,
                            ICompressProgressInfo* progress)
{
    NCompress::CCopyCoder* copier = new NCompress::CCopyCoder;
    CInterfaceRef<ICompressCoder> coder(copier);
    HRESULT result = coder->Process(in, out, nullptr, &size, progress);
    if (result != S_OK)
        return result;
    return copier->TotalProcessed() == size ? S_OK : E_FAIL;
}
