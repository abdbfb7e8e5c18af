// Times a content search for one text in five character codes over a tree of mixed
// files against a plain read of the same files in the same block size (the I/O floor
// every content search pays). The text occurs nowhere, so every byte is scanned.
// Argument: the data size in megabytes (default 1024); the files are made once beside
// the scratch folder and reused.
#include "bench/BenchSupport.h"
#include "fileops/find/FindThread.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

using qvbench::Seconds;

// Text-like bytes: ASCII words, Shift_JIS kanji and UTF-16 runs, as a tree of
// documents would hold; a fixed seed keeps runs comparable.
void FillMixed(std::vector<char>& data, unsigned seed)
{
    for (size_t i = 0; i < data.size();)
    {
        seed = seed * 1103515245u + 12345u;
        const unsigned kind = (seed >> 16) % 4;
        if (kind < 2 && i + 1 < data.size())
        {
            data[i++] = static_cast<char>(0x88 + (seed >> 8) % 0x10);
            data[i++] = static_cast<char>(0x40 + (seed >> 4) % 0x3C);
        }
        else if (kind == 2 && i + 1 < data.size())
        {
            data[i++] = static_cast<char>(0x20 + (seed >> 8) % 0x5E);
            data[i++] = 0;
        }
        else
            data[i++] = static_cast<char>(0x20 + (seed >> 8) % 0x5E);
    }
}

bool MakeTree(const std::wstring& root, long long megabytes, std::vector<std::wstring>& files)
{
    CreateDirectoryW(root.c_str(), nullptr);
    const long long total = megabytes * 1000000LL;
    long long written = 0;
    // Sizes from 4 KB to 8 MB, so that both the per-file costs and the block loop show.
    static const size_t kSizes[] = {4096, 65536, 700000, 3000000, 8000000};
    std::vector<char> data(8000000);
    for (int i = 0; written < total; ++i)
    {
        wchar_t sub[32];
        swprintf(sub, 32, L"\\d%02d", i % 16);
        CreateDirectoryW((root + sub).c_str(), nullptr);
        wchar_t name[64];
        swprintf(name, 64, L"%ls\\file%05d.txt", sub, i);
        const std::wstring path = root + name;
        size_t size = kSizes[i % 5];
        if (written + static_cast<long long>(size) > total)
            size = static_cast<size_t>(total - written);
        files.push_back(path);
        written += size;
        WIN32_FILE_ATTRIBUTE_DATA existing;
        if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &existing) &&
            existing.nFileSizeLow == size && existing.nFileSizeHigh == 0)
            continue;
        data.resize(size);
        FillMixed(data, static_cast<unsigned>(i));
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        DWORD done = 0;
        WriteFile(file, data.data(), static_cast<DWORD>(size), &done, nullptr);
        CloseHandle(file);
    }
    return true;
}

// The floor: open each file as the search does and read it to its end in blocks of
// the search's size.
double PlainReadSeconds(const std::vector<std::wstring>& files, long long& bytes)
{
    std::vector<char> buffer(FIND_BLOCK_SIZE);
    bytes = 0;
    const double start = Seconds();
    for (const std::wstring& path : files)
    {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        DWORD got = 0;
        while (ReadFile(file, buffer.data(), FIND_BLOCK_SIZE, &got, nullptr) && got > 0)
            bytes += got;
        CloseHandle(file);
    }
    return Seconds() - start;
}

// The same files through the scanner alone, without the walk around it.
double ScanSeconds(const std::vector<std::wstring>& files)
{
    CContentPatterns patterns;
    const int flags[FIND_SLOT_COUNT] = {1, 1, 1, 1, 1};
    patterns.Build(L"見つからない検索語", flags);
    const double start = Seconds();
    for (const std::wstring& path : files)
    {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        patterns.ScanHandle(file, nullptr);
        CloseHandle(file);
    }
    return Seconds() - start;
}

double SearchSeconds(const std::wstring& root, int& found)
{
    CFindThread worker;
    worker.m_pattern = L"*.*";
    worker.m_startDirectory = root.c_str();
    worker.m_baseDirectory = root.c_str();
    worker.m_searchText = L"見つからない検索語";
    for (int& flag : worker.m_encodingFlags)
        flag = 1;
    const double start = Seconds();
    if (!worker.CreateThread())
        return 0;
    WaitForSingleObject(worker.m_hThread, INFINITE);
    const double seconds = Seconds() - start;
    found = static_cast<int>(worker.m_results.GetSize());
    return seconds;
}

const int kTurns = 3;

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const long long megabytes = argc > 1 && _wtoi64(argv[1]) > 0 ? _wtoi64(argv[1]) : 1024;
    const std::wstring folder = qvbench::KeptFolder(L"find" + std::to_wstring(megabytes));
    std::vector<std::wstring> files;
    if (!MakeTree(folder, megabytes, files))
    {
        std::printf("could not make the files\n");
        return 1;
    }
    long long bytes = 0;
    PlainReadSeconds(files, bytes); // warms the file cache
    // Each turn times the plain read next to the search and next to the scan alone.
    qvbench::Turns search, scan;
    int found = 0;
    for (int turn = 0; turn < kTurns; ++turn)
    {
        double plain = PlainReadSeconds(files, bytes);
        search.Add(SearchSeconds(folder, found), plain);
        plain = PlainReadSeconds(files, bytes);
        scan.Add(ScanSeconds(files), plain);
    }
    std::printf("%zu files, %.1f MB, %d found\n", files.size(), static_cast<double>(bytes) / 1e6, found);
    scan.Report("content scan alone, five codes", 0, "plain read");
    search.Report("content search, five codes", 1.5, "plain read");
    return 0;
}
