#include "archiveclient/update/UpdateArchive.h"
#include "archiveclient/base/PropValue.h"
#include "archiveclient/base/StreamAdapters.h"
#include "archiveclient/ops/ArchiveChain.h"
#include "archiveclient/update/MultiVolStream.h"
#include "archiveclient/update/UpdateCallback.h"
#include "fs/FindEntries.h"
#include "fs/PathRules.h"

const char* const kNoSuchArchiveText = "there is no such archive";
const char* const kCannotFindArchiveText = "can't find archive";
const char* const kUpdateNotSupportedText = "update operations are not supported for this archive";

namespace
{

UString WithExtension(const UString& path, const UString& extension)
{
    UString s(path);
    if (!extension.IsEmpty())
    {
        s.AppendChar(L'.');
        s.Append(extension);
    }
    return s;
}

class CUpdateProduceCallbackImp : public IUpdateProduceCallback
{
public:
    CUpdateProduceCallbackImp(const std::vector<CStoredItem>& items, IUpdateCallbackUI2* ui)
        : m_items(items), m_ui(ui)
    {
    }
    HRESULT ShowDeleteFile(uint32_t storedIndex) override
    {
        const CStoredItem& item = m_items[storedIndex];
        return m_ui->ReportDroppedItem(item.Name.Chars(), item.IsDir);
    }

private:
    const std::vector<CStoredItem>& m_items;
    IUpdateCallbackUI2* m_ui;
};

void CorrectName(const UString& prefix, UString& name)
{
    if (name.IsEmpty() || ContainsWildcard(name.Chars()))
        return;
    UString path = ConcatStrings(prefix, name);
    if (IsDevicePath(path.Chars()))
        return;
    CFsEntryInfo entry;
    if (entry.FindForPath(path.Chars()))
        name = entry.Name;
}

// Two children that now name one folder become one: the later one's items and
// sub-nodes go to the earlier one, which keeps its spelling.
void MergeChildrenEqualIgnoringCase(CPathFilterNode& node)
{
    for (uint32_t i = 0; i < node.SubNodes.Count(); i++)
    {
        CPathFilterNode& kept = node.SubNodes.At(i);
        for (uint32_t j = i + 1; j < node.SubNodes.Count();)
        {
            CPathFilterNode& later = node.SubNodes.At(j);
            if (!kept.Name.EqualsNoCase(later.Name.Chars()))
            {
                j++;
                continue;
            }
            for (uint32_t k = 0; k < later.IncludeItems.Count(); k++)
                kept.IncludeItems.AddCopy(later.IncludeItems.At(k));
            for (uint32_t k = 0; k < later.ExcludeItems.Count(); k++)
                kept.ExcludeItems.AddCopy(later.ExcludeItems.At(k));
            while (later.SubNodes.Count() != 0)
            {
                CPathFilterNode* moved = later.SubNodes.Detach(0);
                moved->Parent = &kept;
                kept.SubNodes.AddOwned(moved);
            }
            node.SubNodes.Delete(j);
        }
    }
}

void CorrectNodeNameCase(CPathFilterNode& node, const UString& prefix)
{
    for (int pass = 0; pass < 2; pass++)
    {
        COwnedPtrVector<CPathFilterItem>& items = pass == 0 ? node.IncludeItems : node.ExcludeItems;
        for (uint32_t i = 0; i < items.Count(); i++)
        {
            CPathFilterItem& item = items.At(i);
            if (item.Recursive || item.Parts.size() != 1)
                continue;
            if (prefix.IsEmpty() && IsBareDriveName(item.Parts[0].Chars()))
                continue;
            CorrectName(prefix, item.Parts[0]);
        }
    }
    for (uint32_t i = 0; i < node.SubNodes.Count(); i++)
    {
        CPathFilterNode& child = node.SubNodes.At(i);
        if (prefix.IsEmpty() && IsBareDriveName(child.Name.Chars()))
            continue;
        CorrectName(prefix, child.Name);
    }
    MergeChildrenEqualIgnoringCase(node);
    for (uint32_t i = 0; i < node.SubNodes.Count(); i++)
    {
        UString childPrefix = ConcatStrings(prefix, node.SubNodes.At(i).Name);
        childPrefix.AppendBackslash();
        CorrectNodeNameCase(node.SubNodes.At(i), childPrefix);
    }
}

// Whether the item of that index is still the one of that path. An item the archive
// gives no path to is taken as it is.
HRESULT IsChosenItemThere(const CArchiveLevel& level, size_t itemCount, uint32_t index, const UString& path,
                          bool& there)
{
    there = false;
    if (index >= itemCount)
        return S_OK;
    CPropValue prop;
    HRESULT hr = level.handler->GetProperty(index, kpidPath, &prop);
    if (hr != S_OK)
        return hr;
    if (prop.vt == VT_EMPTY)
        there = true;
    else if (prop.vt == VT_BSTR)
    {
        UString stored;
        stored.AssignBstr(prop.bstrVal);
        there = stored.Equals(path.Chars());
    }
    return S_OK;
}

HRESULT SelectChosenItems(const CArchiveLevel& level, const CUpdateJobOptions& options,
                          std::vector<CStoredItem>& items)
{
    bool there = false;
    for (const CRenameRule& rule : options.RenameRules)
    {
        if (rule.ItemIndex < 0)
            continue;
        HRESULT hr = IsChosenItemThere(level, items.size(), static_cast<uint32_t>(rule.ItemIndex),
                                       rule.OldPath, there);
        if (hr != S_OK)
            return hr;
        if (!there)
            return kChosenItemMissing;
    }
    if (!options.SelectChosenItems)
        return S_OK;
    if (options.ChosenItems.empty())
        return kChosenItemMissing;
    std::vector<bool> chosen(items.size(), false);
    for (const CChosenItem& item : options.ChosenItems)
    {
        HRESULT hr = IsChosenItemThere(level, items.size(), item.Index, item.Path, there);
        if (hr != S_OK)
            return hr;
        if (!there)
            return kChosenItemMissing;
        chosen[item.Index] = true;
    }
    for (size_t i = 0; i < items.size(); i++)
        items[i].Selected = chosen[i];
    return S_OK;
}

HRESULT WriteUpdatedArchive(CUpdateJobOptions& options, bool updating, CCodecs& codecs,
                            CUpdateCommand& command, CArchiveLevel* level,
                            const std::vector<CStoredItem>& storedItems, const CDiskItemList& diskItems,
                            const CDiskItem* rootItem, CTempFileList& tempFiles, CUpdateErrorRecord& error,
                            IUpdateCallbackUI2* callback, CUpdateRunStats& stats, int32_t formatIndex)
{
    CInterfaceRef<IOutArchive> outArchive;
    if (level != nullptr)
    {
        if (level->formatIndex < 0)
            return E_NOTIMPL;
        if (level->handler->QueryInterface(IID_IOutArchive, outArchive.OutVoidPtr()) != S_OK || !outArchive)
            throw kUpdateNotSupportedText;
    }
    else
    {
        const CArchiveFormatInfo& format = codecs.Formats.At(static_cast<uint32_t>(formatIndex));
        if (format.LibIndex < 0)
            return E_NOTIMPL;
        HRESULT hr = codecs.Libraries.At(static_cast<uint32_t>(format.LibIndex))
                         .CreateObject(&format.ClassId, &IID_IOutArchive, outArchive.OutVoidPtr());
        if (hr != S_OK)
            return hr;
        if (!outArchive)
            throw kUpdateNotSupportedText;
        CInterfaceRef<ISetCompressCodecsInfo> setCodecs;
        if (outArchive->QueryInterface(IID_ISetCompressCodecsInfo, setCodecs.OutVoidPtr()) == S_OK &&
            setCodecs)
        {
            hr = setCodecs->SetCompressCodecsInfo(&codecs);
            if (hr != S_OK)
                return hr;
        }
    }

    UINT32 timeType = 0;
    HRESULT hr = outArchive->GetFileTimeType(&timeType);
    if (hr != S_OK)
        return hr;
    if (timeType > 2)
        return E_FAIL;

    const bool renameJob = !options.RenameRules.empty();
    std::vector<CUpdateStep> steps;
    std::vector<UString> newNames;
    if (renameJob)
    {
        for (const CStoredItem& item : storedItems)
        {
            CUpdateStep step;
            step.UseArcProps = true;
            step.ArcIndex = static_cast<int32_t>(&item - storedItems.data());
            if (item.Selected)
            {
                UString newPath;
                bool fits = false;
                for (const CRenameRule& rule : options.RenameRules)
                {
                    if (rule.ItemIndex >= 0)
                    {
                        if (rule.ItemIndex == item.IndexInArchive)
                        {
                            newPath = rule.NewPath;
                            fits = true;
                        }
                    }
                    else if (rule.MapPath(item.IsDir, item.Name, newPath))
                        fits = true;
                    else if (item.IsAltStream)
                    {
                        int colon = FindAltStreamColon(item.Name.Chars());
                        if (colon >= 0 &&
                            rule.MapPath(false,
                                         UString::FromLeftPart(item.Name, static_cast<uint32_t>(colon)),
                                         newPath))
                        {
                            newPath.Append(item.Name.CharsAt(static_cast<uint32_t>(colon)));
                            fits = true;
                        }
                    }
                    if (fits)
                        break;
                }
                if (fits)
                {
                    step.NewProps = true;
                    bool anti = false;
                    hr = ReadItemBoolProperty(level->handler, static_cast<uint32_t>(item.IndexInArchive),
                                              kpidIsAnti, anti);
                    if (hr != S_OK)
                        return hr;
                    step.IsAnti = anti;
                    step.NewNameIndex = static_cast<int32_t>(newNames.size());
                    newNames.push_back(newPath);
                }
            }
            steps.push_back(step);
        }
        // Rules that rename nothing would rewrite the archive as it was and report
        // success for a rename that never happened.
        if (newNames.empty())
            return kChosenItemMissing;
    }
    else
    {
        std::vector<CItemPair> pairs;
        PairDiskAndArchiveItems(diskItems, storedItems, static_cast<int32_t>(timeType), pairs);
        CUpdateProduceCallbackImp producer(storedItems, callback);
        ProduceUpdateSteps(pairs, command.Actions, steps, updating ? &producer : nullptr);
    }

    uint64_t newCount = 0;
    for (const CUpdateStep& step : steps)
        if (step.NewData)
            newCount++;
    hr = callback->SetUpdateItemCount(newCount);
    if (hr != S_OK)
        return hr;

    CArchiveUpdateCallback* updateCallback = new CArchiveUpdateCallback;
    CInterfaceRef<IArchiveUpdateCallback2> updateCallbackRef(updateCallback);
    updateCallback->Ui = callback;
    if (level != nullptr)
        updateCallback->ArchiveHandler = level->handler;
    updateCallback->DiskItems = &diskItems;
    updateCallback->RootItem = rootItem;
    updateCallback->SourceArchive = level;
    updateCallback->StoredItems = &storedItems;
    updateCallback->Steps = &steps;
    if (renameJob)
        updateCallback->NewNames = &newNames;

    UString finalPath = command.ArchiveName.FinalPath();
    UString outPrefix;
    if (!GetFullPathPrefix(finalPath.Chars(), outPrefix))
        throw kOutputPrefixError;
    CreateDirectoryPath(outPrefix.Chars());

    COutFileStream* fileStream = nullptr;
    COutMultiVolStream* volStream = nullptr;
    CInterfaceRef<IOutStream> outStream;
    if (options.VolumeSizes.empty())
    {
        fileStream = new COutFileStream;
        outStream = fileStream;
        UString candidate;
        bool created = false;
        for (uint32_t n = 0; n <= 65535; n++)
        {
            if (command.ArchiveName.Temporary)
            {
                command.ArchiveName.TempSuffix.Empty();
                if (n != 0)
                {
                    wchar_t digits[16];
                    FormatUInt32Decimal(n, digits);
                    command.ArchiveName.TempSuffix = digits;
                }
                candidate = command.ArchiveName.TempPath();
            }
            else
                candidate = finalPath;
            if (fileStream->Create(candidate.Chars(), false))
            {
                tempFiles.Add(candidate);
                created = true;
                break;
            }
            if (GetLastError() != ERROR_FILE_EXISTS || !command.ArchiveName.Temporary)
                break;
        }
        if (!created)
            return error.SetFromLastError("cannot open file", &candidate);
    }
    else
    {
        if (level != nullptr && static_cast<int64_t>(level->streamOffset) + level->offset > 0)
            return E_NOTIMPL;
        CValueVector<uint64_t> sizes;
        for (uint64_t size : options.VolumeSizes)
            sizes.Add(size);
        volStream = new COutMultiVolStream(sizes, ConcatStringChar(command.ArchiveName.VolumeBase(), L'.'),
                                           &tempFiles);
        outStream = volStream;
    }

    hr = ApplyHandlerProperties(outArchive, options.HandlerProperties);
    if (hr != S_OK)
        return hr;

    CInterfaceRef<IOutStream> target = outStream;
    if (level != nullptr && level->streamOffset != 0)
    {
        // A program in front of the archive (a self-extractor) is kept byte for byte.
        hr = level->stream->Seek(0, kSeekSet, nullptr);
        if (hr != S_OK)
            return hr;
        hr = CopyStreamDataExact(level->stream, outStream, level->streamOffset, nullptr);
        if (hr != S_OK)
            return hr;
        CTailOutStream* tail = new CTailOutStream;
        target = tail;
        tail->Init(outStream, level->streamOffset);
    }
    hr = outArchive->UpdateItems(target, static_cast<UINT32>(steps.size()), updateCallback);
    target.Release();
    if (hr != S_OK)
        return hr;
    if (!updateCallback->AllInputsClosed())
    {
        error.Message = "There are unclosed input file:";
        error.FileNames = updateCallback->OpenStreamPaths;
        return E_FAIL;
    }
    if (fileStream != nullptr)
    {
        UINT64 size = 0;
        hr = fileStream->QuerySize(size);
        if (hr != S_OK)
            return hr;
        stats.ArchiveSize = size;
        return fileStream->Close();
    }
    stats.ArchiveSize = volStream->TotalLength();
    return volStream->CloseAll();
}

} // namespace

