#include "archivefront/sevenzip/SevenZipArchive.h"

#include "app/Directories.h"
#include "util/PathHelpers.h"
#include "app/records/LocalMemory.h"
#include "archiveclient/base/PropValue.h"
#include "archiveclient/ops/ArchiveChain.h"
#include "archiveclient/update/UpdateArchive.h"
#include "archivefront/dialogs/PackProgressDlg.h"
#include "archivefront/sevenzip/ExtractPaths.h"
#include "archivefront/sevenzip/SevenZipCallbacks.h"
#include "archivefront/sevenzip/SevenZipTypes.h"
#include <algorithm>
#include <vector>

namespace
{

// The codes each failure adds to the error list.
enum
{
    CODE_NO_LIBRARY = 1,
    CODE_NO_FILE = 3,
    CODE_NO_ENTRY = 4,
    CODE_NO_CHAIN = 6,
    CODE_EXTRACT_FAILED = 7,
    CODE_CANNOT_OPEN = 12,
    CODE_CANCELLED = 21,
    CODE_PACK_FAILED = 22,
    CODE_NO_DESTINATION = 23,
    CODE_FILES_LEFT_OUT = 33,
    CODE_WRONG_PASSWORD = 34,
    CODE_NOT_IMPLEMENTED = 37,
    CODE_UPDATE_FAILED = 38,
    CODE_NO_BASE_FOLDER = 39,
};

const int kUnexpectedPropertyType = 150245;

CString LongForm(LPCWSTR path)
{
    CString holder;
    return CString(LongPathArg(path, holder));
}

ULONGLONG EntrySize(const CArchiveFileInfo& entry)
{
    return (static_cast<ULONGLONG>(entry.m_findData.nFileSizeHigh) << 32) | entry.m_findData.nFileSizeLow;
}

// The table of one job: one action per pairing state, in state order.
CUpdateActionTable ActionTable(int kind)
{
    static const int32_t kCreate[] = {Keep, Keep, Pack, Pack, Pack, Pack, Pack};
    static const int32_t kRename[] = {Keep, Keep, Pack, Keep, Pack, Keep, Pack};
    static const int32_t kDelete[] = {Keep, Drop, Drop, Drop, Drop, Drop, Drop};
    const int32_t* row = kind == SEVENZIP_JOB_CREATE   ? kCreate
                         : kind == SEVENZIP_JOB_RENAME ? kRename
                                                       : kDelete;
    CUpdateActionTable table;
    for (int i = 0; i < kPairStateCount; i++)
        table.Actions[i] = row[i];
    return table;
}

} // namespace

CSevenZipArchive::CSevenZipArchive()
{
    ZeroMemory(&m_archiveFindData, sizeof(m_archiveFindData));
}

CSevenZipArchive::~CSevenZipArchive()
{
    Close();
}

void CSevenZipArchive::Close()
{
    UnloadLibrary();
    m_listing.RemoveAll();
    if (m_keepPasswordOnce)
        m_keepPasswordOnce = 0;
    else
        m_passwordKnown = 0;
}

void CSevenZipArchive::UnloadLibrary()
{
    m_library.UnloadLibrary();
}

int CSevenZipArchive::LoadLibrary()
{
    return m_library.LoadLibrary();
}

void CSevenZipArchive::AcquireCodecs()
{
    m_library.AcquireCodecs();
}

void CSevenZipArchive::ReleaseCodecs()
{
    m_library.ReleaseCodecs();
}

void CSevenZipArchive::GetLibraryName(CString& out) const
{
    out.Empty();
    if (Module() != nullptr)
        out = m_library.LibraryPath().Chars();
}

int CSevenZipArchive::IsSupportedName(LPCWSTR fileName, int flags)
{
    return IsSupportedSevenZipName(fileName, flags);
}

