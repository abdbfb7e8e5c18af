// Names, paths and sizes of the target entries as text on the clipboard.
#include "app/Directories.h"
#include "util/Formatting.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/dialogs/TellAndAsk.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"

#include <shlobj.h>
#include <winnetwk.h>

#include <vector>

namespace
{

constexpr wchar_t kCopyFailed[] = L"クリップボードへのコピーに失敗しました";
constexpr wchar_t kOpenFailed[] = L"クリップボードを開くのに失敗しました";
constexpr wchar_t kEmptyFailed[] = L"クリップボードを空にするのに失敗しました";
constexpr wchar_t kSetFailed[] = L"クリップボードへのデータのセットに失敗しました";
constexpr wchar_t kNetworkNameFailed[] = L"ネットワークドライブ名の取得に失敗しました";

// The remote name of each network drive letter, asked once per letter.
class CNetworkNames
{
public:
    // FALSE when the letter is a network drive whose share could not be read.
    BOOL Map(const CString& path, CString& out)
    {
        out = path;
        if (path.GetLength() < 2 || path[1] != L':')
            return TRUE;
        wchar_t letter = static_cast<wchar_t>(towupper(path[0]));
        if (letter < L'A' || letter > L'Z')
            return TRUE;
        int index = letter - L'A';
        if (!m_known[index])
        {
            m_known[index] = true;
            wchar_t root[] = {letter, L':', L'\\', 0};
            if (GetDriveTypeW(root) == DRIVE_REMOTE)
            {
                m_remote[index] = true;
                wchar_t drive[] = {letter, L':', 0};
                wchar_t remote[1024] = {};
                DWORD length = ARRAYSIZE(remote);
                if (WNetGetConnectionW(drive, remote, &length) == NO_ERROR)
                    m_names[index] = remote;
            }
        }
        if (!m_remote[index])
            return TRUE;
        if (m_names[index].IsEmpty())
            return FALSE;
        CString rest = path.Mid(2);
        while (!rest.IsEmpty() && rest[0] == L'\\')
            rest = rest.Mid(1);
        out.Format(L"%s\\%s", (LPCWSTR)m_names[index], (LPCWSTR)rest);
        return TRUE;
    }

private:
    bool m_known[26] = {};
    bool m_remote[26] = {};
    CString m_names[26];
};

} // namespace

int CQvView::SetClipboard(UINT format, HGLOBAL block)
{
    if (!OpenClipboard(m_hWnd))
    {
        Tell(this, kOpenFailed);
        return 0;
    }
    if (!EmptyClipboard())
    {
        CloseClipboard();
        Tell(this, kEmptyFailed);
        return 0;
    }
    if (SetClipboardData(format, block) == nullptr)
    {
        CloseClipboard();
        Tell(this, kSetFailed);
        return 0;
    }
    CloseClipboard();
    return 1;
}

namespace
{
CString EntryFolder(const CFileInfo& entry, const CFilerPane& pane)
{
    return !entry.m_realDirectory.IsEmpty()  ? entry.m_realDirectory
           : !entry.GetDirectory().IsEmpty() ? entry.GetDirectory()
                                             : pane.m_currentDir;
}
} // namespace

void CQvView::CopyEntryNamesToClipboard(int kind)
{
    UINT modes =
        (kind == 1 || kind == 2 || kind == 3) ? PANE_MODE_FILER : (PANE_MODE_FILER | PANE_MODE_ARCHIVE);
    int pane = 0;
    if (!FindPaneByMode(&pane, PANE_POS_ACTIVE, modes, 0xFFFFFFFF))
        return;
    CFilerPane& target = *g_Panes[pane];
    CString text;
    CNetworkNames network;
    CFileInfo entry;
    CStringArray folders;
    int lines = 0;
    for (int n = 0; target.GetTargetEntry(TARGET_ALLOW_VIRTUAL_DRIVE, n, entry); ++n)
    {
        CString line;
        CString name = entry.GetName();
        switch (kind)
        {
        case 5: {
            int dot = name.ReverseFind(L'.');
            line = (dot > 0 && !entry.IsDirectory()) ? name.Left(dot) : name;
            break;
        }
        case 3: {
            // The folder of each target, each folder once (find results span many).
            line = EntryFolder(entry, target);
            if (line.GetLength() > 3 && line[line.GetLength() - 1] == L'\\')
                line.Delete(line.GetLength() - 1);
            bool seen = false;
            for (INT_PTR i = 0; i < folders.GetSize() && !seen; ++i)
                seen = folders[i].CompareNoCase(line) == 0;
            if (seen)
                continue;
            folders.Add(line);
            break;
        }
        case 1:
        case 2: {
            CString directory = EntryFolder(entry, target);
            if (!directory.IsEmpty() && directory[directory.GetLength() - 1] != L'\\')
                directory += L'\\';
            line = directory + name;
            if (kind == 2 && !network.Map(CString(line), line))
            {
                Tell(this, kNetworkNameFailed);
                return;
            }
            break;
        }
        case 4:
            if (entry.IsDirectory())
                line = L"<DIR>";
            else
            {
                ULARGE_INTEGER size;
                size.LowPart = entry.m_findData.nFileSizeLow;
                size.HighPart = entry.m_findData.nFileSizeHigh;
                int width = 0;
                FormatNumberWithSeparators(size.QuadPart, line, width);
                line.TrimLeft();
            }
            break;
        default:
            line = name;
            break;
        }
        text += line;
        text += L"\r\n";
        ++lines;
    }
    if (lines == 0)
        return;
    SIZE_T bytes = (static_cast<SIZE_T>(text.GetLength()) + 1) * sizeof(wchar_t);
    bytes = (bytes + 15) & ~static_cast<SIZE_T>(15);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    void* memory = block ? GlobalLock(block) : nullptr;
    if (memory == nullptr)
    {
        if (block)
            GlobalFree(block);
        Tell(this, kCopyFailed);
        return;
    }
    memcpy(memory, (LPCWSTR)text, (static_cast<SIZE_T>(text.GetLength()) + 1) * sizeof(wchar_t));
    GlobalUnlock(block);
    if (!SetClipboard(CF_UNICODETEXT, block))
        GlobalFree(block);
}

