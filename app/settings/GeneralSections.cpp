// Reading and writing the general sections of the settings file.
#include "app/settings/GeneralSections.h"

#include <climits>
#include <cwchar>

#include "app/Formatting.h"
#include "app/Globals.h"
#include "app/IniFile.h"
#include "framework/FwLock.h"
#include "app/NetworkAccounts.h"
#include "app/SettingStrings.h"
#include "app/Settings.h"
#include "app/settings/FileOpSettings.h"
#include "app/settings/FilerSettings.h"
#include "app/settings/MediaSettings.h"
#include "app/settings/PrintSettings.h"
#include "app/settings/GeneralToolSettings.h"
#include "app/settings/ViewSettings.h"
#include "app/settings/ViewerSettings.h"

namespace
{

CString IndexedKey(LPCWSTR format, int index)
{
    CString key;
    key.Format(format, index);
    return key;
}

CString ReadString(CIniFile& ini, LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue = L"")
{
    CString value;
    ini.GetString(section, key, defaultValue, &value);
    return value;
}

// Lists read until their first empty key with no maximum of their own.
constexpr int kUnlimitedList = INT_MAX;

} // namespace

// ---- Value formats ----------------------------------------------------------------

void FormatColorValue(DWORD color, CString& out)
{
    // Only the 24 colour bits: a seventh digit would shift every pair on reading.
    out.Format(L"%06x", static_cast<unsigned>(color & 0xffffff));
}

DWORD ReadColorValue(CIniFile& ini, LPCWSTR section, LPCWSTR key, DWORD defaultValue)
{
    CString value = ReadString(ini, section, key);
    return ParseColorHex(value, defaultValue);
}

void WriteColorValue(CIniFile& ini, LPCWSTR section, LPCWSTR key, DWORD color)
{
    CString text;
    FormatColorValue(color, text);
    ini.WriteString(section, key, text);
}

// ---- "USERINI" ----------------------------------------------------------------------

static const wchar_t kUserIni[] = L"USERINI";

void LoadUserIniEntries(CIniFile& ini, CStringArray& names, CStringArray& values)
{
    ini.GetSectionKeys(kUserIni, names, values);
}

void SaveUserIniEntries(CIniFile& ini, const CStringArray& names, const CStringArray& values)
{
    for (INT_PTR i = 0; i < names.GetSize() && i < values.GetSize(); ++i)
        ini.WriteString(kUserIni, names[i], values[i]);
}

void MakeSavedUserIniPath(LPCWSTR userIniPath, LPCWSTR programDir, CString& out)
{
    // A bare name is saved with the program folder in front; a path with a folder or
    // drive part is saved as the user gave it.
    CString path(userIniPath ? userIniPath : L"");
    if (path.IsEmpty() || wcspbrk(path, L"\\/:"))
        out = path;
    else
        out.Format(L"%s\\%s", programDir, path.GetString());
}

void SetUserIniEntry(CStringArray& names, CStringArray& values, LPCWSTR userName, LPCWSTR savedPath,
                     int active)
{
    CString value;
    if (active)
        value.Format(L"@%s", savedPath);
    else
        value = savedPath;
    for (INT_PTR i = 0; i < names.GetSize(); ++i)
    {
        if (names[i] == userName) // user names differing in case are other users
        {
            values.SetAtGrow(i, value);
            return;
        }
    }
    names.Add(CString(userName));
    values.SetAtGrow(names.GetSize() - 1, value);
}

// ---- "ALLDATA" strings ------------------------------------------------------------

static const wchar_t kAllData[] = L"ALLDATA";
static const wchar_t kDefaultFontFace[] = L"ＭＳ 明朝";

struct StringSettingRow
{
    const wchar_t* key;
    CString* variable;
};

