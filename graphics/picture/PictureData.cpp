#include "graphics/picture/PictureData.h"

#include "util/PathHelpers.h"
#include "app/SettingNames.h"

#include <cstring>

PictureTransformHooks g_PictureTransformHooks = {nullptr};
CPictureData g_CurrentPicture;

namespace
{
// Colour-table entries a bit count implies; 0 for the counts without a table.
DWORD FullTableEntries(int bitCount)
{
    return bitCount == 1 || bitCount == 4 || bitCount == 8 ? DWORD(1) << bitCount : 0;
}

ULONGLONG RowBytes(LONG width, int bitCount)
{
    return (ULONGLONG(width) * ULONGLONG(bitCount) + 31) / 32 * 4;
}

// Whether the compression is one GDI draws at that bit count.
bool CompressionFits(int bitCount, DWORD compression)
{
    switch (bitCount)
    {
    case 1:
    case 24:
        return compression == BI_RGB;
    case 4:
        return compression == BI_RGB || compression == BI_RLE4;
    case 8:
        return compression == BI_RGB || compression == BI_RLE8;
    case 16:
    case 32:
        return compression == BI_RGB || compression == BI_BITFIELDS;
    default:
        return false;
    }
}

// The three colour masks follow a 40-byte header; the larger headers hold them.
DWORD MaskBytes(const BITMAPINFOHEADER& header)
{
    return header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER) ? 12 : 0;
}

bool ReadExact(HANDLE file, void* buffer, ULONGLONG size)
{
    BYTE* out = static_cast<BYTE*>(buffer);
    while (size > 0)
    {
        const DWORD part = size > 0x10000000 ? 0x10000000 : DWORD(size);
        DWORD read = 0;
        if (!ReadFile(file, out, part, &read, nullptr) || read != part)
            return false;
        out += part;
        size -= part;
    }
    return true;
}

bool SeekTo(HANDLE file, LONGLONG offset)
{
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    return SetFilePointerEx(file, distance, nullptr, FILE_BEGIN) != 0;
}

class CFileCloser
{
public:
    explicit CFileCloser(HANDLE file) : m_file(file) {}
    ~CFileCloser()
    {
        if (m_file != INVALID_HANDLE_VALUE)
            CloseHandle(m_file);
    }
    CFileCloser(const CFileCloser&) = delete;
    CFileCloser& operator=(const CFileCloser&) = delete;

private:
    HANDLE m_file;
};

// A moveable zero-filled block, locked; both null on failure.
bool AllocLocked(SIZE_T size, HLOCAL& handle, BYTE*& pointer)
{
    pointer = nullptr;
    handle = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, size);
    if (handle == nullptr)
        return false;
    pointer = static_cast<BYTE*>(LocalLock(handle));
    if (pointer == nullptr)
    {
        LocalFree(handle);
        handle = nullptr;
        return false;
    }
    return true;
}

void FreeLocked(HLOCAL handle)
{
    if (handle == nullptr)
        return;
    LocalUnlock(handle);
    LocalFree(handle);
}
} // namespace

CPictureData::CPictureData() = default;

CPictureData::~CPictureData()
{
    Free();
    DropCache();
}

void CPictureData::DropCache()
{
    if (m_cache != nullptr)
        DeleteObject(m_cache);
    m_cache = nullptr;
    m_cacheKey.mode = 0;
}

int CPictureData::Lock(BITMAPINFO** header, BYTE** bits)
{
    if (header)
        *header = nullptr;
    if (bits)
        *bits = nullptr;
    if (!m_borrowed)
    {
        if (m_headerHandle == nullptr || m_bitsHandle == nullptr)
            return 0;
        if (m_header == nullptr)
            m_header = static_cast<BITMAPINFO*>(LocalLock(m_headerHandle));
        if (m_bits == nullptr)
            m_bits = static_cast<BYTE*>(LocalLock(m_bitsHandle));
    }
    if (m_header == nullptr || m_bits == nullptr)
        return 0;
    if (header)
        *header = m_header;
    if (bits)
        *bits = m_bits;
    return 1;
}

