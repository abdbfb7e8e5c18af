#include "fileops/dialogs/FileTimeDlg.h"

#include "util/Formatting.h"
#include "util/PathHelpers.h"
#include "app/SettingStrings.h"
#include "app/dialogs/TellAndAsk.h"
#include "filer/EntryFind.h"
#include "fileops/dialogs/AttributeDlg.h"
#include "res/FileDialogs.h"

namespace
{

const struct
{
    int check, date, time;
    LPCWSTR badDate, badTime;
} kRanges[3] = {
    {IDC_TIME_CREATION_ON, IDC_TIME_CREATION_DATE, IDC_TIME_CREATION_TIME, L"作成日の日付が不正です",
     L"作成日の時間が不正です"},
    {IDC_TIME_ACCESS_ON, IDC_TIME_ACCESS_DATE, IDC_TIME_ACCESS_TIME, L"最終アクセス日の日付が不正です",
     L"最終アクセス日の時間が不正です"},
    {IDC_TIME_UPDATE_ON, IDC_TIME_UPDATE_DATE, IDC_TIME_UPDATE_TIME, L"更新日の日付が不正です",
     L"更新日の時間が不正です"},
};

const struct
{
    int id;
    DWORD bit;
} kAttributeBoxes[] = {
    {IDC_ATTR_SYSTEM, FILE_ATTRIBUTE_SYSTEM},
    {IDC_ATTR_READONLY, FILE_ATTRIBUTE_READONLY},
    {IDC_ATTR_HIDDEN, FILE_ATTRIBUTE_HIDDEN},
    {IDC_ATTR_ARCHIVE, FILE_ATTRIBUTE_ARCHIVE},
};

BOOL IsDirectoryOffDisk(const CFileInfo& entry)
{
    return entry.IsDirectory() && entry.m_source != ENTRY_SOURCE_DISK;
}

} // namespace

BOOL ReadFileTimeTexts(const FileTimeTexts& texts, BOOL requireOne, FILETIME times[3], CString& message)
{
    if (requireOne && !texts.use[0] && !texts.use[1] && !texts.use[2])
    {
        message = L"日付情報がどれも有効でありません";
        return FALSE;
    }
    for (int i = 0; i < 3; ++i)
    {
        if (!texts.use[i])
            continue;
        SYSTEMTIME date = {}, time = {};
        if (!ParseDateText(texts.date[i], date))
        {
            message = kRanges[i].badDate;
            return FALSE;
        }
        if (!ParseTimeText(texts.time[i], time))
        {
            message = kRanges[i].badTime;
            return FALSE;
        }
        SYSTEMTIME local = date;
        local.wHour = time.wHour;
        local.wMinute = time.wMinute;
        local.wSecond = time.wSecond;
        local.wMilliseconds = 0;
        local.wDayOfWeek = 0;
        FILETIME localTime;
        if (!SystemTimeToFileTime(&local, &localTime) || !LocalFileTimeToFileTime(&localTime, &times[i]))
        {
            message = kRanges[i].badDate;
            return FALSE;
        }
    }
    return TRUE;
}

// ---- CFileTimeDlg ----------------------------------------------------------------------

CFileTimeDlg::CFileTimeDlg(int paneIndex, CWnd* pParent) : CFileTimeDlg(IDD_FILE_TIME, paneIndex, pParent) {}

CFileTimeDlg::CFileTimeDlg(UINT templateId, int paneIndex, CWnd* pParent)
    : CDialog(templateId, pParent), m_paneIndex(paneIndex),
      m_insideBox(templateId == IDD_FILE_TIME ? IDC_TIME_INSIDE : IDC_TATTR_INSIDE)
{
}

void CFileTimeDlg::InitTimeControls(const CArrayFileInfo& targets)
{
    const BOOL single = targets.GetSize() < 2;
    for (int i = 0; i < 3; ++i)
    {
        CheckDlgButton(kRanges[i].check, single ? BST_CHECKED : BST_UNCHECKED);
        if (targets.IsEmpty())
            continue;
        CString date, time;
        FormatFindDataTime(i, targets[targets.GetSize() - 1].m_findData, &date, &time, TRUE);
        SetDlgItemText(kRanges[i].date, date);
        SetDlgItemText(kRanges[i].time, time);
    }
    SetDlgItemText(IDC_TIME_SAME, g_SET_SAME_TIME);
    CheckDlgButton(m_insideBox, m_bInside ? BST_CHECKED : BST_UNCHECKED);
}

