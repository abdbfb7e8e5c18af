#include "archiveclient/ops/ArchiveChain.h"

#include "archiveclient/base/PropValue.h"
#include "archiveclient/ops/ClientUtils.h"
#include "archiveclient/ops/FormatDetection.h"
#include "fs/PathRules.h"

namespace
{

const PROPID kpidMainSubfile = 1;
const PROPID kpidIsDeletedProp = 65;
const PROPID kpidIsTreeProp = 66;
const PROPID kpidIsAuxProp = 64;
const PROPID kpidINodeProp = 91;
const PROPID kpidReadOnlyProp = 93;
const PROPID kpidZerosTailIsAllowed = 86;
const UINT32 kRawPropUtf16z = 0x51;
const UINT32 kParentIsAltStream = 1;

HRESULT ReadArchiveBool(IInArchive* handler, PROPID propId, bool& value)
{
    value = false;
    CPropValue prop;
    HRESULT hr = handler->GetArchiveProperty(propId, &prop);
    if (hr != S_OK)
        return hr;
    if (prop.vt == VT_BOOL)
        value = prop.boolVal != VARIANT_FALSE;
    else if (prop.vt != VT_EMPTY)
        return E_FAIL;
    return S_OK;
}

// Signed and unsigned 32- and 64-bit values; E_FAIL for another type.
HRESULT ReadArchiveInt64(IInArchive* handler, PROPID propId, int64_t& value, bool& defined)
{
    defined = false;
    CPropValue prop;
    HRESULT hr = handler->GetArchiveProperty(propId, &prop);
    if (hr != S_OK)
        return hr;
    switch (prop.vt)
    {
    case VT_EMPTY:
        return S_OK;
    case VT_UI4:
        value = prop.ulVal;
        break;
    case VT_I4:
        value = prop.lVal;
        break;
    case VT_UI8:
        value = static_cast<int64_t>(prop.uhVal.QuadPart);
        break;
    case VT_I8:
        value = prop.hVal.QuadPart;
        break;
    default:
        return E_FAIL;
    }
    defined = true;
    return S_OK;
}

HRESULT ReadArchiveFlags(IInArchive* handler, PROPID propId, uint32_t& value, bool& defined)
{
    defined = false;
    CPropValue prop;
    HRESULT hr = handler->GetArchiveProperty(propId, &prop);
    if (hr != S_OK)
        return hr;
    if (prop.vt == VT_UI4)
    {
        value = prop.ulVal;
        defined = true;
    }
    return S_OK;
}

HRESULT ReadArchiveMessage(IInArchive* handler, PROPID propId, const wchar_t* unknownText, UString& text)
{
    CPropValue prop;
    HRESULT hr = handler->GetArchiveProperty(propId, &prop);
    if (hr != S_OK)
        return hr;
    if (prop.vt == VT_BSTR)
        text.AssignBstr(prop.bstrVal);
    else if (prop.vt != VT_EMPTY)
        text = unknownText;
    return S_OK;
}

// The raw UTF-16 text of a property, '/' turned into '\\'; false when there is none.
bool ReadRawText(IArchiveGetRawProps* rawProps, uint32_t index, PROPID propId, UString& text)
{
    const void* data = nullptr;
    UINT32 size = 0;
    UINT32 type = 0;
    if (rawProps->GetRawProp(index, propId, &data, &size, &type) != S_OK)
        return false;
    if (data == nullptr || type != kRawPropUtf16z || size < 2)
        return false;
    text.AssignChars(static_cast<const wchar_t*>(data), size / 2 - 1);
    text.ReplaceChar(L'/', L'\\');
    return true;
}

UString FileNameOf(const UString& path)
{
    int sep = path.FindLastPathSeparator();
    return UString(path.CharsAt(static_cast<uint32_t>(sep + 1)));
}

UString ExtensionOf(const UString& fileName)
{
    int dot = fileName.FindLastDot();
    if (dot < 0)
        return UString();
    return UString(fileName.CharsAt(static_cast<uint32_t>(dot + 1)));
}

bool EndsWithNoCase(const UString& text, const UString& tail)
{
    if (tail.Length() > text.Length())
        return false;
    return WideEqualsNoCase(text.TailChars(tail.Length()), tail.Chars());
}

// The first ':' after the last separator of path, -1 when none.
int FindStreamColonInName(const UString& path)
{
    int sep = path.FindLastPathSeparator();
    return path.FindCharFrom(L':', static_cast<uint32_t>(sep + 1));
}

} // namespace