void CPictureData::Free()
{
    if (!m_borrowed)
    {
        if (m_header != nullptr && m_headerHandle != nullptr)
            LocalUnlock(m_headerHandle);
        if (m_headerHandle != nullptr)
            LocalFree(m_headerHandle);
        if (m_bits != nullptr && m_bitsHandle != nullptr)
            LocalUnlock(m_bitsHandle);
        if (m_bitsHandle != nullptr)
            LocalFree(m_bitsHandle);
    }
    m_headerHandle = nullptr;
    m_bitsHandle = nullptr;
    m_header = nullptr;
    m_bits = nullptr;
    m_borrowed = 0;
    DropCache();
}

int CPictureData::Attach(HLOCAL header, HLOCAL bits)
{
    Free();
    m_headerHandle = header;
    m_bitsHandle = bits;
    if (!Lock(nullptr, nullptr))
    {
        Free();
        return 0;
    }
    return ValidatePicture();
}

void CPictureData::AttachBorrowed(BITMAPINFO* header, BYTE* bits)
{
    m_header = header;
    m_bits = bits;
    m_borrowed = 1;
}

void CPictureData::ReplaceBits(HLOCAL bits, BYTE* lockedBits)
{
    if (!m_borrowed)
    {
        if (m_bits != nullptr && m_bitsHandle != nullptr)
            LocalUnlock(m_bitsHandle);
        if (m_bitsHandle != nullptr)
            LocalFree(m_bitsHandle);
    }
    m_bitsHandle = bits;
    m_bits = lockedBits;
    DropCache();
}

void CPictureData::SetSize(int width, int height)
{
    if (m_headerHandle == nullptr || !Lock(nullptr, nullptr))
        return;
    BITMAPINFOHEADER& header = m_header->bmiHeader;
    header.biWidth = width;
    header.biHeight = height;
    header.biSizeImage = DWORD(LONGLONG(width) * height * header.biBitCount / 8);
}

int CPictureData::IsValid() const
{
    return m_header != nullptr && m_bits != nullptr && m_header->bmiHeader.biBitCount != 0 ? 1 : 0;
}

int CPictureData::GetWidth() const
{
    return m_header != nullptr && m_bits != nullptr ? m_header->bmiHeader.biWidth : 0;
}

int CPictureData::GetHeight() const
{
    return m_header != nullptr && m_bits != nullptr ? m_header->bmiHeader.biHeight : 0;
}

int CPictureData::GetBitCount() const
{
    return m_header != nullptr && m_bits != nullptr ? m_header->bmiHeader.biBitCount : 0;
}

BITMAPINFO* CPictureData::GetHeader()
{
    Lock(nullptr, nullptr);
    return m_header;
}

BYTE* CPictureData::GetBits()
{
    Lock(nullptr, nullptr);
    return m_bits;
}

int CPictureData::GetHeaderSize(SIZE_T* size) const
{
    if (m_headerHandle == nullptr)
        return 0;
    *size = LocalSize(m_headerHandle);
    return 1;
}

int CPictureData::GetBitsSize(SIZE_T* size) const
{
    if (m_bitsHandle == nullptr)
        return 0;
    *size = LocalSize(m_bitsHandle);
    return 1;
}

int CPictureData::GetColorTableSize(DWORD* bytes) const
{
    switch (GetBitCount())
    {
    case 1:
        *bytes = 8;
        return 1;
    case 4:
        *bytes = 64;
        return 1;
    case 8:
        *bytes = 1024;
        return 1;
    case 24:
    case 32:
        *bytes = 0;
        return 1;
    default:
        return 0;
    }
}

int CPictureData::GetBmpFileSize(DWORD* fileSize, DWORD* tableBytes, DWORD* bitsBytes,
                                 DWORD* headerBytes) const
{
    SIZE_T headerSize = 0;
    SIZE_T bitsSize = 0;
    DWORD table = 0;
    if (m_header == nullptr || m_bits == nullptr || !GetHeaderSize(&headerSize) || !GetBitsSize(&bitsSize) ||
        !GetColorTableSize(&table))
        return 0;
    const DWORD header = m_header->bmiHeader.biSize;
    *tableBytes = table;
    *bitsBytes = DWORD(bitsSize);
    *headerBytes = header;
    *fileSize = header + table + DWORD(bitsSize) + 14;
    return 1;
}

