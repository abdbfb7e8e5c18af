// The plug-in host with stand-in plug-ins: choosing, reading pictures, and listing and
// extracting an archive whose members try to leave the destination.
#include "util/Globals.h"
#include "app/records/LocalMemory.h"
#include "app/settings/GraphicSettings.h"
#include "archivefront/ArchivePlugInBackEnd.h"
#include "framework/FwLock.h"
#include "graphics/picture/PictureData.h"
#include "graphics/plugins/ArchivePlugInAdapter.h"
#include "graphics/plugins/SusiePlugInHost.h"
#include "graphics/plugins/SusiePlugInList.h"
#include "tests/common/ProgramWiring.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace
{
CSusieDllFile Record(const char* version, const wchar_t* fileName, const wchar_t* pattern, int enabled)
{
    CSusieDllFile record;
    memcpy(record.m_apiVersion, version, 4);
    record.m_fileName = fileName;
    record.m_patterns.Add(pattern);
    record.m_enabled = enabled;
    return record;
}

class PlugInHostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CHandleLock lock(g_DataMutex);
        m_saved.Copy(g_SusiePlugIns);
        m_savedDir = g_SusiePlugInDir;
        g_SusiePlugIns.RemoveAll();
        g_SusiePlugIns.Add(Record("00AM", L"spi_qarc.sph", L"*.qar", 1));
        g_SusiePlugIns.Add(Record("00IN", L"spi_q128.sph", L"*.q1", 1));
        g_SusiePlugInDir = qvtest::ProgramDir().c_str();
        m_folder = qvtest::ScratchDir() + L"\\host";
        CreateDirectoryW(m_folder.c_str(), nullptr);
    }
    void TearDown() override
    {
        CHandleLock lock(g_DataMutex);
        g_SusiePlugIns.Copy(m_saved);
        g_SusiePlugInDir = m_savedDir;
    }
    std::wstring Write(const wchar_t* name, const std::string& bytes)
    {
        const std::wstring path = m_folder + L"\\" + name;
        EXPECT_TRUE(qvtest::WriteFileBytes(path, bytes));
        return path;
    }
    // A picture file whose format the stand-in finds only at byte 128; the byte after
    // the signature says how it behaves ('F' faults).
    std::wstring Picture(const wchar_t* name, char behaviour)
    {
        std::string bytes(300, 'x');
        memcpy(&bytes[128], "Q128", 4);
        bytes[132] = behaviour;
        return Write(name, bytes);
    }

    CArray<CSusieDllFile> m_saved;
    CString m_savedDir;
    std::wstring m_folder;
};
} // namespace

TEST_F(PlugInHostTest, AFormatFoundAtByte128IsReadWithThatOffsetAndAFaultCostsOneLoad)
{
    const std::wstring good = Picture(L"good.q1", 'G');
    const std::wstring bad = Picture(L"bad.q1", 'F');
    CSusiePlugInHost host;
    EXPECT_EQ(1, host.LoadPlugInForFile(good.c_str(), 2, 0, 1));
    EXPECT_EQ(128, host.GetHeaderOffset());
    EXPECT_EQ(L"spi_q128.sph", qvtest::W(host.GetPlugInName()));

    CPictureData picture;
    EXPECT_EQ(0, host.GetPicture(good.c_str(), picture, nullptr));
    EXPECT_TRUE(picture.IsValid());

    // The stand-in has no picture-information export.
    SusiePictureInfo info;
    EXPECT_EQ(-1, host.GetPictureInfo(good.c_str(), &info));
    EXPECT_TRUE(host.m_errors.HasCode(5));

    CSusiePlugInHost faulting;
    EXPECT_EQ(8, faulting.GetPicture(bad.c_str(), picture, nullptr));
    EXPECT_FALSE(picture.IsValid());
    EXPECT_TRUE(faulting.m_errors.HasCode(14));
    faulting.Close();
    EXPECT_EQ(0, faulting.GetPicture(good.c_str(), picture, nullptr));
    EXPECT_TRUE(picture.IsValid());
}

