#include "fileops/sync/SyncSteps.h"
#include "fileops/sync/SyncRows.h"
#include "fileops/sync/SyncWalk.h"

BOOL SyncRowWritesSource(int action)
{
    return action == SYNC_TO_SRC;
}

BOOL SyncRowMakesFolder(int action, LPCWSTR relativeFolder)
{
    return (action == SYNC_TO_DEST || action == SYNC_TO_SRC) && relativeFolder != nullptr &&
           relativeFolder[0] != 0;
}

SyncDeleteStep PlanSyncDelete(DWORD attributes)
{
    if (IsLinkFolder(attributes))
        return {SYNC_DELETE_LINK, 0, INVALID_FILE_ATTRIBUTES};
    const DWORD restored = attributes & ~FILE_ATTRIBUTE_REPARSE_POINT;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return {SYNC_DELETE_FOLDER, FILE_ATTRIBUTE_ARCHIVE, restored};
    return {SYNC_DELETE_FILE, FILE_ATTRIBUTE_NORMAL, restored};
}
