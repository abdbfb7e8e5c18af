#include "app/SystemHelpers.h"
#include "app/Directories.h"
#include "app/PathHelpers.h"
#include "app/Settings.h"
#include "fs/LongPathSecurity.h"
#include "framework/FwWnd.h"

#include <mmsystem.h>
#include <shlobj.h>
#include <string.h>

// ---- Names --------------------------------------------------------------------------

namespace
{

struct ColorNameRow
{
    COLORREF color;
    LPCWSTR name;
};

const ColorNameRow kColorNames[] = {
    {0x000000, L"ブラック"},         {0x808080, L"グレー"},
    {0xC0C0C0, L"シルバー"},         {0xFFFFFF, L"ホワイト"},
    {0xFF0000, L"ブルー"},           {0x800000, L"ネイビー"},
    {0x808000, L"ティール(青緑色)"}, {0x008000, L"グリーン"},
    {0x00FF00, L"ライム"},           {0xFFFF00, L"アクア"},
    {0x00FFFF, L"イエロー"},         {0x0000FF, L"レッド"},
    {0xFF00FF, L"フクシア(赤紫色)"}, {0x008080, L"オリーブ(暗い緑みの黄色)"},
    {0x800080, L"パープル"},         {0x000080, L"マルーン(赤と黒の中間色)"},
    {0xD3D1CE, L"スカイグレー"},
};

// "WHELL_UP" is the key the settings file has always used.
const LPCWSTR kMouseActionNames[] = {L"LEFT_CLICK",         L"RIGHT_CLICK", L"LEFT_DOUBLE_CLICK",
                                     L"RIGHT_DOUBLE_CLICK", L"WHELL_UP",    L"WHEEL_DOWN"};

const LPCWSTR kModifierLetters[] = {L"N", L"S", L"C", L"A"};

} // namespace

CString GetColorName(COLORREF color)
{
    for (const ColorNameRow& row : kColorNames)
    {
        if (row.color == color)
        {
            return row.name;
        }
    }
    CString text;
    text.Format(L"RGB(0x%02x, 0x%02x, 0x%02x)", GetRValue(color), GetGValue(color), GetBValue(color));
    return text;
}

CString GetMouseActionName(int action)
{
    if (action < 0 || action >= (int)(sizeof(kMouseActionNames) / sizeof(kMouseActionNames[0])))
    {
        return CString();
    }
    return kMouseActionNames[action];
}

CString GetModifierLetter(int modifier)
{
    if (modifier < 0 || modifier >= (int)(sizeof(kModifierLetters) / sizeof(kModifierLetters[0])))
    {
        return CString();
    }
    return kModifierLetters[modifier];
}

// ---- Shell and display --------------------------------------------------------------

namespace
{

// The chooser's item path, long paths included; empty for items outside the file
// system.
CString PathFromIdList(PCIDLIST_ABSOLUTE idList)
{
    CString path;
    wchar_t* buffer = path.GetBuffer(32768);
    if (!SHGetPathFromIDListEx(idList, buffer, 32768, GPFIDL_DEFAULT))
    {
        buffer[0] = L'\0';
    }
    path.ReleaseBuffer();
    return path;
}

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM data)
{
    if (message == BFFM_INITIALIZED)
    {
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
    }
    else if (message == BFFM_SELCHANGED)
    {
        CString status;
        status.Format(L"「%s」が選択されています", PathFromIdList((PCIDLIST_ABSOLUTE)lParam));
        SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, (LPARAM)status.GetString());
    }
    return 0;
}

bool IsDriveRootWithBackslash(const CString& path)
{
    return path.GetLength() == 3 && path[1] == L':' && path[2] == L'\\';
}

} // namespace

BOOL BrowseForFolder(CString& path, CWnd* owner, BOOL includeFiles)
{
    CString start = path;
    if (start.GetLength() > 0 && start[start.GetLength() - 1] == L'\\')
    {
        start = start.Left(start.GetLength() - 1);
    }
    if (start.GetLength() == 2 && start[1] == L':')
    {
        start += L'\\';
    }

    IMalloc* shellMalloc = nullptr;
    if (FAILED(SHGetMalloc(&shellMalloc)))
    {
        return FALSE;
    }
    PIDLIST_ABSOLUTE desktop = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop)))
    {
        shellMalloc->Release();
        return FALSE;
    }

    wchar_t displayName[MAX_PATH] = L"";
    BROWSEINFOW info = {};
    info.hwndOwner = owner != nullptr ? owner->GetSafeHwnd() : nullptr;
    info.pidlRoot = desktop;
    info.pszDisplayName = displayName;
    info.lpszTitle = L"パスを指定してください。";
    info.ulFlags = BIF_STATUSTEXT | BIF_EDITBOX | (includeFiles ? BIF_BROWSEINCLUDEFILES : 0);
    info.lpfn = BrowseCallback;
    info.lParam = (LPARAM)start.GetString();

    BOOL chosen = FALSE;
    PIDLIST_ABSOLUTE result = SHBrowseForFolderW(&info);
    if (result != nullptr)
    {
        CString choice = PathFromIdList(result);
        if (!choice.IsEmpty())
        {
            if (choice[choice.GetLength() - 1] == L'\\' && !IsDriveRootWithBackslash(choice))
            {
                choice = choice.Left(choice.GetLength() - 1);
            }
            path = choice;
            chosen = TRUE;
        }
        shellMalloc->Free(result);
    }
    shellMalloc->Free(desktop);
    shellMalloc->Release();
    return chosen;
}