BOOL CFileTimeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CollectTargetEntries(m_paneIndex, m_targets, 3);
    InitTimeControls(m_targets);
    return TRUE;
}

BOOL CFileTimeDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_TIME_SET_SAME && HIWORD(wParam) == BN_CLICKED)
    {
        CString same;
        GetDlgItemText(IDC_TIME_SAME, same);
        for (const auto& range : kRanges)
            SetDlgItemText(range.time, same);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

BOOL CFileTimeDlg::ReadTimeControls(BOOL requireOne)
{
    FileTimeTexts texts;
    for (int i = 0; i < 3; ++i)
    {
        texts.use[i] = IsDlgButtonChecked(kRanges[i].check) == BST_CHECKED;
        GetDlgItemText(kRanges[i].date, texts.date[i]);
        GetDlgItemText(kRanges[i].time, texts.time[i]);
    }
    CString message;
    if (!ReadFileTimeTexts(texts, requireOne, m_times, message))
    {
        Tell(this, message);
        return FALSE;
    }
    for (int i = 0; i < 3; ++i)
        m_use[i] = texts.use[i];
    return TRUE;
}

void CFileTimeDlg::OnOK()
{
    if (!ReadTimeControls(TRUE))
        return;
    m_bInside = IsDlgButtonChecked(m_insideBox) == BST_CHECKED;
    CollectTargetEntries(m_paneIndex, m_targets);
    ApplyToEntries(m_targets);
    GetDlgItemText(IDC_TIME_SAME, g_SET_SAME_TIME);
    EndDialog(IDOK);
}

void CFileTimeDlg::ApplyToEntries(const CArrayFileInfo& targets)
{
    for (INT_PTR i = 0; i < targets.GetSize(); ++i)
    {
        const CFileInfo& entry = targets[i];
        if (m_bInside && entry.IsDirectory() && ChangeTimesInside(entry) == 0)
            return;
        if (!SetEntryTimes(entry) && !AskAfterTopFailure(entry))
            return;
    }
}

BOOL CFileTimeDlg::AskAfterTopFailure(const CFileInfo& entry)
{
    CString question;
    question.Format(L"%sの日付の変更に失敗しました。\n続けますか",
                    static_cast<LPCWSTR>(entry.GetRealFullPath()));
    return Ask(this, question, L"日付変更継続", MessageBoxKind::OkCancel);
}

LPCWSTR CFileTimeDlg::InsideQuestionFormat() const
{
    return L"%sの日付の変更に失敗しました。続けますか？";
}

int CFileTimeDlg::ChangeTimesInside(const CFileInfo& directory)
{
    CWalkPathStep step(m_walkPath, directory.GetRealFullPath());
    if (!step.entered)
        return 1;
    CFileInfo entry;
    CEntryFind* find = directory.FindFirstChild(L"*.*", entry);
    int result = 1;
    for (int more = find != nullptr; more; more = FindNextEntry(find, entry))
    {
        if (entry.IsDots())
            continue;
        if (entry.IsDirectory() && ChangeTimesInside(entry) == 0)
        {
            result = 0;
            break;
        }
        if (!SetEntryTimes(entry))
        {
            CString question;
            question.Format(InsideQuestionFormat(), static_cast<LPCWSTR>(entry.GetRealFullPath()));
            if (!Ask(this, question, L"確認", MessageBoxKind::YesNo))
            {
                result = 0;
                break;
            }
        }
    }
    CloseEntryFind(find);
    return result;
}

HANDLE CFileTimeDlg::OpenForTimes(const CFileInfo& entry)
{
    // The real path: a virtual drive's entry names no file under its own letter.
    const CString path = entry.GetRealFullPath();
    SetFileAttributesLong(path, FILE_ATTRIBUTE_NORMAL);
    if (entry.IsDirectory())
        return CreateFileLong(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                              nullptr);
    return CreateFileLong(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
}

BOOL CFileTimeDlg::SetEntryTimes(const CFileInfo& entry)
{
    if (IsDirectoryOffDisk(entry))
        return TRUE;
    const CString path = entry.GetRealFullPath();
    const DWORD listed = entry.m_findData.dwFileAttributes;
    HANDLE handle = OpenForTimes(entry);
    if (handle == INVALID_HANDLE_VALUE)
    {
        SetFileAttributesLong(path, listed);
        return FALSE;
    }
    const BOOL ok =
        SetFileTime(handle, m_use[TIME_CREATION] ? &m_times[TIME_CREATION] : nullptr,
                    m_use[TIME_ACCESS] ? &m_times[TIME_ACCESS] : nullptr,
                    m_use[TIME_UPDATE] ? &m_times[TIME_UPDATE] : &entry.m_findData.ftLastWriteTime);
    SetFileAttributesLong(path, listed);
    CloseHandle(handle);
    return ok;
}

// ---- CTimeAttributeDlg -----------------------------------------------------------------

CTimeAttributeDlg::CTimeAttributeDlg(int paneIndex, CWnd* pParent)
    : CFileTimeDlg(IDD_TIME_ATTRIBUTE, paneIndex, pParent)
{
}

BOOL CTimeAttributeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CollectTargetEntries(m_paneIndex, m_targets);
    DWORD any = 0;
    for (INT_PTR i = 0; i < m_targets.GetSize(); ++i)
        any |= m_targets[i].m_findData.dwFileAttributes;
    for (const auto& box : kAttributeBoxes)
        CheckDlgButton(box.id, (any & box.bit) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_TATTR_CHANGE_ATTRIBUTES, BST_CHECKED);
    CheckDlgButton(IDC_TATTR_CHANGE_TIMES, BST_CHECKED);
    InitTimeControls(m_targets);
    return TRUE;
}

void CTimeAttributeDlg::OnOK()
{
    m_attributes = 0;
    for (const auto& box : kAttributeBoxes)
        if (IsDlgButtonChecked(box.id) == BST_CHECKED)
            m_attributes |= box.bit;
    m_bChangeAttributes = IsDlgButtonChecked(IDC_TATTR_CHANGE_ATTRIBUTES) == BST_CHECKED;
    m_bChangeTimes = IsDlgButtonChecked(IDC_TATTR_CHANGE_TIMES) == BST_CHECKED;
    if (m_bChangeTimes && !ReadTimeControls(FALSE))
        return;
    m_bInside = IsDlgButtonChecked(m_insideBox) == BST_CHECKED;
    CollectTargetEntries(m_paneIndex, m_targets);
    ApplyToEntries(m_targets);
    GetDlgItemText(IDC_TIME_SAME, g_SET_SAME_TIME);
    EndDialog(IDOK);
}

BOOL CTimeAttributeDlg::AskAfterTopFailure(const CFileInfo& entry)
{
    CString question;
    question.Format(L"%sの日付の変更に失敗しました。\n続けますか", entry.GetName());
    return Ask(this, question, L"日付変更継続", MessageBoxKind::OkCancel);
}

LPCWSTR CTimeAttributeDlg::InsideQuestionFormat() const
{
    return L"%sの属性および日付の変更に失敗しました。続けますか？";
}

BOOL CTimeAttributeDlg::SetEntryTimesAndAttributes(const CFileInfo& entry)
{
    if (IsDirectoryOffDisk(entry))
        return TRUE;
    const CString path = entry.GetRealFullPath();
    const DWORD leave = m_bChangeAttributes ? m_attributes : entry.m_findData.dwFileAttributes;
    if (m_bChangeTimes)
    {
        HANDLE handle = OpenForTimes(entry);
        if (handle == INVALID_HANDLE_VALUE)
        {
            SetFileAttributesLong(path, leave);
            return FALSE;
        }
        const BOOL ok = SetFileTime(handle, m_use[TIME_CREATION] ? &m_times[TIME_CREATION] : nullptr,
                                    m_use[TIME_ACCESS] ? &m_times[TIME_ACCESS] : nullptr,
                                    m_use[TIME_UPDATE] ? &m_times[TIME_UPDATE] : nullptr);
        if (!ok)
        {
            SetFileAttributesLong(path, leave);
            CloseHandle(handle);
            return FALSE;
        }
        CloseHandle(handle);
    }
    if (m_bChangeTimes || m_bChangeAttributes)
        SetFileAttributesLong(path, leave);
    return TRUE;
}
