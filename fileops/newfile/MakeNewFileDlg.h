// The new-file kinds: the settings dialog that edits them five at a time and reads
// the ShellNew registrations of the registry, and the dialog that picks one kind.
#pragma once
#include <windows.h>
#include "app/settings/FilerSettings.h"
#include "framework/FwDialog.h"

typedef CArray<CMakeNewFile> CMakeNewFileArray;

// Puts the kind in place of the one with the same extension (case ignored), else in
// the first empty slot, else at the end.
void MergeNewFileKind(CMakeNewFileArray& kinds, const CMakeNewFile& kind);

// Drops the entries with an empty extension from the end down to index 20; the
// first twenty always stay.
void DropEmptyNewFileKinds(CMakeNewFileArray& kinds);

// Takes the extension and display name typed into one row for the entry at `index`
// (appended when past the end). An entry whose extension is unchanged (case
// ignored) keeps its fill kind; any other loses it.
void TakeNewFileRow(CMakeNewFileArray& kinds, INT_PTR index, const CString& extension,
                    const CString& displayName);

// Merges every extension of `classesRoot` that has a ShellNew fill value and a
// display name of its program identifier; the fill kinds of the other entries are
// cleared first. FALSE when the root cannot be opened (then nothing changes).
BOOL ReadShellNewKinds(HKEY classesRoot, CMakeNewFileArray& kinds);

class CMakeNewFileDlg : public CDialog
{
public:
    explicit CMakeNewFileDlg(CWnd* pParent = nullptr);

    void ShowPage();
    void TakePage();
    void ReadShellNewTemplates();

    CMakeNewFileArray m_kinds;
    INT_PTR m_pageStart = 0;
    // Where the registrations are read; the classes root but for tests.
    HKEY m_classesRoot = HKEY_CLASSES_ROOT;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
};

class CMakeNewFileListDlg : public CDialog
{
public:
    explicit CMakeNewFileListDlg(CWnd* pParent = nullptr);

    // The chosen kind's index in g_MakeNewFileKinds, -1 when none was chosen.
    int m_result = -1;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CArray<int> m_rowIndex;
};
