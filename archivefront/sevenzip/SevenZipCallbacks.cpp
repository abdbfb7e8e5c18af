#include "archivefront/sevenzip/SevenZipCallbacks.h"

#include "util/Formatting.h"
#include "util/Log.h"
#include "util/PathHelpers.h"
#include "app/ProgressInfo.h"
#include "app/Settings.h"
#include "app/FileTimes.h"
#include "app/dialogs/InputDlgs.h"
#include "app/records/LocalMemory.h"
#include "archiveclient/base/PropValue.h"
#include "archiveclient/update/UpdateArchive.h"
#include "archivefront/dialogs/UnpackConditionDlg.h"
#include "archivefront/sevenzip/ExtractPaths.h"
#include "archivefront/sevenzip/SevenZipTypes.h"
#include "fs/FileSystem.h"
#include "fs/FindEntries.h"
#include "fs/LongPath.h"
#include "res/SevenZipDialogs.h"
#include <cstring>

namespace
{

// Only these attributes of an archive item mean the same on this system; the rest
// are Unix mode bits, the directory bit or flags of other file systems.
const DWORD kExtractableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                     FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

HRESULT MakeBstr(const CString& text, BSTR* out)
{
    *out = SysAllocString(text);
    return *out == nullptr ? E_OUTOFMEMORY : S_OK;
}

CString LongForm(const CString& path)
{
    CString holder;
    return CString(LongPathArg(path, holder));
}

CString TimeText(const FILETIME& time)
{
    CString date, clock;
    FormatFileTimeLocal(time, &date, &clock, TRUE);
    return date + L" " + clock;
}

CString SizeText(ULONGLONG size)
{
    CString text;
    FormatNumberInt(size, text, 0);
    return text.Trim();
}

// What stands at the path, by one look at its attributes: a find would open the
// folder and search it, and search once more under the long form when nothing is
// there. FALSE when nothing is; a look that fails for another reason (a file the
// system holds locked) is answered by the find.
bool LookAt(const CString& path, CFsEntryInfo& entry)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExLong(path, GetFileExInfoStandard, &data))
    {
        entry.Clear();
        entry.Attrib = data.dwFileAttributes;
        entry.CTime = data.ftCreationTime;
        entry.ATime = data.ftLastAccessTime;
        entry.MTime = data.ftLastWriteTime;
        entry.Size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        return true;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return false;
    return entry.FindForPath(path);
}

// A name beside the target that nothing uses yet.
CString PartialNameFor(const CString& target)
{
    for (int i = 0;; i++)
    {
        CString candidate;
        candidate.Format(L"%s.qv%d.part", static_cast<LPCWSTR>(target), i);
        if (FsGetFileAttributes(candidate) == INVALID_FILE_ATTRIBUTES)
            return candidate;
    }
}

} // namespace

// ---- CSevenZipBaseCallback ---------------------------------------------------------

BOOL CSevenZipBaseCallback::IsCancelled() const
{
    return progress != nullptr && progress->IsCancelled();
}

void CSevenZipBaseCallback::SetMainText(LPCWSTR text)
{
    if (progress == nullptr)
        return;
    progress->SetMainText(text);
    progress->Notify(PROGRESS_MAIN_TEXT);
}

void CSevenZipBaseCallback::SetTotal(LONGLONG total)
{
    if (progress == nullptr)
        return;
    progress->totalAmount = total;
    progress->Notify(PROGRESS_TOTAL);
}

void CSevenZipBaseCallback::SetDone(LONGLONG done)
{
    if (progress == nullptr)
        return;
    progress->doneAmount = done;
    progress->Notify(PROGRESS_DONE);
}

HRESULT CSevenZipBaseCallback::AskForPacking(INT32* defined, BSTR* out)
{
    if (out != nullptr)
        *out = nullptr;
    if (refuse)
        return kSevenZipCancel;
    if (!passwordDefined && askAllowed)
    {
        CInputPasswordDlg dialog;
        if (dialog.DoModal() != IDOK)
            return kSevenZipCancel;
        password = dialog.m_password;
        passwordDefined = true;
    }
    if (defined != nullptr)
        *defined = passwordDefined ? 1 : 0;
    return out != nullptr ? MakeBstr(passwordDefined ? password : CString(), out) : S_OK;
}

