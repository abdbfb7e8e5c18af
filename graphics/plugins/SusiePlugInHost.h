// One user's way to the image and archive plug-ins: it chooses a plug-in for a file,
// keeps that one loaded for the following calls on the same file, reads pictures
// through it, and lists and extracts archives through an archive plug-in.
#pragma once
#include <windows.h>
#include "app/records/ArchiveFileInfo.h"
#include "framework/FwString.h"

class CPictureData;
class CProgressInfo;
class CWnd;

// What an image plug-in tells of a picture without reading it; the plug-ins write it
// packed, as their C interface lays it out.
#pragma pack(push, 1)
struct SusiePictureInfo
{
    LONG left;
    LONG top;
    LONG width;
    LONG height;
    WORD xDensity;
    WORD yDensity;
    SHORT colorDepth;
    HLOCAL textInfo; // the plug-in's block of text, freed by the receiver
};
#pragma pack(pop)

class CSusiePlugInHost
{
public:
    CSusiePlugInHost();
    ~CSusiePlugInHost();
    CSusiePlugInHost(const CSusiePlugInHost&) = delete;
    CSusiePlugInHost& operator=(const CSusiePlugInHost&) = delete;

    // The index of the plug-in that takes the file (kind flags: 1 archive, 2 image),
    // loaded and kept; -1 with code 15 when none does. A null or empty path reloads
    // the plug-in chosen last.
    int LoadPlugInForFile(LPCWSTR path, int kindFlags, int startIndex, int probe);
    // The same for bytes already in memory (the first bytes of the data).
    int LoadPlugInForBuffer(LPCWSTR name, const BYTE* bytes, DWORD count, int kindFlags, int startIndex);

    // Picture calls: 0 read, the plug-in's code, -1 without the export, 8 for no
    // plug-in or a fault. The picture is empty on failure.
    int GetPictureInfo(LPCWSTR path, SusiePictureInfo* info);
    int GetPicture(LPCWSTR path, CPictureData& picture, CProgressInfo* progress);
    int GetPictureFromMemory(LPCWSTR name, const void* data, SIZE_T size, CPictureData& picture,
                             CProgressInfo* progress);
    int GetPictureViaMemory(LPCWSTR path, CPictureData& picture, CProgressInfo* progress);
    int GetPreview(LPCWSTR path, CPictureData& picture, CProgressInfo* progress);

    // Archive calls: 1 done, 0 with the errors set.
    int ListArchive(LPCWSTR path);
    int GetArchiveInfo(LPCWSTR path);
    // One member into a locked moveable block the caller frees with LocalFreeLocked;
    // the size out is never more than the block holds.
    int ExtractToMemory(LPCWSTR archive, LPCWSTR folder, LPCWSTR name, void** buffer, LONGLONG* size,
                        CProgressInfo* progress);
    // The same from the archive image given by SetArchiveImage (the plug-in reads the
    // member out of memory); without an image, from the archive file. The image holds
    // the archive from byte `imageStart` on (0: the whole archive).
    int ExtractFromImageToMemory(LPCWSTR archive, LPCWSTR folder, LPCWSTR name, void** buffer, LONGLONG* size,
                                 CProgressInfo* progress);
    void SetArchiveImage(const void* image, SIZE_T size, ULONGLONG imageStart = 0);
    // One member of the listing of the archive listed last, read at its own position
    // (from the image when `fromImage` and an image is set): the plug-in takes the
    // member's position, never its name, so members that share a name are each read
    // as themselves.
    int ExtractMemberToMemory(const CArchiveFileInfo& member, void** buffer, LONGLONG* size,
                              CProgressInfo* progress, int fromImage);
    // Writes the selection (or the whole listing) below the destination.
    int Extract(CWnd* owner, CProgressInfo* progress);

    // 0 free text, 1 extraction archive, 2 a member (a CArchiveFileInfo* in the text's
    // place), 5 destination, 6 flat extraction; other numbers are ignored.
    void SetOption(int number, LPCWSTR text);
    void ClearOptions();
    int HasSelection() const { return m_selection.GetSize() > 0 ? 1 : 0; }
    CString GetPlugInName() const;
    void DisableReaderLock() { m_noReaderLock = 1; }
    // Frees the DLL only; the next call chooses or reloads it.
    void UnloadLibrary() { FreePlugIn(); }
    void Close();

    int GetHeaderOffset() const { return m_headerOffset; }
    HMODULE GetModule() const { return m_module; }

    CArrayArchiveFileInfo m_listing;
    WIN32_FIND_DATAW m_archiveFindData;
    CErrorIF m_errors;
    CString m_archivePath;

private:
    void FreePlugIn();
    void TakeReaderLock();
    void GiveBackReaderLock();
    int EnsureArchivePlugIn(LPCWSTR path);
    int ExtractEntryToMemory(LPCWSTR archive, LPCWSTR folder, LPCWSTR name, void** buffer, LONGLONG* size,
                             CProgressInfo* progress, int fromImage);
    int ReadEntryToMemory(const CString& path, const CArchiveFileInfo& entry, void** buffer, LONGLONG* size,
                          CProgressInfo* progress, int fromImage);
    int CallGetFile(LPCSTR narrowSource, LPCWSTR wideSource, LONG_PTR position, unsigned flag, HLOCAL* block,
                    CProgressInfo* progress);
    // 1 written, 0 failed, -1 refused because its path leads out of the destination.
    int WriteEntry(const CArchiveFileInfo& entry, CProgressInfo* progress);

    CArray<CArchiveFileInfo*> m_selection;
    CString m_plugInPath;
    int m_plugInIndex = -1;
    HMODULE m_module = nullptr;
    int m_headerOffset = 0;
    int m_flatExtraction = 0;
    int m_noReaderLock = 0;
    int m_readerLockHeld = 0;
    CString m_option0;
    CString m_extractionArchive;
    CString m_destination;
    const void* m_image = nullptr;
    SIZE_T m_imageSize = 0;
    ULONGLONG m_imageStart = 0;
};
