// The new-file kinds: paging and OK of the settings dialog, the registry reading and
// its merge, and the picking dialog.
#include "fileops/newfile/MakeNewFileDlg.h"
#include "res/SyncDialogs.h"
#include "tests/common/DialogHarness.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

CMakeNewFile Kind(LPCWSTR extension, LPCWSTR display, LPCWSTR fill)
{
    CMakeNewFile kind;
    kind.m_extension = extension;
    kind.m_displayName = display;
    kind.m_templateType = fill;
    return kind;
}

std::vector<std::wstring> Describe(const CMakeNewFileArray& kinds)
{
    std::vector<std::wstring> rows;
    for (INT_PTR i = 0; i < kinds.GetSize(); ++i)
        rows.push_back(std::wstring(kinds[i].m_extension) + L"|" + std::wstring(kinds[i].m_displayName) +
                       L"|" + std::wstring(kinds[i].m_templateType));
    return rows;
}

void FillKinds(CMakeNewFileArray& kinds, int count)
{
    kinds.RemoveAll();
    for (int i = 0; i < count; ++i)
    {
        CString extension;
        extension.Format(L"e%d", i);
        kinds.Add(Kind(extension, L"名前", L"Data"));
    }
}

class CDrivenMakeNewFileDlg : public qvtest::CDrivenDialog<CDrivenMakeNewFileDlg, CMakeNewFileDlg>
{
};

class CDrivenMakeNewFileListDlg : public qvtest::CDrivenDialog<CDrivenMakeNewFileListDlg, CMakeNewFileListDlg>
{
};

TEST(NewFileKinds, RowsKeepTheFillKindOnlyWhileTheExtensionStays)
{
    struct Case
    {
        LPCWSTR typed;
        LPCWSTR fill;
    } cases[] = {{L"txt", L"FileName"}, {L"TXT", L"FileName"}, {L"doc", L""}, {L"", L""}};
    for (const Case& c : cases)
    {
        CMakeNewFileArray kinds;
        kinds.Add(Kind(L"txt", L"テキスト", L"FileName"));
        TakeNewFileRow(kinds, 0, c.typed, L"新しい名前");
        TakeNewFileRow(kinds, 1, L"", L"");
        EXPECT_EQ((std::vector<std::wstring>{std::wstring(c.typed) + L"|新しい名前|" + c.fill, L"||"}),
                  Describe(kinds));
    }
}

TEST(NewFileKindsDialog, OkDropsTrailingEmptyKindsButKeepsTheFirstTwentyAndFillKinds)
{
    FillKinds(g_MakeNewFileKinds, 25);
    CDrivenMakeNewFileDlg dialog;
    dialog.drive = [](CDrivenMakeNewFileDlg& d) {
        // Kind 3 emptied on the first page, the whole fifth page emptied.
        d.SetDlgItemText(IDC_NEWFILE_EXT3, L"");
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDC_NEWFILE_PREVIOUS)));
        for (int page = 0; page < 4; ++page)
            d.Command(IDC_NEWFILE_NEXT);
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDC_NEWFILE_PREVIOUS)));
        CString shown;
        d.GetDlgItemText(IDC_NEWFILE_EXT1, shown);
        EXPECT_EQ(L"e20", std::wstring(shown));
        const int edits[] = {IDC_NEWFILE_EXT1, IDC_NEWFILE_EXT2, IDC_NEWFILE_EXT3, IDC_NEWFILE_EXT4,
                             IDC_NEWFILE_EXT5};
        for (int edit : edits)
            d.SetDlgItemText(edit, L"");
        d.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    ASSERT_EQ(20, g_MakeNewFileKinds.GetSize());
    EXPECT_TRUE(g_MakeNewFileKinds[2].m_extension.IsEmpty());
    EXPECT_EQ(L"e19", std::wstring(g_MakeNewFileKinds[19].m_extension));
    EXPECT_EQ(L"Data", std::wstring(g_MakeNewFileKinds[0].m_templateType));
    EXPECT_EQ(L"Data", std::wstring(g_MakeNewFileKinds[19].m_templateType));
    g_MakeNewFileKinds.RemoveAll();
}

TEST(NewFileKindsDialog, CancelLeavesTheListAsItWas)
{
    FillKinds(g_MakeNewFileKinds, 20);
    CDrivenMakeNewFileDlg dialog;
    dialog.drive = [](CDrivenMakeNewFileDlg& d) {
        d.SetDlgItemText(IDC_NEWFILE_EXT1, L"zzz");
        d.Command(IDC_NEWFILE_NEXT);
        d.Command(IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(L"e0", std::wstring(g_MakeNewFileKinds[0].m_extension));
    g_MakeNewFileKinds.RemoveAll();
}

// A classes root of the test's own, in the test's Wine prefix.
class RegistryRoot
{
public:
    RegistryRoot()
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, kPath);
        RegCreateKeyExW(HKEY_CURRENT_USER, kPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root, nullptr);
    }
    ~RegistryRoot()
    {
        RegCloseKey(root);
        RegDeleteTreeW(HKEY_CURRENT_USER, kPath);
    }
    void Set(LPCWSTR key, LPCWSTR name, LPCWSTR value)
    {
        HKEY sub = nullptr;
        RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr);
        RegSetValueExW(sub, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                       static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
        RegCloseKey(sub);
    }
    HKEY root = nullptr;

private:
    static constexpr LPCWSTR kPath = L"Software\\QvTest\\NewFileClasses";
};

