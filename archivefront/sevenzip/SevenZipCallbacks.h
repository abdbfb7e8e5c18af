// The program's side of an archive job through the archive library: the open, extract
// and update callbacks and the memory stream of a member read into memory. Progress
// goes to the job's CProgressInfo, its cancel flag goes back to the library as
// kSevenZipCancel, a password is asked at most once per job, and an existing file
// meets the unpack condition question.
#pragma once
#include <windows.h>
#include "archiveclient/base/FileStreams.h"
#include "archiveclient/base/RefCounting.h"
#include "archiveclient/ops/OpenCallback.h"
#include "archiveclient/update/UpdateCallbackUI.h"
#include "app/EngineAnswer.h"
#include "framework/FwCollections.h"
#include "framework/FwLock.h"
#include "framework/FwString.h"
#include "res/SevenZipDialogs.h"

struct CFsEntryInfo;
class CProgressInfo;

// The result by which the callbacks tell the library that the user cancelled or
// refused a password; and the result of an extraction that met a wrong password.
const HRESULT kSevenZipCancel = static_cast<HRESULT>(0x80090036);
const HRESULT kSevenZipWrongPassword = 1323;

// The password state and the progress record that every callback embeds.
class CSevenZipBaseCallback
{
public:
    // Packing: asks (CInputPasswordDlg) when allowed and none is known yet; returns
    // whether one is defined and a new BSTR of it.
    HRESULT AskForPacking(INT32* defined, BSTR* password);
    // Extracting: asks (CInputDlg, masked, "展開パスワード") when none is known yet;
    // a new BSTR of the password.
    HRESULT AskForExtracting(BSTR* password);
    BOOL IsCancelled() const;
    // Stores the texts and counters and notifies, when there is a record.
    void SetMainText(LPCWSTR text);
    void SetTotal(LONGLONG total);
    void SetDone(LONGLONG done);

    bool passwordDefined = false;
    bool askAllowed = false;
    CString password;
    CProgressInfo* progress = nullptr;
    int refuse = 0;
    // The library asked for the extraction password during this job.
    bool passwordRequested = false;
};

class CSevenZipOpenCallback : public IOpenCallbackUI
{
public:
    virtual ~CSevenZipOpenCallback() = default;
    HRESULT OnCheckBreak() override { return S_OK; }
    HRESULT OnTotal(const UINT64*, const UINT64*) override { return S_OK; }
    HRESULT OnCompleted(const UINT64*, const UINT64*) override { return S_OK; }
    HRESULT OnFinished() override { return S_OK; }
    HRESULT OnPasswordRequest(BSTR* password) override { return base.AskForExtracting(password); }

    CSevenZipBaseCallback base;
};

// A growing block of movable local memory that takes one member's bytes, at most
// `limit` of them (negative: all); bytes past the limit are dropped and the write
// that reaches it stops the library.
class COutMemStream : public CRefCounted<ISequentialOutStream>
{
public:
    ~COutMemStream() override;
    HRESULT STDMETHODCALLTYPE Write(const void* data, UINT32 size, UINT32* processed) override;
    // The first call allocates size + 1 zeroed bytes; later ones grow the block when
    // the size is larger. Whether a buffer exists.
    BOOL Reserve(UINT32 itemIndex, ULONGLONG size);
    // Hands the buffer to the caller, who frees it with LocalFreeLocked.
    void* DetachBuffer();

    UINT32 itemIndex = 0;
    SIZE_T capacity = 0;
    SIZE_T reserved = 0;
    BYTE* buffer = nullptr;
    ULONGLONG written = 0;
    LONGLONG limit = -1;
    BOOL limitReached = FALSE;
};

class CSevenZipArchiveExtractCallback : public CRefCounted<IArchiveExtractCallback, ICryptoGetTextPassword>
{
public:
    ~CSevenZipArchiveExtractCallback() override;

    // Before an extraction: the innermost archive and the destination folder.
    void Init(IInArchive* innermost, LPCWSTR outputFolder);

    HRESULT STDMETHODCALLTYPE SetTotal(UINT64 total) override;
    HRESULT STDMETHODCALLTYPE SetCompleted(const UINT64* completed) override;
    HRESULT STDMETHODCALLTYPE GetStream(UINT32 index, ISequentialOutStream** outStream,
                                        INT32 askMode) override;
    HRESULT STDMETHODCALLTYPE PrepareOperation(INT32 askMode) override;
    HRESULT STDMETHODCALLTYPE SetOperationResult(INT32 result) override;
    HRESULT STDMETHODCALLTYPE CryptoGetTextPassword(BSTR* password) override
    {
        return base.AskForExtracting(password);
    }

    // After an extraction that ended early: closes the file being written and
    // deletes it (the file it was to replace stays). Whether there was one.
    BOOL AbandonOpenOutput();