void CArchiveNameParts::ParseFromPath(const UString& path)
{
    OriginalPath = path;
    SplitPathDirAndName(path, Prefix, Name);
    int dot = Name.FindLastDot();
    if (dot < 0)
        return;
    if (static_cast<uint32_t>(dot) + 1 == Name.Length())
    {
        Name.RemoveLastChar();
        BaseExtension.Empty();
        return;
    }
    UString extension(Name.CharsAt(static_cast<uint32_t>(dot) + 1));
    if (extension.EqualsNoCase(BaseExtension.Chars()))
    {
        BaseExtension = extension;
        Name.TruncateAt(static_cast<uint32_t>(dot));
    }
    else
        BaseExtension.Empty();
}

UString CArchiveNameParts::FinalPath() const
{
    return WithExtension(ConcatStrings(Prefix, Name), BaseExtension);
}

UString CArchiveNameParts::VolumeBase() const
{
    return WithExtension(ConcatStrings(Prefix, Name), BaseExtension.IsEmpty() ? UString() : VolumeExtension);
}

UString CArchiveNameParts::TempPath() const
{
    UString s = WithExtension(ConcatStrings(TempPrefix, Name), BaseExtension);
    s.Append(L".tmp");
    s.Append(TempSuffix);
    return s;
}

bool CUpdateJobOptions::ChooseFormat(const CCodecs& codecs, const CValueVector<CArchiveTypeChoice>& types,
                                     const UString& archivePath)
{
    if (types.Count() > 1)
        return false;
    if (types.Count() == 1)
    {
        Type = types.At(0);
        TypeChosen = true;
    }
    if (Type.formatIndex < 0)
    {
        Type = CArchiveTypeChoice();
        Type.formatIndex = codecs.FormatIndexFromFileName(archivePath);
        if (Type.formatIndex >= 0)
            TypeChosen = true;
    }
    return true;
}

