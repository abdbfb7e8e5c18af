// "@Makeshortcut": a shell shortcut to the cursor entry, written where the user says.
#include "app/Directories.h"
#include "app/PathHelpers.h"
#include "app/dialogs/MessageBoxDlg.h"
#include "fileops/dialogs/MakeLinkDlg.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

#include <objbase.h>

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
    CString holder;
    if (GetFileAttributesW(LongPathArg(path, holder)) != INVALID_FILE_ATTRIBUTES)
    {
        CString question;
        question.Format(L"%s は既に存在します。\n上書きしますか？", (LPCWSTR)path);
        if (ShowMessageBoxDlg(parent, question, L"ショートカットの作成", 4) != IDYES)
            return CString();
    }
    return path;
}

} // namespace

void CQvView::OnMakeShortcut()
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0))
        return;
    CFilerPane& pane = *g_Panes[index];
    if (pane.CheckState(PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_NOT_EMPTY | PANE_CHECK_NO_DOT_TARGET))
        return;
    CFileInfo* cursor = pane.GetCursorEntry();
    if (cursor == nullptr || IsDotEntry(cursor->GetName()) ||
        (cursor->IsDirectory() && pane.IsOnVirtualDrive()))
        return;

    CMakeLinkDlg dialog(this);
    int other = -1;
    if (FindPaneByMode(&other, PANE_POS_OTHER, PANE_MODE_FILER, 0) && !g_Panes[other]->IsOnVirtualDrive())
        dialog.m_candidateDirectories.Add(g_Panes[other]->m_currentDir);
    if (!pane.IsOnVirtualDrive())
        dialog.m_candidateDirectories.Add(pane.m_currentDir);
    dialog.m_linkTarget = cursor->GetFullPath();
    const CString name = cursor->GetName();
    const int dot = name.ReverseFind(L'.');
    dialog.m_proposedName = (dot > 0 ? name.Left(dot) : name) + L".lnk";
    if (dot <= 0 || name.Mid(dot + 1).CompareNoCase(L"LNK") != 0)
        dialog.m_proposedFullName = name + L".lnk";
    dialog.m_workDirectory = pane.m_currentDir;

    StopViewTimers(STOP_TIMERS_FOR_ACTION);
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
    StartBinaryCursorTimer();
}

namespace commands
{

int MakeShortcut(CQvView& view, const CommandCall&, INT_PTR)
{
    view.OnMakeShortcut();
    return 1;
}

} // namespace commands