int CPictureData::ValidatePicture()
{
    SIZE_T headerSize = 0;
    SIZE_T bitsSize = 0;
    if (m_borrowed || !Lock(nullptr, nullptr) || !GetHeaderSize(&headerSize) || !GetBitsSize(&bitsSize) ||
        headerSize < sizeof(BITMAPINFOHEADER))
    {
        Free();
        return 0;
    }
    BITMAPINFOHEADER& header = m_header->bmiHeader;
    const int bitCount = header.biBitCount;
    const DWORD fullEntries = FullTableEntries(bitCount);
    bool ok = header.biSize >= sizeof(BITMAPINFOHEADER) && header.biSize <= headerSize &&
              header.biWidth > 0 && header.biHeight != 0 && header.biHeight != LONG(0x80000000) &&
              header.biPlanes == 1 && CompressionFits(bitCount, header.biCompression) &&
              (fullEntries == 0 || header.biClrUsed <= fullEntries);
    const DWORD masks = ok ? MaskBytes(header) : 0;
    const ULONGLONG entries = header.biClrUsed != 0 ? header.biClrUsed : fullEntries;
    ok = ok && ULONGLONG(header.biSize) + masks + entries * 4 <= headerSize;
    const ULONGLONG rows = header.biHeight < 0 ? ULONGLONG(-LONGLONG(header.biHeight)) : header.biHeight;
    const ULONGLONG stride = RowBytes(header.biWidth, bitCount);
    if (ok && (header.biCompression == BI_RLE4 || header.biCompression == BI_RLE8))
        ok = header.biHeight > 0 && header.biSizeImage > 0 && header.biSizeImage <= bitsSize;
    else if (ok)
        ok = stride * rows <= bitsSize;
    if (!ok)
    {
        Free();
        return 0;
    }

    // Brightness and saving take the full table behind the header; a plug-in may
    // hand over only the entries it uses.
    if (entries < fullEntries)
    {
        const SIZE_T used = header.biSize + masks + SIZE_T(entries) * 4;
        HLOCAL grown = nullptr;
        BYTE* grownPointer = nullptr;
        if (!AllocLocked(header.biSize + masks + SIZE_T(fullEntries) * 4 + 4, grown, grownPointer))
        {
            Free();
            return 0;
        }
        memcpy(grownPointer, m_header, used);
        LocalUnlock(m_headerHandle);
        LocalFree(m_headerHandle);
        m_headerHandle = grown;
        m_header = reinterpret_cast<BITMAPINFO*>(grownPointer);
    }

    // Everything that walks the rows takes the first one as the bottom row.
    BITMAPINFOHEADER& checked = m_header->bmiHeader;
    if (checked.biHeight < 0)
    {
        BYTE* low = m_bits;
        BYTE* high = m_bits + (rows - 1) * stride;
        for (; low < high; low += stride, high -= stride)
            for (ULONGLONG i = 0; i < stride; ++i)
            {
                const BYTE keep = low[i];
                low[i] = high[i];
                high[i] = keep;
            }
        checked.biHeight = LONG(rows);
    }
    DropCache();
    return 1;
}

int CPictureData::Transform(int kind)
{
    if (g_PictureTransformHooks.transformBitmap == nullptr || !Lock(nullptr, nullptr))
        return 1;
    return g_PictureTransformHooks.transformBitmap(*this, kind);
}

