// Typing to jump to a name: the incremental search collects the typed characters and
// keeps the cursor on the first name that begins with them; the easy search jumps to
// the next name beginning with the one character typed.
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "filer/IncrementalSearchState.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"

namespace
{

constexpr UINT kSearchableModes = PANE_MODE_FILER | PANE_MODE_ARCHIVE;
// A key that is consumed without adding a character.
constexpr wchar_t kNoCharacter = 0;

bool IsDown(int vk)
{
    return (GetKeyState(vk) & 0x8000) != 0;
}

// The search character of the key; false when the key is no search key at all.
bool SearchCharacterOf(UINT key, int isVirtualKey, wchar_t& out)
{
    out = kNoCharacter;
    if (!isVirtualKey)
    {
        // Characters that no file name holds (or that are path syntax) are swallowed,
        // so that typing them does not start a binding in the middle of a name.
        if (wcschr(L"\\\"'`/:;*|<>?", static_cast<wchar_t>(key)) != nullptr && key != 0)
            return true;
        if (key >= 32 && key <= 126)
        {
            out = static_cast<wchar_t>(key);
            return true;
        }
        return false;
    }
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        out = static_cast<wchar_t>(key);
    else if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        out = static_cast<wchar_t>(L'0' + (key - VK_NUMPAD0));
    else if (key == VK_SPACE)
        out = L' ';
    else if (key == VK_OEM_MINUS)
        out = L'-';
    else if (key == VK_OEM_PERIOD)
        out = L'.';
    else if (key == VK_OEM_3)
        out = L'@';
    else if (key == VK_OEM_4)
        out = L'[';
    else if (key == VK_OEM_6)
        out = L']';
    else if (key == VK_OEM_7)
        out = L'^';
    else if (key != VK_OEM_1 && key != VK_OEM_PLUS && key != VK_OEM_2 && key != VK_OEM_5)
        return false;
    return true;
}

// Whether a search in `mode` takes the key with the modifiers now held; `consumed`
// is set when the key is to be swallowed even without a match of the mode.
bool ModeTakesKey(int mode, int isVirtualKey, bool& consumed)
{
    bool shift = IsDown(VK_SHIFT);
    bool ctrl = IsDown(VK_CONTROL);
    if (!isVirtualKey)
    {
        if (mode == 4)
            return !ctrl;
        // A typed character of a letter key that a virtual-key mode already took.
        consumed = consumed || mode != 4;
        return false;
    }
    switch (mode)
    {
    case 1:
        return !shift && !ctrl;
    case 2:
        return shift && !ctrl;
    case 3:
        return ctrl && !shift;
    case 4:
        // Its character follows as a character message.
        if (!ctrl)
            consumed = true;
        return false;
    default:
        return false;
    }
}

CString UpperName(const CFileInfo& entry)
{
    CString name = entry.GetName();
    name.MakeUpper();
    return name;
}

} // namespace

void CQvView::ClearIncrementalSearch()
{
    g_IncrementalSearchText.Empty();
    if (g_IncrementalSearchMode != 0)
    {
        g_IncrementalSearchMode = 0;
        g_IncrementalSearchOn = FALSE;
        if (m_hWnd)
            DrawStatusLine(STATUS_PART_FULL);
    }
    g_IncrementalSearchOn = FALSE;
}

VIEW_COMMAND(SetIncrementalSearchMode)
{
    int index = view.GetActivePaneIndex();
    if (index < 0 || (g_Panes[index]->m_mode & kSearchableModes) == 0)
        return;
    if (g_EASYSEARCHMODE == value || (value == 4 && (g_EASYSEARCHMODE == 1 || g_EASYSEARCHMODE == 2)))
        g_EASYSEARCHMODE = 0;
    if (g_IncrementalSearchMode == value || value == 0)
    {
        view.ClearIncrementalSearch();
        return;
    }
    g_IncrementalSearchText.Empty();
    g_IncrementalSearchMode = value;
    g_IncrementalSearchOn = TRUE;
    if (view.m_hWnd)
        view.DrawStatusLine(STATUS_PART_FULL);
}

