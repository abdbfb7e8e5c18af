#include "app/records/HistoryList.h"

#include "util/Globals.h"
#include "framework/FwLock.h"

int AddToHistoryList(CStringArray& list, int maximum, LPCWSTR entry)
{
    if (maximum == 0)
    {
        return 0;
    }
    // Completion handlers of worker dialogs add to these lists as well as the
    // interface thread; the mutex is re-entrant, so a caller may already hold it.
    CHandleLock lock(g_DataMutex);
    if (entry != nullptr && entry[0] != L'\0')
    {
        // Callers often hand back the text of one of the list's own items (the
        // combo box shows them): take it before that item is removed and freed.
        const CString text(entry);
        INT_PTR found = -1;
        for (INT_PTR i = 0; i < list.GetCount(); ++i)
        {
            if (list[i].CompareNoCase(text) == 0)
            {
                found = i;
                break;
            }
        }
        if (found > 0)
        {
            list.RemoveAt(found);
            list.InsertAt(0, text);
        }
        else if (found < 0)
        {
            list.InsertAt(0, text);
            if (list.GetCount() >= maximum)
            {
                list.RemoveAt(list.GetCount() - 1);
            }
        }
    }
    return (int)list.GetCount();
}
