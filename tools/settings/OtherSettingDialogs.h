// The copy destination sources and special folders, the sound of each command, the
// per-user settings file, the debug switches and the thumbnail settings. Each edits
// copies and writes them back on OK only.
#pragma once
#include <windows.h>
#include "app/records/SelectColorButton.h"
#include "app/settings/GraphicSettings.h"
#include "framework/FwCheckListBox.h"
#include "framework/FwCollections.h"
#include "framework/FwDialog.h"
#include "framework/FwString.h"

#include <array>

// One source of the copy destination list: on or off, and its place 1 to 4.
struct CopyToSource
{
    int enabled;
    int priority;
};
constexpr int kCopyToSourceCount = 4;
// At most this many special destinations are kept.
constexpr int kSpecialCopyToLimit = 20;

class CDefCopyToDlg : public CDialog
{
public:
    explicit CDefCopyToDlg(CWnd* parent = nullptr);
    // Passed in and taken back by the caller ("コピー先履歴数").
    int m_historyCount = 20;

    // Appends a folder unless the list holds it already in any letter case; a full
    // list gives up its oldest entry first.
    void AddFolder(const CString& folder);
    // A row's spin about to show position p: the row that shows p now takes the
    // moving row's old place, so the four places stay 1 to 4 once each.
    void MovePriority(int row, int position);

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    void FillList();

    std::array<CopyToSource, kCopyToSourceCount> m_sources{};
    CStringArray m_special;
};

class CMciWnd;

class CDefWavDlg : public CDialog
{
public:
    explicit CDefWavDlg(CWnd* parent = nullptr);
    ~CDefWavDlg() override;
    CDefWavDlg(const CDefWavDlg&) = delete;
    CDefWavDlg& operator=(const CDefWavDlg&) = delete;
    // The dialog's own media window, made on the first "再生" of a file.
    bool HasMediaWindow() const { return m_media != nullptr; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;
    void OnCancel() override;

private:
    void StoreShown();
    void Browse();
    void Play();
    void CloseMedia();

    std::array<CString, 23> m_files;
    int m_shown = 0;
    CMciWnd* m_media = nullptr;
};

class CUseriniDlg : public CDialog
{
public:
    explicit CUseriniDlg(CWnd* parent = nullptr);
    // Passed in and taken back by the caller.
    CString m_userName;
    CString m_fileName;
    int m_useUserIni = 0;
    int m_noSaveAtExit = 0;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void Browse();
};

class CDebugDlg : public CDialog
{
public:
    // flags holds the nine debug switches; both are written on OK only.
    CDebugDlg(int* flags, int& debugMode, CWnd* parent = nullptr);
    CCheckListBox& Flags() { return m_list; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    int* m_flags;
    int& m_debugMode;
    CCheckListBox m_list;
};

class CLoadPreviewThread;

// The thumbnail settings. The caller fills the numbers and switches below and stores
// them after OK; the dialog itself stores the directory icon's place and fill, the
// three colours, and hands the loader's three lists back to it.
class CDefPreviewDlg : public CDialog
{
public:
    explicit CDefPreviewDlg(CLoadPreviewThread* loader, CWnd* parent = nullptr);

    int m_maxFiles = 10000;
    int m_width = 100;
    int m_height = 100;
    int m_nextSleep = 30;
    int m_nameMode = 0;
    int m_nameLength = 20;
    int m_kindLength = 5;
    int m_iconOnPicture = 0;
    int m_iconOnArchive = 1;
    int m_pictureInDir = 0;

    // Whether a kind was added or removed while the dialog was open.
    bool KindsChanged() const { return m_kindsChanged; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    void FillLists();
    void AddKind();
    void RemoveSelected(int listId);

    CLoadPreviewThread* m_loader;
    CArray<CPreviewEnableDirInfo> m_enabledDirs;
    CStringArray m_disabledDirs;
    CStringArray m_kinds;
    bool m_kindsChanged = false;
    CCheckListBox m_dirList;
    std::array<CSelectColorButton, 3> m_colors;
};
