// The registry of what the archive library offers: its archive formats (name,
// extensions, signatures, flags), its compression methods and its hashers. It is
// loaded once per process and only read afterwards; it also serves the library's
// handlers as their codec information (ICompressCodecsInfo, IHashers).
#pragma once
#include "archiveclient/base/DllHandle.h"
#include "archiveclient/base/RefCounting.h"
#include "archiveclient/base/StreamAdapters.h"
#include "fs/ArcString.h"
#include "fs/Vectors.h"

// One loaded library file. Destruction releases the hashers, then frees the module.
struct CCodecLibrary
{
    CDllHandle Module;
    UString Path;
    Func_CreateObject CreateObject = nullptr;
    Func_GetMethodProperty GetMethodProperty = nullptr;
    Func_CreateDecoder CreateDecoder = nullptr;
    Func_CreateEncoder CreateEncoder = nullptr;
    // External codecs are never handed to the library, so this stays null.
    Func_SetCodecs SetCodecs = nullptr;
    CInterfaceRef<IHashers> Hashers;

    CCodecLibrary() = default;
    CCodecLibrary(const CCodecLibrary&) = delete;
    CCodecLibrary& operator=(const CCodecLibrary&) = delete;
    // Null when the export is missing.
    FARPROC GetProc(const char* name) const;
};

struct CCodecMethodInfo
{
    int32_t LibIndex;
    uint32_t MethodIndex;
    bool EncoderIsAssigned;
    bool DecoderIsAssigned;
    GUID Encoder;
    GUID Decoder;
};

struct CCodecHasherInfo
{
    uint32_t LibIndex;
    uint32_t HasherIndex;
};

struct CArchiveExtensionInfo
{
    UString Ext;
    UString AddExt; // empty when none
};

typedef IInArchive* (*Func_CreateInHandler)();
typedef IOutArchive* (*Func_CreateOutHandler)();

struct CArchiveFormatInfo
{
    uint32_t Flags = 0;
    // Null for every format a library supplies, which is every format held here.
    Func_CreateInHandler CreateInHandler = nullptr;
    Func_CreateOutHandler CreateOutHandler = nullptr;
    Func_IsArc IsArcFunc = nullptr;
    UString Name;
    COwnedPtrVector<CArchiveExtensionInfo> Exts;
    bool UpdateEnabled = false;
    bool FlagsDefined = false;
    uint32_t SignatureOffset = 0;
    COwnedPtrVector<CByteBlock> Signatures;
    int32_t LibIndex = -1;
    uint32_t FormatIndex = 0;
    GUID ClassId = {};

    CArchiveFormatInfo() = default;
    CArchiveFormatInfo(const CArchiveFormatInfo& other);
    CArchiveFormatInfo& operator=(const CArchiveFormatInfo& other);

    // -1 when no extension equals ext (case ignored).
    int32_t FindExtensionIndex(const wchar_t* ext) const;
    // Both texts are split at spaces; add-extension k belongs to extension k, "*"
    // meaning none.
    void AddExtensions(const UString& extensions, const UString& addExtensions);
    // [length byte][that many bytes] repeated; an entry longer than the bytes left
    // ends the list, keeping the entries before it.
    void SetMultiSignature(const uint8_t* data, size_t size);
};

class CCodecs : public CRefCounted<ICompressCodecsInfo, IHashers>
{
public:
    COwnedPtrVector<CCodecLibrary> Libraries;
    UString LibraryPath; // set by the caller before LoadMainLibrary
    bool ShareCodecs = true;
    COwnedPtrVector<CArchiveFormatInfo> Formats;
    CValueVector<CCodecMethodInfo> Methods;
    CValueVector<CCodecHasherInfo> Hashers;
    bool CaseSensitiveRequested = false;
    bool CaseSensitive = false;

    CCodecs() = default;
    ~CCodecs() override;

    // Keeps whatever was read before a failure; nothing when the library cannot load.
    HRESULT LoadMainLibrary();
    HRESULT LoadLibraryFile(const wchar_t* path, bool& loaded);
    // Both read the library appended last.
    HRESULT ReadMethodsAndHashers();
    HRESULT ReadFormats();

    int32_t FormatIndexFromFileName(const UString& name) const;
    int32_t FormatIndexFromTypeName(const UString& typeName) const;
    HRESULT CreateHandlerObject(uint32_t formatIndex, CInterfaceRef<IInArchive>& handler);

    // The codec information the library's handlers may ask for.
    HRESULT GetMethodCount(UINT32* count);
    HRESULT GetMethodProp(UINT32 index, PROPID propId, PROPVARIANT* value);
    HRESULT MakeDecoder(UINT32 index, const GUID* iid, void** coder);
    HRESULT MakeEncoder(UINT32 index, const GUID* iid, void** coder);
    UINT32 GetHasherCount();
    HRESULT MakeHasher(UINT32 index, IHasher** hasher);

    HRESULT STDMETHODCALLTYPE GetNumMethods(UINT32* count) override { return GetMethodCount(count); }
    HRESULT STDMETHODCALLTYPE GetProperty(UINT32 index, PROPID propId, PROPVARIANT* value) override
    {
        return GetMethodProp(index, propId, value);
    }
    HRESULT STDMETHODCALLTYPE CreateDecoder(UINT32 index, const GUID* iid, void** coder) override
    {
        return MakeDecoder(index, iid, coder);
    }
    HRESULT STDMETHODCALLTYPE CreateEncoder(UINT32 index, const GUID* iid, void** coder) override
    {
        return MakeEncoder(index, iid, coder);
    }
    UINT32 STDMETHODCALLTYPE GetNumHashers() override { return GetHasherCount(); }
    HRESULT STDMETHODCALLTYPE GetHasherProp(UINT32 index, PROPID propId, PROPVARIANT* value) override;
    HRESULT STDMETHODCALLTYPE CreateHasher(UINT32 index, IHasher** hasher) override
    {
        return MakeHasher(index, hasher);
    }
};

// The index of the first ':' after the last '\\' of name; -1 when there is none.
int32_t FindAltStreamColon(const wchar_t* name);
