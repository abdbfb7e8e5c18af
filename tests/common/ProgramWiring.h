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

namespace qvtest
{

class ScopedProgramWiring
{
public:
    ScopedProgramWiring()
        : m_settings(g_SettingsHooks), m_closeEntryFind(CDirWalkFrame::GetCloseEntryFind()),
          m_targetEntrySource(GetPaneTargetEntrySource()), m_macroPaneAccess(g_MacroPaneAccess),
          m_scsiDeviceLookup(g_ScsiDeviceLookup), m_pane(g_PaneHooks), m_createFindThread(g_CreateFindThread),
          m_editCondition(CWildCardDlg::GetEditCondition()), m_pictureTest(g_PictureTestHooks),
          m_previewReaderLock(g_PreviewReaderLockHooks), m_archivePlugIn(g_ArchivePlugInHooks),
          m_pictureTransform(g_PictureTransformHooks), m_previewDecode(g_PreviewDecodeHooks)
    {
        InstallProgramHooks();
    }
    ~ScopedProgramWiring()
    {
        g_SettingsHooks = m_settings;
        CDirWalkFrame::SetCloseEntryFind(m_closeEntryFind);
        SetPaneTargetEntrySource(m_targetEntrySource);
        g_MacroPaneAccess = m_macroPaneAccess;
        g_ScsiDeviceLookup = m_scsiDeviceLookup;
        g_PaneHooks = m_pane;
        // The pane factories cannot be read back: they return to the defaults a test
        // program starts with.
        SetPaneArchiveFactory(nullptr);
        SetPaneViewerFactory(nullptr);
        g_CreateFindThread = m_createFindThread;
        CWildCardDlg::SetEditCondition(m_editCondition);
        g_PictureTestHooks = m_pictureTest;
        g_PreviewReaderLockHooks = m_previewReaderLock;
        g_ArchivePlugInHooks = m_archivePlugIn;
        g_PictureTransformHooks = m_pictureTransform;
        g_PreviewDecodeHooks = m_previewDecode;
    }
    ScopedProgramWiring(const ScopedProgramWiring&) = delete;
    ScopedProgramWiring& operator=(const ScopedProgramWiring&) = delete;

private:
    SettingsHooks m_settings;
    CDirWalkFrame::CloseEntryFindFn m_closeEntryFind;
    PaneTargetEntrySource m_targetEntrySource;
    MacroPaneAccess m_macroPaneAccess;
    ScsiDeviceLookupFn m_scsiDeviceLookup;
    PaneHooks m_pane;
    CFindThreadBase* (*m_createFindThread)();
    CWildCardDlg::EditConditionFn m_editCondition;
    PictureTestHooks m_pictureTest;
    CPreviewReaderLockHooks m_previewReaderLock;
    ArchivePlugInHooks m_archivePlugIn;
    PictureTransformHooks m_pictureTransform;
    PreviewDecodeHooks m_previewDecode;
};

} // namespace qvtest
