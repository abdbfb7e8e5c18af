#include "app/SettingNames.h"

namespace
{

struct ColorNameRow
{
    COLORREF color;
    LPCWSTR name;
};

const ColorNameRow kColorNames[] = {
    {0x000000, L"ブラック"},         {0x808080, L"グレー"},
    {0xC0C0C0, L"シルバー"},         {0xFFFFFF, L"ホワイト"},
    {0xFF0000, L"ブルー"},           {0x800000, L"ネイビー"},
    {0x808000, L"ティール(青緑色)"}, {0x008000, L"グリーン"},
    {0x00FF00, L"ライム"},           {0xFFFF00, L"アクア"},
    {0x00FFFF, L"イエロー"},         {0x0000FF, L"レッド"},
    {0xFF00FF, L"フクシア(赤紫色)"}, {0x008080, L"オリーブ(暗い緑みの黄色)"},
    {0x800080, L"パープル"},         {0x000080, L"マルーン(赤と黒の中間色)"},
    {0xD3D1CE, L"スカイグレー"},
};

// "WHELL_UP" is the key the settings file has always used.
const LPCWSTR kMouseActionNames[] = {L"LEFT_CLICK",         L"RIGHT_CLICK", L"LEFT_DOUBLE_CLICK",
                                     L"RIGHT_DOUBLE_CLICK", L"WHELL_UP",    L"WHEEL_DOWN"};

const LPCWSTR kModifierLetters[] = {L"N", L"S", L"C", L"A"};

} // namespace

CString GetColorName(COLORREF color)
{
    for (const ColorNameRow& row : kColorNames)
    {
        if (row.color == color)
        {
            return row.name;
        }
    }
    CString text;
    text.Format(L"RGB(0x%02x, 0x%02x, 0x%02x)", GetRValue(color), GetGValue(color), GetBValue(color));
    return text;
}

CString GetMouseActionName(int action)
{
    if (action < 0 || action >= (int)(sizeof(kMouseActionNames) / sizeof(kMouseActionNames[0])))
    {
        return CString();
    }
    return kMouseActionNames[action];
}

CString GetModifierLetter(int modifier)
{
    if (modifier < 0 || modifier >= (int)(sizeof(kModifierLetters) / sizeof(kModifierLetters[0])))
    {
        return CString();
    }
    return kModifierLetters[modifier];
}