TEST_F(PlugInHostTest, DisabledPlugInsAndPlugInsOfAnotherKindAreNeverChosen)
{
    const std::wstring good = Picture(L"kind.q1", 'G');
    const std::wstring archive = Write(L"kind.qar", "QARC archive");
    struct Row
    {
        const std::wstring* path;
        int kind;
        int disableIndex;
        int expected;
    } rows[] = {
        {&good, 2, -1, 1},    {&good, 1, -1, -1},   {&good, 2, 1, -1},     {&archive, 1, -1, 0},
        {&archive, 3, -1, 0}, {&archive, 1, 0, -1}, {&archive, 2, -1, -1},
    };
    for (const Row& row : rows)
    {
        {
            CHandleLock lock(g_DataMutex);
            for (INT_PTR i = 0; i < g_SusiePlugIns.GetCount(); ++i)
                g_SusiePlugIns[i].m_enabled = i == row.disableIndex ? 0 : 1;
        }
        CSusiePlugInHost host;
        EXPECT_EQ(row.expected, host.LoadPlugInForFile(row.path->c_str(), row.kind, 0, 1))
            << qvtest::W(row.path->c_str()) << " kind " << row.kind;
        EXPECT_EQ(row.expected < 0, host.m_errors.HasCode(ARCERR_NO_PLUGIN) || host.m_errors.HasCode(28));
    }
}

TEST_F(PlugInHostTest, AnEmptyWideListingIsAskedNarrowAndAShortBlockEndsTheListing)
{
    const std::wstring archive = Write(L"list.qar", "QARC archive");
    CSusiePlugInHost host;
    ASSERT_EQ(1, host.ListArchive(archive.c_str()));
    ASSERT_EQ(6, host.m_listing.GetSize());
    EXPECT_EQ(L"good.txt", std::wstring(host.m_listing[4].m_findData.cFileName));
    EXPECT_EQ(L"sub", qvtest::W(host.m_listing[4].m_folder));
}

TEST_F(PlugInHostTest, MembersAreWrittenInsideTheDestinationAndNoMoreBytesThanTheirBlocksHold)
{
    const std::wstring archive = Write(L"members.qar", "QARC archive");
    const std::wstring destination = m_folder + L"\\out";
    CreateDirectoryW(destination.c_str(), nullptr);
    DeleteFileW((m_folder + L"\\x").c_str());

    CSusiePlugInHost host;
    ASSERT_EQ(1, host.ListArchive(archive.c_str()));
    // No destination writes nothing rather than at the root of the drive.
    EXPECT_EQ(0, host.Extract(nullptr, nullptr));
    EXPECT_TRUE(host.m_errors.HasCode(23));
    host.SetOption(5, (destination + L"\\").c_str());
    // One member climbs out: it is refused, the others are written.
    EXPECT_EQ(0, host.Extract(nullptr, nullptr));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((m_folder + L"\\x").c_str()));
    struct Row
    {
        const wchar_t* path;
        const char* bytes;
    } rows[] = {
        {L"\\x", "m1\n"},         {L"\\y", "m2\n"}, {L"\\a_b", "m3\n"}, {L"\\sub\\good.txt", "m4\n"},
        {L"\\short.txt", "m5\n"},
    };
    for (const Row& row : rows)
    {
        const std::string bytes = qvtest::ReadFileBytes(destination + row.path);
        EXPECT_EQ(0, strncmp(row.bytes, bytes.c_str(), 3)) << qvtest::W(row.path);
        EXPECT_LE(bytes.size(), 4u) << qvtest::W(row.path);
    }

    void* buffer = nullptr;
    LONGLONG size = 0;
    ASSERT_EQ(1, host.ExtractToMemory(nullptr, L"", L"short.txt", &buffer, &size, nullptr));
    EXPECT_LE(size, 4);
    EXPECT_EQ(0, memcmp(buffer, "m5\n", 3));
    LocalFreeLocked(buffer);
    EXPECT_EQ(0, host.ExtractToMemory(nullptr, L"", L"missing", &buffer, &size, nullptr));
    EXPECT_TRUE(host.m_errors.HasCode(4));
}

