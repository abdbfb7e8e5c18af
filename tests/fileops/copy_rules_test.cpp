// The copy job's decisions as tables: the conflict rules, the numbered names, the short
// name of another file, when a move renames and when a failed rename copies, when a move
// removes its source and when a directory it leaves is a failure, where files and
// directories go, when the job counts its totals, the room for a file and the wait for
// it, what a skipped file takes from its source, and the copier's temporary files: their
// names, flags and sector-sized writes.
#include <gtest/gtest.h>

#include "fileops/copy/CopyJob.h"
#include "fileops/copy/CopyRules.h"
#include "fileops/copy/FileCopier.h"
#include "tests/common/TestHelpers.h"

#include <string>

namespace
{

using qvtest::W;

TEST(CopyRules, ConflictRulesThatWeighTheFilesCopyOnlyWhatTheyPrefer)
{
    const int kNewer = -1, kSame = 0, kOlder = 1; // the source against the existing file
    struct Case
    {
        int rule;
        int timeOrder;
        ULONGLONG sourceSize, existingSize;
        BOOL copies;
    } const cases[] = {
        {COPY_RULE_NEWER, kNewer, 1, 9, TRUE},
        {COPY_RULE_NEWER, kSame, 9, 1, FALSE},
        {COPY_RULE_NEWER, kOlder, 9, 1, FALSE},
        {COPY_RULE_OLDER, kOlder, 1, 9, TRUE},
        {COPY_RULE_OLDER, kSame, 1, 9, FALSE},
        {COPY_RULE_OLDER, kNewer, 1, 9, FALSE},
        {COPY_RULE_LARGER, kOlder, 10, 9, TRUE},
        {COPY_RULE_LARGER, kNewer, 9, 9, FALSE},
        {COPY_RULE_LARGER, kNewer, 8, 9, FALSE},
        // Sizes beyond 4 GB compare whole.
        {COPY_RULE_LARGER, kSame, 0x100000000ull, 0xFFFFFFFFull, TRUE},
        {COPY_RULE_SKIP, kNewer, 10, 1, FALSE},
        {COPY_RULE_OVERWRITE, kOlder, 1, 10, TRUE},
        {COPY_RULE_OVERWRITE, kSame, 1, 1, TRUE},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "rule " << c.rule << " time " << c.timeOrder << " sizes "
                                        << c.sourceSize << "/" << c.existingSize);
        EXPECT_EQ(c.copies, ConflictRuleCopies(c.rule, c.timeOrder, c.sourceSize, c.existingSize));
    }
}