int CSevenZipArchive::Open(LPCWSTR path, int flags)
{
    if ((flags & (SEVENZIP_OPEN_READ | SEVENZIP_OPEN_PACK | SEVENZIP_OPEN_LIST)) == 0)
        return -1;
    if (path == nullptr || *path == 0)
    {
        if (Module() != nullptr || LoadLibrary())
            return 0;
        m_errors.Add(CODE_NO_LIBRARY, 0);
        return -1;
    }
    UnloadLibrary();
    m_errors.Clear();
    if (!FileExists(path, &m_archiveFindData))
    {
        m_errors.Add(CODE_NO_FILE, static_cast<int>(GetLastError()));
        return -1;
    }
    if (!HasListedSuffix(path,
                         (flags & SEVENZIP_OPEN_PACK) != 0 ? kSevenZipWritableTypes : kSevenZipReadableTypes))
    {
        m_errors.Add(CODE_NO_LIBRARY, 0);
        return -1;
    }
    if (!LoadLibrary())
    {
        m_errors.Add(CODE_NO_LIBRARY, 0);
        return -1;
    }
    m_detectedClassId = DetectSevenZipType(path, (flags & SEVENZIP_OPEN_PACK) == 0);
    if (m_detectedClassId == nullptr)
    {
        UnloadLibrary();
        m_errors.Add(CODE_NO_LIBRARY, 0);
        return -1;
    }
    m_archivePath = path;
    return 0;
}

int CSevenZipArchive::OpenArchiveFile(LPCWSTR path, CSevenZipOpenState& state)
{
    state = CSevenZipOpenState();
    m_volumeTotal = 0;
    m_volumeCount = 0;
    CArchiveChain* chain = new (std::nothrow) CArchiveChain;
    if (chain == nullptr)
    {
        m_errors.Add(CODE_NO_CHAIN, static_cast<int>(ERROR_NOT_ENOUGH_MEMORY));
        return 0;
    }
    CSevenZipOpenCallback openUi;
    openUi.base.refuse = m_noPrompt;
    if (m_passwordKnown)
    {
        openUi.base.passwordDefined = true;
        openUi.base.password = m_knownPassword;
    }
    CValueVector<CArchiveTypeChoice> types;
    CArchiveOpenRequest request;
    request.Codecs = g_SevenZipCodecs;
    request.typeList = &types;
    request.filePath = path;
    HRESULT hr = E_FAIL;
    try
    {
        hr = g_SevenZipCodecs != nullptr ? OpenArchiveChain(*chain, request, &openUi) : E_FAIL;
    }
    catch (int value)
    {
        // A missing first volume is a file that cannot be opened, not a crash.
        hr = static_cast<HRESULT>(value);
    }
    if (hr != S_OK)
    {
        m_errors.Add(CODE_CANNOT_OPEN, static_cast<int>(hr));
        CloseArchiveChain(*chain);
        delete chain;
        return 0;
    }
    m_volumeTotal = chain->volumesSize;
    m_volumeCount = static_cast<LONGLONG>(chain->volumePaths.Count());
    if (openUi.base.passwordDefined)
    {
        m_knownPassword = openUi.base.password;
        m_passwordKnown = 1;
    }
    state.chain = chain;
    chain->Innermost().handler->GetNumberOfItems(&state.itemCount);
    return 1;
}

void CSevenZipArchive::CloseArchiveFile(CSevenZipOpenState& state)
{
    if (state.chain == nullptr)
        return;
    CloseArchiveChain(*state.chain);
    delete state.chain;
    state.chain = nullptr;
}