// ---- Default item names ----

UString MakeDefaultItemName(const UString& fileName, const UString& extension, const UString& addedExtension)
{
    uint32_t extLength = extension.Length();
    if (fileName.Length() > extLength + 1)
    {
        UString dotted(L".");
        dotted.Append(extension);
        if (EndsWithNoCase(fileName, dotted))
        {
            UString result = UString::FromLeftPart(fileName, fileName.Length() - dotted.Length());
            result.Append(addedExtension);
            return result;
        }
    }
    int dot = fileName.FindLastDot();
    if (dot > 0)
    {
        UString result = UString::FromLeftPart(fileName, static_cast<uint32_t>(dot));
        result.Append(addedExtension);
        return result;
    }
    UString result(fileName);
    if (addedExtension.IsEmpty())
        result.AppendChar(L'~');
    else
        result.Append(addedExtension);
    return result;
}

UString MakeDefaultItemNameTrimmed(const UString& fileName, const UString& extension,
                                   const UString& addedExtension)
{
    UString name = MakeDefaultItemName(fileName, extension, addedExtension);
    name.TrimTrailingBlanks();
    return name;
}

// ---- Type lists ----

bool ParseSizeWithSuffix(const UString& text, uint64_t& value)
{
    const wchar_t* start = text.Chars();
    const wchar_t* end = nullptr;
    uint64_t number = ParseUInt64Decimal(start, &end);
    if (end == start)
        return false;
    uint32_t rest = static_cast<uint32_t>(WideLength(end));
    if (rest == 0)
    {
        value = number;
        return true;
    }
    if (rest != 1)
        return false;
    unsigned shift;
    switch (ToLowerAsciiChar(end[0]))
    {
    case L'b':
        shift = 0;
        break;
    case L'k':
        shift = 10;
        break;
    case L'm':
        shift = 20;
        break;
    case L'g':
        shift = 30;
        break;
    case L't':
        shift = 40;
        break;
    default:
        return false;
    }
    if (shift != 0 && (number >> (64 - shift)) != 0)
        return false;
    value = number << shift;
    return true;
}

bool ParseArchiveTypeOption(const UString& text, CArchiveTypeChoice& choice)
{
    if (text.Length() == 1)
    {
        switch (text[0])
        {
        case L'a':
            choice.allowArchive = true;
            return true;
        case L'e':
            choice.everyPosition = true;
            return true;
        case L'r':
            choice.recursive = true;
            return true;
        default:
            return false;
        }
    }
    if (text.IsEmpty() || text[0] != L's')
        return false;
    uint64_t size = 0;
    if (!ParseSizeWithSuffix(UString(text.CharsAt(1)), size))
        return false;
    choice.maxStartOffset = size;
    choice.maxStartOffsetSet = true;
    return true;
}

bool ParseArchiveType(const CCodecs& codecs, const UString& text, CArchiveTypeChoice& choice)
{
    choice = CArchiveTypeChoice();
    int colon = text.FindCharFrom(L':', 0);
    UString name = colon < 0 ? text : UString::FromLeftPart(text, static_cast<uint32_t>(colon));
    choice.formatIndex = codecs.FormatIndexFromTypeName(name);
    choice.recursive = false;
    if (choice.formatIndex < 0)
    {
        if (name.Equals(L"#"))
        {
            choice.allowArchive = false;
            choice.allowEmbeddedList = true;
        }
        else if (!name.Equals(L"*"))
            return false;
    }
    if (colon < 0)
        return true;
    uint32_t pos = static_cast<uint32_t>(colon) + 1;
    for (;;)
    {
        int next = text.FindCharFrom(L':', pos);
        uint32_t end = next < 0 ? text.Length() : static_cast<uint32_t>(next);
        UString option = text.Substring(pos, end - pos);
        if (option.IsEmpty() || !ParseArchiveTypeOption(option, choice))
            return false;
        if (next < 0)
            return true;
        pos = end + 1;
    }
}

