#include "fileops/delete/DeleteRules.h"

DeleteWay ChooseDeleteWay(BOOL virtualEntry, BOOL directory, BOOL link)
{
    if (virtualEntry)
        return DELETE_FORGET_VIRTUAL;
    if (!directory)
        return DELETE_ONE_FILE;
    return link ? DELETE_LINK_ONLY : DELETE_WHOLE_TREE;
}

DWORD DeleteAttributeAsked(DWORD attributes)
{
    static const DWORD kinds[3] = {FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN};
    for (DWORD kind : kinds)
        if (attributes & kind)
            return kind;
    return 0;
}

int DeleteAnswerSlot(DWORD kind)
{
    return kind == FILE_ATTRIBUTE_SYSTEM ? 0 : kind == FILE_ATTRIBUTE_READONLY ? 1 : 2;
}

BOOL DeleteAnswerKeepsFile(EngineAnswer answer)
{
    return answer == ANSWER_SKIP || answer == ANSWER_SKIP_ALL;
}

BOOL DeleteLiftsReadOnly(DWORD attributes)
{
    return (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}