// The fourteen in the order they are written.
static const StringSettingRow kAllDataStrings[] = {
    {L"FONTNAME", &g_FONTNAME},
    {L"PRINTFONTNAME", &g_PrintSettings.fontName},
    {L"EDITORNAME", &g_EDITORNAME},
    {L"ONEDEFEDIT", &g_ONEDEFEDIT},
    {L"SOMEDEFEDIT", &g_SOMEDEFEDIT},
    {L"EDITOR_OPEN_UNICODE_OPTION", &g_EDITOR_OPEN_UNICODE_OPTION},
    {L"DOSSHELL", &g_DOSSHELL},
    {L"POWER_SHELL", &g_POWER_SHELL},
    {L"BACKBITMAPNAME", &g_BACKBITMAPNAME},
    {L"FIRSTDIRECTORY", &g_FIRSTDIRECTORY},
    {L"SECONDDIRECTORY", &g_SECONDDIRECTORY},
    {L"ENDDIRECTORY", &g_ENDDIRECTORY},
    {L"ENDDIRECTORY2", &g_ENDDIRECTORY2},
    {L"SET_SAME_TIME", &g_SET_SAME_TIME},
};

void LoadAllDataFontNames(CIniFile& ini)
{
    ini.GetString(kAllData, L"FONTNAME", kDefaultFontFace, &g_FONTNAME);
    ini.GetString(kAllData, L"PRINTFONTNAME", kDefaultFontFace, &g_PrintSettings.fontName);
}

void LoadAllDataStrings(CIniFile& ini)
{
    ini.GetString(kAllData, L"EDITORNAME", L"", &g_EDITORNAME);
    ini.GetString(kAllData, L"ONEDEFEDIT", L"", &g_ONEDEFEDIT);
    ini.GetString(kAllData, L"SOMEDEFEDIT", L"", &g_SOMEDEFEDIT);
    ini.GetString(kAllData, L"EDITOR_OPEN_UNICODE_OPTION", L"", &g_EDITOR_OPEN_UNICODE_OPTION);
    ini.GetString(kAllData, L"DOSSHELL", L"command.com", &g_DOSSHELL);
    ini.GetString(kAllData, L"POWER_SHELL", L"powershell.exe", &g_POWER_SHELL);
    ini.GetString(kAllData, L"BACKBITMAPNAME", L"", &g_BACKBITMAPNAME);
    ini.GetString(kAllData, L"FIRSTDIRECTORY", g_WindowsDir, &g_FIRSTDIRECTORY);
    ini.GetString(kAllData, L"SECONDDIRECTORY", L"", &g_SECONDDIRECTORY);
    ini.GetString(kAllData, L"ENDDIRECTORY", g_WindowsDir, &g_ENDDIRECTORY);
    ini.GetString(kAllData, L"ENDDIRECTORY2", L"", &g_ENDDIRECTORY2);
    ini.GetString(kAllData, L"SET_SAME_TIME", L"00:00:00", &g_SET_SAME_TIME);
    if (g_FIRSTDIRECTORY.IsEmpty())
        g_FIRSTDIRECTORY = g_WindowsDir;
    if (g_ENDDIRECTORY.IsEmpty())
        g_ENDDIRECTORY = g_WindowsDir;
}

void SaveAllDataStrings(CIniFile& ini)
{
    for (const StringSettingRow& row : kAllDataStrings)
        ini.WriteString(kAllData, row.key, *row.variable);
}

// ---- "FILERINFODATA" ----------------------------------------------------------------

static const wchar_t kFilerInfoData[] = L"FILERINFODATA";

void LoadSectionFilerInfo(CIniFile& ini)
{
    for (int i = 0; i < kFilerInfoPresetCount; ++i)
    {
        FilerInfoPreset& preset = g_FilerInfoPresets[i];
        CString text = ReadString(ini, kFilerInfoData, IndexedKey(L"FILERINFO%d", i));
        if (text.IsEmpty())
        {
            // Files of older versions kept the one layout in five integer settings.
            if (i == 0)
                preset = {g_DATEWRITEFLAG, g_TIMEWRITEFLAG, g_NOTSECWRITE, g_SIZEWRITEFLAG,
                          g_ATTRIBUTES_WRITE};
            else
                preset = FilerInfoPreset();
            continue;
        }
        auto on = [&text](int index) { return index < text.GetLength() && text[index] == L'1' ? 1 : 0; };
        preset.date = on(0);
        preset.time = on(1);
        preset.size = on(2);
        preset.noSeconds = on(3);
        preset.attributes = on(4);
    }
}

