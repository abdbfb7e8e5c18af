#include "filer/RememberedLists.h"

#include "util/Globals.h"
#include "app/Settings.h"
#include "app/settings/FileOpSettings.h"
#include "app/settings/FilerSettings.h"
#include "framework/FwLock.h"

namespace
{
// The same bound the settings reader keeps.
constexpr int kMaxCursorPositions = 10000;
} // namespace

void TrimSelectDirHistory(int count)
{
    if (count < 0)
        count = 0;
    CHandleLock lock(g_DataMutex);
    if (g_SelectDirHistory.GetSize() > count)
        g_SelectDirHistory.SetSize(count);
}

void ApplyCursorPositionListSize(int previousSize)
{
    if (g_SAVECURSORPOSITION && g_SUMSAVECURPOS != 0)
    {
        // The settings file may hold any number; the list is bounded like the reader's.
        int size = g_SUMSAVECURPOS < 0 ? 0 : g_SUMSAVECURPOS;
        if (size > kMaxCursorPositions)
            size = kMaxCursorPositions;
        if (size != previousSize)
            g_SaveCursorPositions.SetSize(size);
    }
    else
        g_SaveCursorPositions.RemoveAll();
}
