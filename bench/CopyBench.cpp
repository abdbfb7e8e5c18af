// Times the copy job engine against the system's own copy over the same files: one
// big file, and a tree of many small files. Each ratio is the engine's time over the
// faster of two references measured in the same run: CopyFileExW file by file, and
// Wine's "xcopy /E".
//
//     qv_bench_copy [MiB of the big file (1024)] [files of the tree (20000)]
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

void Report(const char* what, double engine, double system, double xcopy)
{
    double reference = system;
    if (xcopy > 0 && xcopy < reference)
        reference = xcopy;
    std::printf("%-10s engine %8.3f s   CopyFileExW %8.3f s   xcopy /E %8.3f s   ratio %5.2f\n", what, engine,
                system, xcopy, reference > 0 ? engine / reference : 0.0);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    int mebibytes = argc > 1 ? _wtoi(argv[1]) : 1024;
    int files = argc > 2 ? _wtoi(argv[2]) : 20000;
    wchar_t root[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"QV_TEST_SCRATCH", root, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        GetTempPathW(MAX_PATH, root);
    std::wstring base = std::wstring(root) + L"\\qv_copy_bench";
    RemoveTree(base);
    CreateDirectoryW(base.c_str(), nullptr);
    std::wstring source = base + L"\\src";
    CreateDirectoryW(source.c_str(), nullptr);
    if (!MakeBigFile(source + L"\\big.bin", mebibytes) || !MakeTree(source + L"\\tree", files))
    {
        std::printf("could not make the files\n");
        return 1;
    }
    std::printf("%d MiB file, %d files of 4 KiB\n", mebibytes, files);

    // Each way runs twice, the three ways taking turns, and the faster run counts: the
    // machine's other work then weighs on every way alike.
    std::wstring xcopySource = base + L"\\xsrc";
    CreateDirectoryW(xcopySource.c_str(), nullptr);
    double engine = 1e9, system = 1e9, xcopy = 1e9;
    for (int round = 0; round < 2; ++round)
    {
        engine = std::min(engine, RunEngine(source, L"big.bin", base + L"\\engine"));
        RemoveTree(base + L"\\engine");
        double start = Seconds();
        CreateDirectoryW((base + L"\\sys").c_str(), nullptr);
        CopyFileExW((source + L"\\big.bin").c_str(), (base + L"\\sys\\big.bin").c_str(), nullptr, nullptr,
                    nullptr, 0);
        system = std::min(system, Seconds() - start);
        RemoveTree(base + L"\\sys");
        MoveFileW((source + L"\\big.bin").c_str(), (xcopySource + L"\\big.bin").c_str());
        xcopy = std::min(xcopy, RunXcopy(xcopySource, base + L"\\xbig"));
        MoveFileW((xcopySource + L"\\big.bin").c_str(), (source + L"\\big.bin").c_str());
        RemoveTree(base + L"\\xbig");
    }
    Report("big file", engine, system, xcopy);

    engine = system = xcopy = 1e9;
    for (int round = 0; round < 2; ++round)
    {
        engine = std::min(engine, RunEngine(source, L"tree", base + L"\\engine"));
        RemoveTree(base + L"\\engine");
        double start = Seconds();
        CopyTreeBySystem(source + L"\\tree", base + L"\\sys");
        system = std::min(system, Seconds() - start);
        RemoveTree(base + L"\\sys");
        xcopy = std::min(xcopy, RunXcopy(source + L"\\tree", base + L"\\xtree"));
        RemoveTree(base + L"\\xtree");
    }
    Report("tree", engine, system, xcopy);
    RemoveTree(base);
    return 0;
}
