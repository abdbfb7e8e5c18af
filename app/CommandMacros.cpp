// Expansion of the %-macros of external command lines. A command line is expanded
// twice: once as a whole (lists, folders, times), then once per entry for the macros
// that stand for one entry at a time; each macro belongs to exactly one of the passes,
// so that the second pass can work on the output of the first.
#include "app/CommandMacros.h"
#include "util/Formatting.h"
#include "util/Globals.h"
#include "util/PathHelpers.h"
#include "app/SettingStrings.h"

#include <shellapi.h>

namespace
{

BOOL NoTarget(int, int, BOOL, MacroEntry&)
{
    return FALSE;
}

BOOL NoPane(int, UINT&, UINT&, int&, CString&)
{
    return FALSE;
}

// Position and mode words as the panes use them.
constexpr UINT kPositionActive = 0x1;
constexpr UINT kPositionOther = 0x2;
constexpr UINT kModeFiler = 0x8;
constexpr UINT kModeArchive = 0x100;
constexpr UINT kModesFilerLike = 0x2188;
constexpr int kSubModeDirectory = 1;

struct PaneState
{
    BOOL exists = FALSE;
    UINT position = 0;
    UINT mode = 0;
    int subMode = 0;
    CString currentDir;
};

PaneState ReadPane(int pane)
{
    PaneState state;
    if (pane == 0 || pane == 1)
        state.exists =
            g_MacroPaneAccess.getState(pane, state.position, state.mode, state.subMode, state.currentDir);
    return state;
}

void QuoteItem(CString& item)
{
    if (item.Find(L' ') >= 0)
        item = L"\"" + item + L"\"";
}

// The modifiers "d" and "f" after an entry macro, at most two, in any order.
struct Modifiers
{
    bool folders = false;
    bool nameOnly = false;
};

int ReadModifiers(LPCWSTR p, Modifiers& mods)
{
    int used = 0;
    while (used < 2)
    {
        if (p[used] == L'd' && !mods.folders)
            mods.folders = true;
        else if (p[used] == L'f' && !mods.nameOnly)
            mods.nameOnly = true;
        else
            break;
        ++used;
    }
    return used;
}

enum class EntryMacro
{
    List,       // %m
    ListBoth,   // %mb
    Cursor,     // %c in the whole-list pass
    CursorBase, // %x
    PerFile,    // %i, %l, and %c with cursorAsFile
};

class CExpander
{
public:
    CExpander(int fileIndex, int pane, CString& baseFolder, int cursorAsFile)
        : m_fileIndex(fileIndex), m_pane(pane), m_baseFolder(baseFolder), m_cursorAsFile(cursorAsFile)
    {
    }

    int Run(LPCWSTR templ, CString& out)
    {
        m_own = ReadPane(m_pane);
        m_other = ReadPane(1 - m_pane);
        if (m_baseFolder.IsEmpty())
            m_baseFolder = m_own.currentDir;
        out.Empty();
        bool perFilePass = m_fileIndex >= 0;
        for (LPCWSTR p = templ; *p;)
        {
            if (*p != L'%')
            {
                out += *p++;
                continue;
            }
            int used = 0;
            int result = TryMacro(p + 1, out, used);
            if (result == MACRO_FAILED)
                return MACRO_FAILED;
            if (used == 0)
            {
                out += *p++;
                continue;
            }
            p += 1 + used;
        }
        if (!perFilePass)
            return MACRO_DONE;
        if (!m_sawPerFile)
            return MACRO_FAILED;
        if (!m_entryFound)
            return MACRO_FAILED;
        return m_skipEntry ? MACRO_SKIP_ENTRY : MACRO_ENTRY_EXPANDED;
    }

private:
    // Expands the macro after a "%"; `used` is the number of characters it took (0:
    // not a macro of this pass, copied literally).
    int TryMacro(LPCWSTR p, CString& out, int& used)
    {
        bool perFilePass = m_fileIndex >= 0;
        switch (p[0])
        {
        case L'm': {
            bool both = p[1] == L'b';
            if (perFilePass)
                return MACRO_DONE;
            Modifiers mods;
            int length = 1 + (both ? 1 : 0);
            length += ReadModifiers(p + length, mods);
            used = length;
            return InsertList(both ? EntryMacro::ListBoth : EntryMacro::List, mods, out);
        }
        case L'c':
        case L'x':
        case L'i':
        case L'l': {
            bool isPerFile = p[0] == L'i' || p[0] == L'l' || (p[0] == L'c' && m_cursorAsFile);
            if (isPerFile != perFilePass)
                return MACRO_DONE;
            Modifiers mods;
            used = 1 + ReadModifiers(p + 1, mods);
            if (isPerFile)
                return InsertEntryN(mods, out);
            return InsertList(p[0] == L'x' ? EntryMacro::CursorBase : EntryMacro::Cursor, mods, out);
        }
        case L'f':
        case L'g':
            return FolderMacro(p, out, used);
        case L't':
            if (p[1] >= L'1' && p[1] <= L'5')
            {
                CString formatted;
                if (!g_TimeMacros[p[1] - L'1'].IsEmpty())
                    ExpandTimePattern(g_TimeMacros[p[1] - L'1'], formatted);
                out += formatted;
                used = 2;
            }
            return MACRO_DONE;
        default:
            return MACRO_DONE;
        }
    }

