// Times a pane's directory reading over a folder of many files against a bare
// FindFirstFileW/FindNextFileW walk of the same folder, so that work per entry that
// grows with the listing (a quadratic comparison, a per-entry system call) shows as a
// growing ratio: the first read with its sort, the full re-read with its sort, and the
// re-check after one file changed. The folders of 5,000, 20,000 and 100,000
// entries are made once and reused; an argument caps the largest size (for a quick
// try: qv_bench_readdir 20000). After the first read the process's private bytes per
// entry are printed.
#include "bench/BenchSupport.h"
#include "filer/FilerPane.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace
{

using qvbench::Seconds;

// The bare walk every listing needs: the reference of each ratio.
double WalkSeconds(const std::wstring& folder, int& count)
{
    const double start = Seconds();
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    count = 0;
    if (find != INVALID_HANDLE_VALUE)
    {
        do
            ++count;
        while (FindNextFileW(find, &fd));
        FindClose(find);
    }
    return Seconds() - start;
}

SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof(counters)))
        return 0;
    // Wine leaves the private bytes 0 and counts them as the committed (page file)
    // bytes, which on Windows are the same number.
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

// The name of the i-th of `files` files.
void FileName(int i, int files, wchar_t* name)
{
    swprintf(name, 64, L"file%06d.%ls", (i * 7919) % files, i % 3 == 0 ? L"txt" : L"dat");
}