CString CSevenZipArchive::PropertyToUString(const PROPVARIANT& value)
{
    CString text;
    switch (value.vt)
    {
    case VT_EMPTY:
        break;
    case VT_I2:
        text.Format(L"%d", value.iVal);
        break;
    case VT_I4:
        text.Format(L"%ld", value.lVal);
        break;
    case VT_I8:
        text.Format(L"%lld", value.hVal.QuadPart);
        break;
    case VT_UI1:
        text.Format(L"%u", value.bVal);
        break;
    case VT_UI2:
        text.Format(L"%u", value.uiVal);
        break;
    case VT_UI4:
        text.Format(L"%lu", value.ulVal);
        break;
    case VT_UI8:
        text.Format(L"%llu", value.uhVal.QuadPart);
        break;
    case VT_BSTR:
        text = value.bstrVal != nullptr ? value.bstrVal : L"";
        break;
    case VT_BOOL:
        text = value.boolVal != VARIANT_FALSE ? L"+" : L"-";
        break;
    case VT_FILETIME: {
        CNarrowString narrow;
        if (FileTimeToText(value.filetime, narrow, true, true))
            text = CString(narrow.Chars());
        break;
    }
    default:
        throw kUnexpectedPropertyType;
    }
    return text;
}

int CSevenZipArchive::ListEntries(LPCWSTR path)
{
    m_unknownSizeFlags = 0;
    m_errors.Clear();
    // The chosen entries point into the listing that goes now.
    m_chosenEntries.RemoveAll();
    m_listing.RemoveAll();
    if (Module() == nullptr && Open(path, SEVENZIP_OPEN_PACK | SEVENZIP_OPEN_LIST) != 0)
        return 0;
    CSevenZipOpenState state;
    if (!OpenArchiveFile(path, state))
        return 0;
    IInArchive* handler = state.chain->Innermost().handler;
    // Room for every item at once: grown a step at a time, a listing of a hundred
    // thousand members would be copied over again a hundred times.
    m_listing.SetSize(0, static_cast<INT_PTR>(state.itemCount));
    try
    {
        for (state.nextItem = 0; state.nextItem < state.itemCount; state.nextItem++)
        {
            CArchiveFileInfo entry;
            entry.m_itemIndex = static_cast<int>(state.nextItem);
            bool unknownSize = false;
            CPropValue value;
            handler->GetProperty(state.nextItem, 7, &value);
            if (value.vt == VT_UI8 || value.vt == VT_UI4)
            {
                ULONGLONG size = value.vt == VT_UI8 ? value.uhVal.QuadPart : value.ulVal;
                entry.m_findData.nFileSizeHigh = static_cast<DWORD>(size >> 32);
                entry.m_findData.nFileSizeLow = static_cast<DWORD>(size);
            }
            else
                unknownSize = true;
            value.Clear();
            handler->GetProperty(state.nextItem, 3, &value);
            entry.m_storedPath =
                value.vt != VT_EMPTY ? PropertyToUString(value) : MakeSevenZipDefaultItemName(path);
            value.Clear();
            // The member is listed under the names extraction writes (CleanListedMember);
            // a stored path that ends in a separator stands for its folder.
            const CString& stored = entry.m_storedPath;
            const int slash = std::max(stored.ReverseFind(L'\\'), stored.ReverseFind(L'/'));
            if (slash + 1 < stored.GetLength())
                entry.SetName(static_cast<LPCWSTR>(stored) + slash + 1);
            else if (slash >= 0)
                entry.m_folder = stored.Left(slash);
            static const PROPID kTimes[] = {10, 11, 12};
            FILETIME* targets[] = {&entry.m_findData.ftCreationTime, &entry.m_findData.ftLastAccessTime,
                                   &entry.m_findData.ftLastWriteTime};
            for (int t = 0; t < 3; t++)
            {
                if (handler->GetProperty(state.nextItem, kTimes[t], &value) == S_OK &&
                    value.vt == VT_FILETIME)
                    *targets[t] = value.filetime;
                value.Clear();
            }
            handler->GetProperty(state.nextItem, 9, &value);
            if (value.vt == VT_UI4)
            {
                entry.m_findData.dwFileAttributes = value.ulVal;
                if ((value.ulVal & FILE_ATTRIBUTE_DIRECTORY) != 0)
                    unknownSize = false;
            }
            else
            {
                value.Clear();
                handler->GetProperty(state.nextItem, 6, &value);
                entry.m_findData.dwFileAttributes =
                    value.vt == VT_BOOL && value.boolVal != VARIANT_FALSE ? FILE_ATTRIBUTE_DIRECTORY : 0;
            }
            if (unknownSize)
                m_unknownSizeFlags |= 1;
            const INT_PTR count = m_listing.GetSize();
            CleanListedMember(entry, count > 0 ? m_listing[count - 1].m_folder : CString());
            m_listing.Add(entry);
        }
    }
    catch (...)
    {
        CloseArchiveFile(state);
        throw;
    }
    CloseArchiveFile(state);
    return 1;
}

