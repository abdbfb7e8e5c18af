// Times extracting a whole archive into a new folder through the 7-Zip back-end against
// the console program of the same library package extracting it too ("7z.exe x", under
// the same Wine). The library decodes in both, so the ratio shows the cost of our
// callbacks: the safe output paths, writing beside the target and moving into place.
// The two sides take turns at going first.
//
//     qv_bench_arcextract.exe <archive> <output folder> <7z.exe> [runs]
#include "bench/BenchSupport.h"
#include "archivefront/sevenzip/SevenZipArchive.h"

#include <cstdio>
#include <string>

namespace
{

using qvbench::Seconds;

double BackEndSeconds(const std::wstring& archive, const std::wstring& target, int& result)
{
    const double start = Seconds();
    CSevenZipArchive backEnd;
    result = 0;
    if (backEnd.Open(archive.c_str(), SEVENZIP_OPEN_READ) != 0 || !backEnd.ListEntries(archive.c_str()))
        return Seconds() - start;
    backEnd.SetOption(1, archive.c_str());
    backEnd.SetOption(5, target.c_str());
    backEnd.SetOption(17, nullptr);
    result = backEnd.Extract(nullptr, nullptr);
    return Seconds() - start;
}

double ConsoleSeconds(const std::wstring& exe, const std::wstring& archive, const std::wstring& target)
{
    return qvbench::TimeProgram(L"\"" + exe + L"\" x -y \"-o" + target + L"\" \"" + archive + L"\"");
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4)
    {
        std::printf("usage: qv_bench_arcextract <archive> <output folder> <7z.exe> [runs]\n");
        return 2;
    }
    const std::wstring archive = argv[1];
    const std::wstring out = argv[2];
    const std::wstring exe = argv[3];
    const int runs = argc > 4 ? _wtoi(argv[4]) : 1;
    CreateSevenZipLoadMutex();
    qvbench::Turns turns;
    int result = 0;
    for (int run = 0; run < runs; run++)
    {
        const std::wstring suffix = std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(run);
        // Every other turn the reference goes first, so that neither side always
        // meets what the other left behind (pages still to be written, a warm cache).
        const bool referenceFirst = run % 2 == 1;
        double reference = referenceFirst ? ConsoleSeconds(exe, archive, out + L"\\ref-" + suffix) : 0;
        const double backEnd = BackEndSeconds(archive, out + L"\\ours-" + suffix, result);
        if (!referenceFirst)
            reference = ConsoleSeconds(exe, archive, out + L"\\ref-" + suffix);
        turns.Add(result != 0 ? backEnd : -1, reference, qvbench::TimeStartUp(exe));
    }
    std::printf("extract: back-end result %d\n", result);
    turns.Report("archive extraction, 7z", 1.1, "7z.exe x");
    CloseSevenZipLoadMutex();
    return 0;
}
