#include "core/CutTimes.h"

#include "core/CutSection.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(CutTimesTest, TimeText)
{
    const struct
    {
        double ms;
        const char *text;
    } cases[] = {{0, "0.00.000"}, {5, "0.00.005"}, {45, "0.00.045"}, {1000, "0.01.000"},
        {59999, "0.59.999"}, {59999.9, "0.59.999"}, {60000, "1.00.000"}, {61050, "1.01.050"},
        {185045, "3.05.045"}, {5400000, "90.00.000"}, {-5, "0.00.000"}, {NaN, "0.00.000"}};
    for (const auto &c : cases)
        EXPECT_EQ(CutTimes::TimeText(c.ms), QString::fromLatin1(c.text)) << c.ms;
}

TEST(CutTimesTest, ScrollValueAndMilliseconds)
{
    EXPECT_EQ(CutTimes::MsOfScrollValue(0, 200000), 0);
    EXPECT_EQ(CutTimes::MsOfScrollValue(CutTimes::ScrollMax, 200000), 200000);
    EXPECT_EQ(CutTimes::MsOfScrollValue(10001, 200000), 200000);
    EXPECT_EQ(CutTimes::ScrollValueOfMs(29, 200000), 1); // 1.45 steps
    EXPECT_EQ(CutTimes::ScrollValueOfMs(31, 200000), 2); // 1.55 steps
    EXPECT_EQ(CutTimes::ScrollValueOfMs(200500, 200000), CutTimes::ScrollMax);
    EXPECT_EQ(CutTimes::ScrollValueOfMs(-10, 200000), 0);
    EXPECT_EQ(CutTimes::MarkerProportion(2000, 8000), 0.25);
    for (double unknown : {0.0, -1.0, NaN}) {
        EXPECT_EQ(CutTimes::MsOfScrollValue(5000, unknown), 0);
        EXPECT_EQ(CutTimes::ScrollValueOfMs(1000, unknown), std::nullopt);
        EXPECT_EQ(CutTimes::MarkerProportion(1000, unknown), std::nullopt);
        EXPECT_EQ(CutTimes::MsOfPosition(unknown), 0);
    }
    for (double len : {1.0, 187431.3, 7200000.0}) {
        for (int v = 0; v <= CutTimes::ScrollMax; ++v)
            ASSERT_EQ(CutTimes::ScrollValueOfMs(CutTimes::MsOfScrollValue(v, len), len), v) << len;
    }
}

TEST(CutTimesTest, FinishBeforeStartLeavesNoSection)
{
    CutSection cut;
    cut.setStartMs(CutTimes::MsOfPosition(2.0));
    cut.setEndMs(CutTimes::FinishNotBeforeStart(CutTimes::MsOfPosition(1.0), cut.startMs()));
    EXPECT_EQ(cut.endMs(), 2000);
    EXPECT_FALSE(cut.isSet());
    cut.setEndMs(CutTimes::FinishNotBeforeStart(3000, cut.startMs()));
    EXPECT_TRUE(cut.isSet());
    // A start dragged beyond the finish stays; the section is no longer offered.
    cut.setStartMs(CutTimes::MsOfScrollValue(5000, 8000));
    EXPECT_EQ(cut.startMs(), 4000);
    EXPECT_FALSE(cut.isSet());
}

} // namespace
