// One device-independent picture in the form image plug-ins hand pictures over: a
// moveable block with the BITMAPINFO (header, masks, colour table) and a separate
// moveable block with the pixel rows, bottom-up, each row padded to 4 bytes.
#pragma once
#include <windows.h>
#include "app/settings/GraphicSettings.h"
#include "framework/FwString.h"

class CPictureData;

// The turning and mirroring of the pixel rows lives with the tools, above this
// library; the program installs it at start-up. Codes: 0 right, 1 left, 2 mirror left
// to right, 3 top to bottom, 4 half a turn. Result 0 done, 1 not supported, 2 out of
// memory.
struct PictureTransformHooks
{
    int (*transformBitmap)(CPictureData& picture, int code);
};
extern PictureTransformHooks g_PictureTransformHooks;

class CPictureData
{
public:
    CPictureData();
    ~CPictureData();
    CPictureData(const CPictureData&) = delete;
    CPictureData& operator=(const CPictureData&) = delete;

    int Lock(BITMAPINFO** header, BYTE** bits);
    void Free();
    // Takes both blocks (also on failure, when they are freed); 0 when they do not
    // hold a picture that can be drawn without reading past them.
    int Attach(HLOCAL header, HLOCAL bits);
    void AttachBorrowed(BITMAPINFO* header, BYTE* bits);
    void ReplaceBits(HLOCAL bits, BYTE* lockedBits);
    void SetSize(int width, int height);

    int IsValid() const;
    int GetWidth() const;
    int GetHeight() const;
    int GetBitCount() const;
    BITMAPINFO* GetHeader();
    BYTE* GetBits();
    int GetHeaderSize(SIZE_T* size) const;
    int GetBitsSize(SIZE_T* size) const;
    int GetColorTableSize(DWORD* bytes) const;
    int GetBmpFileSize(DWORD* fileSize, DWORD* tableBytes, DWORD* bitsBytes, DWORD* headerBytes) const;

    int Transform(int kind);
    int LoadBmp(LPCWSTR path);
    void AdjustBrightness(int delta);
    void Draw(HDC dc, const RECT& rect, POINT origin, SIZE size, const CAlphaChannelRow* alpha,
              COLORREF background);

    // Checks the owned blocks against what drawing, turning and saving read of them:
    // sizes, planes, bit count and compression, masks, colour table and pixel rows.
    // On success a short colour table has been grown to full with zero entries and
    // top-down rows turned bottom-up; on failure the picture is freed. 1/0.
    int ValidatePicture();

private:
    void DropCache();
    int BuildAlphaCache(int width, int height, const CAlphaChannelRow& key);

    HLOCAL m_headerHandle = nullptr;
    HLOCAL m_bitsHandle = nullptr;
    BITMAPINFO* m_header = nullptr;
    BYTE* m_bits = nullptr;
    HBITMAP m_cache = nullptr;
    CAlphaChannelRow m_cacheKey = {0, 0};
    int m_borrowed = 0;
};

// The picture the graphic viewer shows; the load dialog leaves each loaded picture
// here, and the viewer's drawing, turning and saving work on it.
extern CPictureData g_CurrentPicture;

// The display text of an alpha-channel row; a null table means g_AlphaChannelTypes.
CString& FormatAlphaChannelType(CString& out, int index, const CAlphaChannelRow* table);
// Names "@AlphaChannelType1" to "@AlphaChannelType10" for the command lists; 0 and out
// untouched for any other keyword.
int FormatAlphaChannelCommandName(LPCWSTR keyword, CString& out);
