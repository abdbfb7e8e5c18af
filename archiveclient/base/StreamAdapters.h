// Streams that present part of another stream or a block of memory, owned byte
// blocks, a set of distinct byte strings, and the copy coder that moves one stream's
// bytes into another. Every seek checks the origin first (STG_E_INVALIDFUNCTION) and
// refuses a negative position (0x80070083); a position beyond the end is accepted.
#pragma once
#include "archiveclient/base/RefCounting.h"
#include "fs/Vectors.h"

// Owned bytes. Copies copy the bytes.
class CByteBlock
{
public:
    CByteBlock() = default;
    CByteBlock(const CByteBlock& other);
    CByteBlock& operator=(const CByteBlock& other);
    ~CByteBlock() { Free(); }

    // Room for n bytes; the old contents are not kept. Nothing happens when n is the
    // current size.
    void Allocate(UINT64 n);
    void CopyFrom(const void* data, UINT64 n);
    void Free();
    BYTE* Data() { return m_data; }
    const BYTE* Data() const { return m_data; }
    UINT64 Size() const { return m_size; }

private:
    BYTE* m_data = nullptr;
    UINT64 m_size = 0;
};

// Distinct byte strings, each stored once, indexed in order of insertion.
class CUniqueBlobSet
{
public:
    // The index of the equal string already stored, or of the copy stored now.
    UINT32 AddUnique(const void* data, UINT64 size);
    UINT32 Count() const { return m_blocks.Count(); }
    const CByteBlock& At(UINT32 index) const { return m_blocks.At(index); }
    void Clear()
    {
        m_blocks.Clear();
        m_sorted.Clear();
    }

private:
    COwnedPtrVector<CByteBlock> m_blocks;
    CValueVector<UINT32> m_sorted; // block indices ordered by size, then bytes
};

// Reads until size bytes have come or a read yields none; size returns the count.
HRESULT ReadUntilFull(ISequentialInStream* stream, void* data, size_t& size);

// At most Init's limit bytes of the inner stream.
class CLimitedSequentialInStream : public CRefCounted<ISequentialInStream>
{
public:
    void SetStream(ISequentialInStream* stream) { m_stream = stream; }
    void Init(UINT64 limit)
    {
        m_limit = limit;
        m_position = 0;
        m_wasFinished = false;
    }
    UINT64 Position() const { return m_position; }
    // The inner stream ended before the limit.
    bool WasFinished() const { return m_wasFinished; }

    HRESULT STDMETHODCALLTYPE Read(void* data, UINT32 size, UINT32* processed) override;

private:
    CInterfaceRef<ISequentialInStream> m_stream;
    UINT64 m_limit = 0;
    UINT64 m_position = 0;
    bool m_wasFinished = false;
};

// The range [start, start + size) of a seekable stream. The inner stream is sought
// only when it does not already stand where the next read begins.
class CLimitedInStream : public CRefCounted<IInStream>
{
public:
    void SetStream(IInStream* stream) { m_stream = stream; }
    // Sets the range and seeks the inner stream to its start.
    HRESULT InitAndSeek(UINT64 start, UINT64 size);

    HRESULT STDMETHODCALLTYPE Read(void* data, UINT32 size, UINT32* processed) override;
    HRESULT STDMETHODCALLTYPE Seek(INT64 offset, UINT32 origin, UINT64* newPosition) override;

protected:
    // Brings the inner stream to start + virtual position.
    HRESULT SeekPhysical();

    CInterfaceRef<IInStream> m_stream;
    UINT64 m_virtualPosition = 0;
    UINT64 m_physicalPosition = 0;
    UINT64 m_size = 0;
    UINT64 m_start = 0;
};

// A range stream of inner over [start, start + size), positioned at 0.
HRESULT CreateRangeInStream(IInStream* inner, UINT64 start, UINT64 size, IInStream** out);

// A range stream that serves reads lying wholly inside a cached copy of the inner
// stream's bytes without seeking or reading the inner stream.
class CLimitedCachedInStream : public CLimitedInStream
{
public:
    // The cached bytes stay owned by the caller and must outlive their use here.
    void SetCache(const BYTE* data, UINT64 size, UINT64 physicalOffset)
    {
        m_cache = data;
        m_cacheSize = size;
        m_cacheOffset = physicalOffset;
    }