TEST(CopyRules, EveryConflictRuleReplacesLeavesOrFindsTheFileAnotherName)
{
    const int kNewer = -1, kSame = 0, kOlder = 1; // the source against the existing file
    struct Case
    {
        int rule;
        int timeOrder;
        ULONGLONG sourceSize, existingSize;
        ConflictOutcome outcome;
    } const cases[] = {
        {COPY_RULE_NEWER, kNewer, 1, 9, CONFLICT_REPLACE},
        {COPY_RULE_NEWER, kSame, 9, 1, CONFLICT_LEAVE},
        {COPY_RULE_OLDER, kOlder, 1, 9, CONFLICT_REPLACE},
        {COPY_RULE_OLDER, kNewer, 9, 1, CONFLICT_LEAVE},
        {COPY_RULE_LARGER, kOlder, 10, 9, CONFLICT_REPLACE},
        {COPY_RULE_LARGER, kNewer, 9, 9, CONFLICT_LEAVE},
        // The renaming rules never weigh the two files.
        {COPY_RULE_RENAME, kNewer, 10, 1, CONFLICT_TYPED_NAME},
        {COPY_RULE_RENAME, kOlder, 1, 10, CONFLICT_TYPED_NAME},
        {COPY_RULE_NUMBERED, kNewer, 10, 1, CONFLICT_NUMBERED_NAME},
        {COPY_RULE_NUMBERED, kSame, 1, 1, CONFLICT_NUMBERED_NAME},
        {COPY_RULE_SKIP, kNewer, 10, 1, CONFLICT_LEAVE},
        {COPY_RULE_OVERWRITE, kOlder, 1, 10, CONFLICT_REPLACE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.outcome, ConflictRuleOutcome(c.rule, c.timeOrder, c.sourceSize, c.existingSize))
            << "rule " << c.rule << " time " << c.timeOrder << " sizes " << c.sourceSize << "/"
            << c.existingSize;
}

TEST(CopyRules, NumberedNamesPutThreeDigitsBetweenTheBaseAndTheExtension)
{
    struct Case
    {
        const wchar_t* base;
        const wchar_t* extension;
        int n;
        const wchar_t* name;
    } const cases[] = {
        {L"report", L"txt", 0, L"report000.txt"},
        {L"report", L"txt", 7, L"report007.txt"},
        {L"report", L"txt", kNumberedCopyNameCount - 1, L"report998.txt"},
        {L"a.b", L"c", 12, L"a.b012.c"},
        {L"noext", L"", 3, L"noext003."},
        {L"日本語", L"doc", 100, L"日本語100.doc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::wstring(c.name), W(NumberedCopyName(c.base, c.extension, c.n))) << c.name;
}

TEST(CopyRules, AFoundEntryIsAnotherFileUnlessItsLongNameIsTheSources)
{
    struct Case
    {
        const wchar_t* found;
        const wchar_t* source;
        BOOL another;
    } const cases[] = {
        {L"readme.txt", L"readme.txt", FALSE},       {L"README.TXT", L"readme.txt", FALSE},
        {L"Longer name.txt", L"LONGER~1.TXT", TRUE}, {L"LONGER~1.TXT", L"LONGER~1.TXT", FALSE},
        {L"readme.txt", L"readme.tx", TRUE},         {L"Ärger.txt", L"ärger.txt", FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.another, IsAnotherFilesShortName(c.found, c.source)) << c.found << L" / " << c.source;
}

TEST(CopyRules, AFileMoveTriesARenameOnlyForRealFilesOfAMovingKind)
{
    struct Case
    {
        int kind;
        BOOL virtualSource;
        BOOL nameTaken;
        BOOL renames;
    } const cases[] = {
        {MOVE, FALSE, FALSE, TRUE},
        {UP_MOVE, FALSE, FALSE, TRUE},
        {NEGLECT_DIR, FALSE, FALSE, TRUE},
        {DROP_MOVE, FALSE, FALSE, TRUE},
        {MOVE, FALSE, TRUE, TRUE},
        {UP_MOVE, FALSE, TRUE, TRUE},
        {NEGLECT_DIR, FALSE, TRUE, TRUE},
        // A dropped file that replaces another is copied, its source removed after.
        {DROP_MOVE, FALSE, TRUE, FALSE},
        {MOVE, TRUE, FALSE, FALSE},
        {DROP_MOVE, TRUE, FALSE, FALSE},
        {MOVE, TRUE, TRUE, FALSE},
        {COPY, FALSE, FALSE, FALSE},
        {DROP_COPY, FALSE, TRUE, FALSE},
        {COPY_TO_ALL, FALSE, FALSE, FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.renames, FileMoveTriesRename(c.kind, c.virtualSource, c.nameTaken))
            << GetCopyOperationTag(c.kind) << " virtual " << c.virtualSource << " taken " << c.nameTaken;
}

TEST(CopyRules, ADirectoryMoveTriesARenameOnlyForAnUnfilteredRealDirectory)
{
    struct Case
    {
        int kind;
        BOOL isLink, virtualSource, filtered;
        BOOL renames;
    } const cases[] = {
        {MOVE, FALSE, FALSE, FALSE, TRUE},
        {UP_MOVE, FALSE, FALSE, FALSE, TRUE},
        {DROP_MOVE, FALSE, FALSE, FALSE, TRUE},
        // The flat kind takes the files out of their directories one by one.
        {NEGLECT_DIR, FALSE, FALSE, FALSE, FALSE},
        {COPY, FALSE, FALSE, FALSE, FALSE},
        {DROP_COPY, FALSE, FALSE, FALSE, FALSE},
        {MOVE, TRUE, FALSE, FALSE, FALSE},
        {MOVE, FALSE, TRUE, FALSE, FALSE},
        {MOVE, FALSE, FALSE, TRUE, FALSE},
        {DROP_MOVE, TRUE, FALSE, FALSE, FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.renames, DirectoryMoveTriesRename(c.kind, c.isLink, c.virtualSource, c.filtered))
            << GetCopyOperationTag(c.kind) << " link " << c.isLink << " virtual " << c.virtualSource
            << " filtered " << c.filtered;
}

TEST(CopyRules, AFailedRenameFallsBackToACopyOnlyAcrossVolumes)
{
    struct Case
    {
        DWORD error;
        BOOL copies;
    } const cases[] = {
        {ERROR_NOT_SAME_DEVICE, TRUE},    {ERROR_ACCESS_DENIED, FALSE},        {ERROR_ALREADY_EXISTS, FALSE},
        {ERROR_SHARING_VIOLATION, FALSE}, {ERROR_FILENAME_EXCED_RANGE, FALSE}, {0, FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.copies, RenameFailureFallsBackToCopy(c.error)) << "error " << c.error;
}

TEST(CopyRules, AMovedDirectoryThatStaysIsAFailureOnlyWhenNothingExplainsIt)
{
    struct Case
    {
        DWORD error;
        BOOL failure;
    } const cases[] = {
        // Skipped or filtered entries keep it; gone meanwhile, it needs no word.
        {ERROR_DIR_NOT_EMPTY, FALSE}, {ERROR_FILE_NOT_FOUND, FALSE},   {ERROR_PATH_NOT_FOUND, FALSE},
        {ERROR_ACCESS_DENIED, TRUE},  {ERROR_SHARING_VIOLATION, TRUE}, {ERROR_WRITE_PROTECT, TRUE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.failure, MovedDirectoryLeftIsAFailure(c.error)) << "error " << c.error;
}

TEST(CopyRules, AMoveTakesItsSourceAwayOnlyOnceTheSourceIsSafeAtTheTarget)
{
    const int kGoOn = 1, kFailed = 0, kStop = 2;
    struct Case
    {
        int kind;
        BOOL virtualSource; // added to a virtual folder from a virtual folder
        BOOL virtualRemoves;
        int result, copied; // the copy step's
        BOOL copyRemoves;
    } const cases[] = {
        {MOVE, TRUE, TRUE, kGoOn, 1, TRUE},
        {UP_MOVE, TRUE, TRUE, kGoOn, 1, TRUE},
        {NEGLECT_DIR, TRUE, TRUE, kGoOn, 1, TRUE},
        // A dropped move copies into a virtual folder and leaves its source there.
        {DROP_MOVE, TRUE, FALSE, kGoOn, 1, TRUE},
        {MOVE, FALSE, FALSE, kGoOn, 1, TRUE},
        // A copy that failed, went on without copying or was stopped keeps its source.
        {MOVE, FALSE, FALSE, kGoOn, 0, FALSE},
        {MOVE, FALSE, FALSE, kFailed, 0, FALSE},
        {DROP_MOVE, FALSE, FALSE, kStop, 0, FALSE},
        {COPY, TRUE, FALSE, kGoOn, 1, FALSE},
        {DROP_COPY, TRUE, FALSE, kGoOn, 1, FALSE},
        {COPY_TO_ALL, FALSE, FALSE, kGoOn, 1, FALSE},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << GetCopyOperationTag(c.kind) << " virtual " << c.virtualSource
                                        << " result " << c.result << " copied " << c.copied);
        EXPECT_EQ(c.virtualRemoves, VirtualAddRemovesSource(c.kind, c.virtualSource));
        EXPECT_EQ(c.copyRemoves, CopiedFileRemovesSource(c.kind, c.result, c.copied));
    }
}

TEST(CopyRules, AFileThatSeemsNotToFitHasTheFreeSpaceReadOnceMoreBeforeTheUserIsAsked)
{
    struct Case
    {
        ULONGLONG freeBytes;
        LONGLONG existingSize, size;
        BOOL freshFigure;
        FreeSpaceVerdict verdict;
    } const cases[] = {
        {100, 0, 60, FALSE, FREE_SPACE_ENOUGH},
        {100, 0, 60, TRUE, FREE_SPACE_ENOUGH},
        {100, 0, 101, FALSE, FREE_SPACE_READ_AGAIN},
        {100, 0, 101, TRUE, FREE_SPACE_ASK_FOR_DISK},
        {100, 50, 150, FALSE, FREE_SPACE_ENOUGH},
        {100, 50, 151, TRUE, FREE_SPACE_ASK_FOR_DISK},
        // An unreadable free space holds nothing back.
        {0, 0, 1000, FALSE, FREE_SPACE_ENOUGH},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.verdict, JudgeFreeSpace(c.freeBytes, c.existingSize, c.size, c.freshFigure))
            << c.freeBytes << " free, " << c.existingSize << " replaced, " << c.size << " written, fresh "
            << c.freshFigure;
}

TEST(CopyRules, AFileGoesWhereItsKindPutsIt)
{
    // The selected directory "top" holds "sub", which holds the file.
    struct Case
    {
        int kind;
        BOOL inWalk;
        const wchar_t* walkRelative;
        const wchar_t* belowTop;
        const wchar_t* target;
    } const cases[] = {
        {COPY, FALSE, L"", L"", L"D:\\to"},
        {UP_MOVE, FALSE, L"", L"", L"D:\\to"},
        {COPY, TRUE, L"top", L"", L"D:\\to\\top"},
        {COPY, TRUE, L"top\\sub", L"sub", L"D:\\to\\top\\sub"},
        {MOVE, TRUE, L"top\\sub", L"sub", L"D:\\to\\top\\sub"},
        {DROP_COPY, TRUE, L"top\\sub", L"sub", L"D:\\to\\top\\sub"},
        // The contents of the selected directory take its place.
        {UP_MOVE, TRUE, L"top", L"", L"D:\\to"},
        {UP_MOVE, TRUE, L"top\\sub", L"sub", L"D:\\to\\sub"},
        // Every file flat into the destination.
        {NEGLECT_DIR, TRUE, L"top\\sub", L"sub", L"D:\\to"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::wstring(c.target),
                  W(CopyTargetForFile(c.kind, c.inWalk, L"D:\\to", c.walkRelative, c.belowTop)))
            << GetCopyOperationTag(c.kind) << " " << c.walkRelative;
}

TEST(CopyRules, ADirectoryIsMadeWhereItsKindPutsIt)
{
    struct Case
    {
        int kind;
        BOOL inWalk, isLink;
        const wchar_t* walkRelative;
        const wchar_t* belowTop;
        const wchar_t* target;
    } const cases[] = {
        // The selected directory itself.
        {COPY, FALSE, FALSE, L"", L"", L"D:\\to\\dir"},
        {MOVE, FALSE, TRUE, L"", L"", L"D:\\to\\dir"},
        {UP_MOVE, FALSE, FALSE, L"", L"", L"D:\\to"},
        {NEGLECT_DIR, FALSE, FALSE, L"", L"", L"D:\\to"},
        // A directory inside it.
        {COPY, TRUE, FALSE, L"top", L"", L"D:\\to\\top\\dir"},
        {COPY, TRUE, FALSE, L"top\\sub", L"sub", L"D:\\to\\top\\sub\\dir"},
        {UP_MOVE, TRUE, FALSE, L"top", L"", L"D:\\to\\dir"},
        {UP_MOVE, TRUE, FALSE, L"top\\sub", L"sub", L"D:\\to\\sub\\dir"},
        {NEGLECT_DIR, TRUE, FALSE, L"top\\sub", L"sub", L"D:\\to"},
        // A link is copied as the link, under its own name.
        {NEGLECT_DIR, TRUE, TRUE, L"top\\sub", L"sub", L"D:\\to\\dir"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::wstring(c.target), W(CopyTargetForDirectory(c.kind, c.inWalk, c.isLink, L"D:\\to",
                                                                   c.walkRelative, c.belowTop, L"dir")))
            << GetCopyOperationTag(c.kind) << " " << c.walkRelative << " link " << c.isLink;
}

TEST(CopyRules, CopiesAndMovesAcrossVolumesCountTheirTotals)
{
    struct Case
    {
        int kind;
        BOOL sameRoot;
        BOOL counts;
    } const cases[] = {
        {COPY, TRUE, TRUE},          {COPY, FALSE, TRUE},     {DROP_COPY, TRUE, TRUE},
        {MOVE, TRUE, FALSE},         {MOVE, FALSE, TRUE},     {DROP_MOVE, TRUE, FALSE},
        {DROP_MOVE, FALSE, TRUE},    {UP_MOVE, FALSE, FALSE}, {NEGLECT_DIR, FALSE, FALSE},
        {COPY_TO_ALL, FALSE, FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.counts, CopyJobCountsTotals(c.kind, c.sameRoot))
            << GetCopyOperationTag(c.kind) << " same root " << c.sameRoot;
}

TEST(CopyRules, AFileFitsWhereItsReplacedFileFreesRoomAndTheFreeSpaceShrinksByWhatItGrew)
{
    struct Case
    {
        ULONGLONG freeBytes;
        LONGLONG existingSize, size;
        BOOL fits;
        ULONGLONG freeAfter;
    } const cases[] = {
        {100, 0, 60, TRUE, 40},
        {100, 0, 100, TRUE, 0},
        {100, 0, 101, FALSE, 0},
        {100, 50, 150, TRUE, 0},
        {100, 50, 151, FALSE, 0},
        // A smaller file over a larger one frees nothing that is counted.
        {100, 80, 20, TRUE, 100},
        // An unreadable free space holds nothing back.
        {0, 0, 1000, TRUE, 0},
        {0x200000000ull, 0, 0x100000000ll, TRUE, 0x100000000ull},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << c.freeBytes << " free, " << c.existingSize << " replaced, " << c.size << " written");
        EXPECT_EQ(c.fits, HasRoomForCopy(c.freeBytes, c.existingSize, c.size));
        if (c.fits)
            EXPECT_EQ(c.freeAfter, FreeBytesAfterCopy(c.freeBytes, c.existingSize, c.size));
    }
}

TEST(CopyRules, ALeftFileTakesTheSourcesSettableAttributesOrKeepsItsOwn)
{
    const DWORD kUnread = INVALID_FILE_ATTRIBUTES;
    struct Case
    {
        DWORD source;
        BOOL takeAttributes;
        DWORD ownBefore;
        DWORD taken;
        DWORD afterTimes;
    } const cases[] = {
        {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, TRUE, FILE_ATTRIBUTE_ARCHIVE,
         FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE},
        {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, FALSE, FILE_ATTRIBUTE_HIDDEN,
         FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_HIDDEN},
        {FILE_ATTRIBUTE_HIDDEN, FALSE, kUnread, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_HIDDEN},
        // Nothing settable: a plain file.
        {0, TRUE, FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_NORMAL},
        {FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_COMPRESSED, TRUE, 0, FILE_ATTRIBUTE_NORMAL,
         FILE_ATTRIBUTE_NORMAL},
        {FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, TRUE, 0,
         FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED,
         FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << std::hex << c.source << " take " << c.takeAttributes << " own " << c.ownBefore);
        EXPECT_EQ(c.taken, NoCopyTakenAttributes(c.source));
        EXPECT_EQ(c.afterTimes, NoCopyAttributesAfterTimes(c.takeAttributes, c.source, c.ownBefore));
    }
}

TEST(CopyRules, TheCopiersTemporaryNamesStayBesideTheirDestination)
{
    struct Case
    {
        const wchar_t* destination;
        int n;
        BOOL shortForm;
        const wchar_t* temporary;
    } const cases[] = {
        {L"C:\\to\\file.txt", 0, FALSE, L"C:\\to\\file.txt.~qv000"},
        {L"C:\\to\\file.txt", 42, FALSE, L"C:\\to\\file.txt.~qv042"},
        {L"C:\\to\\file.txt", kCopierTemporaryNameCount - 1, FALSE, L"C:\\to\\file.txt.~qv999"},
        {L"C:\\to\\file.txt", 0, TRUE, L"C:\\to\\~qv000.tmp"},
        {L"C:\\to\\sub\\a", 5, TRUE, L"C:\\to\\sub\\~qv005.tmp"},
        {L"\\\\?\\C:\\long\\name", 1, TRUE, L"\\\\?\\C:\\long\\~qv001.tmp"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::wstring(c.temporary), W(CopierTemporaryName(c.destination, c.n, c.shortForm)))
            << c.destination << L" " << c.n;
}

TEST(CopyRules, TheTemporaryIsWrittenPlainAndTheHidingAttributesWaitForItsName)
{
    const DWORD kSequential = FILE_FLAG_SEQUENTIAL_SCAN;
    struct Case
    {
        DWORD source;
        BOOL sectorAligned;
        DWORD flags;
        BOOL atEnd;
    } const cases[] = {
        {0, FALSE, FILE_ATTRIBUTE_NORMAL | kSequential, FALSE},
        {FILE_ATTRIBUTE_ARCHIVE, FALSE, FILE_ATTRIBUTE_ARCHIVE | kSequential, FALSE},
        {FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, FALSE,
         FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | kSequential, FALSE},
        {FILE_ATTRIBUTE_READONLY, FALSE, FILE_ATTRIBUTE_NORMAL | kSequential, TRUE},
        {FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, FALSE, FILE_ATTRIBUTE_ARCHIVE | kSequential, TRUE},
        {FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY, FALSE, FILE_ATTRIBUTE_TEMPORARY | kSequential,
         TRUE},
        // The bits a find record carries but no file can be given are dropped.
        {FILE_ATTRIBUTE_COMPRESSED | FILE_ATTRIBUTE_SPARSE_FILE, FALSE, FILE_ATTRIBUTE_NORMAL | kSequential,
         FALSE},
        // An unbuffered copy is created without attributes and takes all of them at the end.
        {FILE_ATTRIBUTE_ARCHIVE, TRUE, FILE_FLAG_NO_BUFFERING, TRUE},
        {0, TRUE, FILE_FLAG_NO_BUFFERING, TRUE},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << std::hex << c.source << " aligned " << c.sectorAligned);
        EXPECT_EQ(c.flags, CopierTemporaryFlags(c.source, c.sectorAligned));
        EXPECT_EQ(c.atEnd, CopierSetsAttributesAtEnd(c.source, c.sectorAligned));
    }
}

TEST(CopyRules, AnUnbufferedCopyWritesItsShortLastChunkUpToItsLastSector)
{
    struct Case
    {
        DWORD got, chunkSize, bytesPerSector;
        BOOL sectorAligned;
        DWORD written;
    } const cases[] = {
        {4096, 65536, 512, FALSE, 4096},  {1000, 65536, 0, FALSE, 1000},   {0, 65536, 0, FALSE, 0},
        {65536, 65536, 512, TRUE, 65536}, {1024, 65536, 512, TRUE, 1024},  {1000, 65536, 512, TRUE, 1024},
        {1, 65536, 4096, TRUE, 4096},     {4097, 65536, 4096, TRUE, 8192},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.written, CopierWriteSize(c.got, c.chunkSize, c.bytesPerSector, c.sectorAligned))
            << c.got << " of " << c.chunkSize << ", sector " << c.bytesPerSector << " aligned "
            << c.sectorAligned;
}

TEST(CopyRules, OnlyTheLongTemporaryOfTheSameDestinationIsItsLeftover)
{
    struct Case
    {
        const wchar_t* name;
        const wchar_t* destination;
        BOOL leftover;
    } const cases[] = {
        {L"file.txt.~qv000", L"file.txt", TRUE},
        {L"FILE.TXT.~QV123", L"file.txt", TRUE},
        {L"file.txt.~qv12", L"file.txt", FALSE},
        {L"file.txt.~qv12a", L"file.txt", FALSE},
        {L"file.txt.~qv0000", L"file.txt", FALSE},
        {L"file.txt.~qv000", L"file.tx", FALSE},
        {L"other.txt.~qv000", L"file.txt", FALSE},
        {L"file.txt", L"file.txt", FALSE},
        // The short form names no destination: it is never taken for one's leftover.
        {L"~qv000.tmp", L"file.txt", FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.leftover, IsCopierTemporaryOf(c.name, c.destination))
            << c.name << L" / " << c.destination;
}

} // namespace
