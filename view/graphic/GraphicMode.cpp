// Graphic mode: the pane turns into a picture viewer that walks the marked files, the
// pictures of marked folders and the members of archives among them, one picture at a
// time, and returns to its list past the last one.
#include "app/FileProbes.h"
#include "util/PathHelpers.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/Settings.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/records/LocalMemory.h"
#include "archivefront/ArchiveFront.h"
#include "filer/FilerPane.h"
#include "graphics/picture/PictureData.h"
#include "graphics/plugins/LoadPictureBDlg.h"
#include "graphics/windows/GraphicListDlg.h"
#include "graphics/plugins/PictureStepper.h"
#include "graphics/plugins/SusiePlugInHost.h"
#include "graphics/plugins/SusiePlugInList.h"
#include "media/MciWnd.h"
#include "view/QvView.h"
#include "view/media/SoundHooks.h"
#include "view/commands/CommandDispatch.h"

#include <functional>

namespace
{

constexpr UINT kGraphicModes = PANE_MODES_GRAPHIC_VIEWERS;

constexpr wchar_t kNoImagePlugInMessage[] =
    L"この画像を読み込める画像プラグインがありません\n"
    L"画像プラグインのフォルダは 各種設定 > 画像 > 画像表示設定 の「Susie Plug-in」ページの"
    L"「Plug-inディレクトリ」で設定します";

// The file a list entry stands for: a shortcut is read as its target.
CFileInfo ResolveListEntry(const CFileInfo& entry)
{
    CFileInfo out(entry);
    if (out.m_source != ENTRY_SOURCE_ARCHIVE && out.IsExtension(L"LNK"))
    {
        CString target;
        if (ReadShortcut(out.GetRealFullPath(), &target, nullptr, nullptr) && !target.IsEmpty())
        {
            CString folder, name;
            SplitPath(target, &folder, &name);
            WIN32_FIND_DATAW findData = {};
            if (!FileExists(target, &findData))
                findData = out.m_findData.ToFindData();
            lstrcpynW(findData.cFileName, name, MAX_PATH);
            out.SetFromDisk(folder, findData);
        }
    }
    return out;
}

// Whether some archive back-end would list a file of this name; only those are
// opened, so that the walk does not try every picture as an archive.
bool IsArchiveName(LPCWSTR name)
{
    return CArchiveFront::IsSupportedName(name, ARCFRONT_OPEN_MEMBER_TO_MEMORY) ||
           FindSusiePlugIn(name, SUSIE_KIND_ARCHIVE, 0, nullptr) >= 0;
}

// The load dialog's view of the position: the view makes every step itself, so the
// dialog reads the picture at the place it is given and, asked to move on (a member
// no plug-in reads), gives up instead; the view's own walk then goes on from there
// and never loses count of the levels.
class COnePictureStepper : public IPictureStepper
{
public:
    explicit COnePictureStepper(const CPicturePosition& position) : m_position(position) {}
    int Step() override { return m_movedOn ? 3 : 1; }
    void MoveOn() override { m_movedOn = true; }
    int GetIndex(int level) const override { return m_position.GetIndex(level); }
    int GetCount(int level) const override { return m_position.GetCount(level); }

private:
    const CPicturePosition& m_position;
    bool m_movedOn = false;
};

// Reads the file through its plug-in into g_CurrentPicture: 1 read, 0 failed, -1 no
// plug-in takes it.
int LoadPictureFile(CQvView& view, const CFileInfo& entry)
{
    const CString path = entry.GetRealFullPath();
    CSusiePlugInHost& host = view.m_graphic.PlugInHost();
    if (host.LoadPlugInForFile(path, SUSIE_KIND_IMAGE, 0, 1) < 0)
        return -1;
    COnePictureStepper stepper(view.m_graphic.position);
    CLoadPictureBDlg dialog(&stepper, DialogOwner(&view));
    dialog.m_filePath = path;
    dialog.m_sourceKind = 1;
    dialog.m_hostInUse = &host;
    return view.LoadPictureMaybeWithDialog(dialog, static_cast<LONGLONG>(entry.m_size));
}

// The archive member at the position's inner index (or the next one a plug-in reads):
// 1, 0 or PICTURE_LOAD_CANCELLED. memberAt null: the archive's listing.
int LoadPictureFromMember(CQvView& view, CArchiveFront* archive, const CString& archivePath,
                          const std::function<CArchiveFileInfo*(int)>& memberAt)
{
    if (archive == nullptr)
        return 0;
    COnePictureStepper stepper(view.m_graphic.position);
    CLoadPictureBDlg dialog(&stepper, DialogOwner(&view));
    dialog.m_filePath = archivePath;
    dialog.m_sourceKind = 0;
    dialog.m_hostInUse = &view.m_graphic.PlugInHost();
    dialog.m_archiveFront = archive;
    dialog.m_memberAt = memberAt;
    const int result = view.LoadPictureMaybeWithDialog(dialog, 0);
    if (result == 1)
        view.m_graphic.memberName = dialog.m_memberName;
    return result;
}

// A picture was read: shown at the kept zoom with the fit settings, unscrolled.
void PrepareNewPicture(CQvView& view)
{
    GraphicViewState& graphic = view.m_graphic;
    graphic.state = GRAPHIC_STATE_SHOWN;
    graphic.zoom = graphic.keptZoom;
    view.ApplyFullScreenOnGraphic();
    graphic.fitWidth = g_HEIGHTSCALING;
    graphic.fitHeight = g_WIDTHSCALING;
    graphic.hPos = graphic.vPos = 0;
    view.UpdatePictureLayout(PICTURE_LAYOUT_ALL);
}

void LeaveGraphicFullScreen(CQvView& view)
{
    SystemViewState& system = view.m_system;
    if (!system.fullScreen.graphic)
        return;
    // The full screen the pictures asked for goes with them; one the user had chosen
    // before stays.
    if (system.fullScreen.ordinary)
        system.fullScreen.graphic = 0;
    else
        view.OnFullScreen();
}

// The frame goes back to the rectangle it had before the pictures grew it, unless it
// is full screen.
void RestoreFrameAfterGraphic(CQvView& view)
{
    GraphicViewState& graphic = view.m_graphic;
    if (!graphic.frameRemembered || view.m_system.fullScreenOn)
        return;
    graphic.frameRemembered = 0;
    if (CWnd* frame = view.GetParentFrame())
    {
        CRect now;
        frame->GetWindowRect(&now);
        if (now != graphic.frameBefore)
            frame->MoveWindow(&graphic.frameBefore, TRUE);
    }
}

} // namespace