    void FormatItem(const MacroEntry& entry, const Modifiers& mods, bool baseName, bool ownPane,
                    CString& item)
    {
        CString name;
        if (baseName)
            GetMacroBaseName(entry.name, entry.isFolder, name);
        else
            name = entry.name;
        item.Empty();
        if (!mods.nameOnly)
        {
            if (!entry.folder.IsEmpty())
                item = entry.folder;
            else if (ownPane && (m_own.position & kPositionActive) && m_own.mode == kModeArchive)
                item = m_baseFolder;
            if (!item.IsEmpty() && item[item.GetLength() - 1] != L'\\')
                item += L'\\';
        }
        item += name;
        QuoteItem(item);
    }

    int InsertList(EntryMacro kind, const Modifiers& mods, CString& out)
    {
        CString list;
        bool cursorOnly = kind == EntryMacro::Cursor || kind == EntryMacro::CursorBase;
        AppendTargets(m_pane, cursorOnly, kind == EntryMacro::CursorBase, mods, true, list);
        if (kind == EntryMacro::ListBoth && m_other.exists &&
            (m_other.position & (kPositionActive | kPositionOther)) && (m_other.mode & kModesFilerLike))
            AppendTargets(1 - m_pane, false, false, mods, false, list);
        if (list.IsEmpty())
            return MACRO_FAILED;
        out += list;
        return MACRO_DONE;
    }

    void AppendTargets(int pane, bool cursorOnly, bool baseName, const Modifiers& mods, bool ownPane,
                       CString& list)
    {
        MacroEntry entry;
        for (int n = 0; g_MacroPaneAccess.getTarget(pane, n, cursorOnly, entry); ++n)
        {
            if (entry.isFolder && !mods.folders)
                continue;
            CString item;
            FormatItem(entry, mods, baseName, ownPane, item);
            if (!list.IsEmpty())
                list += L' ';
            list += item;
            if (cursorOnly)
                break;
        }
    }

    int InsertEntryN(const Modifiers& mods, CString& out)
    {
        m_sawPerFile = true;
        MacroEntry entry;
        if (!g_MacroPaneAccess.getTarget(m_pane, m_fileIndex, FALSE, entry))
            return MACRO_FAILED;
        m_entryFound = true;
        if (entry.isFolder && !mods.folders)
        {
            m_skipEntry = true;
            return MACRO_DONE;
        }
        CString item;
        FormatItem(entry, mods, false, true, item);
        out += item;
        return MACRO_DONE;
    }

    int FolderMacro(LPCWSTR p, CString& out, int& used)
    {
        CString folder;
        switch (p[1])
        {
        case L'c':
            if (!m_own.exists || !(m_own.position & kPositionActive) || m_own.mode != kModeFiler ||
                m_own.subMode != kSubModeDirectory)
                return MACRO_FAILED;
            folder = m_own.currentDir;
            break;
        case L'o':
            if (!m_other.exists || m_other.position != kPositionOther || m_other.mode != kModeFiler ||
                m_other.subMode != kSubModeDirectory)
                return MACRO_FAILED;
            folder = m_other.currentDir;
            break;
        case L's':
            folder = g_HomeDir;
            break;
        default:
            return MACRO_DONE;
        }
        int length = 2;
        if (p[2] == L'd')
        {
            CString root;
            if (!GetPathRoot(folder, root))
                return MACRO_FAILED;
            folder = root;
            ++length;
        }
        // The per-file pass only checks the condition; the folder went in before.
        if (m_fileIndex >= 0)
            return MACRO_DONE;
        used = length;
        while (folder.GetLength() > 0 && folder[folder.GetLength() - 1] == L'\\')
            folder = folder.Left(folder.GetLength() - 1);
        if (p[0] == L'f')
            folder += L'\\';
        // Text glued to the folder ("%fcsub\file") must stay one path, so only a
        // folder that stands alone gets quotes.
        wchar_t next = p[length];
        if (next == 0 || next == L' ' || next == L'"')
            QuoteItem(folder);
        out += folder;
        return MACRO_DONE;
    }

    int m_fileIndex;
    int m_pane;
    CString& m_baseFolder;
    int m_cursorAsFile;
    PaneState m_own;
    PaneState m_other;
    bool m_sawPerFile = false;
    bool m_entryFound = false;
    bool m_skipEntry = false;
};

} // namespace

MacroPaneAccess g_MacroPaneAccess = {NoTarget, NoPane};

void GetMacroBaseName(LPCWSTR name, BOOL isFolder, CString& out)
{
    out = name;
    if (isFolder)
        return;
    int dot = out.ReverseFind(L'.');
    if (dot > 0)
        out = out.Left(dot);
}

int ExpandCommandMacros(LPCWSTR templ, CString& out, int fileIndex, int pane, CString& baseFolder,
                        int cursorAsFile)
{
    if (templ == nullptr || templ[0] == 0)
        return MACRO_EMPTY_TEMPLATE;
    CExpander expander(fileIndex, pane, baseFolder, cursorAsFile);
    return expander.Run(templ, out);
}

HINSTANCE ShellExecuteUnquoted(HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                               INT show)
{
    CString program = file ? file : L"";
    int length = program.GetLength();
    if (length > 2 && program[0] == L'"' && program[length - 1] == L'"')
        program = program.Mid(1, length - 2);
    return ShellExecuteW(window, verb, program, parameters, directory, show);
}
