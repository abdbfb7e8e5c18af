// Graphic mode over real files read through the stand-in BMP plug-in: stepping
// through marked files and the members of a container, staying after the last one or
// going back to the list, the one-picture entry and leaving on the user's answer.
#include "util/Globals.h"
#include "app/Settings.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "app/settings/GraphicSettings.h"
#include "app/settings/ToolSettings.h"
#include "filer/FilerPane.h"
#include "framework/FwLock.h"
#include "graphics/picture/PictureData.h"
#include "graphics/plugins/ArchivePlugInAdapter.h"
#include "graphics/windows/GraphicListDlg.h"
#include "res/GraphicViewerDialogs.h"
#include "tests/common/ProgramWiring.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"
#include "tools/transform/TransformBitmap.h"
#include "view/QvView.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace
{

// A 4 x 2 24-bit BMP file of one colour (0xRRGGBB).
std::string SolidBmp(DWORD rgb)
{
    return qvtest::SolidBmp(4, 2, BYTE(rgb), BYTE(rgb >> 8), BYTE(rgb >> 16));
}

// The container the stand-in archive plug-in reads: "BMAR", then name, size, bytes.
std::string Container(const std::vector<std::pair<std::string, std::string>>& members)
{
    std::string out = "BMAR";
    for (const auto& member : members)
    {
        std::string name(32, '\0');
        memcpy(&name[0], member.first.data(), member.first.size());
        const DWORD size = DWORD(member.second.size());
        out += name;
        out.append(reinterpret_cast<const char*>(&size), 4);
        out += member.second;
    }
    return out;
}

CSusieDllFile Record(const char* version, const wchar_t* fileName, const wchar_t* pattern)
{
    CSusieDllFile record;
    memcpy(record.m_apiVersion, version, 4);
    record.m_fileName = fileName;
    record.m_patterns.Add(pattern);
    record.m_enabled = 1;
    return record;
}

constexpr DWORD kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

class GraphicModeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        {
            CHandleLock lock(g_DataMutex);
            m_savedPlugIns.Copy(g_SusiePlugIns);
            m_savedDir = g_SusiePlugInDir;
            g_SusiePlugIns.RemoveAll();
            g_SusiePlugIns.Add(Record("00IN", L"spi_bmp.sph", L"*.bmp"));
            g_SusiePlugIns.Add(Record("00AM", L"spi_bma.sph", L"*.bma"));
            g_SusiePlugInDir = qvtest::ProgramDir().c_str();
        }
        m_savedStay = g_DRIVELISTCURJUMPCTRL;
        // Small pictures load without the load dialog (whose template lives with the
        // program); the end-to-end test sees the dialog.
        m_savedNoDialog = {g_ENABLE_NO_DIALOG_LOADING, g_NO_DIALOG_LOADING_SIZE};
        g_ENABLE_NO_DIALOG_LOADING = 1;
        g_NO_DIALOG_LOADING_SIZE = 500;
        m_folder = qvtest::ScratchDir() + L"\\graphic";
        CreateDirectoryW(m_folder.c_str(), nullptr);
        Write(L"a.bmp", SolidBmp(kRed));
        Write(L"b.bmp", SolidBmp(kGreen));
        Write(L"c.txt", "not a picture");
        Write(L"d.bma",
              Container({{"m1.bmp", SolidBmp(kBlue)}, {"note.txt", "text"}, {"m2.bmp", SolidBmp(kWhite)}}));
        for (int i = 0; i < 2; ++i)
        {
            m_savedPanes[i] = g_Panes[i];
            m_panes[i] = std::make_unique<CFilerPane>(i);
            m_panes[i]->m_position = i == 0 ? PANE_POS_ACTIVE : PANE_POS_OTHER;
            m_panes[i]->SetDirectory(m_folder.c_str(), TRUE);
            m_panes[i]->ReadDirectory(TRUE);
            m_panes[i]->SortEntries();
            g_Panes[i] = m_panes[i].get();
        }
        m_view = std::make_unique<CQvView>();
    }
    void TearDown() override
    {
        m_view.reset();
        g_CurrentPicture.Free();
        for (int i = 0; i < 2; ++i)
            g_Panes[i] = m_savedPanes[i];
        g_DRIVELISTCURJUMPCTRL = m_savedStay;
        g_ENABLE_NO_DIALOG_LOADING = m_savedNoDialog.first;
        g_NO_DIALOG_LOADING_SIZE = m_savedNoDialog.second;
        CHandleLock lock(g_DataMutex);
        g_SusiePlugIns.Copy(m_savedPlugIns);
        g_SusiePlugInDir = m_savedDir;
    }
    void Write(const wchar_t* name, const std::string& bytes)
    {
        ASSERT_TRUE(qvtest::WriteFileBytes(m_folder + L"\\" + name, bytes));
    }
    INT_PTR IndexOf(const wchar_t* name)
    {
        CFilerPane& pane = *m_panes[0];
        for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
            if (std::wstring(pane.m_entries[i].GetName()) == name)
                return i;
        ADD_FAILURE() << "no entry";
        return 0;
    }
    void Mark(std::initializer_list<const wchar_t*> names)
    {
        for (const wchar_t* name : names)
            m_panes[0]->SetEntryMark(IndexOf(name), 1);
    }
    // The colour of the shown picture's first pixel; 0x1000000 when none is shown.
    static DWORD Shown()
    {
        if (!g_CurrentPicture.IsValid())
            return 0x1000000;
        const BYTE* bits = g_CurrentPicture.GetBits();
        return DWORD(bits[2]) << 16 | DWORD(bits[1]) << 8 | bits[0];
    }

    qvtest::ScopedProgramWiring m_wiring;
    std::wstring m_folder;
    std::unique_ptr<CFilerPane> m_panes[2];
    CFilerPane* m_savedPanes[2] = {};
    std::unique_ptr<CQvView> m_view;
    CArray<CSusieDllFile> m_savedPlugIns;
    CString m_savedDir;
    int m_savedStay = 0;
    std::pair<int, int> m_savedNoDialog;
};

