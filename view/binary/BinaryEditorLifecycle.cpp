// Starting and ending the binary editor in a pane, the save question on closing
// (the end command, quitting, the view's end, the layout change), saving, the change
// list, and the editor's menu commands and keywords.
#include "app/Settings.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/dialogs/TellAndAsk.h"
#include "filer/FilerPane.h"
#include "res/BinaryDialogs.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "view/binary/BinaryEditorUi.h"
#include "view/binary/BinaryLines.h"
#include "view/navigation/ReturnToListing.h"
#include "view/ViewBusyGuard.h"
#include "viewers/binary/BinaryData.h"
#include "viewers/text/TextBoxDlg.h"

#include <memory>
#include <new>
#include <optional>

namespace
{

// Kept for the life of the program: the text box remembers its place and size while
// it is hidden.
std::unique_ptr<CTextBoxDlg> g_textBox;

} // namespace

void CQvView::OnBinaryEditStart()
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF))
        return;
    CViewBusyGuard busy(*this);
    CFilerPane& pane = *g_Panes[index];
    const CFileInfo* entry = pane.GetCursorEntry();
    if (entry == nullptr || entry->IsDirectory() || entry->IsDots() || pane.m_binaryData != nullptr)
        return;
    CBinaryData* data = new (std::nothrow) CBinaryData;
    if (data == nullptr)
    {
        Tell(this, L"メモリが足りません");
        return;
    }
    if (!data->Open(entry->GetFullPath()))
    {
        delete data;
        Tell(this, L"ファイルを開くのに失敗しました");
        return;
    }
    pane.m_viewerEntry = *entry;
    pane.m_binaryData = data;
    pane.SetMode(0, PANE_MODE_BINARY, 0);
    UpdateMenuForMode();
    CalcLayout();
    if (m_hWnd)
    {
        m_paneRedrawRequest[index] = 1;
        DrawPane(index);
        DrawBinaryPane(index, 1);
    }
    m_bCaretShown = 1;
    UpdateAuxiliaryWindows();
}

int CQvView::CloseBinaryEditor(int index, UINT style)
{
    CFilerPane* pane = PaneAt(index);
    if (pane == nullptr || pane->m_binaryData == nullptr)
        return IDYES;
    CViewBusyGuard busy(*this);
    CBinaryData* data = pane->m_binaryData;
    const bool mayRefuse = (style & MB_TYPEMASK) == MB_YESNOCANCEL;
    int answer = IDYES;
    if (data->IsModified())
    {
        CString question;
        question.Format(L"%sは変更しています。保存しますか", data->m_path.GetString());
        bool save = false;
        if (mayRefuse)
        {
            const std::optional<bool> yes = AskYesNoCancel(this, question, L"ファイルの保存");
            if (!yes)
                return IDCANCEL;
            save = *yes;
        }
        else
            save = Ask(this, question, L"ファイルの保存", MessageBoxKind::YesNo);
        answer = save ? IDYES : IDNO;
        if (save)
        {
            CString failed;
            failed.Format(L"%sの保存に失敗しました", data->m_path.GetString());
            while (!data->Save())
            {
                // The end command keeps the editor and its edits, as after Cancel; where
                // closing cannot be refused the user may try again before they are lost.
                if (mayRefuse)
                {
                    Tell(this, failed);
                    return IDCANCEL;
                }
                if (!Ask(this, failed, nullptr, MessageBoxKind::RetryCancel))
                    break;
            }
        }
        SyncOtherBinaryPane(index);
    }
    data->Close();
    delete data;
    pane->m_binaryData = nullptr;
    return answer;
}

void CQvView::QuerySaveBinaryPanes()
{
    for (int index = 0; index < 2; ++index)
        if (g_Panes[index] != nullptr && g_Panes[index]->m_mode == PANE_MODE_BINARY &&
            g_Panes[index]->m_binaryData != nullptr)
            CloseBinaryEditor(index, MB_YESNO);
}

void CQvView::OnBinaryEditEnd()
{
    const int index = ActiveBinaryPane();
    if (index < 0)
        return;
    if (CloseBinaryEditor(index, MB_YESNOCANCEL) == IDCANCEL)
        return;
    if (m_hWnd)
        KillTimer(VIEW_TIMER_BINARY_CURSOR);
    ReturnPaneToListing(*g_Panes[index], false);
    UpdateMenuForMode();
    UpdateAuxiliaryWindows();
    CalcLayout();
    if (m_hWnd)
        Invalidate(FALSE);
}

void CQvView::OnBinarySave()
{
    const int index = ActiveBinaryPane();
    if (index < 0)
        return;
    CViewBusyGuard busy(*this);
    CBinaryData& data = *BinaryDataOf(index);
    if (data.IsModified() && !data.Save())
    {
        CString failed;
        failed.Format(L"%sの保存に失敗しました", data.m_path.GetString());
        Tell(this, failed);
    }
    SyncOtherBinaryPane(index);
}

void CQvView::OnBinaryWriteChangeList()
{
    const int index = ActiveBinaryPane();
    if (index < 0)
        return;
    CViewBusyGuard busy(*this);
    CString path;
    if (g_BinaryEditorUi.askSavePath(DialogOwner(this), path) && !BinaryDataOf(index)->WriteChangeList(path))
        Tell(this, L"変更箇所出力ファイルの書き込みに失敗しました");
}

// ---- The keywords of the binary editor's command table --------------------------------

// The selection steps of the "@Select" keywords, as nibble deltas for
// SelectBinaryMove: 0 left, 1 right, 2 up, 3 down, 4 a page up, 5 a page down.
VIEW_COMMAND(MoveBinarySelection)
{
    const int index = view.ActiveBinaryPane();
    if (index < 0)
        return;
    const LONGLONG page = kBinaryNibblesPerLine * view.BinaryShownLines(index);
    const LONGLONG deltas[] = {-1, 1, -kBinaryNibblesPerLine, kBinaryNibblesPerLine, -page, page};
    if (value >= 0 && value < 6)
        view.SelectBinaryMove(deltas[value]);
}

VIEW_COMMAND(OpenTextBox)
{
    if (!g_textBox)
        g_textBox = std::make_unique<CTextBoxDlg>();
    g_textBox->ShowBox(DialogOwner(&view));
}

void CQvView::CloseTextBox()
{
    if (!g_textBox)
        return;
    // The window goes first: its destruction writes the note file, which the object's
    // destructor alone would no longer reach through the box's own handlers.
    if (g_textBox->m_hWnd != nullptr)
        g_textBox->DestroyWindow();
    g_textBox.reset();
}
