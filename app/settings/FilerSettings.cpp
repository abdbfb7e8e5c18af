// The filer's sections of the settings file: "WILDCARD", "JUMPDATA", "SAVECURPOS",
// "MAKENEWFILE", "RELOAD_SETTING" and "ORDER_LIST_DIR_JUMP".
#include "app/settings/FilerSettings.h"

#include "app/Directories.h"
#include "util/Formatting.h"
#include "util/Globals.h"
#include "util/IniFile.h"
#include "app/SettingStrings.h"
#include "app/Settings.h"
#include "app/settings/SectionText.h"
#include "framework/FwLock.h"

void LoadSectionWildcard(CIniFile& ini)
{
    ini.GetStringList(L"WILDCARD", L"FILTER%d", g_WildcardHistory, 10);
}

void SaveSectionWildcard(CIniFile& ini)
{
    ini.WriteStringList(L"WILDCARD", L"FILTER%d", g_WildcardHistory);
}

static const wchar_t kJumpData[] = L"JUMPDATA";

// Group 0 keeps the key names of the first versions, which had one group only.
static CString JumpKey(LPCWSTR name, int group, int entry)
{
    CString key;
    if (group == 0)
        key.Format(L"%s%d", name, entry);
    else
        key.Format(L"%s%02d%02d", name, group, entry);
    return key;
}

// Groups after the first are keyed "%02d%02d" (group, entry): from group 100 on the
// keys of two groups run into each other.
constexpr int kMaxJumpGroups = 99;
// A hand-edited count must not make the start-up allocate without bound.
constexpr int kMaxSavedCursorPositions = 10000;

void LoadSectionJumpData(CIniFile& ini)
{
    if (g_SUMDIRJUMPGROUP < 1)
        g_SUMDIRJUMPGROUP = 1;
    if (g_SUMDIRJUMPGROUP > kMaxJumpGroups)
        g_SUMDIRJUMPGROUP = kMaxJumpGroups;
    g_JumpGroups.SetSize(g_SUMDIRJUMPGROUP);
    for (int g = 0; g < g_SUMDIRJUMPGROUP; ++g)
    {
        CJumpDirectory& group = g_JumpGroups[g];
        ini.GetString(kJumpData, IndexedKey(L"GROUP%d", g), L"", &group.m_groupName);
        group.m_entries.RemoveAll();
        for (int e = 0;; ++e)
        {
            CEachJumpDirectory jump;
            ini.GetString(kJumpData, JumpKey(L"TODIR", g, e), L"", &jump.m_directory);
            if (jump.m_directory.IsEmpty())
                break;
            ini.GetString(kJumpData, JumpKey(L"DIRKEY", g, e), L"", &jump.m_keyName);
            ini.GetString(kJumpData, JumpKey(L"DISPLAY", g, e), L"", &jump.m_display);
            group.m_entries.Add(jump);
        }
    }
}

void SaveSectionJumpData(CIniFile& ini)
{
    INT_PTR groups = g_JumpGroups.GetSize();
    if (groups > g_SUMDIRJUMPGROUP)
        groups = g_SUMDIRJUMPGROUP;
    for (int g = 0; g < groups; ++g)
    {
        const CJumpDirectory& group = g_JumpGroups[g];
        ini.WriteString(kJumpData, IndexedKey(L"GROUP%d", g), group.m_groupName);
        for (int e = 0; e < group.m_entries.GetSize(); ++e)
        {
            const CEachJumpDirectory& jump = group.m_entries[e];
            ini.WriteString(kJumpData, JumpKey(L"TODIR", g, e), jump.m_directory);
            ini.WriteString(kJumpData, JumpKey(L"DIRKEY", g, e), jump.m_keyName);
            ini.WriteString(kJumpData, JumpKey(L"DISPLAY", g, e), jump.m_display);
        }
    }
}

static const wchar_t kSaveCurPos[] = L"SAVECURPOS";

void LoadSectionSaveCurPos(CIniFile& ini)
{
    // The panes keep remembered names only in existing slots, so the list gets its
    // size even while the option is off; it may be switched on during the run.
    if (g_SUMSAVECURPOS > kMaxSavedCursorPositions)
        g_SUMSAVECURPOS = kMaxSavedCursorPositions;
    g_SaveCursorPositions.SetSize(g_SUMSAVECURPOS > 0 ? g_SUMSAVECURPOS : 0);
    if (!g_SAVECURSORPOSITION)
        return;
    for (int i = 0; i < g_SaveCursorPositions.GetSize(); ++i)
    {
        ini.GetString(kSaveCurPos, IndexedKey(L"DIR%d", i), L"", &g_SaveCursorPositions[i].m_directory);
        ini.GetString(kSaveCurPos, IndexedKey(L"NAME%d", i), L"", &g_SaveCursorPositions[i].m_name);
    }
}