void SaveSectionFilerInfo(CIniFile& ini)
{
    for (int i = 0; i < kFilerInfoPresetCount; ++i)
    {
        const FilerInfoPreset& preset = g_FilerInfoPresets[i];
        CString text;
        text.Format(L"%01d%01d%01d%01d%01d", preset.date, preset.time, preset.size, preset.noSeconds,
                    preset.attributes);
        ini.WriteString(kFilerInfoData, IndexedKey(L"FILERINFO%d", i), text);
    }
}

// ---- Plain string lists -----------------------------------------------------------

void LoadSectionSpecialCopyTo(CIniFile& ini)
{
    ini.GetStringList(L"SPECIALCOPYTO", L"DIR%d", g_SpecialCopyToDirs, 20);
}

void SaveSectionSpecialCopyTo(CIniFile& ini)
{
    ini.WriteStringList(L"SPECIALCOPYTO", L"DIR%d", g_SpecialCopyToDirs);
}

void LoadSectionWildcard(CIniFile& ini)
{
    ini.GetStringList(L"WILDCARD", L"FILTER%d", g_WildcardHistory, 10);
}

void SaveSectionWildcard(CIniFile& ini)
{
    ini.WriteStringList(L"WILDCARD", L"FILTER%d", g_WildcardHistory);
}

void LoadSectionSelectDir(CIniFile& ini)
{
    int maximum = g_SUMCOPYPASTDIRECTORY;
    {
        CHandleLock lock(g_DataMutex);
        if (g_SelectDirHistory.GetSize() > maximum)
            g_SelectDirHistory.SetSize(maximum > 0 ? maximum : 0);
    }
    ini.GetStringList(L"SELECTDIR", L"TODIR%d", g_SelectDirHistory, maximum);
}

void SaveSectionSelectDir(CIniFile& ini)
{
    ini.WriteStringList(L"SELECTDIR", L"TODIR%d", g_SelectDirHistory);
}

void LoadSectionSoundList(CIniFile& ini)
{
    ini.GetStringList(L"SOUNDLIST", L"LIST%d", g_PlayedFileHistory, 5);
}

void SaveSectionSoundList(CIniFile& ini)
{
    ini.WriteStringList(L"SOUNDLIST", L"LIST%d", g_PlayedFileHistory);
}

void LoadSectionRenameHistory(CIniFile& ini)
{
    ini.GetStringList(L"RENAMEHISTORY", L"NAME%d", g_RenameHistory, 10);
}

void SaveSectionRenameHistory(CIniFile& ini)
{
    ini.WriteStringList(L"RENAMEHISTORY", L"NAME%d", g_RenameHistory);
}

void LoadSectionExeHistory(CIniFile& ini)
{
    ini.GetStringList(L"EXEHISTORY", L"EXE%d", g_ExeHistory, 20);
    ini.GetStringList(L"EXEHISTORY", L"EXEPARAM%d", g_ExeParamHistory, 20);
}

void SaveSectionExeHistory(CIniFile& ini)
{
    ini.WriteStringList(L"EXEHISTORY", L"EXE%d", g_ExeHistory);
    ini.WriteStringList(L"EXEHISTORY", L"EXEPARAM%d", g_ExeParamHistory);
}

// ---- "FILERBMP" ---------------------------------------------------------------------