bool ParseArchiveTypeList(const CCodecs& codecs, const UString& text, CValueVector<CArchiveTypeChoice>& list)
{
    list.Clear();
    if (text.IsEmpty())
        return true;
    uint32_t pos = 0;
    for (;;)
    {
        int next = text.FindCharFrom(L'.', pos);
        uint32_t end = next < 0 ? text.Length() : static_cast<uint32_t>(next);
        UString part = text.Substring(pos, end - pos);
        CArchiveTypeChoice choice;
        if (part.IsEmpty() || !ParseArchiveType(codecs, part, choice))
            return false;
        list.Add(choice);
        if (next < 0)
            return true;
        pos = end + 1;
    }
}

// ---- Level ----

CArchiveLevel::~CArchiveLevel()
{
    rawProps.Release();
    rootProps.Release();
    handler.Release();
    stream.Release();
}

HRESULT CArchiveLevel::OpenFromFile(CArchiveOpenRequest& request)
{
    if (request.fromStandardInput)
        request.sequentialStream = new CStdInFileStream();
    else if (request.stream.IsNull())
    {
        path = filePath;
        CInterfaceRef<CInFileStream> file(new CInFileStream());
        if (!file->File.Open(filePath.Chars()))
            return ResultFromLastError();
        request.stream = file.Get();
    }
    HRESULT hr = Open(request);
    ignoreSplit = false;
    return hr;
}

HRESULT CArchiveLevel::Open(CArchiveOpenRequest& request)
{
    HRESULT hr = OpenArchiveLevel(*this, request);
    if (hr != S_OK)
        return hr;
    if (handler.IsNull())
        return S_OK;
    rawProps.QueryFrom(handler.Get());
    rootProps.QueryFrom(handler.Get());
    struct
    {
        PROPID id;
        bool* value;
    } const flags[] = {
        {kpidIsTreeProp, &isTree}, {kpidIsDeletedProp, &asksDeleted}, {kpidIsAltStream, &asksAltStream},
        {kpidIsAuxProp, &asksAux}, {kpidINodeProp, &asksINode},       {kpidReadOnlyProp, &isReadOnly},
    };
    for (const auto& flag : flags)
    {
        hr = ReadArchiveBool(handler.Get(), flag.id, *flag.value);
        if (hr != S_OK)
            return hr;
    }

    UString fileName = FileNameOf(path);
    UString extension = ExtensionOf(fileName);
    defaultItemName.Empty();
    if (formatIndex >= 0)
    {
        const CArchiveFormatInfo& format = request.Codecs->Formats.At(static_cast<uint32_t>(formatIndex));
        if (format.Exts.Count() != 0)
        {
            int32_t i = format.FindExtensionIndex(extension.Chars());
            const CArchiveExtensionInfo& entry = format.Exts.At(i < 0 ? 0 : static_cast<uint32_t>(i));
            defaultItemName = MakeDefaultItemNameTrimmed(fileName, entry.Ext, entry.AddExt);
        }
        else
            defaultItemName = MakeDefaultItemNameTrimmed(fileName, UString(), UString());
    }
    return S_OK;
}

HRESULT CArchiveLevel::ReadOpenProperties(IInArchive* openedHandler, uint64_t startPosition,
                                          HRESULT openResult)
{
    physicalSizeSet = false;
    physicalSize = 0;
    offset = 0;
    availableSize = startPosition < fileSize ? fileSize - startPosition : 0;
    errorInfo.Clear();

    HRESULT hr =
        ReadArchiveFlags(openedHandler, kpidErrorFlags, errorInfo.errorFlags, errorInfo.errorFlagsSet);
    if (hr != S_OK)
        return hr;
    bool warningsSet = false;
    hr = ReadArchiveFlags(openedHandler, kpidWarningFlags, errorInfo.warningFlags, warningsSet);
    if (hr != S_OK)
        return hr;
    hr = ReadArchiveMessage(openedHandler, kpidError, L"Unknown error", errorInfo.errorText);
    if (hr != S_OK)
        return hr;
    hr = ReadArchiveMessage(openedHandler, kpidWarning, L"Unknown warning", errorInfo.warningText);
    if (hr != S_OK)
        return hr;

    bool isArcDespiteFailure = errorInfo.errorFlagsSet && (errorInfo.errorFlags & 1) == 0;
    if (openResult != S_OK && !isArcDespiteFailure)
        return S_OK;

    int64_t value = 0;
    bool defined = false;
    hr = ReadArchiveInt64(openedHandler, kpidPhySize, value, defined);
    if (hr != S_OK)
        return hr;
    if (defined)
    {
        physicalSize = static_cast<uint64_t>(value);
        physicalSizeSet = true;
    }
    hr = ReadArchiveInt64(openedHandler, kpidOffset, value, defined);
    if (hr != S_OK)
        return hr;
    if (defined)
        offset = value;

    startPosition += static_cast<uint64_t>(offset);
    availableSize = startPosition < fileSize ? fileSize - startPosition : 0;
    if (physicalSizeSet)
    {
        uint64_t end = startPosition + physicalSize;
        if (end < fileSize)
        {
            availableSize = physicalSize;
            errorInfo.thereIsTail = true;
            errorInfo.tailSize = fileSize - end;
        }
        else if (end > fileSize)
            errorInfo.unexpectedEnd = true;
    }
    return S_OK;
}