HGLOBAL BuildDropFileList(int pane, int dragFlag)
{
    if (PaneAt(pane) == nullptr)
        return nullptr;
    CFilerPane& target = *g_Panes[pane];
    // A virtual drive's entries have no path another program could open.
    if (target.CheckState(PANE_CHECK_DRIVE_PRESENT) || target.IsOnVirtualDrive() ||
        !DirectoryExists(target.m_currentDir))
        return nullptr;
    std::vector<CString> paths;
    CFileInfo entry;
    // A drag grabs what lies under the mouse: the marks travel with it only when the
    // grabbed entry is one of them.
    const DWORD flags = dragFlag ? TARGET_MARKED_IF_CURSOR_MARKED : 0;
    for (int n = 0; target.GetTargetEntry(flags, n, entry); ++n)
    {
        CString directory = entry.GetDirectory().IsEmpty() ? target.m_currentDir : entry.GetDirectory();
        CString path;
        MakePath(directory, entry.GetName(), path);
        paths.push_back(path);
    }
    if (paths.empty())
        return nullptr;
    SIZE_T chars = 1;
    for (const CString& path : paths)
        chars += path.GetLength() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT,
                                sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* drop = block ? static_cast<DROPFILES*>(GlobalLock(block)) : nullptr;
    if (drop == nullptr)
    {
        if (block)
            GlobalFree(block);
        return nullptr;
    }
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(drop + 1);
    for (const CString& path : paths)
    {
        memcpy(text, (LPCWSTR)path, path.GetLength() * sizeof(wchar_t));
        text += path.GetLength() + 1;
    }
    GlobalUnlock(block);
    return block;
}

void CQvView::CopyTargetsToClipboard(int effect)
{
    const DWORD dropEffect = static_cast<DWORD>(effect);
    CViewBusyGuard busy(*this);
    CWnd* owner = DialogOwner(this);
    for (int pane = 0; pane < 2; ++pane)
    {
        if (!TestPaneState(pane, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF) ||
            g_Panes[pane]->IsOnVirtualDrive())
            continue;
        HGLOBAL files = BuildDropFileList(pane, 0);
        HGLOBAL effect = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, 16);
        auto* value = effect ? static_cast<DWORD*>(GlobalLock(effect)) : nullptr;
        if (value == nullptr)
        {
            if (effect)
                GlobalFree(effect);
            if (files)
                GlobalFree(files);
            break;
        }
        *value = dropEffect;
        GlobalUnlock(effect);
        if (files == nullptr)
        {
            GlobalFree(effect);
            continue;
        }
        if (!OpenClipboard(m_hWnd))
        {
            Tell(owner, kOpenFailed);
            GlobalFree(effect);
            GlobalFree(files);
            continue;
        }
        if (!EmptyClipboard())
        {
            CloseClipboard();
            Tell(owner, kEmptyFailed);
            GlobalFree(effect);
            GlobalFree(files);
            continue;
        }
        // Whatever the clipboard took is its own from then on.
        bool effectTaken =
            SetClipboardData(RegisterClipboardFormatW(CFSTR_PREFERREDDROPEFFECT), effect) != nullptr;
        bool filesTaken = effectTaken && SetClipboardData(CF_HDROP, files) != nullptr;
        CloseClipboard();
        if (!effectTaken)
            GlobalFree(effect);
        if (!filesTaken)
        {
            GlobalFree(files);
            Tell(owner, kSetFailed);
        }
    }
}
