#include "archiveclient/codecs/OpenHandler.h"

#include "archiveclient/base/PropValue.h"
#include <memory>

void CArchiveErrorInfo::Clear()
{
    thereIsTail = false;
    unexpectedEnd = false;
    ignoreTail = false;
    errorFlagsSet = false;
    errorFlags = 0;
    warningFlags = 0;
    tailSize = 0;
    errorText.Empty();
    warningText.Empty();
}

namespace
{

void ParsePropertyValue(const UString& text, CPropValue& value)
{
    const wchar_t* end = nullptr;
    uint64_t number = ParseUInt64Decimal(text.Chars(), &end);
    if (end == text.Chars() + text.Length())
    {
        if (number <= 0xFFFFFFFF)
            value.SetUInt32(static_cast<uint32_t>(number));
        else
            value.SetUInt64(number);
    }
    else
        value.SetString(text);
}

} // namespace

HRESULT ApplyHandlerProperties(IUnknown* handler, const COwnedPtrVector<CHandlerProperty>& properties)
{
    if (properties.Count() == 0)
        return S_OK;
    CInterfaceRef<ISetProperties> setProperties;
    setProperties.QueryFrom(handler);
    if (setProperties.IsNull())
        return S_OK;

    uint32_t count = properties.Count();
    COwnedPtrVector<UString> names;
    std::unique_ptr<CPropValue[]> values(new CPropValue[count]);
    std::unique_ptr<const wchar_t*[]> namePointers(new const wchar_t*[count]);
    for (uint32_t i = 0; i < count; i++)
    {
        const CHandlerProperty& property = properties.At(i);
        UString& name = names.At(names.AddCopy(property.Name));
        if (property.Value.IsEmpty())
        {
            wchar_t last = name.IsEmpty() ? 0 : name[name.Length() - 1];
            if (last == L'-' || last == L'+')
            {
                values[i].SetBool(last == L'+');
                name.RemoveLastChar();
            }
        }
        else
            ParsePropertyValue(property.Value, values[i]);
    }
    for (uint32_t i = 0; i < count; i++)
        namePointers[i] = names.At(i).Chars();
    return setProperties->SetProperties(namePointers.get(), values.get(), count);
}

HRESULT CreateArchiveHandler(const CArchiveOpenRequest& request, uint32_t formatIndex,
                             CInterfaceRef<IInArchive>& handler)
{
    CCodecs& codecs = *request.Codecs;
    HRESULT hr = codecs.CreateHandlerObject(formatIndex, handler);
    if (hr != S_OK)
        return hr;
    if (handler.IsNull())
        return S_OK;
    const CArchiveFormatInfo& format = codecs.Formats.At(formatIndex);

    // A registry whose library was not fully read is offered to the handler itself, so
    // that it can still find the library's coders.
    bool librarySharesCodecs =
        format.LibIndex >= 0 &&
        codecs.Libraries.At(static_cast<uint32_t>(format.LibIndex)).SetCodecs != nullptr;
    if (codecs.ShareCodecs && !librarySharesCodecs)
    {
        CInterfaceRef<ISetCompressCodecsInfo> setCodecs;
        setCodecs.QueryFrom(handler.Get());
        if (!setCodecs.IsNull())
        {
            hr = setCodecs->SetCompressCodecsInfo(&codecs);
            if (hr != S_OK)
            {
                handler.Release();
                return hr;
            }
        }
    }

    // Formats that may come before another archive (executables) must accept data
    // after their own end.
    if ((format.Flags & kArcFlagPreArc) != 0)
    {
        CInterfaceRef<IArchiveAllowTail> allowTail;
        allowTail.QueryFrom(handler.Get());
        if (!allowTail.IsNull())
            allowTail->AllowTail(1);
    }

    if (request.HandlerProperties != nullptr)
    {
        hr = ApplyHandlerProperties(handler.Get(), *request.HandlerProperties);
        if (hr != S_OK)
        {
            handler.Release();
            return hr;
        }
    }
    return S_OK;
}

HRESULT ReadItemBoolProperty(IInArchive* archive, uint32_t itemIndex, PROPID propId, bool& value)
{
    value = false;
    CPropValue prop;
    HRESULT hr = archive->GetProperty(itemIndex, propId, &prop);
    if (hr != S_OK)
        return hr;
    if (prop.vt == VT_BOOL)
        value = prop.boolVal != VARIANT_FALSE;
    else if (prop.vt != VT_EMPTY)
        return E_FAIL;
    return S_OK;
}

HRESULT ReadItemIsDir(IInArchive* archive, uint32_t itemIndex, bool& value)
{
    return ReadItemBoolProperty(archive, itemIndex, kpidIsDir, value);
}

HRESULT ReadItemIsAltStream(IInArchive* archive, uint32_t itemIndex, bool& value)
{
    return ReadItemBoolProperty(archive, itemIndex, kpidIsAltStream, value);
}

HRESULT ReadItemIsDeleted(IInArchive* archive, uint32_t itemIndex, bool& value)
{
    const PROPID kpidIsDeleted = 65;
    return ReadItemBoolProperty(archive, itemIndex, kpidIsDeleted, value);
}
