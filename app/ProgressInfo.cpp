#include "app/ProgressInfo.h"

CProgressInfo::CProgressInfo()
    : ownerWindow(nullptr), userData(nullptr), progressCallback(nullptr), cancelFlag(0), parentInfo(nullptr)
{
    Clear(TRUE);
}

void CProgressInfo::Clear(BOOL full)
{
    cancelFlag = 0;
    totalAmount = 0;
    doneAmount = 0;
    currentAmount = 0;
    barBase = 0;
    barSpan = 100;
    extraValue1 = 0;
    extraValue2 = 0;
    extraValue3 = 0;
    {
        CSectionLock lock(m_textLock);
        mainText.Empty();
        phaseText.Empty();
    }
    eventMask = (UINT)-1;
    parentInfo = nullptr;
    if (full)
    {
        userData = nullptr;
        progressCallback = nullptr;
        ownerWindow = nullptr;
    }
}

void CProgressInfo::Reset()
{
    Clear(TRUE);
}

void CProgressInfo::Notify(UINT events)
{
    if (progressCallback != nullptr && (events & eventMask) != 0)
    {
        progressCallback(events, this);
    }
}

int CProgressInfo::GetPosition() const
{
    const LONGLONG end = barBase + barSpan;
    if (totalAmount == 0)
    {
        return (int)end;
    }
    LONGLONG position = barBase + (doneAmount + currentAmount) * barSpan / totalAmount;
    if (position > end)
    {
        position = end;
    }
    return (int)position;
}

BOOL CProgressInfo::IsCancelled() const
{
    for (const CProgressInfo* info = this; info != nullptr; info = info->parentInfo)
    {
        if (info->cancelFlag != 0)
        {
            return TRUE;
        }
    }
    return FALSE;
}

void CProgressInfo::SetText(CString& field, LPCWSTR text)
{
    // The block is made before the lock, so that the hold is only the exchange of
    // blocks and a reader waits no longer than that.
    const CString copy(text);
    CSectionLock lock(m_textLock);
    field = copy;
}

CString CProgressInfo::GetText(const CString& field) const
{
    CSectionLock lock(m_textLock);
    return field;
}

void CProgressInfo::SetMainText(LPCWSTR text)
{
    SetText(mainText, text);
}

CString CProgressInfo::GetMainText() const
{
    return GetText(mainText);
}

void CProgressInfo::SetPhaseText(LPCWSTR text)
{
    SetText(phaseText, text);
}

CString CProgressInfo::GetPhaseText() const
{
    return GetText(phaseText);
}

void CProgressInfo::SetBaseFolder(LPCWSTR folder)
{
    SetText(baseFolder, folder);
}

CString CProgressInfo::GetBaseFolder() const
{
    return GetText(baseFolder);
}

void CRenameFileName::SetNewName(LPCWSTR name)
{
    newName = name;
    hasNewName = 1;
}

INT_PTR CArrayRenameFileName::FindOld(LPCWSTR oldPath) const
{
    for (INT_PTR i = 0; i < GetSize(); i++)
    {
        if (GetAt(i).oldName.CompareNoCase(oldPath) == 0)
        {
            return i;
        }
    }
    return -1;
}

int CArrayRenameFileName::CanRename(LPCWSTR oldPath, LPCWSTR newPath) const
{
    const INT_PTR self = FindOld(oldPath);
    if (self < 0)
    {
        return 0;
    }
    for (INT_PTR i = 0; i < GetSize(); i++)
    {
        if (i != self && GetAt(i).GetEffectiveName().CompareNoCase(newPath) == 0)
        {
            return 0;
        }
    }
    return 1;
}

void CArrayRenameFileName::SetNewNameOf(LPCWSTR oldPath, LPCWSTR newPath)
{
    const INT_PTR index = FindOld(oldPath);
    if (index >= 0)
    {
        ElementAt(index).SetNewName(newPath);
    }
}
