#include "graphics/preview/PreviewPlugInDecode.h"

#include "util/PathHelpers.h"
#include "app/records/MediaKinds.h"
#include "graphics/picture/PictureData.h"
#include "graphics/plugins/SusiePlugInHost.h"
#include "graphics/plugins/SusiePlugInList.h"
#include "graphics/preview/LoadPreviewThread.h"

int DecodePreviewFile(LPCWSTR path, CPictureData& picture)
{
    CSusiePlugInHost host;
    host.DisableReaderLock();
    if (host.LoadPlugInForFile(path, SUSIE_KIND_IMAGE, 0, 1) < 0)
        return -1;
    int result = 0;
    if (IsMovieKindFile(path) || IsAudioKindFile(path))
        result = host.GetPreview(path, picture, nullptr);
    else if (IsAnsiSafeName(path))
    {
        result = host.GetPicture(path, picture, nullptr);
        if (result != 0)
            result = host.GetPictureViaMemory(path, picture, nullptr);
    }
    else
        result = host.GetPictureViaMemory(path, picture, nullptr);
    return result == 0 && picture.IsValid() ? 1 : 0;
}

int PreviewPlugInTakesName(LPCWSTR name)
{
    return FindSusiePlugIn(name, SUSIE_KIND_IMAGE, 0, nullptr) >= 0 ? 1 : 0;
}

int DecodePreviewMemory(LPCWSTR name, const void* data, SIZE_T size, CPictureData& picture)
{
    CSusiePlugInHost host;
    host.DisableReaderLock();
    if (host.LoadPlugInForFile(name, SUSIE_KIND_IMAGE, 0, 0) < 0)
        return 0;
    return host.GetPictureFromMemory(name, data, size, picture, nullptr) == 0 && picture.IsValid() ? 1 : 0;
}
