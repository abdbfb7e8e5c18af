// Local memory blocks, the common-file list, the reparse-safe directory walkers and
// the colour button.
#include "app/records/DirectoryWalk.h"
#include "app/records/LocalMemory.h"
#include "app/records/PlayListFile.h"
#include "app/records/SelectColorButton.h"
#include "app/records/SharedRecords.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace
{

// ---- LocalReAllocGrow ----

HLOCAL FailingAlloc(UINT, SIZE_T)
{
    return nullptr;
}

HLOCAL FailingReAlloc(HLOCAL, SIZE_T, UINT)
{
    return nullptr;
}

class RecordsLocalMemory : public ::testing::Test
{
protected:
    void SetUp() override { m_saved = g_LocalMemoryHooks; }
    void TearDown() override { g_LocalMemoryHooks = m_saved; }

    LocalMemoryHooks m_saved = {};
};

TEST_F(RecordsLocalMemory, GrowsInStepsOnlyWhenTheCapacityIsReached)
{
    SIZE_T capacity = 0;
    char* block = static_cast<char*>(LocalReAllocGrow(nullptr, 10, &capacity));
    ASSERT_NE(nullptr, block);
    EXPECT_EQ(50000u, capacity);
    EXPECT_EQ(0, block[49999]); // a new block is zeroed
    memcpy(block, "kept", 5);

    EXPECT_EQ(block, LocalReAllocGrow(block, 49999, &capacity));
    EXPECT_EQ(50000u, capacity);

    char* grown = static_cast<char*>(LocalReAllocGrow(block, 50000, &capacity));
    ASSERT_NE(nullptr, grown);
    EXPECT_EQ(100000u, capacity);
    EXPECT_GE(LocalSize(LocalHandle(grown)), 100000u);
    EXPECT_STREQ("kept", grown);
    LocalFreeLocked(grown);
}

TEST_F(RecordsLocalMemory, FailureKeepsTheOldBlockAndCapacity)
{
    SIZE_T capacity = 0;
    char* block = static_cast<char*>(LocalReAllocGrow(nullptr, 100, &capacity));
    ASSERT_NE(nullptr, block);
    memcpy(block, "kept", 5);

    g_LocalMemoryHooks = {&FailingAlloc, &FailingReAlloc};
    EXPECT_EQ(nullptr, LocalReAllocGrow(block, 60000, &capacity));
    EXPECT_EQ(50000u, capacity);
    ASSERT_NE(nullptr, LocalHandle(block));
    EXPECT_STREQ("kept", block);
    block[49999] = 1; // the whole old block is still ours

    SIZE_T fresh = 7;
    EXPECT_EQ(nullptr, LocalReAllocGrow(nullptr, 10, &fresh));
    EXPECT_EQ(7u, fresh);
    g_LocalMemoryHooks = m_saved;

    char* grown = static_cast<char*>(LocalReAllocGrow(block, 60000, &capacity));
    ASSERT_NE(nullptr, grown);
    EXPECT_EQ(100000u, capacity);
    EXPECT_STREQ("kept", grown);
    LocalFreeLocked(grown);
}

TEST_F(RecordsLocalMemory, WithoutCapacityTheSizeIsExact)
{
    void* block = LocalReAllocGrow(nullptr, 123, nullptr);
    ASSERT_NE(nullptr, block);
    EXPECT_EQ(123u, LocalSize(LocalHandle(block)));
    LocalFreeLocked(block);
}

// ---- Common-file list ----

TEST(RecordsCommonFiles, AddUniqueIgnoresCaseAndSwapChecksIndexes)
{
    CArrayCommonFileEx files;
    files.AddUnique(L"Back.BMP");
    files.AddUnique(L"back.bmp");
    files.AddUnique(L"other.bmp");
    ASSERT_EQ(2, files.GetCount());
    EXPECT_EQ(L"Back.BMP", std::wstring(files[0].m_name.GetString()));
    EXPECT_EQ(0, files[0].m_value);

    files.Swap(0, 2);
    EXPECT_EQ(L"Back.BMP", std::wstring(files[0].m_name.GetString()));
    files.Swap(0, 1);
    EXPECT_EQ(L"other.bmp", std::wstring(files[0].m_name.GetString()));
}

// ---- Walkers ----

TEST(RecordsDirectoryWalk, CountsContentsOnDisk)
{
    std::wstring dir = qvtest::ScratchDir();
    int files = 0, directories = 0;
    ULONGLONG bytes = 0;
    CountDirectoryContents(dir.c_str(), TRUE, files, bytes, directories);
    EXPECT_EQ(0, files);
    EXPECT_EQ(0u, bytes);
    EXPECT_EQ(1, directories);

    CreateDirectoryW((dir + L"\\a").c_str(), nullptr);
    CreateDirectoryW((dir + L"\\a\\b").c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\x", "12345"));
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\a\\b\\y", "123"));
    files = directories = 0;
    bytes = 0;
    CountDirectoryContents(dir.c_str(), TRUE, files, bytes, directories);
    EXPECT_EQ(2, files);
    EXPECT_EQ(8u, bytes);
    EXPECT_EQ(3, directories);
}

// A fake folder in which "loop" is a junction back to the folder itself: every
// folder but "sub" lists ".", "..", "song.mp3" (10 bytes), "loop" and "sub". A
// walk that follows the junction opens folders without end; the fake gives up
// after 50 so that such a fault fails the test instead of hanging it.
struct FakeFind
{
    int next;
    bool empty;
};
int g_findFirstCalls = 0;

bool FillFake(FakeFind* find, WIN32_FIND_DATAW* data)
{
    static const struct
    {
        const wchar_t* name;
        DWORD attributes;
        DWORD size;
    } kEntries[] = {{L".", FILE_ATTRIBUTE_DIRECTORY, 0},
                    {L"..", FILE_ATTRIBUTE_DIRECTORY, 0},
                    {L"song.mp3", FILE_ATTRIBUTE_ARCHIVE, 10},
                    {L"loop", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, 0},
                    {L"sub", FILE_ATTRIBUTE_DIRECTORY, 0}};
    int count = find->empty ? 2 : 5;
    if (find->next >= count)
    {
        return false;
    }
    *data = WIN32_FIND_DATAW{};
    wcscpy(data->cFileName, kEntries[find->next].name);
    data->dwFileAttributes = kEntries[find->next].attributes;
    data->nFileSizeLow = kEntries[find->next].size;
    ++find->next;
    return true;
}

HANDLE FakeFindFirst(LPCWSTR pattern, WIN32_FIND_DATAW* data)
{
    if (++g_findFirstCalls > 50)
    {
        return INVALID_HANDLE_VALUE;
    }
    std::wstring text(pattern);
    FakeFind* find =
        new FakeFind{0, text.size() >= 8 && text.compare(text.size() - 8, 8, L"\\sub\\*.*") == 0};
    FillFake(find, data);
    return reinterpret_cast<HANDLE>(find);
}

BOOL FakeFindNext(HANDLE handle, WIN32_FIND_DATAW* data)
{
    return FillFake(reinterpret_cast<FakeFind*>(handle), data);
}

BOOL FakeFindClose(HANDLE& handle)
{
    delete reinterpret_cast<FakeFind*>(handle);
    handle = INVALID_HANDLE_VALUE;
    return TRUE;
}

class RecordsJunctionLoop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_findFirstCalls = 0;
        m_saved = g_DirectoryEnumHooks;
        g_DirectoryEnumHooks = {&FakeFindFirst, &FakeFindNext, &FakeFindClose};
    }
    void TearDown() override { g_DirectoryEnumHooks = m_saved; }

    DirectoryEnumHooks m_saved = {};
};

