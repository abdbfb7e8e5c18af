// The attribute dialog's apply: the value replaces the attribute word, the walk
// inside folders, and a stop after a failure.
#include "app/dialogs/DialogAnswerScript.h"
#include "fileops/dialogs/AttributeDlg.h"
#include "filer/FilerPane.h"
#include "res/FileDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestSupport.h"
#include "tests/fileops/FileopsTestHelpers.h"

#include <gtest/gtest.h>
#include <string>

using fileopstest::MakeDir;
using fileopstest::MakeFile;

namespace
{

const DWORD kSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// The entry as a pane lists it.
CFileInfo Entry(const std::wstring& path)
{
    WIN32_FIND_DATAW data = {};
    HANDLE find = FindFirstFileW(path.c_str(), &data);
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    CFileInfo entry;
    entry.SetFromDisk(path.substr(0, path.rfind(L'\\')).c_str(), data);
    return entry;
}

DWORD Attributes(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str());
}

TEST(AttributeApply, TheValueReplacesTheWholeAttributeWord)
{
    const std::wstring dir = qvtest::ScratchDir();
    const std::wstring file = MakeFile(dir, L"f.txt", "x");
    struct Case
    {
        DWORD before, value;
    } cases[] = {
        {FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_READONLY},
        {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN},
        {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, 0},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(SetFileAttributesW(file.c_str(), c.before));
        CArrayFileInfo targets;
        targets.AddEntry(Entry(file));
        CAttributeDlg dialog(0);
        dialog.ApplyToEntries(targets, c.value);
        EXPECT_EQ(Attributes(file) & kSettable, c.value) << c.before << " " << c.value;
    }
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(AttributeApply, InsideFoldersTheFoldersAreSparedWhenAsked)
{
    const std::wstring dir = qvtest::ScratchDir();
    const std::wstring top = MakeDir(dir, L"top");
    const std::wstring sub = MakeDir(dir, L"top\\sub");
    const std::wstring f1 = MakeFile(dir, L"top\\f1.txt", "1");
    const std::wstring f2 = MakeFile(dir, L"top\\sub\\f2.txt", "2");
    for (int spare = 1; spare >= 0; --spare)
    {
        for (const std::wstring& path : {top, sub, f1, f2})
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        CArrayFileInfo targets;
        targets.AddEntry(Entry(top));
        CAttributeDlg dialog(0);
        dialog.m_bInside = 1;
        dialog.m_bSpareFolders = spare;
        dialog.ApplyToEntries(targets, FILE_ATTRIBUTE_HIDDEN);
        EXPECT_TRUE(Attributes(f1) & FILE_ATTRIBUTE_HIDDEN) << spare;
        EXPECT_TRUE(Attributes(f2) & FILE_ATTRIBUTE_HIDDEN) << spare;
        EXPECT_EQ((Attributes(sub) & FILE_ATTRIBUTE_HIDDEN) != 0, spare == 0) << spare;
        EXPECT_EQ((Attributes(top) & FILE_ATTRIBUTE_HIDDEN) != 0, spare == 0) << spare;
        EXPECT_TRUE(Attributes(top) & FILE_ATTRIBUTE_DIRECTORY);
    }
    // Without the inside flag only the folder itself changes.
    SetFileAttributesW(f1.c_str(), FILE_ATTRIBUTE_NORMAL);
    CArrayFileInfo targets;
    targets.AddEntry(Entry(top));
    CAttributeDlg dialog(0);
    dialog.ApplyToEntries(targets, FILE_ATTRIBUTE_SYSTEM);
    EXPECT_FALSE(Attributes(f1) & FILE_ATTRIBUTE_SYSTEM);
    EXPECT_TRUE(Attributes(top) & FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesW(top.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(AttributeApply, NoAfterAFailureInsideStopsTheRest)
{
    const std::wstring dir = qvtest::ScratchDir();
    const std::wstring folder = MakeDir(dir, L"a");
    const std::wstring later = MakeFile(dir, L"b.txt", "b");
    if (!fileopstest::MakeUnopenableEntry(folder + L"\\broken"))
        GTEST_SKIP() << "no host socket";
    for (INT_PTR answer : {IDNO, IDYES})
    {
        SetFileAttributesW(later.c_str(), FILE_ATTRIBUTE_NORMAL);
        SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
        CArrayFileInfo targets;
        targets.AddEntry(Entry(folder));
        targets.AddEntry(Entry(later));
        CDialogAnswerScript script;
        script.Add(answer);
        CAttributeDlg dialog(0);
        dialog.m_bInside = 1;
        dialog.ApplyToEntries(targets, FILE_ATTRIBUTE_HIDDEN);
        const auto questions = script.GetQuestions();
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_EQ(std::wstring(questions[0].text), folder + L"\\brokenの属性変更に失敗しました続けますか");
        EXPECT_EQ(std::wstring(questions[0].caption), L"確認");
        const bool goOn = answer == IDYES;
        EXPECT_EQ((Attributes(later) & FILE_ATTRIBUTE_HIDDEN) != 0, goOn);
        EXPECT_EQ((Attributes(folder) & FILE_ATTRIBUTE_HIDDEN) != 0, goOn);
    }
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesW(later.c_str(), FILE_ATTRIBUTE_NORMAL);
}

class DrivenAttributeDlg : public qvtest::CDrivenDialog<DrivenAttributeDlg, CAttributeDlg>
{
public:
    using CDrivenDialog::CDrivenDialog;
};

TEST(AttributeDialog, BoxesShowWhatAnyTargetHasAndOkSetsThem)
{
    const std::wstring dir = qvtest::ScratchDir();
    const std::wstring a = MakeFile(dir, L"a.txt", "a");
    const std::wstring b = MakeFile(dir, L"b.txt", "b");
    SetFileAttributesW(a.c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(b.c_str(), FILE_ATTRIBUTE_HIDDEN);
    CFilerPane* saved = g_Panes[0];
    CFilerPane pane(0);
    pane.ChangeDirectory(dir.c_str(), PATH_VISIT_NAVIGATE, FALSE, FALSE);
    g_Panes[0] = &pane;
    for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
        if (!pane.m_entries[i].IsDots())
            pane.SetEntryMark(i, 1);

    DrivenAttributeDlg dialog(0);
    UINT readOnly = 0, hidden = 0, system = 1;
    dialog.drive = [&](DrivenAttributeDlg& d) {
        readOnly = d.IsDlgButtonChecked(IDC_ATTR_READONLY);
        hidden = d.IsDlgButtonChecked(IDC_ATTR_HIDDEN);
        system = d.IsDlgButtonChecked(IDC_ATTR_SYSTEM);
        d.CheckDlgButton(IDC_ATTR_READONLY, BST_UNCHECKED);
        d.Command(IDOK);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(readOnly, static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(hidden, static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(system, static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(Attributes(a) & kSettable, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(Attributes(b) & kSettable, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    g_Panes[0] = saved;
    SetFileAttributesW(a.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesW(b.c_str(), FILE_ATTRIBUTE_NORMAL);
}

} // namespace

namespace
{

// A link back to an outer folder is not entered again: the walks end.
TEST(AttributeApply, WalksInsideFoldersEndOnALinkCycle)
{
    const std::wstring dir = qvtest::ScratchDir();
    const std::wstring top = MakeDir(dir, L"top");
    const std::wstring file = MakeFile(dir, L"top\\inner\\f.txt", "f");
    if (!fileopstest::MakeFolderLink(top + L"\\inner\\loop", top))
        GTEST_SKIP() << "no host link";
    CAttributeDlg attributes(0);
    EXPECT_EQ(attributes.ApplyInside(Entry(top), FILE_ATTRIBUTE_HIDDEN), WALK_DONE);
    EXPECT_TRUE(Attributes(file) & FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

} // namespace
