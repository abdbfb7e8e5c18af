// "@Makeshortcut": a shell shortcut to the cursor entry, written where the user says.
#include "app/Directories.h"
#include "util/PathHelpers.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/dialogs/TellAndAsk.h"
#include "fileops/dialogs/MakeLinkDlg.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"

#include <objbase.h>
#include <shlobj.h>

namespace
{

bool IsDotEntry(LPCWSTR name)
{
    return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0;
}

bool EndsWithLinkExtension(const CString& name)
{
    return name.GetLength() >= 4 && name.Right(4).CompareNoCase(L".lnk") == 0;
}

// The shell saves a link to whatever name it is given, so a typed name without
// ".lnk" would replace a document of that name with a link Explorer cannot even
// recognise; the extension is added, and an existing file is replaced only when
// the user says so. Empty when the user declined.
CString ChooseLinkPath(CWnd* parent, const CString& directory, CString name)
{
    name.Trim();
    if (name.IsEmpty())
        return CString();
    if (!EndsWithLinkExtension(name))
        name += L".lnk";
    CString path;
    MakePath(directory, name, path);
    if (GetFileAttributesLong(path) != INVALID_FILE_ATTRIBUTES)
    {
        CString question;
        question.Format(L"%s は既に存在します。\n上書きしますか？", (LPCWSTR)path);
        if (!Ask(parent, question, L"ショートカットの作成", MessageBoxKind::YesNo))
            return CString();
    }
    return path;
}

// The root of the drive-list row and the link name it suggests: "(C)ドライブ.lnk" for
// a drive letter, the server and share joined by "-" for a share. FALSE for a row
// no link can point at.
BOOL DescribeDriveLink(const CDriveInfo& drive, CString& root, CString& name)
{
    if (drive.m_kind == DRIVE_KIND_VIRTUAL || drive.m_kind == DRIVE_KIND_NETWORK_ROOT)
        return FALSE;
    root = drive.m_name;
    if (root.GetLength() >= 2 && root[1] == L':')
    {
        root = root.Left(2) + L"\\";
        name.Format(L"(%c)ドライブ.lnk", root[0]);
        return TRUE;
    }
    if (root.Left(2) != L"\\\\" || root.GetLength() <= 2)
        return FALSE;
    CString shareName = root.Mid(2);
    shareName.TrimRight(L'\\');
    shareName.Replace(L'\\', L'-');
    name.Format(L"%s.lnk", (LPCWSTR)shareName);
    if (root[root.GetLength() - 1] != L'\\')
        root += L'\\';
    return TRUE;
}

} // namespace

void CQvView::OnMakeShortcut()
{
    int index = GetActivePaneIndex();
    if (index < 0)
        return;
    CFilerPane& pane = *g_Panes[index];
    if (pane.m_mode != PANE_MODE_FILER && pane.m_mode != PANE_MODE_DRIVE_LIST)
        return;

    CMakeLinkDlg dialog(DialogOwner(this));
    int other = -1;
    if (FindPaneByMode(&other, PANE_POS_OTHER, PANE_MODE_FILER, 0) && !g_Panes[other]->IsOnVirtualDrive())
        dialog.m_candidateDirectories.Add(g_Panes[other]->m_currentDir);
    if (pane.m_mode == PANE_MODE_FILER)
    {
        if (pane.CheckState(PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_NOT_EMPTY | PANE_CHECK_NO_DOT_TARGET))
            return;
        CFileInfo* cursor = pane.GetCursorEntry();
        if (cursor == nullptr || IsDotEntry(cursor->GetName()) ||
            (cursor->IsDirectory() && pane.IsOnVirtualDrive()))
            return;
        if (!pane.IsOnVirtualDrive())
        {
            dialog.m_candidateDirectories.Add(pane.m_currentDir);
            dialog.m_preselectedDirectory = pane.m_currentDir;
        }
        dialog.m_linkTarget = cursor->GetFullPath();
        const CString name = cursor->GetName();
        const int dot = name.ReverseFind(L'.');
        dialog.m_proposedName = (dot > 0 ? name.Left(dot) : name) + L".lnk";
        if (dot <= 0 || name.Mid(dot + 1).CompareNoCase(L"LNK") != 0)
            dialog.m_proposedFullName = name + L".lnk";
        dialog.m_workDirectory = pane.m_currentDir;
    }
    else
    {
        if (pane.m_cursor < 0 || pane.m_cursor >= pane.m_driveList.GetSize())
            return;
        CString root, name;
        if (!DescribeDriveLink(pane.m_driveList[static_cast<INT_PTR>(pane.m_cursor)], root, name))
            return;
        dialog.m_linkTarget = root;
        dialog.m_proposedName = name;
        dialog.m_workDirectory = root;
        wchar_t desktop[1040] = {};
        LPITEMIDLIST desktopItem = nullptr;
        if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktopItem)) &&
            desktopItem != nullptr)
        {
            if (SHGetPathFromIDListW(desktopItem, desktop) && desktop[0] != 0)
            {
                dialog.m_candidateDirectories.Add(desktop);
                dialog.m_preselectedDirectory = desktop;
            }
            CoTaskMemFree(desktopItem);
        }
    }

    CViewBusyGuard busy(*this);
    if (dialog.DoModal() == IDOK)
    {
        const CString path = ChooseLinkPath(this, dialog.m_saveDirectory, dialog.m_fileName);
        if (!path.IsEmpty())
        {
            HRESULT com = CoInitialize(nullptr);
            CreateShortcut(path, dialog.m_linkTarget, dialog.m_workDirectory, dialog.m_arguments,
                           dialog.m_description);
            if (SUCCEEDED(com))
                CoUninitialize();
        }
    }
}
