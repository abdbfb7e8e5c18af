// Saving pictures as BMP files: what comes back, the series numbering, refusals and
// failures that must leave an existing file alone.
#include "graphics/picture/BmpSaving.h"
#include "graphics/picture/PictureData.h"
#include "tests/common/TestSupport.h"
#include "tests/graphics/PictureTestData.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace
{
std::string Bytes(const void* data, size_t size)
{
    return std::string(static_cast<const char*>(data), size);
}

std::string Rows(CPictureData& picture)
{
    SIZE_T size = 0;
    EXPECT_EQ(1, picture.GetBitsSize(&size));
    return Bytes(picture.GetBits(), size);
}

int g_writesLeft = 0;
BOOL FailingWrite(HANDLE file, const void* data, DWORD size, DWORD* written)
{
    if (g_writesLeft-- <= 0)
    {
        *written = 0;
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    return WriteFile(file, data, size, written, nullptr);
}

class BmpSavingTest : public ::testing::Test
{
protected:
    void SetUp() override { m_dir = qvtest::ScratchDir(); }
    void TearDown() override { g_BmpSaveHooks.writeFile = m_savedWrite; }
    std::wstring m_dir;
    decltype(g_BmpSaveHooks.writeFile) m_savedWrite = g_BmpSaveHooks.writeFile;
};
} // namespace

TEST_F(BmpSavingTest, SavedPicturesLoadBackUnchanged)
{
    for (int bitCount : {1, 4, 8, 24, 32})
    {
        CPictureData picture;
        qvtest::MakePicture(picture, 7, 3, bitCount);
        const std::wstring path = m_dir + L"\\round" + std::to_wstring(bitCount) + L".bmp";
        ASSERT_EQ(BMP_SAVE_OK, SavePictureAsBmp(picture, path.c_str())) << bitCount;
        CPictureData loaded;
        ASSERT_EQ(1, loaded.LoadBmp(path.c_str())) << bitCount;
        EXPECT_EQ(7, loaded.GetWidth());
        EXPECT_EQ(3, loaded.GetHeight());
        EXPECT_EQ(bitCount, loaded.GetBitCount());
        EXPECT_EQ(Rows(picture), Rows(loaded)) << bitCount;
        DWORD table = 0;
        ASSERT_EQ(1, picture.GetColorTableSize(&table));
        EXPECT_EQ(Bytes(picture.GetHeader()->bmiColors, table), Bytes(loaded.GetHeader()->bmiColors, table))
            << bitCount;
    }
    EXPECT_EQ(
        std::set<std::wstring>({L"round1.bmp", L"round4.bmp", L"round8.bmp", L"round24.bmp", L"round32.bmp"}),
        qvtest::ListFolder(m_dir));
}

TEST_F(BmpSavingTest, AShortPlugInTableIsSavedFull)
{
    std::string header(40 + 16 * 4, '\0');
    BITMAPINFOHEADER info = {};
    info.biSize = 40;
    info.biWidth = 4;
    info.biHeight = 1;
    info.biPlanes = 1;
    info.biBitCount = 8;
    info.biClrUsed = 16;
    memcpy(&header[0], &info, 40);
    for (int i = 0; i < 64; ++i)
        header[40 + i] = char(i + 1);
    auto block = [](const std::string& bytes) {
        HLOCAL handle = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, bytes.size());
        memcpy(LocalLock(handle), bytes.data(), bytes.size());
        LocalUnlock(handle);
        return handle;
    };
    CPictureData picture;
    ASSERT_EQ(1, picture.Attach(block(header), block(std::string("\x01\x02\x0F\x00", 4))));
    const std::wstring path = m_dir + L"\\short.bmp";
    ASSERT_EQ(BMP_SAVE_OK, SavePictureAsBmp(picture, path.c_str()));
    CPictureData loaded;
    ASSERT_EQ(1, loaded.LoadBmp(path.c_str()));
    EXPECT_EQ(header.substr(40), Bytes(loaded.GetHeader()->bmiColors, 64));
    EXPECT_EQ(std::string(1024 - 64, '\0'),
              Bytes(reinterpret_cast<BYTE*>(loaded.GetHeader()->bmiColors) + 64, 960));
}

