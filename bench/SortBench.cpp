// Times the sort of a 100,000-entry listing against std::sort of the same names with
// the same name comparison, so that quadratic behaviour (for example on input that
// is already in order, or on many equal keys) shows as a growing ratio. An argument
// gives a smaller count for a quick try (qv_bench_sort 20000).
#include "app/NameSortKey.h"
#include "bench/BenchSupport.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "filer/FileInfo.h"
#include "filer/SortSetting.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace
{

int g_entryCount = 100000;
const int kTurns = 3;

using qvbench::Seconds;

WIN32_FIND_DATAW MakeFindData(const std::wstring& name, bool directory, ULONGLONG size)
{
    WIN32_FIND_DATAW fd = {};
    fd.dwFileAttributes = directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    fd.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    fd.nFileSizeLow = static_cast<DWORD>(size);
    wcsncpy(fd.cFileName, name.c_str(), MAX_PATH - 1);
    return fd;
}

// The names of one listing: random, already in order, or all the same.
std::vector<std::wstring> MakeNames(int shape)
{
    std::vector<std::wstring> names;
    std::mt19937 random(12345);
    for (int i = 0; i < g_entryCount; ++i)
    {
        wchar_t text[64];
        if (shape == 0)
            swprintf(text, 64, L"name%08u.ext%u", static_cast<unsigned>(random()),
                     static_cast<unsigned>(i % 7));
        else if (shape == 1)
            swprintf(text, 64, L"name%08d.txt", i);
        else
            swprintf(text, 64, L"same.txt");
        names.push_back(text);
    }
    return names;
}

void Run(const char* title, int shape, const CSortSetting& setting)
{
    std::vector<std::wstring> names = MakeNames(shape);
    CArrayFileInfo entries;
    for (int i = 0; i < g_entryCount; ++i)
        entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, L"C:\\bench", L"",
                                MakeFindData(names[i], i % 10 == 0, static_cast<ULONGLONG>(i % 1000)), -1);

    // Each turn sorts a fresh copy of the listing and of the names.
    qvbench::Turns turns;
    for (int turn = 0; turn < kTurns; ++turn)
    {
        CArrayFileInfo copy;
        copy.Copy(entries);
        double start = Seconds();
        SortFileEntries(copy, setting);
        const double sortTime = Seconds() - start;

        // The reference: the same number of names, the same name comparison.
        std::vector<std::wstring> reference = names;
        start = Seconds();
        std::sort(reference.begin(), reference.end(), [](const std::wstring& a, const std::wstring& b) {
            return CompareNamesForSort(a.c_str(), b.c_str()) == 1;
        });
        turns.Add(sortTime, Seconds() - start);
    }
    char scenario[96];
    std::snprintf(scenario, sizeof scenario, "sort, %s", title);
    turns.Report(scenario, 0, "std::sort");
}

CSortSetting MakeSetting(int fileKey)
{
    CSortSetting setting;
    ResetSortSetting(setting);
    setting.m_fileKey = fileKey;
    setting.m_secondKey = 0;
    setting.m_directoryKey = 1;
    setting.m_directoryOrder = 0;
    setting.m_fileOrder = 0;
    setting.m_mixDirectories = 0;
    return setting;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::atoi(argv[1]) > 0)
        g_entryCount = std::atoi(argv[1]);
    std::printf("%d entries\n", g_entryCount);
    Run("name, random names", 0, MakeSetting(SORT_KEY_NAME));
    Run("name, names in order", 1, MakeSetting(SORT_KEY_NAME));
    Run("name, all names equal", 2, MakeSetting(SORT_KEY_NAME));
    Run("size, random names", 0, MakeSetting(SORT_KEY_SIZE));
    Run("reading order", 0, MakeSetting(SORT_KEY_NONE));
    // The natural order, where the system offers it.
    ResolveStrCmpLogicalW();
    if (g_pfnStrCmpLogicalW)
    {
        g_USE_STR_CMP_LOGICAL_W = 1;
        Run("name, logical order", 0, MakeSetting(SORT_KEY_NAME));
        g_USE_STR_CMP_LOGICAL_W = 0;
    }
    return 0;
}
