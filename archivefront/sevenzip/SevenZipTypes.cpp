#include "archivefront/sevenzip/SevenZipTypes.h"

#include "util/PathHelpers.h"
#include <cstring>
#include <cwchar>

const wchar_t kSevenZipReadableTypes[] =
    L"7z,A,APK,APM,AR,ARJ,BZ,BZ2,BZIP2,CAB,CHI,CHM,CHQ,CHW,CPIO,CramFS,DEB,DMG,DOC,DOCX,ELF,ESD,EXT,EXT2,"
    L"EXT3,"
    L"EXT4,EXT42,FAT,FLV,GPT,GZ,GZIP,HFS,HFSX,HXI,HXQ,HXR,HXS,HXW,IHEX,IMG,ISO,JAR,LHA,LIB,LIT,LZ,LZ4,LZ5,"
    L"LZH,"
    L"LZMA,LZMA86,MACHO,MBR,MSI,MSLZ,MSP,MUB,NSIS,NTFS,ODS,ODT,OVA,PE,PKG,PMD,PPD,PPKG,PPT,QCOW,QCOW2,QCOW2C,"
    L"R00,RAR,RPM,SquashFS,SWF,SWFC,SWM,TAR,TAZ,TB2,TBZ,TBZ2,TE,TGZ,TLZ,TPZ,TXZ,UDF,UEFI,VDI,VHD,VMDK,WIM,"
    L"XAR,"
    L"XARandZ,XIP,XLS,XLSX,XPI,XZ,Z,Z01,ZIP,ZIPX,ZST,";
const wchar_t kSevenZipWritableTypes[] = L"7z,ZIP,TAR,XZ,BZIP2,GZIP,";