bool CUpdateJobOptions::SetArchiveName(const CCodecs& codecs, const UString& archivePath)
{
    UString typeExtension(L"7z");
    if (Type.formatIndex >= 0)
    {
        const CArchiveFormatInfo& format = codecs.Formats.At(static_cast<uint32_t>(Type.formatIndex));
        if (!format.UpdateEnabled || format.Exts.Count() == 0)
            return false;
        typeExtension = format.Exts.At(0).Ext;
    }
    ArchiveName.BaseExtension = typeExtension;
    ArchiveName.VolumeExtension = typeExtension;
    ArchiveName.ParseFromPath(archivePath);
    for (CUpdateCommand& command : Commands)
    {
        command.ArchiveName.BaseExtension = typeExtension;
        command.ArchiveName.VolumeExtension = typeExtension;
        command.ArchiveName.ParseFromPath(command.UserArchivePath);
    }
    return true;
}

HRESULT CUpdateErrorRecord::SetFromLastError(const char* message, const UString* path)
{
    SystemError = GetLastError();
    Message = message;
    if (path != nullptr)
        FileNames.push_back(*path);
    return Status();
}

void CorrectFilterNameCase(CPathFilter& filter)
{
    for (uint32_t i = 0; i < filter.Roots.Count(); i++)
    {
        CPathFilterRoot& root = filter.Roots.At(i);
        CorrectNodeNameCase(root.Node, root.Prefix);
    }
}

