// Times opening and listing a large zip and a large 7z as a pane does (the 7-Zip
// back-end's open, then every entry's size, name, times and attributes into the
// listing) against the console program of the same library package listing the same
// files ("7z.exe l", under the same Wine, its output written to a file), so that the
// ratio shows the cost of our chain and our item reading rather than the library's.
// A listing of ours that finds no entry, or a reference that does not start or ends
// with an error, fails the scenario instead of giving a ratio.
//
//     qv_bench_arclist.exe <folder with list-bench.zip and list-bench.7z> <7z.exe> [turns (3)]
#include "bench/BenchSupport.h"
#include "archivefront/sevenzip/SevenZipArchive.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace
{

using qvbench::Seconds;

// The pane's listing of the archive: the seconds it took, -1 when it listed nothing.
double ListingSeconds(const std::wstring& archive, int& entries)
{
    const double start = Seconds();
    CSevenZipArchive backEnd;
    entries = 0;
    if (backEnd.Open(archive.c_str(), SEVENZIP_OPEN_LIST) != 0 || !backEnd.ListEntries(archive.c_str()))
        return -1;
    entries = static_cast<int>(backEnd.m_listing.GetSize());
    const double seconds = Seconds() - start;
    return entries > 0 ? seconds : -1;
}

double ConsoleSeconds(const std::wstring& exe, const std::wstring& archive)
{
    return qvbench::TimeProgram(L"\"" + exe + L"\" l \"" + archive + L"\"");
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
    {
        std::printf("usage: qv_bench_arclist <folder> <7z.exe> [turns]\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    const std::wstring exe = argv[2];
    const int turns = argc > 3 && _wtoi(argv[3]) > 0 ? _wtoi(argv[3]) : 3;
    CreateSevenZipLoadMutex();
    for (const char* name : {"list-bench.zip", "list-bench.7z"})
    {
        const std::wstring archive = folder + L"\\" + std::wstring(name, name + strlen(name));
        qvbench::Turns listing;
        int entries = 0;
        for (int turn = 0; turn < turns; turn++)
        {
            // Every other turn the reference goes first, so that neither side always
            // finds the archive just read by the other.
            const bool referenceFirst = turn % 2 == 1;
            double reference = referenceFirst ? ConsoleSeconds(exe, archive) : 0;
            const double ours = ListingSeconds(archive, entries);
            if (!referenceFirst)
                reference = ConsoleSeconds(exe, archive);
            listing.Add(ours, reference, qvbench::TimeStartUp(exe));
        }
        std::printf("%s: %d entries\n", name, entries);
        const std::string scenario = std::string("archive listing, ") + (name + 11);
        listing.Report(scenario.c_str(), 1.1, "7z.exe l");
    }
    CloseSevenZipLoadMutex();
    return 0;
}
