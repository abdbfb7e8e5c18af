// What an archive update tells its user and asks of them: progress, cancel, files that
// cannot be read, passwords and the stages of the job. The program's pack worker
// implements it; the update driver and the update callback of the library call it.
// A result other than S_OK stops the job with that result. The driver hands the same
// object to the disk scan, which reports its progress and problems to it.
#pragma once
#include "archiveclient/scan/DiskItems.h"

class CCodecs;
class CArchiveChain;

struct CUpdateRunStats
{
    uint64_t ArchiveSize = 0; // all volumes together
};

struct IUpdateCallbackUI2 : IDirItemsCallback
{
    virtual HRESULT WriteSfxModule() = 0;
    virtual HRESULT SetTotalSize(uint64_t total) = 0;
    virtual HRESULT SetCompletedSize(const uint64_t* completed) = 0;
    virtual HRESULT SetSizeRatio(const uint64_t* inSize, const uint64_t* outSize) = 0;
    virtual HRESULT PollCancel() = 0;
    virtual HRESULT SetUpdateItemCount(uint64_t count) = 0;
    virtual HRESULT BeginUpdateItem(const wchar_t* name, bool isDir, int32_t anti, uint32_t mode) = 0;
    virtual HRESULT ReportOpenFileFailure(const wchar_t* path, DWORD systemError) = 0;
    virtual HRESULT ReportReadFailure(const wchar_t* path, DWORD systemError) = 0;
    virtual HRESULT SetUpdateItemResult(int32_t result) = 0;
    virtual HRESULT ReportItemCheckResult(int32_t result, bool encrypted, const wchar_t* name) = 0;
    virtual HRESULT ReportUpdateStep(uint32_t operation, const wchar_t* name, bool isDir) = 0;
    virtual HRESULT GetPackPassword(INT32* passwordDefined, BSTR* password) = 0;
    virtual HRESULT GetPassword(BSTR* password) = 0;
    virtual HRESULT ReportDroppedItem(const wchar_t* name, bool isDir) = 0;

    virtual HRESULT ReportOpenResult(const CCodecs& codecs, const CArchiveChain& chain, const wchar_t* path,
                                     HRESULT result) = 0;
    virtual HRESULT BeginDiskScan() = 0;
    virtual HRESULT EndDiskScan(const CDiskScanStats& stats) = 0;
    virtual HRESULT BeginOpenArchive(const wchar_t* path) = 0;
    virtual HRESULT BeginArchive(const wchar_t* path, bool updating) = 0;
    virtual HRESULT EndArchive(const CUpdateRunStats& stats) = 0;
    virtual HRESULT ReportSourceDeleted(const wchar_t* path) = 0;
    virtual HRESULT EndSourceDeletion() = 0;

protected:
    ~IUpdateCallbackUI2() = default;
};
