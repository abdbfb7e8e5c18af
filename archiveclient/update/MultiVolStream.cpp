#include "archiveclient/update/MultiVolStream.h"

UString MakeVolumeName(const UString& prefix, uint32_t index)
{
    wchar_t digits[16];
    FormatUInt32Decimal(index + 1, digits);
    UString name(prefix);
    for (size_t n = wcslen(digits); n < 3; n++)
        name.AppendChar(L'0');
    name.Append(digits);
    return name;
}

COutMultiVolStream::COutMultiVolStream(const CValueVector<uint64_t>& sizes, const UString& prefix,
                                       CTempFileList* tempFiles)
    : m_prefix(prefix), m_tempFiles(tempFiles)
{
    for (uint32_t i = 0; i < sizes.Count(); i++)
        m_sizes.Add(sizes.At(i));
}

COutMultiVolStream::~COutMultiVolStream() = default;

uint64_t COutMultiVolStream::VolumeSize(uint32_t index) const
{
    if (m_sizes.Count() == 0)
        return UINT64_MAX;
    return m_sizes.At(index < m_sizes.Count() ? index : m_sizes.Count() - 1);
}

HRESULT STDMETHODCALLTYPE COutMultiVolStream::Write(const void* data, UINT32 size, UINT32* processed)
{
    if (processed != nullptr)
        *processed = 0;
    if (size == 0)
        return S_OK;
    for (;;)
    {
        if (m_index >= m_volumes.Count())
        {
            UString name = MakeVolumeName(m_prefix, m_volumes.Count());
            COutFileStream* stream = new COutFileStream;
            CInterfaceRef<IOutStream> ref(stream);
            // Never overwrites: a volume left by an earlier run would mix two archives.
            if (!stream->Create(name.Chars(), false))
                return static_cast<HRESULT>(GetLastError());
            if (m_tempFiles != nullptr)
                m_tempFiles->Add(name);
            CVolume& volume = m_volumes.At(m_volumes.AddNew());
            volume.Stream = stream;
            volume.Ref = ref;
            volume.Name = name;
            continue;
        }
        uint64_t volumeSize = VolumeSize(m_index);
        if (m_offset >= volumeSize)
        {
            m_offset -= volumeSize;
            m_index++;
            continue;
        }
        break;
    }
    CVolume& volume = m_volumes.At(m_index);
    uint64_t volumeSize = VolumeSize(m_index);
    if (volume.Position != m_offset)
    {
        HRESULT hr = volume.Ref->Seek(static_cast<INT64>(m_offset), kSeekSet, nullptr);
        if (hr != S_OK)
            return hr;
        volume.Position = m_offset;
    }
    uint64_t room = volumeSize - volume.Position;
    UINT32 chunk = room < size ? static_cast<UINT32>(room) : size;
    UINT32 written = 0;
    HRESULT hr = volume.Ref->Write(data, chunk, &written);
    volume.Position += written;
    m_offset += written;
    m_position += written;
    if (m_position > m_length)
        m_length = m_position;
    if (m_offset > volume.RealSize)
        volume.RealSize = m_offset;
    if (processed != nullptr)
        *processed = written;
    if (hr != S_OK)
        return hr;
    if (volume.Position == volumeSize)
    {
        m_index++;
        m_offset = 0;
    }
    return (written != 0 || chunk == 0) ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE COutMultiVolStream::Seek(INT64 offset, UINT32 origin, UINT64* newPosition)
{
    int64_t base;
    switch (origin)
    {
    case kSeekSet:
        base = 0;
        break;
    case kSeekCur:
        base = static_cast<int64_t>(m_position);
        break;
    case kSeekEnd:
        base = static_cast<int64_t>(m_length);
        break;
    default:
        return STG_E_INVALIDFUNCTION;
    }
    if (offset < 0 && base + offset < 0)
        return kNegativeSeekResult;
    m_position = static_cast<uint64_t>(base + offset);
    // The next write walks from the first volume, subtracting volume sizes.
    m_offset = m_position;
    m_index = 0;
    if (newPosition != nullptr)
        *newPosition = m_position;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COutMultiVolStream::SetSize(UINT64 newSize)
{
    uint64_t rest = newSize;
    uint32_t i = 0;
    for (; i < m_volumes.Count(); i++)
    {
        CVolume& volume = m_volumes.At(i);
        if (rest < volume.RealSize)
        {
            HRESULT hr = volume.Ref->SetSize(rest);
            if (hr != S_OK)
                return hr;
            volume.RealSize = rest;
            i++;
            break;
        }
        rest -= volume.RealSize;
    }
    while (m_volumes.Count() > i)
    {
        CVolume& last = m_volumes.Back();
        last.Stream->Close();
        last.Ref.Release();
        UString name = last.Name;
        FsDeleteFile(name.Chars());
        if (m_tempFiles != nullptr && m_tempFiles->Count() != 0 &&
            m_tempFiles->At(m_tempFiles->Count() - 1).Equals(name))
            m_tempFiles->DropLast();
        m_volumes.DeleteBack();
    }
    m_offset = m_position;
    m_index = 0;
    m_length = newSize;
    return S_OK;
}

HRESULT COutMultiVolStream::CloseAll()
{
    HRESULT result = S_OK;
    for (uint32_t i = 0; i < m_volumes.Count(); i++)
    {
        HRESULT hr = m_volumes.At(i).Stream->Close();
        if (hr != S_OK)
            result = hr;
    }
    return result;
}