HRESULT CSevenZipBaseCallback::AskForExtracting(BSTR* out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    passwordRequested = true;
    if (refuse)
        return kSevenZipCancel;
    if (!passwordDefined)
    {
        CInputDlg dialog(progress != nullptr ? progress->ownerWindow : nullptr);
        dialog.m_masked = 1;
        dialog.m_caption = L"展開パスワード";
        if (dialog.DoModal() != IDOK)
            return kSevenZipCancel;
        password = dialog.m_text;
        passwordDefined = true;
    }
    return MakeBstr(password, out);
}

// ---- COutMemStream -------------------------------------------------------------------

COutMemStream::~COutMemStream()
{
    LocalFreeLocked(buffer);
}

BOOL COutMemStream::Reserve(UINT32 index, ULONGLONG size)
{
    itemIndex = index;
    if (buffer == nullptr)
    {
        buffer = static_cast<BYTE*>(
            LocalAllocLocked(LMEM_MOVEABLE | LMEM_ZEROINIT, static_cast<SIZE_T>(size) + 1));
        if (buffer != nullptr)
            capacity = reserved = static_cast<SIZE_T>(size) + 1;
    }
    else if (size + 1 > reserved)
    {
        void* grown = LocalReAllocGrow(buffer, static_cast<SIZE_T>(size) + 1, &capacity);
        if (grown != nullptr)
        {
            buffer = static_cast<BYTE*>(grown);
            reserved = static_cast<SIZE_T>(size) + 1;
        }
    }
    return buffer != nullptr;
}

HRESULT STDMETHODCALLTYPE COutMemStream::Write(const void* data, UINT32 size, UINT32* processed)
{
    if (processed != nullptr)
        *processed = 0;
    if (static_cast<INT32>(size) < 0)
        return E_INVALIDARG;
    ULONGLONG take = size;
    if (limit >= 0 &&
        (written >= static_cast<ULONGLONG>(limit) || written + take > static_cast<ULONGLONG>(limit)))
    {
        take = written < static_cast<ULONGLONG>(limit) ? static_cast<ULONGLONG>(limit) - written : 0;
        limitReached = TRUE;
    }
    SIZE_T needed = static_cast<SIZE_T>(written + take + 1);
    if (buffer == nullptr || needed > capacity)
    {
        void* grown = LocalReAllocGrow(buffer, needed, &capacity);
        if (grown == nullptr)
            return E_OUTOFMEMORY;
        buffer = static_cast<BYTE*>(grown);
    }
    memcpy(buffer + written, data, static_cast<size_t>(take));
    written += take;
    buffer[written] = 0;
    if (processed != nullptr)
        *processed = static_cast<UINT32>(take);
    // Nothing past the limit is wanted: stop the library instead of decoding the rest.
    return limitReached ? E_ABORT : S_OK;
}

void* COutMemStream::DetachBuffer()
{
    void* taken = buffer;
    buffer = nullptr;
    capacity = reserved = 0;
    return taken;
}

// ---- CSevenZipArchiveExtractCallback -----------------------------------------------------

CSevenZipArchiveExtractCallback::~CSevenZipArchiveExtractCallback()
{
    AbandonOpenOutput();
    ReleaseOutput();
    LocalFreeLocked(memoryBuffer);
}

void CSevenZipArchiveExtractCallback::Init(IInArchive* innermost, LPCWSTR outputFolder)
{
    outputOpen = 0;
    failedItems = 0;
    refusedItems = 0;
    archive = innermost;
    outputDirectory = outputFolder != nullptr ? outputFolder : L"";
    if (!outputDirectory.IsEmpty() && outputDirectory[outputDirectory.GetLength() - 1] != L'\\')
        outputDirectory += L'\\';
    flat = 0;
    toMemory = 0;
    memoryLimit = -1;
    memoryBuffer = nullptr;
    memoryStream = nullptr;
    memorySize = 0;
}

void CSevenZipArchiveExtractCallback::ReleaseOutput()
{
    if (fileStream != nullptr)
        fileStream->Release();
    fileStream = nullptr;
    if (memoryStream != nullptr)
        memoryStream->Release();
    memoryStream = nullptr;
}

