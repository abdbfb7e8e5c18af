// Creates an archive, or rewrites an existing one with entries added, replaced,
// deleted or renamed, through the archive library: settles the format from the file
// name, opens the old archive, scans the files to pack, pairs both into update steps
// and lets the library write into a temporary file beside the old archive, straight
// into a new file, or into numbered volumes. The old archive is replaced only when the
// new one is complete; any failure or cancel leaves it exactly as it was.
#pragma once
#include "archiveclient/codecs/Codecs.h"
#include "archiveclient/codecs/OpenHandler.h"
#include "archiveclient/ops/OpenCallback.h"
#include "archiveclient/update/TempFileList.h"
#include "archiveclient/update/UpdateCallbackUI.h"
#include "archiveclient/update/UpdatePairs.h"
#include <string>
#include <vector>

class CArchiveLevel;

struct CArchiveNameParts
{
    UString OriginalPath;
    UString Prefix;
    UString Name;
    UString BaseExtension;
    UString VolumeExtension;
    bool Temporary = false;
    UString TempPrefix;
    UString TempSuffix;

    // "x" keeps the base extension ("x.7z"); "x." loses its dot and gets none; "x.7Z"
    // takes the spelling of the name; "x.zip" with another base extension stays whole.
    void ParseFromPath(const UString& path);
    UString FinalPath() const;
    UString VolumeBase() const;
    UString TempPath() const;
};

struct CUpdateCommand
{
    UString UserArchivePath;
    CArchiveNameParts ArchiveName;
    CUpdateActionTable Actions = kAddActionTable;
};

// One stored item a job acts on: its index in the opened archive and the path the
// archive gives it. The path is checked before anything is written, so that an
// archive changed since it was listed is never updated by an index that now names
// another item.
struct CChosenItem
{
    uint32_t Index = 0;
    UString Path;
};

// Returned, before any file is written, when a chosen item or an item a rename rule
// names is not in the archive (any more), or when the rename rules rename nothing.
const HRESULT kChosenItemMissing = static_cast<HRESULT>(0x80045104);

struct CUpdateJobOptions
{
    bool TypeChosen = false;
    CArchiveTypeChoice Type;
    COwnedPtrVector<CHandlerProperty> HandlerProperties;
    std::vector<CUpdateCommand> Commands;
    bool UpdateInPlace = true;
    CArchiveNameParts ArchiveName;
    int PathMode = kPathModeGivenPrefix;
    std::vector<CRenameRule> RenameRules;
    std::vector<uint64_t> VolumeSizes;
    // Set: the items of ChosenItems are the selected ones (a delete drops exactly them)
    // in place of those the filter matches, which would take every item whose path
    // equals a pattern ignoring case.
    bool SelectChosenItems = false;
    std::vector<CChosenItem> ChosenItems;

    bool ChooseFormat(const CCodecs& codecs, const CValueVector<CArchiveTypeChoice>& types,
                      const UString& archivePath);
    bool SetArchiveName(const CCodecs& codecs, const UString& archivePath);
};

struct CUpdateErrorRecord
{
    DWORD SystemError = 0;
    std::string Message;
    std::vector<UString> FileNames;

    HRESULT Status() const { return SystemError == 0 ? E_FAIL : ResultFromSystemError(SystemError); }
    HRESULT SetFromLastError(const char* message, const UString* path);
};

// Raised, besides status codes: the narrow texts below, kOutputPrefixError, and the
// pairing texts of UpdatePairs.h.
extern const char* const kNoSuchArchiveText;
extern const char* const kCannotFindArchiveText;
extern const char* const kUpdateNotSupportedText;
const int kOutputPrefixError = 1417161;

HRESULT UpdateArchiveFile(CCodecs& codecs, const CValueVector<CArchiveTypeChoice>& types,
                          const UString& archivePath, CPathFilter& filter, CUpdateJobOptions& options,
                          CUpdateErrorRecord& error, IOpenCallbackUI* openCallback,
                          IUpdateCallbackUI2* callback, bool setPath);

// Gives the plain names of the filter the spelling the file system uses.
void CorrectFilterNameCase(CPathFilter& filter);
// Puts source in the place of target in one step: target disappears only when source
// has its name. A read-only target is made writable first and stays read-only when the
// move fails.
bool ReplaceFileInOneStep(const UString& source, const UString& target);