void LoadSectionFilerBmp(CIniFile& ini)
{
    CStringArray names;
    ini.GetStringList(L"FILERBMP", L"BMP%d", names, kUnlimitedList);
    CHandleLock lock(g_DataMutex);
    g_WallpaperFiles.RemoveAll();
    for (INT_PTR i = 0; i < names.GetSize(); ++i)
    {
        CCommonFile file;
        file.m_name = names[i];
        g_WallpaperFiles.Add(file);
    }
}

void SaveSectionFilerBmp(CIniFile& ini)
{
    CHandleLock lock(g_DataMutex);
    for (INT_PTR i = 0; i < g_WallpaperFiles.GetSize(); ++i)
        ini.WriteString(L"FILERBMP", IndexedKey(L"BMP%d", static_cast<int>(i)), g_WallpaperFiles[i].m_name);
}

void AppendBackBitmapName()
{
    if (g_BACKBITMAPNAME.IsEmpty())
        return;
    CHandleLock lock(g_DataMutex);
    g_WallpaperFiles.AddUnique(g_BACKBITMAPNAME);
}

// ---- "COLORDATA" --------------------------------------------------------------------

static const wchar_t kColorData[] = L"COLORDATA";

void LoadSectionColorNamed(CIniFile& ini)
{
    for (int i = 0; i < DISPLAY_COLOR_COUNT; ++i)
        g_DisplayColors[i] =
            ReadColorValue(ini, kColorData, kDisplayColorRows[i].key, kDisplayColorRows[i].defaultValue);
    for (int b = 0; b < 256; ++b)
        g_BinaryByteColors[b] = ReadColorValue(ini, kColorData, IndexedKey(L"BINARY%02x", b),
                                               kDisplayColorRows[COLOR_VIEWER].defaultValue);
}

void LoadSectionColorKinds(CIniFile& ini)
{
    for (int i = 0; i < kKindColorCount; ++i)
    {
        ini.GetString(kColorData, IndexedKey(L"KINDCOLORNAME%d", i), L"", &g_KindColors[i].m_extensions);
        g_KindColors[i].m_color = ReadColorValue(ini, kColorData, IndexedKey(L"KINDCOLOR%d", i), 0);
    }
}

void SaveSectionColorData(CIniFile& ini)
{
    for (int i = 0; i < kKindColorCount; ++i)
    {
        ini.WriteString(kColorData, IndexedKey(L"KINDCOLORNAME%d", i), g_KindColors[i].m_extensions);
        WriteColorValue(ini, kColorData, IndexedKey(L"KINDCOLOR%d", i), g_KindColors[i].m_color);
    }
    for (int i = 0; i < DISPLAY_COLOR_COUNT; ++i)
        WriteColorValue(ini, kColorData, kDisplayColorRows[i].key, g_DisplayColors[i]);
    for (int b = 0; b < 256; ++b)
        WriteColorValue(ini, kColorData, IndexedKey(L"BINARY%02x", b), g_BinaryByteColors[b]);
}

// ---- "KINDEXEDATA", "KINDEXEDATASHIFT" ---------------------------------------------

static void LoadKindExeTable(CIniFile& ini, LPCWSTR section, CKindExeEntry* table)
{
    for (int i = 0; i < kKindExeEntryCount; ++i)
    {
        ini.GetString(section, IndexedKey(L"KINDEXENAME%d", i), L"", &table[i].m_extension);
        ini.GetString(section, IndexedKey(L"KINDEXE%d", i), L"", &table[i].m_action);
        ini.GetString(section, IndexedKey(L"KINDEXEPARAM%d", i), L"", &table[i].m_parameters);
        ini.GetString(section, IndexedKey(L"DISPLAY_NAME%d", i), L"", &table[i].m_displayName);
    }
}

static void SaveKindExeTable(CIniFile& ini, LPCWSTR section, const CKindExeEntry* table)
{
    for (int i = 0; i < kKindExeEntryCount; ++i)
    {
        ini.WriteString(section, IndexedKey(L"KINDEXENAME%d", i), table[i].m_extension);
        ini.WriteString(section, IndexedKey(L"KINDEXE%d", i), table[i].m_action);
        ini.WriteString(section, IndexedKey(L"KINDEXEPARAM%d", i), table[i].m_parameters);
        ini.WriteString(section, IndexedKey(L"DISPLAY_NAME%d", i), table[i].m_displayName);
    }
}

