#include "app/KeywordTexts.h"
#include "app/DisplayModeSlots.h"

#include <cwchar>

DisplayModeSlot g_DisplayModeSlots[10];

int GetDisplaySetCommandText(LPCWSTR keyword, CString& out)
{
    static const wchar_t prefix[] = L"@Displayset";
    const size_t prefixLength = wcslen(prefix);
    if (keyword == nullptr || wcsncmp(keyword, prefix, prefixLength) != 0)
        return 0;
    LPCWSTR number = keyword + prefixLength;
    if (number[0] < L'0' || number[0] > L'9' || number[1] != 0)
        return 0;
    const DisplayModeSlot& slot = g_DisplayModeSlots[number[0] - L'0'];
    if (slot.bitsPerPixel == 0 || slot.width == 0 || slot.height == 0)
        return 0;
    out.Format(L"%ldX%ld %ldBits Color", static_cast<long>(slot.width), static_cast<long>(slot.height),
               static_cast<long>(slot.bitsPerPixel));
    return 1;
}
