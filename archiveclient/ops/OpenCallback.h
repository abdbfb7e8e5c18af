// The callback the format handlers receive while an archive opens: progress, cancel and
// the password go to the program's user interface; further volumes are opened on the
// handler's request beside the first one and recorded, so that the caller learns which
// volumes the opened archive still uses.
#pragma once
#include "archiveclient/base/FileStreams.h"
#include "fs/FindEntries.h"
#include "fs/Vectors.h"

// What the program implements to follow and steer an open.
struct IOpenCallbackUI
{
    virtual HRESULT OnCheckBreak() = 0;
    virtual HRESULT OnTotal(const UINT64* files, const UINT64* bytes) = 0;
    virtual HRESULT OnCompleted(const UINT64* files, const UINT64* bytes) = 0;
    virtual HRESULT OnFinished() = 0;
    // A newly allocated BSTR, or a failure.
    virtual HRESULT OnPasswordRequest(BSTR* password) = 0;

protected:
    ~IOpenCallbackUI() = default;
};

// The integer thrown when the first volume cannot be found.
const int kFirstVolumeMissingError = 20121118;

class COpenCallbackImp : public CRefCounted<IArchiveOpenCallback, IArchiveOpenVolumeCallback,
                                            IArchiveOpenSetSubArchiveName, ICryptoGetTextPassword>
{
public:
    UString folderPrefix;
    CFsEntryInfo fileInfo;
    bool subArchiveMode = false;
    UString subArchiveName;
    COwnedPtrVector<UString> fileNames;
    CValueVector<bool> fileNamesUsed;
    CValueVector<uint64_t> fileSizes;
    bool passwordAsked = false;
    IOpenCallbackUI* ui = nullptr;

    // Throws kFirstVolumeMissingError when prefix + name is not found.
    void Init(const UString& prefix, const UString& fileName);

    HRESULT STDMETHODCALLTYPE SetTotal(const UINT64* files, const UINT64* bytes) override;
    HRESULT STDMETHODCALLTYPE SetCompleted(const UINT64* files, const UINT64* bytes) override;
    HRESULT STDMETHODCALLTYPE GetProperty(PROPID propId, PROPVARIANT* value) override;
    HRESULT STDMETHODCALLTYPE GetStream(const wchar_t* name, IInStream** stream) override;
    HRESULT STDMETHODCALLTYPE SetSubArchiveName(const wchar_t* name) override;
    HRESULT STDMETHODCALLTYPE CryptoGetTextPassword(BSTR* password) override;

    // Called by a volume stream as it ends.
    void OnVolumeStreamDestroyed(int32_t fileNameIndex);

private:
    HRESULT OpenVolume(const wchar_t* name, IInStream** stream);
};

// A volume stream: it keeps the callback alive and marks its volume unused as it ends.
class CInFileStreamVol : public CInFileStream
{
public:
    ~CInFileStreamVol() override;

    int32_t fileNameIndex = -1;
    COpenCallbackImp* openCallback = nullptr;
    CInterfaceRef<IArchiveOpenCallback> callbackRef;
};
