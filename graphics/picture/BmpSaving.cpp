#include "graphics/picture/BmpSaving.h"

#include "util/PathHelpers.h"
#include "graphics/picture/PictureData.h"

namespace
{
BOOL PlainWriteFile(HANDLE file, const void* data, DWORD size, DWORD* written)
{
    return WriteFile(file, data, size, written, nullptr);
}

// Pieces small enough that a stop is seen soon even on a slow share.
const DWORD kPieceSize = 32000;

bool WriteAll(HANDLE file, const BYTE* data, ULONGLONG size, BmpSaveProgress progress, void* progressData,
              bool& stopped)
{
    ULONGLONG done = 0;
    while (done < size)
    {
        const DWORD piece = size - done < kPieceSize ? DWORD(size - done) : kPieceSize;
        DWORD written = 0;
        // A short write (a full disk) loses the rest of the piece as surely as an error.
        if (!g_BmpSaveHooks.writeFile(file, data + done, piece, &written) || written != piece)
            return false;
        done += piece;
        if (progress != nullptr && progress(done, size, progressData) != 0)
        {
            stopped = true;
            return false;
        }
    }
    return true;
}
} // namespace

BmpSaveHooks g_BmpSaveHooks = {PlainWriteFile};

CString BmpSaveMessage(int result)
{
    switch (result)
    {
    case BMP_SAVE_CANNOT_CREATE:
        return L"ファイルが開けませんでした";
    case BMP_SAVE_BAD_DATA:
        return L"データ不正で中止します";
    case BMP_SAVE_NO_MEMORY:
        return L"メモリ不足";
    case BMP_SAVE_WRITE_FAILED:
        return L"書き込みに失敗しました";
    case BMP_SAVE_SERIES_FULL:
        return L"連番が9999を超えるため保存できません";
    default:
        return CString();
    }
}

int LayOutBmpFile(CPictureData& picture, BmpFileLayout& layout)
{
    layout = BmpFileLayout();
    DWORD fileSize = 0;
    DWORD tableBytes = 0;
    DWORD bitsBytes = 0;
    DWORD headerBytes = 0;
    SIZE_T headerBlock = 0;
    if (!picture.GetBmpFileSize(&fileSize, &tableBytes, &bitsBytes, &headerBytes) ||
        !picture.GetHeaderSize(&headerBlock))
        return BMP_SAVE_BAD_DATA;
    BITMAPINFO* header = nullptr;
    BYTE* bits = nullptr;
    if (!picture.Lock(&header, &bits))
        return BMP_SAVE_NO_MEMORY;
    // Colour masks of a 40-byte header go with it, or the file could not be read
    // back; they and the colour table lie right behind the header, and a header
    // block that holds less would have them read from beyond it.
    const DWORD masks = header->bmiHeader.biCompression == BI_BITFIELDS &&
                                header->bmiHeader.biSize == sizeof(BITMAPINFOHEADER)
                            ? 12
                            : 0;
    tableBytes += masks;
    fileSize += masks;
    if (headerBytes + ULONGLONG(tableBytes) > headerBlock)
        return BMP_SAVE_BAD_DATA;
    layout.fileHeader.bfType = 19778;
    layout.fileHeader.bfSize = fileSize;
    layout.fileHeader.bfOffBits = headerBytes + tableBytes + 14;
    layout.head = reinterpret_cast<const BYTE*>(header);
    layout.headerBytes = headerBytes;
    layout.tableBytes = tableBytes;
    layout.bits = bits;
    layout.bitsBytes = bitsBytes;
    return BMP_SAVE_OK;
}

HANDLE CreateBmpScratchFile(LPCWSTR path, CString& scratch)
{
    scratch.Format(L"%s.qvsave", path);
    return CreateFileLong(scratch, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

int WriteBmpHead(HANDLE file, const BmpFileLayout& layout)
{
    bool stopped = false;
    const bool ok =
        WriteAll(file, reinterpret_cast<const BYTE*>(&layout.fileHeader), 14, nullptr, nullptr, stopped) &&
        WriteAll(file, layout.head, layout.headerBytes, nullptr, nullptr, stopped) &&
        WriteAll(file, layout.head + layout.headerBytes, layout.tableBytes, nullptr, nullptr, stopped);
    return ok ? BMP_SAVE_OK : BMP_SAVE_WRITE_FAILED;
}

int EndBmpScratchFile(LPCWSTR scratch, LPCWSTR path, bool complete)
{
    if (complete && MoveFileExLong(scratch, path, MOVEFILE_REPLACE_EXISTING))
        return BMP_SAVE_OK;
    DeleteFileLong(scratch);
    return complete ? BMP_SAVE_CANNOT_CREATE : BMP_SAVE_STOPPED;
}

int SavePictureAsBmp(CPictureData& picture, LPCWSTR path, BmpSaveProgress progress, void* progressData)
{
    BmpFileLayout layout;
    const int laid = LayOutBmpFile(picture, layout);
    if (laid != BMP_SAVE_OK)
        return laid;
    CString scratch;
    HANDLE file = CreateBmpScratchFile(path, scratch);
    if (file == INVALID_HANDLE_VALUE)
        return BMP_SAVE_CANNOT_CREATE;
    bool stopped = false;
    const bool ok = WriteBmpHead(file, layout) == BMP_SAVE_OK &&
                    WriteAll(file, layout.bits, layout.bitsBytes, progress, progressData, stopped);
    CloseHandle(file);
    const int ended = EndBmpScratchFile(scratch, path, ok);
    if (ok || stopped)
        return ended;
    return BMP_SAVE_WRITE_FAILED;
}

CString MakeSeriesBmpPath(LPCWSTR folder, LPCWSTR prefix, int number)
{
    CString path;
    if (number < 0 || number > 9999)
        return path;
    path.Format(L"%s\\%s%04d.BMP", folder, prefix, number);
    return path;
}

int SaveSeriesBmp(CPictureData& picture, LPCWSTR folder, LPCWSTR prefix, int& number, CString* savedPath)
{
    const CString path = MakeSeriesBmpPath(folder, prefix, number);
    if (path.IsEmpty())
        return BMP_SAVE_SERIES_FULL;
    const int result = SavePictureAsBmp(picture, path);
    if (result == BMP_SAVE_OK)
    {
        ++number;
        if (savedPath != nullptr)
            *savedPath = path;
    }
    return result;
}
