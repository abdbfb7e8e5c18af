// The binary editor's commands on the data: search, replace, compare, copying as text
// and as bytes, pasting, writing typed values, jumping, selecting, and its settings.
#include "util/Formatting.h"
#include "util/Log.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/Settings.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/records/LocalMemory.h"
#include "app/settings/ViewerSettings.h"
#include "filer/FilerPane.h"
#include "res/BinaryDialogs.h"
#include "view/QvView.h"
#include "view/keys/KeySettings.h"
#include "view/binary/BinaryEditorUi.h"
#include "view/binary/BinaryJump.h"
#include "view/binary/BinaryHexText.h"
#include "view/binary/BinaryLines.h"
#include "view/ViewBusyGuard.h"
#include "viewers/binary/BinaryData.h"
#include "viewers/binary/BinaryEditorDialogs.h"
#include "viewers/binary/JumpLineDlg.h"
#include "res/ViewerToolDialogs.h"

#include <stdio.h>
#include <string.h>

namespace
{

// Room for one converted value; a value that does not fit is refused as invalid.
constexpr int kValueCapacity = 500;

// The pane and the caret drawn again after the data changed.
void RedrawBinary(CQvView& view, int pane)
{
    if (view.m_hWnd == nullptr)
        return;
    view.m_paneRedrawRequest[pane] = 1;
    view.DrawPane(pane);
    view.DrawBinaryPane(pane, 1);
    view.m_bCaretShown = 1;
}

struct ConvertedValue
{
    BYTE bytes[kValueCapacity];
    int length = 0;
};

bool Convert(LPCWSTR text, int kind, int isSigned, ConvertedValue& out)
{
    if (!ParseSearchBytes(text, out.bytes, kValueCapacity, out.length, kind, isSigned))
        return false;
    // A text is searched and written without the terminator the conversion adds.
    if (kind == BINVALUE_TEXT && out.length > 0 && out.bytes[out.length - 1] == 0)
        --out.length;
    return true;
}

// The selection's bytes: from the byte of the smaller nibble to the byte of the
// larger one, that one only when the larger nibble is odd. 0 without a selection.
LONGLONG SelectedBytes(const CBinaryData& data, LONGLONG* first)
{
    const BinarySelectionBand band = GetBinarySelectionBand(data);
    if (!band.shown)
        return 0;
    *first = band.lo / 2;
    return band.hi / 2 - band.lo / 2 + ((band.hi & 1) ? 1 : 0);
}

} // namespace

CString FormatBinaryHexText(CBinaryData& data, LONGLONG first, LONGLONG count)
{
    CString text;
    BYTE piece[30000];
    LONGLONG done = 0;
    while (done < count)
    {
        const LONGLONG want = count - done < 30000 ? count - done : 30000;
        const LONGLONG got = data.Read(piece, first + done, want);
        if (got <= 0)
            break;
        for (LONGLONG i = 0; i < got; ++i)
        {
            wchar_t cell[4];
            swprintf(cell, 4, L"%02X ", piece[i]);
            text += cell;
            if ((first + done + i) % 16 == 15)
                text += L"\r\n";
        }
        done += got;
    }
    return text;
}

int CQvView::SearchBinaryPane(int reverse)
{
    const int index = ActiveBinaryPane();
    if (index < 0)
        return 0;
    CBinaryData& data = *BinaryDataOf(index);
    const LONGLONG hit = data.SearchNext(reverse);
    if (hit < 0)
    {
        Tell(this, L"検索終了しました");
        return 1;
    }
    data.m_cursor = 2 * hit;
    data.ScrollToCursor(BinaryShownLines(index), 1);
    data.m_selAnchor = 2 * hit;
    data.m_selEnd = 2 * (hit + data.m_patternLength) - 1;
    data.m_extending = 0;
    data.m_selectionShown = 1;
    RedrawBinary(*this, index);
    return 1;
}