int CSevenZipArchive::ExtractToMemory(LPCWSTR archivePath, LPCWSTR folder, LPCWSTR name, void** buffer,
                                      LONGLONG* size, CProgressInfo* progress)
{
    if (buffer != nullptr)
        *buffer = nullptr;
    m_errors.Clear();
    CArchiveFileInfo* entry =
        m_listing.FindNamedEntry(folder != nullptr ? folder : L"", name != nullptr ? name : L"", m_errors);
    if (entry == nullptr)
        return 0;
    return ExtractToMemory(archivePath, *entry, buffer, size, progress);
}

int CSevenZipArchive::ExtractToMemory(LPCWSTR archivePath, const CArchiveFileInfo& member, void** buffer,
                                      LONGLONG* size, CProgressInfo* progress)
{
    if (buffer != nullptr)
        *buffer = nullptr;
    m_errors.Clear();
    // The member is the library's item of that index, whatever other members share
    // its name.
    const int itemIndex = member.m_itemIndex;
    if (Module() == nullptr && !LoadLibrary())
    {
        m_errors.Add(CODE_NO_LIBRARY, 0);
        return 0;
    }
    CString path = archivePath != nullptr && *archivePath != 0 ? CString(archivePath) : m_archivePath;
    const UINT32 index = static_cast<UINT32>(itemIndex);
    CSevenZipOpenState state;
    if (!OpenArchiveFile(path, state))
        return 0;
    CSevenZipArchiveExtractCallback* callback = new CSevenZipArchiveExtractCallback;
    callback->AddRef();
    callback->Init(state.chain->Innermost().handler, L"");
    callback->toMemory = 1;
    callback->archivePath = path;
    callback->memoryLimit = size != nullptr && *size > 0 ? *size : -1;
    callback->base.progress = progress;
    callback->base.refuse = m_noPrompt;
    callback->base.passwordDefined = m_passwordKnown != 0;
    callback->base.password = m_passwordKnown ? m_knownPassword : CString();
    if (progress != nullptr)
    {
        LONGLONG total = 0;
        for (INT_PTR i = 0; i < m_listing.GetSize(); i++)
            if (m_listing[i].m_itemIndex == itemIndex)
                total += static_cast<LONGLONG>(EntrySize(m_listing[i]));
        progress->totalAmount = total;
    }
    HRESULT hr = state.chain->Innermost().handler->Extract(&index, 1, 0, callback);
    // The item stopped at the caller's limit: what arrived is the answer.
    if (callback->memoryStream != nullptr && callback->memoryStream->limitReached)
        callback->memoryTruncated = true;
    if (callback->memoryTruncated && callback->memoryStream != nullptr)
    {
        LocalFreeLocked(callback->memoryBuffer);
        callback->memorySize = callback->memoryStream->written;
        callback->memoryBuffer = callback->memoryStream->DetachBuffer();
    }
    if (callback->memoryTruncated)
        hr = S_OK;
    int ok = 0;
    if (hr == S_OK && callback->memoryBuffer != nullptr)
    {
        if (buffer != nullptr)
        {
            *buffer = callback->memoryBuffer;
            callback->memoryBuffer = nullptr;
        }
        if (size != nullptr)
            *size = static_cast<LONGLONG>(callback->memorySize);
        if (callback->base.passwordDefined)
        {
            m_knownPassword = callback->base.password;
            m_passwordKnown = 1;
        }
        ok = 1;
    }
    else if (hr == kSevenZipCancel)
        m_errors.Add(CODE_CANCELLED, 0);
    else if (hr == kSevenZipWrongPassword)
        m_errors.Add(CODE_WRONG_PASSWORD, 0);
    else
        m_errors.Add(CODE_EXTRACT_FAILED, static_cast<int>(hr == S_OK ? E_FAIL : hr));
    callback->Release();
    CloseArchiveFile(state);
    return ok;
}