namespace
{

// The text after the last dot of the name, or null when it has none.
LPCWSTR LastExtension(LPCWSTR name, size_t length)
{
    for (size_t i = length; i > 0; i--)
        if (name[i - 1] == L'.')
            return name + i;
    return nullptr;
}

// Whether the comma-terminated list holds the extension (case ignored).
BOOL ListHolds(LPCWSTR list, LPCWSTR extension, size_t extensionLength)
{
    for (LPCWSTR entry = list; *entry != 0;)
    {
        LPCWSTR comma = wcschr(entry, L',');
        size_t length = comma != nullptr ? static_cast<size_t>(comma - entry) : wcslen(entry);
        if (length == extensionLength && _wcsnicmp(entry, extension, length) == 0)
            return TRUE;
        if (comma == nullptr)
            break;
        entry = comma + 1;
    }
    return FALSE;
}

GUID HandlerId(BYTE formatNumber)
{
    return GUID{0x23170F69, 0x40C1, 0x278A, {0x10, 0x00, 0x00, 0x01, 0x10, formatNumber, 0x00, 0x00}};
}

// One class id per format number, so that callers may keep the pointer.
const GUID* HandlerIdPointer(BYTE formatNumber)
{
    static GUID ids[256];
    static volatile LONG ready = 0;
    if (InterlockedCompareExchange(&ready, 0, 0) == 0)
    {
        for (int i = 0; i < 256; i++)
            ids[i] = HandlerId(static_cast<BYTE>(i));
        InterlockedExchange(&ready, 1);
    }
    return &ids[formatNumber];
}

struct Signature
{
    DWORD offset;
    const char* bytes;
    DWORD length;
    BYTE format;
};

#define SIG(offset, text, format)                                                                            \
    {                                                                                                        \
        offset, text, sizeof(text) - 1, format                                                               \
    }
const Signature kSignatures[] = {
    SIG(0, "PK\x03\x04", 0x01),
    SIG(0, "BZh", 0x02),
    SIG(0, "Rar!\x1A\x07\x00", 0x03),
    SIG(0, "Rar!\x1A\x07\x01\x00", 0xCC),
    SIG(0, "\x60\xEA", 0x04),
    SIG(0, "\x1F\x9D", 0x05),
    SIG(2, "-lz", 0x06),
    SIG(0, "\x53\xEF", 0xC7),
    SIG(0, "7z\xBC\xAF", 0x07),
    SIG(0, "MSCF", 0x08),
    SIG(0,
        "\xFD"
        "7zXz\x00",
        0x0C),
    SIG(0,
        "\xFD"
        "7zXZ\x00",
        0x0C),
    SIG(0, "\x8F\xAF\xAC\x84", 0x0D),
    SIG(0, "PM\x00\x00\x00\x00\x00", 0xD4),
    SIG(0, "SZDD\x88\xF0", 0xD5),
    SIG(0, "FLV", 0xD6),
    SIG(0, "FWS", 0xD7),
    SIG(3, "NTFS  ", 0xD9),
    SIG(0, "conectix\x00\x00", 0xDC),
    SIG(0, "xar!\x00\x1C", 0xE1),
    SIG(0, "\xED\xAB\xEE\xDB", 0xEB),
    SIG(0, "\x1F\x8B", 0xEF),
    SIG(0,
        "\x7F"
        "ELF",
        0xDE),
    SIG(8, "NullsoftInst", 0x09),
    SIG(0, "\xD0\xCF\x11\xE0\xA1\xB1", 0xE5),
    SIG(0, "\x7F\x10\xDA\x0B", 0xC9),
    SIG(0, "QFI\xFB\x00\x00", 0xCA),
    SIG(0, "H+\x00\x00", 0xE3),
    SIG(0, "WMWIM\x00\x00\x00", 0xE6),
    SIG(0, "KDMV", 0xC8),
    SIG(0, "ITSF\x03\x00", 0xE9),
    SIG(0, "ITOLIT", 0xCE),
    SIG(0, ":1", 0xCD),
    SIG(0, "hsqs", 0xD2),
    SIG(0, "sqsh", 0xD2),
    SIG(0, "shsq", 0xD2),
    SIG(0, "\xCE\xFA\xED\xFE", 0xDF),
    SIG(0, "\xCF\xFA\xED\xFE", 0xDF),
    SIG(0, "\xFE\xDC\xFA\xCE", 0xDF),
    SIG(0, "\xFE\xDC\xFA\xCF", 0xDF),
};
#undef SIG

struct ExtensionRow
{
    const wchar_t* extension;
    BYTE format;
};

const ExtensionRow kExtensions[] = {
    {L"zip", 0x01},  {L"bz2", 0x02},      {L"bzip2", 0x02}, {L"tb2", 0x02},   {L"tbz2", 0x02},
    {L"tbz", 0x02},  {L"rar", 0x03},      {L"arj", 0x04},   {L"ext", 0xC7},   {L"ext2", 0xC7},
    {L"ext3", 0xC7}, {L"ext42", 0xC7},    {L"z", 0x05},     {L"lzh", 0x06},   {L"7z", 0x07},
    {L"cab", 0x08},  {L"nsis", 0x09},     {L"tlz", 0x0A},   {L"lzma", 0x0A},  {L"lzma86", 0x0B},
    {L"xz", 0x0C},   {L"ppd", 0x0D},      {L"apm", 0xD4},   {L"flv", 0xD6},   {L"swf", 0xD7},
    {L"swfc", 0xD8}, {L"ntfs", 0xD9},     {L"fat", 0xDA},   {L"mbr", 0xDB},   {L"vhd", 0xDC},
    {L"vdi", 0xC9},  {L"vmdk", 0xC8},     {L"qcow", 0xCA},  {L"qcow2", 0xCA}, {L"qcow2c", 0xCA},
    {L"gpt", 0xCB},  {L"pe", 0xDD},       {L"elf", 0xDE},   {L"ihex", 0xCD},  {L"macho", 0xDF},
    {L"xar", 0xE1},  {L"hfs", 0xE3},      {L"dmg", 0xE4},   {L"iso", 0xE0},   {L"wim", 0xE6},
    {L"chm", 0xE9},  {L"hxs", 0xCE},      {L"te", 0xCF},    {L"rpm", 0xEB},   {L"deb", 0xEC},
    {L"cpio", 0xED}, {L"tar", 0xEE},      {L"gz", 0xEF},    {L"gzip", 0xEF},  {L"tgz", 0xEF},
    {L"tpz", 0xEF},  {L"squashfs", 0xD2}, {L"zst", 0x0E},   {L"lz", 0xC4},    {L"lz4", 0x0F},
    {L"lz5", 0x10},
};

const GUID* DetectByExtension(LPCWSTR path)
{
    LPCWSTR extension = LastExtension(path, wcslen(path));
    if (extension == nullptr)
        return nullptr;
    size_t length = wcslen(extension);
    if (length >= 63)
        return nullptr;
    wchar_t lower[64];
    for (size_t i = 0; i <= length; i++)
        lower[i] = (extension[i] >= L'A' && extension[i] <= L'Z') ? static_cast<wchar_t>(extension[i] + 32)
                                                                  : extension[i];
    for (const ExtensionRow& row : kExtensions)
        if (wcscmp(row.extension, lower) == 0)
            return HandlerIdPointer(row.format);
    return nullptr;
}

} // namespace