TEST_F(GraphicModeTest, StepsThroughFilesAndContainerMembersAndEndsAsTheStayOptionSays)
{
    for (int stay = 0; stay < 2; ++stay)
    {
        SCOPED_TRACE(stay ? "staying after the last picture" : "back to the list after the last picture");
        g_DRIVELISTCURJUMPCTRL = stay;
        m_panes[0]->m_entries.ClearMarks();
        Mark({L"a.bmp", L"b.bmp", L"c.txt", L"d.bma"});
        CQvView& view = *m_view;
        view.OnViewGraphic(0);
        ASSERT_EQ(UINT(PANE_MODE_GRAPHIC), m_panes[0]->m_mode);
        EXPECT_EQ(kRed, Shown());
        EXPECT_EQ(1, view.IsPictureShown());
        // The text file is passed over; the container is walked member by member,
        // its text member passed over as well.
        const DWORD forward[] = {kGreen, kBlue, kWhite};
        for (DWORD colour : forward)
        {
            view.ShowNextPicture(1);
            EXPECT_EQ(colour, Shown());
        }
        EXPECT_EQ(L"m2.bmp", std::wstring(view.m_graphic.memberName));
        // Back out of the container: the step carries into the list before it.
        view.ShowNextPicture(-1);
        EXPECT_EQ(kBlue, Shown());
        view.ShowNextPicture(-1);
        EXPECT_EQ(kGreen, Shown());
        for (DWORD colour : {kBlue, kWhite})
        {
            view.ShowNextPicture(1);
            EXPECT_EQ(colour, Shown());
        }
        view.ShowNextPicture(1);
        if (stay)
        {
            EXPECT_EQ(UINT(PANE_MODE_GRAPHIC), m_panes[0]->m_mode);
            EXPECT_EQ(1, view.m_graphic.position.IsAtEnd());
            EXPECT_EQ(0, view.IsPictureShown());
            view.LeaveGraphicMode(0, GRAPHIC_LEAVE_BY_USER);
        }
        EXPECT_EQ(UINT(PANE_MODE_FILER), m_panes[0]->m_mode);
        EXPECT_FALSE(g_CurrentPicture.IsValid());
    }
}

