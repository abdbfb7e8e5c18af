// The filer background picture's schedule and its walk through the picture list.
#include "graphics/viewer/BackgroundSchedule.h"

#include <gtest/gtest.h>

namespace
{
SYSTEMTIME At(int year, int month, int day, int hour, int minute)
{
    SYSTEMTIME time = {};
    time.wYear = WORD(year);
    time.wMonth = WORD(month);
    time.wDay = WORD(day);
    time.wHour = WORD(hour);
    time.wMinute = WORD(minute);
    return time;
}

bool AnyFile(const CString&, void*)
{
    return true;
}

bool BmpOnly(const CString& path, void*)
{
    return IsBmpFileName(path);
}

CArrayCommonFileEx List(std::initializer_list<const wchar_t*> names)
{
    CArrayCommonFileEx list;
    for (const wchar_t* name : names)
        list.AddUnique(name);
    return list;
}
} // namespace

TEST(GraphicBackgroundTest, NextChangeTimeFromNowOrFromMidnight)
{
    struct Case
    {
        int type;
        SYSTEMTIME now;
        int days, hours, minutes;
        SYSTEMTIME expected;
    };
    const Case cases[] = {
        {3, At(2026, 5, 4, 13, 10), 0, 6, 0, At(2026, 5, 4, 18, 0)},
        {3, At(2026, 5, 4, 18, 0), 0, 6, 0, At(2026, 5, 5, 0, 0)},  // not after now: one more
        {3, At(2026, 5, 4, 23, 59), 0, 0, 1, At(2026, 5, 5, 0, 0)}, // many short intervals
        {2, At(2026, 5, 4, 13, 10), 0, 6, 0, At(2026, 5, 4, 19, 10)},
        {2, At(2026, 12, 31, 23, 0), 0, 0, 0, At(2027, 1, 1, 23, 0)}, // all zero: one day
    };
    for (const Case& c : cases)
    {
        SYSTEMTIME next = NextBackgroundChangeTime(c.type, c.now, c.days, c.hours, c.minutes);
        EXPECT_EQ(c.expected.wYear, next.wYear);
        EXPECT_EQ(c.expected.wMonth, next.wMonth);
        EXPECT_EQ(c.expected.wDay, next.wDay) << c.type << " " << c.now.wHour << ":" << c.now.wMinute;
        EXPECT_EQ(c.expected.wHour, next.wHour) << c.type << " " << c.now.wHour << ":" << c.now.wMinute;
        EXPECT_EQ(c.expected.wMinute, next.wMinute);
    }
    EXPECT_TRUE(IsLaterThan(At(2026, 5, 4, 13, 11), At(2026, 5, 4, 13, 10)));
    EXPECT_FALSE(IsLaterThan(At(2026, 5, 4, 13, 10), At(2026, 5, 4, 13, 10)));
}

TEST(GraphicBackgroundTest, OccasionsDecideLoadingChoosingAndRetiming)
{
    const int L = BACKGROUND_LOAD, N = BACKGROUND_NEXT, T = BACKGROUND_RETIME;
    struct Case
    {
        int reason, type;
        bool due;
        int expected;
    };
    const Case cases[] = {{0, 0, true, L},         {0, 1, false, N | L}, {0, 2, false, L},
                          {0, 3, true, L | N | T}, {1, 1, true, L},      {1, 3, false, L | T},
                          {2, 0, true, 0},         {2, 1, true, 0},      {2, 2, false, 0},
                          {2, 2, true, N | T | L}, {3, 0, false, L},     {3, 1, false, N | L},
                          {3, 3, false, N | T | L}};
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, DecideBackgroundActions(c.reason, c.type, c.due)) << c.reason << "/" << c.type;
}

TEST(GraphicBackgroundTest, TheWalkWrapsSkipsUsedEntriesAndStaysInRange)
{
    CArrayCommonFileEx list = List({L"a.bmp", L"b.jpg", L"C.BMP"});
    CString current = L"A.BMP";
    ChooseNextBackgroundPicture(list, current, false, 0, BmpOnly, nullptr);
    EXPECT_STREQ(L"C.BMP", current); // after the current one, the jpg refused
    ChooseNextBackgroundPicture(list, current, false, 0, BmpOnly, nullptr);
    EXPECT_STREQ(L"a.bmp", current); // wraps

    CArrayCommonFileEx jpgs = List({L"x.jpg", L"y.JPG"});
    CString kept = L"old.bmp";
    ChooseNextBackgroundPicture(jpgs, kept, false, 0, BmpOnly, nullptr);
    EXPECT_STREQ(L"old.bmp", kept);

    // Random: the largest value the runtime gives still picks an entry of the list.
    CArrayCommonFileEx random = List({L"1.bmp", L"2.bmp", L"3.bmp"});
    CString chosen;
    ChooseNextBackgroundPicture(random, chosen, true, 0x7FFF, AnyFile, nullptr);
    EXPECT_STREQ(L"2.bmp", chosen); // 0x7FFF % 3 = 1
    ChooseNextBackgroundPicture(random, chosen, true, 0x7FFF, AnyFile, nullptr);
    EXPECT_STREQ(L"3.bmp", chosen); // 2 used: skipped
    ChooseNextBackgroundPicture(random, chosen, true, 0x7FFF, AnyFile, nullptr);
    EXPECT_STREQ(L"1.bmp", chosen);
    // Every entry used: the marks are cleared and one is chosen again.
    chosen.Empty();
    ChooseNextBackgroundPicture(random, chosen, true, 0x7FFF, AnyFile, nullptr);
    EXPECT_STREQ(L"2.bmp", chosen);

    CArrayCommonFileEx empty;
    ChooseNextBackgroundPicture(empty, chosen, true, 5, AnyFile, nullptr);
    EXPECT_TRUE(chosen.IsEmpty());
}
