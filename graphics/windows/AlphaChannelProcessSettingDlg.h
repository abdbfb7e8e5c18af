// Edits the ten alpha-channel processing rows that "@AlphaChannelType1" to
// "@AlphaChannelType10" choose: per row its mode and its colour.
#pragma once
#include "app/records/SelectColorButton.h"
#include "app/settings/GraphicSettings.h"
#include "framework/FwDialog.h"

class CAlphaChannelProcessSettingDlg : public CDialog
{
public:
    explicit CAlphaChannelProcessSettingDlg(CWnd* parent = nullptr);

    // The working copy; it replaces g_AlphaChannelTypes on OK only.
    std::array<CAlphaChannelRow, ALPHA_CHANNEL_ROW_COUNT> m_rows;
    int m_editedRow = 0;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;

private:
    // The row's list line written again, and selected.
    void ReplaceRowText(int row);
    void ShowEditedRow();
    CSelectColorButton m_colourButton;
};