    CSevenZipBaseCallback base;
    int flat = 0;
    int toMemory = 0;
    CString outputPath;  // the file the current item ends up as
    CString partialPath; // the file being written, renamed to outputPath when good
    CString lastFolder;  // the folder made for the last item
    int outputOpen = 0;
    CString basePath;
    CString archivePath;
    int neverAsk = 0;
    IInArchive* archive = nullptr;
    CString outputDirectory;
    CString itemPath;
    bool extracting = false;
    // The overwrite question: whether it was asked in this extraction, the answer's
    // scope (ANSWER_SAME_FOR_REST: the choice holds for every later file) and the
    // choice (the radio of the condition dialog).
    bool answerGiven = false;
    EngineAnswer overwriteAnswer = ANSWER_GO_ON;
    int choice = IDC_UNPACK_OVERWRITE;
    FILETIME itemTime = {};
    DWORD itemAttributes = 0;
    bool isDirectory = false;
    bool attributesKnown = false;
    bool timeKnown = false;
    bool isEncrypted = false;
    UINT32 memoryItemIndex = 0;
    COutMemStream* memoryStream = nullptr;
    COutFileStream* fileStream = nullptr;
    ULONGLONG failedItems = 0;
    // Members whose path would leave the destination; they count as failed too.
    ULONGLONG refusedItems = 0;
    LONGLONG memoryLimit = -1;
    void* memoryBuffer = nullptr;
    ULONGLONG memorySize = 0;
    // The member was cut at memoryLimit; the library was stopped on purpose.
    bool memoryTruncated = false;

private:
    HRESULT ReadItemProperties(UINT32 index, ULONGLONG& size, bool& sizeKnown);
    // `existing`: what stands at outputPath already, null when nothing does.
    HRESULT OpenFileOutput(ULONGLONG size, bool sizeKnown, const CFsEntryInfo* existing);
    void ReleaseOutput();
};

// The pack job's view of the update driver: progress and cancel through the record,
// passwords through the base, the names of the items as they are written.
class CSevenZipUpdateCallback : public IUpdateCallbackUI2
{
public:
    virtual ~CSevenZipUpdateCallback() = default;
    HRESULT WriteSfxModule() override { return S_OK; }
    HRESULT SetTotalSize(uint64_t total) override;
    HRESULT SetCompletedSize(const uint64_t* completed) override;
    HRESULT SetSizeRatio(const uint64_t*, const uint64_t*) override { return PollCancel(); }
    HRESULT PollCancel() override { return base.IsCancelled() ? kSevenZipCancel : S_OK; }
    HRESULT SetUpdateItemCount(uint64_t) override { return S_OK; }
    HRESULT BeginUpdateItem(const wchar_t* name, bool isDir, int32_t anti, uint32_t mode) override;
    // A file that cannot be opened (another program holds it), or whose read meets
    // another program's lock, is answered so that the job goes on with the rest; it is
    // noted as left out and written to the log.
    HRESULT ReportOpenFileFailure(const wchar_t* path, DWORD systemError) override;
    HRESULT ReportReadFailure(const wchar_t* path, DWORD systemError) override;
    HRESULT SetUpdateItemResult(int32_t) override { return S_OK; }
    HRESULT ReportItemCheckResult(int32_t, bool, const wchar_t*) override { return S_OK; }
    HRESULT ReportUpdateStep(uint32_t, const wchar_t*, bool) override { return S_OK; }
    HRESULT GetPackPassword(INT32* defined, BSTR* password) override
    {
        return base.AskForPacking(defined, password);
    }
    HRESULT GetPassword(BSTR* password) override { return base.AskForExtracting(password); }
    HRESULT ReportDroppedItem(const wchar_t* name, bool isDir) override;
    HRESULT ReportOpenResult(const CCodecs&, const CArchiveChain&, const wchar_t*, HRESULT result) override
    {
        return result;
    }
    HRESULT BeginDiskScan() override { return PollCancel(); }
    HRESULT EndDiskScan(const CDiskScanStats&) override { return S_OK; }
    HRESULT BeginOpenArchive(const wchar_t*) override { return S_OK; }
    HRESULT BeginArchive(const wchar_t*, bool) override { return S_OK; }
    HRESULT EndArchive(const CUpdateRunStats&) override { return S_OK; }
    HRESULT ReportSourceDeleted(const wchar_t*) override { return S_OK; }
    HRESULT EndSourceDeletion() override { return S_OK; }

    // A file or folder the scan cannot find or list: the scan goes on without it,
    // and it is noted as left out and written to the log.
    HRESULT ScanError(const UString& path, uint32_t systemError) override;
    HRESULT ScanProgress(const CDiskScanStats&, const UString&, bool) override;

    // How many files and folders the job left out, and the system error of the first.
    INT_PTR LeftOutCount() const;
    DWORD FirstLeftOutError() const;
    // The text the user is shown: the count and the first few names, relative to
    // `root` where they lie below it (the log has every one).
    CString DescribeLeftOut(const CString& root) const;

    CSevenZipBaseCallback base;

private:
    HRESULT NoteLeftOut(const wchar_t* path, DWORD systemError, HRESULT answer);

    // The library may ask from its own threads.
    mutable CCriticalSection m_leftOutLock;
    CStringArray m_leftOut;
    DWORD m_firstLeftOutError = 0;
};
