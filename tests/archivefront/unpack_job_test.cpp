// The unpack job on real archives (the 7-Zip library) and on the stand-in archiver
// libraries: where the members land, which back-end takes an archive nobody lists,
// a cancel in the middle of a member, and an extraction that would overwrite its own
// archive.
#include <gtest/gtest.h>
#include "archivefront/ArchiveFront.h"
#include "archivefront/dialogs/UnpackJob.h"
#include "app/ProgressInfo.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "tests/archivefront/unpack_test_support.h"

#include <string>
#include <vector>

namespace
{
using unpacktest::Fixture;

class UnpackJobTest : public unpacktest::StubFolderTest
{
protected:
    // Every member of the front object's listing, as a pane would choose them.
    static void ChooseAll(CArchiveFront& front, CUnpackJob& job)
    {
        for (int i = 0; i < front.GetEntryCount(); ++i)
        {
            CArchiveFileInfo* member = nullptr;
            if (front.GetEntry(&member, i))
                job.members.Add(*member);
        }
    }
};

} // namespace

TEST_F(UnpackJobTest, FolderPerArchiveIsNamedWithoutExtensionFromAFilerAndWithItFromAListing)
{
    UseStubs(L"Unlha", L"m.txt");
    std::wstring archive = FakeArchive(L"x.lzh");

    CUnpackJob filer;
    filer.sourceMode = UNPACK_FROM_FILER;
    filer.folderPerArchive = 1;
    filer.destination = P(L"out").c_str();
    filer.archives.Add(archive.c_str());
    CProgressInfo progress;
    ASSERT_EQ(UNPACK_DONE, RunUnpackJob(filer, progress, nullptr));
    EXPECT_TRUE(IsDirectory(P(L"out\\x")));
    EXPECT_NE(std::string::npos, Log().find(unpacktest::Narrow(P(L"out\\x\\")))) << Log();
    EXPECT_FALSE(IsDirectory(P(L"out\\x.lzh")));

    CArchiveFront front;
    ASSERT_EQ(1, front.OpenAndList(archive.c_str(), ARCFRONT_PREFER_ARCHIVER));
    front.UnloadLibraries();
    CUnpackJob listing;
    listing.sourceMode = UNPACK_FROM_ARCHIVE;
    listing.folderPerArchive = 1;
    listing.destination = P(L"out").c_str();
    listing.front = &front;
    ChooseAll(front, listing);
    ASSERT_EQ(UNPACK_DONE, RunUnpackJob(listing, progress, nullptr));
    EXPECT_TRUE(IsDirectory(P(L"out\\x.lzh")));
    EXPECT_NE(std::string::npos, Log().find(unpacktest::Narrow(P(L"out\\x.lzh\\")) + " \"m.txt\"")) << Log();
}

TEST_F(UnpackJobTest, AnArchiveNoBackEndListsIsStillUnpackedByTheLibraryThatUnpacksIt)
{
    // A self-extracting ARJ program: only the ARJ row takes it, and only for unpacking.
    UseStubs(L"Unarj", L"a.txt");
    std::wstring archive = FakeArchive(L"old.exe");
    CArchiveFront probe;
    ASSERT_EQ(0, probe.OpenAndList(archive.c_str(), ARCFRONT_PREFER_ARCHIVER));

    CUnpackJob job;
    job.destination = P(L"out").c_str();
    job.archives.Add(archive.c_str());
    CProgressInfo progress;
    CDialogAnswerScript script;
    EXPECT_EQ(UNPACK_DONE, RunUnpackJob(job, progress, nullptr));
    for (const CDialogQuestion& question : script.GetQuestions())
        ADD_FAILURE() << unpacktest::Narrow(qvtest::W(question.text));
    EXPECT_NE(std::string::npos, Log().find("Unarj\t")) << Log();
    EXPECT_TRUE(IsDirectory(P(L"out")));
}

TEST_F(UnpackJobTest, CancelInTheMiddleOfAMemberEndsSilentlyAndLeavesNoPartialFile)
{
    CArchiveFront front;
    ASSERT_EQ(1, front.OpenAndList(Fixture(L"big.zip").c_str(), 0));
    front.UnloadLibraries();
    CUnpackJob job;
    job.sourceMode = UNPACK_FROM_ARCHIVE;
    job.destination = P(L"out").c_str();
    job.front = &front;
    ChooseAll(front, job);

    CProgressInfo progress;
    progress.progressCallback = [](UINT, CProgressInfo* info) {
        if (info->doneAmount + info->currentAmount > 0)
            InterlockedExchange(&info->cancelFlag, 1);
    };
    CDialogAnswerScript script;
    EXPECT_EQ(UNPACK_FAILED, RunUnpackJob(job, progress, nullptr));
    EXPECT_TRUE(script.GetQuestions().empty());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(P(L"out\\big.bin").c_str()));
}

TEST_F(UnpackJobTest, AnExtractionOntoItsOwnArchiveIsRefusedAndTheArchiveKept)
{
    for (int mode : {UNPACK_FROM_FILER, UNPACK_FROM_ARCHIVE})
    {
        SCOPED_TRACE(mode);
        UseStubs(L"Unlha", L"self.lzh");
        std::wstring archive = FakeArchive(L"self.lzh");
        CArchiveFront front;
        ASSERT_EQ(1, front.OpenAndList(archive.c_str(), ARCFRONT_PREFER_ARCHIVER));
        CUnpackJob job;
        job.sourceMode = mode;
        job.destination = dir.c_str();
        job.archives.Add(archive.c_str());
        job.front = &front;
        ChooseAll(front, job);
        CProgressInfo progress;
        CDialogAnswerScript script;
        EXPECT_EQ(UNPACK_FAILED, RunUnpackJob(job, progress, nullptr));
        ASSERT_EQ(1u, script.GetQuestions().size());
        EXPECT_EQ(L"解凍失敗", qvtest::W(script.GetQuestions()[0].caption));
        EXPECT_EQ("archive", qvtest::ReadFileBytes(archive));
    }
}

TEST_F(UnpackJobTest, AnExtractionOntoItsOwnArchiveIsRefusedHoweverTheDestinationIsSpelt)
{
    ASSERT_TRUE(CreateDirectoryW(P(L"sub").c_str(), nullptr));
    std::vector<std::wstring> destinations = {dir + L"\\sub\\..", dir + L"\\.\\"};
    wchar_t shortName[MAX_PATH] = {};
    DWORD length = GetShortPathNameW(dir.c_str(), shortName, MAX_PATH);
    if (length != 0 && length < MAX_PATH && _wcsicmp(shortName, dir.c_str()) != 0)
        destinations.push_back(shortName);
    for (const std::wstring& destination : destinations)
    {
        SCOPED_TRACE(destination);
        UseStubs(L"Unlha", L"self.lzh");
        std::wstring archive = FakeArchive(L"self.lzh");
        CArchiveFront front;
        ASSERT_EQ(1, front.OpenAndList(archive.c_str(), ARCFRONT_PREFER_ARCHIVER));
        CUnpackJob job;
        job.sourceMode = UNPACK_FROM_ARCHIVE;
        job.destination = destination.c_str();
        job.front = &front;
        ChooseAll(front, job);
        CProgressInfo progress;
        CDialogAnswerScript script;
        EXPECT_EQ(UNPACK_FAILED, RunUnpackJob(job, progress, nullptr));
        ASSERT_EQ(1u, script.GetQuestions().size());
        EXPECT_EQ(L"解凍失敗", qvtest::W(script.GetQuestions()[0].caption));
        EXPECT_EQ("archive", qvtest::ReadFileBytes(archive));
    }
}