TEST_F(PlugInHostTest, AMemberPastFourGiBIsReadAtItsOwnPlaceInTheArchiveImage)
{
    const std::wstring archive = Write(L"far.qar", "QARC archive");
    CSusiePlugInHost host;
    ASSERT_EQ(1, host.ListArchive(archive.c_str()));
    // The image holds the archive from 4 GiB + 16 on; the member lies 4 bytes into it.
    const char image[] = "0123far\nrest";
    CArchiveFileInfo member = host.m_listing[4];
    member.m_position = 0x100000000ULL + 16 + 4;
    member.m_packedSize = 4;
    host.SetArchiveImage(image, sizeof(image) - 1, 0x100000000ULL + 16);
    void* buffer = nullptr;
    LONGLONG size = 0;
    ASSERT_EQ(1, host.ExtractMemberToMemory(member, &buffer, &size, nullptr, 1))
        << qvtest::W(host.m_errors.GetMessageText());
    EXPECT_EQ(0, memcmp(buffer, "far", 3));
    LocalFreeLocked(buffer);
    // Past the image's end is refused rather than read from elsewhere.
    member.m_position = 0x100000000ULL + 16 + 10;
    EXPECT_EQ(0, host.ExtractMemberToMemory(member, &buffer, &size, nullptr, 1));
    host.SetArchiveImage(nullptr, 0, 0);
}

TEST_F(PlugInHostTest, AMemberWhoseNameIsALinkInTheDestinationIsNotWrittenThroughIt)
{
    const std::wstring archive = Write(L"linked.qar", "QARC archive");
    const std::wstring destination = m_folder + L"\\linked";
    const std::wstring outside = m_folder + L"\\outside";
    CreateDirectoryW(destination.c_str(), nullptr);
    CreateDirectoryW(outside.c_str(), nullptr);
    ASSERT_TRUE(qvtest::MakeFolderLink(destination + L"\\y", outside));
    CSusiePlugInHost host;
    ASSERT_EQ(1, host.ListArchive(archive.c_str()));
    host.SetOption(5, destination.c_str());
    EXPECT_EQ(0, host.Extract(nullptr, nullptr));
    EXPECT_TRUE(qvtest::ListFolder(outside).empty());
    EXPECT_EQ(0, strncmp("m4\n", qvtest::ReadFileBytes(destination + L"\\sub\\good.txt").c_str(), 3));
}

TEST_F(PlugInHostTest, TheArchiveFrontReachesTheHostOnlyThroughTheInstalledHooks)
{
    const std::wstring archive = Write(L"front.qar", "QARC archive");
    qvtest::ScopedProgramWiring wiring;
    const ArchivePlugInHooks wired = g_ArchivePlugInHooks;
    // Without the hooks the back-end knows no plug-in.
    g_ArchivePlugInHooks = {};
    {
        CArchivePlugInBackEnd backEnd;
        EXPECT_EQ(-1, backEnd.LoadPlugInForFile(archive.c_str(), 1, 0, 1));
        EXPECT_EQ(0, CArchivePlugInBackEnd::IsSupportedName(L"front.qar"));
    }
    g_ArchivePlugInHooks = wired;
    {
        CArchivePlugInBackEnd backEnd;
        EXPECT_EQ(1, CArchivePlugInBackEnd::IsSupportedName(L"front.qar"));
        EXPECT_EQ(0, backEnd.LoadPlugInForFile(archive.c_str(), 1, 0, 1));
        EXPECT_EQ(1, backEnd.ListArchive(archive.c_str()));
        EXPECT_EQ(6, backEnd.Listing().GetSize());
        EXPECT_EQ(L"spi_qarc.sph", qvtest::W(backEnd.GetLibraryName()));
    }
}
