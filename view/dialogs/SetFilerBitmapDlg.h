// The filer wallpaper: the picture behind the panes, its placement and brightness,
// and whether and when it changes to another picture of the user's list.
#pragma once
#include "app/records/SharedRecords.h"
#include "app/records/WalkPathGuard.h"
#include "framework/FwDialog.h"

// Where the picture sits on one axis, for the pane smaller or larger than it.
struct WallpaperPlacementRow
{
    const wchar_t* name;
    // 0 left (top), 1 centre, 2 right (bottom), 3 at the coordinate.
    int* placement;
    int* coordinate;
    const wchar_t* firstLabel;
    const wchar_t* secondLabel;
};
constexpr int WALLPAPER_PLACEMENT_ROW_COUNT = 4;
extern const WallpaperPlacementRow g_WallpaperPlacementRows[WALLPAPER_PLACEMENT_ROW_COUNT];

class CSetFilerBitmapDlg : public CDialog
{
public:
    explicit CSetFilerBitmapDlg(CWnd* parent = nullptr);

    // Exchanged with the controls at start and on OK.
    CString m_path;
    int m_show = 0;
    int m_days = 1;
    int m_hours = 0;
    int m_minutes = 0;
    int m_random = 0;
    int m_tile = 0;
    // "BACKPALLETCHANGE" as the slider leaves it on OK.
    int m_brightness = 0;
    // Where "Dir追加" starts: the active pane's directory.
    CString m_startFolder;

    // The dialog's own picture list and placement values.
    CArrayCommonFileEx m_files;
    int m_placement[WALLPAPER_PLACEMENT_ROW_COUNT] = {};
    int m_coordinate[WALLPAPER_PLACEMENT_ROW_COUNT] = {};

    // Adds every picture of the folder and of its subfolders, depth first; a folder
    // already on the walk path (a link back up the tree) is not entered again.
    void AddFolderTree(LPCWSTR folder);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // The choosers and the image plug-ins; tests answer them without a person.
    virtual BOOL ChooseFolder(CString& path);
    virtual BOOL ChooseFile(LPCWSTR filter, CString& path);
    virtual bool PlugInAccepts(LPCWSTR path);

private:
    void ShowPlacementRow(int row);
    void StorePlacementRow(int row);
    void EnableForChangeType();
    void RefreshList();
    int ChangeType() const;
    bool UsePlugIn() const;
    void ScanFolder(const CString& folder, CWalkPathGuard& guard);
    void ChooseSinglePicture();
    void AddOneFile();
    void AddFolder();
    void RemoveSelected();
    void MoveCaretRow(int step);

    int m_shownRow = 0;
};