HRESULT CArchiveLevel::CheckZeroTail(const CArchiveOpenRequest& request, uint64_t position)
{
    if (request.stream.IsNull())
        return S_OK;
    // A range stream of the scan over the same stream trusts the position it left the
    // stream at; put the stream back where the test found it.
    UINT64 before = 0;
    HRESULT hr = request.stream->Seek(0, kSeekCur, &before);
    if (hr != S_OK)
        return hr;
    hr = request.stream->Seek(static_cast<INT64>(position), kSeekSet, nullptr);
    if (hr != S_OK)
        return hr;
    bool allZero = true;
    BYTE buffer[2048];
    while (allZero)
    {
        UINT32 processed = 0;
        hr = request.stream->Read(buffer, sizeof(buffer), &processed);
        if (hr != S_OK)
            return hr;
        if (processed == 0)
            break;
        for (UINT32 i = 0; i < processed && allZero; i++)
            allZero = buffer[i] == 0;
    }
    if (allZero)
        errorInfo.ignoreTail = true;
    return request.stream->Seek(static_cast<INT64>(before), kSeekSet, nullptr);
}

HRESULT CArchiveLevel::GetItemPath(uint32_t index, UString& itemPath) const
{
    itemPath.Empty();
    bool done = false;
    if (!rawProps.IsNull() && !isTree)
        done = ReadRawText(rawProps.Get(), index, kpidPath, itemPath) && !itemPath.IsEmpty();
    if (!done)
    {
        CPropValue prop;
        HRESULT hr = handler->GetProperty(index, kpidPath, &prop);
        if (hr != S_OK)
            return hr;
        if (prop.vt == VT_BSTR)
            itemPath.AssignBstr(prop.bstrVal);
        else if (prop.vt != VT_EMPTY)
            return E_FAIL;
    }
    if (itemPath.IsEmpty())
        return GetDefaultItemPath(index, itemPath);
    return S_OK;
}

HRESULT CArchiveLevel::GetDefaultItemPath(uint32_t index, UString& itemPath) const
{
    itemPath.Empty();
    bool isDir = false;
    HRESULT hr = ReadItemIsDir(handler.Get(), index, isDir);
    if (hr != S_OK)
        return hr;
    if (isDir)
        return S_OK;
    itemPath = defaultItemName;
    CPropValue prop;
    hr = handler->GetProperty(index, kpidExtension, &prop);
    if (hr != S_OK)
        return hr;
    if (prop.vt == VT_BSTR)
    {
        UString extension;
        extension.AssignBstr(prop.bstrVal);
        itemPath.AppendChar(L'.');
        itemPath.Append(extension);
    }
    else if (prop.vt != VT_EMPTY)
        return E_FAIL;
    return S_OK;
}

HRESULT CArchiveLevel::GetItemPathMarked(uint32_t index, UString& itemPath) const
{
    HRESULT hr = GetItemPath(index, itemPath);
    if (hr != S_OK)
        return hr;
    if (asksDeleted)
    {
        bool deleted = false;
        hr = ReadItemIsDeleted(handler.Get(), index, deleted);
        if (hr != S_OK)
            return hr;
        if (deleted)
            itemPath.InsertChars(0, L"[DELETED]\\");
    }
    return S_OK;
}

HRESULT CArchiveLevel::GetItemSize(uint32_t index, uint64_t& size, bool& sizeSet) const
{
    sizeSet = false;
    size = 0;
    CPropValue prop;
    HRESULT hr = handler->GetProperty(index, kpidSize, &prop);
    if (hr != S_OK)
        return hr;
    switch (prop.vt)
    {
    case VT_EMPTY:
        return S_OK;
    case VT_UI1:
        size = prop.bVal;
        break;
    case VT_UI2:
        size = prop.uiVal;
        break;
    case VT_UI4:
        size = prop.ulVal;
        break;
    case VT_UI8:
        size = prop.uhVal.QuadPart;
        break;
    default:
        return E_FAIL;
    }
    sizeSet = true;
    return S_OK;
}

