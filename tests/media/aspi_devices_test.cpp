// The SCSI device list against a stand-in ASPI layer that the test describes.
#include "app/KeywordBuilders.h"
#include "app/settings/MediaSettings.h"
#include "media/scsi/AspiDeviceList.h"
#include "media/scsi/AttachScsiDlg.h"
#include "res/MediaDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestHelpers.h"

#include <string>
#include <thread>

namespace
{

class AspiDevices : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Wine answers for "WNASPI32.DLL" with a built-in layer of its own, whatever
        // file carries the name: the stand-in goes by another.
        list.m_libraryName = (qvtest::ProgramDir() + L"\\qv_wnaspi32.dll").c_str();
        ASSERT_EQ(1, list.LoadAspi());
        HMODULE stub = GetModuleHandleW(list.m_libraryName);
        ASSERT_NE(nullptr, stub);
        reset = Get<void (*)(int)>(stub, "StubReset");
        setAdapter = Get<void (*)(int, int, int)>(stub, "StubSetAdapter");
        setUnit = Get<void (*)(int, int, int, int, int, int)>(stub, "StubSetUnit");
        neverComplete = Get<void (*)(int)>(stub, "StubNeverComplete");
        log = Get<const char* (*)()>(stub, "StubLog");
        reset(1);
        setAdapter(0, 8, 7);
    }

    template <typename F> static F Get(HMODULE module, const char* name)
    {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }

    std::wstring Labels() const
    {
        std::wstring all;
        for (int i = 0; i < list.GetDeviceCount(); ++i)
            all += std::wstring(list.GetDevice(i).label) + L"|";
        return all;
    }

    CAspiDeviceList list;
    void (*reset)(int) = nullptr;
    void (*setAdapter)(int, int, int) = nullptr;
    void (*setUnit)(int, int, int, int, int, int) = nullptr;
    void (*neverComplete)(int) = nullptr;
    const char* (*log)() = nullptr;
};

} // namespace

TEST_F(AspiDevices, TheScanTakesRemovableUnitsByTheLunRules)
{
    setUnit(0, 1, 0, 5, 1, 1); // CD-ROM
    setUnit(0, 1, 1, 0, 1, 1); // another type behind LUN 1: left out
    setUnit(0, 1, 2, 5, 1, 1); // the same type behind LUN 2: taken
    setUnit(0, 2, 0, 0, 0, 1); // fixed disk: left out
    setUnit(0, 3, 0, 3, 1, 1); // processor: left out
    setUnit(0, 4, 0, 7, 1, 1); // MO
    setUnit(0, 5, 0, 4, 1, 1); // CD-R
    ASSERT_EQ(1, list.ScanDevices());
    struct Expected
    {
        int target, lun, kind;
        const wchar_t* text;
    };
    const Expected expected[] = {
        {1, 0, SCSI_KIND_CDROM, L"CD-ROM"},
        {1, 2, SCSI_KIND_CDROM, L"CD-ROM"},
        {4, 0, SCSI_KIND_MO, L"MO"},
        {5, 0, SCSI_KIND_CDR, L"CD-R"},
    };
    ASSERT_EQ(4, list.GetDeviceCount()) << Labels();
    for (int i = 0; i < 4; ++i)
    {
        const AspiDeviceEntry& e = list.GetDevice(i);
        EXPECT_EQ(expected[i].target, e.target) << i;
        EXPECT_EQ(expected[i].lun, e.lun) << i;
        EXPECT_EQ(expected[i].kind, e.kind) << i;
        EXPECT_EQ(std::wstring(expected[i].text), e.kindText) << i;
    }
    EXPECT_EQ(std::wstring(L"#01 VENDOR  PRODUCT-NAME-123"), list.GetDevice(0).label);
    EXPECT_EQ(std::wstring(L"#012 VENDOR  PRODUCT-NAME-123"), list.GetDevice(1).label);
}

TEST_F(AspiDevices, ZeroTargetsMeansEightAndTheListHoldsAtMost128)
{
    setAdapter(0, 0, 0);
    setUnit(0, 7, 0, 0, 1, 1);
    ASSERT_EQ(1, list.ScanDevices());
    ASSERT_EQ(1, list.GetDeviceCount());
    EXPECT_EQ(7, list.GetDevice(0).target);

    reset(3);
    for (int adapter = 0; adapter < 3; ++adapter)
    {
        setAdapter(adapter, 8, 7);
        for (int target = 0; target < 7; ++target)
            for (int lun = 0; lun < 8; ++lun)
                setUnit(adapter, target, lun, 0, 1, 1);
    }
    ASSERT_EQ(3, list.ScanDevices());
    EXPECT_EQ(128, list.GetDeviceCount());
}

