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