BOOL CSevenZipArchiveExtractCallback::AbandonOpenOutput()
{
    if (fileStream == nullptr || !outputOpen)
        return FALSE;
    fileStream->Close();
    fileStream->Release();
    fileStream = nullptr;
    outputOpen = 0;
    FsDeleteFile(partialPath);
    return TRUE;
}

HRESULT STDMETHODCALLTYPE CSevenZipArchiveExtractCallback::SetTotal(UINT64 total)
{
    base.SetTotal(static_cast<LONGLONG>(total));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSevenZipArchiveExtractCallback::SetCompleted(const UINT64* completed)
{
    if (base.progress == nullptr)
        return S_OK;
    if (base.IsCancelled())
        return kSevenZipCancel;
    if (completed != nullptr)
        base.SetDone(static_cast<LONGLONG>(*completed));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSevenZipArchiveExtractCallback::PrepareOperation(INT32 askMode)
{
    extracting = askMode == 0;
    return S_OK;
}

HRESULT CSevenZipArchiveExtractCallback::ReadItemProperties(UINT32 index, ULONGLONG& size, bool& sizeKnown)
{
    CPropValue value;
    HRESULT hr = archive->GetProperty(index, 9, &value);
    if (hr != S_OK)
        return hr;
    attributesKnown = value.vt == VT_UI4;
    itemAttributes = attributesKnown ? value.ulVal : 0;
    if (value.vt != VT_EMPTY && value.vt != VT_UI4)
        return E_FAIL;
    value.Clear();
    hr = archive->GetProperty(index, 6, &value);
    if (hr != S_OK)
        return hr;
    if (value.vt != VT_EMPTY && value.vt != VT_BOOL)
        return E_FAIL;
    isDirectory = value.vt == VT_BOOL && value.boolVal != VARIANT_FALSE;
    value.Clear();
    hr = archive->GetProperty(index, 12, &value);
    if (hr != S_OK)
        return hr;
    if (value.vt != VT_EMPTY && value.vt != VT_FILETIME)
        return E_FAIL;
    timeKnown = value.vt == VT_FILETIME;
    if (timeKnown)
        itemTime = value.filetime;
    value.Clear();
    isEncrypted = archive->GetProperty(index, 15, &value) == S_OK && value.vt == VT_BOOL &&
                  value.boolVal != VARIANT_FALSE;
    value.Clear();
    hr = archive->GetProperty(index, 7, &value);
    if (hr != S_OK)
        return hr;
    sizeKnown = true;
    switch (value.vt)
    {
    case VT_UI1:
        size = value.bVal;
        break;
    case VT_UI2:
        size = value.uiVal;
        break;
    case VT_UI4:
        size = value.ulVal;
        break;
    case VT_UI8:
        size = value.uhVal.QuadPart;
        break;
    default:
        size = 0;
        sizeKnown = false;
        break;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSevenZipArchiveExtractCallback::GetStream(UINT32 index,
                                                                     ISequentialOutStream** outStream,
                                                                     INT32 askMode)
{
    if (outStream == nullptr)
        return E_POINTER;
    *outStream = nullptr;
    ReleaseOutput();
    outputOpen = 0;
    outputPath.Empty();
    partialPath.Empty();

    CPropValue value;
    HRESULT hr = archive->GetProperty(index, 3, &value);
    if (hr != S_OK)
        return hr;
    if (value.vt == VT_EMPTY)
        itemPath = MakeSevenZipDefaultItemName(archivePath);
    else if (value.vt == VT_BSTR)
        itemPath = value.bstrVal != nullptr ? value.bstrVal : L"";
    else
        return E_FAIL;
    value.Clear();

    if (askMode != 0)
    {
        if (base.progress != nullptr && archive->GetProperty(index, 9, &value) == S_OK &&
            !(value.vt == VT_UI4 && (value.ulVal & FILE_ATTRIBUTE_DIRECTORY) != 0))
        {
            value.Clear();
            if (archive->GetProperty(index, 7, &value) == S_OK && value.vt == VT_UI8)
                base.SetTotal(base.progress->totalAmount + static_cast<LONGLONG>(value.uhVal.QuadPart));
        }
        return S_OK;
    }

    ULONGLONG size = 0;
    bool sizeKnown = false;
    hr = ReadItemProperties(index, size, sizeKnown);
    if (hr != S_OK)
        return hr;

    if (toMemory)
    {
        base.SetMainText(L"解凍中");
        if (base.progress != nullptr)
        {
            base.progress->SetPhaseText(L"読込中");
            base.progress->Notify(PROGRESS_PHASE_TEXT);
        }
        memoryItemIndex = index;
        memoryStream = new COutMemStream;
        memoryStream->AddRef();
        memoryStream->limit = memoryLimit;
        ULONGLONG reserve = size;
        if (memoryLimit >= 0 && reserve > static_cast<ULONGLONG>(memoryLimit))
            reserve = static_cast<ULONGLONG>(memoryLimit);
        if (!memoryStream->Reserve(index, reserve))
            return E_OUTOFMEMORY;
        memoryStream->AddRef();
        *outStream = memoryStream;
        return S_OK;
    }

    // The whole stored path is cleaned first, as the listing cleans it: the folder a
    // pane shows (basePath) and the name it shows are the cleaned ones.
    CString safe;
    const bool named = MakeSafeRelativePath(itemPath, safe) != FALSE;
    if (named && flat)
        safe = safe.Mid(safe.ReverseFind(L'\\') + 1);
    else if (named && !basePath.IsEmpty() && safe.GetLength() > basePath.GetLength() &&
             safe[basePath.GetLength()] == L'\\' &&
             safe.Left(basePath.GetLength()).CompareNoCase(basePath) == 0)
        safe = safe.Mid(basePath.GetLength() + 1);
    const int lastSlash = named ? safe.ReverseFind(L'\\') : -1;
    // Members come folder by folder: the folder checked and made for the last one
    // needs neither again.
    const CString folder = lastSlash > 0 ? LongForm(outputDirectory + safe.Left(lastSlash)) : CString();
    const bool sameFolder = lastSlash > 0 && folder.CompareNoCase(lastFolder) == 0;
    // With no folder between the destination and the member, or with the folder of
    // the last one, only the member's own place is left to check.
    const bool foldersChecked = lastSlash < 0 || sameFolder;
    bool inside = named && (foldersChecked || PathStaysInside(outputDirectory, safe));
    // A file's place is looked at once: the look tells whether a link stands there,
    // refused like a link on the way, and whether a file is to be replaced.
    CFsEntryInfo existing;
    bool exists = false;
    if (inside && !isDirectory)
    {
        exists = LookAt(LongForm(outputDirectory + safe), existing);
        inside = !exists || (existing.Attrib & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
    }
    else if (inside && foldersChecked)
        inside = !IsLinkAt(outputDirectory + safe);
    if (!inside)
    {
        // A member that would land outside the destination is not written at all.
        refusedItems++;
        failedItems++;
        return S_OK;
    }
    if (lastSlash > 0 && !sameFolder)
    {
        CreateDirectoryPath(folder);
        lastFolder = folder;
    }
    base.SetMainText(L"解凍中");
    outputPath = LongForm(outputDirectory + safe);

    if (isDirectory)
    {
        if (!flat)
            CreateDirectoryPath(outputPath);
        return S_OK;
    }
    hr = OpenFileOutput(size, sizeKnown, exists ? &existing : nullptr);
    if (hr != S_OK)
        return hr == S_FALSE ? S_OK : hr;
    fileStream->AddRef();
    *outStream = fileStream;
    return S_OK;
}

HRESULT CSevenZipArchiveExtractCallback::OpenFileOutput(ULONGLONG size, bool sizeKnown,
                                                        const CFsEntryInfo* existingEntry)
{
    const bool replacing = existingEntry != nullptr;
    if (replacing)
    {
        const CFsEntryInfo& existing = *existingEntry;
        if (existing.IsDir())
            return E_ABORT;
        if (!neverAsk)
        {
            if (!answerGiven || !AnswerHoldsForRest(overwriteAnswer))
            {
                CUnpackConditionDlg dialog(base.progress != nullptr ? base.progress->ownerWindow : nullptr);
                dialog.m_sameForAll = !answerGiven || AnswerHoldsForRest(overwriteAnswer) ? 1 : 0;
                dialog.m_choice = choice;
                if (timeKnown)
                    dialog.m_memberTime = TimeText(itemTime);
                if (sizeKnown)
                    dialog.m_memberSize = SizeText(size);
                dialog.m_memberPath = itemPath;
                dialog.m_existingTime = TimeText(existing.MTime);
                dialog.m_existingSize = SizeText(existing.Size);
                dialog.m_targetPath = outputPath;
                if (dialog.DoModal() != IDOK)
                    return kSevenZipCancel;
                overwriteAnswer = AnswerWithScope(true, dialog.m_sameForAll != 0);
                choice = dialog.m_choice;
                answerGiven = true;
            }
            if (timeKnown && (choice == IDC_UNPACK_NEWER || choice == IDC_UNPACK_OLDER))
            {
                int order = CompareFileTimes(existing.MTime, itemTime, g_UNPACK_FILE_TIME_USED_RANGE != 0);
                if (choice == IDC_UNPACK_NEWER && order != 1)
                    return S_FALSE;
                if (choice == IDC_UNPACK_OLDER && order != -1)
                    return S_FALSE;
            }
            if (choice == IDC_UNPACK_SKIP)
                return S_FALSE;
        }
    }
    // Over an existing file the data goes to a name beside it and replaces it only
    // when the item ended well: a wrong password, a damaged item or a cancel keeps
    // the old file. A new file is written in place and removed when the item fails.
    partialPath = replacing ? PartialNameFor(outputPath) : outputPath;
    fileStream = new COutFileStream;
    fileStream->AddRef();
    if (!fileStream->OpenForWrite(partialPath, replacing ? CREATE_ALWAYS : CREATE_NEW))
    {
        fileStream->Release();
        fileStream = nullptr;
        return E_ABORT;
    }
    outputOpen = 1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSevenZipArchiveExtractCallback::SetOperationResult(INT32 result)
{
    outputOpen = 0;
    HRESULT answer = S_OK;
    if (result != 0)
    {
        failedItems++;
        // Some formats cannot tell a wrong key from damage: bad data or a bad
        // checksum of an encrypted item, or after the library asked for the key (a
        // solid block can fail before its first item is opened), is taken as a wrong
        // password.
        const bool wrongKey =
            result == 9 || ((isEncrypted || base.passwordRequested) && (result == 2 || result == 3));
        answer = wrongKey ? kSevenZipWrongPassword : E_FAIL;
    }
    if (memoryStream != nullptr)
    {
        memoryTruncated = memoryTruncated || memoryStream->limitReached;
        LocalFreeLocked(memoryBuffer);
        memorySize = memoryStream->written;
        memoryBuffer = memoryStream->DetachBuffer();
    }
    if (fileStream != nullptr)
    {
        // The item's time, and for an item extracted well its attributes, go onto
        // the open file rather than onto its name after it is closed.
        DWORD attributes = 0;
        if (result == 0 && extracting && attributesKnown)
        {
            attributes = itemAttributes & kExtractableAttributes;
            if (attributes == 0)
                attributes = FILE_ATTRIBUTE_NORMAL;
        }
        if (timeKnown || attributes != 0)
            fileStream->SetModifiedTimeAndAttributes(timeKnown ? &itemTime : nullptr, attributes);
        HRESULT closed = fileStream->Close();
        fileStream->Release();
        fileStream = nullptr;
        if (closed != S_OK || result != 0)
        {
            FsDeleteFile(partialPath);
            return closed != S_OK ? closed : answer;
        }
        if (partialPath.CompareNoCase(outputPath) != 0 &&
            !ReplaceFileInOneStep(UString(partialPath), UString(outputPath)))
        {
            FsDeleteFile(partialPath);
            failedItems++;
            return E_ABORT;
        }
    }
    ReleaseOutput();
    return answer;
}

// ---- CSevenZipUpdateCallback -------------------------------------------------------

HRESULT CSevenZipUpdateCallback::SetTotalSize(uint64_t total)
{
    base.SetTotal(static_cast<LONGLONG>(total));
    return S_OK;
}

HRESULT CSevenZipUpdateCallback::SetCompletedSize(const uint64_t* completed)
{
    if (base.IsCancelled())
        return kSevenZipCancel;
    if (completed != nullptr)
        base.SetDone(static_cast<LONGLONG>(*completed));
    return S_OK;
}

HRESULT CSevenZipUpdateCallback::BeginUpdateItem(const wchar_t* name, bool, int32_t, uint32_t)
{
    base.SetMainText(name != nullptr ? name : L"");
    return S_OK;
}

HRESULT CSevenZipUpdateCallback::ReportDroppedItem(const wchar_t* name, bool)
{
    if (base.progress == nullptr)
        return S_OK;
    CString text(name != nullptr ? name : L"");
    text.Replace(L'/', L'\\');
    CString prefix = base.progress->GetBaseFolder();
    if (!prefix.IsEmpty() && prefix.GetLength() < text.GetLength() && text[prefix.GetLength()] == L'\\' &&
        text.Left(prefix.GetLength()).CompareNoCase(prefix) == 0)
        text = text.Mid(prefix.GetLength() + 1);
    base.SetMainText(text);
    return S_OK;
}

HRESULT CSevenZipUpdateCallback::ScanProgress(const CDiskScanStats&, const UString&, bool)
{
    if (base.IsCancelled())
        return kSevenZipCancel;
    base.SetMainText(L"*****スキャン中*****");
    return S_OK;
}

HRESULT CSevenZipUpdateCallback::ReportOpenFileFailure(const wchar_t* path, DWORD systemError)
{
    return NoteLeftOut(path, systemError, S_FALSE);
}

HRESULT CSevenZipUpdateCallback::ReportReadFailure(const wchar_t* path, DWORD systemError)
{
    return NoteLeftOut(path, systemError, S_FALSE);
}

HRESULT CSevenZipUpdateCallback::ScanError(const UString& path, uint32_t systemError)
{
    return NoteLeftOut(path.Chars(), systemError, S_OK);
}

HRESULT CSevenZipUpdateCallback::NoteLeftOut(const wchar_t* path, DWORD systemError, HRESULT answer)
{
    CSectionLock lock(m_leftOutLock);
    if (m_leftOut.IsEmpty())
        m_firstLeftOutError = systemError;
    m_leftOut.Add(CString(path != nullptr ? path : L""));
    WriteLog(nullptr, L"圧縮できませんでした(Error=0x%x) %s", static_cast<unsigned>(systemError),
             path != nullptr ? path : L"");
    return base.IsCancelled() ? kSevenZipCancel : answer;
}

INT_PTR CSevenZipUpdateCallback::LeftOutCount() const
{
    CSectionLock lock(m_leftOutLock);
    return m_leftOut.GetSize();
}

DWORD CSevenZipUpdateCallback::FirstLeftOutError() const
{
    CSectionLock lock(m_leftOutLock);
    return m_firstLeftOutError;
}

CString CSevenZipUpdateCallback::DescribeLeftOut(const CString& root) const
{
    // A message box has room for a few names; the log holds them all.
    const INT_PTR kNamesShown = 10;
    CSectionLock lock(m_leftOutLock);
    CString prefix = root;
    if (!prefix.IsEmpty() && prefix[prefix.GetLength() - 1] != L'\\')
        prefix += L'\\';
    CString text;
    text.Format(L"圧縮できなかったファイル: %d件", static_cast<int>(m_leftOut.GetSize()));
    for (INT_PTR i = 0; i < m_leftOut.GetSize() && i < kNamesShown; ++i)
    {
        CString name = m_leftOut[i];
        if (!prefix.IsEmpty() && name.GetLength() > prefix.GetLength() &&
            name.Left(prefix.GetLength()).CompareNoCase(prefix) == 0)
            name = name.Mid(prefix.GetLength());
        else if (name.Left(4) == L"\\\\?\\")
            name = name.Mid(4);
        // A folder whose listing failed comes with its closing backslash.
        if (name.GetLength() > 1 && name[name.GetLength() - 1] == L'\\')
            name = name.Left(name.GetLength() - 1);
        text += L"\n" + name;
    }
    if (m_leftOut.GetSize() > kNamesShown)
    {
        CString rest;
        rest.Format(L"\nほか%d件(すべてログに記録しました)",
                    static_cast<int>(m_leftOut.GetSize() - kNamesShown));
        text += rest;
    }
    return text;
}
