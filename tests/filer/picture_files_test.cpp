// The picture walkers over a folder tree: which files they collect, in which order,
// shortcuts, and folders they must not enter.
#include <gtest/gtest.h>
#include "filer/PictureFiles.h"
#include "tests/common/TestSupport.h"
#include "tests/filer/FilerTestData.h"

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using filertest::MakeFindData;
using filertest::W;

namespace
{
// The stand-in back-ends: the archive side reads the extensions in s_archiveKinds,
// one image plug-in (index 3) reads ".xyz".
std::set<std::wstring> s_archiveKinds;

std::wstring UpperExtension(LPCWSTR name)
{
    std::wstring text(name);
    size_t dot = text.rfind(L'.');
    std::wstring extension = dot == std::wstring::npos ? L"" : text.substr(dot + 1);
    for (wchar_t& c : extension)
        c = static_cast<wchar_t>(towupper(c));
    return extension;
}

int ArchivePictureName(LPCWSTR name)
{
    return s_archiveKinds.count(UpperExtension(name)) ? 1 : 0;
}

int XyzPlugIn(LPCWSTR path)
{
    return UpperExtension(path) == L"XYZ" ? 3 : -1;
}

class PictureFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_saved = g_PictureTestHooks;
        g_PictureTestHooks = {ArchivePictureName, XyzPlugIn};
        s_archiveKinds = {L"JPG", L"PNG"};
        m_root = qvtest::ScratchDir();
    }
    void TearDown() override { g_PictureTestHooks = m_saved; }

    std::wstring Make(const std::wstring& relative)
    {
        std::wstring path = m_root + L"\\" + relative;
        if (!relative.empty() && relative.back() == L'\\')
        {
            path.pop_back();
            EXPECT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << relative;
        }
        else
        {
            EXPECT_TRUE(qvtest::WriteFileBytes(path, "data")) << relative;
        }
        return path;
    }

    static bool MakeShortcut(const std::wstring& link, const std::wstring& target)
    {
        HRESULT init = CoInitialize(nullptr);
        bool ok = false;
        IShellLinkW* shellLink = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                       reinterpret_cast<void**>(&shellLink))))
        {
            IPersistFile* file = nullptr;
            if (SUCCEEDED(shellLink->SetPath(target.c_str())) &&
                SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))))
            {
                ok = SUCCEEDED(file->Save(link.c_str(), TRUE));
                file->Release();
            }
            shellLink->Release();
        }
        if (SUCCEEDED(init))
            CoUninitialize();
        return ok;
    }

    // Full paths below the root, with the root cut off.
    std::vector<std::wstring> Relative(const CArrayFileInfo& entries) const
    {
        std::vector<std::wstring> paths;
        for (INT_PTR i = 0; i < entries.GetSize(); ++i)
        {
            std::wstring path = W(entries[i].GetFullPath());
            if (path.compare(0, m_root.size() + 1, m_root + L"\\") == 0)
                path.erase(0, m_root.size() + 1);
            paths.push_back(path);
        }
        return paths;
    }

    CFileInfo RootEntry(const std::wstring& relative = L"") const
    {
        CFileInfo root;
        root.SetFromPath(nullptr, relative.empty() ? m_root.c_str() : (m_root + L"\\" + relative).c_str());
        return root;
    }

    PictureTestHooks m_saved;
    std::wstring m_root;
};
} // namespace

TEST_F(PictureFilesTest, CollectsPicturesBelowTheFolderAndSortsThemByFolderThenName)
{
    for (const wchar_t* relative :
         {L"b.jpg", L"a.png", L"notes.txt", L"plug.xyz", L"sub\\", L"sub\\c.jpg", L"sub\\deep\\",
          L"sub\\deep\\d.JPG", L"sub\\deep\\e.doc", L"empty\\", L"Sub2\\", L"Sub2\\a.jpg"})
        Make(relative);
    CFileInfo root = RootEntry();

    CArrayFileInfo collected;
    EXPECT_EQ(1, root.CollectPictureFiles(collected));
    std::vector<std::wstring> found = Relative(collected);
    std::sort(found.begin(), found.end());
    EXPECT_EQ((std::vector<std::wstring>{L"Sub2\\a.jpg", L"a.png", L"b.jpg", L"plug.xyz", L"sub\\c.jpg",
                                         L"sub\\deep\\d.JPG"}),
              found);

    // Files of a folder before those of its sub-folders, names in order whatever
    // their case; the path components cached for the sort are dropped again.
    CArrayFileInfo sorted;
    EXPECT_EQ(1, root.ListPictureFilesSorted(sorted));
    std::vector<std::wstring> order = Relative(sorted);
    ASSERT_EQ(6u, order.size());
    EXPECT_EQ((std::vector<std::wstring>{L"a.png", L"b.jpg", L"plug.xyz"}),
              std::vector<std::wstring>(order.begin(), order.begin() + 3));
    // "sub" and "Sub2" in the order of the name comparison, each before its
    // deeper folder.
    auto at = [&](const wchar_t* path) {
        return std::find(order.begin(), order.end(), path) - order.begin();
    };
    EXPECT_LT(at(L"sub\\c.jpg"), at(L"sub\\deep\\d.JPG"));
    EXPECT_LT(at(L"sub\\deep\\d.JPG"), at(L"Sub2\\a.jpg"));
    for (INT_PTR i = 0; i < sorted.GetSize(); ++i)
    {
        EXPECT_EQ(0, sorted[i].m_componentMode) << i;
        EXPECT_EQ(nullptr, sorted[i].m_pathComponents) << i;
    }
}

