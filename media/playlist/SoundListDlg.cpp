#include "media/playlist/SoundListDlg.h"
#include "app/dialogs/DialogHelpers.h"
#include "util/Globals.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "app/FolderChooser.h"
#include "app/records/HistoryList.h"
#include "app/records/MediaKinds.h"
#include "app/settings/MediaSettings.h"
#include "framework/FwLock.h"
#include "media/MciWnd.h"
#include "media/playlist/AudioPlayList.h"
#include "media/playlist/SoundList.h"
#include "media/playlist/SoundLoadFileDlg.h"
#include "media/tags/TagMakeDlg.h"
#include "res/MediaDialogs.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

namespace
{

const UINT_PTR kTickTimer = 5;
const wchar_t* const kColumns[] = {L"タイトル", L"アーティスト", L"アルバム",
                                   L"リリース", L"ジャンル",     L"コメント"};
const int kColumnWidths[] = {200, 150, 100, 100, 100, 100};

// The transport buttons and their two pictures, the CD player's.
struct TransportButton
{
    int control;
    int pictures[2];
};
const TransportButton kTransportButtons[CSoundListDlg::TRANSPORT_BUTTON_COUNT] = {
    {IDC_SOUNDLIST_PREVIOUS, {IDB_CD_PREVIOUS, IDB_CD_PREVIOUS_OFF}},
    {IDC_SOUNDLIST_PLAY, {IDB_CD_PLAY, IDB_CD_PLAY_OFF}},
    {IDC_SOUNDLIST_PAUSE, {IDB_CD_PAUSE, IDB_CD_PAUSE_OFF}},
    {IDC_SOUNDLIST_STOP, {IDB_CD_STOP, IDB_CD_STOP_OFF}},
    {IDC_SOUNDLIST_NEXT, {IDB_CD_NEXT, IDB_CD_NEXT_OFF}},
};
const int kPlayButton = 1;

CString MapValue(const CMapStringToString& map, LPCWSTR key)
{
    CString value;
    map.Lookup(key, value);
    return value;
}

// The list control passes dropped files to its dialog.
LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND dialog = ::GetParent(window);
    WNDPROC previous = reinterpret_cast<WNDPROC>(::GetPropW(window, L"QvSoundListProc"));
    if (message == WM_DROPFILES)
        return ::SendMessageW(dialog, WM_DROPFILES, wParam, lParam);
    return ::CallWindowProcW(previous, window, message, wParam, lParam);
}

} // namespace

CString FormatNowPlayingLine(int index, const CMpegAudioData& entry)
{
    CString text;
    if (entry.m_tagFlags & AUDIO_TAG_ID3V2)
        text.Format(L"%d.%s - %s", index, static_cast<LPCWSTR>(MapValue(entry.m_id3v2, L"TPE1")),
                    static_cast<LPCWSTR>(MapValue(entry.m_id3v2, L"TIT2")));
    else if (entry.m_tagFlags & AUDIO_TAG_ID3V1)
        text.Format(L"%d.%s - %s", index, entry.m_id3v1.artist, entry.m_id3v1.title);
    else if (entry.m_tagFlags & AUDIO_TAG_RIFF_INFO)
        text.Format(L"%d.%s - %s", index, static_cast<LPCWSTR>(MapValue(entry.m_riffInfo, L"INAM")),
                    static_cast<LPCWSTR>(MapValue(entry.m_riffInfo, L"IART")));
    else
        text.Format(L"%d.%s", index, entry.m_file.GetName());
    return text;
}

