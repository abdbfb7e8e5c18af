#include "archiveclient/update/UpdateCallback.h"
#include "archiveclient/base/PropValue.h"
#include "archiveclient/base/ReparsePoints.h"
#include "archiveclient/ops/ArchiveChain.h"
#include "archiveclient/update/MultiVolStream.h"
#include "fs/PathRules.h"

namespace
{

const PROPID kIsEncryptedProp = 15;
const PROPID kSecurityDescriptorProp = 62;
const PROPID kReparseDataProp = 89;

// The library must never see an exception: it would cross its frames.
template <class F> HRESULT Guard(F f)
{
    try
    {
        return f();
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

UString IndexName(uint32_t index)
{
    wchar_t digits[16];
    FormatUInt32Decimal(index, digits);
    UString name(L"#");
    name.Append(digits);
    return name;
}

std::vector<UString> SplitAtBackslashes(const UString& path)
{
    std::vector<UString> parts(1);
    for (uint32_t i = 0; i < path.Length(); i++)
    {
        if (path[i] == L'\\')
            parts.emplace_back();
        else
            parts.back().AppendChar(path[i]);
    }
    return parts;
}

bool StartsWithDriveRoot(const UString& path)
{
    return path.Length() >= 3 && ((path[0] | 0x20) >= L'a' && (path[0] | 0x20) <= L'z') && path[1] == L':' &&
           IsPathSeparator(path[2]);
}

} // namespace

UString MakeRelativeLinkTarget(const UString& target, const UString& linkFullPath)
{
    std::vector<UString> targetParts = SplitAtBackslashes(target);
    std::vector<UString> linkParts = SplitAtBackslashes(linkFullPath);
    size_t common = 0;
    while (common + 1 < targetParts.size() && common + 1 < linkParts.size() &&
           ComparePathNames(targetParts[common], linkParts[common]) == 0)
        common++;
    if (common == 0 && (StartsWithDriveRoot(target) || StartsWithDriveRoot(linkFullPath)))
        return target;
    UString relative;
    for (size_t i = common; i + 1 < linkParts.size(); i++)
        relative.Append(L"..\\");
    for (size_t i = common; i < targetParts.size(); i++)
    {
        if (i != common)
            relative.AppendBackslash();
        relative.Append(targetParts[i]);
    }
    return relative;
}

CArchiveUpdateCallback::CArchiveUpdateCallback()
{
    // Lets the scan read system access lists when the job asks to store them.
    AcquireSeSecurityPrivilege();
}

uint32_t CArchiveUpdateCallback::HandlerIndex(const CUpdateStep& step) const
{
    if (step.ArcIndex < 0)
        return 0xFFFFFFFF;
    if (StoredItems != nullptr)
        return static_cast<uint32_t>((*StoredItems)[static_cast<size_t>(step.ArcIndex)].IndexInArchive);
    return static_cast<uint32_t>(step.ArcIndex);
}

bool CArchiveUpdateCallback::ArchiveItemName(uint32_t arcIndex, UString& name, bool& isDir, HRESULT& hr) const
{
    hr = S_OK;
    if (StoredItems != nullptr)
    {
        const CStoredItem& item = (*StoredItems)[arcIndex];
        name = item.Name;
        isDir = item.IsDir;
        return true;
    }
    if (SourceArchive == nullptr)
        return false;
    hr = SourceArchive->GetItemPath(arcIndex, name);
    if (hr == S_OK)
        hr = ReadItemIsDir(SourceArchive->handler, arcIndex, isDir);
    return hr == S_OK;
}

HRESULT STDMETHODCALLTYPE CArchiveUpdateCallback::SetTotal(UINT64 total)
{
    return Guard([&] { return Ui->SetTotalSize(total); });
}

HRESULT STDMETHODCALLTYPE CArchiveUpdateCallback::SetCompleted(const UINT64* completed)
{
    return Guard([&] { return Ui->SetCompletedSize(completed); });
}

HRESULT STDMETHODCALLTYPE CArchiveUpdateCallback::GetUpdateItemInfo(UINT32 index, INT32* newData,
                                                                    INT32* newProps, UINT32* indexInArchive)
{
    return Guard([&] {
        HRESULT hr = Ui->PollCancel();
        if (hr != S_OK)
            return hr;
        const CUpdateStep& step = (*Steps)[index];
        if (newData != nullptr)
            *newData = step.NewData ? 1 : 0;
        if (newProps != nullptr)
            *newProps = step.NewProps ? 1 : 0;
        if (indexInArchive != nullptr)
            *indexInArchive = HandlerIndex(step);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CArchiveUpdateCallback::GetProperty(UINT32 index, PROPID propId, PROPVARIANT* value)
{
    return Guard([&]() -> HRESULT {
        const CUpdateStep& step = (*Steps)[index];
        CPropValue prop;
        if (step.NewData)
        {
            if (propId == kpidSymLink && step.DiskIndex >= 0)
            {
                const uint32_t di = static_cast<uint32_t>(step.DiskIndex);
                const CDiskItem& d = DiskItems->Items.At(di);
                CReparseInfo link;
                if (d.ReparseData.Size() != 0 && link.Parse(d.ReparseData.Data(), d.ReparseData.Size()))
                {
                    if (link.IsRelative())
                        prop.SetString(link.SubstituteName);
                    else
                    {
                        // An absolute target inside the packed tree must still work
                        // where the archive is unpacked.
                        UString full, target;
                        link.GetPath(target);
                        if (MakeFullPath(DiskItems->GetDiskPath(di).Chars(), full))
                            prop.SetString(MakeRelativeLinkTarget(target, full));
                    }
                    return prop.DetachTo(value);
                }
            }
            if (propId == kpidHardLink && step.DiskIndex >= 0)
                return prop.DetachTo(value);
        }
        if (propId == kpidPath && step.NewNameIndex >= 0 && NewNames != nullptr)
        {
            prop.SetString((*NewNames)[static_cast<size_t>(step.NewNameIndex)]);
            return prop.DetachTo(value);
        }
        if (propId == kpidIsAnti && step.IsAnti)
        {
            prop.SetBool(true);
            return prop.DetachTo(value);
        }
        if (step.UseArcProps || (KeepArchiveNames && (propId == kpidPath || propId == kpidIsAltStream)))
        {
            if (step.ArcIndex >= 0 && ArchiveHandler)
                return ArchiveHandler->GetProperty(HandlerIndex(step), propId, value);
        }
        if (step.DiskIndex >= 0 && DiskItems != nullptr)
        {
            const uint32_t di = static_cast<uint32_t>(step.DiskIndex);
            const CDiskItem& d = DiskItems->Items.At(di);
            switch (propId)
            {
            case kpidPath:
                prop.SetString(DiskItems->GetStoredPath(di));
                break;
            case kpidIsDir:
                prop.SetBool(d.IsDir());
                break;
            case kpidSize:
                prop.SetUInt64(d.IsDir() ? 0 : d.Size);
                break;
            case kpidAttrib:
                prop.SetUInt32(d.Attrib);
                break;
            case kpidCTime:
                prop.SetFileTime(d.CTime);
                break;
            case kpidATime:
                prop.SetFileTime(d.ATime);
                break;
            case kpidMTime:
                prop.SetFileTime(d.MTime);
                break;
            case kpidIsAltStream:
                prop.SetBool(d.IsAltStream);
                break;
            default:
                break;
            }
        }
        else if (step.IsAnti && propId == kpidSize)
            prop.SetUInt64(0);
        return prop.DetachTo(value);
    });
}

HRESULT STDMETHODCALLTYPE CArchiveUpdateCallback::GetStream(UINT32 index, ISequentialInStream** inStream)
{
    const CUpdateStep& step = (*Steps)[index];
    return GetStream2(index, inStream, step.ArcIndex >= 0 ? 1 : 0);
}

HRESULT STDMETHODCALLTYPE CArchiveUpdateCallback::GetStream2(UINT32 index, ISequentialInStream** inStream,
                                                             UINT32 mode)
{
    return Guard([&]() -> HRESULT {
        *inStream = nullptr;
        const CUpdateStep& step = (*Steps)[index];
        if (!step.NewData)
            return E_FAIL;
        HRESULT hr = Ui->PollCancel();
        if (hr != S_OK)
            return hr;
        bool isDir = false;
        UString name;
        if (step.DiskIndex >= 0)
        {
            isDir = DiskItems->Items.At(static_cast<uint32_t>(step.DiskIndex)).IsDir();
            name = DiskItems->GetStoredPath(static_cast<uint32_t>(step.DiskIndex));
        }
        else if (step.ArcIndex >= 0 && StoredItems != nullptr)
            isDir = (*StoredItems)[static_cast<size_t>(step.ArcIndex)].IsDir;
        hr = Ui->BeginUpdateItem(name.Chars(), isDir, step.IsAnti ? 1 : 0, mode);
        if (hr != S_OK)
            return hr;
        // Anti items and folders carry no data.
        if (isDir || step.IsAnti || step.DiskIndex < 0)
            return S_OK;
        const uint32_t di = static_cast<uint32_t>(step.DiskIndex);
        const CDiskItem& item = DiskItems->Items.At(di);
        UString path = DiskItems->GetDiskPath(di);
        CInFileStream* stream = new CInFileStream;
        CInterfaceRef<ISequentialInStream> ref(stream);
        stream->Callback = this;
        stream->CallbackValue = index;
        bool opened;
        if (item.ReparseData.Size() != 0)
            opened = stream->File.OpenWith(path.Chars(), FILE_SHARE_READ, OPEN_EXISTING,
                                           FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT);
        else
            opened = stream->File.OpenShareable(path.Chars(), ShareForWrite);
        if (!opened)
        {
            DWORD error = GetLastError();
            stream->Callback = nullptr;
            return Ui->ReportOpenFileFailure(path.Chars(), error);
        }
        OpenStreamIds.push_back(index);
        OpenStreamPaths.push_back(path);
        *inStream = ref.Detach();
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CArchiveUpdateCallback::SetOperationResult(INT32 result)
{
    return Guard([&] { return Ui->SetUpdateItemResult(result); });
}

HRESULT STDMETHODCALLTYPE CArchiveUpdateCallback::GetVolumeSize(UINT32 index, UINT64* size)
{
    if (VolumeSizes.empty())
        return S_FALSE;
    *size = index < VolumeSizes.size() ? VolumeSizes[index] : VolumeSizes.back();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CArchiveUpdateCallback::GetVolumeStream(UINT32 index,
                                                                  ISequentialOutStream** volumeStream)
{
    return Guard([&]() -> HRESULT {
        *volumeStream = nullptr;
        // The same names as the program's own volume stream writes, so that one rule
        // finds every set again.
        UString name = MakeVolumeName(ConcatStringChar(VolumeBaseName, L'.'), index);
        name.Append(VolumeSuffix);
        COutFileStream* stream = new COutFileStream;
        CInterfaceRef<ISequentialOutStream> ref(stream);
        if (!stream->OpenForWrite(name.Chars(), CREATE_NEW))
            return static_cast<HRESULT>(GetLastError());
        *volumeStream = ref.Detach();
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE CArchiveUpdateCallback::ReportOperation(UINT32 indexType, UINT32 index,
                                                                  UINT32 operation)
{
    return Guard([&]() -> HRESULT {
        UString name;
        bool isDir = false;
        if (indexType == 3 && index != 0xFFFFFFFF)
        {
            const CUpdateStep& step = (*Steps)[index];
            if (step.DiskIndex >= 0)
            {
                name = DiskItems->GetStoredPath(static_cast<uint32_t>(step.DiskIndex));
                isDir = DiskItems->Items.At(static_cast<uint32_t>(step.DiskIndex)).IsDir();
            }
        }
        else if (indexType == 1 && index != 0xFFFFFFFF)
        {
            HRESULT hr;
            if (!ArchiveItemName(index, name, isDir, hr) && hr != S_OK)
                return hr;
        }
        else if (indexType == 2)
            name = IndexName(index);
        return Ui->ReportUpdateStep(operation, name.Chars(), isDir);
    });
}

HRESULT STDMETHODCALLTYPE CArchiveUpdateCallback::ReportExtractResult(UINT32 indexType, UINT32 index,
                                                                      INT32 result)
{
    return Guard([&]() -> HRESULT {
        UString name;
        bool isDir = false;
        bool encrypted = false;
        if (indexType == 3)
            return E_FAIL;
        if (indexType == 1)
        {
            HRESULT hr;
            if (!ArchiveItemName(index, name, isDir, hr) && hr != S_OK)
                return hr;
            if (ArchiveHandler)
            {
                uint32_t handlerIndex = StoredItems != nullptr
                                            ? static_cast<uint32_t>((*StoredItems)[index].IndexInArchive)
                                            : index;
                hr = ReadItemBoolProperty(ArchiveHandler, handlerIndex, kIsEncryptedProp, encrypted);
                if (hr != S_OK)
                    return hr;
            }
        }
        else if (indexType == 2)
            name = IndexName(index);
        return Ui->ReportItemCheckResult(result, encrypted, name.Chars());
    });
}

HRESULT STDMETHODCALLTYPE CArchiveUpdateCallback::GetParent(UINT32, UINT32* parent, UINT32* parentType)
{
    *parent = 0xFFFFFFFF;
    *parentType = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CArchiveUpdateCallback::GetRawProp(UINT32 index, PROPID propId, const void** data,
                                                             UINT32* size, UINT32* propType)
{
    *data = nullptr;
    *size = 0;
    *propType = 0;
    if (propId != kSecurityDescriptorProp && propId != kReparseDataProp)
        return S_OK;
    const CUpdateStep& step = (*Steps)[index];
    if (!step.UseArcProps || step.ArcIndex < 0 || SourceArchive == nullptr || !SourceArchive->handler)
        return S_OK;
    CInterfaceRef<IArchiveGetRawProps> raw;
    if (SourceArchive->handler->QueryInterface(IID_IArchiveGetRawProps, raw.OutVoidPtr()) != S_OK || !raw)
        return S_OK;
    return raw->GetRawProp(HandlerIndex(step), propId, data, size, propType);
}

HRESULT STDMETHODCALLTYPE CArchiveUpdateCallback::GetNumRawProps(UINT32* count)
{
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CArchiveUpdateCallback::GetRawPropInfo(UINT32, BSTR* name, PROPID* propId)
{
    *name = nullptr;
    *propId = kSecurityDescriptorProp;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CArchiveUpdateCallback::GetRootProp(PROPID propId, PROPVARIANT* value)
{
    return Guard([&] {
        CPropValue prop;
        if (propId == kpidIsDir)
            prop.SetBool(true);
        else if (RootItem != nullptr)
        {
            switch (propId)
            {
            case kpidAttrib:
                prop.SetUInt32(RootItem->Attrib);
                break;
            case kpidCTime:
                prop.SetFileTime(RootItem->CTime);
                break;
            case kpidATime:
                prop.SetFileTime(RootItem->ATime);
                break;
            case kpidMTime:
                prop.SetFileTime(RootItem->MTime);
                break;
            default:
                break;
            }
        }
        return prop.DetachTo(value);
    });
}

HRESULT STDMETHODCALLTYPE CArchiveUpdateCallback::GetRootRawProp(PROPID, const void** data, UINT32* size,
                                                                 UINT32* propType)
{
    *data = nullptr;
    *size = 0;
    *propType = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CArchiveUpdateCallback::CryptoGetTextPassword2(INT32* passwordIsDefined,
                                                                         BSTR* password)
{
    return Guard([&] { return Ui->GetPackPassword(passwordIsDefined, password); });
}

HRESULT STDMETHODCALLTYPE CArchiveUpdateCallback::CryptoGetTextPassword(BSTR* password)
{
    return Guard([&] { return Ui->GetPassword(password); });
}

HRESULT STDMETHODCALLTYPE CArchiveUpdateCallback::ReportSizes(const UINT64* inSize, const UINT64* outSize)
{
    return Guard([&] { return Ui->SetSizeRatio(inSize, outSize); });
}

HRESULT CArchiveUpdateCallback::OnReadError(UINT_PTR streamId, DWORD systemError)
{
    // Another process holding a range lock is worth asking about: the user may skip
    // the file. Every other read error ends the job.
    if (systemError == ERROR_LOCK_VIOLATION)
    {
        for (size_t i = 0; i < OpenStreamIds.size(); i++)
            if (OpenStreamIds[i] == streamId)
            {
                HRESULT hr =
                    Guard([&] { return Ui->ReportReadFailure(OpenStreamPaths[i].Chars(), systemError); });
                if (hr != S_OK)
                    return hr;
                break;
            }
    }
    return ResultFromSystemError(systemError);
}

void CArchiveUpdateCallback::OnStreamDestroyed(UINT_PTR streamId)
{
    for (size_t i = 0; i < OpenStreamIds.size(); i++)
        if (OpenStreamIds[i] == streamId)
        {
            OpenStreamIds.erase(OpenStreamIds.begin() + static_cast<ptrdiff_t>(i));
            OpenStreamPaths.erase(OpenStreamPaths.begin() + static_cast<ptrdiff_t>(i));
            return;
        }
    // An id that was never opened here: nothing to forget. The call comes from a
    // stream's destructor inside the library, where a throw would end the process.
}
