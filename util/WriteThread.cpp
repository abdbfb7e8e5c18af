#include "util/WriteThread.h"
#include "util/WorkerMessages.h"
#include "framework/FwWnd.h"

IMPLEMENT_DYNCREATE(CWriteThread, CWinThread)

namespace
{
// Small pieces, so that the percentage moves and the stop flag is looked at often
// even when the target is a slow removable or network drive.
const int kPieceSize = 32000;
} // namespace

void CWriteThread::CloseFile()
{
    if (fileHandle != INVALID_HANDLE_VALUE)
    {
        CloseHandle(fileHandle);
        fileHandle = INVALID_HANDLE_VALUE;
    }
}

void CWriteThread::UnlockBlock()
{
    if (blockData != nullptr)
    {
        // The starter locked the block from its local handle; the lock count lives
        // with the handle, so find it from the pointer.
        HLOCAL handle = LocalHandle(blockData);
        if (handle != nullptr)
        {
            LocalUnlock(handle);
        }
        blockData = nullptr;
    }
}

void CWriteThread::PostToOwner(UINT commandId) const
{
    if (ownerWindow != nullptr)
    {
        ::PostMessageW(ownerWindow->GetSafeHwnd(), WM_COMMAND, commandId, 0);
    }
}

void CWriteThread::ReportPercent(int percent) const
{
    if (cancelFlag == 0 && percentCallback != nullptr)
    {
        percentCallback(percent, 100, ownerWindow);
    }
}

BOOL CWriteThread::InitInstance()
{
    SetThreadPriority(THREAD_PRIORITY_TIME_CRITICAL);

    if (blockData == nullptr)
    {
        CloseFile();
        PostToOwner(IDM_WORKER_FAILED);
        AfxEndThread((UINT)-1);
    }

    bytesDone = 0;
    int written = 0;
    while (cancelFlag == 0)
    {
        const int remaining = blockSize - written;
        const int piece = remaining < kPieceSize ? remaining : kPieceSize;
        if (piece > 0)
        {
            DWORD done = 0;
            // A short write (a full disk, a broken network share) is as much a
            // failure as an error: the file would lack the rest of the piece.
            const BOOL wrote = writePiece != nullptr
                                   ? writePiece(fileHandle, blockData + written, (DWORD)piece, &done)
                                   : WriteFile(fileHandle, blockData + written, (DWORD)piece, &done, nullptr);
            if (!wrote || done != (DWORD)piece)
            {
                CloseFile();
                UnlockBlock();
                PostToOwner(IDM_WORKER_FAILED);
                AfxEndThread((UINT)-1);
            }
            written += piece;
            bytesDone = written;
            ReportPercent((int)((LONGLONG)written * 100 / blockSize));
        }
        if (written >= blockSize)
        {
            ReportPercent(100);
            CloseFile();
            break;
        }
    }

    CloseFile();
    UnlockBlock();
    PostToOwner(IDM_WORKER_DONE);
    AfxEndThread(0);
}
