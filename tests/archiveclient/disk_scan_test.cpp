#include "archiveclient/scan/DiskItems.h"

#include "archiveclient/base/ReparsePoints.h"
#include "tests/fs/MarkingFindApi.h"
#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace
{

struct CScanRecorder : public IDirItemsCallback
{
    HRESULT ScanError(const UString& path, uint32_t systemError) override
    {
        Errors.emplace_back(path.Chars(), systemError);
        return ErrorResult;
    }
    HRESULT ScanProgress(const CDiskScanStats&, const UString& path, bool) override
    {
        Progress.push_back(path.Chars());
        return ProgressResult;
    }

    std::vector<std::pair<std::wstring, uint32_t>> Errors;
    std::vector<std::wstring> Progress;
    HRESULT ErrorResult = S_OK;
    HRESULT ProgressResult = S_OK;
};

// A scratch tree: names ending in '\' are directories, the others files of 3 bytes.
std::wstring MakeTree(std::initializer_list<const wchar_t*> names)
{
    std::wstring root = qvtest::ScratchDir();
    for (const wchar_t* name : names)
    {
        std::wstring path = root + L"\\" + name;
        if (path.back() == L'\\')
            CreateDirectoryW(path.c_str(), nullptr);
        else
            qvtest::WriteFileBytes(path, "abc");
    }
    return root + L"\\";
}

std::vector<std::wstring> StoredPaths(const CDiskItemList& list)
{
    std::vector<std::wstring> paths;
    for (uint32_t i = 0; i < list.Items.Count(); i++)
        paths.push_back(list.GetStoredPath(i).Chars());
    std::sort(paths.begin(), paths.end());
    return paths;
}

// Passes every call on and keeps the paths of the find calls.
class CRecordingFindApi : public CFindApi
{
public:
    CRecordingFindApi() { m_old = SetFindApi(this); }
    ~CRecordingFindApi() override { SetFindApi(m_old); }
    HANDLE FirstFile(const wchar_t* path, WIN32_FIND_DATAW* data) override
    {
        Paths.push_back(path);
        return CFindApi::FirstFile(path, data);
    }
    std::vector<std::wstring> Paths;

private:
    CFindApi* m_old;
};

TEST(DiskScanTest, FixedNamesAreLookedUpWithoutListing)
{
    std::wstring root = MakeTree({L"a.txt", L"sub\\", L"sub\\b.txt"});
    CPathFilter filter;
    filter.AddPattern(2, true, L"a.txt", false, true, root.c_str());
    filter.AddPattern(2, true, L"missing.txt", false, true, root.c_str());
    // Named as a directory, but a file on disk.
    filter.AddPattern(2, true, L"a.txt\\", false, true, root.c_str());
    CDiskItemList list;
    CScanRecorder recorder;
    list.Callback = &recorder;
    CRecordingFindApi finds;
    ASSERT_EQ(filter.CollectDiskItems(2, UString(), list), S_OK);

    ASSERT_EQ(list.Items.Count(), 1u);
    EXPECT_EQ(std::wstring(list.GetDiskPath(0).Chars()), root + L"a.txt");
    EXPECT_EQ(list.Stats.NumFiles, 1u);
    EXPECT_EQ(list.Stats.FilesSize, 3u);
    EXPECT_EQ(list.Stats.NumErrors, 2u);
    ASSERT_EQ(recorder.Errors.size(), 2u);
    EXPECT_EQ(recorder.Errors[0].first, root + L"missing.txt");
    EXPECT_EQ(recorder.Errors[0].second, static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(recorder.Errors[1].first, root + L"a.txt");
    EXPECT_EQ(recorder.Errors[1].second, static_cast<uint32_t>(E_FAIL));
    for (const std::wstring& path : finds.Paths)
        EXPECT_NE(path.back(), L'*') << path;
}

TEST(DiskScanTest, WalksLeaveNoPrefixForFoldersWithoutItems)
{
    const struct
    {
        const wchar_t* Include;
        const wchar_t* Exclude;
        std::vector<std::wstring> Expected;
        uint32_t Prefixes;
    } cases[] = {
        {L"*.txt", nullptr, {L"a.txt", L"d1\\b.txt"}, 2},
        {L"*", L"empty", {L"a.txt", L"d1", L"d1\\b.txt", L"d2", L"d2\\x.bin"}, 3},
        {L"*", nullptr, {L"a.txt", L"d1", L"d1\\b.txt", L"d2", L"d2\\x.bin", L"empty"}, 3},
        // The exclude wins over the include of the same name.
        {L"*", L"d?", {L"a.txt", L"empty"}, 1},
    };
    for (const auto& c : cases)
    {
        std::wstring root = MakeTree({L"a.txt", L"d1\\", L"d1\\b.txt", L"empty\\", L"d2\\", L"d2\\x.bin"});
        CPathFilter filter;
        filter.AddPattern(2, true, c.Include, true, true, root.c_str());
        if (c.Exclude != nullptr)
            filter.AddPattern(2, false, c.Exclude, true, true, root.c_str());
        CDiskItemList list;
        ASSERT_EQ(filter.CollectDiskItems(1, UString(L"stored\\"), list), S_OK);
        std::vector<std::wstring> expected;
        for (const std::wstring& path : c.Expected)
            expected.push_back(L"stored\\" + path);
        EXPECT_EQ(StoredPaths(list), expected) << c.Include;
        // The root, the stored prefix and one per folder that holds items.
        EXPECT_EQ(list.Prefixes.Count(), c.Prefixes + 1) << c.Include;
        EXPECT_EQ(list.Stats.NumErrors, 0u);
        // The lists hold no room beyond their contents once the scan is done.
        EXPECT_EQ(list.Prefixes.Capacity(), list.Prefixes.Count()) << c.Include;
        EXPECT_EQ(list.DiskParents.Capacity(), list.DiskParents.Count()) << c.Include;
        EXPECT_EQ(list.StoredParents.Capacity(), list.StoredParents.Count()) << c.Include;
        EXPECT_EQ(list.Items.Capacity(), list.Items.Count()) << c.Include;
    }
}

TEST(DiskScanTest, EqualSecurityDescriptorsShareOneIndex)
{
    std::wstring root = MakeTree({L"a.txt", L"b.txt"});
    CPathFilter filter;
    filter.AddPattern(2, true, L"*", false, true, root.c_str());
    CDiskItemList list;
    list.ReadSecurity = true;
    ASSERT_EQ(filter.CollectDiskItems(2, UString(), list), S_OK);
    ASSERT_EQ(list.Items.Count(), 2u);
    EXPECT_GE(list.Items.At(0).SecureIndex, 0);
    EXPECT_EQ(list.Items.At(0).SecureIndex, list.Items.At(1).SecureIndex);
    EXPECT_EQ(list.Stats.NumErrors, 0u);
}

// Shows a directory "sub\loop" of the scratch tree as a link to another folder of the
// tree: the find and identity calls for paths through it go to the target.
class CLinkedTree : public CMarkingFindApi, public CFileIdentityApi, public CReparseApi
{
public:
    CLinkedTree(const std::wstring& link, const std::wstring& target) : m_link(link), m_target(target)
    {
        m_oldFind = SetFindApi(this);
        m_oldIdentity = SetFileIdentityApi(this);
        m_oldReparse = SetReparseApi(this);
    }
    ~CLinkedTree() override
    {
        SetFindApi(m_oldFind);
        SetFileIdentityApi(m_oldIdentity);
        SetReparseApi(m_oldReparse);
    }

    bool GetDirectoryIdentity(const wchar_t* path, CFileIdentity& identity) override
    {
        std::wstring real;
        return Redirect(path, real) && CFileIdentityApi::GetDirectoryIdentity(real.c_str(), identity);
    }
    bool GetReparseData(CFileHandle&, const wchar_t* path, void* buffer, DWORD size, DWORD& returned) override
    {
        CByteBlock data;
        if (m_link != path || !BuildReparseData(data, UString(m_target.c_str()), false) || data.Size() > size)
            return false;
        memcpy(buffer, data.Data(), static_cast<size_t>(data.Size()));
        returned = static_cast<DWORD>(data.Size());
        return true;
    }

private:
    // Follows the link as often as the path passes through it; a walk that never ends
    // is cut off here, so that the test fails instead of running forever.
    bool Redirect(const wchar_t* path, std::wstring& real) override
    {
        real = path;
        for (int depth = 0; real.compare(0, m_link.size(), m_link) == 0 &&
                            (real.size() == m_link.size() || real[m_link.size()] == L'\\');
             depth++)
        {
            if (depth == 30)
            {
                SetLastError(ERROR_PATH_NOT_FOUND);
                return false;
            }
            real = m_target + real.substr(m_link.size());
        }
        return true;
    }
    void Mark(WIN32_FIND_DATAW* data) override
    {
        if (std::wstring(data->cFileName) == L"loop")
            data->dwFileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    }

    std::wstring m_link;
    std::wstring m_target;
    CFindApi* m_oldFind;
    CFileIdentityApi* m_oldIdentity;
    CReparseApi* m_oldReparse;
};

TEST(DiskScanTest, LinkLoopsEndAndStoredLinksAreNotEntered)
{
    const struct
    {
        const wchar_t* Target; // relative to the tree's root
        bool StoreLinks;
        std::vector<std::wstring> Expected;
        size_t Errors;
    } cases[] = {
        {L"", false, {L"f.txt", L"other", L"other\\o.txt", L"sub", L"sub\\loop", L"sub\\s.txt"}, 1},
        {L"sub", false, {L"f.txt", L"other", L"other\\o.txt", L"sub", L"sub\\loop", L"sub\\s.txt"}, 1},
        // A link elsewhere is entered like a directory, unless links are stored as links.
        {L"other",
         false,
         {L"f.txt", L"other", L"other\\o.txt", L"sub", L"sub\\loop", L"sub\\loop\\o.txt", L"sub\\s.txt"},
         0},
        {L"", true, {L"f.txt", L"other", L"other\\o.txt", L"sub", L"sub\\loop", L"sub\\s.txt"}, 0},
        {L"other", true, {L"f.txt", L"other", L"other\\o.txt", L"sub", L"sub\\loop", L"sub\\s.txt"}, 0},
    };
    for (const auto& c : cases)
    {
        std::wstring root =
            MakeTree({L"f.txt", L"sub\\", L"sub\\s.txt", L"sub\\loop\\", L"other\\", L"other\\o.txt"});
        std::wstring target = root + c.Target;
        if (target.back() == L'\\')
            target.pop_back();
        CLinkedTree tree(root + L"sub\\loop", target);
        CPathFilter filter;
        filter.AddPattern(2, true, L"*", true, true, root.c_str());
        CDiskItemList list;
        list.StoreLinks = c.StoreLinks;
        CScanRecorder recorder;
        list.Callback = &recorder;
        ASSERT_EQ(filter.CollectDiskItems(1, UString(), list), S_OK) << c.Target;
        for (uint32_t i = 0; i < list.Items.Count(); i++)
        {
            const CDiskItem& item = list.Items.At(i);
            bool isLink = item.Name.Equals(L"loop");
            EXPECT_EQ(item.ReparseData.Size() != 0, isLink && c.StoreLinks) << item.Name.Chars();
            CReparseInfo info;
            if (item.ReparseData.Size() != 0 &&
                info.Parse(item.ReparseData.Data(), static_cast<size_t>(item.ReparseData.Size())))
            {
                UString linkTarget;
                info.GetPath(linkTarget);
                EXPECT_EQ(std::wstring(linkTarget.Chars()), target);
            }
        }
        EXPECT_EQ(StoredPaths(list), c.Expected) << c.Target;
        ASSERT_EQ(recorder.Errors.size(), c.Errors) << c.Target;
        EXPECT_EQ(list.Stats.NumErrors, c.Errors);
        if (c.Errors != 0)
        {
            EXPECT_EQ(recorder.Errors[0].first, root + L"sub\\loop");
            EXPECT_EQ(recorder.Errors[0].second, static_cast<uint32_t>(ERROR_CANT_RESOLVE_FILENAME));
        }
    }
}

TEST(DiskScanTest, CallbackResultOtherThanOkEndsTheScan)
{
    for (bool fromProgress : {false, true})
    {
        std::wstring root = MakeTree({L"a.txt", L"b.txt"});
        CPathFilter filter;
        filter.AddPattern(2, true, L"missing.txt", false, true, root.c_str());
        filter.AddPattern(2, true, L"a.txt", false, true, root.c_str());
        CDiskItemList list;
        CScanRecorder recorder;
        (fromProgress ? recorder.ProgressResult : recorder.ErrorResult) = E_ABORT;
        list.Callback = &recorder;
        EXPECT_EQ(filter.CollectDiskItems(2, UString(), list), E_ABORT);
        EXPECT_EQ(list.Items.Count(), 0u);
        EXPECT_EQ(recorder.Progress.size(), 1u);
        EXPECT_EQ(recorder.Errors.size(), fromProgress ? 0u : 1u);
    }
}

TEST(DiskScanTest, AbsoluteLinkIntoTheArchiveRootGetsAFixedTarget)
{
    const struct
    {
        const wchar_t* Target;
        bool SymLink;
        const wchar_t* Fixed; // null: no fixed data
    } cases[] = {
        {L"C:\\data\\x\\y", true, L"C:\\x\\y"},
        {L"C:\\data\\x\\y", false, L"C:\\x\\y"},
        {L"x\\y", true, nullptr},
        {L"C:\\elsewhere\\y", true, nullptr},
    };
    for (const auto& c : cases)
    {
        CDiskItemList list;
        list.StoreLinks = true;
        int32_t base = list.AddPrefix(-1, -1, UString(L"C:\\data\\"));
        int32_t dir = list.AddPrefix(base, -1, UString(L"dir\\"));
        CFsEntryInfo entry;
        entry.Name = L"link";
        entry.Attrib = FILE_ATTRIBUTE_REPARSE_POINT;
        list.AddItem(dir, dir, -1, entry);
        ASSERT_TRUE(BuildReparseData(list.Items.At(0).ReparseData, UString(c.Target), c.SymLink)) << c.Target;
        ASSERT_STREQ(list.GetStoredPath(0).Chars(), L"dir\\link");
        list.FillFixedReparse();
        const CByteBlock& fixed = list.Items.At(0).FixedReparseData;
        if (c.Fixed == nullptr)
        {
            EXPECT_EQ(fixed.Size(), 0u) << c.Target;
            continue;
        }
        CReparseInfo info;
        ASSERT_TRUE(info.Parse(fixed.Data(), static_cast<size_t>(fixed.Size()))) << c.Target;
        UString path;
        info.GetPath(path);
        EXPECT_STREQ(path.Chars(), c.Fixed);
        EXPECT_EQ(info.Tag, c.SymLink ? 0xA000000Cu : 0xA0000003u);
    }
}

// Shows one entry of a scratch tree as a reparse point with a given size and given
// reparse data, and keeps the paths whose streams are listed (none are found).
class CMarkedEntry : public CMarkingFindApi, public CReparseApi
{
public:
    CMarkedEntry(const wchar_t* name, DWORD size, const CByteBlock& data) : m_name(name), m_size(size)
    {
        m_data.CopyFrom(data.Data(), data.Size());
        m_oldFind = SetFindApi(this);
        m_oldReparse = SetReparseApi(this);
    }
    ~CMarkedEntry() override
    {
        SetFindApi(m_oldFind);
        SetReparseApi(m_oldReparse);
    }

    HANDLE FirstStream(const wchar_t* path, WIN32_FIND_STREAM_DATA*) override
    {
        StreamPaths.push_back(path);
        SetLastError(ERROR_HANDLE_EOF);
        return INVALID_HANDLE_VALUE;
    }
    bool GetReparseData(CFileHandle&, const wchar_t*, void* buffer, DWORD size, DWORD& returned) override
    {
        if (m_data.Size() > size)
            return false;
        memcpy(buffer, m_data.Data(), static_cast<size_t>(m_data.Size()));
        returned = static_cast<DWORD>(m_data.Size());
        // A read that works tells nothing through the last error.
        SetLastError(0);
        return true;
    }

    std::vector<std::wstring> StreamPaths;

protected:
    void Mark(WIN32_FIND_DATAW* data) override
    {
        if (m_name != data->cFileName)
            return;
        data->dwFileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
        data->nFileSizeHigh = 0;
        data->nFileSizeLow = m_size;
    }

private:
    std::wstring m_name;
    DWORD m_size;
    CByteBlock m_data;
    CFindApi* m_oldFind;
    CReparseApi* m_oldReparse;
};

TEST(DiskScanTest, LinkNamedDirectlyTakesOffOnlyTheSizeItCounted)
{
    const struct
    {
        const wchar_t* Name; // a directory when it ends in '\'
        DWORD ReportedSize;
        uint64_t Dirs;
        uint64_t Files;
    } cases[] = {
        // Some file systems report a size for a directory; it was never counted.
        {L"dlink\\", 4096, 1, 0},
        {L"flink", 3, 0, 1},
    };
    for (const auto& c : cases)
    {
        std::wstring name = c.Name;
        std::wstring root = MakeTree({c.Name});
        if (name.back() == L'\\')
            name.pop_back();
        CByteBlock link;
        ASSERT_TRUE(BuildReparseData(link, UString(L"C:\\elsewhere"), true));
        CMarkedEntry marked(name.c_str(), c.ReportedSize, link);
        CPathFilter filter;
        filter.AddPattern(2, true, name.c_str(), false, true, root.c_str());
        CDiskItemList list;
        list.StoreLinks = true;
        ASSERT_EQ(filter.CollectDiskItems(2, UString(), list), S_OK) << c.Name;
        ASSERT_EQ(list.Items.Count(), 1u) << c.Name;
        EXPECT_NE(list.Items.At(0).ReparseData.Size(), 0u) << c.Name;
        EXPECT_EQ(list.Stats.NumDirs, c.Dirs) << c.Name;
        EXPECT_EQ(list.Stats.NumFiles, c.Files) << c.Name;
        EXPECT_EQ(list.Stats.FilesSize, 0u) << c.Name;
        EXPECT_EQ(list.Stats.NumErrors, 0u) << c.Name;
    }
}

TEST(DiskScanTest, ReparsePointThatIsNoLinkIsReportedWithAnError)
{
    std::wstring root = MakeTree({L"packed.txt", L"plain.txt"});
    // A tag of the system's file compression, not a link.
    const BYTE wof[] = {0x17, 0x00, 0x00, 0x80, 0x04, 0x00, 0x00, 0x00, 1, 0, 0, 0};
    CByteBlock data;
    data.CopyFrom(wof, sizeof wof);
    CMarkedEntry marked(L"packed.txt", 3, data);
    CPathFilter filter;
    filter.AddPattern(2, true, L"*", false, true, root.c_str());
    CDiskItemList list;
    list.StoreLinks = true;
    CScanRecorder recorder;
    list.Callback = &recorder;
    ASSERT_EQ(filter.CollectDiskItems(1, UString(), list), S_OK);
    EXPECT_EQ(StoredPaths(list), (std::vector<std::wstring>{L"packed.txt", L"plain.txt"}));
    for (uint32_t i = 0; i < list.Items.Count(); i++)
        EXPECT_EQ(list.Items.At(i).ReparseData.Size(), 0u);
    ASSERT_EQ(recorder.Errors.size(), 1u);
    EXPECT_EQ(recorder.Errors[0].first, root + L"packed.txt");
    EXPECT_EQ(recorder.Errors[0].second, static_cast<uint32_t>(ERROR_INVALID_REPARSE_DATA));
}

TEST(DiskScanTest, DrivesFromTheDriveListAreNotReadAsCurrentDirectories)
{
    CByteBlock none;
    CMarkedEntry streams(L"", 0, none);
    CPathFilter filter;
    filter.AddPattern(2, true, L"*:\\", false, true, UString());
    // Nothing below the drive roots.
    filter.AddPattern(2, false, L"*:\\*", false, true, UString());
    CDiskItemList list;
    list.ScanAltStreams = true;
    list.ReadSecurity = true;
    CScanRecorder recorder;
    list.Callback = &recorder;
    ASSERT_EQ(filter.CollectDiskItems(2, UString(), list), S_OK);
    ASSERT_GE(list.Items.Count(), 1u);
    int32_t driveC = -1;
    for (uint32_t i = 0; i < list.Items.Count(); i++)
    {
        const CDiskItem& item = list.Items.At(i);
        EXPECT_TRUE(item.IsDir()) << item.Name.Chars();
        EXPECT_TRUE(IsBareDriveName(item.Name)) << item.Name.Chars();
        if (item.Name.EqualsNoCase(L"C:"))
            driveC = static_cast<int32_t>(i);
    }
    ASSERT_GE(driveC, 0);
    // "C:" alone is the current directory of drive C: its streams are not the drive's.
    EXPECT_TRUE(streams.StreamPaths.empty()) << streams.StreamPaths[0];
    // The descriptor stored for C: is the one of its root.
    int32_t secureIndex = list.Items.At(static_cast<uint32_t>(driveC)).SecureIndex;
    ASSERT_GE(secureIndex, 0);
    DWORD needed = 0;
    GetFileSecurityW(L"C:\\",
                     OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                     nullptr, 0, &needed);
    std::vector<BYTE> root(needed);
    ASSERT_TRUE(GetFileSecurityW(
        L"C:\\", OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
        root.data(), needed, &needed));
    const CByteBlock& stored = list.SecureBlocks.At(static_cast<uint32_t>(secureIndex));
    if (!list.SaclPrivilege)
    {
        ASSERT_EQ(stored.Size(), needed);
        EXPECT_EQ(memcmp(stored.Data(), root.data(), needed), 0);
    }
}

} // namespace
