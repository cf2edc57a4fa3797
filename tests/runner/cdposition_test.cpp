#include "runner/cdposition.h"

#include "testenv.h"

#include <gtest/gtest.h>

using namespace kntr;

TEST(CdPosition, MovesOnByThePause)
{
    const struct {
        const char* saved;
        qint64 pausedMs;
        const char* expected;
    } cases[] = {
        {"02:58:10", 4500, "03:02:10"},
        {"12:59:40", 1200, "13:00:40"}, // seconds roll over; zero seconds keep two digits
        {"00:02:00      ", 0, "00:02:00      "},
        {"99:59:74", 61000, "101:00:74"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cdResumePosition(c.saved, c.pausedMs), c.expected) << c.saved;
}
