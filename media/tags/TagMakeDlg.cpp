#include "media/tags/TagMakeDlg.h"
#include "app/dialogs/TellAndAsk.h"
#include "res/MediaDialogs.h"

namespace
{

// The ID3v1 text fields in the order of g_Id3v1FieldTable, with their controls.
struct Id3v1EditRow
{
    int editId;
    int checkId;
};
const Id3v1EditRow g_Id3v1EditTable[ID3V1_TEXT_FIELD_COUNT] = {
    {IDC_TAG_TITLE, IDC_TAG_USE_TITLE},     {IDC_TAG_ARTIST, IDC_TAG_USE_ARTIST},
    {IDC_TAG_ALBUM, IDC_TAG_USE_ALBUM},     {IDC_TAG_YEAR, IDC_TAG_USE_YEAR},
    {IDC_TAG_COMMENT, IDC_TAG_USE_COMMENT},
};

// The format radio buttons and the tag flags each stands for.
struct TagFormatRow
{
    int flags;
    int buttonId;
};
const TagFormatRow g_TagFormatRadioTable[] = {
    {0, IDC_TAG_FORMAT_NONE},
    {AUDIO_TAG_ID3V1, IDC_TAG_FORMAT_ID3},
    {AUDIO_TAG_RIFF_INFO, IDC_TAG_FORMAT_RIFF},
    {AUDIO_TAG_ID3V1 | AUDIO_TAG_RIFF_INFO, IDC_TAG_FORMAT_BOTH},
};

// The controls that only RIFF files use.
const int kRiffControls[] = {IDC_TAG_FORMAT_RIFF, IDC_TAG_FORMAT_BOTH, IDC_TAG_IPRD, IDC_TAG_IART,
                             IDC_TAG_ICMT,        IDC_TAG_ICOP,        IDC_TAG_IENG, IDC_TAG_IGNR,
                             IDC_TAG_ICRD,        IDC_TAG_ISFT,        IDC_TAG_ISRC, IDC_TAG_INAM,
                             IDC_TAG_ID3_TO_RIFF, IDC_TAG_RIFF_TO_ID3};

const int kNoGenreRow = GENRE_TABLE_SIZE; // "未定"

wchar_t* FieldOf(CId3v1Fields& fields, int index)
{
    return reinterpret_cast<wchar_t*>(reinterpret_cast<BYTE*>(&fields) +
                                      g_Id3v1FieldTable[index].recordOffset);
}

const wchar_t* FieldOf(const CId3v1Fields& fields, int index)
{
    return reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(&fields) +
                                            g_Id3v1FieldTable[index].recordOffset);
}

} // namespace

CTagMakeDlg::CTagMakeDlg() : CDialog(IDD_TAG_MAKE), m_pList(nullptr), m_batch(0), m_index(0) {}

CString CTagMakeDlg::ItemText(int id) const
{
    CString text;
    GetDlgItemText(id, text);
    return text;
}

BOOL CTagMakeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int id : {IDC_TAG_ALBUM, IDC_TAG_ARTIST, IDC_TAG_COMMENT, IDC_TAG_TITLE})
        SendItem(id, EM_LIMITTEXT, 30, 0);
    SendItem(IDC_TAG_YEAR, EM_LIMITTEXT, 4, 0);
    for (int id = IDC_TAG_USE_ALBUM; id <= IDC_TAG_USE_ISRC; ++id)
    {
        if (m_batch)
            CheckDlgButton(id, BST_CHECKED);
        else
            ::EnableWindow(::GetDlgItem(m_hWnd, id), FALSE);
    }
    m_index = 0;
    for (const GenreRow& row : g_GenreTable)
        SendItem(IDC_TAG_GENRE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.name));
    SendItem(IDC_TAG_GENRE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"未定"));
    if (!m_batch)
    {
        ShowEntry();
        return TRUE;
    }
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_TAG_PREVIOUS), FALSE);
    SetDlgItemText(IDC_TAG_FULL_PATH, L"");
    SetDlgItemText(IDC_TAG_FILE_NAME, L"選択ファイル");
    for (int id : kRiffControls)
        ::EnableWindow(::GetDlgItem(m_hWnd, id), TRUE);
    SetFormatRadio(AUDIO_TAG_ID3V1);
    for (int id : {IDC_TAG_COPY_SOURCE, IDC_TAG_COPY_INFO, IDC_TAG_SKIP})
        ::EnableWindow(::GetDlgItem(m_hWnd, id), FALSE);
    SendItem(IDC_TAG_GENRE, CB_SETCURSEL, 0, 0);
    return TRUE;
}

