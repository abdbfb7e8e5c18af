// Times the copy job engine against the system's own copy over the same files: one
// big file, and a tree of many small files. Each ratio is the engine's time over the
// faster of two references measured in the same turn: CopyFileExW file by file, and
// Wine's "xcopy /E". The sources are made once beside the scratch folder and reused.
//
//     qv_bench_copy [MiB of the big file (256)] [files of the tree (5000)]
#include "bench/BenchSupport.h"
#include "fileops/copy/CopyJob.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{

using qvbench::Seconds;

bool MakeBigFile(const std::wstring& path, int mebibytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::string block(1 << 20, 'q');
    for (int i = 0; i < mebibytes; ++i)
    {
        block[i % block.size()] = (char)i;
        DWORD written = 0;
        if (!WriteFile(file, block.data(), (DWORD)block.size(), &written, nullptr))
            break;
    }
    CloseHandle(file);
    return true;
}

// 100 files a folder, 4 KiB each.
bool MakeTree(const std::wstring& root, int files)
{
    CreateDirectoryW(root.c_str(), nullptr);
    std::string bytes(4096, 't');
    for (int i = 0; i < files; ++i)
    {
        wchar_t folder[64], name[64];
        swprintf(folder, 64, L"\\d%04d", i / 100);
        swprintf(name, 64, L"\\f%06d.dat", i);
        if (i % 100 == 0)
            CreateDirectoryW((root + folder).c_str(), nullptr);
        HANDLE file =
            CreateFileW((root + folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        DWORD written = 0;
        WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
        CloseHandle(file);
    }
    return true;
}

void CopyTreeBySystem(const std::wstring& from, const std::wstring& to)
{
    CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW findData;
    HANDLE find = FindFirstFileW((from + L"\\*").c_str(), &findData);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do
    {
        std::wstring name = findData.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTreeBySystem(from + L"\\" + name, to + L"\\" + name);
        else
            CopyFileExW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), nullptr, nullptr, nullptr,
                        0);
    } while (FindNextFileW(find, &findData));
    FindClose(find);
}

void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW findData;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &findData);
    if (find != INVALID_HANDLE_VALUE)
    {
        do
        {
            std::wstring name = findData.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + L"\\" + name);
            else
                DeleteFileW((path + L"\\" + name).c_str());
        } while (FindNextFileW(find, &findData));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

double RunXcopy(const std::wstring& from, const std::wstring& to)
{
    return qvbench::TimeProgram(L"xcopy.exe \"" + from + L"\" \"" + to + L"\\\" /E /I /Y /Q");
}

double RunEngine(const std::wstring& folder, const wchar_t* name, const std::wstring& to)
{
    CreateDirectoryW(to.c_str(), nullptr);
    CCopyDlgThread job;
    job.m_kind = COPY;
    job.m_source.m_directory = folder.c_str();
    WIN32_FIND_DATAW findData;
    HANDLE find = FindFirstFileW((folder + L"\\" + name).c_str(), &findData);
    if (find == INVALID_HANDLE_VALUE)
        return -1;
    FindClose(find);
    CFileInfo entry;
    entry.SetFromDisk(folder.c_str(), findData);
    job.m_source.m_entries.Add(entry);
    job.m_destinationText = to.c_str();
    double start = Seconds();
    job.RunJob();
    return Seconds() - start;
}

bool HasSize(const std::wstring& path, LONGLONG size)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
           ((static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) == size;
}

// Five turns: a copy of thousands of small files waits on the system's round trips,
// whose cost moves with the machine's load from one turn to the next by a tenth.
const int kTurns = 5;

