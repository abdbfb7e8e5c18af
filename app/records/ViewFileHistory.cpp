#include "app/records/ViewFileHistory.h"

#include "util/PathHelpers.h"

CArrayViewFile g_ViewHistory;

void CArrayViewFile::Add(LPCWSTR name, LPCWSTR folder, LPCWSTR archive)
{
    CViewFile entry;
    entry.m_name = name;
    entry.m_folder = folder;
    entry.m_archive = archive;
    for (INT_PTR i = 0; i < GetCount(); ++i)
    {
        const CViewFile& held = GetAt(i);
        if (held.m_name.CompareNoCase(entry.m_name) == 0 &&
            held.m_folder.CompareNoCase(entry.m_folder) == 0 &&
            held.m_archive.CompareNoCase(entry.m_archive) == 0)
        {
            // The record itself moves up, as first written.
            const CViewFile moved = held;
            RemoveAt(i);
            InsertAt(0, moved);
            return;
        }
    }
    if (GetCount() >= MAX_ENTRIES)
    {
        RemoveAt(MAX_ENTRIES - 1, GetCount() - (MAX_ENTRIES - 1));
    }
    InsertAt(0, entry);
}

void CArrayViewFile::AddPath(LPCWSTR path, LPCWSTR archive)
{
    CString folder, name;
    SplitPath(path, &folder, &name);
    Add(name, folder, archive != nullptr ? archive : L"");
}
