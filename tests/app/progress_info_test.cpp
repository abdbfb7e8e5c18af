// The progress record shared by a worker and its dialog, and the name records of a
// rename batch.
#include "app/ProgressInfo.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace
{

struct PositionCase
{
    const char* what;
    LONGLONG base, span, total, done, current;
    int expected;
};

const PositionCase kPositionCases[] = {
    {"no total: end of the share", 20, 30, 0, 0, 0, 50},
    {"half done", 0, 100, 200, 60, 40, 50},
    {"current item counts", 10, 40, 100, 25, 25, 30},
    {"overshoot stops at base + span", 10, 40, 100, 80, 50, 50},
    {"64-bit amounts do not overflow", 0, 100, 4000000000000LL, 3000000000000LL, 0, 75},
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const PositionCase& c, std::ostream* os)
{
    *os << c.what;
}

class ProgressPosition : public testing::TestWithParam<PositionCase>
{
};

} // namespace

TEST_P(ProgressPosition, RunsFromBaseToBasePlusSpan)
{
    const PositionCase& c = GetParam();
    CProgressInfo info;
    info.barBase = c.base;
    info.barSpan = c.span;
    info.totalAmount = c.total;
    info.doneAmount = c.done;
    info.currentAmount = c.current;
    EXPECT_EQ(c.expected, info.GetPosition()) << c.what;
}

INSTANTIATE_TEST_SUITE_P(ProgressInfo, ProgressPosition, testing::ValuesIn(kPositionCases));

TEST(ProgressInfo, CancelOfAParentIsSeenByEveryChildWhoseOwnFlagStaysClear)
{
    CProgressInfo outer, middle, inner;
    middle.parentInfo = &outer;
    inner.parentInfo = &middle;
    EXPECT_FALSE(inner.IsCancelled());

    outer.cancelFlag = 1;
    EXPECT_TRUE(middle.IsCancelled());
    EXPECT_TRUE(inner.IsCancelled());
    EXPECT_EQ(0, middle.cancelFlag);
    EXPECT_EQ(0, inner.cancelFlag);

    // A child's own cancel does not travel up.
    outer.cancelFlag = 0;
    inner.cancelFlag = 1;
    EXPECT_TRUE(inner.IsCancelled());
    EXPECT_FALSE(middle.IsCancelled());
    EXPECT_FALSE(outer.IsCancelled());
}

TEST(ProgressInfo, TextsAreCopiesThatALaterReplacementLeavesAlone)
{
    CProgressInfo info;
    info.SetMainText(L"C:\\work\\first.txt");
    info.SetPhaseText(L"読み込み中");
    info.SetBaseFolder(L"C:\\work");
    const CString main = info.GetMainText(), phase = info.GetPhaseText();
    // Same length and shorter: a string block the record alone owns is rewritten in place.
    info.SetMainText(L"C:\\work\\other.txt");
    info.SetPhaseText(L"書込");
    EXPECT_STREQ(main, L"C:\\work\\first.txt");
    EXPECT_STREQ(phase, L"読み込み中");
    EXPECT_STREQ(info.GetMainText(), L"C:\\work\\other.txt");

    info.Clear(TRUE);
    EXPECT_TRUE(info.GetMainText().IsEmpty());
    EXPECT_TRUE(info.GetPhaseText().IsEmpty());
    EXPECT_STREQ(info.GetBaseFolder(), L"C:\\work");
}

TEST(ProgressInfo, AReaderThreadSeesOnlyWholeTextsWhileTheWorkerReplacesThem)
{
    // Texts of different lengths, so that replacements both reuse and free blocks.
    const std::wstring texts[] = {L"", L"a", L"C:\\短い名前.txt", std::wstring(300, L'x'),
                                  std::wstring(40, L'漢')};
    auto isOneOfThem = [&texts](const CString& text) {
        for (const std::wstring& known : texts)
            if (known == std::wstring(text.GetString(), text.GetLength()))
                return true;
        return false;
    };

    CProgressInfo info;
    std::atomic<bool> stop(false);
    std::atomic<long> replacements(0);
    std::thread worker([&] {
        for (unsigned i = 0; !stop.load(); ++i)
        {
            info.SetMainText(texts[i % 5].c_str());
            info.SetPhaseText(texts[(i + 2) % 5].c_str());
            if (i % 64 == 0)
                info.Clear(FALSE);
            replacements.fetch_add(1);
        }
    });

    // A loaded machine may not run the worker before the reader is done: reading
    // starts once the worker has replaced the texts at least once.
    const DWORD waitStart = GetTickCount();
    while (replacements.load() == 0 && GetTickCount() - waitStart < 10000)
        Sleep(1);

    // Bounded by reads and by time, whichever ends first.
    int torn = 0, reads = 0;
    const DWORD start = GetTickCount();
    for (; reads < 200000 && GetTickCount() - start < 1500; ++reads)
    {
        if (!isOneOfThem(info.GetMainText()) || !isOneOfThem(info.GetPhaseText()))
            ++torn;
    }
    stop = true;
    worker.join();
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    EXPECT_GT(replacements.load(), 0);
}

TEST(RenameFileNames, CanRenameRefusesNamesHeldOrPlannedByAnotherFileOfTheBatch)
{
    CArrayRenameFileName batch;
    batch.Add(CRenameFileName(L"C:\\d\\a.txt"));
    batch.Add(CRenameFileName(L"C:\\d\\b.txt"));
    batch.Add(CRenameFileName(L"C:\\d\\c.txt"));
    batch.SetNewNameOf(L"C:\\D\\C.TXT", L"C:\\d\\x.txt");

    struct
    {
        LPCWSTR oldName, newName;
        int expected;
    } cases[] = {
        {L"C:\\d\\a.txt", L"C:\\d\\a.txt", 1}, // its own current name
        {L"C:\\d\\a.txt", L"C:\\d\\A.TXT", 1}, // only the case changes
        {L"C:\\d\\a.txt", L"C:\\d\\B.txt", 0}, // another file is still named so
        {L"C:\\d\\a.txt", L"C:\\d\\x.txt", 0}, // another file is planned to take it
        {L"C:\\d\\a.txt", L"C:\\d\\c.txt", 1}, // freed by c's planned rename
        {L"C:\\d\\a.txt", L"C:\\d\\y.txt", 1}, {L"C:\\d\\z.txt", L"C:\\d\\y.txt", 0}, // not part of the batch
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.expected, batch.CanRename(c.oldName, c.newName))
            << testing::PrintToString(std::wstring(c.oldName)) << " -> "
            << testing::PrintToString(std::wstring(c.newName));
    }
}