TEST_F(AspiDevices, TrayCommandsByKind)
{
    setUnit(0, 0, 0, 7, 1, 1); // PD: MO type at LUN 0, CD-ROM at LUN 1
    setUnit(0, 0, 1, 5, 1, 1);
    setUnit(0, 1, 0, 0, 1, 0); // removable, not ready
    setUnit(0, 2, 0, 5, 1, 1); // CD-ROM
    ASSERT_EQ(1, list.ScanDevices());
    ASSERT_EQ(3, list.GetDeviceCount());
    EXPECT_EQ(SCSI_KIND_PD, list.GetDevice(0).kind);
    struct Case
    {
        int index, action, result;
        const char* log;
    };
    const Case cases[] = {
        {0, SCSI_EJECT, 1, "0:0:0=2;0:0:1=2;"}, {0, SCSI_LOAD, 1, "0:0:0=3;0:0:1=3;"},
        {1, SCSI_EJECT_WHEN_READY, 0, ""},      {2, SCSI_EJECT_WHEN_READY, 1, "0:2:0=2;"},
        {2, SCSI_LOAD, 1, "0:2:0=3;"},          {5, SCSI_EJECT, 0, ""},
    };
    for (const Case& c : cases)
    {
        std::string before = log();
        EXPECT_EQ(c.result, list.EjectOrLoad(c.index, c.action)) << c.index << " " << c.action;
        EXPECT_EQ(std::string(c.log), std::string(log()).substr(before.size())) << c.index << " " << c.action;
    }
    // A PD drive not ready at LUN 0 is ejected through LUN 1 when that one is.
    setUnit(0, 0, 0, 7, 1, 0);
    std::string before = log();
    EXPECT_EQ(1, list.EjectOrLoad(0, SCSI_EJECT_WHEN_READY));
    EXPECT_EQ("0:0:1=2;", std::string(log()).substr(before.size()));
}

TEST_F(AspiDevices, SlotsNameTheirDevices)
{
    setUnit(0, 1, 0, 5, 1, 1); // CD-ROM
    setUnit(0, 2, 0, 0, 1, 1); // removable
    ASSERT_EQ(1, list.ScanDevices());
    CString saved[SCSI_COMMAND_COUNT];
    for (int i = 0; i < SCSI_COMMAND_COUNT; ++i)
        saved[i] = g_ScsiCommandSettings[i];
    // The keyword builder asks the program's list; give it this one's devices.
    static CAspiDeviceList* s_list;
    s_list = &list;
    const KeywordHooks savedLookup = g_KeywordHooks;
    g_KeywordHooks.lookupScsiDevice = [](int a, int t, int u, CString& label, BOOL& ejectOnly) {
        for (int i = 0; i < s_list->GetDeviceCount(); ++i)
        {
            const AspiDeviceEntry& e = s_list->GetDevice(i);
            if (e.adapter == a && e.target == t && e.lun == u)
            {
                label = e.label;
                ejectOnly = CAspiDeviceList::IsEjectOnlyKind(e.kind);
                return 1;
            }
        }
        return 0;
    };
    struct Case
    {
        const wchar_t* setting;
        int result;
        const wchar_t* text;
    };
    const Case cases[] = {
        {L"0100", 1, L"#01 VENDOR  PRODUCT-NAME-123 Open"},
        {L"0101", 1, L"#01 VENDOR  PRODUCT-NAME-123 Close"},
        {L"0200", 1, L"#02 VENDOR  PRODUCT-NAME-123 Eject"},
        {L"0350", 1, L"#0:3:5 Open"},
        {L"0351", 1, L"#0:3:5 Close"},
        {L"0102", 0, L""},
        {L"A100", 0, L""},
        {L"010", 0, L""},
        {L"", 0, L""},
    };
    for (const Case& c : cases)
    {
        g_ScsiCommandSettings[3] = c.setting;
        CString out = L"old";
        EXPECT_EQ(c.result, GetScsiCommandText(L"@Scsi04", out)) << c.setting;
        EXPECT_EQ(std::wstring(c.text), qvtest::W(out)) << c.setting;
    }
    CString out;
    EXPECT_EQ(0, GetScsiCommandText(L"@Scsi10", out));
    EXPECT_EQ(0, GetScsiCommandText(L"@Scsi4", out));

    // The slot's command: open ejects a CD-ROM, close of a removable unit sends nothing.
    std::string before = log();
    g_ScsiCommandSettings[0] = L"0100";
    g_ScsiCommandSettings[1] = L"0201";
    list.RunSlot(1);
    list.RunSlot(2);
    EXPECT_EQ("0:1:0=2;", std::string(log()).substr(before.size()));

    g_KeywordHooks = savedLookup;
    for (int i = 0; i < SCSI_COMMAND_COUNT; ++i)
        g_ScsiCommandSettings[i] = saved[i];
}