TEST_F(PictureFilesTest, AFolderLinkIsNotEntered)
{
    Make(L"tree\\");
    Make(L"tree\\a.jpg");
    Make(L"tree\\sub\\");
    Make(L"tree\\sub\\b.jpg");
    Make(L"outside\\");
    Make(L"outside\\c.png");
    // One link back to the tree's own root (an endless walk if entered) and one to a
    // folder outside it.
    if (!qvtest::MakeFolderLink(m_root + L"\\tree\\sub\\loop", m_root + L"\\tree") ||
        !qvtest::MakeFolderLink(m_root + L"\\tree\\away", m_root + L"\\outside"))
        GTEST_SKIP() << "no host link could be made here";

    CArrayFileInfo sorted;
    EXPECT_EQ(1, RootEntry(L"tree").ListPictureFilesSorted(sorted));
    EXPECT_EQ((std::vector<std::wstring>{L"tree\\a.jpg", L"tree\\sub\\b.jpg"}), Relative(sorted));
}

TEST_F(PictureFilesTest, AShortcutCountsAsItsTargetAndAnUnreadableOneByItsOwnName)
{
    s_archiveKinds = {L"JPG", L"LNK"};
    Make(L"pics\\");
    const std::wstring picture = Make(L"pics\\photo.jpg");
    const std::wstring text = Make(L"pics\\readme.txt");
    Make(L"links\\");
    ASSERT_TRUE(MakeShortcut(m_root + L"\\links\\to-photo.lnk", picture));
    ASSERT_TRUE(MakeShortcut(m_root + L"\\links\\to-text.lnk", text));
    Make(L"links\\broken.lnk"); // no shortcut inside

    CArrayFileInfo collected;
    RootEntry(L"links").CollectPictureFiles(collected);
    std::vector<std::wstring> found = Relative(collected);
    std::sort(found.begin(), found.end());
    // The shortcut to a text file is tested as that text file and left out.
    EXPECT_EQ((std::vector<std::wstring>{L"links\\broken.lnk", L"pics\\photo.jpg"}), found);
    for (INT_PTR i = 0; i < collected.GetSize(); ++i)
        EXPECT_EQ(ENTRY_SOURCE_DISK, collected[i].m_source);
}

TEST_F(PictureFilesTest, NothingIsAPictureBeforeTheBackEndsAreJoined)
{
    g_PictureTestHooks = DefaultPictureTestHooks();
    Make(L"a.jpg");
    Make(L"b.xyz");
    CArrayFileInfo collected;
    EXPECT_EQ(1, RootEntry().CollectPictureFiles(collected));
    EXPECT_EQ(0, collected.GetSize());
}

TEST(PictureOrder, ComparesFolderComponentsThenBaseNames)
{
    struct Case
    {
        const wchar_t* directoryA;
        const wchar_t* nameA;
        const wchar_t* directoryB;
        const wchar_t* nameB;
        int expected;
    } cases[] = {
        {L"C:\\a", L"x.jpg", L"C:\\a", L"y.jpg", -1},
        {L"C:\\a", L"y.jpg", L"C:\\a", L"x.jpg", 1},
        {L"C:\\a", L"x.jpg", L"C:\\a", L"x.png", 0},    // extensions are not compared
        {L"C:\\a\\b", L"a.jpg", L"C:\\a", L"z.jpg", 1}, // a folder's files before its sub-folders'
        {L"C:\\a", L"z.jpg", L"C:\\a\\b", L"a.jpg", -1},
        {L"C:\\b", L"a.jpg", L"C:\\a\\z", L"a.jpg", 1}, // folder names before depth
    };
    for (const Case& c : cases)
    {
        CFileInfo a, b;
        a.SetFromDisk(c.directoryA, MakeFindData(c.nameA, false));
        b.SetFromDisk(c.directoryB, MakeFindData(c.nameB, false));
        EXPECT_EQ(c.expected, ComparePictureOrder(a, b))
            << c.directoryA << L"\\" << c.nameA << L" : " << c.directoryB << L"\\" << c.nameB;
    }
}
