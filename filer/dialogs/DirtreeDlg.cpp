#include "filer/dialogs/DirtreeDlg.h"

#include <algorithm>
#include <new>

#include "util/PathHelpers.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/records/WalkPathGuard.h"
#include "filer/EntryFind.h"
#include "res/FilerDialogs.h"

namespace
{
const wchar_t kOutOfMemory[] = L"メモリが足りません";
const wchar_t kVertical = L'\x2502';   // │
const wchar_t kBranch = L'\x251C';     // ├
const wchar_t kLastBranch = L'\x2514'; // └
const wchar_t kBlank = L'\x3000';      // ideographic space

int CountBackslashes(const CString& path)
{
    int count = 0;
    for (int i = 0; i < path.GetLength(); ++i)
        count += path[i] == L'\\';
    return count;
}

CString ParentOf(const CString& path)
{
    const int slash = path.ReverseFind(L'\\');
    return slash < 0 ? CString() : path.Left(slash);
}

CString LastComponent(const CString& path)
{
    return path.Mid(path.ReverseFind(L'\\') + 1);
}
} // namespace

BEGIN_MESSAGE_MAP(CDirtreeDlg, CDialog)
ON_LBN_SELCHANGE(IDC_DIR_TREE_LIST, OnTreeSelChange)
ON_LBN_DBLCLK(IDC_DIR_TREE_LIST, OnGo)
ON_BN_CLICKED(IDC_DIR_TREE_GO, OnGo)
ON_BN_CLICKED(IDC_DIR_TREE_RELOAD, OnReload)
ON_BN_CLICKED(IDC_DIR_TREE_COPY, OnCopy)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CDirtreeDlg::CDirtreeDlg(CWnd* pParent, DirTreeStore* store) : CDialog(IDD_DIR_TREE, pParent), m_pStore(store)
{
}

wchar_t CDirtreeDlg::RootDriveLetter() const
{
    if (m_rootPath.GetLength() >= 2 && m_rootPath[1] == L':' && IsPathRoot(m_rootPath) &&
        ((m_rootPath[0] >= L'A' && m_rootPath[0] <= L'Z') ||
         (m_rootPath[0] >= L'a' && m_rootPath[0] <= L'z')))
        return m_rootPath[0];
    return 0;
}

void CDirtreeDlg::AddLine(const CString& line)
{
    ::SendDlgItemMessageW(m_hWnd, IDC_DIR_TREE_LIST, LB_ADDSTRING, 0,
                          reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(line)));
}

void CDirtreeDlg::AddRootLine()
{
    AddLine(RootDriveLetter() ? m_rootPath.Left(2) : m_rootPath);
}

BOOL CDirtreeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_rootPath = m_pStore->m_root.GetRealFullPath();
    AddRootLine();
    if (!LoadCachedTree())
        ScanTree(m_pStore->m_root, 0);
    ::SendDlgItemMessageW(m_hWnd, IDC_DIR_TREE_LIST, LB_SETCARETINDEX, 0, 0);
    return TRUE;
}

int CDirtreeDlg::LoadCachedTree()
{
    const CFileInfo& root = m_pStore->m_root;
    const wchar_t letter = RootDriveLetter();
    if (root.m_source == ENTRY_SOURCE_ARCHIVE || letter == 0 || !DirTreeStore::CachesTrees())
        return 0;
    m_paths.clear();
    if (const DirTreeNode* kept = m_pStore->GetTree(letter))
    {
        for (; kept != nullptr; kept = kept->m_next)
            m_paths.push_back(kept->m_path);
        m_bFromStore = TRUE;
    }
    else
    {
        wchar_t driveRoot[] = {letter, L':', L'\\', 0};
        if (GetDriveTypeW(driveRoot) != DRIVE_FIXED)
            return 0;
        if (DirTreeStore::SavesTreesToFile())
        {
            CDirTreeChain chain;
            if (!ReadTreeCacheFile(m_pStore->GetCacheFilePath(letter), chain))
                return 0;
            for (const DirTreeNode* node = chain.GetHead(); node != nullptr; node = node->m_next)
                m_paths.push_back(node->m_path);
        }
    }
    DrawCachedList();
    return 1;
}