TEST_F(AspiDevices, ACommandThatNeverCompletesFailsAfterTheLimit)
{
    setUnit(0, 1, 0, 5, 1, 1);
    ASSERT_EQ(1, list.ScanDevices());
    neverComplete(1);
    list.m_pendingLimit = 200;
    // The commands never complete: each call can only come back through the limit.
    int results[3] = {-1, -1, -1};
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread caller([&] {
        results[0] = list.TestUnitReady(0, 1, 0);
        results[1] = list.HostAdapterInquiry(0);
        results[2] = list.EjectOrLoad(0, SCSI_EJECT);
        SetEvent(done);
    });
    const bool returned = WaitForSingleObject(done, 60000) == WAIT_OBJECT_0;
    neverComplete(0);
    caller.join();
    CloseHandle(done);
    ASSERT_TRUE(returned) << "a command that never completes held its caller";
    EXPECT_EQ(0, results[0]);
    EXPECT_EQ(0, results[1]);
    EXPECT_EQ(0, results[2]);
}

TEST(AspiLayer, AMissingLayerFindsNothing)
{
    CAspiDeviceList list;
    list.m_libraryName = L"no-such-layer.dll";
    EXPECT_EQ(0, list.ScanDevices());
    EXPECT_EQ(0, list.GetDeviceCount());
    EXPECT_EQ(0, list.EjectOrLoad(0, SCSI_EJECT));
}

namespace
{

class CDrivenAttachScsiDlg : public qvtest::CDrivenDialog<CDrivenAttachScsiDlg, CAttachScsiDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
};

} // namespace

TEST_F(AspiDevices, TheAssignmentDialogBindsRowsToSlots)
{
    setUnit(0, 1, 0, 5, 1, 1); // CD-ROM: open and close rows
    setUnit(0, 2, 0, 0, 1, 1); // removable: one eject row
    ASSERT_EQ(1, list.ScanDevices());
    CString saved[SCSI_COMMAND_COUNT];
    for (int i = 0; i < SCSI_COMMAND_COUNT; ++i)
        saved[i] = g_ScsiCommandSettings[i];
    for (int i = 0; i < SCSI_COMMAND_COUNT; ++i)
        g_ScsiCommandSettings[i] = i == 0 ? L"0200" : L"";

    CDrivenAttachScsiDlg dlg(&list);
    dlg.m_neglectScan = 1;
    std::vector<std::wstring> rows;
    std::wstring first, third;
    dlg.drive = [&](CDrivenAttachScsiDlg& d) {
        rows = d.ListBoxLines(IDC_SCSI_DEVICES);
        CString text;
        d.GetDlgItemText(IDC_SCSI_SLOT1, text);
        first = qvtest::W(text);
        ::SendDlgItemMessageW(d.m_hWnd, IDC_SCSI_DEVICES, LB_SETCURSEL, 1, 0);
        d.Command(IDC_SCSI_SLOT1 + 2);
        d.GetDlgItemText(IDC_SCSI_SLOT1 + 2, text);
        third = qvtest::W(text);
        d.CheckDlgButton(IDC_SCSI_NO_SCAN, BST_UNCHECKED);
        d.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(std::vector<std::wstring>({L"#01 VENDOR  PRODUCT-NAME-123 Open",
                                         L"#01 VENDOR  PRODUCT-NAME-123 Close",
                                         L"#02 VENDOR  PRODUCT-NAME-123 Eject"}),
              rows);
    EXPECT_EQ(L"#0:2:0 Open", first);
    EXPECT_EQ(L"#0:1:0 Close", third);
    EXPECT_EQ(std::wstring(L"0101"), qvtest::W(g_ScsiCommandSettings[2]));
    EXPECT_EQ(std::wstring(L"0200"), qvtest::W(g_ScsiCommandSettings[0]));
    EXPECT_EQ(0, dlg.m_neglectScan);
    for (int i = 0; i < SCSI_COMMAND_COUNT; ++i)
        g_ScsiCommandSettings[i] = saved[i];
}