void CQvView::OnBinarySearch()
{
    const int index = ActiveBinaryPane();
    if (index < 0)
        return;
    CViewBusyGuard busy(*this);
    CBinarySearchDlg dialog(DialogOwner(this));
    dialog.m_searchOnly = 1;
    dialog.m_direction = m_binary.choices.direction;
    dialog.m_kind = m_binary.choices.kind;
    dialog.m_start = m_binary.choices.searchStart;
    dialog.m_signed = m_binary.choices.isSigned;
    if (g_BinaryEditorUi.runDialog(dialog, IDD_BINARY_SEARCH) != IDOK)
        return;
    m_binary.choices.direction = dialog.m_direction;
    m_binary.choices.kind = dialog.m_kind;
    m_binary.choices.searchStart = dialog.m_start;
    m_binary.choices.isSigned = dialog.m_signed;
    ConvertedValue value;
    if (!Convert(dialog.m_searchValue, dialog.m_kind, dialog.m_signed, value))
    {
        Tell(this, L"検索データが不正です");
        return;
    }
    CBinaryData& data = *BinaryDataOf(index);
    data.SetSearchData(value.bytes, value.length, dialog.m_start == 1 ? 0 : data.m_cursor / 2,
                       static_cast<DWORD>(dialog.m_direction == 1 ? 1 : 0));
    SearchBinaryPane(0);
}

void CQvView::OnBinaryReplace()
{
    const int index = ActiveBinaryPane();
    if (index < 0)
        return;
    CBinaryData& data = *BinaryDataOf(index);
    CBinarySearchDlg dialog(DialogOwner(this));
    dialog.m_searchOnly = 0;
    dialog.m_direction = m_binary.choices.direction;
    dialog.m_kind = m_binary.choices.kind;
    dialog.m_start = m_binary.choices.searchStart;
    dialog.m_signed = m_binary.choices.isSigned;
    if (g_BinaryEditorUi.runDialog(dialog, IDD_BINARY_SEARCH) == IDOK)
    {
        m_binary.choices.direction = dialog.m_direction;
        m_binary.choices.kind = dialog.m_kind;
        m_binary.choices.searchStart = dialog.m_start;
        m_binary.choices.isSigned = dialog.m_signed;
        ConvertedValue search, replacement;
        if (!Convert(dialog.m_searchValue, dialog.m_kind, dialog.m_signed, search))
        {
            Tell(this, L"検索データが不正です");
            return;
        }
        if (!Convert(dialog.m_replacement, dialog.m_kind, dialog.m_signed, replacement))
        {
            Tell(this, L"置換データが不正です");
            return;
        }
        data.SetSearchData(search.bytes, search.length, dialog.m_start == 1 ? 0 : data.m_cursor / 2,
                           static_cast<DWORD>(dialog.m_direction == 1 ? 1 : 0));
        long count = 0;
        bool all = false;
        for (;;)
        {
            const LONGLONG hit = data.SearchNext(0);
            if (hit < 0)
                break;
            data.m_cursor = 2 * hit;
            if (!all)
            {
                data.m_selAnchor = 2 * hit;
                data.m_selEnd = 2 * (hit + search.length) - 1;
                data.m_extending = 0;
                data.m_selectionShown = 1;
                data.ScrollToCursor(BinaryShownLines(index), 1);
                RedrawBinary(*this, index);
                CAskChangedDataDlg ask(DialogOwner(this));
                const INT_PTR answer = ask.DoModal();
                if (answer == IDCANCEL)
                    continue;
                if (answer == IDC_BIN_REPLACE_ALL)
                    all = true;
                else if (answer != IDOK)
                {
                    StartBinaryCursorTimer();
                    return;
                }
            }
            data.FillPattern(replacement.bytes, replacement.length, hit, hit + replacement.length);
            data.ScrollToCursor(BinaryShownLines(index), 1);
            if (!all)
                RedrawBinary(*this, index);
            ++count;
        }
        CString done;
        done.Format(L"%ld個のデータを変換しました", count);
        Tell(this, done);
    }
    data.ScrollToCursor(BinaryShownLines(index), 1);
    RedrawBinary(*this, index);
}

