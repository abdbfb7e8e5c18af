#include "app/KeywordBuilders.h"
#include "util/Formatting.h"
#include "app/settings/FilerSettings.h"
#include "app/settings/MediaSettings.h"

#include <cwchar>

CString g_LineWidthCommandNames[LINE_WIDTH_COMMAND_COUNT];

int GetMakeNewFileCommandText(LPCWSTR keyword, CString& out)
{
    static const wchar_t prefix[] = L"@Makenewfile";
    const size_t prefixLength = wcslen(prefix);
    if (keyword == nullptr || wcsncmp(keyword, prefix, prefixLength) != 0)
        return 0;
    LPCWSTR digits = keyword + prefixLength;
    INT_PTR number = 0;
    size_t length = 0;
    for (; digits[length] != 0; ++length)
    {
        // More digits than any list can count would overflow the number.
        if (digits[length] < L'0' || digits[length] > L'9' || length >= 9)
            return 0;
        number = number * 10 + (digits[length] - L'0');
    }
    if (number < 1 || number > g_MakeNewFileKinds.GetSize())
        return 0;
    // Only the spelling the menus and bindings use: "@Makenewfile1" and
    // "@Makenewfile001" name no command.
    CString canonical;
    canonical.Format(L"%02d", static_cast<int>(number));
    if (canonical != digits)
        return 0;
    const CString& name = g_MakeNewFileKinds[number - 1].m_displayName;
    if (name.IsEmpty())
        out.Format(L"新規ファイル作成%02d", static_cast<int>(number));
    else
        out.Format(L"新規%s作成", static_cast<LPCWSTR>(name));
    return 1;
}

void SetLineWidthCommandNames(const int (&lineWidths)[LINE_WIDTH_COMMAND_COUNT])
{
    for (int i = 0; i < LINE_WIDTH_COMMAND_COUNT; ++i)
        g_LineWidthCommandNames[i].Format(L"１行の文字数を%d文字に設定", lineWidths[i]);
}

LPCWSTR GetLineWidthCommandName(UINT menuId)
{
    if (menuId < LINE_WIDTH_FIRST_MENU_ID || menuId >= LINE_WIDTH_FIRST_MENU_ID + LINE_WIDTH_COMMAND_COUNT)
        return nullptr;
    return g_LineWidthCommandNames[menuId - LINE_WIDTH_FIRST_MENU_ID];
}

KeywordHooks g_KeywordHooks = {nullptr};

namespace
{

// The text of an assigned slot; `acts` tells whether the slot's command does anything.
CString FormatScsiSlot(int adapter, int target, int unit, int closeFlag, BOOL& acts)
{
    CString text;
    CString label;
    BOOL ejectOnly = FALSE;
    acts = FALSE;
    if (g_KeywordHooks.lookupScsiDevice &&
        g_KeywordHooks.lookupScsiDevice(adapter, target, unit, label, ejectOnly))
    {
        text.Format(closeFlag ? L"%s Close" : (ejectOnly ? L"%s Eject" : L"%s Open"),
                    static_cast<LPCWSTR>(label));
        // A unit that only ejects has no tray to pull back in.
        acts = !(closeFlag && ejectOnly);
    }
    else
        text.Format(closeFlag ? L"#%01X:%01X:%01X Close" : L"#%01X:%01X:%01X Open", adapter, target, unit);
    return text;
}

} // namespace

int GetScsiCommandText(LPCWSTR keyword, CString& out)
{
    out.Empty();
    static const wchar_t prefix[] = L"@Scsi";
    const size_t prefixLength = wcslen(prefix);
    if (keyword == nullptr || wcsncmp(keyword, prefix, prefixLength) != 0)
        return 0;
    LPCWSTR digits = keyword + prefixLength;
    if (wcslen(digits) != 2 || digits[0] != L'0' || digits[1] < L'1' || digits[1] > L'9')
        return 0;
    int slot = digits[1] - L'1';
    int adapter, target, unit, closeFlag;
    if (!ParseScsiSetting(adapter, target, unit, closeFlag, g_ScsiCommandSettings[slot]))
        return 0;
    BOOL acts = FALSE;
    out = FormatScsiSlot(adapter, target, unit, closeFlag, acts);
    return 1;
}

BOOL GetScsiMenuItem(int slot, CString& text)
{
    int adapter, target, unit, closeFlag;
    if (slot < 1 || slot > SCSI_COMMAND_COUNT ||
        !ParseScsiSetting(adapter, target, unit, closeFlag, g_ScsiCommandSettings[slot - 1]))
    {
        text = L"未登録";
        return FALSE;
    }
    BOOL acts = FALSE;
    text = FormatScsiSlot(adapter, target, unit, closeFlag, acts);
    return acts;
}
