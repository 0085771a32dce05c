// A mission named on the command line: its entry name in any case, the list's text, or @OFFSET.
#include "archive/MissionQuery.h"

#include <gtest/gtest.h>

namespace orvik {
namespace {

TEST(MissionQuery, NamesAndOffsets)
{
    struct Case {
        const char* wanted;
        bool valid;
        bool matches; // the mission "m1.bms (Hill Fort)" at offset 4096
    };
    const Case cases[] = {
        {"m1.bms", true, true},
        {"M1.BMS", true, true},
        {"m1.bms (hill fort)", true, true},
        {"m2.bms", true, false},
        {"@4096", true, true},
        {"@4097", true, false},
        {"@-4096", true, false},
        {"@", false, false},
        {"@40x", false, false},
        {"@ 4096", false, false},
        {"4096", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wanted);
        const MissionQuery query(c.wanted);
        EXPECT_EQ(query.IsValid(), c.valid);
        EXPECT_EQ(query.Matches(4096, "m1.bms", "m1.bms (hill fort)"), c.matches);
    }
}

} // namespace
} // namespace orvik
