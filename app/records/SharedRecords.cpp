#include "app/records/SharedRecords.h"

#include <utility>

void CArrayCommonFileEx::AddUnique(LPCWSTR name)
{
    for (INT_PTR i = 0; i < GetCount(); ++i)
    {
        if (GetAt(i).m_name.CompareNoCase(name) == 0)
        {
            return;
        }
    }
    CCommonFile file;
    file.m_name = name;
    Add(file);
}

void CArrayCommonFileEx::Swap(INT_PTR i, INT_PTR j)
{
    if (i < 0 || j < 0 || i >= GetCount() || j >= GetCount())
    {
        return;
    }
    std::swap(GetAt(i), GetAt(j));
}