void CQvView::ToggleEasySearchMode(int mode)
{
    if (g_IncrementalSearchMode != 0 &&
        (g_IncrementalSearchMode == mode ||
         (mode == 4 && (g_IncrementalSearchMode == 1 || g_IncrementalSearchMode == 2))))
        ClearIncrementalSearch();
    g_EASYSEARCHMODE = g_EASYSEARCHMODE == mode ? 0 : mode;
    if (m_hWnd)
        DrawStatusLine(STATUS_PART_UPDATE);
}

namespace
{

// The first entry from the top whose name begins with the search text, or -1.
INT64 FindIncrementalMatch(CFilerPane& pane, const CString& text)
{
    CString upper = text;
    upper.MakeUpper();
    for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
        if (UpperName(pane.m_entries[i]).Left(upper.GetLength()) == upper)
            return i;
    return -1;
}

} // namespace

// Moves the cursor of the active pane to `found` with the redraws of a cursor jump.
static void JumpCursor(CQvView& view, int index, INT64 found)
{
    CFilerPane& pane = *g_Panes[index];
    if (view.m_hWnd)
        view.DrawCursorLine(index, 0);
    int scrolled = pane.MoveCursor(found - pane.m_cursor, FALSE);
    if (view.m_hWnd)
    {
        if (scrolled)
        {
            view.m_paneRedrawRequest[index] = 1;
            view.DrawPane(index);
        }
        view.DrawCursorLine(index, 1);
        view.DrawStatusLine(STATUS_PART_UPDATE);
    }
}

static void RunIncrementalSearch(CQvView& view, int index)
{
    INT64 found = FindIncrementalMatch(*g_Panes[index], g_IncrementalSearchText);
    if (found >= 0)
        JumpCursor(view, index, found);
    else if (view.m_hWnd)
        view.DrawStatusLine(STATUS_PART_SEARCH_TEXT);
}

void CQvView::BackIncrementalSearch()
{
    int index = GetActivePaneIndex();
    if (index < 0 || (g_Panes[index]->m_mode & kSearchableModes) == 0 || g_IncrementalSearchMode == 0)
        return;
    if (g_IncrementalSearchText.IsEmpty())
        return;
    g_IncrementalSearchText.Delete(g_IncrementalSearchText.GetLength() - 1);
    RunIncrementalSearch(*this, index);
}

int CQvView::IncrementalSearchKey(UINT key, int isVirtualKey)
{
    int index = GetActivePaneIndex();
    if (index < 0 || (g_Panes[index]->m_mode & kSearchableModes) == 0)
        return 0;
    if (m_bSearchModeSwitched)
    {
        // The key that switched a search on: its character message is not searched.
        // A later key press clears the flag before it is looked at here.
        m_bSearchModeSwitched = 0;
        if (!isVirtualKey)
            return 0;
    }
    wchar_t character = kNoCharacter;
    if (!SearchCharacterOf(key, isVirtualKey, character))
        return 0;
    bool consumed = false;
    if (g_IncrementalSearchMode != 0 && ModeTakesKey(g_IncrementalSearchMode, isVirtualKey, consumed))
    {
        if (character != kNoCharacter)
        {
            g_IncrementalSearchText += character;
            RunIncrementalSearch(*this, index);
        }
        return 1;
    }
    if (g_EASYSEARCHMODE != 0 && ModeTakesKey(g_EASYSEARCHMODE, isVirtualKey, consumed))
    {
        if (character != kNoCharacter)
        {
            CFilerPane& pane = *g_Panes[index];
            CString wanted(static_cast<wchar_t>(towupper(character)));
            INT_PTR count = pane.m_entries.GetSize();
            for (INT_PTR step = 1; step <= count; ++step)
            {
                INT_PTR i = static_cast<INT_PTR>((pane.m_cursor + step) % count);
                if (UpperName(pane.m_entries[i]).Left(1) == wanted)
                {
                    if (i != pane.m_cursor)
                        JumpCursor(*this, index, i);
                    break;
                }
            }
        }
        return 1;
    }
    return consumed ? 1 : 0;
}