void CTagMakeDlg::ShowEntry()
{
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_TAG_PREVIOUS), m_index != 0);
    if (m_index < 0)
        m_index = 0;
    if (m_pList == nullptr || m_index >= m_pList->GetSize())
    {
        EndDialog(IDOK);
        return;
    }
    CMpegAudioData& entry = (*m_pList)[m_index];
    SetDlgItemText(IDC_TAG_FULL_PATH, entry.m_file.GetRealFullPath());
    SetDlgItemText(IDC_TAG_FILE_NAME, entry.m_file.GetName());
    BOOL mpeg = entry.IsMpegKind();
    for (int id : kRiffControls)
        ::EnableWindow(::GetDlgItem(m_hWnd, id), !mpeg);
    if (entry.m_read || entry.ReadTags())
    {
        SetFormatRadio(entry.m_tagFlags);
        ShowTags(entry);
        FillCopySourceList(entry);
        return;
    }
    FillCopySourceList(entry);
    CString text;
    text.Format(L"%sの読み込みに失敗しました", static_cast<LPCWSTR>(entry.m_file.GetRealFullPath()));
    Tell(this, text);
    SetFormatRadio(0);
}

void CTagMakeDlg::SetFormatRadio(int flags)
{
    int wanted = flags & ~AUDIO_TAG_ID3V2;
    for (const TagFormatRow& row : g_TagFormatRadioTable)
        CheckDlgButton(row.buttonId, row.flags == wanted ? BST_CHECKED : BST_UNCHECKED);
}

int CTagMakeDlg::CheckedFormat() const
{
    for (const TagFormatRow& row : g_TagFormatRadioTable)
    {
        if (IsDlgButtonChecked(row.buttonId) == BST_CHECKED)
            return row.flags;
    }
    return 0;
}

void CTagMakeDlg::SelectGenre(int code)
{
    int row = kNoGenreRow;
    for (int i = 0; i < GENRE_TABLE_SIZE; ++i)
    {
        if (g_GenreTable[i].code == code)
        {
            row = i;
            break;
        }
    }
    SendItem(IDC_TAG_GENRE, CB_SETCURSEL, row, 0);
}

void CTagMakeDlg::ShowTags(const CMpegAudioData& entry)
{
    BOOL id3 = (entry.m_tagFlags & AUDIO_TAG_ID3V1) != 0;
    for (int i = 0; i < ID3V1_TEXT_FIELD_COUNT; ++i)
        SetDlgItemText(g_Id3v1EditTable[i].editId, id3 ? FieldOf(entry.m_id3v1, i) : L"");
    SelectGenre(id3 ? entry.m_id3v1.genre : ID3V1_NO_GENRE);
    for (const RiffInfoFieldRow& row : g_RiffInfoFieldTable)
    {
        CString value;
        if (!(entry.m_tagFlags & AUDIO_TAG_RIFF_INFO) || !entry.m_riffInfo.Lookup(row.itemId, value))
            value.Empty();
        SetDlgItemText(row.editId, value);
    }
}

void CTagMakeDlg::FillCopySourceList(const CMpegAudioData& entry)
{
    SendItem(IDC_TAG_COPY_SOURCE, CB_RESETCONTENT, 0, 0);
    CString path = entry.m_file.GetRealFullPath();
    for (INT_PTR i = 0; m_pList && i < m_pList->GetSize(); ++i)
    {
        const CMpegAudioData& other = (*m_pList)[i];
        if (other.m_file.GetRealFullPath().CompareNoCase(path) == 0)
            SendItem(IDC_TAG_COPY_SOURCE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(other.m_file.GetName()));
    }
    SendItem(IDC_TAG_COPY_SOURCE, CB_SETCURSEL, 0, 0);
}

