#include "app/keys/KeyBindings.h"
#include "util/IniFile.h"

CArrayKeyCmdInfo g_FilerKeyCmds;
CArrayKeyCmdInfo g_ArcInfoKeyCmds;
CArrayKeyCmdInfo g_ViewerKeyCmds;
CArrayKeyCmdInfo g_GraphicKeyCmds;
CArrayKeyCmdInfo g_BinaryKeyCmds;
CArrayKeyCmdInfo g_CommonKeyCmds;

const wchar_t g_SameAsFilerKeyword[] = L"@SameAsFiler";
const wchar_t g_DefaultExeKeyword[] = L"@Defaultexe";

CArrayKeyCmdInfo::CArrayKeyCmdInfo()
{
    SetSize(KEY_TABLE_ROW_COUNT);
}

CKeyCmdEntry& CArrayKeyCmdInfo::GetBinding(int modifier, int keyRow)
{
    if (modifier < 0 || modifier >= KEY_MODIFIER_COUNT)
    {
        AfxThrowInvalidArgException();
    }
    return GetAt(keyRow).entries[modifier];
}

const CKeyCmdEntry& CArrayKeyCmdInfo::GetBinding(int modifier, int keyRow) const
{
    if (modifier < 0 || modifier >= KEY_MODIFIER_COUNT)
    {
        AfxThrowInvalidArgException();
    }
    return GetAt(keyRow).entries[modifier];
}

void CArrayKeyCmdInfo::CopyFrom(const CArrayKeyCmdInfo& source)
{
    if (this == &source)
    {
        return;
    }
    SetSize(source.GetSize());
    for (INT_PTR row = 0; row < source.GetSize(); ++row)
    {
        for (int modifier = 0; modifier < KEY_MODIFIER_COUNT; ++modifier)
        {
            const CKeyCmdEntry& from = source.GetAt(row).entries[modifier];
            CKeyCmdEntry& to = GetAt(row).entries[modifier];
            to.command = from.command;
            to.hotKey = from.hotKey;
            to.imeControl = from.imeControl;
        }
    }
}

void SplitBindingText(const CString& text, CString& head, CString& tail)
{
    int blank = text.Find(L' ');
    if (blank < 0)
    {
        head = text;
        tail.Empty();
        return;
    }
    head = text.Left(blank);
    tail = text.Mid(blank + 1);
}

BOOL IsSameAsFilerBinding(LPCWSTR text)
{
    return text != nullptr && CompareStringOrdinal(text, -1, g_SameAsFilerKeyword, -1, TRUE) == CSTR_EQUAL;
}

BOOL SplitProgramBinding(const CString& text, CString& program, CString& parameters)
{
    CString head, tail;
    SplitBindingText(text, head, tail);
    BOOL defaultExe = head == g_DefaultExeKeyword;
    const CString& programPart = defaultExe ? tail : text;
    int comma = programPart.Find(L',');
    if (comma < 0)
    {
        program = programPart;
        parameters.Empty();
    }
    else
    {
        program = programPart.Left(comma);
        parameters = programPart.Mid(comma + 1);
    }
    return defaultExe;
}