void CQvView::OnBinaryCompare()
{
    const int index = ActiveBinaryPane();
    if (index < 0)
        return;
    CViewBusyGuard busy(*this);
    CBinaryData& data = *BinaryDataOf(index);
    BinaryEditorChoices& c = m_binary.choices;
    CBinaryCmpDlg dialog(DialogOwner(this));
    dialog.m_signed = c.isSigned;
    dialog.m_editEnabled = c.editValueEnabled;
    dialog.m_compareEnabled = c.compareValueEnabled;
    dialog.m_differenceEnabled = c.differenceEnabled;
    dialog.m_direction = c.direction;
    dialog.m_start = c.searchStart;
    dialog.m_differ = c.searchDiffering;
    dialog.m_kind = c.kind;
    dialog.m_editFile = data.m_path;
    dialog.m_compareFile = c.comparePath;
    dialog.m_browseDirectory = g_Panes[index]->m_currentDir;
    if (g_BinaryEditorUi.runDialog(dialog, IDD_BINARY_COMPARE) != IDOK)
        return;
    c.isSigned = dialog.m_signed;
    c.editValueEnabled = dialog.m_editEnabled;
    c.compareValueEnabled = dialog.m_compareEnabled;
    c.direction = dialog.m_direction;
    c.searchStart = dialog.m_start;
    c.searchDiffering = dialog.m_differ;
    c.kind = dialog.m_kind;
    // A difference has a meaning only between numbers.
    if (dialog.m_kind < BINVALUE_BYTE)
        dialog.m_differenceEnabled = 0;
    c.differenceEnabled = dialog.m_differenceEnabled;
    ConvertedValue edit, other, difference;
    const struct
    {
        int enabled;
        const CString& text;
        ConvertedValue& value;
        LPCWSTR refusal;
    } values[] = {
        {dialog.m_editEnabled, dialog.m_editValue, edit, L"EditFileデータが不正です"},
        {dialog.m_compareEnabled, dialog.m_compareValue, other, L"比較対象データが不正です"},
        {dialog.m_differenceEnabled, dialog.m_difference, difference, L"差データが不正です"},
    };
    int length = -1;
    for (const auto& v : values)
    {
        if (!v.enabled)
            continue;
        if (!Convert(v.text, dialog.m_kind, dialog.m_signed, v.value))
        {
            Tell(this, v.refusal);
            return;
        }
        length = v.value.length;
    }
    if (length < 0)
    {
        if (dialog.m_differ)
            length = dialog.m_kind == BINVALUE_DWORD ? 4 : dialog.m_kind == BINVALUE_WORD ? 2 : 1;
        else
        {
            Tell(this, L"比較入力されたパラメータで検出できません");
            length = 0;
        }
    }
    for (const auto& v : values)
        if (v.enabled && v.value.length != length)
        {
            Tell(this, L"比較のためのデータの長さが違います");
            return;
        }
    data.SetSearchData(edit.bytes, edit.length, dialog.m_start == 1 ? 0 : data.m_cursor / 2,
                       static_cast<DWORD>(dialog.m_direction == 1 ? 1 : 0));
    if (!data.SetCompareData(dialog.m_compareFile, other.bytes, difference.bytes, dialog.m_editEnabled,
                             dialog.m_compareEnabled, dialog.m_differenceEnabled, dialog.m_differ,
                             static_cast<DWORD>(dialog.m_kind), static_cast<DWORD>(dialog.m_signed), length))
    {
        Tell(this, L"比較ファイルを開くのに失敗しました");
        return;
    }
    c.comparePath = dialog.m_compareFile;
    SearchBinaryPane(0);
}

void CQvView::OnBinaryCopyHex()
{
    const int index = ActiveBinaryPane();
    if (index < 0)
        return;
    CBinaryData& data = *BinaryDataOf(index);
    LONGLONG first = 0;
    const LONGLONG n = SelectedBytes(data, &first);
    if (n <= 0)
        return;
    CViewBusyGuard busy(*this);
    const LONGLONG characters = 3 * n + 2 * (n / 16) + 12;
    const SIZE_T bytes = static_cast<SIZE_T>((characters * 2 / 16 + 1) * 16);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    wchar_t* text = block != nullptr ? static_cast<wchar_t*>(GlobalLock(block)) : nullptr;
    if (text == nullptr)
    {
        if (block != nullptr)
            GlobalFree(block);
        Tell(this, L"メモリの確保に失敗しました");
        return;
    }
    const CString hex = FormatBinaryHexText(data, first, n);
    size_t length = static_cast<size_t>(hex.GetLength());
    if (length >= bytes / sizeof(wchar_t))
        length = bytes / sizeof(wchar_t) - 1;
    wmemcpy(text, hex.GetString(), length);
    text[length] = 0;
    GlobalUnlock(block);
    if (!SetClipboard(CF_UNICODETEXT, block))
        GlobalFree(block);
}

