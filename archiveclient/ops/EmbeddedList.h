// The list of archives found inside a stream (and the gaps between them), presented as
// the items of a pseudo-archive so that they can be listed and extracted like any
// other items, and the two adapters the signature scan opens its handlers with.
#pragma once
#include "archiveclient/base/RefCounting.h"
#include "fs/ArcString.h"
#include <vector>

class CCodecs;

// One find or one gap of the scanned stream.
struct CEmbeddedArchiveItem
{
    int64_t offset = 0;
    uint64_t size = 0;
    UString name;
    UString extension;
    FILETIME modified = {};
    UString comment;
    UString typeName; // empty for a gap
    bool modifiedSet = false;
    bool unpackSizeSet = false;
    bool dirCountSet = false;
    bool fileCountSet = false;
    bool isSelfExe = false;
    bool isNotArchiveType = false;
    uint64_t unpackSize = 0;
    uint64_t dirCount = 0;
    uint64_t fileCount = 0;
    int32_t formatIndex = -1;
    bool sizeUnknown = false;

    // A negative offset is folded into the size.
    void Normalize();
};

// Fills a find from an opened handler of format formatIndex.
HRESULT ReadEmbeddedItemProperties(IInArchive* handler, const CCodecs& codecs, int32_t formatIndex,
                                   CEmbeddedArchiveItem& item);

namespace NArchive
{
namespace NParser
{

class CHandler : public CRefCounted<IInArchive, IInArchiveGetStream>
{
public:
    std::vector<CEmbeddedArchiveItem> items;
    uint64_t maxEnd = 0;
    CInterfaceRef<IInStream> stream;

    void AddGap(uint64_t end);
    void AddItem(const CEmbeddedArchiveItem& item);

    HRESULT STDMETHODCALLTYPE Open(IInStream* stream, const UINT64* maxCheckStartPosition,
                                   IArchiveOpenCallback* callback) override;
    HRESULT STDMETHODCALLTYPE Close() override;
    HRESULT STDMETHODCALLTYPE GetNumberOfItems(UINT32* count) override;
    HRESULT STDMETHODCALLTYPE GetProperty(UINT32 index, PROPID propId, PROPVARIANT* value) override;
    HRESULT STDMETHODCALLTYPE Extract(const UINT32* indices, UINT32 count, INT32 testMode,
                                      IArchiveExtractCallback* extractCallback) override;
    HRESULT STDMETHODCALLTYPE GetArchiveProperty(PROPID propId, PROPVARIANT* value) override;
    HRESULT STDMETHODCALLTYPE GetNumberOfProperties(UINT32* count) override;
    HRESULT STDMETHODCALLTYPE GetPropertyInfo(UINT32 index, BSTR* name, PROPID* propId,
                                              VARTYPE* varType) override;
    HRESULT STDMETHODCALLTYPE GetNumberOfArchiveProperties(UINT32* count) override;
    HRESULT STDMETHODCALLTYPE GetArchivePropertyInfo(UINT32 index, BSTR* name, PROPID* propId,
                                                     VARTYPE* varType) override;
    HRESULT STDMETHODCALLTYPE GetStream(UINT32 index, ISequentialInStream** stream) override;

private:
    HRESULT ExtractItems(const UINT32* indices, UINT32 count, INT32 testMode,
                         IArchiveExtractCallback* extractCallback);
};

} // namespace NParser
} // namespace NArchive

// Progress of a handler opened at an offset, reported in positions of the whole stream.
class CArchiveOpenCallback_Offset
    : public CRefCounted<IArchiveOpenCallback, IArchiveOpenVolumeCallback, ICryptoGetTextPassword>
{
public:
    CInterfaceRef<IArchiveOpenCallback> callback;
    CInterfaceRef<IArchiveOpenVolumeCallback> volumeCallback;
    uint64_t files = 0;
    uint64_t offset = 0;
    CInterfaceRef<ICryptoGetTextPassword> passwordCallback;

    HRESULT STDMETHODCALLTYPE SetTotal(const UINT64* files, const UINT64* bytes) override;
    HRESULT STDMETHODCALLTYPE SetCompleted(const UINT64* files, const UINT64* bytes) override;
    HRESULT STDMETHODCALLTYPE GetProperty(PROPID propId, PROPVARIANT* value) override;
    HRESULT STDMETHODCALLTYPE GetStream(const wchar_t* name, IInStream** stream) override;
    HRESULT STDMETHODCALLTYPE CryptoGetTextPassword(BSTR* password) override;
};

// Lets a handler that must test its items to learn its size report that as open progress.
class CExtractCallback_To_OpenCallback : public CRefCounted<IArchiveExtractCallback, ICompressProgressInfo>
{
public:
    CInterfaceRef<IArchiveOpenCallback> callback;
    uint64_t files = 0;
    uint64_t offset = 0;

    void Init(IArchiveOpenCallback* openCallback) { callback = openCallback; }

    HRESULT STDMETHODCALLTYPE SetTotal(UINT64 total) override;
    HRESULT STDMETHODCALLTYPE SetCompleted(const UINT64* completed) override;
    HRESULT STDMETHODCALLTYPE GetStream(UINT32 index, ISequentialOutStream** outStream,
                                        INT32 askMode) override;
    HRESULT STDMETHODCALLTYPE PrepareOperation(INT32 askMode) override;
    HRESULT STDMETHODCALLTYPE SetOperationResult(INT32 opResult) override;
    HRESULT STDMETHODCALLTYPE ReportSizes(const UINT64* inSize, const UINT64* outSize) override;

protected:
    void* QueryOtherInterface(REFIID iid) override;
};
