// The dialogs that read or change files, and the tag input dialog, hold one reader
// of the thumbnail loader from construction to destruction.
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include "archivefront/dialogs/PreviewReaderLock.h"
#include "fileops/copy/MyCopyDlg.h"
#include "fileops/delete/DeleteDlg.h"
#include "fileops/dialogs/AttributeDlg.h"
#include "fileops/dialogs/FileTimeDlg.h"
#include "fileops/rename/RenameDlg.h"
#include "media/tags/TagMakeDlg.h"

namespace
{

int g_held = 0;

struct HoldCase
{
    const char* dialog;
    std::function<std::unique_ptr<CDialog>()> make;
};

} // namespace

TEST(PreviewReaderHold, FileAndTagDialogsHoldThePreviewReaderForTheirWholeLife)
{
    const HoldCase cases[] = {
        {"copy", [] { return std::unique_ptr<CDialog>(new CMyCopyDlg); }},
        {"delete", [] { return std::unique_ptr<CDialog>(new CDeleteDlg); }},
        {"rename", [] { return std::unique_ptr<CDialog>(new CRenameDlg); }},
        {"attribute", [] { return std::unique_ptr<CDialog>(new CAttributeDlg(0)); }},
        {"file time", [] { return std::unique_ptr<CDialog>(new CFileTimeDlg(0)); }},
        {"time and attribute", [] { return std::unique_ptr<CDialog>(new CTimeAttributeDlg(0)); }},
        {"audio tag", [] { return std::unique_ptr<CDialog>(new CTagMakeDlg); }},
    };
    const CPreviewReaderLockHooks saved = g_PreviewReaderLockHooks;
    g_PreviewReaderLockHooks.acquire = [] { ++g_held; };
    g_PreviewReaderLockHooks.release = [] { --g_held; };
    for (const HoldCase& c : cases)
    {
        SCOPED_TRACE(c.dialog);
        g_held = 0;
        std::unique_ptr<CDialog> dialog = c.make();
        EXPECT_EQ(1, g_held);
        dialog.reset();
        EXPECT_EQ(0, g_held);
    }
    g_PreviewReaderLockHooks = saved;
}