void CQvView::OnBinaryCopyData()
{
    const int index = ActiveBinaryPane();
    if (index < 0)
        return;
    CBinaryData& data = *BinaryDataOf(index);
    LONGLONG first = 0;
    const LONGLONG n = SelectedBytes(data, &first);
    if (n <= 0)
        return;
    BYTE* block = static_cast<BYTE*>(LocalAllocLocked(LMEM_MOVEABLE | LMEM_ZEROINIT, static_cast<SIZE_T>(n)));
    if (block == nullptr)
    {
        Tell(this, L"メモリの確保に失敗しました");
        return;
    }
    LocalFreeLocked(m_binary.clipboard.block);
    m_binary.clipboard.block = block;
    m_binary.clipboard.length = data.Read(block, first, n);
    const BinarySelectionBand band = GetBinarySelectionBand(data);
    data.m_selAnchor = data.m_selEnd = -1;
    data.m_selectionShown = 0;
    RedrawBinaryRange(index, -1, -1, band.lo, band.hi);
}

void CQvView::OnBinaryPasteData()
{
    const int index = ActiveBinaryPane();
    if (index < 0 || m_binary.clipboard.block == nullptr || m_binary.clipboard.length <= 0)
        return;
    CBinaryData& data = *BinaryDataOf(index);
    const LONGLONG at = data.m_cursor / 2;
    data.WriteBytes(m_binary.clipboard.block, m_binary.clipboard.length, at, at + m_binary.clipboard.length);
    MoveBinaryCursor(index, 2 * m_binary.clipboard.length);
    RedrawBinary(*this, index);
}

void CQvView::OnBinaryInputPaste()
{
    const int index = ActiveBinaryPane();
    if (index < 0)
        return;
    CViewBusyGuard busy(*this);
    CBinaryDataInputDlg dialog(DialogOwner(this));
    dialog.m_single = 1;
    dialog.m_kind = m_binary.choices.kind;
    dialog.m_signed = m_binary.choices.isSigned;
    if (g_BinaryEditorUi.runDialog(dialog, IDD_BINARY_INPUT) == IDOK)
    {
        m_binary.choices.kind = dialog.m_kind;
        m_binary.choices.isSigned = dialog.m_signed;
        ConvertedValue value;
        if (!Convert(dialog.m_value, dialog.m_kind, dialog.m_signed, value))
            Tell(this, L"入力データが不正です");
        else
        {
            CBinaryData& data = *BinaryDataOf(index);
            const LONGLONG at = data.m_cursor / 2;
            data.FillPattern(value.bytes, value.length, at, at + value.length);
            RedrawBinary(*this, index);
        }
    }
}

void CQvView::OnBinaryInputPasteLoop()
{
    const int index = ActiveBinaryPane();
    if (index < 0)
        return;
    CViewBusyGuard busy(*this);
    CBinaryDataInputDlg dialog(DialogOwner(this));
    dialog.m_single = 0;
    dialog.m_kind = m_binary.choices.kind;
    dialog.m_signed = m_binary.choices.isSigned;
    dialog.m_mode = m_binary.choices.inputMode;
    dialog.m_number = 1;
    if (g_BinaryEditorUi.runDialog(dialog, IDD_BINARY_INPUT) != IDOK)
        return;
    m_binary.choices.kind = dialog.m_kind;
    m_binary.choices.inputMode = dialog.m_mode;
    m_binary.choices.isSigned = dialog.m_signed;
    ConvertedValue value;
    if (!Convert(dialog.m_value, dialog.m_kind, dialog.m_signed, value))
    {
        Tell(this, L"入力データが不正です");
        return;
    }
    CBinaryData& data = *BinaryDataOf(index);
    const LONGLONG at = data.m_cursor / 2;
    const LONGLONG length = value.length;
    switch (dialog.m_mode)
    {
    case 0:
        if (dialog.m_number > 0)
            data.FillPattern(value.bytes, length, at, at + length * dialog.m_number);
        break;
    case 1:
        data.FillPattern(value.bytes, length, at, dialog.m_number);
        break;
    case 2: {
        const BinarySelectionBand band = GetBinarySelectionBand(data);
        if (band.shown && data.m_selAnchor != data.m_selEnd)
            data.FillPattern(value.bytes, length, band.lo / 2,
                             (band.hi & 1) ? (band.hi + 1) / 2 : band.hi / 2);
        break;
    }
    default:
        break;
    }
    RedrawBinary(*this, index);
}

// The jump dialog's answer: moves the cursor to (or by) the typed line; 0 and the
// message when the number is malformed.
static int ApplyBinaryJump(CQvView& view, LPCWSTR text)
{
    const int index = view.ActiveBinaryPane();
    if (index < 0)
        return 0;
    CBinaryData& data = *view.BinaryDataOf(index);
    LONGLONG delta = 0;
    if (!ComputeBinaryJumpDelta(text, view.m_binary.choices.hexNotation, view.m_binary.choices.jumpMode,
                                data.m_cursor, &delta))
    {
        Tell(&view, L"行数データが不正です");
        return 0;
    }
    view.MoveBinaryCursor(index, delta);
    return 1;
}