int CSevenZipArchive::PrepareForPacking()
{
    m_errors.Clear();
    return 1;
}

void CSevenZipArchive::ResetOptions()
{
    m_baseDirectory.Empty();
    m_targetArchivePath.Empty();
    m_givenPassword.Empty();
    m_flatExtraction = 0;
    m_askPasswordOnPack = 0;
    m_keepArchiveTime = 0;
    m_noOverwritePrompt = 0;
    m_chosenEntries.RemoveAll();
    m_chosenIndexes.RemoveAll();
    m_filesToPack.RemoveAll();
}

void CSevenZipArchive::SetOption(int index, LPCWSTR text)
{
    switch (index)
    {
    case 0:
        m_baseDirectory = text != nullptr ? text : L"";
        break;
    case 1:
        if (text != nullptr && *text != 0)
            m_targetArchivePath = m_archivePath = text;
        else
            m_targetArchivePath = m_archivePath;
        break;
    case 2:
        if (text != nullptr)
            m_chosenEntries.Add(reinterpret_cast<CArchiveFileInfo*>(const_cast<LPWSTR>(text)));
        break;
    case 4:
        m_askPasswordOnPack = 1;
        break;
    case 5:
        m_destinationDirectory = text != nullptr ? text : L"";
        break;
    case 6:
        m_flatExtraction = 1;
        break;
    case 8:
        if (text != nullptr && *text != 0)
            m_givenPassword = text;
        break;
    case 13:
        if (text != nullptr)
            m_filesToPack.Add(text);
        break;
    case 16:
        m_keepArchiveTime = 1;
        break;
    case 17:
        m_noOverwritePrompt = 1;
        break;
    default:
        break;
    }
}

void CSevenZipArchive::SetRenameList(const CArrayRenameFileName& list)
{
    m_renameList.RemoveAll();
    for (INT_PTR i = 0; i < list.GetSize(); i++)
        m_renameList.Add(list[i]);
}

