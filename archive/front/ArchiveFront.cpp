#include "archive/front/ArchiveFront.h"

int CArchiveFront::ListDirectory(CArrayFileInfo& /*out*/, LPCWSTR /*folder*/, LPCWSTR /*wildcard*/,
                                 BOOL /*filterDirectories*/, const FindCondition* /*condition*/)
{
    return 0;
}

IPaneArchive* CArchiveFront::CreateForPane()
{
    return new CArchiveFront;
}

int CArchiveFront::DeleteEntries(const CStringArray& items, BOOL keepArchiveTimes, CProgressInfo* progress)
{
    (void)keepArchiveTimes;
    (void)progress;
    // No back-end is joined yet: nothing is listed, so only an empty request succeeds.
    return items.GetSize() == 0 ? 1 : 0;
}
