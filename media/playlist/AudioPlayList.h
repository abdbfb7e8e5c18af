// The play list the media window, the sound list and the tag dialogs share, and its
// stepping: which entry plays next.
#pragma once
#include <windows.h>
#include "app/records/PlayListFile.h"
#include "framework/FwCollections.h"
#include "media/tags/MpegAudioData.h"

class CAudioPlayList : public IPlayList
{
public:
    INT_PTR GetEntryCount() const override { return m_entries.GetSize(); }
    void GetEntryFullPath(INT_PTR index, CString& out) const override;
    void SetEntryState(INT_PTR index, int state) override { m_entries[index].m_failed = state; }
    BOOL AppendEntry(LPCWSTR folder, const WIN32_FIND_DATAW& findData) override;

    INT_PTR GetSize() const { return m_entries.GetSize(); }
    BOOL IsEmpty() const { return m_entries.GetSize() == 0; }
    CMpegAudioData& operator[](INT_PTR index) { return m_entries[index]; }
    const CMpegAudioData& operator[](INT_PTR index) const { return m_entries[index]; }
    void RemoveAll() { m_entries.RemoveAll(); }
    void RemoveAt(INT_PTR index) { m_entries.RemoveAt(index); }
    CArray<CMpegAudioData>& Entries() { return m_entries; }

private:
    CArray<CMpegAudioData> m_entries;
};

extern CAudioPlayList g_PlayList;
// The current position, and the one last started.
extern int g_PlayListPos;
extern int g_PlayListStartedPos;

// Empties the list; the position becomes 0.
void ClearPlayList();
// A media-kind entry without the failed mark.
BOOL IsPlayableEntry(const CMpegAudioData& entry);
BOOL HasPlayableEntry();

// What random play draws from; tests replace it.
struct PlayListSeam
{
    // Draws a position in 0..count-1 (DrawRandomPosition).
    int (*random)(int count);
};

extern PlayListSeam g_PlayListSeam;
int DrawRandomPosition(int count);

// Moves g_PlayListPos by direction (-1 or +1) to the next entry that may play: a
// media kind without the failed mark and, in random mode, not played since the
// marks were last cleared (all are cleared when every playable entry has played).
// 0 at the end of the list without repeat or random, or when nothing can play.
int StepPlayListPosition(int direction, BOOL repeat, BOOL random);
