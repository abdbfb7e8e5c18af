// The object the archive library asks, item by item, while it writes a new or changed
// archive: whether an item has new data or properties, its properties, the stream of
// each file to pack, volume sizes, passwords, progress and per-item results. It answers
// from the update steps, the disk scan and the opened archive; everything that concerns
// the user goes on to the job's IUpdateCallbackUI2.
#pragma once
#include "archiveclient/base/FileStreams.h"
#include "archiveclient/update/UpdateCallbackUI.h"
#include "archiveclient/update/UpdatePairs.h"
#include <vector>

class CArchiveLevel;

// The target of a link made relative to the link's own full path: "..\" once for every
// folder of the link's path below the part both share, then the rest of the target. A
// target on another drive, sharing no part, stays as it is.
UString MakeRelativeLinkTarget(const UString& target, const UString& linkFullPath);

class CArchiveUpdateCallback
    : public CRefCounted<IArchiveUpdateCallback2, IArchiveUpdateCallbackFile, IArchiveExtractCallbackMessage2,
                         IArchiveGetRawProps, IArchiveGetRootProps, ICryptoGetTextPassword2,
                         ICryptoGetTextPassword, ICompressProgressInfo>,
      public IInFileStream_Callback
{
public:
    CArchiveUpdateCallback();

    // IProgress
    HRESULT STDMETHODCALLTYPE SetTotal(UINT64 total) override;
    HRESULT STDMETHODCALLTYPE SetCompleted(const UINT64* completed) override;
    // IArchiveUpdateCallback
    HRESULT STDMETHODCALLTYPE GetUpdateItemInfo(UINT32 index, INT32* newData, INT32* newProps,
                                                UINT32* indexInArchive) override;
    HRESULT STDMETHODCALLTYPE GetProperty(UINT32 index, PROPID propId, PROPVARIANT* value) override;
    HRESULT STDMETHODCALLTYPE GetStream(UINT32 index, ISequentialInStream** inStream) override;
    HRESULT STDMETHODCALLTYPE SetOperationResult(INT32 result) override;
    // IArchiveUpdateCallback2
    HRESULT STDMETHODCALLTYPE GetVolumeSize(UINT32 index, UINT64* size) override;
    HRESULT STDMETHODCALLTYPE GetVolumeStream(UINT32 index, ISequentialOutStream** volumeStream) override;
    // IArchiveUpdateCallbackFile
    HRESULT STDMETHODCALLTYPE GetStream2(UINT32 index, ISequentialInStream** inStream, UINT32 mode) override;
    HRESULT STDMETHODCALLTYPE ReportOperation(UINT32 indexType, UINT32 index, UINT32 operation) override;
    // IArchiveExtractCallbackMessage2: the check result of an item copied from the old
    // archive.
    HRESULT STDMETHODCALLTYPE ReportExtractResult(UINT32 indexType, UINT32 index, INT32 result) override;
    // IArchiveGetRawProps
    HRESULT STDMETHODCALLTYPE GetParent(UINT32 index, UINT32* parent, UINT32* parentType) override;
    HRESULT STDMETHODCALLTYPE GetRawProp(UINT32 index, PROPID propId, const void** data, UINT32* size,
                                         UINT32* propType) override;
    HRESULT STDMETHODCALLTYPE GetNumRawProps(UINT32* count) override;
    HRESULT STDMETHODCALLTYPE GetRawPropInfo(UINT32 index, BSTR* name, PROPID* propId) override;
    // IArchiveGetRootProps
    HRESULT STDMETHODCALLTYPE GetRootProp(PROPID propId, PROPVARIANT* value) override;
    HRESULT STDMETHODCALLTYPE GetRootRawProp(PROPID propId, const void** data, UINT32* size,
                                             UINT32* propType) override;
    // Passwords
    HRESULT STDMETHODCALLTYPE CryptoGetTextPassword2(INT32* passwordIsDefined, BSTR* password) override;
    HRESULT STDMETHODCALLTYPE CryptoGetTextPassword(BSTR* password) override;
    // ICompressProgressInfo
    HRESULT STDMETHODCALLTYPE ReportSizes(const UINT64* inSize, const UINT64* outSize) override;
    // IInFileStream_Callback
    HRESULT OnReadError(UINT_PTR streamId, DWORD systemError) override;
    void OnStreamDestroyed(UINT_PTR streamId) override;

    bool AllInputsClosed() const { return OpenStreamIds.empty(); }

    std::vector<uint32_t> OpenStreamIds;
    std::vector<UString> OpenStreamPaths;
    std::vector<uint64_t> VolumeSizes;
    UString VolumeBaseName;
    UString VolumeSuffix;
    IUpdateCallbackUI2* Ui = nullptr;
    const CDiskItemList* DiskItems = nullptr;
    const CDiskItem* RootItem = nullptr;
    const CArchiveLevel* SourceArchive = nullptr;
    CInterfaceRef<IInArchive> ArchiveHandler;
    const std::vector<CStoredItem>* StoredItems = nullptr;
    const std::vector<CUpdateStep>* Steps = nullptr;
    const std::vector<UString>* NewNames = nullptr;
    bool KeepArchiveNames = false;
    bool ShareForWrite = false;

private:
    bool ArchiveItemName(uint32_t arcIndex, UString& name, bool& isDir, HRESULT& hr) const;
    uint32_t HandlerIndex(const CUpdateStep& step) const;
};