void FormatSoundListRow(int index, const CMpegAudioData& entry, CString (&columns)[6])
{
    CString first;
    if (entry.m_tagFlags & AUDIO_TAG_ID3V2)
    {
        first = MapValue(entry.m_id3v2, L"TIT2");
        columns[1] = MapValue(entry.m_id3v2, L"TPE1");
        columns[2] = MapValue(entry.m_id3v2, L"TALB");
        columns[3] = MapValue(entry.m_id3v2, L"TYER");
        columns[4] = MapValue(entry.m_id3v2, L"TCON");
        columns[5] = MapValue(entry.m_comments, L"jpn");
    }
    else if (entry.m_tagFlags & AUDIO_TAG_ID3V1)
    {
        LPCWSTR genre = FindGenreName(entry.m_id3v1.genre);
        first = entry.m_id3v1.title;
        columns[1] = entry.m_id3v1.artist;
        columns[2] = entry.m_id3v1.album;
        columns[3] = entry.m_id3v1.year;
        columns[4] = genre ? genre : L"";
        columns[5] = entry.m_id3v1.comment;
    }
    else if (entry.m_tagFlags & AUDIO_TAG_RIFF_INFO)
    {
        first = MapValue(entry.m_riffInfo, L"INAM");
        columns[1] = MapValue(entry.m_riffInfo, L"IART");
        columns[2] = MapValue(entry.m_riffInfo, L"IPRD");
        columns[3] = MapValue(entry.m_riffInfo, L"ICRD");
        columns[4] = MapValue(entry.m_riffInfo, L"IGNR");
        columns[5] = MapValue(entry.m_riffInfo, L"ICMT");
    }
    else
    {
        first = entry.m_file.GetName();
        for (int i = 1; i < 6; ++i)
            columns[i].Empty();
    }
    columns[0].Format(L"%03d.%s", index, static_cast<LPCWSTR>(first));
}

HWND CSoundListDlg::List() const
{
    return ::GetDlgItem(m_hWnd, IDC_SOUNDLIST_LIST);
}

CSoundListDlg::CSoundListDlg()
    : CDialog(IDD_SOUND_LIST), m_refreshRequest(0), m_shownCount(-1), m_minimum{}, m_initialClient{},
      m_initialised(0), m_listProc(nullptr)
{
}

CSoundListDlg::~CSoundListDlg()
{
    for (auto& pair : m_pictures)
        for (HBITMAP picture : pair)
            if (picture != nullptr)
                DeleteObject(picture);
}

BOOL CSoundListDlg::Create(CWnd* parent)
{
    return CDialog::Create(IDD_SOUND_LIST, parent);
}

BOOL CSoundListDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND list = List();
    ::SetPropW(list, L"QvSoundListProc",
               reinterpret_cast<HANDLE>(
                   ::SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc))));
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int i = 0; i < 6; ++i)
    {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<LPWSTR>(kColumns[i]);
        column.cx = kColumnWidths[i];
        ::SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    RECT window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    m_minimum = {window.right - window.left, window.bottom - window.top};
    m_initialClient = {client.right, client.bottom};
    ResetPlayListFlags(g_PlayList);
    if (g_SOUNDRANDOM && g_PlayListStartedPos < g_PlayList.GetSize())
        g_PlayListPos = g_PlayListStartedPos;
    else
        g_PlayListStartedPos = 0;
    CheckDlgButton(IDC_SOUNDLIST_RANDOM, g_SOUNDRANDOM ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_SOUNDLIST_REPEAT, g_SOUNDREPEAT ? BST_CHECKED : BST_UNCHECKED);
    RefreshTransport(TRUE);
    RefreshList();
    m_initialised = 1;
    SetTimer(kTickTimer, 1000, nullptr);
    return TRUE;
}

void CSoundListDlg::OnCancel()
{
    ShowWindow(SW_HIDE);
}

int CSoundListDlg::Transport(int command)
{
    int result = g_SoundList.Transport(command);
    if (command == SOUND_LIST_STOP && m_hWnd)
        RefreshTransport(FALSE);
    return result;
}

void CSoundListDlg::StopList()
{
    g_SoundList.StopList();
}

void CSoundListDlg::AddPath(LPCWSTR path)
{
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileLong(path, &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    FindCloseLong(find);
    CStringArray kinds;
    GetMediaKindList(kinds, TRUE, TRUE);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
    {
        AddDirectoryToPlayList(path, g_PlayList, kinds);
        return;
    }
    LPCWSTR dot = wcsrchr(path, L'.');
    if (dot && _wcsicmp(dot, L".M3U") == 0)
    {
        LoadPlayListM3u(path, g_PlayList);
        return;
    }
    CString folder;
    SplitPath(path, &folder, nullptr);
    g_PlayList.AppendEntry(folder, found);
}

void CSoundListDlg::SetRow(int index, BOOL replace)
{
    if (index < 0 || index >= g_PlayList.GetSize())
        return;
    CString columns[6];
    FormatSoundListRow(index, g_PlayList[index], columns);
    HWND list = List();
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(columns[0]));
    if (replace)
        ::SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    else
        ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    for (int column = 1; column < 6; ++column)
    {
        item.iSubItem = column;
        item.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(columns[column]));
        ::SendMessageW(list, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
    }
}