int CPictureData::LoadBmp(LPCWSTR path)
{
    Free();
    if (path == nullptr || !HasExtension(path, L"BMP"))
        return 0;
    HANDLE file = CreateFileLong(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    CFileCloser closer(file);
    LARGE_INTEGER size;
    // A BMP file header counts its size and offset in 32 bits.
    if (!GetFileSizeEx(file, &size) || size.QuadPart <= 54 || size.QuadPart > LONGLONG(0xFFFFFFFF))
        return 0;
    const DWORD fileSize = DWORD(size.QuadPart);

    BITMAPFILEHEADER fileHeader;
    DWORD headerSize = 0;
    if (!ReadExact(file, &fileHeader, sizeof(fileHeader)) || !ReadExact(file, &headerSize, 4) ||
        !SeekTo(file, 14))
        return 0;
    BITMAPINFOHEADER info = {};
    const bool core = headerSize == sizeof(BITMAPCOREHEADER);
    if (core)
    {
        BITMAPCOREHEADER coreHeader;
        if (!ReadExact(file, &coreHeader, sizeof(coreHeader)))
            return 0;
        info.biSize = sizeof(BITMAPINFOHEADER);
        info.biWidth = coreHeader.bcWidth;
        info.biHeight = coreHeader.bcHeight;
        info.biPlanes = coreHeader.bcPlanes;
        info.biBitCount = coreHeader.bcBitCount;
    }
    else if (headerSize == sizeof(BITMAPINFOHEADER))
    {
        if (!ReadExact(file, &info, sizeof(info)))
            return 0;
    }
    else
        return 0;

    DWORD entries = 0;
    DWORD masks = 0;
    switch (info.biBitCount)
    {
    case 1:
    case 4:
    case 8:
        entries = FullTableEntries(info.biBitCount);
        break;
    case 16:
    case 32:
        masks = MaskBytes(info);
        break;
    case 24:
        break;
    default:
        return 0;
    }
    // A table behind the header of a picture with more than 8 bits only suggests a
    // palette; it is not read, so the header must not announce it.
    if (entries == 0)
        info.biClrUsed = 0;
    const DWORD tableBytes = entries * 4;
    const DWORD minOffset = core ? entries * 3 + 26 : 54 + masks + tableBytes;
    if (fileHeader.bfType != 19778 || fileHeader.bfSize > fileSize || fileHeader.bfOffBits >= fileSize ||
        fileHeader.bfOffBits < minOffset || info.biCompression > BI_BITFIELDS || info.biSizeImage > fileSize)
        return 0;

    HLOCAL headerHandle = nullptr;
    BYTE* headerPointer = nullptr;
    if (!AllocLocked(sizeof(BITMAPINFOHEADER) + masks + tableBytes + 4, headerHandle, headerPointer))
        return 0;
    memcpy(headerPointer, &info, sizeof(info));
    BYTE* table = headerPointer + sizeof(BITMAPINFOHEADER);
    bool ok = SeekTo(file, core ? 26 : 54);
    if (ok && core)
        for (DWORD i = 0; ok && i < entries; ++i)
            ok = ReadExact(file, table + i * 4, 3);
    else if (ok)
        ok = ReadExact(file, table, masks + tableBytes);

    HLOCAL bitsHandle = nullptr;
    BYTE* bitsPointer = nullptr;
    const DWORD bitsSize = fileSize - fileHeader.bfOffBits;
    ok = ok && SeekTo(file, fileHeader.bfOffBits) && AllocLocked(bitsSize, bitsHandle, bitsPointer) &&
         ReadExact(file, bitsPointer, bitsSize);
    if (!ok)
    {
        FreeLocked(headerHandle);
        FreeLocked(bitsHandle);
        return 0;
    }
    m_headerHandle = headerHandle;
    m_header = reinterpret_cast<BITMAPINFO*>(headerPointer);
    m_bitsHandle = bitsHandle;
    m_bits = bitsPointer;
    return ValidatePicture();
}

void CPictureData::AdjustBrightness(int delta)
{
    if (m_header == nullptr || m_bits == nullptr || delta == 0)
        return;
    const int bitCount = m_header->bmiHeader.biBitCount;
    BYTE* bytes = nullptr;
    SIZE_T count = 0;
    if (bitCount == 4 || bitCount == 8)
    {
        bytes = reinterpret_cast<BYTE*>(m_header) + m_header->bmiHeader.biSize;
        count = SIZE_T(FullTableEntries(bitCount)) * 4;
    }
    else if (bitCount == 24 || bitCount == 32)
    {
        bytes = m_bits;
        if (!GetBitsSize(&count))
            count =
                SIZE_T(RowBytes(m_header->bmiHeader.biWidth, bitCount) *
                       ULONGLONG(m_header->bmiHeader.biHeight < 0 ? -LONGLONG(m_header->bmiHeader.biHeight)
                                                                  : m_header->bmiHeader.biHeight));
    }
    else
        return;
    for (SIZE_T i = 0; i < count; ++i)
    {
        if (bitCount == 32 && i % 4 == 3)
            continue;
        int value = bytes[i] + delta;
        value = value > 255 ? 255 : (value < 0 ? 0 : value);
        bytes[i] = BYTE(value);
    }
    DropCache();
}

int CPictureData::BuildAlphaCache(int width, int height, const CAlphaChannelRow& key)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* pixels = nullptr;
    HBITMAP cache = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (cache == nullptr || pixels == nullptr)
    {
        if (cache != nullptr)
            DeleteObject(cache);
        return 0;
    }
    // A BMP file may carry bytes behind its last row; the cache holds the rows only.
    const SIZE_T bytes = SIZE_T(width) * SIZE_T(height) * 4;
    BYTE* out = static_cast<BYTE*>(pixels);
    memcpy(out, m_bits, bytes);
    for (SIZE_T i = 0; i < bytes; i += 4)
    {
        const unsigned alpha = out[i + 3];
        if (alpha == 255)
            continue;
        for (int c = 0; c < 3; ++c)
            out[i + c] = alpha == 0 ? 0 : BYTE((out[i + c] * alpha + 128) >> 8);
    }
    m_cache = cache;
    m_cacheKey = key;
    return 1;
}

