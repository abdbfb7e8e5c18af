// Times the binary editor's file model on a large file: opening it and reading the
// first screen, against the same for a 1 KiB file; and paging through the whole file,
// reading every shown 16-byte line as the drawing does, against a plain read of the
// file in 32,000-byte blocks in the same run. The file is written once beside the
// program and reused. A search for bytes the file does not hold, over the whole file,
// against a plain read of it in the blocks the search reads. The argument gives its size in MiB (256 unless
// given; 1024 for the size of the first measurements).
#include "bench/BenchSupport.h"
#include "viewers/binary/BinaryData.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

using qvbench::Seconds;

bool MakeFile(const std::wstring& path, LONGLONG size)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
        (((LONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow) == size)
        return true;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    static char block[1 << 20];
    for (int i = 0; i < (int)sizeof(block); ++i)
        block[i] = (char)(i * 7);
    bool ok = true;
    for (LONGLONG done = 0; ok && done < size;)
    {
        DWORD piece = (DWORD)(size - done < (LONGLONG)sizeof(block) ? size - done : sizeof(block));
        DWORD written = 0;
        ok = WriteFile(file, block, piece, &written, nullptr) && written == piece;
        done += piece;
    }
    CloseHandle(file);
    return ok;
}

double OpenSeconds(const std::wstring& path)
{
    const double start = Seconds();
    CBinaryData data;
    if (!data.Open(path.c_str()))
        return -1;
    BYTE line[16];
    for (int row = 0; row < 40; ++row)
        data.Read(line, row * 16, 16);
    return Seconds() - start;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    LONGLONG mib = argc > 1 ? _wtoi(argv[1]) : 256;
    if (mib < 1 || mib > 2047)
        mib = 256;
    const std::wstring folder = qvbench::ProgramFolder();
    const std::wstring large = folder + L"\\binary_bench_large.bin";
    const std::wstring small = folder + L"\\binary_bench_small.bin";
    if (!MakeFile(large, mib << 20) || !MakeFile(small, 1024))
    {
        std::printf("cannot make the files\n");
        return 1;
    }

    OpenSeconds(small);
    const double openSmall = OpenSeconds(small);
    const double openLarge = OpenSeconds(large);
    std::printf("open + first screen: %lld MiB %.3f ms, 1 KiB %.3f ms, difference %.3f ms\n", mib,
                openLarge * 1000, openSmall * 1000, (openLarge - openSmall) * 1000);

    double start = Seconds();
    HANDLE file =
        CreateFileW(large.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    static BYTE block[32000];
    DWORD got = 0;
    unsigned sum = 0;
    while (ReadFile(file, block, sizeof(block), &got, nullptr) && got > 0)
        sum += block[got - 1];
    CloseHandle(file);
    const double plain = Seconds() - start;

    start = Seconds();
    CBinaryData data;
    data.Open(large.c_str());
    BYTE line[16];
    for (LONGLONG offset = 0; offset < data.m_size; offset += 16)
        sum += data.Read(line, offset, 16) > 0 ? line[0] : 0;
    const double paging = Seconds() - start;
    std::printf("paging every line: %.3f s, plain 32,000-byte reads %.3f s, ratio %.2f (checksum %u)\n",
                paging, plain, plain > 0 ? paging / plain : 0.0, sum);
    const double ratio = plain > 0 ? paging / plain : 0.0;
    qvbench::RecordRow("binary editor, paging every line", ratio, ratio, ratio, 1, 0);
    // A search that finds nothing runs over the whole file: against a plain read of the
    // file in blocks of the size the search reads, turn by turn.
    const BYTE pattern[] = {'Q', 'v', 'Q', 'v', 'Q', 'v', 'Q', 'v'};
    qvbench::Turns search;
    for (int turn = 0; turn < 3; ++turn)
    {
        start = Seconds();
        file = CreateFileW(large.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        std::vector<BYTE> big((size_t)CBinaryData::kSearchBlock);
        while (ReadFile(file, big.data(), (DWORD)big.size(), &got, nullptr) && got > 0)
            sum += big[got - 1];
        CloseHandle(file);
        const double read = Seconds() - start;
        start = Seconds();
        data.SetSearchData(pattern, sizeof(pattern), 0, 0);
        const LONGLONG hit = data.SearchNext(0);
        const double searched = Seconds() - start;
        search.Add(hit == -1 ? searched : -1, read);
    }
    search.Report("binary editor, search missing over the file", 1.5, "plain read");
    const double extra = (openLarge - openSmall) * 1000;
    qvbench::RecordRow("binary editor, open of a large file, extra ms", extra, extra, extra, 1, 0);
    return 0;
}