void CSoundListDlg::RefreshList()
{
    KillTimer(kTickTimer);
    int count = static_cast<int>(g_PlayList.GetSize());
    if (m_shownCount != count || count == 0 || m_refreshRequest)
    {
        ::SendMessageW(List(), LVM_DELETEALLITEMS, 0, 0);
        for (int i = 0; i < count; ++i)
            SetRow(i, FALSE);
        m_shownCount = count;
        m_refreshRequest = 0;
    }
    else if (g_PlayListPos >= 0 && g_PlayListPos < count &&
             g_PlayList[g_PlayListPos].DiffersFrom(m_shownEntry))
    {
        SetRow(g_PlayListPos, TRUE);
        m_shownEntry = g_PlayList[g_PlayListPos];
    }
    SetTimer(kTickTimer, 1000, nullptr);
}

void CSoundListDlg::RefreshTransport(BOOL load)
{
    if (load)
    {
        for (int button = 0; button < TRANSPORT_BUTTON_COUNT; ++button)
            for (int form = 0; form < 2; ++form)
                if (m_pictures[button][form] == nullptr)
                    m_pictures[button][form] = static_cast<HBITMAP>(LoadImageW(
                        AfxGetResourceHandle(), MAKEINTRESOURCEW(kTransportButtons[button].pictures[form]),
                        IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    }
    const BOOL playing = CSoundListPlayer::IsListPlaying(FALSE);
    if (playing && g_MciWnd && g_MciWnd->m_currentFile.CompareNoCase(m_lastPlayingPath) != 0)
    {
        m_lastPlayingPath = g_MciWnd->m_currentFile;
        SetDlgItemText(IDC_SOUNDLIST_PATH, m_lastPlayingPath);
        for (INT_PTR i = 0; i < g_PlayList.GetSize(); ++i)
        {
            CString path;
            g_PlayList.GetEntryFullPath(i, path);
            if (path.CompareNoCase(m_lastPlayingPath) == 0)
            {
                SetDlgItemText(IDC_SOUNDLIST_LINE, FormatNowPlayingLine(static_cast<int>(i), g_PlayList[i]));
                break;
            }
        }
        RefreshList();
    }
    // Setting a button's picture repaints it; the one-second tick sets only what changed.
    for (int button = 0; button < TRANSPORT_BUTTON_COUNT; ++button)
    {
        const int form = (button == kPlayButton) == (playing != FALSE) ? 1 : 0;
        if (!load && m_shownPicture[button] == form)
            continue;
        m_shownPicture[button] = form;
        ::SendDlgItemMessageW(m_hWnd, kTransportButtons[button].control, BM_SETIMAGE, IMAGE_BITMAP,
                              reinterpret_cast<LPARAM>(m_pictures[button][form]));
    }
}

void CSoundListDlg::OnTick()
{
    RefreshTransport(FALSE);
    if (!m_refreshRequest)
        return;
    CheckDlgButton(IDC_SOUNDLIST_RANDOM, g_SOUNDRANDOM ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_SOUNDLIST_REPEAT, g_SOUNDREPEAT ? BST_CHECKED : BST_UNCHECKED);
    RefreshList();
    if (!CSoundListPlayer::IsListPlaying(FALSE) && g_PlayListPos >= 0 && g_PlayListPos < g_PlayList.GetSize())
    {
        CString path;
        g_PlayList.GetEntryFullPath(g_PlayListPos, path);
        SetDlgItemText(IDC_SOUNDLIST_PATH, path);
        SetDlgItemText(IDC_SOUNDLIST_LINE, FormatNowPlayingLine(g_PlayListPos, g_PlayList[g_PlayListPos]));
    }
}

void CSoundListDlg::AppendRowsFrom(INT_PTR first)
{
    for (INT_PTR i = first; i < g_PlayList.GetSize(); ++i)
        SetRow(static_cast<int>(i), FALSE);
    m_shownCount = static_cast<int>(g_PlayList.GetSize());
}

void CSoundListDlg::MoveFocused(int direction)
{
    int row =
        static_cast<int>(::SendMessageW(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    int other = row + direction;
    if (row < 0 || other < 0 || other >= g_PlayList.GetSize())
        return;
    CMpegAudioData swap = g_PlayList[row];
    g_PlayList[row] = g_PlayList[other];
    g_PlayList[other] = swap;
    SetRow(row, TRUE);
    SetRow(other, TRUE);
    LVITEMW item = {};
    item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    item.state = 0;
    ::SendMessageW(List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    item.state = LVIS_FOCUSED | LVIS_SELECTED;
    ::SendMessageW(List(), LVM_SETITEMSTATE, other, reinterpret_cast<LPARAM>(&item));
}

void CSoundListDlg::AddFiles()
{
    CStringArray kinds;
    GetMediaKindList(kinds, TRUE, TRUE);
    CString patterns;
    for (INT_PTR i = 0; i < kinds.GetSize(); ++i)
        patterns += (i ? L";*." : L"*.") + kinds[i];
    CString filter = L"Media Files|" + patterns + L"||";
    filter.Replace(L'|', L'\0');
    FileDialogRequest request(m_hWnd, filter);
    request.flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER;
    const std::vector<CString> paths = BrowseForFiles(request);
    if (paths.empty())
        return;
    INT_PTR first = g_PlayList.GetSize();
    for (const CString& path : paths)
        AddPath(path);
    AppendRowsFrom(first);
}

void CSoundListDlg::AddDirectory()
{
    CString folder;
    if (!BrowseForFolder(folder, this, FALSE))
        return;
    INT_PTR first = g_PlayList.GetSize();
    CStringArray kinds;
    GetMediaKindList(kinds, TRUE, TRUE);
    AddDirectoryToPlayList(folder, g_PlayList, kinds);
    AppendRowsFrom(first);
}

void CSoundListDlg::DeleteSelected()
{
    HWND list = List();
    for (INT_PTR i = g_PlayList.GetSize() - 1; i >= 0; --i)
    {
        if (::SendMessageW(list, LVM_GETITEMSTATE, i, LVIS_SELECTED) & LVIS_SELECTED)
            g_PlayList.RemoveAt(i);
    }
    m_refreshRequest = 1;
    RefreshList();
}

void CSoundListDlg::SaveList()
{
    if (!SavePlayListAs(m_hWnd))
        return;
    CHandleLock lock(g_DataMutex);
    AddToHistoryList(g_PlayedFileHistory, 5, g_LastPlayList);
}

void CSoundListDlg::EditTags()
{
    HWND list = List();
    CArray<CMpegAudioData> copies;
    CArray<INT_PTR> positions;
    for (INT_PTR i = 0; i < g_PlayList.GetSize(); ++i)
    {
        if (!(::SendMessageW(list, LVM_GETITEMSTATE, i, LVIS_SELECTED) & LVIS_SELECTED))
            continue;
        CMpegAudioData& entry = g_PlayList[i];
        if (!entry.IsMpegKind() && !entry.IsRiffKind())
            continue;
        WIN32_FIND_DATAW found;
        if (!entry.m_file.RefreshFindData(found))
            continue;
        CFileInfo& file = entry.m_file;
        file.SetFromFindData(file.m_source, file.m_owner, CString(file.GetDirectory()),
                             file.GetRealDirectory(TRUE), found, file.m_itemIndex);
        copies.Add(entry);
        positions.Add(i);
    }
    if (copies.GetSize() == 0)
        return;
    CTagMakeDlg dlg;
    dlg.m_pList = &copies;
    dlg.m_batch = 0;
    dlg.DoModal();
    for (INT_PTR i = 0; i < copies.GetSize(); ++i)
    {
        if (positions[i] < g_PlayList.GetSize())
            g_PlayList[positions[i]] = copies[i];
    }
    m_refreshRequest = 1;
    RefreshList();
}

void CSoundListDlg::OnDropFiles(HDROP drop)
{
    INT_PTR first = g_PlayList.GetSize();
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i)
    {
        UINT length = DragQueryFileW(drop, i, nullptr, 0);
        CString path;
        DragQueryFileW(drop, i, path.GetBuffer(static_cast<int>(length) + 1), length + 1);
        path.ReleaseBuffer();
        AddPath(path);
    }
    DragFinish(drop);
    AppendRowsFrom(first);
}

BOOL CSoundListDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return CDialog::OnCommand(wParam, lParam);
    KillTimer(kTickTimer);
    BOOL handled = TRUE;
    switch (LOWORD(wParam))
    {
    case IDC_SOUNDLIST_UP:
        MoveFocused(-1);
        break;
    case IDC_SOUNDLIST_DOWN:
        MoveFocused(1);
        break;
    case IDC_SOUNDLIST_ADD:
        AddFiles();
        break;
    case IDC_SOUNDLIST_ADD_DIR:
        AddDirectory();
        break;
    case IDC_SOUNDLIST_DELETE:
        DeleteSelected();
        break;
    case IDC_SOUNDLIST_CLEAR:
        g_PlayList.RemoveAll();
        RefreshList();
        break;
    case IDC_SOUNDLIST_SAVE:
        SaveList();
        break;
    case IDC_SOUNDLIST_TAGS:
        EditTags();
        break;
    case IDC_SOUNDLIST_KINDS: {
        CSoundLoadFileDlg kinds;
        kinds.DoModal();
        break;
    }
    case IDC_SOUNDLIST_PREVIOUS:
        Transport(SOUND_LIST_PREVIOUS);
        break;
    case IDC_SOUNDLIST_PLAY:
        Transport(SOUND_LIST_PLAY);
        break;
    case IDC_SOUNDLIST_PAUSE:
        Transport(SOUND_LIST_PAUSE);
        break;
    case IDC_SOUNDLIST_NEXT:
        Transport(SOUND_LIST_NEXT);
        break;
    case IDC_SOUNDLIST_STOP:
        StopList();
        break;
    case IDC_SOUNDLIST_RANDOM:
        g_SOUNDRANDOM = IsDlgButtonChecked(IDC_SOUNDLIST_RANDOM) == BST_CHECKED;
        break;
    case IDC_SOUNDLIST_REPEAT:
        g_SOUNDREPEAT = IsDlgButtonChecked(IDC_SOUNDLIST_REPEAT) == BST_CHECKED;
        break;
    default:
        handled = FALSE;
    }
    SetTimer(kTickTimer, 1000, nullptr);
    return handled ? TRUE : CDialog::OnCommand(wParam, lParam);
}

LRESULT CSoundListDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_TIMER:
        if (wParam == kTickTimer)
        {
            OnTick();
            return 0;
        }
        break;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_SOUNDLIST_LIST && header->code == NM_DBLCLK)
        {
            int row = static_cast<int>(
                ::SendMessageW(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
            if (row >= 0)
            {
                StopList();
                g_PlayListPos = row;
                Transport(SOUND_LIST_PLAY);
            }
            return 0;
        }
        break;
    }
    case WM_GETMINMAXINFO:
        if (m_initialised)
        {
            MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize.x = m_minimum.cx;
            info->ptMinTrackSize.y = m_minimum.cy;
            return 0;
        }
        break;
    case WM_SIZE:
        if (m_initialised && wParam != SIZE_MINIMIZED)
        {
            // The list takes what the window grew; the buttons keep to its edges.
            int dx = LOWORD(lParam) - m_initialClient.cx;
            int dy = HIWORD(lParam) - m_initialClient.cy;
            m_initialClient = {LOWORD(lParam), HIWORD(lParam)};
            auto shift = [&](int id, int moveX, int moveY, int growX, int growY) {
                HWND item = ::GetDlgItem(m_hWnd, id);
                RECT rect;
                ::GetWindowRect(item, &rect);
                ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
                ::SetWindowPos(item, nullptr, rect.left + moveX, rect.top + moveY,
                               rect.right - rect.left + growX, rect.bottom - rect.top + growY,
                               SWP_NOZORDER | SWP_NOACTIVATE);
            };
            shift(IDC_SOUNDLIST_PATH, 0, 0, dx, 0);
            shift(IDC_SOUNDLIST_LINE, 0, 0, dx, 0);
            shift(IDC_SOUNDLIST_LIST, 0, 0, dx, dy);
            for (int id : {IDC_SOUNDLIST_UP, IDC_SOUNDLIST_DOWN, IDC_SOUNDLIST_ADD, IDC_SOUNDLIST_ADD_DIR,
                           IDC_SOUNDLIST_DELETE, IDC_SOUNDLIST_CLEAR, IDC_SOUNDLIST_SAVE, IDC_SOUNDLIST_TAGS,
                           IDC_SOUNDLIST_KINDS})
                shift(id, dx, 0, 0, 0);
            shift(IDCANCEL, dx, dy, 0, 0);
            for (int id :
                 {IDC_SOUNDLIST_PREVIOUS, IDC_SOUNDLIST_PLAY, IDC_SOUNDLIST_PAUSE, IDC_SOUNDLIST_STOP,
                  IDC_SOUNDLIST_NEXT, IDC_SOUNDLIST_RANDOM, IDC_SOUNDLIST_REPEAT})
                shift(id, 0, dy, 0, 0);
        }
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
