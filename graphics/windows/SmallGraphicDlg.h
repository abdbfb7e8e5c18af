// The small picture window: it follows the active filer pane's cursor and shows a
// shrunken picture of the file under it, with an optional line of picture facts.
// The picture is read 100 ms after the last change, so that a quick run of the
// cursor over many files reads only the file it stops on.
#pragma once
#include "framework/FwDialog.h"

class CPictureData;

// The size a picture of width x height takes in a square of side S: never
// enlarged, the aspect kept (integer division). False for an empty picture.
bool FitSmallPicture(int side, int width, int height, int* fittedWidth, int* fittedHeight);

class CSmallGraphicDlg : public CDialog
{
public:
    // shownFlag: the view's option, cleared when the window is closed; position:
    // the view's copy of the window's place (may be null).
    CSmallGraphicDlg(int* shownFlag, POINT* position);
    ~CSmallGraphicDlg() override;

    BOOL Create(CWnd* parent);
    // The file under the cursor (name and directory), or no name for a directory or
    // an empty pane.
    void SetFile(LPCWSTR name, LPCWSTR directory);
    // Reads the current file through the image plug-ins: 1 with a picture built.
    int LoadThumbnail();

    int m_loaded = 0;
    int m_side = 0;
    CString m_currentPath;
    CString m_info;
    // How many loads the timer started (for tests).
    int m_loadCount = 0;

    static constexpr UINT_PTR kLoadTimer = 11;
    static constexpr COLORREF kGrey = 0x888888;

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override {}
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int BuildThumbnail(CPictureData& picture);
    void ApplyInfoLine();
    void Draw(HDC dc);
    RECT PictureArea() const;

    int* m_shownFlag;
    POINT* m_position;
    HBITMAP m_bitmap = nullptr;
    int m_infoShown = 1;
    int m_infoTop = 0;
};