void LoadSectionKindExe(CIniFile& ini)
{
    LoadKindExeTable(ini, L"KINDEXEDATA", g_KindExeTable);
    LoadKindExeTable(ini, L"KINDEXEDATASHIFT", g_KindExeShiftTable);
}

void SaveSectionKindExe(CIniFile& ini)
{
    SaveKindExeTable(ini, L"KINDEXEDATA", g_KindExeTable);
    SaveKindExeTable(ini, L"KINDEXEDATASHIFT", g_KindExeShiftTable);
}

// ---- "JUMPDATA" ---------------------------------------------------------------------

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

// ---- "LANCHER" ----------------------------------------------------------------------

static const wchar_t kLancher[] = L"LANCHER";

void LoadSectionLancher(CIniFile& ini, CStringArray& exe, CStringArray& par, CStringArray& key,
                        CStringArray& exeDir)
{
    exe.RemoveAll();
    par.RemoveAll();
    key.RemoveAll();
    exeDir.RemoveAll();
    for (int i = 0;; ++i)
    {
        CString program = ReadString(ini, kLancher, IndexedKey(L"EXE%d", i));
        if (program.IsEmpty())
            break;
        exe.Add(program);
        par.Add(ReadString(ini, kLancher, IndexedKey(L"PAR%d", i)));
        key.Add(ReadString(ini, kLancher, IndexedKey(L"KEY%d", i)));
        exeDir.Add(ReadString(ini, kLancher, IndexedKey(L"EXE_DIR%d", i)));
    }
}

void SaveSectionLancher(CIniFile& ini, const CStringArray& exe, const CStringArray& par,
                        const CStringArray& key, const CStringArray& exeDir)
{
    auto at = [](const CStringArray& list, INT_PTR i) { return i < list.GetSize() ? list[i] : CString(); };
    int i = 0;
    for (; i < exe.GetSize(); ++i)
    {
        ini.WriteString(kLancher, IndexedKey(L"EXE%d", i), exe[i]);
        ini.WriteString(kLancher, IndexedKey(L"PAR%d", i), at(par, i));
        ini.WriteString(kLancher, IndexedKey(L"KEY%d", i), at(key, i));
        ini.WriteString(kLancher, IndexedKey(L"EXE_DIR%d", i), at(exeDir, i));
    }
    ini.WriteString(kLancher, IndexedKey(L"EXE%d", i), L"");
}

// ---- "FILERUSERMENU", "NOTVIEWMENU" ------------------------------------------------

void LoadSectionFilerUserMenu(CIniFile& ini)
{
    for (int i = 0; i < kUserMenuEntryCount; ++i)
    {
        ini.GetString(L"FILERUSERMENU", IndexedKey(L"MENU%d", i), L"", &g_UserMenuEntries[i].m_command);
        ini.GetString(L"FILERUSERMENU", IndexedKey(L"VIEW%d", i), L"", &g_UserMenuEntries[i].m_display);
    }
}

void SaveSectionFilerUserMenu(CIniFile& ini)
{
    for (int i = 0; i < kUserMenuEntryCount; ++i)
    {
        ini.WriteString(L"FILERUSERMENU", IndexedKey(L"MENU%d", i), g_UserMenuEntries[i].m_command);
        ini.WriteString(L"FILERUSERMENU", IndexedKey(L"VIEW%d", i), g_UserMenuEntries[i].m_display);
    }
}

static CString MenuKey(int row, int item)
{
    CString key;
    key.Format(L"MENU%02d%02d", row, item);
    return key;
}

