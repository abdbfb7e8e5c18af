// The customisation tools' sections of the settings file: "KINDEXEDATA" with
// "KINDEXEDATASHIFT", "EXEHISTORY", "LANCHER", "NOTVIEWMENU", "DIALOG_OTHER_WINDOW"
// and "EXECUTE".
#include "app/settings/GeneralToolSettings.h"

#include "app/Directories.h"
#include "util/Formatting.h"
#include "util/Globals.h"
#include "util/IniFile.h"
#include "app/SettingStrings.h"
#include "app/Settings.h"
#include "app/settings/SectionText.h"
#include "app/settings/SettingsSchema.h"
#include "framework/FwLock.h"

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
    ReadSettingRows(ini, L"EXECUTE");
}

void SaveSectionExecute(CIniFile& ini)
{
    WriteSettingRows(ini, L"EXECUTE");
}

void ResetSectionKindExe()
{
    for (CKindExeEntry& entry : g_KindExeTable)
        entry = CKindExeEntry();
    for (CKindExeEntry& entry : g_KindExeShiftTable)
        entry = CKindExeEntry();
}

void ResetSectionExeHistory()
{
    ClearListLocked(g_ExeHistory);
    ClearListLocked(g_ExeParamHistory);
}

void ResetSectionNotViewMenu()
{
    for (HiddenMenuRow& row : g_HiddenMenuTable)
        for (int& hidden : row.hidden)
            hidden = 0;
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