CArchiveFront& GraphicViewState::Archive()
{
    if (!archive)
        archive = std::make_unique<CArchiveFront>();
    return *archive;
}

CSusiePlugInHost& GraphicViewState::PlugInHost()
{
    if (!plugInHost)
        plugInHost = std::make_unique<CSusiePlugInHost>();
    return *plugInHost;
}

int CQvView::FindGraphicPane() const
{
    for (int i = 0; i < 2; ++i)
        if (g_Panes[i] != nullptr && (g_Panes[i]->m_mode & kGraphicModes) != 0)
            return i;
    return -1;
}

int CQvView::IsPictureShown() const
{
    return FindGraphicPane() >= 0 && m_graphic.state == GRAPHIC_STATE_SHOWN && m_graphic.displayed.cx != 0
               ? 1
               : 0;
}

void CQvView::CloseGraphicArchive()
{
    if (m_graphic.archive)
        m_graphic.archive->Close();
    m_graphic.archivePath.Empty();
    // The list window borrows the archive: its member rows go with it.
    if (m_pGraphicListDlg != nullptr)
    {
        m_pGraphicListDlg->SetArchive(nullptr);
        m_pGraphicListDlg->m_shownArchivePath.Empty();
    }
}

int GraphicViewState::CollectPictureList(CFilerPane& pane)
{
    pictures.RemoveAll();
    const DWORD flags = singlePicture ? TARGET_CURSOR_ONLY : 0;
    CFileInfo target;
    for (int n = 0; pane.GetTargetEntry(flags, n, target); ++n)
    {
        if (target.IsDots())
            continue;
        if (target.IsDirectory())
        {
            CArrayFileInfo inside;
            if (!target.ListPictureFilesSorted(inside))
                return 0;
            for (INT_PTR i = 0; i < inside.GetSize(); ++i)
                pictures.AddEntry(inside[i]);
        }
        else
            pictures.AddEntry(ResolveListEntry(target));
    }
    return 1;
}

