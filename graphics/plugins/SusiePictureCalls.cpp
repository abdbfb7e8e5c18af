#include "graphics/plugins/SusiePictureCalls.h"

#include "util/PathHelpers.h"
#include "app/ProgressInfo.h"
#include "framework/FwGuard.h"
#include "graphics/picture/PictureData.h"

namespace
{
typedef int(WINAPI* GetPictureWFunc)(LPCWSTR source, LONG_PTR length, unsigned flag, HLOCAL* header,
                                     HLOCAL* bits, SusieProgressFunc progress, LONG_PTR data);
typedef int(WINAPI* GetPictureAFunc)(LPCSTR source, LONG_PTR length, unsigned flag, HLOCAL* header,
                                     HLOCAL* bits, SusieProgressFunc progress, LONG_PTR data);

int WINAPI PlugInProgress(int done, int total, LONG_PTR data)
{
    CProgressInfo* progress = reinterpret_cast<CProgressInfo*>(data);
    progress->doneAmount = done;
    progress->totalAmount = total;
    progress->Notify(PROGRESS_TOTAL | PROGRESS_DONE);
    return progress->IsCancelled() ? 1 : 0;
}

// The plug-in's own arguments for the progress: the callback and the record.
struct ProgressArguments
{
    SusieProgressFunc callback;
    LONG_PTR data;
};

// One call of either form. The blocks are taken only from a call that returned
// normally with 0; after a fault whatever the plug-in allocated is lost with it.
int CallForm(GetPictureWFunc wide, GetPictureAFunc narrow, LPCWSTR wideSource, LPCSTR narrowSource,
             LONG_PTR length, unsigned flag, const ProgressArguments& progress, CPictureData& picture)
{
    HLOCAL header = nullptr;
    HLOCAL bits = nullptr;
    int result = SUSIE_FAILED;
    if (!GuardedCall([&] {
            result =
                wide != nullptr
                    ? wide(wideSource, length, flag, &header, &bits, progress.callback, progress.data)
                    : narrow(narrowSource, length, flag, &header, &bits, progress.callback, progress.data);
        }))
        return SUSIE_FAILED;
    if (result != 0)
    {
        if (header != nullptr)
            LocalFree(header);
        if (bits != nullptr)
            LocalFree(bits);
        return result;
    }
    if (header == nullptr || bits == nullptr)
    {
        if (header != nullptr)
            LocalFree(header);
        if (bits != nullptr)
            LocalFree(bits);
        return SUSIE_FAILED;
    }
    return picture.Attach(header, bits) ? 0 : SUSIE_FAILED;
}

int CallPair(HMODULE module, const char* wideName, const char* narrowName, LPCWSTR wideSource,
             LPCSTR narrowSource, LONG_PTR length, unsigned flag, CProgressInfo* record,
             CPictureData& picture)
{
    picture.Free();
    if (module == nullptr)
        return SUSIE_FAILED;
    auto wide = reinterpret_cast<GetPictureWFunc>(reinterpret_cast<void*>(GetProcAddress(module, wideName)));
    auto narrow =
        reinterpret_cast<GetPictureAFunc>(reinterpret_cast<void*>(GetProcAddress(module, narrowName)));
    if (wide == nullptr && narrow == nullptr)
        return SUSIE_NO_EXPORT;
    const SusieProgressFunc callback = SusieProgressCallbackFor(record);
    const ProgressArguments progress = {callback,
                                        callback != nullptr ? reinterpret_cast<LONG_PTR>(record) : 0};
    int first = 0;
    if (wide != nullptr)
    {
        const int result = CallForm(wide, nullptr, wideSource, narrowSource, length, flag, progress, picture);
        if (result == 0)
            return 0;
        first = result;
    }
    if (narrow != nullptr)
    {
        const int result =
            CallForm(nullptr, narrow, wideSource, narrowSource, length, flag, progress, picture);
        if (result == 0)
            return 0;
        if (first == 0)
            first = result;
    }
    return first != 0 ? first : SUSIE_FAILED;
}
} // namespace

SusieProgressFunc SusieProgressCallbackFor(CProgressInfo* progress)
{
    return progress != nullptr && progress->progressCallback != nullptr ? PlugInProgress : nullptr;
}

int SusieGetPictureFromFile(HMODULE module, LPCWSTR path, int headerOffset, int preview,
                            CPictureData& picture, CProgressInfo* progress)
{
    CStringA narrowPath;
    WideToAnsiString(path, narrowPath);
    return CallPair(module, preview ? "GetPreviewW" : "GetPictureW", preview ? "GetPreview" : "GetPicture",
                    path, narrowPath, headerOffset, 0, progress, picture);
}

int SusieGetPictureFromMemory(HMODULE module, LPCWSTR /*name*/, const void* data, SIZE_T size,
                              CPictureData& picture, CProgressInfo* progress)
{
    int result = SUSIE_FAILED;
    for (unsigned flag : {1u, 7u})
    {
        result = CallPair(module, "GetPictureW", "GetPicture", static_cast<LPCWSTR>(data),
                          static_cast<LPCSTR>(data), LONG_PTR(size), flag, progress, picture);
        if (result == 0 || result == SUSIE_NO_EXPORT)
            return result;
    }
    return result;
}
