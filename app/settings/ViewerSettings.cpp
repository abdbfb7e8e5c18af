// The text viewer's sections of the settings file: "VIEWERSETTING",
// "VIEWER_SEARCH_STRING" and "VIEW_HISTORY".
#include "app/settings/ViewerSettings.h"
#include "app/KeywordBuilders.h"

#include "app/Directories.h"
#include "util/Formatting.h"
#include "util/Globals.h"
#include "util/IniFile.h"
#include "app/SettingStrings.h"
#include "app/Settings.h"
#include "app/records/ViewFileHistory.h"
#include "app/settings/SectionText.h"
#include "app/settings/SettingsSchema.h"
#include "framework/FwLock.h"

void LoadSectionViewerSetting(CIniFile& ini)
{
    for (int i = 0; i < VIEWER_LINE_WIDTH_COUNT; ++i)
        g_ViewerLineWidths[i] =
            ini.GetInt(L"VIEWERSETTING", IndexedKey(L"SETTING%d", i), kDefaultViewerLineWidth);
    for (int i = 0; i < VIEWER_KIND_ROW_COUNT; ++i)
    {
        ViewerKindRow& row = g_ViewerKindRows[i];
        row.extension = ReadString(ini, L"VIEWERSETTING", IndexedKey(L"KIND%d", i), L"");
        row.lineWidth = ini.GetInt(L"VIEWERSETTING", IndexedKey(L"KINDWORDS%d", i), kDefaultViewerLineWidth);
        row.tabWidth = ini.GetInt(L"VIEWERSETTING", IndexedKey(L"KINDTAB%d", i), kDefaultViewerTabWidth);
    }
    ReadSettingRows(ini, L"VIEWERSETTING");
    g_LineReturnCodeLength = g_LineReturnCode.GetLength();
    // The menus name the five characters-per-line commands after these choices.
    SetLineWidthCommandNames(g_ViewerLineWidths);
}

void SaveSectionViewerSetting(CIniFile& ini)
{
    for (int i = 0; i < VIEWER_LINE_WIDTH_COUNT; ++i)
        ini.WriteInt(L"VIEWERSETTING", IndexedKey(L"SETTING%d", i), g_ViewerLineWidths[i]);
    for (int i = 0; i < VIEWER_KIND_ROW_COUNT; ++i)
    {
        const ViewerKindRow& row = g_ViewerKindRows[i];
        ini.WriteString(L"VIEWERSETTING", IndexedKey(L"KIND%d", i), row.extension);
        ini.WriteInt(L"VIEWERSETTING", IndexedKey(L"KINDWORDS%d", i), row.lineWidth);
        ini.WriteInt(L"VIEWERSETTING", IndexedKey(L"KINDTAB%d", i), row.tabWidth);
    }
    WriteSettingRows(ini, L"VIEWERSETTING");
}

void LoadSectionViewerSearchString(CIniFile& ini)
{
    CStringArray list;
    ini.GetStringList(L"VIEWER_SEARCH_STRING", L"%d", list, VIEWER_SEARCH_HISTORY_MAX);
    {
        CHandleLock lock(g_DataMutex);
        g_ViewerSearchHistory.Copy(list);
    }
}

void SaveSectionViewerSearchString(CIniFile& ini)
{
    ini.WriteStringList(L"VIEWER_SEARCH_STRING", L"%d", g_ViewerSearchHistory);
}

void LoadSectionViewHistory(CIniFile& ini)
{
    g_ViewHistory.RemoveAll();
    for (int i = static_cast<int>(CArrayViewFile::MAX_ENTRIES) - 1; i >= 0; --i)
    {
        CString name = ReadString(ini, L"VIEW_HISTORY", IndexedKey(L"FILE_NAME%d", i), L"");
        if (name.IsEmpty())
            continue;
        CString path = ReadString(ini, L"VIEW_HISTORY", IndexedKey(L"PATH%d", i), L"");
        CString archive = ReadString(ini, L"VIEW_HISTORY", IndexedKey(L"ARCHIVE_PATH%d", i), L"");
        if (!path.IsEmpty() || !archive.IsEmpty())
            g_ViewHistory.Add(name, path, archive);
    }
}

void SaveSectionViewHistory(CIniFile& ini)
{
    for (INT_PTR i = 0; i < g_ViewHistory.GetCount(); ++i)
    {
        const CViewFile& entry = g_ViewHistory[i];
        ini.WriteString(L"VIEW_HISTORY", IndexedKey(L"FILE_NAME%d", static_cast<int>(i)), entry.m_name);
        ini.WriteString(L"VIEW_HISTORY", IndexedKey(L"PATH%d", static_cast<int>(i)), entry.m_folder);
        ini.WriteString(L"VIEW_HISTORY", IndexedKey(L"ARCHIVE_PATH%d", static_cast<int>(i)), entry.m_archive);
    }
}

void ResetSectionViewerSetting()
{
    for (int& width : g_ViewerLineWidths)
        width = kDefaultViewerLineWidth;
    for (ViewerKindRow& row : g_ViewerKindRows)
        row = ViewerKindRow();
    g_ViewerLeftDblClickAct = kDefaultViewerLeftDblClickAct;
    g_ViewerRightDblClickAct.Empty();
    g_LineReturnCode = kDefaultLineReturnCode;
    g_LineReturnCodeLength = g_LineReturnCode.GetLength();
}

void ResetSectionViewerSearchString()
{
    CHandleLock lock(g_DataMutex);
    g_ViewerSearchHistory.RemoveAll();
}

void ResetSectionViewHistory()
{
    g_ViewHistory.RemoveAll();
}