TEST_F(GraphicModeTest, OnePictureShowsTheCursorEntryEvenWithMarks)
{
    Mark({L"a.bmp", L"b.bmp"});
    m_panes[0]->m_cursor = IndexOf(L"b.bmp");
    m_view->OnViewGraphic(1);
    ASSERT_EQ(UINT(PANE_MODE_GRAPHIC), m_panes[0]->m_mode);
    EXPECT_EQ(kGreen, Shown());
    m_view->ShowNextPicture(1);
    EXPECT_EQ(UINT(PANE_MODE_FILER), m_panes[0]->m_mode);
}

// Without an image plug-in that reads the files, G and the one-picture entry say so
// and name the setting of the plug-in folder, and the pane returns to its list; a
// picture that is shown is shown without a word.
TEST_F(GraphicModeTest, APictureNoPlugInReadsIsToldWithWhereThePlugInFolderIsSet)
{
    CArray<CSusieDllFile> plugIns;
    {
        CHandleLock lock(g_DataMutex);
        plugIns.Copy(g_SusiePlugIns);
        g_SusiePlugIns.RemoveAll();
    }
    m_panes[0]->m_cursor = IndexOf(L"a.bmp");
    const struct
    {
        const char* entry;
        int singlePicture;
        bool mark;
    } cases[] = {{"one picture", 1, false}, {"the marked pictures", 0, true}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.entry);
        m_panes[0]->m_entries.ClearMarks();
        if (c.mark)
            Mark({L"a.bmp", L"b.bmp"});
        CDialogAnswerScript script;
        script.Add(IDOK);
        m_view->OnViewGraphic(c.singlePicture);
        ASSERT_EQ(1u, script.GetQuestions().size()) << "nothing was told";
        const std::wstring text(script.GetQuestions()[0].text);
        EXPECT_NE(std::wstring::npos, text.find(L"画像プラグインがありません")) << text;
        EXPECT_NE(std::wstring::npos, text.find(L"画像表示設定")) << "the setting is not named";
        EXPECT_NE(std::wstring::npos, text.find(L"Plug-inディレクトリ")) << "the folder's field is not named";
        EXPECT_EQ(UINT(PANE_MODE_FILER), m_panes[0]->m_mode);
        EXPECT_EQ(0, m_view->IsPictureShown());
    }
    {
        CHandleLock lock(g_DataMutex);
        g_SusiePlugIns.Copy(plugIns);
    }
    m_panes[0]->m_entries.ClearMarks();
    CDialogAnswerScript script;
    m_view->OnViewGraphic(1);
    EXPECT_EQ(kRed, Shown());
    EXPECT_TRUE(script.GetQuestions().empty()) << "a shown picture was told about";
}

TEST_F(GraphicModeTest, ExitAsksAndLeavesOnlyOnOk)
{
    m_panes[0]->m_cursor = IndexOf(L"b.bmp");
    const struct
    {
        INT_PTR answer;
        UINT mode;
    } cases[] = {{IDCANCEL, PANE_MODE_GRAPHIC}, {IDOK, PANE_MODE_FILER}};
    m_view->OnViewGraphic(0);
    for (const auto& c : cases)
    {
        CDialogAnswerScript script;
        script.Add(c.answer);
        m_view->OnExitGraphic();
        ASSERT_EQ(1u, script.GetQuestions().size());
        EXPECT_EQ(CString(L"画像の表示を終了しますか"), script.GetQuestions()[0].text);
        EXPECT_EQ(c.mode, m_panes[0]->m_mode);
    }
    EXPECT_EQ(IndexOf(L"b.bmp"), m_panes[0]->m_cursor);
}

