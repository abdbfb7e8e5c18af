#include "archiveclient/codecs/Codecs.h"

#include "archiveclient/base/PropValue.h"
#include <cstring>

namespace
{

// Splits text at single spaces; runs of spaces and spaces at either end give no parts.
void SplitAtSpaces(const UString& text, COwnedPtrVector<UString>& parts)
{
    uint32_t start = 0;
    for (uint32_t i = 0; i <= text.Length(); i++)
    {
        if (i != text.Length() && text[i] != L' ')
            continue;
        if (i != start)
            parts.AddCopy(text.Substring(start, i - start));
        start = i + 1;
    }
}

// The class-id rule of the method properties: a 16-byte string sets the id and the
// flag, an empty value leaves the flag clear, anything else is a failure.
HRESULT ReadMethodClassId(Func_GetMethodProperty getProperty, uint32_t index, PROPID propId, GUID& id,
                          bool& isAssigned)
{
    isAssigned = false;
    CPropValue value;
    HRESULT hr = getProperty(index, propId, &value);
    if (hr != S_OK)
        return hr;
    if (value.vt == VT_EMPTY)
        return S_OK;
    if (value.vt != VT_BSTR || SysStringByteLen(value.bstrVal) != sizeof(GUID))
        return E_FAIL;
    std::memcpy(&id, value.bstrVal, sizeof(GUID));
    isAssigned = true;
    return S_OK;
}

// Reads handler properties through GetHandlerProperty2 (per format) or, from a library
// that has only the older export, through GetHandlerProperty (one format, no index).
class CHandlerPropReader
{
public:
    CHandlerPropReader(Func_GetHandlerProperty2 get2, Func_GetHandlerProperty get1)
        : m_get2(get2), m_get1(get1)
    {
    }

    HRESULT Get(uint32_t index, PROPID propId, CPropValue& value) const
    {
        value.Clear();
        return m_get2 != nullptr ? m_get2(index, propId, &value) : m_get1(propId, &value);
    }

    HRESULT ReadString(uint32_t index, PROPID propId, UString& out) const
    {
        out.Empty();
        CPropValue value;
        HRESULT hr = Get(index, propId, value);
        if (hr != S_OK)
            return hr;
        if (value.vt == VT_BSTR)
            out.AssignBstr(value.bstrVal);
        else if (value.vt != VT_EMPTY)
            return E_FAIL;
        return S_OK;
    }

    HRESULT ReadBool(uint32_t index, PROPID propId, bool& out) const
    {
        out = false;
        CPropValue value;
        HRESULT hr = Get(index, propId, value);
        if (hr != S_OK)
            return hr;
        if (value.vt == VT_BOOL)
            out = value.boolVal != VARIANT_FALSE;
        else if (value.vt != VT_EMPTY)
            return E_FAIL;
        return S_OK;
    }

    HRESULT ReadUInt32(uint32_t index, PROPID propId, uint32_t& out, bool& defined) const
    {
        out = 0;
        defined = false;
        CPropValue value;
        HRESULT hr = Get(index, propId, value);
        if (hr != S_OK)
            return hr;
        if (value.vt == VT_UI4)
        {
            out = value.ulVal;
            defined = true;
        }
        else if (value.vt != VT_EMPTY)
            return E_FAIL;
        return S_OK;
    }

    HRESULT ReadBytes(uint32_t index, PROPID propId, CByteBlock& out) const
    {
        out.Free();
        CPropValue value;
        HRESULT hr = Get(index, propId, value);
        if (hr != S_OK)
            return hr;
        if (value.vt == VT_BSTR)
            out.CopyFrom(value.bstrVal, SysStringByteLen(value.bstrVal));
        else if (value.vt != VT_EMPTY)
            return E_FAIL;
        return S_OK;
    }

private:
    Func_GetHandlerProperty2 m_get2;
    Func_GetHandlerProperty m_get1;
};

template <class F> F GetExport(const CCodecLibrary& library, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(library.GetProc(name)));
}

} // namespace

FARPROC CCodecLibrary::GetProc(const char* name) const
{
    if (Module.Handle() == nullptr)
        return nullptr;
    return GetProcAddress(Module.Handle(), name);
}

CArchiveFormatInfo::CArchiveFormatInfo(const CArchiveFormatInfo& other)
{
    *this = other;
}

