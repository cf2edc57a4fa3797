#include "model/segment.h"

#include <gtest/gtest.h>

using namespace kntr;

namespace {

Segment make(double speed, double incline, double seconds, double pounds)
{
    Segment s;
    s.setSegmentSpeed(speed);
    s.setSegmentIncline(incline);
    s.setSegmentTime(seconds);
    s.setSegmentWeight(pounds);
    return s;
}

TEST(Segment, StartsWithItsInitialValues)
{
    Segment s;
    EXPECT_EQ(s.SegmentSpeed(), 1.0);
    EXPECT_EQ(s.SegmentIncline(), 1.0);
    EXPECT_EQ(s.SegmentTime(), 6.0);
}

TEST(Segment, DistanceIsTimeTimesSpeed)
{
    EXPECT_DOUBLE_EQ(make(3.0, 0, 60, 160).SegmentDistance(), 0.05);
    EXPECT_DOUBLE_EQ(make(12.0, 0, 3600, 160).SegmentDistance(), 12.0);
}

TEST(SegmentCalories, FirstFormulaBelowTheThreshold)
{
    // (0 − 223.6 + 182.7 + 289.76) × 60 ÷ 3600
    EXPECT_NEAR(make(3.0, 0, 60, 160).SegmentCalories(), 4.1477, 1e-4);
}

TEST(SegmentCalories, SecondFormulaOnceTheSegmentAloneReachesTheThreshold)
{
    // First formula: 525.46 ≥ 388, so the second applies.
    EXPECT_NEAR(make(3.0, 10, 3600, 160).SegmentCalories(), 664.22, 1e-9);
    // The threshold is compared after scaling: the same effort for a minute stays on the first.
    EXPECT_NEAR(make(3.0, 10, 60, 160).SegmentCalories(), 525.46 / 60, 1e-9);
}

TEST(SegmentCalories, BandEdgesAndNoClamping)
{
    // Exactly 4.0 is in the walking band, exactly 5.0 in the running band.
    EXPECT_NEAR(make(4.0, 0, 60, 160).SegmentCalories(), (-223.6 + 4.0 * 60.9 + 160 * 1.811) / 60, 1e-9);
    EXPECT_NEAR(make(4.5, 0, 60, 160).SegmentCalories(), (-981.3 + 4.5 * 227.9 + 160 * 2.441) / 60, 1e-9);
    EXPECT_NEAR(make(5.0, 0, 60, 160).SegmentCalories(), (-545.6 + 5.0 * 98.88 + 160 * 4.219) / 60, 1e-9);
    // Light, slow and flat: negative, and left negative.
    EXPECT_LT(make(1.0, 0, 60, 50).SegmentCalories(), 0);
    // The brisk band switches at 596 and the running band at 917.
    EXPECT_NEAR(make(4.5, 15, 3600, 200).SegmentCalories(), 15 * 40.73 - 1924 + 4.5 * 374.5 + 200 * 4.157,
                1e-9);
    EXPECT_NEAR(make(8.0, 5, 3600, 200).SegmentCalories(), 5 * 49.98 - 1458 + 8.0 * 178.8 + 200 * 6.445,
                1e-9);
}

} // namespace