HRESULT CArchiveLevel::GetItemModified(uint32_t index, FILETIME& time, bool& timeSet) const
{
    timeSet = false;
    time = FILETIME{};
    CPropValue prop;
    HRESULT hr = handler->GetProperty(index, kpidMTime, &prop);
    if (hr != S_OK)
        return hr;
    if (prop.vt == VT_FILETIME)
    {
        time = prop.filetime;
        timeSet = true;
    }
    else if (prop.vt != VT_EMPTY)
        return E_FAIL;
    else if (modifiedSet)
    {
        time = modified;
        timeSet = true;
    }
    return S_OK;
}

HRESULT CArchiveLevel::GetItemPathParts(uint32_t index, uint32_t parent, CPathParts& parts) const
{
    if (rawProps.IsNull())
        return E_FAIL;
    bool previousWasAltStream = false;
    // A handler's parent links could form a cycle; a tree cannot be deeper than its items.
    UINT32 itemCount = 0;
    HRESULT hr = handler->GetNumberOfItems(&itemCount);
    if (hr != S_OK)
        return hr;
    for (uint32_t steps = 0; index != parent; steps++)
    {
        if (steps > itemCount)
            return E_FAIL;
        UString name;
        if (!ReadRawText(rawProps.Get(), index, kpidName, name))
        {
            CPropValue prop;
            hr = handler->GetProperty(index, kpidName, &prop);
            if (hr != S_OK)
                return hr;
            if (prop.vt == VT_BSTR)
                name.AssignBstr(prop.bstrVal);
            else if (prop.vt != VT_EMPTY)
                return E_FAIL;
        }
        UINT32 itemParent = 0xFFFFFFFF;
        UINT32 parentType = 0;
        hr = rawProps->GetParent(index, &itemParent, &parentType);
        if (hr != S_OK)
            return hr;
        if (parentType != kParentIsAltStream)
        {
            for (;;)
            {
                int sep = name.FindLastPathSeparator();
                if (sep < 0)
                    break;
                parts.insert(parts.begin(), UString(name.CharsAt(static_cast<uint32_t>(sep + 1))));
                name.TruncateAt(static_cast<uint32_t>(sep));
            }
        }
        parts.insert(parts.begin(), name);
        if (previousWasAltStream && parts.size() >= 2)
        {
            UString joined = parts[parts.size() - 2];
            joined.AppendChar(L':');
            joined.Append(parts.back());
            parts[parts.size() - 2] = joined;
            parts.pop_back();
        }
        previousWasAltStream = parentType == kParentIsAltStream;
        if (itemParent == parent)
            return S_OK;
        if (itemParent == 0xFFFFFFFF)
            return E_FAIL;
        index = itemParent;
    }
    return S_OK;
}