namespace
{

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data)
{
    reinterpret_cast<CArray<CRect>*>(data)->Add(CRect(*rect));
    return TRUE;
}

LONGLONG IntersectionArea(const RECT& a, const RECT& b)
{
    RECT common;
    if (!IntersectRect(&common, &a, &b))
    {
        return 0;
    }
    return (LONGLONG)(common.right - common.left) * (common.bottom - common.top);
}

} // namespace

void EnumMonitors(CArray<CRect>& rects)
{
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, (LPARAM)&rects);
}

void GetWindowMonitorRect(HWND window, RECT* rect)
{
    SetRect(rect, 0, 0, GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    if (GetSystemMetrics(SM_CMONITORS) <= 1)
    {
        return;
    }
    CArray<CRect> monitors;
    EnumMonitors(monitors);
    if (monitors.GetSize() <= 1)
    {
        return;
    }
    RECT windowRect = {};
    GetWindowRect(window, &windowRect);
    INT_PTR best = 0;
    LONGLONG bestArea = 0;
    for (INT_PTR i = 0; i < monitors.GetSize(); i++)
    {
        const LONGLONG area = IntersectionArea(monitors[i], windowRect);
        if (area > bestArea)
        {
            best = i;
            bestArea = area;
        }
    }
    *rect = monitors[best];
}

// ---- Master volume ----------------------------------------------------------------

namespace
{

// Opens the last mixer device and finds the volume control of its speakers line.
bool OpenSpeakerVolume(HMIXER* mixer, MIXERCONTROLW* control)
{
    const UINT devices = mixerGetNumDevs();
    if (devices == 0 || mixerOpen(mixer, devices - 1, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR)
    {
        return false;
    }
    MIXERLINEW line = {};
    line.cbStruct = sizeof(line);
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    MIXERLINECONTROLSW controls = {};
    controls.cbStruct = sizeof(controls);
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof(*control);
    controls.pamxctrl = control;
    control->cbStruct = sizeof(*control);
    if (mixerGetLineInfoW((HMIXEROBJ)*mixer, &line, MIXER_GETLINEINFOF_COMPONENTTYPE) != MMSYSERR_NOERROR)
    {
        mixerClose(*mixer);
        return false;
    }
    controls.dwLineID = line.dwLineID;
    if (mixerGetLineControlsW((HMIXEROBJ)*mixer, &controls, MIXER_GETLINECONTROLSF_ONEBYTYPE) !=
        MMSYSERR_NOERROR)
    {
        mixerClose(*mixer);
        return false;
    }
    return true;
}

void PrepareDetails(MIXERCONTROLDETAILS* details, const MIXERCONTROLW& control,
                    MIXERCONTROLDETAILS_UNSIGNED* value)
{
    *details = {};
    details->cbStruct = sizeof(*details);
    details->dwControlID = control.dwControlID;
    details->cChannels = 1;
    details->cbDetails = sizeof(*value);
    details->paDetails = value;
}

BOOL ReadSpeakerVolume(DWORD* minimum, DWORD* maximum, DWORD* value)
{
    HMIXER mixer = nullptr;
    MIXERCONTROLW control = {};
    if (!OpenSpeakerVolume(&mixer, &control))
    {
        return FALSE;
    }
    MIXERCONTROLDETAILS details;
    MIXERCONTROLDETAILS_UNSIGNED current = {};
    PrepareDetails(&details, control, &current);
    const bool ok = mixerGetControlDetailsW((HMIXEROBJ)mixer, &details, MIXER_GETCONTROLDETAILSF_VALUE) ==
                    MMSYSERR_NOERROR;
    mixerClose(mixer);
    if (!ok)
    {
        return FALSE;
    }
    *minimum = control.Bounds.dwMinimum;
    *maximum = control.Bounds.dwMaximum;
    *value = current.dwValue;
    return TRUE;
}

BOOL WriteSpeakerVolume(DWORD value)
{
    HMIXER mixer = nullptr;
    MIXERCONTROLW control = {};
    if (!OpenSpeakerVolume(&mixer, &control))
    {
        return FALSE;
    }
    MIXERCONTROLDETAILS details;
    MIXERCONTROLDETAILS_UNSIGNED wanted = {value};
    PrepareDetails(&details, control, &wanted);
    const bool ok = mixerSetControlDetails((HMIXEROBJ)mixer, &details, MIXER_SETCONTROLDETAILSF_VALUE) ==
                    MMSYSERR_NOERROR;
    mixerClose(mixer);
    return ok ? TRUE : FALSE;
}

} // namespace

MixerVolumeApi g_MixerVolumeApi = {ReadSpeakerVolume, WriteSpeakerVolume};

BOOL GetMixerVolume(DWORD* minimum, DWORD* maximum, int* percent)
{
    DWORD value = 0;
    if (!g_MixerVolumeApi.readVolume(minimum, maximum, &value))
    {
        return FALSE;
    }
    *percent = 0;
    if (*maximum != *minimum)
    {
        *percent = (int)(((LONGLONG)value - *minimum) * 100 / ((LONGLONG)*maximum - *minimum));
    }
    return TRUE;
}

BOOL SetMixerVolume(int percent)
{
    percent = percent < 0 ? 0 : (percent > 100 ? 100 : percent);
    DWORD minimum = 0, maximum = 0, value = 0;
    if (!g_MixerVolumeApi.readVolume(&minimum, &maximum, &value))
    {
        return FALSE;
    }
    // The inverse of the reading: a percentage of the range above its minimum, so
    // that setting what GetMixerVolume reported leaves the volume where it was.
    value = (DWORD)(minimum + (LONGLONG)percent * ((LONGLONG)maximum - minimum) / 100);
    return g_MixerVolumeApi.writeVolume(value);
}

// ---- Access-control lists ---------------------------------------------------------

HRESULT GetFileDacl(LPCWSTR path, PACL* dacl)
{
    *dacl = nullptr;
    DWORD needed = 0;
    GetFileSecurityLong(path, DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (needed == 0)
    {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    PSECURITY_DESCRIPTOR descriptor = LocalAlloc(LMEM_FIXED, needed);
    if (descriptor == nullptr)
    {
        return E_OUTOFMEMORY;
    }
    HRESULT result = S_OK;
    BOOL present = FALSE, defaulted = FALSE;
    PACL found = nullptr;
    ACL_SIZE_INFORMATION size = {};
    if (!GetFileSecurityLong(path, DACL_SECURITY_INFORMATION, descriptor, needed, &needed) ||
        !GetSecurityDescriptorDacl(descriptor, &present, &found, &defaulted))
    {
        result = HRESULT_FROM_WIN32(GetLastError());
    }
    else if (present && found != nullptr)
    {
        if (!GetAclInformation(found, &size, sizeof(size), AclSizeInformation))
        {
            result = HRESULT_FROM_WIN32(GetLastError());
        }
        else
        {
            const DWORD bytes = size.AclBytesInUse + size.AclBytesFree;
            PACL copy = (PACL)LocalAlloc(LMEM_FIXED, bytes);
            if (copy == nullptr)
            {
                result = E_OUTOFMEMORY;
            }
            else
            {
                // The ACL may be shorter than its declared size within the
                // descriptor; copy what is in use and clear the free tail.
                memset(copy, 0, bytes);
                memcpy(copy, found, size.AclBytesInUse);
                copy->AclSize = (WORD)bytes;
                *dacl = copy;
            }
        }
    }
    LocalFree(descriptor);
    return result;
}

// ---- File times -----------------------------------------------------------------------

int CompareFileTimes(const FILETIME& a, const FILETIME& b, BOOL slack)
{
    const ULONGLONG range = slack ? 20000000ULL : 0;
    const ULONGLONG timeA = ((ULONGLONG)a.dwHighDateTime << 32) | a.dwLowDateTime;
    const ULONGLONG timeB = ((ULONGLONG)b.dwHighDateTime << 32) | b.dwLowDateTime;
    if (timeA + range < timeB)
    {
        return 1;
    }
    if (timeB + range < timeA)
    {
        return -1;
    }
    return 0;
}

int CompareFileTimesBySetting(const FILETIME& a, const FILETIME& b)
{
    return CompareFileTimes(a, b, g_COPY_FILE_TIME_USED_RANGE);
}

// ---- Previews -------------------------------------------------------------------------

namespace
{
int ScalePreview(int size)
{
    const int scaled = (int)((LONGLONG)size * g_PREVIEW_MAGNIFICATION / 100);
    return scaled < 1 ? 1 : scaled;
}
} // namespace

int GetPreviewWidthScaled()
{
    return ScalePreview(g_PREVIEW_WIDTH);
}

int GetPreviewHeightScaled()
{
    return ScalePreview(g_PREVIEW_HEIGHT);
}

// ---- Drives -------------------------------------------------------------------------

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

// ---- Strings and paths --------------------------------------------------------------

void ExpandEnvironmentString(CString& out, LPCWSTR text)
{
    DWORD needed = ExpandEnvironmentStringsW(text, nullptr, 0);
    if (needed == 0)
    {
        out = text;
        return;
    }
    // The variables may change between the two calls: retry until the text fits.
    for (;;)
    {
        wchar_t* buffer = out.GetBuffer((int)needed);
        const DWORD written = ExpandEnvironmentStringsW(text, buffer, needed);
        if (written != 0 && written <= needed)
        {
            out.ReleaseBuffer();
            return;
        }
        out.ReleaseBuffer(0);
        if (written == 0)
        {
            out = text;
            return;
        }
        needed = written;
    }
}

void SplitString(LPCWSTR text, wchar_t delimiter, CStringArray& parts)
{
    parts.RemoveAll();
    if (text == nullptr || *text == L'\0')
    {
        return;
    }
    LPCWSTR start = text;
    for (LPCWSTR p = text;; p++)
    {
        if (*p == delimiter || *p == L'\0')
        {
            parts.Add(CString(start, (int)(p - start)));
            if (*p == L'\0')
            {
                break;
            }
            start = p + 1;
        }
    }
}

void FormatSystemError(DWORD error, CString& text)
{
    LPWSTR message = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), (LPWSTR)&message, 0, nullptr);
    text = length != 0 ? CString(message, (int)length) : CString();
    if (message != nullptr)
    {
        LocalFree(message);
    }
}

INT_PTR GetArrayGrowStep(INT_PTR count)
{
    if (count < 10000)
    {
        return 1000;
    }
    INT_PTR step = 10000;
    while (count / step >= 10)
    {
        step *= 10;
    }
    return step;
}

namespace
{

int HexDigitValue(char ch)
{
    if (ch >= '0' && ch <= '9')
    {
        return ch - '0';
    }
    // Only upper-case escapes are decoded, as the shell writes them.
    if (ch >= 'A' && ch <= 'F')
    {
        return ch - 'A' + 10;
    }
    return -1;
}

// "%XX" escapes stand for the bytes of the UTF-8 form of the text.
CString DecodeUrlEscapes(LPCWSTR text)
{
    CStringA utf8;
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1)
    {
        return text;
    }
    char* buffer = utf8.GetBuffer(bytes);
    WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, bytes, nullptr, nullptr);
    utf8.ReleaseBuffer();

    CStringA decoded;
    for (int i = 0; i < utf8.GetLength(); i++)
    {
        const char ch = utf8[i];
        if (ch == '%' && i + 2 < utf8.GetLength())
        {
            const int high = HexDigitValue(utf8[i + 1]);
            const int low = HexDigitValue(utf8[i + 2]);
            if (high >= 0 && low >= 0)
            {
                decoded += (char)(high * 16 + low);
                i += 2;
                continue;
            }
        }
        decoded += ch;
    }

    CString result;
    const int chars = MultiByteToWideChar(CP_UTF8, 0, decoded, decoded.GetLength(), nullptr, 0);
    if (chars > 0)
    {
        wchar_t* wide = result.GetBuffer(chars);
        MultiByteToWideChar(CP_UTF8, 0, decoded, decoded.GetLength(), wide, chars);
        result.ReleaseBuffer(chars);
    }
    return result;
}

} // namespace

void FileUrlToPath(CString& path, LPCWSTR text)
{
    CString lower = text;
    lower.MakeLower();
    int prefix = 0;
    if (lower.Left(8) == L"file:///")
    {
        prefix = 8;
    }
    else if (lower.Left(7) == L"file://")
    {
        prefix = 7;
    }
    if (prefix == 0)
    {
        path = text;
        return;
    }
    path = DecodeUrlEscapes(text + prefix);
    if (path.GetLength() < 2 || path[1] != L':')
    {
        path = L"\\\\" + path;
    }
}

void BuildWildcardPattern(CString& text)
{
    CString name, extension;
    SplitExtension(text, &name, &extension);
    if (name.IsEmpty())
    {
        name = L"*";
    }
    else if (name.Find(L'*') < 0)
    {
        name = L"*" + name + L"*";
    }
    if (extension.IsEmpty())
    {
        extension = L"*";
    }
    text.Format(L"%s.%s", name, extension);
}
