#include "fs/ArcString.h"
#include "fs/Vectors.h"

#include <gtest/gtest.h>
#include <string>

namespace
{

struct CTracked
{
    explicit CTracked(int id = 0, std::string* log = nullptr) : Id(id), Log(log) {}
    ~CTracked()
    {
        if (Log)
            *Log += std::to_string(Id);
    }
    int Id;
    std::string* Log;
};

TEST(VectorsTest, OwnedElementsAreCopiesDeletedLastToFirst)
{
    std::string log;
    {
        COwnedPtrVector<CTracked> items;
        for (int id = 1; id <= 3; id++)
        {
            CTracked original(id);
            EXPECT_EQ(items.AddCopy(original), static_cast<uint32_t>(id - 1));
        }
        for (uint32_t i = 0; i < items.Count(); i++)
            items.At(i).Log = &log;
        EXPECT_EQ(items.AddNew(), 3u);
        EXPECT_EQ(items.Back().Id, 0);
        items.Back().Log = &log;
        items.DeleteBack();
        EXPECT_EQ(log, "0");
        EXPECT_EQ(items.Count(), 3u);
    }
    EXPECT_EQ(log, "0321");
}

TEST(VectorsTest, ValuesInsertAndGrowInPlace)
{
    CValueVector<uint32_t> values;
    for (uint32_t i = 0; i < 20; i++)
        values.Add(i * 2);
    values.Insert(0, 99);
    values.Insert(5, 77);
    ASSERT_EQ(values.Count(), 22u);
    EXPECT_EQ(values.At(0), 99u);
    EXPECT_EQ(values.At(4), 6u);
    EXPECT_EQ(values.At(5), 77u);
    EXPECT_EQ(values.At(21), 38u);
    values.Clear();
    EXPECT_EQ(values.Count(), 0u);
}

TEST(VectorsTest, ReserveDownKeepsTheElementsAndGivesBackTheRest)
{
    CValueVector<uint32_t> values;
    COwnedPtrVector<CTracked> items;
    for (uint32_t i = 0; i < 10; i++)
    {
        values.Add(i);
        items.AddCopy(CTracked(static_cast<int>(i)));
    }
    ASSERT_GT(values.Capacity(), 10u);
    values.ReserveDown();
    items.ReserveDown();
    EXPECT_EQ(values.Capacity(), 10u);
    EXPECT_EQ(items.Capacity(), 10u);
    for (uint32_t i = 0; i < 10; i++)
    {
        EXPECT_EQ(values.At(i), i);
        EXPECT_EQ(items.At(i).Id, static_cast<int>(i));
    }
    values.Add(10);
    EXPECT_EQ(values.At(10), 10u);
    values.Clear();
    values.ReserveDown();
    EXPECT_EQ(values.Capacity(), 0u);
}

} // namespace