HRESULT CArchiveLevel::ReadItem(uint32_t index, CArchiveItemRecord& record) const
{
    record.isAltStream = false;
    record.altStreamName.Empty();
    record.mainPath.Empty();
    record.isDir = false;
    record.path.Empty();
    record.pathParts.clear();
    record.parentIndex = 0xFFFFFFFF;

    HRESULT hr = ReadItemIsDir(handler.Get(), index, record.isDir);
    if (hr != S_OK)
        return hr;
    record.mainIsDir = record.isDir;
    hr = GetItemPathMarked(index, record.path);
    if (hr != S_OK)
        return hr;
    record.mainPath = record.path;
    uint32_t mainIndex = index;
    if (asksAltStream)
    {
        hr = ReadItemIsAltStream(handler.Get(), index, record.isAltStream);
        if (hr != S_OK)
            return hr;
    }
    bool needFindAltStream = false;
    if (record.isAltStream)
    {
        needFindAltStream = true;
        if (!rawProps.IsNull())
        {
            UINT32 parent = 0xFFFFFFFF;
            UINT32 parentType = 0;
            hr = rawProps->GetParent(index, &parent, &parentType);
            if (hr != S_OK)
                return hr;
            if (parentType == kParentIsAltStream)
            {
                needFindAltStream = false;
                CPropValue prop;
                hr = handler->GetProperty(index, kpidName, &prop);
                if (hr != S_OK)
                    return hr;
                if (prop.vt == VT_BSTR)
                    record.altStreamName.AssignBstr(prop.bstrVal);
                else if (prop.vt != VT_EMPTY)
                    return E_FAIL;
                record.parentIndex = parent;
                mainIndex = parent;
                if (parent == 0xFFFFFFFF)
                {
                    record.mainPath.Empty();
                    record.mainIsDir = true;
                }
                else
                {
                    hr = GetItemPathMarked(parent, record.mainPath);
                    if (hr != S_OK)
                        return hr;
                    hr = ReadItemIsDir(handler.Get(), parent, record.mainIsDir);
                    if (hr != S_OK)
                        return hr;
                }
            }
        }
    }
    bool splitByColon = false;
    if (record.writeToAltStreamIfColon || needFindAltStream)
    {
        int colon = FindStreamColonInName(record.path);
        if (colon >= 0)
        {
            splitByColon = true;
            record.mainPath = UString::FromLeftPart(record.path, static_cast<uint32_t>(colon));
            record.altStreamName = UString(record.path.CharsAt(static_cast<uint32_t>(colon + 1)));
            record.mainIsDir = colon == 0 || IsPathSeparator(record.path[static_cast<uint32_t>(colon - 1)]);
            record.isAltStream = true;
        }
    }
    if (!record.useBaseParentFolder)
        SplitPathToParts(record.mainPath, record.pathParts);
    else
    {
        hr = GetItemPathParts(mainIndex, static_cast<uint32_t>(record.baseParentFolder), record.pathParts);
        if (hr != S_OK)
            return hr;
        if ((splitByColon || record.isAltStream) && !record.pathParts.empty())
        {
            UString& last = record.pathParts.back();
            int colon = FindStreamColonInName(last);
            if (colon >= 0)
            {
                last.TruncateAt(static_cast<uint32_t>(colon));
                if (last.IsEmpty())
                    record.pathParts.pop_back();
            }
        }
    }
    return S_OK;
}

// ---- Chain ----

CArchiveChain::~CArchiveChain()
{
    CloseArchiveChain(*this);
}

void CloseArchiveChain(CArchiveChain& chain)
{
    chain.failedOpenInfo.Clear();
    chain.failedOpenInfo.errorFormatIndex = -1;
    chain.failedPath.Empty();
    chain.levels.Clear();
    chain.isOpen = false;
}

HRESULT CArchiveChain::CloseHandlers()
{
    HRESULT result = S_OK;
    for (uint32_t i = levels.Count(); i != 0; i--)
    {
        CArchiveLevel& level = levels.At(i - 1);
        level.stream.Release();
        if (!level.handler.IsNull())
        {
            HRESULT hr = level.handler->Close();
            if (result == S_OK)
                result = hr;
        }
    }
    isOpen = false;
    return result;
}