CArchiveFormatInfo& CArchiveFormatInfo::operator=(const CArchiveFormatInfo& other)
{
    if (this == &other)
        return *this;
    Flags = other.Flags;
    CreateInHandler = other.CreateInHandler;
    CreateOutHandler = other.CreateOutHandler;
    IsArcFunc = other.IsArcFunc;
    Name = other.Name;
    Exts.Clear();
    for (uint32_t i = 0; i < other.Exts.Count(); i++)
        Exts.AddCopy(other.Exts.At(i));
    UpdateEnabled = other.UpdateEnabled;
    FlagsDefined = other.FlagsDefined;
    SignatureOffset = other.SignatureOffset;
    Signatures.Clear();
    for (uint32_t i = 0; i < other.Signatures.Count(); i++)
    {
        const CByteBlock& block = other.Signatures.At(i);
        Signatures.At(Signatures.AddNew()).CopyFrom(block.Data(), block.Size());
    }
    LibIndex = other.LibIndex;
    FormatIndex = other.FormatIndex;
    ClassId = other.ClassId;
    return *this;
}

int32_t CArchiveFormatInfo::FindExtensionIndex(const wchar_t* ext) const
{
    for (uint32_t i = 0; i < Exts.Count(); i++)
        if (Exts.At(i).Ext.EqualsNoCase(ext))
            return static_cast<int32_t>(i);
    return -1;
}

void CArchiveFormatInfo::AddExtensions(const UString& extensions, const UString& addExtensions)
{
    COwnedPtrVector<UString> exts;
    COwnedPtrVector<UString> addExts;
    SplitAtSpaces(extensions, exts);
    SplitAtSpaces(addExtensions, addExts);
    for (uint32_t k = 0; k < exts.Count(); k++)
    {
        CArchiveExtensionInfo info;
        info.Ext = exts.At(k);
        if (k < addExts.Count() && !addExts.At(k).Equals(L"*"))
            info.AddExt = addExts.At(k);
        Exts.AddCopy(info);
    }
}

void CArchiveFormatInfo::SetMultiSignature(const uint8_t* data, size_t size)
{
    Signatures.Clear();
    size_t pos = 0;
    while (pos < size)
    {
        size_t n = data[pos++];
        if (n > size - pos)
            break;
        Signatures.At(Signatures.AddNew()).CopyFrom(data + pos, n);
        pos += n;
    }
}

CCodecs::~CCodecs() = default;

HRESULT CCodecs::LoadMainLibrary()
{
    Formats.Clear();
    Methods.Clear();
    Hashers.Clear();
    bool loaded = false;
    HRESULT hr = LoadLibraryFile(LibraryPath, loaded);
    if (hr != S_OK)
        return hr;
    // The one library is never handed this registry through SetCodecs.
    ShareCodecs = false;
    return S_OK;
}

HRESULT CCodecs::LoadLibraryFile(const wchar_t* path, bool& loaded)
{
    loaded = false;
    CCodecLibrary& library = Libraries.At(Libraries.AddNew());
    library.Path = path;
    HRESULT result = S_OK;
    bool added = false;
    if (library.Module.Load(path))
    {
        loaded = true;
        if (CaseSensitiveRequested)
        {
            auto setCaseSensitive = GetExport<Func_SetCaseSensitive>(library, "SetCaseSensitive");
            if (setCaseSensitive != nullptr)
                setCaseSensitive(CaseSensitive ? 1 : 0);
        }
        library.CreateObject = GetExport<Func_CreateObject>(library, "CreateObject");
        if (library.CreateObject != nullptr)
        {
            uint32_t before = Methods.Count() + Hashers.Count();
            result = ReadMethodsAndHashers();
            added = Methods.Count() + Hashers.Count() != before;
            if (result == S_OK)
            {
                before = Formats.Count();
                result = ReadFormats();
                added = added || Formats.Count() != before;
            }
        }
    }
    if (!added)
        Libraries.DeleteBack();
    return result;
}

HRESULT CCodecs::ReadMethodsAndHashers()
{
    CCodecLibrary& library = Libraries.Back();
    int32_t libIndex = static_cast<int32_t>(Libraries.Count() - 1);
    library.CreateDecoder = GetExport<Func_CreateDecoder>(library, "CreateDecoder");
    library.CreateEncoder = GetExport<Func_CreateEncoder>(library, "CreateEncoder");
    library.GetMethodProperty = GetExport<Func_GetMethodProperty>(library, "GetMethodProperty");
    if (library.GetMethodProperty != nullptr)
    {
        UINT32 count = 1;
        auto getNumberOfMethods = GetExport<Func_GetNumberOfMethods>(library, "GetNumberOfMethods");
        if (getNumberOfMethods != nullptr)
        {
            HRESULT hr = getNumberOfMethods(&count);
            if (hr != S_OK)
                return hr;
        }
        for (uint32_t i = 0; i < count; i++)
        {
            CCodecMethodInfo method = {};
            method.LibIndex = libIndex;
            method.MethodIndex = i;
            HRESULT hr = ReadMethodClassId(library.GetMethodProperty, i, kMethodEncoder, method.Encoder,
                                           method.EncoderIsAssigned);
            if (hr == S_OK)
                hr = ReadMethodClassId(library.GetMethodProperty, i, kMethodDecoder, method.Decoder,
                                       method.DecoderIsAssigned);
            if (hr != S_OK)
                return hr;
            Methods.Add(method);
        }
    }

    auto getHashers = GetExport<Func_GetHashers>(library, "GetHashers");
    if (getHashers == nullptr)
        return S_OK;
    HRESULT hr = getHashers(library.Hashers.OutPtr());
    if (hr != S_OK)
        return hr;
    if (library.Hashers.IsNull())
        return S_OK;
    UINT32 count = library.Hashers->GetNumHashers();
    for (uint32_t j = 0; j < count; j++)
        Hashers.Add(CCodecHasherInfo{static_cast<uint32_t>(libIndex), j});
    return S_OK;
}

