#include "core/CutTimes.h"
#include "core/CutSection.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <tuple>

using namespace CutTimes;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// The one test behind playing and converting a section: a start or a finish is set, and a set
// finish lies after the start; a finish before the start moves to it, and offers nothing.
TEST(CutTimesTest, AUsableSection)
{
    const std::tuple<double, double, bool> cases[] = {{0, 0, false}, {5000, 0, true}, {0, 1, true},
        {8000, 8001, true}, {8000, 8000, false}, {8000, 5000, false}, {-1, 0, false}};
    for (const auto &[start, end, set] : cases) {
        CutSection cut;
        cut.setStartMs(start);
        cut.setEndMs(end);
        EXPECT_EQ(cut.isSet(), set) << start << " .. " << end;
        cut.reset();
        EXPECT_FALSE(cut.isSet());
    }
    EXPECT_EQ(FinishNotBeforeStart(1000, 2000), 2000);
    EXPECT_EQ(FinishNotBeforeStart(3000, 2000), 3000);
}

TEST(CutTimesTest, TimeTextScrollValuesAndMarkers)
{
    const std::pair<double, const char *> texts[] = {{0, "0.00.000"}, {5, "0.00.005"},
        {1000, "0.01.000"}, {59999.9, "0.59.999"}, {60000, "1.00.000"}, {185045, "3.05.045"},
        {5400000, "90.00.000"}, {-5, "0.00.000"}, {NaN, "0.00.000"}};
    for (const auto &[ms, text] : texts)
        EXPECT_EQ(TimeText(ms), QString::fromLatin1(text)) << ms;
    // Scroll values and times of a 200 s file, beyond either end too; 29 ms is 1.45 steps.
    for (const auto &[value, ms] :
        {std::pair {ScrollMax, 200000}, {ScrollMax + 1, 200000}, {-1, 0}})
        EXPECT_EQ(MsOfScrollValue(value, 200000), ms) << value;
    for (const auto &[ms, value] : {std::pair {29, 1}, {31, 2}, {200500, ScrollMax}, {-10, 0}})
        EXPECT_EQ(ScrollValueOfMs(ms, 200000), value) << ms;
    EXPECT_EQ(MarkerProportion(2000, 8000), 0.25);
    EXPECT_EQ(MsOfPosition(2.0), 2000);
    // A broken probe's endless position stays a time; an endless length is not a known one.
    const double endless = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(std::isfinite(MsOfPosition(endless)));
    EXPECT_EQ(ScrollValueOfMs(1000, endless), std::nullopt);
    EXPECT_EQ(MarkerProportion(1000, endless), std::nullopt);
    for (double unknown : {0.0, -1.0, NaN}) {
        EXPECT_EQ(MsOfScrollValue(5000, unknown), 0);
        EXPECT_EQ(ScrollValueOfMs(1000, unknown), std::nullopt);
        EXPECT_EQ(MarkerProportion(1000, unknown), std::nullopt);
        EXPECT_EQ(MsOfPosition(unknown), 0);
    }
    for (double len : {1.0, 187431.3, 7200000.0}) {
        for (int v = 0; v <= ScrollMax; ++v)
            ASSERT_EQ(ScrollValueOfMs(MsOfScrollValue(v, len), len), v) << len;
    }
}