void SaveSectionSaveCurPos(CIniFile& ini)
{
    if (!g_SAVECURSORPOSITION)
        return;
    for (int i = 0; i < g_SaveCursorPositions.GetSize(); ++i)
    {
        const CSaveCursorPosition& position = g_SaveCursorPositions[i];
        if (position.m_directory.IsEmpty())
            break;
        ini.WriteString(kSaveCurPos, IndexedKey(L"DIR%d", i), position.m_directory);
        ini.WriteString(kSaveCurPos, IndexedKey(L"NAME%d", i), position.m_name);
    }
}

static const wchar_t kMakeNewFile[] = L"MAKENEWFILE";
// The first twenty kinds are always taken, empty or not, so that the user can leave
// slots free in the new-file menu's numbering.
constexpr int kFixedNewFileKinds = 20;

void LoadSectionMakeNewFile(CIniFile& ini)
{
    g_MakeNewFileKinds.RemoveAll();
    for (int i = 0;; ++i)
    {
        CMakeNewFile kind;
        ini.GetString(kMakeNewFile, IndexedKey(L"KIND%d", i), L"", &kind.m_extension);
        if (kind.m_extension.IsEmpty() && i >= kFixedNewFileKinds)
            break;
        ini.GetString(kMakeNewFile, IndexedKey(L"DISPLAY%d", i), L"", &kind.m_displayName);
        ini.GetString(kMakeNewFile, IndexedKey(L"SHELLNEW%d", i), L"", &kind.m_templateType);
        g_MakeNewFileKinds.Add(kind);
    }
}

void SaveSectionMakeNewFile(CIniFile& ini)
{
    for (int i = 0; i < g_MakeNewFileKinds.GetSize(); ++i)
    {
        const CMakeNewFile& kind = g_MakeNewFileKinds[i];
        ini.WriteString(kMakeNewFile, IndexedKey(L"KIND%d", i), kind.m_extension);
        ini.WriteString(kMakeNewFile, IndexedKey(L"DISPLAY%d", i), kind.m_displayName);
        ini.WriteString(kMakeNewFile, IndexedKey(L"SHELLNEW%d", i), kind.m_templateType);
    }
}

void LoadSectionReloadSetting(CIniFile& ini)
{
    for (int i = 0; i < 5; ++i)
    {
        g_ReloadSettings[i].enable =
            ini.GetInt(L"RELOAD_SETTING", IndexedKey(L"ENABLE%d", i), kDefaultReloadSettings[i].enable);
        g_ReloadSettings[i].ticks =
            ini.GetInt(L"RELOAD_SETTING", IndexedKey(L"TIME%d", i), kDefaultReloadSettings[i].ticks);
    }
}

void SaveSectionReloadSetting(CIniFile& ini)
{
    for (int i = 0; i < 5; ++i)
    {
        ini.WriteInt(L"RELOAD_SETTING", IndexedKey(L"ENABLE%d", i), g_ReloadSettings[i].enable);
        ini.WriteInt(L"RELOAD_SETTING", IndexedKey(L"TIME%d", i), g_ReloadSettings[i].ticks);
    }
}

void LoadSectionOrderListDirJump(CIniFile& ini)
{
    for (int i = 0; i < 3; ++i)
    {
        JumpListColumn& column = g_JumpListColumns[i];
        column.shown =
            ini.GetInt(L"ORDER_LIST_DIR_JUMP", IndexedKey(L"DISPLAY%d", i), kDefaultJumpListColumns[i].shown);
        column.item =
            ini.GetInt(L"ORDER_LIST_DIR_JUMP", IndexedKey(L"ITEM%d", i), kDefaultJumpListColumns[i].item);
        column.width =
            ini.GetInt(L"ORDER_LIST_DIR_JUMP", IndexedKey(L"WIDTH%d", i), kDefaultJumpListColumns[i].width);
    }
}

void SaveSectionOrderListDirJump(CIniFile& ini)
{
    for (int i = 0; i < 3; ++i)
    {
        ini.WriteInt(L"ORDER_LIST_DIR_JUMP", IndexedKey(L"DISPLAY%d", i), g_JumpListColumns[i].shown);
        ini.WriteInt(L"ORDER_LIST_DIR_JUMP", IndexedKey(L"ITEM%d", i), g_JumpListColumns[i].item);
        ini.WriteInt(L"ORDER_LIST_DIR_JUMP", IndexedKey(L"WIDTH%d", i), g_JumpListColumns[i].width);
    }
}

void ResetSectionWildcard()
{
    ClearListLocked(g_WildcardHistory);
}

void ResetSectionJumpData()
{
    g_JumpGroups.RemoveAll();
}

void ResetSectionSaveCurPos()
{
    g_SaveCursorPositions.RemoveAll();
}

void ResetSectionMakeNewFile()
{
    g_MakeNewFileKinds.RemoveAll();
}

void ResetSectionReloadSetting()
{
    g_ReloadSettings = kDefaultReloadSettings;
}

void ResetSectionOrderListDirJump()
{
    g_JumpListColumns = kDefaultJumpListColumns;
}