TEST_F(GraphicModeTest, PictureListShowsTheContainerMembersAndAMemberRowShowsThatMember)
{
    Mark({L"a.bmp", L"d.bma"});
    CQvView& view = *m_view;
    view.m_graphic.listWindowShown = 1;
    view.OnViewGraphic(0);
    ASSERT_EQ(kRed, Shown());
    ASSERT_NE(nullptr, view.m_pGraphicListDlg);
    CGraphicListDlg& list = *view.m_pGraphicListDlg;
    ASSERT_NE(nullptr, list.m_hWnd);
    HWND members = ::GetDlgItem(list.m_hWnd, IDC_GRAPHIC_LIST_MEMBERS);
    auto memberText = [members](int row) {
        wchar_t buffer[64] = {};
        ListView_GetItemText(members, row, 0, buffer, 64);
        return std::wstring(buffer);
    };
    EXPECT_EQ(0, ListView_GetItemCount(members)) << "a plain file has no members";
    const int container = int(view.m_graphic.position.GetIndex(0)) + 1;

    // Stepping into the container fills the member list and selects the shown member.
    view.ShowNextPicture(1);
    ASSERT_EQ(kBlue, Shown());
    ASSERT_EQ(3, ListView_GetItemCount(members));
    EXPECT_EQ(L"m2.bmp", memberText(2));
    EXPECT_EQ(0, ListView_GetNextItem(members, -1, LVNI_SELECTED));

    // Rows chosen in the window (what its request carries): a member of the open
    // container, then another file, then the container again from its start.
    const struct
    {
        int picture;
        int member;
        DWORD colour;
        int memberRows;
        int selectedMember;
    } choices[] = {
        {container, 2, kWhite, 3, 2},
        {container, 0, kBlue, 3, 0},
        {container - 1, 0, kRed, 0, -1},
        {container, -1, kBlue, 3, 0},
    };
    for (const auto& choice : choices)
    {
        SCOPED_TRACE(testing::Message() << choice.picture << "/" << choice.member);
        list.m_choice.picture = choice.picture;
        list.m_choice.member = choice.member;
        view.OnGraphicListChoice();
        EXPECT_EQ(choice.colour, Shown());
        EXPECT_EQ(choice.memberRows, ListView_GetItemCount(members));
        EXPECT_EQ(choice.selectedMember, ListView_GetNextItem(members, -1, LVNI_SELECTED));
    }
    view.LeaveGraphicMode(0, GRAPHIC_LEAVE_BY_USER);
    EXPECT_EQ(0, ListView_GetItemCount(members));
}

// A 32-bit 2 x 1 BMP whose pixels carry alpha 0x80.
std::string AlphaBmp()
{
    std::string bytes(54 + 8, '\0');
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfSize = DWORD(bytes.size());
    file.bfOffBits = 54;
    BITMAPINFOHEADER info = {};
    info.biSize = 40;
    info.biWidth = 2;
    info.biHeight = 1;
    info.biPlanes = 1;
    info.biBitCount = 32;
    memcpy(&bytes[0], &file, 14);
    memcpy(&bytes[14], &info, 40);
    const BYTE pixels[8] = {0x10, 0x20, 0x30, 0x80, 0x40, 0x50, 0x60, 0x80};
    memcpy(&bytes[54], pixels, 8);
    return bytes;
}

TEST_F(GraphicModeTest, ZoomFitAndTurnsLayTheShownPictureOutAgain)
{
    m_panes[0]->m_cursor = IndexOf(L"a.bmp");
    CQvView& view = *m_view;
    view.OnViewGraphic(1);
    ASSERT_EQ(1, view.IsPictureShown());
    EXPECT_EQ(4, view.m_graphic.displayed.cx);
    view.StepZoom(1); // 1.0 -> 1.5
    EXPECT_EQ(6, view.m_graphic.displayed.cx);
    EXPECT_EQ(3, view.m_graphic.displayed.cy);
    view.StepZoom(2);
    view.StepZoom(2); // 1.0 -> 1/2
    EXPECT_EQ(2, view.m_graphic.displayed.cx);
    view.ToggleFitToWindow(0); // the zoom goes, the fit flags turn off
    EXPECT_TRUE(view.m_graphic.zoom.IsUnset());
    EXPECT_EQ(0, view.m_graphic.fitWidth + view.m_graphic.fitHeight);
    EXPECT_EQ(4, view.m_graphic.displayed.cx);
    view.TransformPicture(0);
    EXPECT_EQ(2, g_CurrentPicture.GetWidth());
    EXPECT_EQ(2, view.m_graphic.displayed.cx);
    EXPECT_EQ(4, view.m_graphic.displayed.cy);
    // The next picture starts from the settings' fit flags again.
    view.LeaveGraphicMode(0, GRAPHIC_LEAVE_BY_USER);
    view.OnViewGraphic(1);
    EXPECT_EQ(g_HEIGHTSCALING, view.m_graphic.fitWidth);
    EXPECT_EQ(g_WIDTHSCALING, view.m_graphic.fitHeight);
}

