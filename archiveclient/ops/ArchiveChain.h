// An archive file opened into a chain of nested levels (a tar inside a gzip opens as
// two), each level's access to item paths, sizes and times, the parsing of archive
// type lists, and the name given to an item that has no path of its own.
#pragma once
#include "archiveclient/base/PathFilter.h"
#include "archiveclient/codecs/OpenHandler.h"
#include "archiveclient/ops/OpenCallback.h"

// One item as the update driver reads it.
struct CArchiveItemRecord
{
    UString path;
    CPathParts pathParts;
    UString mainPath;
    UString altStreamName;
    bool isAltStream = false;
    bool writeToAltStreamIfColon = false; // input
    bool isDir = false;
    bool mainIsDir = false;
    uint32_t parentIndex = 0xFFFFFFFF;
    bool useBaseParentFolder = false; // input
    int32_t baseParentFolder = -1;    // input
};

// One opened archive of the chain.
class CArchiveLevel
{
public:
    CArchiveLevel() = default;
    CArchiveLevel(const CArchiveLevel&) = delete;
    CArchiveLevel& operator=(const CArchiveLevel&) = delete;
    ~CArchiveLevel();

    CInterfaceRef<IInArchive> handler;
    CInterfaceRef<IInStream> stream;
    CInterfaceRef<IArchiveGetRawProps> rawProps;
    CInterfaceRef<IArchiveGetRootProps> rootProps;
    CArchiveErrorInfo errorInfo;
    CArchiveErrorInfo failedOpenInfo;
    UString path;
    UString filePath;
    UString defaultItemName;
    int32_t formatIndex = -1;
    int32_t subfileIndex = -1;
    FILETIME modified = {};
    bool modifiedSet = false;
    int64_t offset = 0;
    uint64_t physicalSize = 0;
    bool physicalSizeSet = false;
    uint64_t fileSize = 0;
    uint64_t availableSize = 0;
    uint64_t streamOffset = 0;
    bool isEmbeddedList = false;
    bool isTree = false;
    bool isReadOnly = false;
    bool asksDeleted = false;
    bool asksAltStream = false;
    bool asksAux = false;
    bool asksINode = false;
    bool ignoreSplit = false;

    HRESULT OpenFromFile(CArchiveOpenRequest& request);
    HRESULT Open(CArchiveOpenRequest& request);
    HRESULT ReadOpenProperties(IInArchive* openedHandler, uint64_t startPosition, HRESULT openResult);
    HRESULT CheckZeroTail(const CArchiveOpenRequest& request, uint64_t position);

    HRESULT GetItemPath(uint32_t index, UString& itemPath) const;
    HRESULT GetDefaultItemPath(uint32_t index, UString& itemPath) const;
    HRESULT GetItemPathMarked(uint32_t index, UString& itemPath) const;
    HRESULT GetItemSize(uint32_t index, uint64_t& size, bool& sizeSet) const;
    HRESULT GetItemModified(uint32_t index, FILETIME& time, bool& timeSet) const;
    HRESULT GetItemPathParts(uint32_t index, uint32_t parent, CPathParts& parts) const;
    HRESULT ReadItem(uint32_t index, CArchiveItemRecord& record) const;
};

class CArchiveChain
{
public:
    CArchiveChain() = default;
    CArchiveChain(const CArchiveChain&) = delete;
    CArchiveChain& operator=(const CArchiveChain&) = delete;
    ~CArchiveChain();

    COwnedPtrVector<CArchiveLevel> levels;
    COwnedPtrVector<UString> volumePaths;
    uint64_t volumesSize = 0;
    bool isOpen = false;
    bool passwordAsked = false;
    UString failedPath;
    CArchiveErrorInfo failedOpenInfo;

    HRESULT Open(CArchiveOpenRequest& request);
    HRESULT CloseHandlers();
    CArchiveLevel& Innermost() { return levels.Back(); }
    const CArchiveLevel& Innermost() const { return levels.Back(); }
};

// The nesting never goes deeper than this.
const uint32_t kMaxArchiveLevels = 32;

// 0 opened, 1 not an archive, other failures as they come; throws
// kFirstVolumeMissingError when the archive file cannot be found. openUi may be null.
HRESULT OpenArchiveChain(CArchiveChain& chain, CArchiveOpenRequest& request, IOpenCallbackUI* openUi);
HRESULT OpenArchiveChainAndFinish(CArchiveChain& chain, CArchiveOpenRequest& request,
                                  IOpenCallbackUI* openUi);
void CloseArchiveChain(CArchiveChain& chain);

// "type[:option]..." parts joined by '.'; an empty text gives an empty list.
bool ParseArchiveTypeList(const CCodecs& codecs, const UString& text, CValueVector<CArchiveTypeChoice>& list);
bool ParseArchiveType(const CCodecs& codecs, const UString& text, CArchiveTypeChoice& choice);
bool ParseArchiveTypeOption(const UString& text, CArchiveTypeChoice& choice);
bool ParseSizeWithSuffix(const UString& text, uint64_t& value);

UString MakeDefaultItemName(const UString& fileName, const UString& extension, const UString& addedExtension);
UString MakeDefaultItemNameTrimmed(const UString& fileName, const UString& extension,
                                   const UString& addedExtension);
