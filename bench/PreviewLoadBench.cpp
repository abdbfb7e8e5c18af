// Times the thumbnail loader over a folder of large pictures, from queueing every
// file to the last thumbnail ready (no pause between items), against the plain
// decode of the same files through one plug-in host in the same run; both read
// through the stand-in BMP plug-in beside the program (spi_bmp.sph). The scaling of
// one decoded picture is timed alone as well, to show what dominates. The folder of
// 1920 x 1080 x 24 pictures is made once and reused; the argument gives the count
// (default 60; 300 for the size of the first measurements).
#include "bench/BenchSupport.h"
#include "util/Globals.h"
#include "app/Settings.h"
#include "app/PreviewSize.h"
#include "app/settings/GraphicSettings.h"
#include "app/settings/ViewSettings.h"
#include "framework/FwLock.h"
#include "graphics/picture/PictureData.h"
#include "graphics/plugins/SusiePlugInHost.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "graphics/preview/PreviewPlugInDecode.h"
#include "graphics/preview/ThumbnailScaling.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace
{
using qvbench::Seconds;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// A picture with a gradient, so that no two files are the same bytes.
bool WritePicture(const std::wstring& path, int seed)
{
    const int stride = ((kWidth * 24 + 31) / 32) * 4;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = kWidth;
    info.biHeight = kHeight;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + DWORD(stride) * kHeight;
    std::vector<BYTE> rows(size_t(stride) * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            BYTE* p = &rows[size_t(y) * stride + size_t(x) * 3];
            p[0] = BYTE(x + seed);
            p[1] = BYTE(y + seed * 3);
            p[2] = BYTE(x ^ y);
        }
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(out, &file, sizeof(file), &written, nullptr) &&
              WriteFile(out, &info, sizeof(info), &written, nullptr) &&
              WriteFile(out, rows.data(), DWORD(rows.size()), &written, nullptr);
    CloseHandle(out);
    return ok;
}

std::wstring PictureName(int i)
{
    wchar_t name[32];
    swprintf(name, 32, L"pic%04d.bmp", i);
    return name;
}

// A window that only counts the loader's messages.
struct Counter
{
    UINT message = 0;
    int count = 0;
};
Counter g_counter;

LRESULT CALLBACK CounterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == g_counter.message)
    {
        ++g_counter.count;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int count = argc > 1 && _wtoi(argv[1]) > 0 ? _wtoi(argv[1]) : 60;
    const std::wstring program = qvbench::ProgramFolder();
    const std::wstring folder = program + L"\\preview-bench";
    CreateDirectoryW(folder.c_str(), nullptr);
    for (int i = 0; i < count; ++i)
    {
        const std::wstring path = folder + L"\\" + PictureName(i);
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES && !WritePicture(path, i))
        {
            fwprintf(stderr, L"cannot write %ls\n", path.c_str());
            return 1;
        }
    }
    {
        CHandleLock lock(g_DataMutex);
        CSusieDllFile record;
        memcpy(record.m_apiVersion, "00IN", 4);
        record.m_fileName = L"spi_bmp.sph";
        record.m_patterns.Add(L"*.bmp");
        record.m_enabled = 1;
        g_SusiePlugIns.RemoveAll();
        g_SusiePlugIns.Add(record);
        g_SusiePlugInDir = program.c_str();
    }
    g_PreviewDecodeHooks.decodePicture = DecodePreviewFile;
    g_PreviewDecodeHooks.takesName = PreviewPlugInTakesName;
    g_PreviewDecodeHooks.decodeMemory = DecodePreviewMemory;
    g_PREVIEW_NEXT_FILE_SLEEP = 0;

    // The reference: every file through one host, decoded and dropped.
    double plain = 0;
    {
        const double start = Seconds();
        CSusiePlugInHost host;
        int decoded = 0;
        for (int i = 0; i < count; ++i)
        {
            const std::wstring path = folder + L"\\" + PictureName(i);
            CPictureData picture;
            if (host.LoadPlugInForFile(path.c_str(), 2, 0, 1) >= 0 &&
                host.GetPicture(path.c_str(), picture, nullptr) == 0 && picture.IsValid())
                ++decoded;
        }
        plain = Seconds() - start;
        if (decoded != count)
        {
            fwprintf(stderr, L"the plug-in decoded %d of %d pictures\n", decoded, count);
            return 1;
        }
    }

    // The scaling alone, of one decoded picture, as often as there are files.
    double scaling = 0;
    {
        CPictureData picture;
        const std::wstring path = folder + L"\\" + PictureName(0);
        if (DecodePreviewFile(path.c_str(), picture) != 1)
            return 1;
        SIZE_T headerSize = 0, bitsSize = 0;
        picture.GetHeaderSize(&headerSize);
        picture.GetBitsSize(&bitsSize);
        const double start = Seconds();
        for (int i = 0; i < count; ++i)
        {
            Thumbnail thumbnail;
            ScaleThumbnail(&picture.GetHeader()->bmiHeader, headerSize, picture.GetBits(), bitsSize,
                           GetPreviewWidthScaled(), GetPreviewHeightScaled(),
                           g_DisplayColors[COLOR_PREVIEW_BACK], &thumbnail);
            FreeThumbnail(&thumbnail);
        }
        scaling = Seconds() - start;
    }

    // The loader: queued at once, timed to the last thumbnail's message.
    double loader = 0;
    {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = CounterProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QvPreviewBenchCounter";
        RegisterClassW(&windowClass);
        HWND window = CreateWindowW(windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    windowClass.hInstance, nullptr);
        CLoadPreviewThread previews;
        g_counter.message = previews.GetLoadedMessage();
        previews.SetNotifyWindow(window);
        std::vector<WIN32_FIND_DATAW> found(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
        {
            HANDLE find = FindFirstFileW((folder + L"\\" + PictureName(i)).c_str(), &found[size_t(i)]);
            FindClose(find);
        }
        previews.Start();
        const double start = Seconds();
        previews.AcquireReaderLock();
        for (int i = 0; i < count; ++i)
            previews.QueueEntry(1, folder.c_str(), found[size_t(i)], L"");
        previews.EndQueueing();
        previews.ReleaseReaderLock();
        MSG message;
        while (g_counter.count < count && GetMessageW(&message, nullptr, 0, 0) > 0)
            DispatchMessageW(&message);
        loader = Seconds() - start;
        previews.RequestStop();
        previews.WaitForStop(INFINITE);
        DestroyWindow(window);
    }

    wprintf(L"%d pictures of %d x %d x 24\n", count, kWidth, kHeight);
    wprintf(L"plain decode through one host: %.3f s (%.1f ms a picture)\n", plain, plain * 1000 / count);
    wprintf(L"thumbnail scaling alone:       %.3f s (%.1f ms a picture)\n", scaling, scaling * 1000 / count);
    wprintf(L"loader, queue to all ready:    %.3f s (%.1f ms a picture)\n", loader, loader * 1000 / count);
    wprintf(L"ratio loader / plain decode:   %.2f\n", plain > 0 ? loader / plain : 0.0);
    const double ratio = plain > 0 ? loader / plain : 0.0;
    qvbench::RecordRow("thumbnails, loader against a plain decode", ratio, ratio, ratio, 1, 0);
    return 0;
}
