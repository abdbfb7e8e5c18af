// Times opening and listing a large zip and a large 7z through the archive chain against
// the console program of the same library package listing the same files ("7z.exe l",
// under the same Wine), so that the ratio shows the cost of the chain and of our own
// item reading rather than the library's.
//
//     qv_bench_arclist.exe <folder with list-bench.zip and list-bench.7z> <7z.exe> [runs]
#include "bench/BenchSupport.h"
#include "archiveclient/ops/ArchiveChain.h"

#include <cstdio>
#include <string>

namespace
{

using qvbench::Seconds;

// Loads the registry, opens the archive and reads what a listing shows of every item.
double ChainSeconds(const std::wstring& dll, const std::wstring& archive, UINT32& items)
{
    const double start = Seconds();
    CCodecs* codecs = new CCodecs();
    codecs->AddRef();
    codecs->LibraryPath = dll.c_str();
    codecs->LoadMainLibrary();
    items = 0;
    {
        CArchiveChain chain;
        CArchiveOpenRequest request;
        request.Codecs = codecs;
        request.filePath = archive.c_str();
        if (OpenArchiveChain(chain, request, nullptr) == S_OK)
        {
            const CArchiveLevel& level = chain.Innermost();
            level.handler->GetNumberOfItems(&items);
            uint64_t totalSize = 0;
            for (UINT32 i = 0; i < items; i++)
            {
                UString path;
                uint64_t size = 0;
                bool sizeSet = false;
                FILETIME time;
                bool timeSet = false;
                bool isDir = false;
                level.GetItemPath(i, path);
                level.GetItemSize(i, size, sizeSet);
                level.GetItemModified(i, time, timeSet);
                ReadItemIsDir(level.handler.Get(), i, isDir);
                totalSize += size + path.Length();
            }
            if (totalSize == 0xFFFFFFFFFFFFFFFFull)
                std::printf("-");
        }
        chain.CloseHandlers();
    }
    codecs->Release();
    return Seconds() - start;
}

double ConsoleSeconds(const std::wstring& exe, const std::wstring& archive)
{
    return qvbench::TimeProgram(L"\"" + exe + L"\" l \"" + archive + L"\"");
}

using qvbench::ProgramFolder;

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
    {
        std::printf("usage: qv_bench_arclist <folder> <7z.exe>\n");
        return 2;
    }
    std::wstring folder = argv[1];
    std::wstring exe = argv[2];
    std::wstring dll = ProgramFolder() + L"\\7z.dll";
    const int runs = argc > 3 ? _wtoi(argv[3]) : 3;
    for (const wchar_t* name : {L"list-bench.zip", L"list-bench.7z"})
    {
        std::wstring archive = folder + L"\\" + name;
        double ours = 1e30;
        double reference = 1e30;
        UINT32 items = 0;
        for (int run = 0; run < runs; run++)
        {
            double chain = ChainSeconds(dll, archive, items);
            double console = ConsoleSeconds(exe, archive);
            if (chain < ours)
                ours = chain;
            if (console >= 0 && console < reference)
                reference = console;
        }
        std::printf("%ls: %u items, chain %.3f s, 7z.exe l %.3f s, ratio %.2f (goal 1.20)\n", name, items,
                    ours, reference, ours / reference);
        std::fflush(stdout);
    }
    return 0;
}