HRESULT CArchiveChain::Open(CArchiveOpenRequest& request)
{
    CloseArchiveChain(*this);
    uint32_t listSize = request.typeList != nullptr ? request.typeList->Count() : 0;
    if (listSize >= kMaxArchiveLevels)
        return E_NOTIMPL;

    HRESULT result = S_OK;
    for (;;)
    {
        result = S_OK;
        CArchiveTypeChoice type;
        if (listSize != 0)
        {
            if (levels.Count() < listSize)
                type = request.typeList->At(listSize - levels.Count() - 1);
            else
            {
                type = request.typeList->At(0);
                if (!type.recursive)
                    break;
            }
        }
        else if (levels.Count() >= kMaxArchiveLevels)
            break;

        if (levels.Count() == 0)
        {
            CArchiveLevel* level = &levels.At(levels.AddNew());
            level->filePath = request.filePath;
            level->path = request.filePath;
            level->subfileIndex = -1;
            request.typeChoice = type;
            HRESULT hr = level->OpenFromFile(request);
            if (hr != S_OK)
            {
                if (hr == S_FALSE)
                {
                    failedOpenInfo = level->failedOpenInfo;
                    failedPath = level->path;
                }
                levels.DeleteBack();
                return hr;
            }
            continue;
        }

        CArchiveLevel& outer = levels.Back();
        if (listSize > levels.Count())
            result = E_NOTIMPL;
        CPropValue prop;
        HRESULT hr = outer.handler->GetArchiveProperty(kpidMainSubfile, &prop);
        if (hr != S_OK)
            return hr;
        if (prop.vt != VT_UI4)
            break;
        uint32_t mainSubfile = prop.ulVal;
        UINT32 itemCount = 0;
        hr = outer.handler->GetNumberOfItems(&itemCount);
        if (hr != S_OK)
            return hr;
        if (mainSubfile >= itemCount)
            break;
        CInterfaceRef<IInArchiveGetStream> getStream;
        getStream.QueryFrom(outer.handler.Get());
        if (getStream.IsNull())
            break;
        CInterfaceRef<ISequentialInStream> subSequential;
        hr = getStream->GetStream(mainSubfile, subSequential.OutPtr());
        if (hr != S_OK || subSequential.IsNull())
            break;
        CInterfaceRef<IInStream> subStream;
        subStream.QueryFrom(subSequential.Get());
        if (subStream.IsNull())
            break;

        CArchiveLevel* level = &levels.At(levels.AddNew());
        hr = outer.GetItemPath(mainSubfile, level->path);
        bool zeroTailAllowed = false;
        if (hr == S_OK)
            hr = ReadItemBoolProperty(outer.handler.Get(), mainSubfile, kpidZerosTailIsAllowed,
                                      zeroTailAllowed);
        if (hr != S_OK)
        {
            levels.DeleteBack();
            return hr;
        }
        level->filePath = level->path;
        CInterfaceRef<IArchiveOpenSetSubArchiveName> setSubName;
        setSubName.QueryFrom(request.callback.Get());
        if (!setSubName.IsNull())
            setSubName->SetSubArchiveName(level->path.Chars());
        level->subfileIndex = static_cast<int32_t>(mainSubfile);

        CArchiveOpenRequest inner;
        inner.Codecs = request.Codecs;
        inner.HandlerProperties = request.HandlerProperties;
        inner.callback = request.callback;
        inner.callbackImpl = request.callbackImpl;
        inner.typeChoice = type;
        inner.typeChoice.zeroTailAllowed = zeroTailAllowed;
        inner.stream = subStream;
        inner.filePath = level->path;
        hr = level->Open(inner);
        result = listSize != 0 ? S_FALSE : S_OK;
        if (hr == S_FALSE)
        {
            failedOpenInfo = level->errorInfo;
            failedPath = level->path;
            levels.DeleteBack();
            break;
        }
        if (hr == S_OK)
            hr = outer.GetItemModified(mainSubfile, level->modified, level->modifiedSet);
        if (hr != S_OK)
        {
            levels.DeleteBack();
            return hr;
        }
    }
    isOpen = levels.Count() != 0;
    return result;
}

HRESULT OpenArchiveChain(CArchiveChain& chain, CArchiveOpenRequest& request, IOpenCallbackUI* openUi)
{
    chain.volumesSize = 0;
    chain.volumePaths.Clear();
    CInterfaceRef<COpenCallbackImp> callback(new COpenCallbackImp());
    callback->ui = openUi;
    UString prefix;
    UString name;
    if (!request.stream.IsNull() || request.fromStandardInput)
        callback->SetSubArchiveName(request.filePath.Chars());
    else
    {
        GetFullPathParts(request.filePath.Chars(), prefix, name);
        callback->Init(prefix, name);
    }
    request.callback = static_cast<IArchiveOpenCallback*>(callback.Get());
    request.callbackImpl = callback.Get();
    HRESULT hr = chain.Open(request);
    chain.passwordAsked = callback->passwordAsked;
    if (hr != S_OK)
        return hr;
    for (uint32_t i = 0; i < callback->fileNames.Count(); i++)
    {
        if (!callback->fileNamesUsed.At(i))
            continue;
        chain.volumePaths.AddCopy(ConcatStrings(prefix, callback->fileNames.At(i)));
        chain.volumesSize += callback->fileSizes.At(i);
    }
    return S_OK;
}

HRESULT OpenArchiveChainAndFinish(CArchiveChain& chain, CArchiveOpenRequest& request, IOpenCallbackUI* openUi)
{
    HRESULT hr = OpenArchiveChain(chain, request, openUi);
    if (openUi != nullptr)
    {
        HRESULT finished = openUi->OnFinished();
        if (finished != S_OK)
            return finished;
    }
    return hr;
}