void CQvView::EnterGraphicMode()
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER | PANE_MODE_ARCHIVE, 0))
        return;
    CFilerPane& pane = *g_Panes[index];
    m_graphic.position.Clear();
    CloseGraphicArchive();
    const bool filer = pane.m_mode == PANE_MODE_FILER;
    if (filer)
    {
        DWORD checks = PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_NOT_EMPTY | PANE_CHECK_NO_DOT_TARGET;
        if (m_graphic.singlePicture)
            checks |= PANE_CHECK_CURSOR_NOT_DOT;
        if (pane.CheckState(checks))
            return;
        pane.SetMode(0, PANE_MODE_GRAPHIC, 0);
        if (!m_graphic.CollectPictureList(pane))
        {
            pane.SetMode(0, PANE_MODE_FILER, 0);
            return;
        }
        m_graphic.position.PushLevel(static_cast<int>(m_graphic.pictures.GetSize()), 1);
    }
    else
    {
        // The outer level only keeps the place of the listing; the members are the
        // level that steps.
        m_graphic.position.PushLevel(1, 0);
        pane.SetMode(0, PANE_MODE_ARCHIVE_GRAPHIC, 0);
    }
    g_SoundHooks.playCommandSound(L"LOAD_PICTURE");
    StopViewTimers(STOP_TIMERS_FOR_ACTION);
    m_graphic.state = GRAPHIC_STATE_LOADING;
    m_graphic.current = -1;
    m_graphic.memberName.Empty();
    UpdateAuxiliaryWindows();
    int result;
    if (filer)
        result = ShowPictureFromFilerList(index, 0);
    else
    {
        m_graphic.position.PushLevel(pane.CountArchiveItems(FALSE), 1);
        result = LoadArchivePictures(index, 0);
    }
    // A walk that ended without showing anything found no plug-in that reads its files:
    // without a word the key would seem dead, and a new installation has no plug-in at all.
    const bool nothingRead = result == 2 && m_graphic.state != GRAPHIC_STATE_SHOWN;
    if (result == 0 || (result == 2 && g_DRIVELISTCURJUMPCTRL))
    {
        if (m_hWnd != nullptr)
            Invalidate(FALSE);
    }
    else
        LeaveGraphicMode(index, result);
    UpdateMenuForMode();
    if (nothingRead)
        Tell(DialogOwner(this), kNoImagePlugInMessage, L"画像の表示");
}

int CQvView::LoadPictureMaybeWithDialog(CLoadPictureBDlg& dialog, LONGLONG fileSize)
{
    if (dialog.LoadMaybeWithDialog(fileSize) == 1)
        return 1;
    g_CurrentPicture.Free();
    return dialog.m_progress.cancelFlag ? PICTURE_LOAD_CANCELLED : 0;
}