void CPictureData::Draw(HDC dc, const RECT& rect, POINT origin, SIZE size, const CAlphaChannelRow* alpha,
                        COLORREF background)
{
    auto fillBackground = [&]() {
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
    };
    if (!Lock(nullptr, nullptr) || size.cx <= 0 || size.cy <= 0)
    {
        fillBackground();
        return;
    }
    const BITMAPINFOHEADER& header = m_header->bmiHeader;
    const LONG w = header.biWidth;
    const LONG h = header.biHeight;
    LONGLONG num = h;
    LONGLONG den = size.cy;
    if (LONGLONG(size.cx) * h < LONGLONG(size.cy) * w)
    {
        num = w;
        den = size.cx;
    }
    auto scale = [&](LONG d) { return LONG(LONGLONG(d) * num / den); };
    RECT source = {scale(rect.left - origin.x), scale(rect.top - origin.y), scale(rect.right - origin.x),
                   scale(rect.bottom - origin.y)};
    const LONG destWidth = rect.right - rect.left;
    const LONG destHeight = rect.bottom - rect.top;

    if (header.biBitCount == 32 && header.biCompression == BI_RGB && alpha != nullptr && alpha->mode != 0)
    {
        if (m_cache != nullptr && (m_cacheKey.mode != alpha->mode || m_cacheKey.colour != alpha->colour))
            DropCache();
        if (m_cache != nullptr || BuildAlphaCache(w, h, *alpha))
        {
            HDC memory = CreateCompatibleDC(dc);
            HBITMAP canvas = CreateCompatibleBitmap(dc, destWidth, destHeight);
            HGDIOBJ oldCanvas = SelectObject(memory, canvas);
            RECT all = {0, 0, destWidth, destHeight};
            if (alpha->mode == 3)
            {
                HDC tileDc = CreateCompatibleDC(dc);
                HBITMAP tile = CreateCompatibleBitmap(dc, 16, 16);
                HGDIOBJ oldTile = SelectObject(tileDc, tile);
                HBRUSH white = CreateSolidBrush(0xFFFFFF);
                HBRUSH colour = CreateSolidBrush(alpha->colour);
                const RECT squares[4] = {{0, 0, 8, 8}, {8, 8, 16, 16}, {8, 0, 16, 8}, {0, 8, 8, 16}};
                for (int i = 0; i < 4; ++i)
                    FillRect(tileDc, &squares[i], i < 2 ? white : colour);
                SelectObject(tileDc, oldTile);
                DeleteObject(white);
                DeleteObject(colour);
                DeleteDC(tileDc);
                HBRUSH pattern = CreatePatternBrush(tile);
                const LONG startX = LONG((origin.x * num / den) % 16) - 16;
                const LONG startY = LONG((origin.y * num / den) % 16) - 16;
                SetBrushOrgEx(memory, startX, startY, nullptr);
                RECT fill = {startX, startY, destWidth, destHeight};
                FillRect(memory, &fill, pattern);
                DeleteObject(pattern);
                DeleteObject(tile);
            }
            else
            {
                HBRUSH brush = CreateSolidBrush(alpha->mode == 1 ? background : alpha->colour);
                FillRect(memory, &all, brush);
                DeleteObject(brush);
            }
            if (source.right - source.left > w)
                source.right = source.left + w;
            if (source.bottom - source.top > h)
                source.bottom = source.top + h;
            HDC cacheDc = CreateCompatibleDC(dc);
            HGDIOBJ oldCache = SelectObject(cacheDc, m_cache);
            BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            GdiAlphaBlend(memory, 0, 0, destWidth, destHeight, cacheDc, source.left, source.top,
                          source.right - source.left, source.bottom - source.top, blend);
            SelectObject(cacheDc, oldCache);
            DeleteDC(cacheDc);
            BitBlt(dc, rect.left, rect.top, destWidth, destHeight, memory, 0, 0, SRCCOPY);
            SelectObject(memory, oldCanvas);
            DeleteObject(canvas);
            DeleteDC(memory);
            return;
        }
    }
    else if (m_cache != nullptr)
        DropCache();

    if (size.cx == w && size.cy == h)
    {
        if (SetDIBitsToDevice(dc, rect.left, rect.top, destWidth, destHeight, rect.left - origin.x,
                              h - (rect.bottom - origin.y), 0, h, m_bits, m_header, DIB_RGB_COLORS) == 0)
            fillBackground();
        return;
    }
    if (GetStretchBltMode(dc) != HALFTONE)
        SetStretchBltMode(dc, HALFTONE);
    if (StretchDIBits(dc, rect.left, rect.top, destWidth, destHeight, source.left, h - source.bottom,
                      source.right - source.left, source.bottom - source.top, m_bits, m_header,
                      DIB_RGB_COLORS, SRCCOPY) == int(GDI_ERROR))
        fillBackground();
}

CString& FormatAlphaChannelType(CString& out, int index, const CAlphaChannelRow* table)
{
    const CAlphaChannelRow& row = table != nullptr ? table[index] : g_AlphaChannelTypes[index];
    switch (row.mode)
    {
    case 0:
        out = L"無効";
        break;
    case 1:
        out = L"有効：塗りつぶし(背景色)";
        break;
    case 2:
        out.Format(L"有効：塗りつぶし(%s)", static_cast<LPCWSTR>(GetColorName(row.colour)));
        break;
    case 3:
        out.Format(L"有効：格子(%s)", static_cast<LPCWSTR>(GetColorName(row.colour)));
        break;
    default:
        out.Empty();
        break;
    }
    return out;
}

int FormatAlphaChannelCommandName(LPCWSTR keyword, CString& out)
{
    for (int n = 1; n <= ALPHA_CHANNEL_ROW_COUNT; ++n)
    {
        CString name;
        name.Format(L"@AlphaChannelType%d", n);
        if (keyword != nullptr && name.Compare(keyword) == 0)
        {
            CString type;
            out.Format(L"透過度処理(%s)", static_cast<LPCWSTR>(FormatAlphaChannelType(type, n - 1, nullptr)));
            return 1;
        }
    }
    return 0;
}