// Times the engine, CopyFileExW and xcopy in each turn; the reference of a turn is the
// faster of the system's two. Which way goes first turns round from turn to turn: a
// way that always ran first (or always after another's copy was removed) would always
// meet the caches and the deferred work the others left.
// Each way is handed the turn's number.
template <class Engine, class System, class Xcopy>
qvbench::Turns TimeThreeWays(Engine engineWay, System systemWay, Xcopy xcopyWay)
{
    qvbench::Turns turns;
    for (int turn = 0; turn < kTurns; ++turn)
    {
        double engine = 0, system = 0, xcopy = 0;
        for (int step = 0; step < 3; ++step)
        {
            const int way = (turn + step) % 3;
            if (way == 0)
                engine = engineWay(turn);
            else if (way == 1)
                system = systemWay(turn);
            else
                xcopy = xcopyWay(turn);
        }
        std::printf("  turn %d: engine %.3f s, CopyFileExW %.3f s, xcopy /E %.3f s\n", turn + 1, engine,
                    system, xcopy);
        turns.Add(engine, xcopy > 0 && xcopy < system ? xcopy : system);
    }
    return turns;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int mebibytes = argc > 1 && _wtoi(argv[1]) > 0 ? _wtoi(argv[1]) : 256;
    const int files = argc > 2 && _wtoi(argv[2]) > 0 ? _wtoi(argv[2]) : 5000;
    const std::wstring source =
        qvbench::KeptFolder(L"copy-" + std::to_wstring(mebibytes) + L"-" + std::to_wstring(files));
    const std::wstring base = qvbench::ScratchFolder() + L"\\qv_copy_bench";
    RemoveTree(base);
    CreateDirectoryW(base.c_str(), nullptr);
    CreateDirectoryW(source.c_str(), nullptr);
    // The tree's last file is made last: where it stands, the whole source does.
    wchar_t last[64];
    swprintf(last, 64, L"\\tree\\d%04d\\f%06d.dat", (files - 1) / 100, files - 1);
    if (!HasSize(source + L"\\big.bin", static_cast<LONGLONG>(mebibytes) << 20) &&
        !MakeBigFile(source + L"\\big.bin", mebibytes))
    {
        std::printf("could not make the big file\n");
        return 1;
    }
    if (!HasSize(source + last, 4096) && !MakeTree(source + L"\\tree", files))
    {
        std::printf("could not make the tree\n");
        return 1;
    }
    std::printf("%d MiB file, %d files of 4 KiB\n", mebibytes, files);

    std::wstring xcopySource = base + L"\\xsrc";
    CreateDirectoryW(xcopySource.c_str(), nullptr);
    qvbench::Turns big = TimeThreeWays(
        [&](int) {
            const double seconds = RunEngine(source, L"big.bin", base + L"\\engine");
            RemoveTree(base + L"\\engine");
            return seconds;
        },
        [&](int) {
            double start = Seconds();
            CreateDirectoryW((base + L"\\sys").c_str(), nullptr);
            const BOOL copied = CopyFileExW((source + L"\\big.bin").c_str(),
                                            (base + L"\\sys\\big.bin").c_str(), nullptr, nullptr, nullptr, 0);
            const double seconds = copied ? Seconds() - start : -1;
            RemoveTree(base + L"\\sys");
            return seconds;
        },
        [&](int) {
            MoveFileW((source + L"\\big.bin").c_str(), (xcopySource + L"\\big.bin").c_str());
            const double seconds = RunXcopy(xcopySource, base + L"\\xbig");
            MoveFileW((xcopySource + L"\\big.bin").c_str(), (source + L"\\big.bin").c_str());
            RemoveTree(base + L"\\xbig");
            return seconds;
        });
    char scenario[96];
    std::snprintf(scenario, sizeof scenario, "copy, one file of %d MiB", mebibytes);
    big.Report(scenario, 1.05, "system");

    // The copies of the tree stay until every turn has run: a way that ran right after
    // thousands of files were removed would pay for the file system's dealing with
    // them (a fresh file's inode is looked for past the ones just freed), and which way
    // that is would decide the turn.
    auto turnFolder = [&](const wchar_t* way, int turn) {
        return base + L"\\" + way + std::to_wstring(turn);
    };
    qvbench::Turns tree =
        TimeThreeWays([&](int turn) { return RunEngine(source, L"tree", turnFolder(L"engine", turn)); },
                      [&](int turn) {
                          double start = Seconds();
                          CopyTreeBySystem(source + L"\\tree", turnFolder(L"sys", turn));
                          return Seconds() - start;
                      },
                      [&](int turn) { return RunXcopy(source + L"\\tree", turnFolder(L"xtree", turn)); });
    std::snprintf(scenario, sizeof scenario, "copy, %d files of 4 KiB", files);
    tree.Report(scenario, 1.0, "system");
    RemoveTree(base);
    return 0;
}