void CDirtreeDlg::DrawCachedList()
{
    const size_t count = m_paths.size();
    std::vector<int> depth(count);
    for (size_t i = 0; i < count; ++i)
        depth[i] = std::max(CountBackslashes(m_paths[i]), 1);
    // The next element of the same depth, found from the back in one pass: a drive
    // holds tens of thousands of folders.
    std::vector<size_t> nextAtDepth(count, count);
    std::vector<size_t> seen;
    for (size_t i = count; i-- > 0;)
    {
        const size_t d = static_cast<size_t>(depth[i]);
        if (seen.size() <= d)
            seen.resize(d + 1, count);
        nextAtDepth[i] = seen[d];
        seen[d] = i;
    }
    m_flags.clear();
    ::SendDlgItemMessageW(m_hWnd, IDC_DIR_TREE_LIST, WM_SETREDRAW, FALSE, 0);
    for (size_t i = 0; i < count; ++i)
    {
        const int d = depth[i];
        CString line;
        for (int j = 0; j < d - 1; ++j)
            line += j < static_cast<int>(m_flags.size()) && m_flags[j] ? kVertical : kBlank;
        const BOOL siblingFollows =
            nextAtDepth[i] < count &&
            ParentOf(m_paths[nextAtDepth[i]]).CompareNoCase(ParentOf(m_paths[i])) == 0;
        line += siblingFollows ? kBranch : kLastBranch;
        if (m_flags.size() < static_cast<size_t>(d))
            m_flags.resize(d, 0);
        m_flags[d - 1] = siblingFollows ? 1 : 0;
        line += LastComponent(m_paths[i]);
        AddLine(line);
    }
    ::SendDlgItemMessageW(m_hWnd, IDC_DIR_TREE_LIST, WM_SETREDRAW, TRUE, 0);
}

int CDirtreeDlg::ScanTree(const CFileInfo& directory, int depth)
{
    CWalkPathGuard walkPath;
    // The folder itself is on the walk path: a link below it back to it ends there.
    CWalkPathStep step(walkPath,
                       directory.m_source == ENTRY_SOURCE_ARCHIVE ? L"" : directory.GetRealFullPath());
    return ScanBelow(directory, depth, walkPath);
}

int CDirtreeDlg::ScanBelow(const CFileInfo& directory, int depth, CWalkPathGuard& walkPath)
{
    std::vector<CString> names;
    CFileInfo child;
    CEntryFind* find = directory.FindFirstChild(L"*.*", child);
    if (find == nullptr)
        return 1;
    try
    {
        do
        {
            if (child.m_entryClass == ENTRY_CLASS_DIRECTORY)
                names.push_back(child.GetName());
        } while (FindNextEntry(find, child));
    }
    catch (const std::bad_alloc&)
    {
        Tell(this, kOutOfMemory);
    }
    CloseEntryFind(find);
    std::sort(names.begin(), names.end(),
              [](const CString& a, const CString& b) { return a.CompareNoCase(b) < 0; });

    const CString base = directory.GetRealFullPath();
    if (m_flags.size() <= static_cast<size_t>(depth))
        m_flags.resize(depth + 1, 0);
    for (size_t n = 0; n < names.size(); ++n)
    {
        const BOOL more = n + 1 < names.size();
        CString line;
        for (int i = 0; i < depth; ++i)
            line += m_flags[i] ? kVertical : kBlank;
        line += more ? kBranch : kLastBranch;
        line += names[n];
        AddLine(line);
        const CString path = base.IsEmpty() ? names[n] : base + L"\\" + names[n];
        m_paths.push_back(path);
        m_flags[depth] = more ? 1 : 0;

        CFileInfo sub;
        sub.SetFromPath(directory.m_owner, path);
        // A link to a folder shows as a folder; one that leads back to a folder
        // above it is not entered, or the scan would never end.
        CWalkPathStep step(walkPath,
                           directory.m_source == ENTRY_SOURCE_ARCHIVE ? L"" : sub.GetRealFullPath());
        if (step.entered && !ScanBelow(sub, depth + 1, walkPath))
            return 0;
    }
    return 1;
}

