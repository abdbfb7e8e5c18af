// A worker that writes one memory block to an open file in pieces, reporting a
// percentage between the pieces and stopping when its dialog asks.
#pragma once
#include <windows.h>
#include "framework/FwThread.h"

class CWnd;

// Called on the worker's thread with the percentage written, the value 100 and the
// owner window.
typedef void (*WritePercentCallback)(int percent, int total, CWnd* owner);

// Writes one piece, as WriteFile does.
typedef BOOL (*WritePieceFunction)(HANDLE file, const void* data, DWORD size, DWORD* written);

class CWriteThread : public CWinThread
{
    DECLARE_DYNCREATE(CWriteThread)

public:
    CWriteThread() = default;

    // Does the whole job and ends the thread: exit code 0 and IDM_WORKER_DONE when
    // everything was written or the stop flag ended it early, -1 and
    // IDM_WORKER_FAILED when there was no block or a write failed. In every case the
    // file is closed and the block unlocked before the owner is told.
    BOOL InitInstance() override;

    // Filled by the starter before the thread runs. The block is locked from a
    // local memory handle; the thread unlocks it and closes the file.
    BYTE* blockData = nullptr;
    HANDLE fileHandle = INVALID_HANDLE_VALUE;
    int blockSize = 0;
    CWnd* ownerWindow = nullptr;
    volatile LONG cancelFlag = 0;
    WritePercentCallback percentCallback = nullptr;
    // Null writes with WriteFile; a caller whose own writes go through a hook passes
    // it here, so that the pixels meet the same disk as the rest of its file.
    WritePieceFunction writePiece = nullptr;
    // Bytes written so far; read by the owner once the thread has ended, to tell a
    // stop that came after the last piece from one that cut the block short.
    volatile LONG bytesDone = 0;

private:
    void CloseFile();
    void UnlockBlock();
    void PostToOwner(UINT commandId) const;
    void ReportPercent(int percent) const;
};