TEST_F(BmpSavingTest, ASeriesAdvancesAndStopsAfter9999)
{
    CPictureData picture;
    qvtest::MakePicture(picture, 2, 2, 24);
    int number = 7;
    CString saved;
    ASSERT_EQ(BMP_SAVE_OK, SaveSeriesBmp(picture, m_dir.c_str(), L"pic", number, &saved));
    EXPECT_EQ(m_dir + L"\\pic0007.BMP", std::wstring(saved));
    ASSERT_EQ(BMP_SAVE_OK, SaveSeriesBmp(picture, m_dir.c_str(), L"pic", number));
    EXPECT_EQ(9, number);
    EXPECT_EQ(std::set<std::wstring>({L"pic0007.BMP", L"pic0008.BMP"}), qvtest::ListFolder(m_dir));

    number = 9999;
    ASSERT_EQ(BMP_SAVE_OK, SaveSeriesBmp(picture, m_dir.c_str(), L"pic", number));
    EXPECT_EQ(BMP_SAVE_SERIES_FULL, SaveSeriesBmp(picture, m_dir.c_str(), L"pic", number));
    EXPECT_EQ(10000, number);
    EXPECT_EQ(3u, qvtest::ListFolder(m_dir).size());
    EXPECT_FALSE(BmpSaveMessage(BMP_SAVE_SERIES_FULL).IsEmpty());
}

TEST_F(BmpSavingTest, RefusalsAndFailuresKeepTheOldFile)
{
    const std::wstring path = m_dir + L"\\old.bmp";
    const std::string old = "the old file";
    ASSERT_TRUE(qvtest::WriteFileBytes(path, old));

    CPictureData sixteen;
    qvtest::MakePicture(sixteen, 3, 3, 16);
    EXPECT_EQ(BMP_SAVE_BAD_DATA, SavePictureAsBmp(sixteen, path.c_str()));
    EXPECT_EQ(L"データ不正で中止します", std::wstring(BmpSaveMessage(BMP_SAVE_BAD_DATA)));
    EXPECT_EQ(old, qvtest::ReadFileBytes(path));

    // Big enough for the pixels to go in several pieces; the disk fills after the
    // headers, then after the first piece.
    CPictureData picture;
    qvtest::MakePicture(picture, 300, 100, 24);
    g_BmpSaveHooks.writeFile = FailingWrite;
    for (int writes : {3, 4})
    {
        g_writesLeft = writes;
        EXPECT_EQ(BMP_SAVE_WRITE_FAILED, SavePictureAsBmp(picture, path.c_str())) << writes;
        EXPECT_EQ(old, qvtest::ReadFileBytes(path)) << writes;
        EXPECT_EQ(std::set<std::wstring>({L"old.bmp"}), qvtest::ListFolder(m_dir)) << writes;
    }

    // A stop between the pieces leaves it too.
    g_BmpSaveHooks.writeFile = m_savedWrite;
    auto stop = [](ULONGLONG, ULONGLONG, void*) { return 1; };
    EXPECT_EQ(BMP_SAVE_STOPPED, SavePictureAsBmp(picture, path.c_str(), stop, nullptr));
    EXPECT_EQ(old, qvtest::ReadFileBytes(path));
    EXPECT_EQ(std::set<std::wstring>({L"old.bmp"}), qvtest::ListFolder(m_dir));

    ASSERT_EQ(BMP_SAVE_OK, SavePictureAsBmp(picture, path.c_str()));
    CPictureData loaded;
    EXPECT_EQ(1, loaded.LoadBmp(path.c_str()));
}
