// The view's media commands: single files and the play list on the media window.
#include "app/Settings.h"
#include "app/records/MediaKinds.h"
#include "app/records/PlayListFile.h"
#include "app/settings/MediaSettings.h"
#include "filer/FilerPane.h"
#include "media/MciWnd.h"
#include "media/playlist/AudioPlayList.h"
#include "media/playlist/SoundList.h"
#include "view/QvView.h"
#include "media/devices/AudioEndpoints.h"
#include "media/scsi/AspiDeviceList.h"
#include "view/status/StatusLine.h"
#include "view/ViewBusyGuard.h"

namespace
{

// Only the first start of the play list after the program's start falls back to the
// last list file.
bool g_firstListStart = true;

// The active filer pane's cursor file when it is of a media kind; empty otherwise.
CString CursorMediaPath()
{
    for (CFilerPane* pane : g_Panes)
    {
        if (pane == nullptr || (pane->m_position & PANE_POS_ACTIVE) == 0 || pane->m_mode != PANE_MODE_FILER)
            continue;
        if (pane->CheckState(PANE_CHECK_NOT_EMPTY | PANE_CHECK_NO_DOT_TARGET | PANE_CHECK_DRIVE_PRESENT))
            return CString();
        CFileInfo* entry = pane->GetCursorEntry();
        if (entry == nullptr || entry->IsDirectory() || !IsMediaKindName(entry->GetName()))
            return CString();
        return entry->GetFullPath();
    }
    return CString();
}

} // namespace

// The active archive listing's cursor member of a media kind, extracted to the
// temporary folder; empty when there is none or the extraction failed.
static CString ExtractedCursorMedia(CQvView& view)
{
    const int index = view.GetActivePaneIndex();
    CFilerPane* pane = PaneAt(index);
    if (pane == nullptr || pane->m_mode != PANE_MODE_ARCHIVE)
        return CString();
    // The media window lets go of the file it plays: the new member may replace it in
    // the temporary folder.
    if (g_MciWnd)
        g_MciWnd->ControlPlayback(MEDIA_STOP, nullptr, MEDIA_REQUEST_SINGLE);
    CFileInfo* entry = pane->GetCursorEntry();
    if (entry == nullptr || entry->IsDirectory() || entry->IsDots() || !IsMediaKindName(entry->GetName()))
        return CString();
    if (!view.ExtractCursorMemberToTemp())
        return CString();
    CString path;
    path.Format(L"%s\\%s", (LPCWSTR)view.m_shell.extractedFolder, (LPCWSTR)view.m_shell.extractedName);
    return path;
}

void CQvView::PlaySoundFile()
{
    CString path = CursorMediaPath();
    if (!path.IsEmpty())
        RecordPlayedPath(path);
    else
        path = ExtractedCursorMedia(*this);
    if (!path.IsEmpty())
        ::PlaySoundFile(path, MEDIA_REQUEST_SINGLE);
}

void CQvView::StopSoundLoad()
{
    if (!g_MciWnd)
        return;
    CString path = CursorMediaPath();
    if (!path.IsEmpty())
        RecordPlayedPath(path);
    g_MciWnd->ControlPlayback(MEDIA_TOGGLE, path, MEDIA_REQUEST_SINGLE);
}

void CQvView::AddToSoundList()
{
    if (!g_PlayList.IsEmpty())
    {
        g_SoundList.Transport(SOUND_LIST_PLAY);
        return;
    }
    CStringArray kinds;
    GetMediaKindList(kinds, TRUE, TRUE);
    for (int index = 0; index < 2; ++index)
    {
        CFilerPane* pane = g_Panes[index];
        if (pane == nullptr || (pane->m_position & PANE_POS_ACTIVE) == 0)
            continue;
        if (pane->m_mode == PANE_MODE_FILER)
        {
            if (pane->CheckState(PANE_CHECK_NOT_EMPTY | PANE_CHECK_NO_DOT_TARGET | PANE_CHECK_DRIVE_PRESENT))
                return;
            StopPlayList();
            ClearPlayList();
            AddPaneSelectionToPlayList(index, g_PlayList, kinds);
            // A list of the cursor file alone is remembered as a file played.
            if (!g_PlayList.IsEmpty() && pane->CountMarked(TRUE, TRUE) == 0)
            {
                const CString path = CursorMediaPath();
                if (!path.IsEmpty())
                    RecordPlayedPath(path);
            }
        }
        else if (pane->m_mode == PANE_MODE_DRIVE_LIST)
        {
            StopPlayList();
            ClearPlayList();
            if (pane->m_cursor >= 0 && pane->m_cursor < pane->m_driveList.GetSize())
            {
                const CDriveInfo& row = pane->m_driveList[static_cast<INT_PTR>(pane->m_cursor)];
                // "X:" alone would name the drive's current folder, not its root.
                CString folder = row.m_name;
                if (!folder.IsEmpty() && folder[folder.GetLength() - 1] == L':')
                    folder += L'\\';
                if (row.m_kind != DRIVE_KIND_NETWORK_ROOT)
                    AddDirectoryToPlayList(folder, g_PlayList, kinds);
            }
        }
        else
            continue;
        break;
    }
    // The first start after the program's start with nothing to play takes up the list
    // file played last.
    if (g_PlayList.IsEmpty() && g_firstListStart)
    {
        g_firstListStart = false;
        if (g_LastPlayList.GetLength() > 4 && g_LastPlayList.Right(4).CompareNoCase(L".M3U") == 0)
        {
            StopPlayList();
            ClearPlayList();
            LoadPlayListM3u(g_LastPlayList, g_PlayList);
        }
    }
    if (!g_PlayList.IsEmpty())
        g_SoundList.Transport(SOUND_LIST_PLAY);
}