void CTagMakeDlg::CopyId3ToRiff()
{
    SetDlgItemText(IDC_TAG_IPRD, ItemText(IDC_TAG_ALBUM));
    SetDlgItemText(IDC_TAG_IART, ItemText(IDC_TAG_ARTIST));
    SetDlgItemText(IDC_TAG_ICMT, ItemText(IDC_TAG_COMMENT));
    SetDlgItemText(IDC_TAG_IGNR, ItemText(IDC_TAG_GENRE));
    SetDlgItemText(IDC_TAG_ICRD, ItemText(IDC_TAG_YEAR));
    SetDlgItemText(IDC_TAG_INAM, ItemText(IDC_TAG_TITLE));
}

void CTagMakeDlg::CopyRiffToId3()
{
    SetDlgItemText(IDC_TAG_ALBUM, ItemText(IDC_TAG_IPRD));
    SetDlgItemText(IDC_TAG_ARTIST, ItemText(IDC_TAG_IART));
    SetDlgItemText(IDC_TAG_COMMENT, ItemText(IDC_TAG_ICMT));
    SetDlgItemText(IDC_TAG_YEAR, ItemText(IDC_TAG_ICRD));
    SetDlgItemText(IDC_TAG_TITLE, ItemText(IDC_TAG_INAM));
    CString genre = ItemText(IDC_TAG_IGNR);
    int row = kNoGenreRow;
    for (int i = 0; i < GENRE_TABLE_SIZE; ++i)
    {
        if (genre == g_GenreTable[i].name)
        {
            row = i;
            break;
        }
    }
    SendItem(IDC_TAG_GENRE, CB_SETCURSEL, row, 0);
}

void CTagMakeDlg::CopyInfoFrom()
{
    LRESULT selected = SendItem(IDC_TAG_COPY_SOURCE, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR || !m_pList || m_index < 0 || m_index >= m_pList->GetSize())
        return;
    CString name = ItemText(IDC_TAG_COPY_SOURCE);
    CString directory = (*m_pList)[m_index].m_file.GetRealDirectory(FALSE);
    for (INT_PTR i = 0; i < m_pList->GetSize(); ++i)
    {
        CMpegAudioData& other = (*m_pList)[i];
        if (other.m_file.GetRealDirectory(FALSE).CompareNoCase(directory) != 0 ||
            name.CompareNoCase(other.m_file.GetName()) != 0)
            continue;
        if (!other.m_read)
            other.ReadTags();
        ShowTags(other);
    }
}