int CSevenZipArchive::Extract(CWnd* /*owner*/, CProgressInfo* progress)
{
    if (m_targetArchivePath.IsEmpty())
        m_targetArchivePath = m_archivePath;
    m_errors.Clear();
    if (Module() == nullptr && !LoadLibrary())
    {
        m_errors.Add(CODE_NO_LIBRARY, 0);
        return 0;
    }
    if (progress != nullptr)
    {
        LONGLONG total = m_chosenEntries.GetSize() == 0 ? -1 : 0;
        for (INT_PTR i = 0; i < m_chosenEntries.GetSize(); i++)
            total += static_cast<LONGLONG>(EntrySize(*m_chosenEntries[i]));
        progress->totalAmount = total;
    }
    // The library wants ascending indices, each once; the panes give their own order.
    std::vector<UINT32> indexes;
    for (INT_PTR i = 0; i < m_chosenEntries.GetSize(); i++)
        indexes.push_back(static_cast<UINT32>(m_chosenEntries[i]->m_itemIndex));
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    m_chosenIndexes.RemoveAll();
    for (UINT32 index : indexes)
        m_chosenIndexes.Add(index);

    CSevenZipOpenState state;
    if (!OpenArchiveFile(m_targetArchivePath, state))
        return 0;
    if (!CreateDirectoryTree(m_destinationDirectory, 0, nullptr))
    {
        m_errors.Add(CODE_NO_DESTINATION, static_cast<int>(GetLastError()));
        CloseArchiveFile(state);
        return 0;
    }
    CSevenZipArchiveExtractCallback* callback = new CSevenZipArchiveExtractCallback;
    callback->AddRef();
    callback->Init(state.chain->Innermost().handler, m_destinationDirectory);
    callback->archivePath = m_targetArchivePath;
    callback->neverAsk = m_noOverwritePrompt;
    callback->basePath = m_frontPath;
    callback->base.progress = progress;
    callback->base.refuse = m_noPrompt;
    if (m_passwordKnown)
    {
        callback->base.passwordDefined = true;
        callback->base.password = m_knownPassword;
    }
    else if (!m_givenPassword.IsEmpty())
    {
        callback->base.passwordDefined = true;
        callback->base.password = m_givenPassword;
    }
    callback->flat = m_flatExtraction;
    IInArchive* handler = state.chain->Innermost().handler;
    HRESULT hr = indexes.empty()
                     ? handler->Extract(nullptr, 0xFFFFFFFF, 0, callback)
                     : handler->Extract(indexes.data(), static_cast<UINT32>(indexes.size()), 0, callback);
    if (hr != S_OK)
        callback->AbandonOpenOutput();
    if (hr == kSevenZipCancel)
        m_errors.Add(CODE_CANCELLED, 0);
    else if (hr == kSevenZipWrongPassword)
        m_errors.Add(CODE_WRONG_PASSWORD, 0);
    else if (hr != S_OK)
        m_errors.Add(CODE_EXTRACT_FAILED, static_cast<int>(hr));
    else
    {
        if (callback->base.passwordDefined)
        {
            m_knownPassword = callback->base.password;
            m_passwordKnown = 1;
        }
        // Members refused for leaving the destination make the job a failure.
        if (callback->refusedItems > 0)
        {
            m_errors.Add(CODE_EXTRACT_FAILED, static_cast<int>(E_ACCESSDENIED));
            hr = E_ACCESSDENIED;
        }
    }
    callback->Release();
    CloseArchiveFile(state);
    return hr == S_OK ? 1 : 0;
}

int CSevenZipArchive::RunJob(CSevenZipArchive* backEnd, int kind, CWnd* owner, CProgressInfo* progress)
{
    if (backEnd == nullptr)
        return 0;
    CPackProgressDlg dialog(kind, owner);
    dialog.m_backEnd = backEnd;
    dialog.m_progress = progress;
    dialog.DoModal();
    return dialog.m_result;
}

int CSevenZipArchive::CreateArchive(CSevenZipArchive* backEnd, CWnd* owner, CProgressInfo* progress)
{
    return RunJob(backEnd, SEVENZIP_JOB_CREATE, owner, progress);
}

int CSevenZipArchive::DeleteEntries(CSevenZipArchive* backEnd, CWnd* owner, CProgressInfo* progress)
{
    return RunJob(backEnd, SEVENZIP_JOB_DELETE, owner, progress);
}

int CSevenZipArchive::RenameEntries(CSevenZipArchive* backEnd, CWnd* owner, CProgressInfo* progress)
{
    return RunJob(backEnd, SEVENZIP_JOB_RENAME, owner, progress);
}

int CSevenZipArchive::RunCreate(CPackProgressDlg*, CProgressInfo* progress)
{
    return RunPackJob(SEVENZIP_JOB_CREATE, progress);
}

int CSevenZipArchive::RunDelete(CPackProgressDlg*, CProgressInfo* progress)
{
    return RunPackJob(SEVENZIP_JOB_DELETE, progress);
}

int CSevenZipArchive::RunRename(CPackProgressDlg*, CProgressInfo* progress)
{
    return RunPackJob(SEVENZIP_JOB_RENAME, progress);
}