void CQvView::PauseSound()
{
    if (g_MciWnd)
        g_MciWnd->ControlPlayback(MEDIA_PAUSE_RESUME, nullptr, MEDIA_REQUEST_SINGLE);
}

void CQvView::StopSound()
{
    if (g_MciWnd)
        g_MciWnd->ControlPlayback(MEDIA_STOP, nullptr, MEDIA_REQUEST_SINGLE);
}

void CQvView::PauseSoundList()
{
    if (g_MciWnd)
        g_MciWnd->ControlPlayback(MEDIA_PAUSE_RESUME, nullptr, MEDIA_REQUEST_LIST);
}

void CQvView::StopSoundList()
{
    StopPlayList();
}

void CQvView::SoundListNext()
{
    g_SoundList.Transport(SOUND_LIST_NEXT);
}

void CQvView::SoundListPrevious()
{
    g_SoundList.Transport(SOUND_LIST_PREVIOUS);
}

void CQvView::ToggleSoundListRepeat()
{
    g_SOUNDREPEAT = !g_SOUNDREPEAT;
}

void CQvView::ToggleSoundListRandom()
{
    g_SOUNDRANDOM = !g_SOUNDRANDOM;
}

void CQvView::SetMediaZoom(int value)
{
    if (IsMediaPlaying())
        g_MciWnd->SetZoom(value);
}

void CQvView::ToggleMediaFullScreen()
{
    if (IsMediaPlaying())
        g_MciWnd->ToggleFullScreen(TRUE);
}

void CQvView::MediaVolumeUp()
{
    if (g_MciWnd)
        g_MciWnd->ChangeVolume(100);
}

void CQvView::MediaVolumeDown()
{
    if (g_MciWnd)
        g_MciWnd->ChangeVolume(-100);
}

// ---- "@SetAudioPlayback <name>" and "@SetAudioCapture <name>": the named device becomes
// the default one.
void CQvView::SetAudioPlayback(LPCWSTR endpointId)
{
    if (endpointId && *endpointId)
        SetDefaultOutputDevice(endpointId);
}

void CQvView::SetAudioCapture(LPCWSTR endpointId)
{
    if (endpointId && *endpointId)
        SetDefaultInputDevice(endpointId);
}

// ---- "@Scsi01" to "@Scsi09", "@Allscsiopen" and "@Allscsiclose": the trays of the SCSI
// devices the device list found.
void CQvView::RunScsiCommand(int value)
{
    g_AspiDeviceList.RunSlot(value);
}

void CQvView::OpenAllScsiTrays()
{
    g_AspiDeviceList.OpenAll();
}

void CQvView::CloseAllScsiTrays()
{
    g_AspiDeviceList.CloseAll();
}

// ---- "@Mpegnamedisplay": the filer lists show the audio files by the title in their tags
// or by their file names.
void CQvView::ToggleMpegTitleDisplay()
{
    CViewBusyGuard busy(*this);
    g_MPEGNAMEDISPLAY = g_MPEGNAMEDISPLAY ? 0 : 1;
    // The titles are read with the listing and the order may follow them, so the
    // shown lists are read again rather than only redrawn.
    for (int index = 0; index < 2; ++index)
    {
        CFilerPane* pane = g_Panes[index];
        if (pane == nullptr || pane->m_mode != PANE_MODE_FILER || (pane->m_position & PANE_POS_HIDDEN) != 0)
            continue;
        pane->ReadDirectory(TRUE);
        pane->SortEntries();
        pane->MoveCursor(0, TRUE);
        if (m_hWnd == nullptr)
            continue;
        const bool active = (pane->m_position & PANE_POS_ACTIVE) != 0;
        m_paneRedrawRequest[index] = 1;
        DrawPaneTitle(index);
        DrawPane(index);
        if (active)
            DrawCursorLine(index, 1);
    }
    if (m_hWnd != nullptr)
        DrawStatusLine(STATUS_PART_FULL);
    StartBinaryCursorTimer();
}
