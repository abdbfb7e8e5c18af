// Writing a picture as a BMP file: the sizes and lock are checked before any file is
// touched, the bytes go to a file beside the target, and only a complete file
// replaces the target, so a failure or a stop leaves an existing file as it was.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

class CPictureData;

enum BmpSaveResult
{
    BMP_SAVE_OK = 0,
    BMP_SAVE_CANNOT_CREATE = 1, // "ファイルが開けませんでした"
    BMP_SAVE_BAD_DATA = 2,      // "データ不正で中止します"
    BMP_SAVE_NO_MEMORY = 3,     // "メモリ不足"
    BMP_SAVE_WRITE_FAILED = 4,  // "書き込みに失敗しました"
    BMP_SAVE_STOPPED = 5,
    BMP_SAVE_SERIES_FULL = 6, // "連番が9999を超えるため保存できません"
};

// The message shown for a result; empty for success and a stop.
CString BmpSaveMessage(int result);

// The writes go through here so that a failing disk can be played in tests.
struct BmpSaveHooks
{
    BOOL (*writeFile)(HANDLE file, const void* data, DWORD size, DWORD* written);
};
extern BmpSaveHooks g_BmpSaveHooks;

// One picture laid out as a BMP file: the file header, then `headBytes` from `head`
// (the header block, with the colour masks and table behind it), then the pixels.
struct BmpFileLayout
{
    BITMAPFILEHEADER fileHeader;
    const BYTE* head;
    DWORD headerBytes;
    DWORD tableBytes; // masks and colour table written behind the header
    BYTE* bits;
    DWORD bitsBytes;
};

// Checks the sizes and locks the picture; touches no file. BMP_SAVE_OK, or
// BMP_SAVE_BAD_DATA or BMP_SAVE_NO_MEMORY with the layout unusable.
int LayOutBmpFile(CPictureData& picture, BmpFileLayout& layout);

// Creates the file the bytes go to before they replace `path`: a name beside it, so
// that the final move stays on one volume. INVALID_HANDLE_VALUE when it cannot be made.
HANDLE CreateBmpScratchFile(LPCWSTR path, CString& scratch);

// Writes the file header, the header block and the table. BMP_SAVE_OK or
// BMP_SAVE_WRITE_FAILED.
int WriteBmpHead(HANDLE file, const BmpFileLayout& layout);

// With `complete` the closed scratch file replaces `path` (BMP_SAVE_OK, or
// BMP_SAVE_CANNOT_CREATE when it cannot, and it is deleted); else it is deleted and
// `path` stays as it was (BMP_SAVE_STOPPED).
int EndBmpScratchFile(LPCWSTR scratch, LPCWSTR path, bool complete);

// Called between the pieces of the pixel block with bytes done and total; a nonzero
// answer stops the save.
typedef int (*BmpSaveProgress)(ULONGLONG done, ULONGLONG total, void* data);

// Writes the picture to `path` (see above). One of BmpSaveResult.
int SavePictureAsBmp(CPictureData& picture, LPCWSTR path, BmpSaveProgress progress = nullptr,
                     void* progressData = nullptr);

// "%s\%s%04d.BMP" of folder, prefix and number; empty beyond 9999 or below 0, where a
// fifth digit would break the series' order.
CString MakeSeriesBmpPath(LPCWSTR folder, LPCWSTR prefix, int number);

// Saves the next file of a series and, on success, advances the number, so the next
// save does not overwrite this one. BMP_SAVE_SERIES_FULL when the number has passed
// 9999.
int SaveSeriesBmp(CPictureData& picture, LPCWSTR folder, LPCWSTR prefix, int& number,
                  CString* savedPath = nullptr);
