#include "archivefront/dialogs/DestinationList.h"

#include "util/Globals.h"
#include "app/settings/FileOpSettings.h"
#include "filer/FilerPane.h"
#include "framework/FwLock.h"

void AddPaneFoldersToCombo(HWND combo, int paneIndex)
{
    if (paneIndex < 0 || paneIndex > 1 || g_Panes[paneIndex] == nullptr)
        return;
    const CFilerPane* other = g_Panes[1 - paneIndex];
    if (other != nullptr && !(other->m_position & PANE_POS_HIDDEN) && other->m_mode == PANE_MODE_FILER &&
        other->m_subMode == PANE_SUB_DIRECTORY)
        return;
    CFilerPane& pane = *g_Panes[paneIndex];
    for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
    {
        const CFileInfo& entry = pane.m_entries[i];
        if (!entry.IsDirectory() || entry.m_mark || (pane.m_markedCount == 0 && i == pane.m_cursor))
            continue;
        if (lstrcmpW(entry.GetName(), L".") == 0 || lstrcmpW(entry.GetName(), L"..") == 0)
            continue;
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.GetName()));
    }
}

void AddDestinationHistoryToCombo(HWND combo)
{
    CHandleLock lock(g_DataMutex);
    for (INT_PTR i = 0; i < g_SelectDirHistory.GetSize(); ++i)
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(g_SelectDirHistory[i].GetString()));
}
