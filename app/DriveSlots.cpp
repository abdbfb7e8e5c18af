#include "app/DriveSlots.h"
#include "app/Settings.h"
#include "app/Directories.h"

CString* GetDriveLetterSlot(wchar_t letter, int paneIndex)
{
    if (letter >= L'a' && letter <= L'z')
    {
        letter = (wchar_t)(letter - L'a' + L'A');
    }
    if (letter < L'A' || letter > L'Z')
    {
        return nullptr;
    }
    const int set = (paneIndex == 1 && g_USE_EACH_LAST_DIRECTORY) ? 1 : 0;
    return &g_DriveLastDirs[set][letter - L'A'];
}
