#include "archiveclient/ops/OpenCallback.h"

#include "archiveclient/base/PropValue.h"
#include "archiveclient/ops/ClientUtils.h"

void COpenCallbackImp::Init(const UString& prefix, const UString& fileName)
{
    folderPrefix = prefix;
    if (!fileInfo.FindForPath(ConcatStrings(prefix, fileName).Chars()))
        throw kFirstVolumeMissingError;
    fileNames.Clear();
    fileNamesUsed.Clear();
    fileSizes.Clear();
    subArchiveMode = false;
    passwordAsked = false;
}

HRESULT COpenCallbackImp::SetSubArchiveName(const wchar_t* name)
{
    try
    {
        subArchiveMode = true;
        subArchiveName = name;
        return S_OK;
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

HRESULT COpenCallbackImp::SetTotal(const UINT64* files, const UINT64* bytes)
{
    try
    {
        return ui != nullptr ? ui->OnTotal(files, bytes) : S_OK;
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

HRESULT COpenCallbackImp::SetCompleted(const UINT64* files, const UINT64* bytes)
{
    try
    {
        return ui != nullptr ? ui->OnCompleted(files, bytes) : S_OK;
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

HRESULT COpenCallbackImp::GetProperty(PROPID propId, PROPVARIANT* value)
{
    try
    {
        CPropValue prop;
        if (subArchiveMode)
        {
            if (propId == kpidName)
                prop.SetString(subArchiveName);
        }
        else
        {
            switch (propId)
            {
            case kpidName:
                prop.SetString(fileInfo.Name);
                break;
            case kpidIsDir:
                prop.SetBool(fileInfo.IsDir());
                break;
            case kpidSize:
                prop.SetUInt64(fileInfo.Size);
                break;
            case kpidAttrib:
                prop.SetUInt32(fileInfo.Attrib);
                break;
            case kpidCTime:
                prop.SetFileTime(fileInfo.CTime);
                break;
            case kpidATime:
                prop.SetFileTime(fileInfo.ATime);
                break;
            case kpidMTime:
                prop.SetFileTime(fileInfo.MTime);
                break;
            default:
                break;
            }
        }
        return prop.DetachTo(value);
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

HRESULT COpenCallbackImp::GetStream(const wchar_t* name, IInStream** stream)
{
    try
    {
        return OpenVolume(name, stream);
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

HRESULT COpenCallbackImp::OpenVolume(const wchar_t* name, IInStream** stream)
{
    if (stream == nullptr)
        return E_POINTER;
    *stream = nullptr;
    if (subArchiveMode || name == nullptr)
        return S_FALSE;
    if (ui != nullptr)
    {
        HRESULT hr = ui->OnCheckBreak();
        if (hr != S_OK)
            return hr;
    }
    UString volumeName(name);
    volumeName.ReplaceChar(L'/', L'\\');
    // Handlers build volume names from what the archive itself says; a hostile archive
    // must not make the program open files outside the first volume's folder.
    if (!IsSafeRelativePath(volumeName.Chars()))
        return S_FALSE;
    UString fullPath;
    if (!CombineFullPath(folderPrefix, volumeName, fullPath))
        return S_FALSE;
    if (!fileInfo.FindForPath(fullPath.Chars()) || fileInfo.IsDir())
        return S_FALSE;

    CInterfaceRef<CInFileStreamVol> volume(new CInFileStreamVol());
    if (!volume->File.Open(fullPath.Chars()))
        return ResultFromLastError();
    fileSizes.Add(fileInfo.Size);
    fileNames.AddCopy(volumeName);
    volume->fileNameIndex = static_cast<int32_t>(fileNamesUsed.Add(true));
    volume->openCallback = this;
    volume->callbackRef = static_cast<IArchiveOpenCallback*>(this);
    *stream = volume.Detach();
    return S_OK;
}

HRESULT COpenCallbackImp::CryptoGetTextPassword(BSTR* password)
{
    try
    {
        if (ui == nullptr)
            return E_NOTIMPL;
        passwordAsked = true;
        return ui->OnPasswordRequest(password);
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

void COpenCallbackImp::OnVolumeStreamDestroyed(int32_t fileNameIndex)
{
    if (fileNameIndex >= 0 && static_cast<uint32_t>(fileNameIndex) < fileNamesUsed.Count())
        fileNamesUsed.At(static_cast<uint32_t>(fileNameIndex)) = false;
}

CInFileStreamVol::~CInFileStreamVol()
{
    if (!callbackRef.IsNull() && openCallback != nullptr)
        openCallback->OnVolumeStreamDestroyed(fileNameIndex);
}
