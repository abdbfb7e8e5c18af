// The drive list of a pane: one row per drive letter, the virtual drives, the last
// network share and the network computers.
#include "app/Directories.h"
#include "app/DriveSeam.h"
#include "app/Drives.h"
#include "util/Formatting.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "filer/FilerPane.h"

namespace
{

// Display columns of the text: a character that takes two bytes in the system code
// page takes two columns, so that labels of double-byte characters line up.
int DisplayColumns(const CString& text)
{
    if (text.IsEmpty())
        return 0;
    int bytes = WideCharToMultiByte(CP_ACP, 0, text, text.GetLength(), nullptr, 0, nullptr, nullptr);
    return bytes > 0 ? bytes : text.GetLength();
}

CString PadToColumns(const CString& text, int columns)
{
    CString out = text;
    for (int width = DisplayColumns(text); width < columns; ++width)
        out += L' ';
    return out;
}

} // namespace

void FormatDriveDescription(const CString& label, const CString& sizeText, const CString& connection,
                            int remote, CString& out)
{
    if (!sizeText.IsEmpty())
        out = PadToColumns(label, 25) + L" " + sizeText;
    else if (remote)
        out = PadToColumns(label.Left(24), 25) + L" " + connection;
    else
        out = label;
}

void CFilerPane::ReadDriveList()
{
    m_driveList.RemoveAll();
    DWORD mask = g_DriveSeam.GetLogicalDrives();
    for (int i = 0; i < 26; ++i)
    {
        wchar_t letter = static_cast<wchar_t>(L'A' + i);
        CString name;
        name.Format(L"%c:", letter);
        if ((mask & (1u << i)) == 0)
        {
            if (IsVirtualDrive(letter, 1))
            {
                CDriveInfo row;
                row.m_kind = DRIVE_KIND_VIRTUAL;
                row.m_name = name;
                row.m_description = kVirtualDriveDescription;
                m_driveList.Add(row);
            }
            continue;
        }
        CString root = name + L"\\";
        int kind = static_cast<int>(g_DriveSeam.GetDriveTypeW(root));
        if (kind < 2 || kind > 6)
            continue;
        CString label, sizeText, connection;
        if (kind == 2)
            GetDriveDisplayName(root, label);
        else
        {
            if (kind == 3)
            {
                ULARGE_INTEGER freeToCaller = {}, total = {}, freeBytes = {};
                if (g_DriveSeam.GetDiskFreeSpaceExW(root, &freeToCaller, &total, &freeBytes))
                {
                    CString totalText, freeText;
                    FormatSizeShort(static_cast<LONGLONG>(total.QuadPart), totalText, TRUE);
                    FormatSizeShort(static_cast<LONGLONG>(freeBytes.QuadPart), freeText, TRUE);
                    sizeText = totalText + L"/" + freeText + L" FREE";
                }
            }
            wchar_t volume[1040] = {};
            if (!g_DriveSeam.GetVolumeInformationW(root, volume, 1040, nullptr, nullptr, nullptr, nullptr, 0))
                sizeText.Empty();
            else
                label = volume;
            if (kind == 4)
            {
                wchar_t remote[1040] = {};
                DWORD length = 1040;
                if (g_DriveSeam.WNetGetConnectionW(name, remote, &length) == NO_ERROR)
                    connection = remote;
            }
        }
        CDriveInfo row;
        row.m_kind = kind;
        row.m_name = name;
        FormatDriveDescription(label, sizeText, connection, kind == 4, row.m_description);
        m_driveList.Add(row);
    }
    if (!g_LastNetworkRoot.IsEmpty())
    {
        CDriveInfo row;
        row.m_kind = DRIVE_KIND_LAST_SHARE;
        row.m_name = g_LastNetworkRoot;
        m_driveList.Add(row);
    }
    if (g_VIEWNETWORKONLIST)
    {
        CDriveInfo row;
        row.m_kind = DRIVE_KIND_NETWORK_ROOT;
        row.m_name = kNetworkComputerName;
        m_driveList.Add(row);
    }
}