int CQvView::ShowPictureFromFilerList(int /*pane*/, int step)
{
    m_graphic.paused = 0;
    CPicturePosition& position = m_graphic.position;
    if (!position.IsNested())
        CloseGraphicArchive();
    position.SetDirection(step);
    for (;;)
    {
        int result = position.Step();
        if (result == 0)
        {
            if (m_graphic.state == GRAPHIC_STATE_SHOWN)
                return 0;
            result = 1;
        }
        m_graphic.state = GRAPHIC_STATE_LOADING;
        if (result == 3)
        {
            g_CurrentPicture.Free();
            return 2;
        }
        if (!position.IsNested())
        {
            const int index = position.GetIndex(0);
            if (index < 0 || index >= m_graphic.pictures.GetSize())
                return 2;
            m_graphic.current = index;
            m_graphic.memberName.Empty();
            const CFileInfo& entry = m_graphic.pictures[index];
            const CString path = entry.GetRealFullPath();
            CArchiveFront& archive = m_graphic.Archive();
            // An archive without members is passed over like a file no plug-in reads:
            // a level of none would bring the walk back to the same entry.
            if (!entry.IsDirectory() && IsArchiveName(entry.GetName()) &&
                archive.OpenAndList(path, ARCFRONT_PREFER_PLUGIN) && archive.GetEntryCount() > 0)
            {
                m_graphic.archivePath = path;
                position.PushLevel(archive.GetEntryCount(), 1);
                continue;
            }
            if (result != 2)
            {
                const int loaded = LoadPictureFile(*this, entry);
                if (loaded == 1)
                    break;
                m_graphic.PlugInHost().Close();
                if (loaded == PICTURE_LOAD_CANCELLED)
                    return 1;
            }
        }
        else if (result != 2)
        {
            const int loaded =
                LoadPictureFromMember(*this, &m_graphic.Archive(), m_graphic.archivePath, nullptr);
            if (loaded == PICTURE_LOAD_CANCELLED)
                return 1;
            if (loaded == 1)
            {
                position.RememberEarliest();
                UpdateAuxiliaryWindows();
                PrepareNewPicture(*this);
                return 0;
            }
        }
        if (result == 1 || result == 4)
            position.ResetDirection();
    }
    position.RememberEarliest();
    PrepareNewPicture(*this);
    m_graphic.PlugInHost().Close();
    UpdateAuxiliaryWindows();
    return 0;
}

int CQvView::LoadArchivePictures(int paneIndex, int step)
{
    CFilerPane* pane = PaneAt(paneIndex);
    if (pane == nullptr)
        return 3;
    m_graphic.paused = 0;
    CPicturePosition& position = m_graphic.position;
    position.SetDirection(step);
    for (;;)
    {
        int result = position.Step();
        if (result == 0)
        {
            if (m_graphic.state == GRAPHIC_STATE_SHOWN)
                return 0;
            result = 1;
        }
        m_graphic.state = GRAPHIC_STATE_LOADING;
        if (result == 3)
        {
            g_CurrentPicture.Free();
            return 2;
        }
        if (result != 2)
        {
            CString archivePath;
            if (pane->m_archive != nullptr)
                pane->m_archive->GetArchivePath(archivePath);
            // The members are those the pane's selection covers, in its order.
            auto memberAt = [pane, held = CArchiveFileInfo()](int index) mutable -> CArchiveFileInfo* {
                return pane->CollectArchiveItems(held, index, FALSE) ? &held : nullptr;
            };
            const int loaded = LoadPictureFromMember(*this, dynamic_cast<CArchiveFront*>(pane->m_archive),
                                                     archivePath, memberAt);
            if (loaded == PICTURE_LOAD_CANCELLED)
                return 1;
            if (loaded == 1)
            {
                m_graphic.archivePath = archivePath;
                position.RememberEarliest();
                PrepareNewPicture(*this);
                UpdateAuxiliaryWindows();
                return 0;
            }
            position.ResetDirection();
        }
    }
}

void CQvView::ShowNextPicture(int step)
{
    if (step == 1)
    {
        OpenCursorEntry(0, 0);
        return;
    }
    int index = -1;
    int result = 0;
    if (FindPaneByMode(&index, 0, PANE_MODE_GRAPHIC, 0))
        result = ShowPictureFromFilerList(index, step);
    else if (FindPaneByMode(&index, 0, PANE_MODE_ARCHIVE_GRAPHIC, 0))
        result = LoadArchivePictures(index, step);
    else
        return;
    if (result == 0)
    {
        if (m_hWnd != nullptr)
            Invalidate(FALSE);
    }
    else
        LeaveGraphicMode(index, result);
}

int CQvView::StepPictureFromOpenRoutine(int paneIndex)
{
    CFilerPane& pane = *g_Panes[paneIndex];
    const int result = pane.m_mode == PANE_MODE_GRAPHIC ? ShowPictureFromFilerList(paneIndex, 1)
                                                        : LoadArchivePictures(paneIndex, 1);
    if (result >= 1 && result <= 3)
        LeaveGraphicMode(paneIndex, result);
    else if (m_hWnd != nullptr)
        Invalidate(FALSE);
    return result;
}