TEST(NewFileKinds, RegistryReadingMergesOnlyCompleteRegistrationsTheSameEachTime)
{
    RegistryRoot registry;
    registry.Set(L".qva", nullptr, L"qva.file");
    registry.Set(L".qva\\ShellNew", L"Data", L"abc");
    registry.Set(L"qva.file", nullptr, L"QVA文書");
    registry.Set(L".qvb", nullptr, L"qvb.file");
    registry.Set(L".qvb\\ShellNew", L"Command", L"x.exe");
    registry.Set(L"qvb.file", nullptr, L"QVB");
    registry.Set(L".qvc", nullptr, L"qvc.file");
    registry.Set(L".qvc\\ShellNew", L"NullFile", L"");
    registry.Set(L".qvd", nullptr, L"qvd.file");
    registry.Set(L".qvd\\ShellNew", L"FileName", L"t.qvd");
    registry.Set(L"qvd.file", nullptr, L"QVD");
    registry.Set(L"qvfile", nullptr, L"拡張子でない");

    CMakeNewFileArray kinds;
    kinds.Add(Kind(L"txt", L"テキスト", L"NullFile"));
    kinds.Add(Kind(L"", L"", L""));
    kinds.Add(Kind(L"QVD", L"古い名前", L"Data"));
    const std::vector<std::wstring> expected = {L"txt|テキスト|", L"qva|QVA文書|Data", L"qvd|QVD|FileName"};
    for (int pass = 0; pass < 2; ++pass)
    {
        ASSERT_TRUE(ReadShellNewKinds(registry.root, kinds));
        EXPECT_EQ(expected, Describe(kinds));
    }
}

TEST(NewFileKindsDialog, OkAfterRegistryReadingKeepsTheFillKinds)
{
    RegistryRoot registry;
    registry.Set(L".qva", nullptr, L"qva.file");
    registry.Set(L".qva\\ShellNew", L"Data", L"abc");
    registry.Set(L"qva.file", nullptr, L"QVA文書");
    registry.Set(L".qvd", nullptr, L"qvd.file");
    registry.Set(L".qvd\\ShellNew", L"FileName", L"t.qvd");
    registry.Set(L"qvd.file", nullptr, L"QVD");
    g_MakeNewFileKinds.RemoveAll();
    g_MakeNewFileKinds.SetSize(20);
    CDrivenMakeNewFileDlg dialog;
    dialog.m_classesRoot = registry.root;
    dialog.drive = [](CDrivenMakeNewFileDlg& d) {
        d.Command(IDC_NEWFILE_READ_REGISTRY);
        CString shown;
        d.GetDlgItemText(IDC_NEWFILE_NAME2, shown);
        EXPECT_EQ(L"QVD", std::wstring(shown));
        d.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    ASSERT_EQ(20, g_MakeNewFileKinds.GetSize());
    EXPECT_EQ(L"Data", std::wstring(g_MakeNewFileKinds[0].m_templateType));
    EXPECT_EQ(L"FileName", std::wstring(g_MakeNewFileKinds[1].m_templateType));
    g_MakeNewFileKinds.RemoveAll();
}

TEST(NewFileKindsDialog, ListSkipsEmptySlotsAndReturnsTheWholeListIndex)
{
    g_MakeNewFileKinds.RemoveAll();
    g_MakeNewFileKinds.Add(Kind(L"", L"", L""));
    g_MakeNewFileKinds.Add(Kind(L"txt", L"テキスト", L""));
    g_MakeNewFileKinds.Add(Kind(L"", L"空き", L""));
    g_MakeNewFileKinds.Add(Kind(L"bmp", L"ビットマップ", L""));
    CDrivenMakeNewFileListDlg dialog;
    dialog.drive = [](CDrivenMakeNewFileListDlg& d) {
        EXPECT_EQ((std::vector<std::wstring>{L"テキスト", L"ビットマップ"}),
                  d.ListBoxLines(IDC_NEWFILE_LIST));
        ::SendDlgItemMessageW(d.m_hWnd, IDC_NEWFILE_LIST, LB_SETCURSEL, 1, 0);
        d.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(3, dialog.m_result);
    g_MakeNewFileKinds.RemoveAll();
}

} // namespace