void CQvView::OnBinaryJumpLine()
{
    const int index = ActiveBinaryPane();
    if (index < 0)
        return;
    CViewBusyGuard busy(*this);
    CJumpLineDlg dialog(DialogOwner(this));
    dialog.m_notation = m_binary.choices.hexNotation ? 1 : 0;
    dialog.m_relative = m_binary.choices.jumpMode;
    if (g_BinaryEditorUi.runDialog(dialog, IDD_JUMP_LINE) == IDOK)
    {
        m_binary.choices.hexNotation = dialog.m_notation == 1 ? 1 : 0;
        m_binary.choices.jumpMode = dialog.m_relative == 1 ? 1 : 0;
        ApplyBinaryJump(*this, dialog.m_text);
    }
}

void CQvView::OnBinarySelectRange()
{
    const int index = ActiveBinaryPane();
    if (index < 0)
        return;
    CViewBusyGuard busy(*this);
    CBinaryData& data = *BinaryDataOf(index);
    CSelectRangeDlg dialog(DialogOwner(this));
    dialog.m_notation = m_binary.choices.hexNotation ? 1 : 0;
    CString at;
    at.Format(dialog.m_notation ? L"%I64x" : L"%I64d", data.m_cursor / 2);
    dialog.m_start = dialog.m_end = at;
    if (g_BinaryEditorUi.runDialog(dialog, IDD_SELECT_RANGE) != IDOK)
        return;
    m_binary.choices.hexNotation = dialog.m_notation == 1 ? 1 : 0;
    LONGLONG start = 0, end = 0;
    if (!ParseBinaryOffset(dialog.m_start, m_binary.choices.hexNotation, data.m_size, &start) ||
        !ParseBinaryOffset(dialog.m_end, m_binary.choices.hexNotation, data.m_size, &end))
    {
        Tell(this, L"範囲指定データが不正です");
        return;
    }
    const LONGLONG oldAnchor = data.m_selAnchor;
    const LONGLONG oldEnd = data.m_selEnd;
    data.m_selAnchor = 2 * start;
    data.m_selEnd = 2 * end + 1;
    data.m_extending = 0;
    data.m_selectionShown = 1;
    RedrawBinaryRange(index, data.m_selAnchor, data.m_selEnd, oldAnchor, oldEnd);
    DrawBinaryPane(index, 1);
}

void CQvView::OnBinarySelectAll()
{
    const int index = ActiveBinaryPane();
    if (index < 0)
        return;
    CBinaryData& data = *BinaryDataOf(index);
    const LONGLONG oldAnchor = data.m_selAnchor;
    const LONGLONG oldEnd = data.m_selEnd;
    data.m_selAnchor = 0;
    data.m_selEnd = 2 * data.m_size - 1;
    data.m_extending = 0;
    data.m_selectionShown = 1;
    RedrawBinaryRange(index, data.m_selAnchor, data.m_selEnd, oldAnchor, oldEnd);
    DrawBinaryPane(index, 1);
}

void CQvView::OnBinaryEditConfig()
{
    CViewBusyGuard busy(*this);
    CBinaryEditConfigDlg dialog(DialogOwner(this));
    dialog.m_scrollSpeed = g_BINARYSCROLLSPEED;
    dialog.m_blinkSpeed = g_BINARYSCURSORSPEED;
    dialog.m_scrollLines = static_cast<UINT>(g_BINARYSCROLLLINE);
    if (g_BinaryEditorUi.runDialog(dialog, IDD_BINARY_EDIT_CONFIG) == IDOK)
    {
        g_BINARYSCROLLSPEED = dialog.m_scrollSpeed;
        g_BINARYSCURSORSPEED = dialog.m_blinkSpeed;
        g_BINARYSCROLLLINE = static_cast<int>(dialog.m_scrollLines);
    }
}

void CQvView::OnBinaryColorConfig()
{
    CViewBusyGuard busy(*this);
    CBinaryColorDlg dialog(g_BinaryByteColors.data(), &g_BINARYUSERCOLOR, DialogOwner(this));
    g_BinaryEditorUi.runDialog(dialog, IDD_BINARY_COLOR);
    if (m_hWnd)
        Invalidate(FALSE);
}
