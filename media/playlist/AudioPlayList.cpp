#include "media/playlist/AudioPlayList.h"
#include "app/records/MediaKinds.h"

#include <cstdlib>
#include <ctime>

CAudioPlayList g_PlayList;
int g_PlayListPos = 0;
int g_PlayListStartedPos = 0;
PlayListSeam g_PlayListSeam = {DrawRandomPosition};

void CAudioPlayList::GetEntryFullPath(INT_PTR index, CString& out) const
{
    out = m_entries[index].m_file.GetRealFullPath();
}

BOOL CAudioPlayList::AppendEntry(LPCWSTR folder, const WIN32_FIND_DATAW& findData)
{
    CMpegAudioData entry;
    entry.m_file.SetFromDisk(folder, findData);
    m_entries.Add(entry);
    return TRUE;
}

void ClearPlayList()
{
    g_PlayList.RemoveAll();
    g_PlayListPos = 0;
}

BOOL IsPlayableEntry(const CMpegAudioData& entry)
{
    LPCWSTR name = entry.m_file.GetName();
    return !entry.m_failed && (IsMovieKindFile(name) || IsAudioKindFile(name));
}

BOOL HasPlayableEntry()
{
    for (INT_PTR i = 0; i < g_PlayList.GetSize(); ++i)
    {
        if (IsPlayableEntry(g_PlayList[i]))
            return TRUE;
    }
    return FALSE;
}

int DrawRandomPosition(int count)
{
    srand(static_cast<unsigned>(time(nullptr)) & 0x7FFF);
    rand();
    return static_cast<int>(static_cast<long long>(rand()) * count / (RAND_MAX + 1ll));
}

namespace
{

// 0 nothing can play; 1 something can and some of it has not played yet; 2 all of
// it has played.
int PlayableState()
{
    BOOL any = FALSE;
    for (INT_PTR i = 0; i < g_PlayList.GetSize(); ++i)
    {
        const CMpegAudioData& entry = g_PlayList[i];
        if (!IsPlayableEntry(entry))
            continue;
        if (!entry.m_played)
            return 1;
        any = TRUE;
    }
    return any ? 2 : 0;
}

} // namespace

int StepPlayListPosition(int direction, BOOL repeat, BOOL random)
{
    int count = static_cast<int>(g_PlayList.GetSize());
    if (count == 0)
        return 0;
    if (g_PlayListPos >= count)
        g_PlayListPos = count - 1;
    if (g_PlayListPos < 0)
        g_PlayListPos = 0;
    int state = PlayableState();
    if (state == 0)
        return 0;
    if (state == 2)
    {
        for (INT_PTR i = 0; i < count; ++i)
            g_PlayList[i].m_played = 0;
    }
    int candidate = g_PlayListPos;
    BOOL first = TRUE;
    // Each entry is looked at no more than twice around the list: the search ends
    // even when the marks change under it.
    for (int tries = 0; tries <= 2 * count + 1; ++tries)
    {
        if (first && random)
        {
            candidate = g_PlayListSeam.random(count);
            if (candidate < 0 || candidate >= count)
                candidate = 0;
        }
        else
        {
            candidate += direction;
            if (candidate >= count)
            {
                candidate = 0;
                if (!repeat && !random)
                    return 0;
            }
            else if (candidate < 0)
            {
                candidate = count - 1;
            }
        }
        first = FALSE;
        const CMpegAudioData& entry = g_PlayList[candidate];
        if (IsPlayableEntry(entry) && (!random || !entry.m_played))
        {
            g_PlayListPos = candidate;
            return 1;
        }
    }
    return 0;
}
