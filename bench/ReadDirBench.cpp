// Times a pane's directory reading over a folder of many files against a bare
// FindFirstFileW/FindNextFileW walk of the same folder, so that work per entry that
// grows with the listing (a quadratic comparison, a per-entry system call) shows as a
// growing ratio: the first read with its sort (and the two apart), the full re-read
// with its sort, and the re-check after one file changed. The folders of 5,000,
// 20,000 and 100,000 entries are made once and reused; the argument caps the largest
// size (20000 unless given; 100000 for all three). After the first read the process's private bytes per
// entry are printed, and at the end its peak working set.
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

// The re-check is timed after a pause of 50 ms (see below), and a processor that idled
// that long runs the next few milliseconds slower in a virtual machine (about 3% of a
// walk of 5,000 entries): its walk follows the same pause.
double WalkAfterPause(const std::wstring& folder, int& count)
{
    Sleep(50);
    return WalkSeconds(folder, count);
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

// Each step is timed in many turns, each beside a walk of its own: other programs on
// the machine slow single runs at random, and a walk timed next to the step sees the
// same load. The walk goes first in even turns and last in odd ones, so that neither
// side always meets the caches the other left. The median turn's ratio is reported,
// with the spread.
using qvbench::Turns;

const int kRounds = 15;

// Times `step` and a walk of the folder beside it, in the order the turn asks.
template <typename Step>
std::pair<double, double> TimedBesideWalk(int round, const std::wstring& folder, int& count, Step step)
{
    double walk = 0;
    if (round % 2 == 0)
        walk = WalkSeconds(folder, count);
    const double ours = step();
    if (round % 2 != 0)
        walk = WalkSeconds(folder, count);
    return {ours, walk};
}
// The private bytes a listed entry may cost.
const int kBytesPerEntryGoal = 450;

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
    auto scenario = [files](const char* what) {
        static char text[96];
        std::snprintf(text, sizeof text, "%s, %dk entries", what, files / 1000);
        return text;
    };

    Turns first;
    for (int round = 0; round < kRounds; ++round)
    {
        SIZE_T privateBefore = 0, privateAfter = 0;
        const auto timed = TimedBesideWalk(round, folder, count, [&] {
            privateBefore = PrivateBytes();
            CFilerPane* fresh = new CFilerPane(0);
            fresh->SetMode(PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
            // A change of directory reads and sorts.
            const double start = Seconds();
            fresh->ChangeDirectory(folder.c_str(), 0, FALSE, FALSE);
            const double seconds = Seconds() - start;
            privateAfter = PrivateBytes();
            delete fresh;
            return seconds;
        });
        first.Add(timed.first, timed.second);
        if (round == 0 && count > 0 && privateAfter > privateBefore)
        {
            const double perEntry = static_cast<double>(privateAfter - privateBefore) / count;
            std::printf("%-40s %8.0f bytes   goal %d\n", "private bytes per entry", perEntry,
                        kBytesPerEntryGoal);
            qvbench::RecordRow(scenario("private bytes per entry"), perEntry, perEntry, perEntry, 1,
                               kBytesPerEntryGoal);
        }
    }
    first.Report(scenario("first read and sort"), 1.2, "walk");

    // The first read again in its two steps, each turn in a fresh pane: the read
    // (the walk, the entries made from it, the watch armed) and then the sort (the
    // name keys made and the entries ordered), each against a walk of its own.
    Turns firstRead, firstSort;
    for (int round = 0; round < kRounds; ++round)
    {
        double read = 0, sort = 0;
        const double walk = TimedBesideWalk(round, folder, count, [&] {
                                CFilerPane* fresh = new CFilerPane(0);
                                fresh->SetMode(PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
                                fresh->m_currentDir = folder.c_str();
                                const double start = Seconds();
                                fresh->ReadDirectory(TRUE);
                                const double middle = Seconds();
                                fresh->SortEntries();
                                read = middle - start;
                                sort = Seconds() - middle;
                                delete fresh;
                                return read + sort;
                            }).second;
        firstRead.Add(read, walk);
        firstSort.Add(sort, walk);
    }
    firstRead.Report(scenario("  its read"), 0, "walk");
    firstSort.Report(scenario("  its sort"), 0, "walk");

    CFilerPane pane(0);
    pane.SetMode(PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
    pane.ChangeDirectory(folder.c_str(), 0, FALSE, FALSE);
    Turns full, fullRead;
    for (int round = 0; round < kRounds; ++round)
    {
        double read = 0;
        const auto timed = TimedBesideWalk(round, folder, count, [&] {
            const double start = Seconds();
            pane.ReadDirectory(TRUE);
            read = Seconds() - start;
            pane.SortEntries();
            return Seconds() - start;
        });
        full.Add(timed.first, timed.second);
        fullRead.Add(read, timed.second);
    }
    full.Report(scenario("full re-read and sort"), 1.1, "walk");
    fullRead.Report(scenario("  of which the read"), 0, "walk");

    // The first re-check opens the change notification; a changed time then makes it
    // fire, so the next re-check compares the whole listing.
    pane.ReadDirectory(FALSE);
    Turns recheck;
    for (int round = 0; round < kRounds; ++round)
    {
        double walk = 0;
        if (round % 2 == 0)
            walk = WalkAfterPause(folder, count);
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
        if (round % 2 != 0)
            walk = WalkAfterPause(folder, count);
        recheck.Add(result != 0 ? seconds : -1, walk);
    }
    recheck.Report(scenario("re-check of one changed file"), 1.1, "walk");
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int largest = argc > 1 && _wtoi(argv[1]) > 0 ? _wtoi(argv[1]) : 20000;
    // The folders stay beside the run's scratch folder, so that the next run finds them made.
    const std::wstring root = qvbench::KeptFolder(L"readdir");
    CreateDirectoryW(root.c_str(), nullptr);
    for (int files : {5000, 20000, 100000})
    {
        if (files <= largest)
            Run(root, files);
    }
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters)))
    {
        const double mebibytes = static_cast<double>(counters.PeakWorkingSetSize) / (1 << 20);
        std::printf("%-40s %8.1f MiB\n", "peak working set", mebibytes);
        qvbench::RecordRow("peak working set, MiB", mebibytes, mebibytes, mebibytes, 1, 0);
    }
    return 0;
}
