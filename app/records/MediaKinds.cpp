#include "app/records/MediaKinds.h"

#include "util/PathHelpers.h"

namespace
{
CStringArray MakeDefaultMediaKinds()
{
    CStringArray list;
    SetDefaultMediaKinds(list);
    return list;
}

// The halves are taken from the list's own count, so a list shortened by hand
// still splits into its video and audio parts.
int HasKindInRange(LPCWSTR fileName, INT_PTR first, INT_PTR last)
{
    for (INT_PTR i = first; i < last; ++i)
    {
        const CString& kind = g_MediaKindList[i];
        if (!kind.IsEmpty() && HasExtension(fileName, kind))
        {
            return 1;
        }
    }
    return 0;
}
} // namespace

CStringArray g_MediaKindList = MakeDefaultMediaKinds();

void SetDefaultMediaKinds(CStringArray& list)
{
    static const wchar_t* const kVideo[] = {L"ASF", L"AVI", L"DAT", L"MPEG", L"MPG", L"MOV", L"WMA", L"MP4"};
    static const wchar_t* const kAudio[] = {L"MID", L"MP3", L"MP2"};
    list.RemoveAll();
    list.SetSize(MEDIA_KIND_COUNT);
    for (int i = 0; i < (int)(sizeof(kVideo) / sizeof(kVideo[0])); ++i)
    {
        list[i] = kVideo[i];
    }
    list[29] = L"WAV";
    for (int i = 0; i < (int)(sizeof(kAudio) / sizeof(kAudio[0])); ++i)
    {
        list[MEDIA_KIND_COUNT / 2 + i] = kAudio[i];
    }
}

int IsMovieKindFile(LPCWSTR fileName)
{
    return HasKindInRange(fileName, 0, g_MediaKindList.GetCount() / 2);
}

int IsAudioKindFile(LPCWSTR fileName)
{
    return HasKindInRange(fileName, g_MediaKindList.GetCount() / 2, g_MediaKindList.GetCount());
}

void GetMediaKindList(CStringArray& out, BOOL videos, BOOL audio)
{
    out.RemoveAll();
    INT_PTR half = g_MediaKindList.GetCount() / 2;
    for (INT_PTR i = 0; i < g_MediaKindList.GetCount(); ++i)
    {
        BOOL wanted = i < half ? videos : audio;
        if (wanted && !g_MediaKindList[i].IsEmpty())
        {
            out.Add(g_MediaKindList[i]);
        }
    }
}