void LoadSectionNotViewMenu(CIniFile& ini)
{
    for (int row = 0; row < kHiddenMenuRowCount; ++row)
        for (int item = 0; item < g_HiddenMenuTable[row].itemCount; ++item)
            g_HiddenMenuTable[row].hidden[item] = ini.GetInt(L"NOTVIEWMENU", MenuKey(row, item), 0);
}

void SaveSectionNotViewMenu(CIniFile& ini)
{
    for (int row = 0; row < kHiddenMenuRowCount; ++row)
        for (int item = 0; item < g_HiddenMenuTable[row].itemCount; ++item)
            ini.WriteInt(L"NOTVIEWMENU", MenuKey(row, item), g_HiddenMenuTable[row].hidden[item]);
}

// ---- "NETWORK" ----------------------------------------------------------------------

static const wchar_t kNetwork[] = L"NETWORK";

void LoadSectionNetwork(CIniFile& ini)
{
    g_NetResourcePasswords.RemoveAll();
    for (int i = 0;; ++i)
    {
        CNetResourcePassWord login;
        ini.GetString(kNetwork, IndexedKey(L"RES%d", i), L"", &login.m_remoteName);
        if (login.m_remoteName.IsEmpty())
            break;
        ini.GetString(kNetwork, IndexedKey(L"USER%d", i), L"", &login.m_user);
        ini.GetString(kNetwork, IndexedKey(L"PASS%d", i), L"", &login.m_password);
        ini.GetString(kNetwork, IndexedKey(L"PROV%d", i), L"", &login.m_provider);
        g_NetResourcePasswords.Add(login);
    }
}

void SaveSectionNetwork(CIniFile& ini)
{
    for (int i = 0; i < g_NetResourcePasswords.GetSize(); ++i)
    {
        const CNetResourcePassWord& login = g_NetResourcePasswords[i];
        ini.WriteString(kNetwork, IndexedKey(L"RES%d", i), login.m_remoteName);
        ini.WriteString(kNetwork, IndexedKey(L"USER%d", i), login.m_user);
        ini.WriteString(kNetwork, IndexedKey(L"PASS%d", i), login.m_password);
        ini.WriteString(kNetwork, IndexedKey(L"PROV%d", i), login.m_provider);
    }
}

// ---- "SAVECURPOS" -------------------------------------------------------------------

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

// ---- "MAKENEWFILE" ------------------------------------------------------------------

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

// ---- Small fixed tables -------------------------------------------------------------

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

void LoadSectionTimeMacro(CIniFile& ini)
{
    for (int i = 0; i < 5; ++i)
        ini.GetString(L"TIME_MACRO", IndexedKey(L"DEF%d", i), L"", &g_TimeMacros[i]);
}

void SaveSectionTimeMacro(CIniFile& ini)
{
    for (int i = 0; i < 5; ++i)
        ini.WriteString(L"TIME_MACRO", IndexedKey(L"DEF%d", i), g_TimeMacros[i]);
}

// ---- "FIND_FILE_DLG_INF" ------------------------------------------------------------

static const wchar_t kFindFileDlgInf[] = L"FIND_FILE_DLG_INF";

void LoadSectionFindFileDlgInf(CIniFile& ini)
{
    FindFileDlgState& state = g_FindFileDlgState;
    state.init = ini.GetInt(kFindFileDlgInf, L"INIT", 0);
    state.top = ini.GetInt(kFindFileDlgInf, L"TOP", 0);
    state.left = ini.GetInt(kFindFileDlgInf, L"LEFT", 0);
    state.height = ini.GetInt(kFindFileDlgInf, L"HEIGHT", 0);
    state.width = ini.GetInt(kFindFileDlgInf, L"WIDTH", 0);
    for (int i = 0; i < 5; ++i)
        state.columns[i] = ini.GetInt(kFindFileDlgInf, IndexedKey(L"COLUMN%d", i), 0);
    ini.GetStringList(kFindFileDlgInf, L"SEARCH_FILE%d", g_FindPatternHistory, 10);
    ini.GetStringList(kFindFileDlgInf, L"SEARCH_DIRECTORY_NAME%d", g_FindDirectoryHistory, 10);
    ini.GetStringList(kFindFileDlgInf, L"SEARCH_STRING%d", g_FindTextHistory, 10);
}

