// The listing filter that decides whether a found entry is shown in a pane.
#include "filer/FileInfo.h"
#include "filer/FindCondition.h"
#include "app/Settings.h"
#include "util/Wildcard.h"

BOOL CFileInfo::PassesDisplayFilter(BOOL hideCurrent, BOOL hideParent, BOOL filterDirectories,
                                    LPCWSTR pattern, const FindCondition* condition, int use) const
{
    if (m_entryClass == ENTRY_CLASS_PARENT)
        return !hideParent;
    if (m_entryClass == ENTRY_CLASS_CURRENT)
        return !hideCurrent;

    // The system's find also matches the 8.3 alias, so a long name can be listed for
    // a pattern only its alias fits; the long name is tested again only when the user
    // asked to ignore aliases. Callers outside the listing always test it.
    BOOL retest = g_FIND_FILE_NEGLECT_DOS_NAME || (use != 0 && use != 1);
    if (retest && pattern && *pattern && (!IsDirectory() || filterDirectories))
    {
        if (!MatchFileNameWildcard(GetName(), pattern))
            return FALSE;
    }
    if (!g_DISP_FIRST_DOT_FILE && GetName()[0] == L'.')
        return FALSE;
    if (use == 0 || use == 2)
    {
        if (!g_HIDDENVIEWFLAG && HasAttribute(FILE_ATTRIBUTE_HIDDEN))
            return FALSE;
        if (!g_DISP_READ_ONLY_FILE && HasAttribute(FILE_ATTRIBUTE_READONLY))
            return FALSE;
        if (!g_DISP_SYSTEM_FILE && HasAttribute(FILE_ATTRIBUTE_SYSTEM))
            return FALSE;
    }
    return MatchesFindCondition(condition);
}

BOOL CFileInfo::MatchesFindCondition(const FindCondition* condition) const
{
    return MatchesFindConditionData(m_findData, condition);
}