bool CSevenZipArchive::MakeRenameRules(std::vector<CRenameRule>& rules) const
{
    for (INT_PTR i = 0; i < m_renameList.GetSize(); i++)
    {
        const CRenameFileName& pair = m_renameList[i];
        if (!pair.hasNewName || pair.newName == pair.oldName)
            continue;
        const CArchiveFileInfo* entry = nullptr;
        if (pair.member >= 0)
        {
            if (pair.member >= m_listing.GetSize())
                return false;
            entry = &m_listing[pair.member];
        }
        else
        {
            // A path alone names a member only when exactly one member has it, as
            // stored or as listed; two members of that path are never guessed between.
            for (INT_PTR k = 0; k < m_listing.GetSize(); k++)
            {
                const CArchiveFileInfo& member = m_listing[k];
                const CString listed = member.m_folder.IsEmpty()
                                           ? CString(member.m_findData.cFileName)
                                           : member.m_folder + L"\\" + member.m_findData.cFileName;
                if (member.m_storedPath != pair.oldName && listed != pair.oldName)
                    continue;
                if (entry != nullptr)
                    return false;
                entry = &member;
            }
            if (entry == nullptr)
                return false;
        }
        CRenameRule rule;
        rule.OldPath = UString(entry->m_storedPath);
        rule.NewPath = UString(pair.newName);
        rule.ItemIndex = entry->m_itemIndex;
        rules.push_back(rule);
    }
    return true;
}