int IsSupportedSevenZipName(LPCWSTR fileName, int flags)
{
    if (fileName == nullptr)
        return 0;
    LPCWSTR extension = LastExtension(fileName, wcslen(fileName));
    if (extension == nullptr)
        return 0;
    return ListHolds((flags & 4) != 0 ? kSevenZipWritableTypes : kSevenZipReadableTypes, extension,
                     wcslen(extension))
               ? 1
               : 0;
}

BOOL HasListedSuffix(LPCWSTR path, LPCWSTR list)
{
    if (path == nullptr)
        return FALSE;
    // Each candidate is the path cut before one of its dots; the extension of a
    // candidate is the text between its own last dot and its end.
    size_t end = wcslen(path);
    for (;;)
    {
        LPCWSTR extension = LastExtension(path, end);
        if (extension == nullptr)
            return FALSE;
        size_t dot = static_cast<size_t>(extension - path) - 1;
        if (ListHolds(list, extension, end - dot - 1))
            return TRUE;
        end = dot;
    }
}

DWORD ReadFileHead(LPCWSTR path, BYTE* buffer, DWORD* size)
{
    HANDLE file = CreateFileLong(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        *size = 0;
        return GetLastError();
    }
    DWORD done = 0;
    DWORD error = 0;
    while (done < *size)
    {
        DWORD got = 0;
        if (!ReadFile(file, buffer + done, *size - done, &got, nullptr))
        {
            error = GetLastError();
            break;
        }
        if (got == 0)
            break;
        done += got;
    }
    CloseHandle(file);
    *size = done;
    return error;
}

const GUID* DetectSevenZipTypeFromHead(const BYTE* head, DWORD size, LPCWSTR path)
{
    for (const Signature& signature : kSignatures)
        if (signature.offset + signature.length <= size &&
            memcmp(head + signature.offset, signature.bytes, signature.length) == 0)
            return HandlerIdPointer(signature.format);
    return DetectByExtension(path);
}

const GUID* DetectSevenZipType(LPCWSTR path, BOOL withSignature)
{
    if (path == nullptr)
        return nullptr;
    if (withSignature)
    {
        BYTE head[kSevenZipHeadSize] = {};
        DWORD size = kSevenZipHeadSize;
        if (ReadFileHead(path, head, &size) == 0)
            return DetectSevenZipTypeFromHead(head, size, path);
    }
    return DetectByExtension(path);
}

CString MakeSevenZipDefaultItemName(LPCWSTR archivePath)
{
    CString path(archivePath != nullptr ? archivePath : L"");
    int slash = path.ReverseFind(L'\\');
    int otherSlash = path.ReverseFind(L'/');
    if (otherSlash > slash)
        slash = otherSlash;
    CString name = path.Mid(slash + 1);
    int dot = name.ReverseFind(L'.');
    if (dot < 0)
        return name;
    CString extension = name.Mid(dot + 1);
    name = name.Left(dot);
    static const wchar_t* const kTarShortForms[] = {L"TGZ", L"TBZ", L"TXZ", L"TBZ2", L"TB2", L"TLZ"};
    for (const wchar_t* form : kTarShortForms)
        if (extension.CompareNoCase(form) == 0)
        {
            name += L".tar";
            break;
        }
    return name;
}