void CDirtreeDlg::OnTreeSelChange()
{
    ::SendDlgItemMessageW(m_hWnd, IDC_DIR_TREE_FILES, LB_RESETCONTENT, 0, 0);
    const int caret =
        static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_DIR_TREE_LIST, LB_GETCARETINDEX, 0, 0));
    CFileInfo directory;
    if (caret <= 0)
        directory = m_pStore->m_root;
    else if (static_cast<size_t>(caret) <= m_paths.size())
        directory.SetFromPath(m_pStore->m_root.m_owner, m_paths[caret - 1]);
    else
        return;
    CFileInfo child;
    CEntryFind* find = directory.FindFirstChild(L"*.*", child);
    if (find == nullptr)
        return;
    do
    {
        if (!child.IsDirectory())
            ::SendDlgItemMessageW(m_hWnd, IDC_DIR_TREE_FILES, LB_ADDSTRING, 0,
                                  reinterpret_cast<LPARAM>(child.GetName()));
    } while (FindNextEntry(find, child));
    CloseEntryFind(find);
}

void CDirtreeDlg::OnGo()
{
    const int caret =
        static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_DIR_TREE_LIST, LB_GETCARETINDEX, 0, 0));
    if (caret > 0 && static_cast<size_t>(caret) <= m_paths.size())
        m_pStore->m_resultPath = m_paths[caret - 1];
    else
        m_pStore->m_resultPath = m_rootPath;
    EndDialog(IDC_DIR_TREE_JUMP);
}

void CDirtreeDlg::OnReload()
{
    m_paths.clear();
    m_flags.clear();
    m_bFromStore = FALSE;
    if (const wchar_t letter = RootDriveLetter())
        m_pStore->SetTree(letter, nullptr);
    ::SendDlgItemMessageW(m_hWnd, IDC_DIR_TREE_LIST, LB_RESETCONTENT, 0, 0);
    ::SendDlgItemMessageW(m_hWnd, IDC_DIR_TREE_FILES, LB_RESETCONTENT, 0, 0);
    AddRootLine();
    ScanTree(m_pStore->m_root, 0);
}

void CDirtreeDlg::OnCopy()
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_DIR_TREE_LIST);
    const int selected = static_cast<int>(::SendMessageW(list, LB_GETSELCOUNT, 0, 0));
    if (selected <= 0)
        return;
    std::vector<int> rows(static_cast<size_t>(selected));
    ::SendMessageW(list, LB_GETSELITEMS, selected, reinterpret_cast<LPARAM>(rows.data()));
    std::sort(rows.begin(), rows.end());
    CString text;
    for (int row : rows)
    {
        const int length = static_cast<int>(::SendMessageW(list, LB_GETTEXTLEN, row, 0));
        if (length < 0)
            continue;
        CString line;
        ::SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(line.GetBuffer(length + 1)));
        line.ReleaseBuffer(length);
        text += line + L"\r\n";
    }
    const SIZE_T bytes = (static_cast<SIZE_T>(text.GetLength()) + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    void* data = block != nullptr ? GlobalLock(block) : nullptr;
    if (data == nullptr)
    {
        if (block != nullptr)
            GlobalFree(block);
        Tell(this, L"クリップボードへのコピーに失敗しました");
        return;
    }
    memcpy(data, static_cast<LPCWSTR>(text), bytes);
    GlobalUnlock(block);
    if (!OpenClipboard(m_hWnd))
    {
        GlobalFree(block);
        Tell(this, L"クリップボードを開くのに失敗しました");
        return;
    }
    if (!EmptyClipboard())
    {
        CloseClipboard();
        GlobalFree(block);
        Tell(this, L"クリップボードを空にするのに失敗しました");
        return;
    }
    // Once set, the block belongs to the clipboard.
    if (SetClipboardData(CF_UNICODETEXT, block) == nullptr)
    {
        GlobalFree(block);
        Tell(this, L"クリップボードへのデータのセットに失敗しました");
    }
    CloseClipboard();
}

void CDirtreeDlg::OnOK()
{
    EndDialog(IDOK);
}

void CDirtreeDlg::OnDestroy()
{
    const wchar_t letter = RootDriveLetter();
    if (letter != 0 && m_pStore->m_root.m_source != ENTRY_SOURCE_ARCHIVE && DirTreeStore::CachesTrees())
    {
        // The tree built by a scan or read from the file becomes the memory cache.
        if (!m_bFromStore)
        {
            CDirTreeChain chain;
            for (const CString& path : m_paths)
            {
                if (chain.Append(path) == nullptr)
                {
                    chain.Free();
                    break;
                }
            }
            m_pStore->SetTree(letter, chain.Detach());
        }
    }
    else if (letter != 0)
    {
        m_pStore->SetTree(letter, nullptr);
    }
    m_paths.clear();
    CDialog::OnDestroy();
}
