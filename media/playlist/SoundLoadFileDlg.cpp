#include "media/playlist/SoundLoadFileDlg.h"
#include "app/records/MediaKinds.h"
#include "res/MediaDialogs.h"

namespace
{

const int kHalf = MEDIA_KIND_COUNT / 2;
const int kPage = 10;

} // namespace

CSoundLoadFileDlg::CSoundLoadFileDlg() : CDialog(IDD_SOUND_LOAD_FILE), m_offset(0), m_audio(0) {}

BOOL CSoundLoadFileDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_kinds.Copy(g_MediaKindList);
    m_kinds.SetSize(MEDIA_KIND_COUNT);
    m_offset = 0;
    m_audio = 0;
    CheckDlgButton(IDC_KINDS_VIDEO, BST_CHECKED);
    ShowPage();
    return TRUE;
}

void CSoundLoadFileDlg::StoreEdits()
{
    int first = (m_audio ? kHalf : 0) + m_offset;
    for (int i = 0; i < kPage; ++i)
        GetDlgItemText(IDC_KINDS_FIRST_EDIT + i, m_kinds[first + i]);
}

void CSoundLoadFileDlg::ShowPage()
{
    int first = (m_audio ? kHalf : 0) + m_offset;
    for (int i = 0; i < kPage; ++i)
        SetDlgItemText(IDC_KINDS_FIRST_EDIT + i, m_kinds[first + i]);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_KINDS_PREVIOUS), m_offset != 0);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_KINDS_NEXT), m_offset != kHalf - kPage);
}

void CSoundLoadFileDlg::OnOK()
{
    StoreEdits();
    for (INT_PTR i = 0; i < m_kinds.GetSize(); ++i)
        m_kinds[i].Trim();
    g_MediaKindList.Copy(m_kinds);
    CDialog::OnOK();
}

BOOL CSoundLoadFileDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED)
    {
        switch (LOWORD(wParam))
        {
        case IDC_KINDS_VIDEO:
        case IDC_KINDS_AUDIO: {
            int audio = LOWORD(wParam) == IDC_KINDS_AUDIO;
            if (audio != m_audio)
            {
                StoreEdits();
                m_audio = audio;
                m_offset = 0;
                ShowPage();
            }
            return TRUE;
        }
        case IDC_KINDS_PREVIOUS:
            if (m_offset > 0)
            {
                StoreEdits();
                m_offset -= kPage;
                ShowPage();
            }
            return TRUE;
        case IDC_KINDS_NEXT:
            if (m_offset < kHalf - kPage)
            {
                StoreEdits();
                m_offset += kPage;
                ShowPage();
            }
            return TRUE;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}
