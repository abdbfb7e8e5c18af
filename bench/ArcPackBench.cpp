// Times packing one tree into a 7z and a zip archive through the update driver against
// the console program of the same library package packing the same tree with the same
// method and level ("7z.exe a -mx5", under the same Wine). The library does the
// compressing in both, so the ratio shows the cost of our scan, callbacks and streams.
//
//     qv_bench_arcpack.exe <tree folder> <output folder> <7z.exe> [runs]
#include "bench/BenchSupport.h"
#include "archiveclient/update/UpdateArchive.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace
{

using qvbench::Seconds;

// Goes on with everything and shows nothing.
struct CSilentUi : IUpdateCallbackUI2
{
    HRESULT WriteSfxModule() override { return S_OK; }
    HRESULT SetTotalSize(uint64_t) override { return S_OK; }
    HRESULT SetCompletedSize(const uint64_t*) override { return S_OK; }
    HRESULT SetSizeRatio(const uint64_t*, const uint64_t*) override { return S_OK; }
    HRESULT PollCancel() override { return S_OK; }
    HRESULT SetUpdateItemCount(uint64_t) override { return S_OK; }
    HRESULT BeginUpdateItem(const wchar_t*, bool, int32_t, uint32_t) override { return S_OK; }
    HRESULT ReportOpenFileFailure(const wchar_t*, DWORD) override { return S_FALSE; }
    HRESULT ReportReadFailure(const wchar_t*, DWORD) override { return S_FALSE; }
    HRESULT SetUpdateItemResult(int32_t) override { return S_OK; }
    HRESULT ReportItemCheckResult(int32_t, bool, const wchar_t*) override { return S_OK; }
    HRESULT ReportUpdateStep(uint32_t, const wchar_t*, bool) override { return S_OK; }
    HRESULT GetPackPassword(INT32* defined, BSTR* password) override
    {
        *defined = 0;
        *password = nullptr;
        return S_OK;
    }
    HRESULT GetPassword(BSTR* password) override
    {
        *password = nullptr;
        return E_ABORT;
    }
    HRESULT ReportDroppedItem(const wchar_t*, bool) override { return S_OK; }
    HRESULT ReportOpenResult(const CCodecs&, const CArchiveChain&, const wchar_t*, HRESULT) override
    {
        return S_OK;
    }
    HRESULT BeginDiskScan() override { return S_OK; }
    HRESULT EndDiskScan(const CDiskScanStats&) override { return S_OK; }
    HRESULT BeginOpenArchive(const wchar_t*) override { return S_OK; }
    HRESULT BeginArchive(const wchar_t*, bool) override { return S_OK; }
    HRESULT EndArchive(const CUpdateRunStats&) override { return S_OK; }
    HRESULT ReportSourceDeleted(const wchar_t*) override { return S_OK; }
    HRESULT EndSourceDeletion() override { return S_OK; }
    HRESULT ScanError(const UString&, uint32_t) override { return S_OK; }
    HRESULT ScanProgress(const CDiskScanStats&, const UString&, bool) override { return S_OK; }
};

double DriverSeconds(CCodecs& codecs, const std::wstring& tree, const std::wstring& archive, HRESULT& result)
{
    DeleteFileW(archive.c_str());
    const double start = Seconds();
    SetCurrentDirectoryW(tree.c_str());
    CPathFilter filter;
    filter.QueuePattern(true, UString(L"*"), true, true);
    CUpdateJobOptions options;
    CHandlerProperty& level = options.HandlerProperties.At(options.HandlerProperties.AddNew());
    level.Name = L"x";
    level.Value = L"5";
    options.Commands.push_back(CUpdateCommand());
    CUpdateErrorRecord error;
    CSilentUi ui;
    CValueVector<CArchiveTypeChoice> types;
    result = UpdateArchiveFile(codecs, types, UString(archive.c_str()), filter, options, error, nullptr, &ui,
                               true);
    return Seconds() - start;
}

double ConsoleSeconds(const std::wstring& exe, const std::wstring& tree, const std::wstring& archive)
{
    DeleteFileW(archive.c_str());
    return qvbench::TimeProgram(L"\"" + exe + L"\" a -mx5 -r \"" + archive + L"\" *", tree.c_str());
}

using qvbench::ProgramFolder;

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4)
    {
        std::printf("usage: qv_bench_arcpack <tree> <output folder> <7z.exe> [turns]\n");
        return 2;
    }
    std::wstring tree = argv[1];
    std::wstring out = argv[2];
    std::wstring exe = argv[3];
    const int runs = argc > 4 ? _wtoi(argv[4]) : 1;
    CCodecs* codecs = new CCodecs();
    codecs->AddRef();
    codecs->LibraryPath = (ProgramFolder() + L"\\7z.dll").c_str();
    codecs->LoadMainLibrary();
    for (const wchar_t* name : {L"pack-bench.7z", L"pack-bench.zip"})
    {
        std::wstring archive = out + L"\\" + name;
        qvbench::Turns turns;
        HRESULT result = S_OK;
        for (int run = 0; run < runs; run++)
        {
            const double driver = DriverSeconds(*codecs, tree, archive, result);
            const double reference = ConsoleSeconds(exe, tree, out + L"\\ref-" + name);
            turns.Add(result == S_OK ? driver : -1, reference, qvbench::TimeStartUp(exe));
        }
        std::printf("%ls: driver result 0x%08lX\n", name, static_cast<unsigned long>(result));
        const std::string scenario = std::string("archive packing, ") + (wcsstr(name, L".7z") ? "7z" : "zip");
        turns.Report(scenario.c_str(), 1.1, "7z.exe a");
    }
    codecs->Release();
    return 0;
}
