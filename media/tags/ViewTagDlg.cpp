#include "media/tags/ViewTagDlg.h"
#include "app/Settings.h"
#include "framework/FwLock.h"
#include "res/MediaDialogs.h"

namespace
{

const UINT_PTR kReadTimer = 12;
const int kValueControls[] = {IDC_VIEWTAG_TITLE,    IDC_VIEWTAG_ARTIST,   IDC_VIEWTAG_ALBUM,
                              IDC_VIEWTAG_RELEASE,  IDC_VIEWTAG_GENRE,    IDC_VIEWTAG_COMMENT,
                              IDC_VIEWTAG_BIT_RATE, IDC_VIEWTAG_SAMPLING, IDC_VIEWTAG_CHANNELS};
const wchar_t* const kChannelModes[] = {L"ステレオ", L"ジョイントステレオ", L"デュアルモノラル", L"モノラル"};

BOOL IsTagExtension(const CFileInfo& entry)
{
    for (LPCWSTR extension : {L"MP2", L"MP3", L"WAV", L"RMP"})
    {
        if (entry.IsExtension(extension))
            return TRUE;
    }
    return FALSE;
}

} // namespace

CViewTagDlg::CViewTagDlg(int* placedFlag)
    : CDialog(IDD_VIEW_TAG), m_position{}, m_pPlacedFlag(placedFlag),
      m_mutex(CreateMutexW(nullptr, FALSE, nullptr)), m_initialWidth(0), m_initialHeight(0), m_initialised(0)
{
}

CViewTagDlg::~CViewTagDlg()
{
    if (m_hWnd)
        DestroyWindow();
    if (m_mutex)
        CloseHandle(m_mutex);
}

BOOL CViewTagDlg::Create(CWnd* parent)
{
    return CDialog::Create(IDD_VIEW_TAG, parent);
}

BOOL CViewTagDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    RECT rect;
    GetWindowRect(&rect);
    m_initialWidth = rect.right - rect.left;
    m_initialHeight = rect.bottom - rect.top;
    m_initialised = 1;
    return TRUE;
}

CString CViewTagDlg::FormatSamplingRate(int rate)
{
    CString fraction;
    fraction.Format(L"%03d", rate % 1000);
    int length = fraction.GetLength();
    while (length > 0 && fraction[length - 1] == L'0')
        --length;
    CString text;
    text.Format(L"%d.%s KHz", rate / 1000, static_cast<LPCWSTR>(fraction.Left(length)));
    return text;
}

void CViewTagDlg::SetFile(const CFileInfo* entry, LPCWSTR directory)
{
    for (int id : kValueControls)
        SetDlgItemText(id, L"");
    CHandleLock lock(m_mutex);
    if (entry == nullptr || !IsTagExtension(*entry) || entry->IsDirectory())
    {
        // A read still due for the previous file must not fill the texts in.
        KillTimer(kReadTimer);
        m_record = CMpegAudioData();
        SetWindowText(L"タグの表示");
        return;
    }
    SetWindowText(entry->GetName());
    m_record.Reset();
    CString folder = directory && *directory ? CString(directory) : entry->GetRealDirectory(FALSE);
    m_record.m_file.SetFromDisk(folder, entry->m_findData);
    m_record.m_read = 0;
    SetTimer(kReadTimer, 100, nullptr);
}

void CViewTagDlg::OnTagTimer()
{
    CHandleLock lock(m_mutex);
    KillTimer(kReadTimer);
    if (!m_record.ReadTags())
        return;
    if (m_record.m_mpegFound)
    {
        CString text;
        text.Format(L"%d kbps",
                    MpegBitRate(m_record.m_mpegVersion, m_record.m_mpegLayer, m_record.m_mpegBitRateIndex));
        SetDlgItemText(IDC_VIEWTAG_BIT_RATE, text);
        SetDlgItemText(IDC_VIEWTAG_SAMPLING, FormatSamplingRate(MpegSampleRate(
                                                 m_record.m_mpegVersion, m_record.m_mpegSampleRateIndex)));
        SetDlgItemText(IDC_VIEWTAG_CHANNELS, kChannelModes[m_record.m_mpegChannelMode & 3]);
    }
    else
    {
        for (int id : {IDC_VIEWTAG_BIT_RATE, IDC_VIEWTAG_SAMPLING, IDC_VIEWTAG_CHANNELS})
            SetDlgItemText(id, L"");
    }
    BOOL id3 = (m_record.m_tagFlags & AUDIO_TAG_ID3V1) != 0;
    const CId3v1Fields& v1 = m_record.m_id3v1;
    LPCWSTR genre = id3 ? FindGenreName(v1.genre) : nullptr;
    ShowField(IDC_VIEWTAG_TITLE, L"TIT2", L"INAM", id3 ? v1.title : L"");
    ShowField(IDC_VIEWTAG_ARTIST, L"TPE1", L"IART", id3 ? v1.artist : L"");
    ShowField(IDC_VIEWTAG_ALBUM, L"TALB", L"IPRD", id3 ? v1.album : L"");
    ShowField(IDC_VIEWTAG_RELEASE, L"TYER", L"ICRD", id3 ? v1.year : L"");
    ShowField(IDC_VIEWTAG_GENRE, L"TCON", L"IGNR", genre ? genre : L"");
    ShowField(IDC_VIEWTAG_COMMENT, L"jpn", L"ICMT", id3 ? v1.comment : L"");
}

void CViewTagDlg::ShowField(int control, LPCWSTR id3v2Key, LPCWSTR riffKey, LPCWSTR id3v1Text)
{
    CString value;
    if (m_record.m_tagFlags & AUDIO_TAG_ID3V2)
    {
        if (wcscmp(id3v2Key, L"jpn") == 0)
        {
            if (!m_record.m_comments.Lookup(L"jpn", value) || value.IsEmpty())
                m_record.m_comments.Lookup(L"eng", value);
        }
        else
        {
            m_record.m_id3v2.Lookup(id3v2Key, value);
        }
    }
    if (value.IsEmpty() && (m_record.m_tagFlags & AUDIO_TAG_RIFF_INFO))
        m_record.m_riffInfo.Lookup(riffKey, value);
    if (value.IsEmpty())
        value = id3v1Text;
    SetDlgItemText(control, value);
}

LRESULT CViewTagDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_TIMER:
        if (wParam == kReadTimer)
        {
            OnTagTimer();
            return 0;
        }
        break;
    case WM_CLOSE:
        ShowWindow(SW_HIDE);
        return 0;
    case WM_GETMINMAXINFO:
        if (m_initialised)
        {
            MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize.x = m_initialWidth;
            info->ptMinTrackSize.y = m_initialHeight;
            info->ptMaxTrackSize.y = m_initialHeight;
            return 0;
        }
        break;
    case WM_SIZE:
        if (m_initialised)
        {
            // The value texts reach to the right edge as the window widens.
            for (int id : kValueControls)
            {
                HWND item = ::GetDlgItem(m_hWnd, id);
                RECT rect;
                ::GetWindowRect(item, &rect);
                ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
                RECT client;
                GetClientRect(&client);
                int width = client.right - rect.left - 5;
                ::SetWindowPos(item, nullptr, 0, 0, width > 10 ? width : 10, rect.bottom - rect.top,
                               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
        break;
    case WM_MOVE:
        if (m_pPlacedFlag && *m_pPlacedFlag && m_hWnd)
        {
            RECT rect;
            GetWindowRect(&rect);
            m_position = {rect.left, rect.top};
            // The next start places the window where the user left it.
            g_VIEWTAGVIEWX = rect.left;
            g_VIEWTAGVIEWY = rect.top;
        }
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
