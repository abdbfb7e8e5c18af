// The program's own wiring for a test: every hook InstallProgramHooks sets, installed
// for as long as the object lives and put back afterwards. A test that must control a
// hook replaces that one member after this, so that a line that drops out of the
// program's wiring fails the tests that reach it. Only test programs that compile
// program/ProgramHooks.cpp (qv_add_program_wiring) include this.
#pragma once
#include "app/CommandMacros.h"
#include "app/KeywordBuilders.h"
#include "app/records/PaneRecords.h"
#include "app/records/PlayListFile.h"
#include "app/settings/SettingsSections.h"
#include "archivefront/ArchivePlugInBackEnd.h"
#include "archivefront/dialogs/PreviewReaderLock.h"
#include "filer/FindWorkerLink.h"
#include "filer/PaneArchive.h"
#include "filer/PaneHooks.h"
#include "filer/PaneViewer.h"
#include "filer/PictureFiles.h"
#include "filer/dialogs/WildCardDlg.h"
#include "graphics/picture/PictureData.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "program/ProgramHooks.h"
#include "view/media/SoundHooks.h"

namespace qvtest
{

class ScopedProgramWiring
{
public:
    ScopedProgramWiring()
        : m_settings(g_SettingsHooks), m_dirWalk(g_DirWalkHooks), m_playList(g_PlayListHooks),
          m_macroPaneAccess(g_MacroPaneAccess), m_keyword(g_KeywordHooks), m_pane(g_PaneHooks),
          m_paneArchive(g_PaneArchiveHooks), m_paneViewer(g_PaneViewerHooks), m_findWorker(g_FindWorkerHooks),
          m_wildCard(g_WildCardHooks), m_pictureTest(g_PictureTestHooks),
          m_previewReaderLock(g_PreviewReaderLockHooks), m_archivePlugIn(g_ArchivePlugInHooks),
          m_pictureTransform(g_PictureTransformHooks), m_previewDecode(g_PreviewDecodeHooks),
          m_sound(g_SoundHooks)
    {
        InstallProgramHooks();
    }
    ~ScopedProgramWiring()
    {
        g_SettingsHooks = m_settings;
        g_DirWalkHooks = m_dirWalk;
        g_PlayListHooks = m_playList;
        g_MacroPaneAccess = m_macroPaneAccess;
        g_KeywordHooks = m_keyword;
        g_PaneHooks = m_pane;
        g_PaneArchiveHooks = m_paneArchive;
        g_PaneViewerHooks = m_paneViewer;
        g_FindWorkerHooks = m_findWorker;
        g_WildCardHooks = m_wildCard;
        g_PictureTestHooks = m_pictureTest;
        g_PreviewReaderLockHooks = m_previewReaderLock;
        g_ArchivePlugInHooks = m_archivePlugIn;
        g_PictureTransformHooks = m_pictureTransform;
        g_PreviewDecodeHooks = m_previewDecode;
        g_SoundHooks = m_sound;
    }
    ScopedProgramWiring(const ScopedProgramWiring&) = delete;
    ScopedProgramWiring& operator=(const ScopedProgramWiring&) = delete;

private:
    SettingsHooks m_settings;
    DirWalkHooks m_dirWalk;
    PlayListHooks m_playList;
    MacroPaneAccess m_macroPaneAccess;
    KeywordHooks m_keyword;
    PaneHooks m_pane;
    PaneArchiveHooks m_paneArchive;
    PaneViewerHooks m_paneViewer;
    FindWorkerHooks m_findWorker;
    WildCardHooks m_wildCard;
    PictureTestHooks m_pictureTest;
    CPreviewReaderLockHooks m_previewReaderLock;
    ArchivePlugInHooks m_archivePlugIn;
    PictureTransformHooks m_pictureTransform;
    PreviewDecodeHooks m_previewDecode;
    SoundHooks m_sound;
};

} // namespace qvtest