TEST_F(RecordsJunctionLoop, CountDoesNotEnterTheJunction)
{
    int files = 0, directories = 0;
    ULONGLONG bytes = 0;
    CountDirectoryContents(L"X:\\root", TRUE, files, bytes, directories);
    EXPECT_EQ(2, g_findFirstCalls); // root and sub
    EXPECT_EQ(1, files);
    EXPECT_EQ(10u, bytes);
    EXPECT_EQ(3, directories); // root, sub, and the junction itself
}

TEST_F(RecordsJunctionLoop, PlayListDirectoryDoesNotEnterTheJunction)
{
    CPlayListPaths list;
    CStringArray kinds;
    kinds.Add(L"MP3");
    AddDirectoryToPlayList(L"X:\\root", list, kinds);
    EXPECT_EQ(2, g_findFirstCalls);
    ASSERT_EQ(1, list.GetEntryCount());
    CString path;
    list.GetEntryFullPath(0, path);
    EXPECT_STREQ(L"X:\\root\\song.mp3", path.GetString());

    int visited = 0;
    g_findFirstCalls = 0;
    ForEachFileBelow(L"X:\\root", [&](LPCWSTR, const WIN32_FIND_DATAW&) -> BOOL {
        ++visited;
        return TRUE;
    });
    EXPECT_EQ(2, g_findFirstCalls);
    EXPECT_EQ(1, visited);
}

// ---- Colour button ----

COLORREF g_offered;
BOOL ChooseBlue(HWND, COLORREF& color)
{
    g_offered = color;
    color = RGB(0, 0, 255);
    return TRUE;
}
BOOL Cancel(HWND, COLORREF&)
{
    return FALSE;
}

TEST(RecordsSelectColorButton, DrawsTheColourInsideATwoPixelBorder)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 20);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, 20, 20};
    FillRect(dc, &all, (HBRUSH)GetStockObject(BLACK_BRUSH));

    CSelectColorButton button;
    EXPECT_EQ(RGB(255, 255, 255), button.m_color);
    button.m_color = RGB(255, 0, 0);
    DRAWITEMSTRUCT item{};
    item.hDC = dc;
    item.rcItem = all;
    button.DrawItem(&item);
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 1, 1));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 2, 2));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 17, 17));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 18, 18));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST(RecordsSelectColorButton, ClickKeepsTheChosenColourOnlyOnOk)
{
    CSelectColorButton button;
    button.m_color = RGB(1, 2, 3);
    const ColorChooserSeam saved = g_ColorChooserSeam;
    g_ColorChooserSeam.chooseColor = &Cancel;
    EXPECT_FALSE(button.OnClicked());
    EXPECT_EQ(RGB(1, 2, 3), button.m_color);
    g_ColorChooserSeam.chooseColor = &ChooseBlue;
    EXPECT_TRUE(button.OnClicked());
    g_ColorChooserSeam = saved;
    EXPECT_EQ(RGB(1, 2, 3), g_offered);
    EXPECT_EQ(RGB(0, 0, 255), button.m_color);
}

} // namespace
