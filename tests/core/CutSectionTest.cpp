#include "core/CutSection.h"

#include <gtest/gtest.h>

// The one test behind playing and converting a section: a start or a finish is set, and a set
// finish lies after the start (a finish at or before the start offers nothing).
TEST(CutSection, IsSetOnlyForAUsableSection)
{
    const struct
    {
        double start, end;
        bool set;
    } cases[] = {
        {0, 0, false},
        {5000, 0, true}, // from the start to the end of the file
        {0, 8000, true},
        {5000, 8000, true},
        {8000, 8000, false},
        {8000, 5000, false},
        {-1, 0, false},
    };
    for (const auto &c : cases) {
        CutSection cut;
        cut.setStartMs(c.start);
        cut.setEndMs(c.end);
        EXPECT_EQ(cut.isSet(), c.set) << c.start << " .. " << c.end;
        cut.reset();
        EXPECT_FALSE(cut.isSet());
    }
}