HRESULT CCodecs::ReadFormats()
{
    CCodecLibrary& library = Libraries.Back();
    int32_t libIndex = static_cast<int32_t>(Libraries.Count() - 1);
    auto get2 = GetExport<Func_GetHandlerProperty2>(library, "GetHandlerProperty2");
    auto getIsArc = GetExport<Func_GetIsArc>(library, "GetIsArc");
    Func_GetHandlerProperty get1 = nullptr;
    UINT32 count = 1;
    if (get2 != nullptr)
    {
        auto getNumberOfFormats = GetExport<Func_GetNumberOfFormats>(library, "GetNumberOfFormats");
        if (getNumberOfFormats != nullptr)
        {
            HRESULT hr = getNumberOfFormats(&count);
            if (hr != S_OK)
                return hr;
        }
    }
    else
    {
        get1 = GetExport<Func_GetHandlerProperty>(library, "GetHandlerProperty");
        if (get1 == nullptr)
            return S_OK;
    }
    CHandlerPropReader reader(get2, get1);

    for (uint32_t i = 0; i < count; i++)
    {
        CArchiveFormatInfo item;
        item.LibIndex = libIndex;
        item.FormatIndex = i;
        HRESULT hr = reader.ReadString(i, kHandlerName, item.Name);
        if (hr != S_OK)
            return hr;
        {
            CPropValue value;
            // A format without a usable class id cannot be created: it is left out.
            if (reader.Get(i, kHandlerClassId, value) != S_OK || value.vt != VT_BSTR)
                continue;
            if (SysStringByteLen(value.bstrVal) != sizeof(GUID))
                return E_FAIL;
            std::memcpy(&item.ClassId, value.bstrVal, sizeof(GUID));
        }
        UString extensions;
        UString addExtensions;
        hr = reader.ReadString(i, kHandlerExtension, extensions);
        if (hr == S_OK)
            hr = reader.ReadString(i, kHandlerAddExtension, addExtensions);
        if (hr != S_OK)
            return hr;
        item.AddExtensions(extensions, addExtensions);

        reader.ReadBool(i, kHandlerUpdate, item.UpdateEnabled);

        hr = reader.ReadUInt32(i, kHandlerFlags, item.Flags, item.FlagsDefined);
        if (hr != S_OK)
            return hr;
        if (!item.FlagsDefined)
        {
            // Libraries that predate the flags word give the three oldest flags one by one.
            static const struct
            {
                PROPID PropId;
                uint32_t Flag;
            } kOldFlags[] = {{kHandlerKeepName, kArcFlagKeepName},
                             {kHandlerAltStreams, kArcFlagAltStreams},
                             {kHandlerNtSecure, kArcFlagNtSecure}};
            for (const auto& old : kOldFlags)
            {
                bool set = false;
                if (reader.ReadBool(i, old.PropId, set) == S_OK && set)
                    item.Flags |= old.Flag;
            }
        }

        CByteBlock signature;
        hr = reader.ReadBytes(i, kHandlerSignature, signature);
        if (hr != S_OK)
            return hr;
        if (signature.Size() != 0)
            item.Signatures.At(item.Signatures.AddNew()).CopyFrom(signature.Data(), signature.Size());
        else
        {
            hr = reader.ReadBytes(i, kHandlerMultiSignature, signature);
            if (hr != S_OK)
                return hr;
            item.SetMultiSignature(static_cast<const uint8_t*>(signature.Data()), signature.Size());
        }

        bool offsetDefined = false;
        hr = reader.ReadUInt32(i, kHandlerSignatureOffset, item.SignatureOffset, offsetDefined);
        if (hr != S_OK)
            return hr;
        if (getIsArc != nullptr)
            getIsArc(i, &item.IsArcFunc);
        Formats.AddCopy(item);
    }
    return S_OK;
}