TEST_F(GraphicModeTest, ClipboardCopyKeepsAlphaOnlyWhenAsked)
{
    Write(L"alpha.bmp", AlphaBmp());
    m_panes[0]->ReadDirectory(TRUE);
    m_panes[0]->SortEntries();
    m_panes[0]->m_cursor = IndexOf(L"alpha.bmp");
    CQvView& view = *m_view;
    view.OnViewGraphic(1);
    ASSERT_EQ(1, view.IsPictureShown());
    ASSERT_EQ(32, g_CurrentPicture.GetBitCount());
    const struct
    {
        int keepAlpha;
        UINT format;
        DWORD headerSize;
    } cases[] = {{1, CF_DIBV5, 124}, {0, CF_DIB, 40}};
    for (const auto& c : cases)
    {
        view.CopyPictureToClipboard(c.keepAlpha);
        ASSERT_TRUE(OpenClipboard(nullptr));
        HGLOBAL block = GetClipboardData(c.format);
        ASSERT_NE(nullptr, block) << c.format;
        const BYTE* data = static_cast<const BYTE*>(GlobalLock(block));
        const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(data);
        EXPECT_EQ(c.headerSize, header->biSize);
        if (c.keepAlpha)
            EXPECT_EQ(0xFF000000u, reinterpret_cast<const BITMAPV5HEADER*>(data)->bV5AlphaMask);
        // The pixels follow the header (and the masks of a version-5 header) at once.
        EXPECT_EQ(0x10, data[c.headerSize]);
        EXPECT_EQ(0x80, data[c.headerSize + 3]);
        GlobalUnlock(block);
        CloseClipboard();
    }
}

TEST_F(GraphicModeTest, AlphaKeywordsChooseTheRowSavingNeedsAShownPictureAndAClickHitsThePane)
{
    const int saved = g_SELECT_ALPHA_CHANNEL_PROCESS;
    const struct
    {
        const wchar_t* keyword;
        int row;
    } cases[] = {{L"@AlphaChannelType3", 2}, {L"@AlphaChannelType10", 9}, {L"@AlphaChannelType1", 0}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(1, m_view->ExecuteCommonCommand(c.keyword));
        EXPECT_EQ(c.row, g_SELECT_ALPHA_CHANNEL_PROCESS) << c.keyword;
    }
    g_SELECT_ALPHA_CHANNEL_PROCESS = saved;
    // In graphic mode every point of the client area is the graphic pane, no entry.
    m_panes[0]->m_cursor = IndexOf(L"a.bmp");
    m_view->OnViewGraphic(1);
    int pane = -2;
    INT64 entry = -2;
    m_view->HitTest(CPoint(5, 5), &pane, &entry);
    EXPECT_EQ(0, pane);
    EXPECT_EQ(-1, entry);
    // Without a picture shown neither save opens its dialog (it would wait for a person).
    m_view->SaveShownPicture(0);
    m_view->SaveShownPicture(1);
}

} // namespace

