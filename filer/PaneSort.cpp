// The pane's side of sorting and of taking over search results.
#include "app/NameSortKey.h"
#include "filer/FilerPane.h"

#include "util/PathHelpers.h"

#include <cstdlib>

namespace
{
// The order of the running network sort (0 ascending, 1 descending).
int s_networkOrder = 0;

int __cdecl CompareNetResourcesForSort(const void* left, const void* right)
{
    const CNetResourceData& a = *static_cast<const CNetResourceData*>(left);
    const CNetResourceData& b = *static_cast<const CNetResourceData*>(right);
    const int sign = s_networkOrder ? -1 : 1;
    switch (CompareNamesForSort(a.m_name, b.m_name))
    {
    case 1:
        return -sign;
    case 3:
        return sign;
    default:
        return 0;
    }
}

void SortNetworkRows(CArray<CNetResourceData>& rows)
{
    INT_PTR first = 0;
    INT_PTR end = rows.GetSize();
    if (end > first && rows[first].m_name == L"..")
        ++first;
    if (end > first && rows[end - 1].m_name.IsEmpty())
        --end;
    if (end - first < 2)
        return;
    s_networkOrder = g_SortKeys.directoryOrder;
    // Whole rows are moved by qsort: a row is a relocatable string and a number.
    qsort(static_cast<void*>(rows.GetData() + first), static_cast<size_t>(end - first),
          sizeof(CNetResourceData), CompareNetResourcesForSort);
}
} // namespace

void CFilerPane::SortEntries()
{
    ResetTargetIteration();
    m_bNameWidthComputed = FALSE;
    ComputeNameColumnWidth();
    m_dotCount = 0;

    if (m_mode == PANE_MODE_NETWORK)
    {
        CSortSetting fixed;
        ResetSortSetting(fixed);
        fixed.m_fileKey = SORT_KEY_NAME;
        fixed.m_secondKey = 0;
        fixed.m_directoryKey = 0;
        BuildSortKeys(fixed, TRUE);
        SortNetworkRows(m_networkList);
        return;
    }
    const CSortSetting& setting = m_workingSort.IsSet() ? m_workingSort : m_sortSetting;
    m_dotCount = SortFileEntries(m_entries, setting);
}

int CFilerPane::MergeFindResults(BOOL incremental, BOOL forced)
{
    return MergeFindResultsInto(m_findResults, m_entries, m_wildcard, m_bFilterDirectories, incremental,
                                forced,
                                [this](int running, CFileInfo* stored, const WIN32_FIND_DATAW& found) {
                                    return CompareReadEntry(running, stored, found);
                                });
}
