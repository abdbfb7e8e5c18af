// The picture list window beside the graphic viewer: the pictures the viewer walks
// through and, while it is inside an archive, that archive's members. Choosing a row
// asks the view to show it. Both lists are virtual: they hold a count and ask for
// each row's text when they draw it.
#pragma once
#include "framework/FwDialog.h"

class CArrayFileInfo;
class IPaneArchive;

// Where the rows come from.
enum
{
    GRAPHIC_LIST_PICTURES = 64,
    GRAPHIC_LIST_ARCHIVE_PANE = 2048,
};

// The chosen rows, read by the view after the request.
struct GraphicListChoice
{
    int picture = -1;
    int member = -1;
};

class CGraphicListDlg : public CDialog
{
public:
    // shownFlag: the view's option, cleared when the window is closed; owner: the
    // view window that receives the request (WM_COMMAND 1521).
    CGraphicListDlg(int* shownFlag, HWND owner);

    BOOL Create(CWnd* parent);
    // Pictures of a filer listing (borrowed): the list shows count rows.
    void SetPictureList(int count, const CArrayFileInfo* list);
    // The members of an archive listing pane that the pane's selection covers
    // (cursorOnly: the cursor entry's alone).
    void SetArchivePaneItems(int pane, int cursorOnly);
    // The archive the viewer is inside (borrowed), or null.
    void SetArchive(IPaneArchive* archive);
    IPaneArchive* GetArchive() const { return m_archive; }
    void SelectPicture(int index);
    void SelectMember(int index);
    void SetNotifySuppressed(int suppressed) { m_suppressed = suppressed; }

    GraphicListChoice m_choice;
    int m_lastMember = -1;
    int m_kind = GRAPHIC_LIST_PICTURES;
    // The picture count the owner last gave (the owner's bookkeeping).
    INT_PTR m_shownCount = -1;
    // The archive path whose members the owner last gave (the owner's bookkeeping).
    CString m_shownArchivePath;

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override {}
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void RequestPicture();
    void RowText(int list, int row, int column, CString& out);
    void OnSize();
    HWND List(int id) const { return ::GetDlgItem(m_hWnd, id); }

    int* m_shownFlag;
    HWND m_owner;
    const CArrayFileInfo* m_pictures = nullptr;
    IPaneArchive* m_archive = nullptr;
    int m_pane = -1;
    int m_cursorOnly = 0;
    int m_suppressed = 0;
    int m_initialised = 0;
    RECT m_initialWindow = {};
    RECT m_initialPictures = {};
    RECT m_initialMembers = {};
};