namespace
{

// Which extra integer a set keeps beside each text.
enum KeySetExtra
{
    EXTRA_NONE,
    EXTRA_IME_CONTROL,
    EXTRA_HOT_KEY,
};

// Where a missing text takes its default from.
enum KeySetDefault
{
    DEFAULT_FILER,
    DEFAULT_VIEWER,
    DEFAULT_GRAPHIC,
    DEFAULT_BINARY,
    DEFAULT_SAME_AS_FILER,
    DEFAULT_EMPTY,
};

struct KeySetLayout
{
    CArrayKeyCmdInfo* set;
    LPCWSTR section;
    KeySetDefault defaults;
    KeySetExtra extra;
};

// In the order the sets are written.
const KeySetLayout s_keySets[] = {
    {&g_FilerKeyCmds, L"KEYEXEDATA", DEFAULT_FILER, EXTRA_IME_CONTROL},
    {&g_ViewerKeyCmds, L"VIEWKEYEXEDATA", DEFAULT_VIEWER, EXTRA_NONE},
    {&g_GraphicKeyCmds, L"GRAPHICKEYEXEDATA", DEFAULT_GRAPHIC, EXTRA_NONE},
    {&g_BinaryKeyCmds, L"BINARYKEYEXEDATA", DEFAULT_BINARY, EXTRA_NONE},
    {&g_ArcInfoKeyCmds, L"ARC_INFO_KEY_EXE_DATA", DEFAULT_SAME_AS_FILER, EXTRA_IME_CONTROL},
    {&g_CommonKeyCmds, L"COMMON_KEY_DATA", DEFAULT_EMPTY, EXTRA_HOT_KEY},
};

LPCWSTR DefaultText(KeySetDefault defaults, int row, int modifier)
{
    const KeyTableRow& key = g_KeyTable[row];
    switch (defaults)
    {
    case DEFAULT_FILER:
        return key.filerDefaults[modifier];
    case DEFAULT_VIEWER:
        return key.viewerDefaults[modifier];
    case DEFAULT_GRAPHIC:
        return key.graphicDefaults[modifier];
    case DEFAULT_BINARY:
        return key.binaryDefaults[modifier];
    case DEFAULT_SAME_AS_FILER:
        return g_SameAsFilerKeyword;
    case DEFAULT_EMPTY:
        break;
    }
    return L"";
}

// "N_A", "S_F1", "C_0(TENKEY)" …
CString TextKeyName(int row, int modifier)
{
    static const LPCWSTR prefixes[KEY_MODIFIER_COUNT] = {L"N_", L"S_", L"C_", L"A_"};
    CString name(prefixes[modifier]);
    name += g_KeyTable[row].keyName;
    return name;
}

} // namespace

void LoadKeyBindings(CIniFile& ini)
{
    for (const KeySetLayout& layout : s_keySets)
    {
        layout.set->SetSize(KEY_TABLE_ROW_COUNT);
    }
    for (int row = 0; row < KEY_TABLE_ROW_COUNT; ++row)
    {
        for (int modifier = 0; modifier < KEY_MODIFIER_COUNT; ++modifier)
        {
            CString key = TextKeyName(row, modifier);
            for (const KeySetLayout& layout : s_keySets)
            {
                CKeyCmdEntry& entry = layout.set->GetBinding(modifier, row);
                ini.GetString(layout.section, key, DefaultText(layout.defaults, row, modifier),
                              &entry.command);
                if (layout.extra == EXTRA_IME_CONTROL)
                {
                    entry.imeControl = ini.GetInt(layout.section, key + L"_IME_CTRL", 0);
                }
                else if (layout.extra == EXTRA_HOT_KEY)
                {
                    entry.hotKey = ini.GetInt(layout.section, key + L"_HOT_KEY", 0);
                }
            }
        }
    }
}

void SaveKeyBindings(CIniFile& ini)
{
    for (const KeySetLayout& layout : s_keySets)
    {
        for (int row = 0; row < KEY_TABLE_ROW_COUNT; ++row)
        {
            for (int modifier = 0; modifier < KEY_MODIFIER_COUNT; ++modifier)
            {
                const CKeyCmdEntry& entry = layout.set->GetBinding(modifier, row);
                CString key = TextKeyName(row, modifier);
                ini.WriteString(layout.section, key, entry.command);
                if (layout.extra == EXTRA_IME_CONTROL)
                {
                    ini.WriteInt(layout.section, key + L"_IME_CTRL", entry.imeControl);
                }
                else if (layout.extra == EXTRA_HOT_KEY)
                {
                    CString value;
                    value.Format(L"%u", static_cast<unsigned>(entry.hotKey));
                    ini.WriteString(layout.section, key + L"_HOT_KEY", value);
                }
            }
        }
    }
}

BOOL HasCommonHotKey()
{
    for (INT_PTR row = 0; row < g_CommonKeyCmds.GetSize(); ++row)
    {
        for (const CKeyCmdEntry& entry : g_CommonKeyCmds[row].entries)
        {
            if (entry.hotKey != 0)
            {
                return TRUE;
            }
        }
    }
    return FALSE;
}