    HRESULT STDMETHODCALLTYPE Read(void* data, UINT32 size, UINT32* processed) override;

private:
    const BYTE* m_cache = nullptr;
    UINT64 m_cacheSize = 0;
    UINT64 m_cacheOffset = 0;
};

// Passes at most Init's remaining bytes to the inner stream (or discards them when
// there is none).
class CLimitedSequentialOutStream : public CRefCounted<ISequentialOutStream>
{
public:
    void SetStream(ISequentialOutStream* stream) { m_stream = stream; }
    void Init(UINT64 remaining, bool overflowAllowed = false)
    {
        m_remaining = remaining;
        m_overflow = false;
        m_overflowAllowed = overflowAllowed;
    }
    bool IsOverflowed() const { return m_overflow; }

    HRESULT STDMETHODCALLTYPE Write(const void* data, UINT32 size, UINT32* processed) override;

private:
    CInterfaceRef<ISequentialOutStream> m_stream;
    UINT64 m_remaining = 0;
    bool m_overflow = false;
    bool m_overflowAllowed = false;
};

// The part of an output stream from a fixed offset on, seen as a stream of its own.
// The inner stream must stand at the offset when writing starts.
class CTailOutStream : public CRefCounted<IOutStream>
{
public:
    void Init(IOutStream* stream, UINT64 offset)
    {
        m_stream = stream;
        m_offset = offset;
        m_virtualPosition = 0;
        m_virtualSize = 0;
    }

    HRESULT STDMETHODCALLTYPE Write(const void* data, UINT32 size, UINT32* processed) override;
    HRESULT STDMETHODCALLTYPE Seek(INT64 offset, UINT32 origin, UINT64* newPosition) override;
    HRESULT STDMETHODCALLTYPE SetSize(UINT64 newSize) override;

private:
    CInterfaceRef<IOutStream> m_stream;
    UINT64 m_offset = 0;
    UINT64 m_virtualPosition = 0;
    UINT64 m_virtualSize = 0;
};

// A block of memory as a seekable stream; owner (may be null) keeps it alive.
class CBufInStream : public CRefCounted<IInStream>
{
public:
    void Attach(const BYTE* data, UINT64 size, IUnknown* owner)
    {
        m_data = data;
        m_size = size;
        m_position = 0;
        m_owner = owner;
    }

    HRESULT STDMETHODCALLTYPE Read(void* data, UINT32 size, UINT32* processed) override;
    HRESULT STDMETHODCALLTYPE Seek(INT64 offset, UINT32 origin, UINT64* newPosition) override;

private:
    const BYTE* m_data = nullptr;
    UINT64 m_size = 0;
    UINT64 m_position = 0;
    CInterfaceRef<IUnknown> m_owner;
};

namespace NCompress
{

// Copies its input to its output in pieces of 128 KiB, reporting the total after each.
class CCopyCoder : public CRefCounted<ICompressCoder, ICompressSetInStream, ISequentialInStream,
                                      ICompressGetInStreamProcessedSize>
{
public:
    ~CCopyCoder() override;

    // inSize is not used; outSize (when given) limits the bytes copied.
    HRESULT STDMETHODCALLTYPE Process(ISequentialInStream* inStream, ISequentialOutStream* outStream,
                                      const UINT64* inSize, const UINT64* outSize,
                                      ICompressProgressInfo* progress) override;
    HRESULT STDMETHODCALLTYPE AttachInput(ISequentialInStream* inStream) override;
    HRESULT STDMETHODCALLTYPE DetachInput() override;
    HRESULT STDMETHODCALLTYPE Read(void* data, UINT32 size, UINT32* processed) override;
    HRESULT STDMETHODCALLTYPE QueryInputProcessed(UINT64* size) override;

    UINT64 TotalProcessed() const { return m_total; }

private:
    BYTE* m_buffer = nullptr;
    CInterfaceRef<ISequentialInStream> m_inStream;
    UINT64 m_total = 0;
};

} // namespace NCompress

HRESULT CopyStreamData(ISequentialInStream* in, ISequentialOutStream* out, ICompressProgressInfo* progress);
// E_FAIL when the input ends before size bytes were copied.
HRESULT CopyStreamDataExact(ISequentialInStream* in, ISequentialOutStream* out, UINT64 size,
                            ICompressProgressInfo* progress);