void CTagMakeDlg::OnOK()
{
    if (!m_pList)
        return;
    // What the dialog holds, and which of it to write.
    CString riffTexts[RIFF_INFO_FIELD_COUNT];
    BOOL riffUsed[RIFF_INFO_FIELD_COUNT];
    for (int i = 0; i < RIFF_INFO_FIELD_COUNT; ++i)
    {
        riffTexts[i] = ItemText(g_RiffInfoFieldTable[i].editId);
        riffUsed[i] = !m_batch || IsDlgButtonChecked(g_RiffInfoFieldTable[i].checkId) == BST_CHECKED;
    }
    CString id3Texts[ID3V1_TEXT_FIELD_COUNT];
    BOOL id3Used[ID3V1_TEXT_FIELD_COUNT];
    for (int i = 0; i < ID3V1_TEXT_FIELD_COUNT; ++i)
    {
        id3Texts[i] = ItemText(g_Id3v1EditTable[i].editId);
        id3Used[i] = !m_batch || IsDlgButtonChecked(g_Id3v1EditTable[i].checkId) == BST_CHECKED;
    }
    BOOL genreUsed = !m_batch || IsDlgButtonChecked(IDC_TAG_USE_GENRE) == BST_CHECKED;
    LRESULT genreRow = SendItem(IDC_TAG_GENRE, CB_GETCURSEL, 0, 0);
    int format = CheckedFormat();
    CString typedName = ItemText(IDC_TAG_FILE_NAME).Left(MAX_PATH);

    INT_PTR last = m_batch ? m_pList->GetSize() - 1 : m_index;
    for (INT_PTR i = m_index; i <= last && i < m_pList->GetSize(); ++i)
    {
        CMpegAudioData& entry = (*m_pList)[i];
        if (m_batch && !entry.m_read && !entry.ReadTags())
        {
            CString text;
            text.Format(L"%sの読み込みに失敗しました。続けますか？",
                        static_cast<LPCWSTR>(entry.m_file.GetRealFullPath()));
            if (!Ask(this, text, L"確認", MessageBoxKind::YesNo))
                break;
        }
        CMpegAudioData wanted = entry;
        wanted.m_tagFlags = format | (wanted.m_tagFlags & AUDIO_TAG_ID3V2);
        if (!m_batch)
            wanted.SetFileName(typedName);
        if (wanted.m_tagFlags & AUDIO_TAG_RIFF_INFO)
        {
            for (int k = 0; k < RIFF_INFO_FIELD_COUNT; ++k)
            {
                if (!riffUsed[k])
                    continue;
                if (riffTexts[k].IsEmpty())
                    wanted.m_riffInfo.RemoveKey(g_RiffInfoFieldTable[k].itemId);
                else
                    wanted.m_riffInfo.SetAt(g_RiffInfoFieldTable[k].itemId, riffTexts[k]);
            }
        }
        else
        {
            wanted.m_riffInfo.RemoveAll();
        }
        if (wanted.m_tagFlags & AUDIO_TAG_ID3V1)
        {
            for (int k = 0; k < ID3V1_TEXT_FIELD_COUNT; ++k)
            {
                if (!id3Used[k])
                    continue;
                wchar_t* field = FieldOf(wanted.m_id3v1, k);
                int width = g_Id3v1FieldTable[k].width;
                memset(field, 0, sizeof(wchar_t) * (width + 1));
                wcsncpy(field, id3Texts[k], static_cast<size_t>(width));
            }
            if (genreUsed)
                wanted.m_id3v1.genre = (genreRow < 0 || genreRow >= GENRE_TABLE_SIZE)
                                           ? static_cast<BYTE>(ID3V1_NO_GENRE)
                                           : g_GenreTable[genreRow].code;
        }
        if (WriteAudioTags(entry, wanted))
            continue;
        CString text;
        if (m_batch)
        {
            text.Format(L"%s\\%sの書き込みに失敗しました。続けますか？",
                        static_cast<LPCWSTR>(entry.m_file.GetRealDirectory(FALSE)), entry.m_file.GetName());
            if (!Ask(this, text, L"確認", MessageBoxKind::YesNo))
                break;
        }
        else if (!WriteAudioTags(entry, wanted))
        {
            text.Format(L"%s\\%sの書き込みに失敗しました",
                        static_cast<LPCWSTR>(entry.m_file.GetRealDirectory(FALSE)), entry.m_file.GetName());
            Tell(this, text);
        }
    }
    m_index = static_cast<int>(last) + 1;
    ShowEntry();
}

void CTagMakeDlg::OnPrevious()
{
    --m_index;
    ShowEntry();
}

void CTagMakeDlg::OnSkip()
{
    ++m_index;
    ShowEntry();
}

BOOL CTagMakeDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED)
    {
        switch (LOWORD(wParam))
        {
        case IDC_TAG_PREVIOUS:
            OnPrevious();
            return TRUE;
        case IDC_TAG_SKIP:
            OnSkip();
            return TRUE;
        case IDC_TAG_ID3_TO_RIFF:
            CopyId3ToRiff();
            return TRUE;
        case IDC_TAG_RIFF_TO_ID3:
            CopyRiffToId3();
            return TRUE;
        case IDC_TAG_COPY_INFO:
            CopyInfoFrom();
            return TRUE;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}