int CSevenZipArchive::RunPackJob(int kind, CProgressInfo* progress)
{
    m_errors.Clear();
    if (progress != nullptr)
        progress->SetBaseFolder(m_frontPath);
    CString archive = m_targetArchivePath.IsEmpty() ? m_archivePath : m_targetArchivePath;
    std::vector<CRenameRule> rules;
    if (kind == SEVENZIP_JOB_RENAME)
    {
        if (!MakeRenameRules(rules))
        {
            m_errors.Add(CODE_NO_ENTRY, 0);
            return 0;
        }
        if (rules.empty())
            return 1;
    }
    // A library this back-end already holds serves the job and stays loaded.
    const bool loadedHere = Module() == nullptr;
    if (loadedHere && !LoadLibrary())
    {
        m_errors.Add(CODE_NO_LIBRARY, 0);
        return 0;
    }

    CUpdateJobOptions options;
    options.PathMode = kPathModeGivenPrefix;
    CUpdateCommand command;
    command.Actions = ActionTable(kind);
    options.Commands.push_back(command);
    options.RenameRules = rules;
    // Volume sizes are known only for the archive this back-end opened last.
    if (m_volumeCount > 1 && archive.CompareNoCase(m_archivePath) == 0)
        options.VolumeSizes.push_back(m_volumeTotal);
    CUpdateErrorRecord error;

    CSevenZipOpenCallback openUi;
    CSevenZipUpdateCallback updateUi;
    openUi.base.refuse = updateUi.base.refuse = m_noPrompt;
    openUi.base.progress = updateUi.base.progress = progress;
    // Deleting and renaming rewrite the archive: the password the listing or an
    // extraction was given reads the old entries and keeps the rewritten ones locked.
    if (kind != SEVENZIP_JOB_CREATE && m_passwordKnown)
    {
        openUi.base.passwordDefined = updateUi.base.passwordDefined = true;
        openUi.base.password = updateUi.base.password = m_knownPassword;
    }

    CPathFilter filter;
    WIN32_FIND_DATAW archiveTimes;
    BOOL haveTimes = FALSE;
    if (kind == SEVENZIP_JOB_CREATE)
    {
        updateUi.base.askAllowed = m_askPasswordOnPack != 0;
        if (!m_givenPassword.IsEmpty())
        {
            updateUi.base.passwordDefined = true;
            updateUi.base.password = m_givenPassword;
        }
        // The folder is the root of the names to pack; the process's current
        // directory is left alone, since other code moves it at any time.
        DWORD baseAttributes = GetFileAttributesLong(m_baseDirectory);
        if (m_baseDirectory.IsEmpty() || baseAttributes == INVALID_FILE_ATTRIBUTES ||
            (baseAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        {
            if (GetLastError() == 0 || baseAttributes != INVALID_FILE_ATTRIBUTES)
                SetLastError(ERROR_DIRECTORY);
            m_errors.Add(CODE_NO_BASE_FOLDER, static_cast<int>(GetLastError()));
            if (loadedHere)
                UnloadLibrary();
            return 0;
        }
        // The names are taken below the base folder itself, not below whatever the
        // current directory of the process is by the time the scan runs.
        CString root = LongForm(m_baseDirectory);
        if (!root.IsEmpty() && root[root.GetLength() - 1] != L'\\')
            root += L'\\';
        // Root-only mode stores the names relative to that root.
        options.PathMode = kPathModeRootOnly;
        for (INT_PTR i = 0; i < m_filesToPack.GetSize(); i++)
            filter.AddPattern(kPathModeGivenPrefix, true, UString(m_filesToPack[i]), false, true,
                              UString(root));
    }
    else if (kind == SEVENZIP_JOB_DELETE)
    {
        // The chosen members go by their item indexes: a name pattern would also take
        // every member whose name differs only in case, or that is stored twice.
        options.SelectChosenItems = true;
        for (INT_PTR i = 0; i < m_chosenEntries.GetSize(); i++)
        {
            const CArchiveFileInfo& entry = *m_chosenEntries[i];
            CChosenItem item;
            item.Index = static_cast<uint32_t>(entry.m_itemIndex);
            item.Path = UString(entry.m_storedPath);
            options.ChosenItems.push_back(item);
            if (progress != nullptr)
                progress->totalAmount += static_cast<LONGLONG>(EntrySize(entry));
        }
    }
    else
        filter.QueuePattern(true, UString(L"*"), false, true);
    if (kind != SEVENZIP_JOB_CREATE)
        haveTimes = FileExists(archive, &archiveTimes);

    CValueVector<CArchiveTypeChoice> types;
    HRESULT hr = E_FAIL;
    if (g_SevenZipCodecs == nullptr)
        hr = E_FAIL;
    else
    {
        ParseArchiveTypeList(*g_SevenZipCodecs, UString(), types);
        try
        {
            hr = UpdateArchiveFile(*g_SevenZipCodecs, types, UString(LongForm(archive)), filter, options,
                                   error, &openUi, &updateUi, true);
        }
        catch (...)
        {
            // The caller turns what the client throws into a code; the library
            // this job loaded goes first.
            if (loadedHere)
                UnloadLibrary();
            throw;
        }
    }
    if (loadedHere)
        UnloadLibrary();
    if (hr == E_NOTIMPL)
        m_errors.Add(CODE_NOT_IMPLEMENTED, 0);
    else if (hr == kChosenItemMissing)
        m_errors.Add(CODE_NO_ENTRY, 0);
    else if (hr == kSevenZipCancel || hr == E_ABORT)
        m_errors.Add(CODE_CANCELLED, 0);
    else if (hr == kSevenZipWrongPassword)
        m_errors.Add(CODE_WRONG_PASSWORD, 0);
    else if (hr != S_OK)
        m_errors.Add(kind == SEVENZIP_JOB_CREATE ? CODE_PACK_FAILED : CODE_UPDATE_FAILED,
                     static_cast<int>(hr));
    else if (haveTimes && m_keepArchiveTime)
        SetFileTimeLong(archive, &archiveTimes);
    // The archive holds what could be read; the job still fails, naming what it lacks.
    if (hr == S_OK && updateUi.LeftOutCount() > 0)
    {
        m_errors.Add(CODE_FILES_LEFT_OUT, static_cast<int>(updateUi.FirstLeftOutError()),
                     updateUi.DescribeLeftOut(LongForm(m_baseDirectory)));
        return 0;
    }
    return hr == S_OK ? 1 : 0;
}