// Under Wine every file created in a folder first looks through the whole folder for
// a name differing in case, so that making 100,000 files from here takes the better
// part of an hour; the host's own tools make them in seconds.
bool MakeFilesOnHost(const std::wstring& folder, int files)
{
    typedef char*(__cdecl * UnixNameFn)(LPCWSTR);
    FARPROC address = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
    auto unixName = reinterpret_cast<UnixNameFn>(reinterpret_cast<void*>(address));
    char* name = unixName ? unixName(folder.c_str()) : nullptr;
    if (!name)
        return false;
    wchar_t script[1024];
    swprintf(script, 1024,
             L"/bin/sh -c \"cd '%hs' && awk 'BEGIN{for(i=0;i<%d;i++) printf \\\"file%%06d.%%s\\n\\\", "
             L"(i*7919)%%%d, (i%%3==0?\\\"txt\\\":\\\"dat\\\")}' | xargs touch\"",
             name, files, files);
    HeapFree(GetProcessHeap(), 0, name);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(L"/bin/sh", script, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // Wine does not follow a host program to its end: wait for the files instead.
    for (int i = 0; i < 600; ++i)
    {
        int count = 0;
        WalkSeconds(folder, count);
        if (count == files + 2)
            return true;
        Sleep(200);
    }
    return false;
}

bool MakeFolder(const std::wstring& folder, int files)
{
    CreateDirectoryW(folder.c_str(), nullptr);
    // A folder left by an earlier run holds the files and its two dot entries.
    int count = 0;
    WalkSeconds(folder, count);
    if (count == files + 2 || MakeFilesOnHost(folder, files))
        return true;
    for (int i = 0; i < files; ++i)
    {
        wchar_t name[64];
        FileName(i, files, name);
        HANDLE file = CreateFileW((folder + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(file);
    }
    return true;
}

// Each step is timed in several rounds, each right after a walk of its own: other
// programs on the machine slow single runs at random, and a walk timed next to the
// step sees the same load. The round with the median ratio is reported.
struct Rounds
{
    std::vector<std::pair<double, double>> timings; // step, walk

    void Add(double seconds, double walk) { timings.emplace_back(seconds, walk); }
    void Report(const char* what)
    {
        if (timings.empty())
        {
            std::printf("%-34s (not seen)\n", what);
            return;
        }
        std::sort(timings.begin(), timings.end(),
                  [](const auto& a, const auto& b) { return a.first * b.second < b.first * a.second; });
        const auto& median = timings[timings.size() / 2];
        std::printf("%-34s %8.3f s   walk %8.3f s   ratio %6.2f\n", what, median.first, median.second,
                    median.second > 0 ? median.first / median.second : 0.0);
    }
};

const int kRounds = 5;

void Run(const std::wstring& root, int files)
{
    wchar_t leaf[32];
    swprintf(leaf, 32, L"\\bench%d", files);
    const std::wstring folder = root + leaf;
    if (!MakeFolder(folder, files))
    {
        std::printf("could not make %d files\n", files);
        return;
    }
    int count = 0;
    WalkSeconds(folder, count); // the file cache is warm from here on
    std::printf("%d entries\n", count);

    Rounds first;
    for (int round = 0; round < kRounds; ++round)
    {
        const double walk = WalkSeconds(folder, count);
        const SIZE_T privateBefore = PrivateBytes();
        CFilerPane* fresh = new CFilerPane(0);
        fresh->SetMode(PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
        // A change of directory reads and sorts.
        double start = Seconds();
        fresh->ChangeDirectory(folder.c_str(), 0, FALSE, FALSE);
        first.Add(Seconds() - start, walk);
        const SIZE_T privateAfter = PrivateBytes();
        if (round == 0 && count > 0 && privateAfter > privateBefore)
            std::printf("%-34s %8.0f bytes\n", "private bytes per entry",
                        static_cast<double>(privateAfter - privateBefore) / count);
        delete fresh;
    }
    first.Report("first read and sort");

    CFilerPane pane(0);
    pane.SetMode(PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
    pane.ChangeDirectory(folder.c_str(), 0, FALSE, FALSE);
    Rounds full, fullRead;
    for (int round = 0; round < kRounds; ++round)
    {
        const double walk = WalkSeconds(folder, count);
        double start = Seconds();
        pane.ReadDirectory(TRUE);
        double read = Seconds() - start;
        pane.SortEntries();
        full.Add(Seconds() - start, walk);
        fullRead.Add(read, walk);
    }
    full.Report("full re-read and sort");
    fullRead.Report("  of which the read");

    // The first re-check opens the change notification; a changed time then makes it
    // fire, so the next re-check compares the whole listing.
    pane.ReadDirectory(FALSE);
    Rounds recheck;
    for (int round = 0; round < kRounds; ++round)
    {
        const double walk = WalkSeconds(folder, count);
        HANDLE file =
            CreateFileW((folder + L"\\file000000.txt").c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        // Every round, and every run on the reused folders, gives the file another time.
        FILETIME time = {};
        GetFileTime(file, nullptr, nullptr, &time);
        time.dwLowDateTime += 10000000;
        if (time.dwLowDateTime < 10000000)
            ++time.dwHighDateTime;
        SetFileTime(file, nullptr, nullptr, &time);
        CloseHandle(file);
        // The notification comes a little later: time the call that sees it.
        int result = 0;
        double seconds = 0;
        for (int i = 0; i < 40 && result == 0; ++i)
        {
            Sleep(50);
            double start = Seconds();
            result = pane.ReadDirectory(FALSE);
            seconds = Seconds() - start;
        }
        if (result != 0)
            recheck.Add(seconds, walk);
    }
    recheck.Report("re-check of one changed file");
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int largest = argc > 1 ? _wtoi(argv[1]) : 100000;
    wchar_t scratch[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"QV_TEST_SCRATCH", scratch, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        GetTempPathW(MAX_PATH, scratch);
    // Each run gets a scratch folder of its own: the folders live beside it, so that
    // the next run finds them made.
    std::wstring root = scratch;
    while (!root.empty() && root.back() == L'\\')
        root.pop_back();
    size_t cut = root.rfind(L'\\');
    if (cut != std::wstring::npos)
        root = root.substr(0, cut);
    root += L"\\bench-folders";
    CreateDirectoryW(root.c_str(), nullptr);
    for (int files : {5000, 20000, 100000})
    {
        if (files <= largest)
            Run(root, files);
    }
    return 0;
}