bool ReplaceFileInOneStep(const UString& source, const UString& target)
{
    DWORD attributes = FsGetFileAttributes(target.Chars());
    bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly && !FsSetFileAttributes(target.Chars(), attributes & ~FILE_ATTRIBUTE_READONLY))
        return false;
    bool moved = FsMoveFileReplacing(source.Chars(), target.Chars());
    if (!moved && readOnly)
    {
        DWORD error = GetLastError();
        FsSetFileAttributes(target.Chars(), attributes);
        SetLastError(error);
    }
    return moved;
}

HRESULT UpdateArchiveFile(CCodecs& codecs, const CValueVector<CArchiveTypeChoice>& types,
                          const UString& archivePath, CPathFilter& filter, CUpdateJobOptions& options,
                          CUpdateErrorRecord& error, IOpenCallbackUI* openCallback,
                          IUpdateCallbackUI2* callback, bool setPath)
{
    if (types.Count() > 1)
        return E_NOTIMPL;
    const bool renameJob = !options.RenameRules.empty();
    filter.AddQueuedPatterns(options.PathMode);
    CorrectFilterNameCase(filter);
    filter.ShareRootExcludes();

    if (setPath &&
        (!options.ChooseFormat(codecs, types, archivePath) || !options.SetArchiveName(codecs, archivePath)))
        return E_NOTIMPL;

    const UString arcPath = options.ArchiveName.FinalPath();
    CFsEntryInfo entry;
    const bool exists = entry.FindForPath(arcPath.Chars());
    CArchiveChain chain;
    CValueVector<CArchiveTypeChoice> typeList;
    if (exists)
    {
        if (entry.IsDir())
            throw kNoSuchArchiveText;
        if (IsDevicePath(arcPath.Chars()))
            return E_NOTIMPL;
        if (!options.VolumeSizes.empty())
            return E_NOTIMPL;
        CArchiveOpenRequest request;
        request.Codecs = &codecs;
        if (options.TypeChosen)
            typeList.Add(options.Type);
        request.typeList = &typeList;
        request.HandlerProperties = &options.HandlerProperties;
        request.filePath = arcPath;
        HRESULT hr = callback->BeginOpenArchive(arcPath.Chars());
        if (hr != S_OK)
            return hr;
        HRESULT openResult = OpenArchiveChainAndFinish(chain, request, openCallback);
        if (openResult == S_OK && chain.failedOpenInfo.errorFormatIndex >= 0)
            openResult = S_FALSE;
        if (openResult == E_ABORT)
            return openResult;
        hr = callback->ReportOpenResult(codecs, chain, arcPath.Chars(), openResult);
        if (hr != S_OK)
            return hr;
        if (openResult != S_OK)
            return openResult;
        // Even one further volume makes the archive more than the file the update
        // would replace.
        if (chain.volumePaths.Count() != 0)
        {
            error.SystemError = static_cast<DWORD>(E_NOTIMPL);
            error.Message = "Updating for multivolume archives is not implemented";
            return E_NOTIMPL;
        }
        CArchiveLevel& level = chain.Innermost();
        level.modified = entry.MTime;
        level.modifiedSet = true;
        if (level.errorInfo.thereIsTail)
        {
            error.SystemError = static_cast<DWORD>(E_NOTIMPL);
            error.Message = "There is some data block after the end of the archive";
            return E_NOTIMPL;
        }
        if (options.Type.formatIndex < 0)
        {
            options.Type.formatIndex = level.formatIndex;
            if (!options.SetArchiveName(codecs, archivePath))
                return E_NOTIMPL;
        }
    }
    else
    {
        if (renameJob)
            throw kCannotFindArchiveText;
        if (options.Type.formatIndex < 0 && !options.SetArchiveName(codecs, archivePath))
            return E_NOTIMPL;
    }
    if (options.Type.formatIndex < 0)
        options.Type.formatIndex = codecs.FormatIndexFromTypeName(UString(L"7z"));
    if (options.Type.formatIndex < 0)
        return E_NOTIMPL;
    const bool opened = chain.isOpen;
    if (renameJob && !opened)
        return E_FAIL;

    CDiskItemList diskItems;
    CDiskItem rootItem;
    bool haveRoot = false;
    bool needScan = false;
    for (const CUpdateCommand& command : options.Commands)
        needScan = needScan || NeedsDiskScan(command.Actions);
    if (!renameJob && needScan)
    {
        HRESULT hr = callback->BeginDiskScan();
        if (hr != S_OK)
            return hr;
        diskItems.Callback = callback;
        hr = filter.CollectDiskItems(options.PathMode, UString(), diskItems);
        if (hr != S_OK)
        {
            if (hr != E_ABORT)
                error.Message = "Scanning error";
            return hr;
        }
        hr = callback->EndDiskScan(diskItems.Stats);
        if (hr != S_OK)
            return hr;
        if (filter.Roots.Count() == 1)
        {
            CFsEntryInfo root;
            UString rootPath = ConcatStringChar(filter.Roots.At(0).Prefix, L'.');
            if (root.FindForPath(rootPath.Chars()) && root.IsDir())
            {
                rootItem.Size = root.Size;
                rootItem.CTime = root.CTime;
                rootItem.ATime = root.ATime;
                rootItem.MTime = root.MTime;
                rootItem.Attrib = root.Attrib;
                haveRoot = true;
            }
        }
    }

    CTempFileList tempFiles;
    if (options.Commands.empty())
        return E_INVALIDARG;
    {
        CUpdateCommand& first = options.Commands[0];
        CUpdateActionTable actions = first.Actions;
        first.ArchiveName = options.ArchiveName;
        first.Actions = actions;
        if (opened && options.VolumeSizes.empty())
        {
            first.ArchiveName.Temporary = true;
            first.ArchiveName.TempPrefix = first.ArchiveName.Prefix;
            if (!first.ArchiveName.TempPrefix.IsEmpty() &&
                !IsPathSeparator(first.ArchiveName.TempPrefix[first.ArchiveName.TempPrefix.Length() - 1]))
                first.ArchiveName.TempPrefix.AppendBackslash();
        }
    }
    for (const CUpdateCommand& command : options.Commands)
    {
        if (command.ArchiveName.Temporary)
            continue;
        UString path = command.ArchiveName.FinalPath();
        if (PathExists(path.Chars()))
        {
            error.SystemError = ERROR_FILE_EXISTS;
            error.Message = "The file already exists";
            error.FileNames.push_back(path);
            return error.Status();
        }
    }

    std::vector<CStoredItem> storedItems;
    if (opened)
    {
        HRESULT hr = ListStoredItems(filter, chain.Innermost(), storedItems);
        if (hr != S_OK)
            return hr;
        hr = SelectChosenItems(chain.Innermost(), options, storedItems);
        if (hr != S_OK)
            return hr;
    }
    else if (options.SelectChosenItems)
        return kChosenItemMissing;
    for (size_t i = 0; i < options.Commands.size(); i++)
    {
        CUpdateCommand& command = options.Commands[i];
        const bool updating = i == 0 && opened;
        HRESULT hr = callback->BeginArchive(command.ArchiveName.FinalPath().Chars(), updating);
        if (hr != S_OK)
            return hr;
        CUpdateRunStats stats;
        hr = WriteUpdatedArchive(options, updating, codecs, command, opened ? &chain.Innermost() : nullptr,
                                 storedItems, diskItems, haveRoot ? &rootItem : nullptr, tempFiles, error,
                                 callback, stats, options.Type.formatIndex);
        if (hr != S_OK)
            return hr;
        hr = callback->EndArchive(stats);
        if (hr != S_OK)
            return hr;
    }
    if (opened)
    {
        HRESULT hr = chain.CloseHandlers();
        if (hr != S_OK)
            return hr;
        CloseArchiveChain(chain);
    }

    const CArchiveNameParts& first = options.Commands[0].ArchiveName;
    if (first.Temporary)
    {
        // One step, so that the old archive goes only when the new one has its name: a
        // failed replacement leaves the old archive and removes the temporary file.
        UString tempPath = first.TempPath();
        if (!ReplaceFileInOneStep(tempPath, arcPath))
        {
            HRESULT hr = error.SetFromLastError("cannot move the file", &tempPath);
            error.FileNames.push_back(arcPath);
            return hr;
        }
    }
    tempFiles.Release();
    return S_OK;
}
