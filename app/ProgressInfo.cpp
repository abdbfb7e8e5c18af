#include "app/ProgressInfo.h"
#include <commctrl.h>

CProgressInfo::CProgressInfo()
    : ownerWindow(nullptr), userData(nullptr), progressCallback(nullptr), itemPercentCallback(nullptr),
      cancelFlag(0), parentInfo(nullptr)
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
        itemPercentCallback = nullptr;
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

INT_PTR CArrayRenameFileName::FindOld(LPCWSTR oldPath, int member) const
{
    for (INT_PTR i = 0; i < GetSize(); i++)
    {
        const CRenameFileName& file = GetAt(i);
        if (member >= 0 ? file.member == member : file.oldName.CompareNoCase(oldPath) == 0)
            return i;
    }
    return -1;
}

bool CArrayRenameFileName::IsInFolder(const CString& path, LPCWSTR folder)
{
    const int length = static_cast<int>(wcslen(folder));
    if (length == 0 || path.GetLength() < length || wcsncmp(path, folder, static_cast<size_t>(length)) != 0)
        return false;
    return path.GetLength() == length || path[length] == L'\\';
}

int CArrayRenameFileName::CanRename(LPCWSTR oldPath, LPCWSTR newPath, int member, BOOL folder) const
{
    INT_PTR self = -1;
    if (!folder)
    {
        self = FindOld(oldPath, member);
        if (self < 0)
            return 0;
    }
    bool any = self >= 0;
    for (INT_PTR i = 0; i < GetSize(); i++)
    {
        const CRenameFileName& file = GetAt(i);
        if (i == self || (folder && IsInFolder(file.oldName, oldPath)))
        {
            any = true;
            continue;
        }
        if (file.GetEffectiveName().CompareNoCase(newPath) == 0)
            return 0;
    }
    return any ? 1 : 0;
}

void CArrayRenameFileName::SetNewNameOf(LPCWSTR oldPath, LPCWSTR newPath, int member, BOOL folder)
{
    if (!folder)
    {
        const INT_PTR index = FindOld(oldPath, member);
        if (index >= 0)
            ElementAt(index).SetNewName(newPath);
        return;
    }
    const int length = static_cast<int>(wcslen(oldPath));
    for (INT_PTR i = 0; i < GetSize(); i++)
    {
        CRenameFileName& file = ElementAt(i);
        if (!IsInFolder(file.oldName, oldPath))
            continue;
        // A member renamed earlier in the batch keeps its new name below the new folder.
        const CString current =
            IsInFolder(file.GetEffectiveName(), oldPath) ? file.GetEffectiveName() : file.oldName;
        file.SetNewName(CString(newPath) + current.Mid(length));
    }
}

void CProgressInfo::SetDisplay(int index, LPCWSTR text, LONGLONG value)
{
    if (index < 0 || index >= PROGRESS_DISPLAY_COUNT)
        return;
    const CString copy(text != nullptr ? text : L"");
    CSectionLock lock(m_textLock);
    CString& field = m_displays.texts[index];
    if (m_displays.values[index] == value && field == copy)
        return;
    field = copy;
    m_displays.values[index] = value;
    m_displays.changed |= 1u << index;
}

void CProgressInfo::TakeDisplays(CProgressDisplays& out)
{
    CSectionLock lock(m_textLock);
    for (int index = 0; index < PROGRESS_DISPLAY_COUNT; ++index)
    {
        if (!m_displays.Has(index))
            continue;
        out.texts[index] = m_displays.texts[index];
        out.values[index] = m_displays.values[index];
    }
    out.changed = m_displays.changed;
    m_displays.changed = 0;
}

void ShowProgressDisplays(HWND dialog, const CProgressDisplays& displays, const ProgressDisplayControl* map,
                          int count)
{
    if (dialog == nullptr)
        return;
    for (int i = 0; i < count; ++i)
    {
        if (!displays.Has(map[i].display))
            continue;
        HWND control = GetDlgItem(dialog, map[i].control);
        if (control == nullptr)
            continue;
        if (map[i].kind == PROGRESS_SHOW_BAR)
            SendMessageW(control, PBM_SETPOS, (WPARAM)displays.values[map[i].display], 0);
        else
            SetWindowTextW(control, displays.texts[map[i].display]);
    }
}