void CQvView::LeaveGraphicMode(int paneIndex, int reason)
{
    if (reason == GRAPHIC_LEAVE_NO_MORE && g_DRIVELISTCURJUMPCTRL)
    {
        if (m_hWnd != nullptr)
            Invalidate(FALSE);
        return;
    }
    m_graphic.pictures.RemoveAll();
    m_graphic.current = -1;
    m_graphic.state = GRAPHIC_STATE_LOADING;
    m_graphic.displayed = {0, 0};
    g_CurrentPicture.Free();
    CFilerPane* pane = PaneAt(paneIndex);
    if (pane != nullptr)
    {
        if ((pane->m_mode & kGraphicModes) != 0)
        {
            LeaveGraphicFullScreen(*this);
            CloseGraphicArchive();
            if (m_graphic.plugInHost)
                m_graphic.plugInHost->Close();
        }
        pane->SetMode(0, pane->m_mode == PANE_MODE_ARCHIVE_GRAPHIC ? PANE_MODE_ARCHIVE : PANE_MODE_FILER, 0);
    }
    if (m_hWnd != nullptr)
    {
        ::ShowScrollBar(m_hWnd, SB_BOTH, FALSE);
        RestoreFrameAfterGraphic(*this);
        CalcLayout();
        UpdateScrollBars();
        Invalidate(FALSE);
    }
    UpdateMenuForMode();
    UpdateAuxiliaryWindows();
}

void CQvView::OnViewGraphic(int singlePicture)
{
    if (!m_system.fullScreenOn && m_hWnd != nullptr)
    {
        if (CWnd* frame = GetParentFrame())
        {
            frame->GetWindowRect(&m_graphic.frameBefore);
            m_graphic.frameRemembered = 1;
        }
    }
    m_graphic.singlePicture = singlePicture;
    EnterGraphicMode();
    UpdateAuxiliaryWindows();
    StartBinaryCursorTimer();
}

void CQvView::OnExitGraphic()
{
    int index = -1;
    if (FindPaneByMode(&index, PANE_POS_ACTIVE, kGraphicModes, 0))
    {
        if (Ask(this, L"画像の表示を終了しますか", L"画像の表示の終了の確認", MessageBoxKind::OkCancel))
            LeaveGraphicMode(index, GRAPHIC_LEAVE_BY_USER);
    }
    StartBinaryCursorTimer();
}

void CQvView::ApplyFullScreenOnGraphic()
{
    if (!g_BEFOREFULLSCREEN || m_system.fullScreen.graphic || m_hWnd == nullptr)
        return;
    if (m_system.fullScreenOn)
    {
        // Already full screen: the pictures share it, and leaving them keeps it.
        if (CWnd* frame = GetParentFrame())
            frame->GetWindowRect(&m_system.fullScreen.graphicRect);
        m_system.fullScreen.graphicRectSaved = 1;
        m_system.fullScreen.graphic = 1;
        return;
    }
    OnFullScreen();
}

// ---- The keywords of graphic mode, among them where it places a picture, and the filer
// keywords that enter it.
void CQvView::PausePictureDisplay()
{
    if (FindGraphicPane() >= 0)
    {
        m_graphic.paused = m_graphic.paused ? 0 : 1;
        if (m_hWnd != nullptr)
            Invalidate(FALSE);
    }
}

VIEW_COMMAND(NextWallpaper)
{
    if (view.FindGraphicPane() < 0)
        view.LoadPaneBackgroundPicture(3);
}

VIEW_COMMAND(SetPicturePlacement)
{
    // 0-2 are the horizontal choices, 10-12 the vertical ones.
    int& setting = value >= 10 ? g_GRAPHIC_VIEW_V_POS : g_GRAPHIC_VIEW_H_POS;
    int choice = static_cast<int>(value % 10);
    if (setting != choice)
    {
        setting = choice;
        view.UpdatePictureLayout(PICTURE_LAYOUT_ALL);
    }
}