void SaveSectionFindFileDlgInf(CIniFile& ini)
{
    const FindFileDlgState& state = g_FindFileDlgState;
    ini.WriteInt(kFindFileDlgInf, L"INIT", state.init);
    ini.WriteInt(kFindFileDlgInf, L"TOP", state.top);
    ini.WriteInt(kFindFileDlgInf, L"LEFT", state.left);
    ini.WriteInt(kFindFileDlgInf, L"HEIGHT", state.height);
    ini.WriteInt(kFindFileDlgInf, L"WIDTH", state.width);
    for (int i = 0; i < 5; ++i)
        ini.WriteInt(kFindFileDlgInf, IndexedKey(L"COLUMN%d", i), state.columns[i]);
    ini.WriteStringList(kFindFileDlgInf, L"SEARCH_FILE%d", g_FindPatternHistory);
    ini.WriteStringList(kFindFileDlgInf, L"SEARCH_DIRECTORY_NAME%d", g_FindDirectoryHistory);
    ini.WriteStringList(kFindFileDlgInf, L"SEARCH_STRING%d", g_FindTextHistory);
}

// ---- "DISP_FILE_SETTING" ------------------------------------------------------------

static const wchar_t kDispFileSetting[] = L"DISP_FILE_SETTING";
constexpr int kDisplayFilterBits = 6;

static CString FormatFilterBits(int mask)
{
    CString text;
    for (int bit = kDisplayFilterBits - 1; bit >= 0; --bit)
        text += (mask >> bit & 1) ? L'1' : L'0';
    return text;
}

// The last character is bit 0; characters beyond the six known bits count for nothing.
static int ParseFilterBits(const CString& text)
{
    int mask = 0;
    int length = text.GetLength();
    for (int bit = 0; bit < kDisplayFilterBits && bit < length; ++bit)
        if (text[length - 1 - bit] == L'1')
            mask |= 1 << bit;
    return mask;
}

void LoadSectionDispFileSetting(CIniFile& ini)
{
    int current =
        (g_HIDDENVIEWFLAG ? DISP_FILTER_HIDDEN : 0) | (g_DISP_SYSTEM_FILE ? DISP_FILTER_SYSTEM : 0) |
        (g_DISP_FIRST_DOT_FILE ? DISP_FILTER_FIRST_DOT : 0) |
        (g_DISP_READ_ONLY_FILE ? DISP_FILTER_READ_ONLY : 0) |
        (g_NOTVIEWCURRENTDIR ? DISP_FILTER_NO_CURRENT : 0) | (g_NOTVIEWUPDIR ? DISP_FILTER_NO_PARENT : 0);
    CString defaultText = FormatFilterBits(current);
    for (int slot = 0; slot < kDisplayFilterSlotCount; ++slot)
        g_DisplayFilterSlots[slot] =
            ParseFilterBits(ReadString(ini, kDispFileSetting, IndexedKey(L"%d", slot), defaultText));
}

void SaveSectionDispFileSetting(CIniFile& ini)
{
    for (int slot = 0; slot < kDisplayFilterSlotCount; ++slot)
        ini.WriteString(kDispFileSetting, IndexedKey(L"%d", slot),
                        FormatFilterBits(g_DisplayFilterSlots[slot]));
}

// ---- "DIALOG_OTHER_WINDOW", "EXECUTE" -----------------------------------------------

void LoadSectionDialogOtherWindow(CIniFile& ini)
{
    for (OtherWindowDialogRow& row : g_OtherWindowDialogs)
        row.flag = ini.GetInt(L"DIALOG_OTHER_WINDOW", row.className, 0);
}

void SaveSectionDialogOtherWindow(CIniFile& ini)
{
    for (const OtherWindowDialogRow& row : g_OtherWindowDialogs)
        ini.WriteInt(L"DIALOG_OTHER_WINDOW", row.className, row.flag);
}

