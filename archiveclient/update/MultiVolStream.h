// One long seekable output stream spread over numbered volume files of fixed sizes.
// The library writes and seeks in it as in one file; each volume is created when the
// first byte reaches it and is listed in the job's temporary-file list at once, so a
// failed job removes every volume it made.
#pragma once
#include "archiveclient/base/FileStreams.h"
#include "archiveclient/update/TempFileList.h"

// The name of volume `index` (0 = first): prefix + the number index + 1 with at least
// three digits (".001" ... ".999", ".1000"). Every volume the program writes is named
// by this one rule, so the open chain finds the set again from its first name.
UString MakeVolumeName(const UString& prefix, uint32_t index);

class COutMultiVolStream : public CRefCounted<IOutStream>
{
public:
    // prefix: the volume base with its trailing dot, such as "x.7z.".
    COutMultiVolStream(const CValueVector<uint64_t>& sizes, const UString& prefix, CTempFileList* tempFiles);
    ~COutMultiVolStream() override;

    HRESULT STDMETHODCALLTYPE Write(const void* data, UINT32 size, UINT32* processed) override;
    HRESULT STDMETHODCALLTYPE Seek(INT64 offset, UINT32 origin, UINT64* newPosition) override;
    HRESULT STDMETHODCALLTYPE SetSize(UINT64 newSize) override;

    // Closes every volume file; a failure does not stop the others; the last one is
    // the result.
    HRESULT CloseAll();
    uint64_t TotalLength() const { return m_length; }

private:
    struct CVolume
    {
        COutFileStream* Stream = nullptr;
        CInterfaceRef<IOutStream> Ref;
        UString Name;
        uint64_t Position = 0;
        uint64_t RealSize = 0;
    };

    uint64_t VolumeSize(uint32_t index) const;

    uint32_t m_index = 0;
    uint64_t m_offset = 0;
    uint64_t m_position = 0;
    uint64_t m_length = 0;
    COwnedPtrVector<CVolume> m_volumes;
    CValueVector<uint64_t> m_sizes;
    UString m_prefix;
    CTempFileList* m_tempFiles;
};
