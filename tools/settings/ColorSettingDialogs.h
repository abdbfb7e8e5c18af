// The colour dialogs of the filer: the display colour set and the colours per file
// extension. Both edit copies and write them back on OK only.
#pragma once
#include <windows.h>
#include "app/records/SelectColorButton.h"
#include "app/settings/ViewSettings.h"
#include "framework/FwDialog.h"

#include <array>

// The eighteen colours the colour dialog edits: a button and its index in the set.
struct ColorButtonRow
{
    int controlId;
    int colorIndex;
};
constexpr int kColorButtonCount = 18;
extern const ColorButtonRow g_ColorButtonRows[kColorButtonCount];

class CAttColorDlg : public CDialog
{
public:
    using ColorSet = std::array<DWORD, DISPLAY_COLOR_COUNT>;
    // colors and neglectAttributes are written on OK only.
    CAttColorDlg(ColorSet& colors, int& neglectAttributes, CWnd* parent = nullptr);
    CSelectColorButton& Button(int row) { return m_buttons[size_t(row)]; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;

private:
    ColorSet& m_colors;
    int& m_neglectAttributes;
    std::array<CSelectColorButton, kColorButtonCount> m_buttons;
};

class CFileKindColorDlg : public CDialog
{
public:
    static constexpr int kRowsPerPage = 10;
    explicit CFileKindColorDlg(CWnd* parent = nullptr);
    int FirstShown() const { return m_first; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;

private:
    void ShowPage();
    void StorePage();
    void Turn(int step);

    std::array<KindColorEntry, kKindColorCount> m_entries;
    std::array<CSelectColorButton, kRowsPerPage> m_buttons;
    int m_first = 0;
};