void LoadSectionExecute(CIniFile& ini)
{
    ini.GetString(L"EXECUTE", L"FILE", L"", &g_ExecuteLastFile);
    ini.GetString(L"EXECUTE", L"PARAMETER", L"", &g_ExecuteLastParameter);
}

void SaveSectionExecute(CIniFile& ini)
{
    ini.WriteString(L"EXECUTE", L"FILE", g_ExecuteLastFile);
    ini.WriteString(L"EXECUTE", L"PARAMETER", g_ExecuteLastParameter);
}

// ---- Resets ---------------------------------------------------------------------------
// Each puts its section's records back to the values they are declared with (for a
// second load in the same process, as tests do).

static void ClearListLocked(CStringArray& list)
{
    CHandleLock lock(g_DataMutex);
    list.RemoveAll();
}

void ResetAllDataStrings()
{
    for (const StringSettingRow& row : kAllDataStrings)
        row.variable->Empty();
}

void ResetSectionFilerInfo()
{
    for (FilerInfoPreset& preset : g_FilerInfoPresets)
        preset = FilerInfoPreset();
}

void ResetSectionSpecialCopyTo()
{
    ClearListLocked(g_SpecialCopyToDirs);
}

void ResetSectionWildcard()
{
    ClearListLocked(g_WildcardHistory);
}

void ResetSectionColorData()
{
    for (int i = 0; i < DISPLAY_COLOR_COUNT; ++i)
        g_DisplayColors[i] = kDisplayColorRows[i].defaultValue;
    g_BinaryByteColors.fill(kBinaryByteColorDefault);
    for (KindColorEntry& entry : g_KindColors)
        entry = KindColorEntry();
}

void ResetSectionKindExe()
{
    for (CKindExeEntry& entry : g_KindExeTable)
        entry = CKindExeEntry();
    for (CKindExeEntry& entry : g_KindExeShiftTable)
        entry = CKindExeEntry();
}

void ResetSectionJumpData()
{
    g_JumpGroups.RemoveAll();
}

void ResetSectionSelectDir()
{
    ClearListLocked(g_SelectDirHistory);
}

void ResetSectionFilerBmp()
{
    CHandleLock lock(g_DataMutex);
    g_WallpaperFiles.RemoveAll();
}

void ResetSectionSoundList()
{
    ClearListLocked(g_PlayedFileHistory);
}

void ResetSectionRenameHistory()
{
    ClearListLocked(g_RenameHistory);
}

void ResetSectionExeHistory()
{
    ClearListLocked(g_ExeHistory);
    ClearListLocked(g_ExeParamHistory);
}

void ResetSectionFilerUserMenu()
{
    for (UserMenuEntry& entry : g_UserMenuEntries)
        entry = UserMenuEntry();
}

void ResetSectionNotViewMenu()
{
    for (HiddenMenuRow& row : g_HiddenMenuTable)
        for (int& hidden : row.hidden)
            hidden = 0;
}

void ResetSectionNetwork()
{
    g_NetResourcePasswords.RemoveAll();
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

void ResetSectionTimeMacro()
{
    for (CString& format : g_TimeMacros)
        format.Empty();
}

void ResetSectionFindFileDlgInf()
{
    g_FindFileDlgState = FindFileDlgState();
    ClearListLocked(g_FindPatternHistory);
    ClearListLocked(g_FindDirectoryHistory);
    ClearListLocked(g_FindTextHistory);
}

void ResetSectionDispFileSetting()
{
    for (int& slot : g_DisplayFilterSlots)
        slot = 0;
}

void ResetSectionDialogOtherWindow()
{
    for (OtherWindowDialogRow& row : g_OtherWindowDialogs)
        row.flag = 0;
}

void ResetSectionExecute()
{
    g_ExecuteLastFile.Empty();
    g_ExecuteLastParameter.Empty();
}