int32_t CCodecs::FormatIndexFromFileName(const UString& name) const
{
    int dot = name.FindLastDot();
    int separator = name.FindLastPathSeparator();
    if (separator >= dot)
        return -1;
    const wchar_t* ext = name.CharsAt(static_cast<uint32_t>(dot) + 1);
    // A program file is never opened as an archive by its name alone.
    if (*ext == 0 || WideEqualsAsciiNoCase(ext, "exe"))
        return -1;
    for (uint32_t i = 0; i < Formats.Count(); i++)
        if (Formats.At(i).FindExtensionIndex(ext) >= 0)
            return static_cast<int32_t>(i);
    return -1;
}

int32_t CCodecs::FormatIndexFromTypeName(const UString& typeName) const
{
    for (uint32_t i = 0; i < Formats.Count(); i++)
        if (Formats.At(i).Name.EqualsNoCase(typeName))
            return static_cast<int32_t>(i);
    return -1;
}

HRESULT CCodecs::CreateHandlerObject(uint32_t formatIndex, CInterfaceRef<IInArchive>& handler)
{
    if (formatIndex >= Formats.Count())
        return E_INVALIDARG;
    const CArchiveFormatInfo& format = Formats.At(formatIndex);
    if (format.LibIndex >= 0)
        return Libraries.At(static_cast<uint32_t>(format.LibIndex))
            .CreateObject(&format.ClassId, &IID_IInArchive, handler.OutVoidPtr());
    if (format.CreateInHandler == nullptr)
        return CLASS_E_CLASSNOTAVAILABLE;
    try
    {
        handler = format.CreateInHandler();
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CCodecs::GetMethodCount(UINT32* count)
{
    *count = Methods.Count();
    return S_OK;
}

HRESULT CCodecs::GetMethodProp(UINT32 index, PROPID propId, PROPVARIANT* value)
{
    if (index >= Methods.Count())
        return E_INVALIDARG;
    const CCodecMethodInfo& method = Methods.At(index);
    if (propId == kMethodDecoderIsAssigned || propId == kMethodEncoderIsAssigned)
    {
        CPropValue flag;
        flag.SetBool(propId == kMethodDecoderIsAssigned ? method.DecoderIsAssigned
                                                        : method.EncoderIsAssigned);
        return flag.DetachTo(value);
    }
    const CCodecLibrary& library = Libraries.At(static_cast<uint32_t>(method.LibIndex));
    return library.GetMethodProperty(method.MethodIndex, propId, value);
}

HRESULT CCodecs::MakeDecoder(UINT32 index, const GUID* iid, void** coder)
{
    *coder = nullptr;
    if (index >= Methods.Count())
        return E_INVALIDARG;
    const CCodecMethodInfo& method = Methods.At(index);
    if (!method.DecoderIsAssigned)
        return S_OK;
    const CCodecLibrary& library = Libraries.At(static_cast<uint32_t>(method.LibIndex));
    if (library.CreateDecoder != nullptr)
        return library.CreateDecoder(method.MethodIndex, iid, coder);
    return library.CreateObject(&method.Decoder, iid, coder);
}

HRESULT CCodecs::MakeEncoder(UINT32 index, const GUID* iid, void** coder)
{
    *coder = nullptr;
    if (index >= Methods.Count())
        return E_INVALIDARG;
    const CCodecMethodInfo& method = Methods.At(index);
    if (!method.EncoderIsAssigned)
        return S_OK;
    const CCodecLibrary& library = Libraries.At(static_cast<uint32_t>(method.LibIndex));
    if (library.CreateEncoder != nullptr)
        return library.CreateEncoder(method.MethodIndex, iid, coder);
    return library.CreateObject(&method.Encoder, iid, coder);
}

UINT32 CCodecs::GetHasherCount()
{
    return Hashers.Count();
}

HRESULT CCodecs::GetHasherProp(UINT32 index, PROPID propId, PROPVARIANT* value)
{
    if (index >= Hashers.Count())
        return E_INVALIDARG;
    const CCodecHasherInfo& hasher = Hashers.At(index);
    return Libraries.At(hasher.LibIndex).Hashers->GetHasherProp(hasher.HasherIndex, propId, value);
}

HRESULT CCodecs::MakeHasher(UINT32 index, IHasher** hasher)
{
    *hasher = nullptr;
    if (index >= Hashers.Count())
        return E_INVALIDARG;
    const CCodecHasherInfo& info = Hashers.At(index);
    return Libraries.At(info.LibIndex).Hashers->CreateHasher(info.HasherIndex, hasher);
}

int32_t FindAltStreamColon(const wchar_t* name)
{
    int32_t colon = -1;
    for (int32_t i = 0; name[i] != 0; i++)
    {
        if (name[i] == L'\\')
            colon = -1;
        else if (name[i] == L':' && colon < 0)
            colon = i;
    }
    return colon;
}
