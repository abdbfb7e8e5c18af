// The thumbnail loader's thread on real files: pictures, a folder shown by its first
// picture, files without a picture, the pause lock and the stop.
#include "app/Settings.h"
#include "app/PreviewSize.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>
#include <string>

namespace
{
// A solid 24-bit BMP of width x height in colour (B, G, R).
void WriteBmp(const std::wstring& path, int width, int height, BYTE b, BYTE g, BYTE r)
{
    const int stride = ((width * 24 + 31) / 32) * 4;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + stride * height;
    std::string rows(size_t(stride) * height, '\0');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            rows[size_t(y) * stride + x * 3] = char(b);
            rows[size_t(y) * stride + x * 3 + 1] = char(g);
            rows[size_t(y) * stride + x * 3 + 2] = char(r);
        }
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, out);
    DWORD written = 0;
    WriteFile(out, &file, sizeof(file), &written, nullptr);
    WriteFile(out, &info, sizeof(info), &written, nullptr);
    WriteFile(out, rows.data(), DWORD(rows.size()), &written, nullptr);
    CloseHandle(out);
}

void WriteText(const std::wstring& path)
{
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(out, "no picture", 10, &written, nullptr);
    CloseHandle(out);
}

WIN32_FIND_DATAW Find(const std::wstring& path)
{
    WIN32_FIND_DATAW data = {};
    HANDLE find = FindFirstFileW(path.c_str(), &data);
    EXPECT_NE(INVALID_HANDLE_VALUE, find) << std::string(path.begin(), path.end());
    FindClose(find);
    return data;
}

// B, G, R of the thumbnail's top-left pixel.
COLORREF TopLeft(const CPreviewInfo& item)
{
    const Thumbnail& t = item.thumbnail;
    const BYTE* p = t.bits + SIZE_T(t.header.biHeight - 1) * t.header.biWidth * 4;
    return RGB(p[2], p[1], p[0]);
}

class PreviewLoaderThreadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = qvtest::ScratchDir() + L"\\preview_loader";
        CreateDirectoryW(dir.c_str(), nullptr);
        CreateDirectoryW((dir + L"\\folder").c_str(), nullptr);
        CreateDirectoryW((dir + L"\\empty").c_str(), nullptr);
        WriteBmp(dir + L"\\red.bmp", 400, 100, 0, 0, 255);
        WriteBmp(dir + L"\\green.bmp", 20, 10, 0, 255, 0);
        WriteBmp(dir + L"\\folder\\b.bmp", 8, 8, 255, 0, 0);
        WriteBmp(dir + L"\\folder\\a.bmp", 8, 8, 0, 255, 255);
        WriteText(dir + L"\\notes.txt");
        WriteText(dir + L"\\empty\\notes.txt");
        savedSleep = g_PREVIEW_NEXT_FILE_SLEEP;
        g_PREVIEW_NEXT_FILE_SLEEP = 0;
    }
    void TearDown() override { g_PREVIEW_NEXT_FILE_SLEEP = savedSleep; }

    void QueueAll(CLoadPreviewThread& loader)
    {
        loader.AcquireReaderLock();
        for (const wchar_t* name : {L"red.bmp", L"green.bmp", L"folder", L"empty", L"notes.txt"})
            loader.QueueEntry(1, dir.c_str(), Find(dir + L"\\" + name), L"");
        loader.EndQueueing();
        loader.ReleaseReaderLock();
    }

    std::wstring dir;
    int savedSleep = 0;
};
} // namespace

TEST_F(PreviewLoaderThreadTest, PicturesAndFoldersGetThumbnailsAndTheRestEndsWithout)
{
    CLoadPreviewThread loader;
    QueueAll(loader);
    ASSERT_TRUE(loader.Start());
    bool done = false;
    for (int i = 0; i < 500 && !done; ++i)
    {
        loader.AcquireReaderLock();
        done = loader.GetQueue().FindQueued(nullptr) == nullptr &&
               loader.GetQueue().Find(dir.c_str(), L"notes.txt")->state != PREVIEW_LOADING;
        loader.ReleaseReaderLock();
        if (!done)
            Sleep(20);
    }
    ASSERT_TRUE(done);
    loader.AcquireReaderLock();
    CPreviewQueue& queue = loader.GetQueue();
    struct Expect
    {
        const wchar_t* name;
        int state;
        int kind;
        COLORREF colour;
    };
    const Expect expects[] = {{L"red.bmp", PREVIEW_READY, 0, RGB(255, 0, 0)},
                              {L"green.bmp", PREVIEW_READY, 0, RGB(0, 255, 0)},
                              {L"folder", PREVIEW_READY, 2, RGB(255, 255, 0)}, // a.bmp, first by name
                              {L"empty", PREVIEW_NONE, 2, 0},
                              {L"notes.txt", PREVIEW_NONE, 0, 0}};
    for (const Expect& e : expects)
    {
        CPreviewInfo* item = queue.Find(dir.c_str(), e.name);
        ASSERT_NE(nullptr, item);
        EXPECT_EQ(e.state, item->state) << std::wstring(e.name).size();
        EXPECT_EQ(e.kind, item->kind);
        if (e.state == PREVIEW_READY)
        {
            EXPECT_EQ(e.colour, TopLeft(*item));
            EXPECT_EQ(GetPreviewWidthScaled(), item->thumbnail.header.biWidth);
            EXPECT_EQ(24, item->thumbnail.sourceBitCount);
        }
        else
            EXPECT_EQ(nullptr, item->thumbnail.bits);
    }
    loader.ReleaseReaderLock();
    loader.RequestStop();
    EXPECT_TRUE(loader.WaitForStop(5000));
}

TEST_F(PreviewLoaderThreadTest, AHeldReaderLockStartsNoItemAndTheLastReleaseResumes)
{
    CLoadPreviewThread loader;
    QueueAll(loader);
    WaitForSingleObject(loader.GetWakeEvent(), 0); // the queueing's own wake-up
    loader.AcquireReaderLock();
    loader.AcquireReaderLock();
    EXPECT_EQ(0, loader.LoadNextPreview());
    loader.ReleaseReaderLock();
    EXPECT_EQ(0, loader.LoadNextPreview());
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(loader.GetWakeEvent(), 0));
    loader.ReleaseReaderLock();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(loader.GetWakeEvent(), 0));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(2, loader.LoadNextPreview());
    EXPECT_EQ(1, loader.LoadNextPreview());

    // The stop ends a thread that waits for work.
    ASSERT_TRUE(loader.Start());
    Sleep(50);
    loader.RequestStop();
    EXPECT_TRUE(loader.WaitForStop(5000));
}