TEST_F(GraphicModeTest, TheMouseTableDrivesTheWheelAndTheDoubleClickOverAShownPicture)
{
    const GraphicMouseTable saved = g_GraphicMouseOperations;
    g_GraphicMouseOperations = kDefaultGraphicMouseOperations;
    g_DRIVELISTCURJUMPCTRL = 0;
    Mark({L"a.bmp", L"b.bmp"});
    CQvView& view = *m_view;
    view.OnViewGraphic(0);
    ASSERT_EQ(1, view.IsPictureShown());
    ASSERT_EQ(4, view.m_graphic.displayed.cx);
    const struct
    {
        UINT flags;
        short delta;
        int plainWheelDown; // the operation of the plain wheel turned down
        LONG width;
        DWORD colour;
    } turns[] = {
        {MK_CONTROL, WHEEL_DELTA, 3, 6, kRed},            // Ctrl: zoom in, 1.0 -> 1.5
        {MK_CONTROL, -WHEEL_DELTA, 3, 4, kRed},           // and out again
        {MK_CONTROL | MK_SHIFT, WHEEL_DELTA, 3, 4, kRed}, // Shift first: its operation is none
        {0, -WHEEL_DELTA, 3, 4, kRed},                    // scrolls; the picture fits
        {0, -WHEEL_DELTA / 2, 6, 4, kRed},                // less than a notch
        {0, -WHEEL_DELTA, 6, 4, kGreen},                  // the next picture
    };
    for (const auto& turn : turns)
    {
        SCOPED_TRACE(testing::Message() << turn.flags << " " << turn.delta);
        g_GraphicMouseOperations[5][0] = turn.plainWheelDown;
        view.OnMouseWheel(turn.flags, turn.delta, CPoint(0, 0));
        EXPECT_EQ(turn.width, view.m_graphic.displayed.cx);
        EXPECT_EQ(turn.colour, Shown());
    }
    // The double click acts as Enter only when the table says so: past the last
    // picture back to the list.
    for (int operation : {0, 1})
    {
        g_GraphicMouseOperations[2][0] = operation;
        view.OnLButtonDblClk(0, CPoint(0, 0));
        EXPECT_EQ(UINT(operation ? PANE_MODE_FILER : PANE_MODE_GRAPHIC), m_panes[0]->m_mode);
    }
    g_GraphicMouseOperations = saved;
}

TEST_F(GraphicModeTest, TheDebugSwitchForPictureSizesLogsEachDrawnPicture)
{
    const CString savedProgramDir = g_ProgramDir;
    const HANDLE savedLogMutex = g_LogMutex;
    const std::pair<int, int> savedDebug = {g_DEBUGMODE, g_DebugFlags[DEBUG_FLAG_PICTURE_SIZES]};
    g_ProgramDir = m_folder.c_str();
    g_LogMutex = CreateMutexW(nullptr, FALSE, nullptr);
    const std::wstring log = m_folder + L"\\qv.log";
    DeleteFileW(log.c_str());
    m_panes[0]->m_cursor = IndexOf(L"a.bmp");
    m_view->OnViewGraphic(1);
    ASSERT_EQ(1, m_view->IsPictureShown());
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(memory, 64, 64);
    HGDIOBJ old = SelectObject(memory, bitmap);
    {
        CDC dc;
        dc.Attach(memory);
        // Only both switches together write; a 4 x 2 picture's widths for diagonals
        // of 1280 and 1000 pixels.
        for (const std::pair<int, int>& switches : {std::make_pair(1, 0), {0, 1}, {1, 1}})
        {
            g_DEBUGMODE = switches.first;
            g_DebugFlags[DEBUG_FLAG_PICTURE_SIZES] = switches.second;
            m_view->DrawGraphicMode(&dc, CRect(0, 0, 64, 64));
        }
        dc.Detach();
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    std::string bytes = qvtest::ReadFileBytes(log);
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    const std::wstring line = L"a.bmp,4,2,LARGE=1144,SMALL=894";
    const size_t at = text.find(line);
    EXPECT_NE(std::wstring::npos, at);
    EXPECT_EQ(std::wstring::npos, text.find(line, at + 1)) << "one line only";
    CloseHandle(g_LogMutex);
    g_LogMutex = savedLogMutex;
    g_ProgramDir = savedProgramDir;
    std::tie(g_DEBUGMODE, g_DebugFlags[DEBUG_FLAG_PICTURE_SIZES]) = savedDebug;
}
