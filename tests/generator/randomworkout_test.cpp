// The random workout generator: segment counts, times,
// fixed segments, patterns, steps and limits, over many seeds.

#include "generatorbench.h"
#include "testenv.h"

#include <gtest/gtest.h>

#include <set>

using namespace kntr;
using test::GeneratorBench;
using test::MachineRanges;
using P = GeneratorParameters;

namespace {

float nearestF(float x)
{
    return static_cast<float>(roundHalfEven(x));
}

} // namespace

TEST(RandomWorkout, SegmentCountCoversLoToHiLessOne)
{
    struct Case {
        int seconds, lo, hi;
    };
    const Case cases[] = {{600, 8, 10}, {1200, 15, 19}, {1260, 10, 14}, {3600, 28, 40}};
    GeneratorBench bench;
    for (const Case& c : cases) {
        const RandomWorkout::CountRange range = RandomWorkout::segmentCountRange(c.seconds);
        EXPECT_EQ(range.lo, c.lo) << c.seconds;
        EXPECT_EQ(range.hi, c.hi) << c.seconds;

        P p = bench.defaults();
        p.time = c.seconds;
        std::set<int> seen;
        for (std::uint32_t seed = 1; seed <= 150; ++seed) {
            ASSERT_TRUE(bench.make(p, seed));
            seen.insert(bench.count());
        }
        EXPECT_EQ(*seen.begin(), c.lo) << c.seconds;
        EXPECT_EQ(*seen.rbegin(), c.hi - 1) << c.seconds;
        EXPECT_EQ(static_cast<int>(seen.size()), c.hi - c.lo) << c.seconds << ": every count in between";
    }
}

TEST(RandomWorkout, TotalTimeIsSnappedToWholeMinutes)
{
    const std::pair<int, int> cases[] = {{1230, 1200}, {1290, 1320}, {1229, 1200}, {600, 600}, {3629, 3600}};
    GeneratorBench bench;
    for (const auto& [given, snapped] : cases) {
        EXPECT_EQ(RandomWorkout::snappedTime(given), snapped) << given;
        P p = bench.defaults();
        p.time = given;
        ASSERT_TRUE(bench.make(p, 3));
        EXPECT_EQ(bench.totalTime(), snapped) << given;
        const RandomWorkout::CountRange range = RandomWorkout::segmentCountRange(snapped);
        EXPECT_GE(bench.count(), range.lo);
        EXPECT_LT(bench.count(), range.hi);
    }
}

TEST(RandomWorkout, EveryPatternKeepsFixedSegmentsTotalTimeRangesAndSteps)
{
    GeneratorBench bench(MachineRanges{10, 120, 5, 0, 150, 10});
    P p = bench.defaults();
    p.speedMin = 20;
    p.speedMax = 100;
    p.inclineMin = 10;
    p.inclineMax = 120;
    p.fixed = {FixedSegment{45, 20, 10}, FixedSegment{90, 35, 20}, FixedSegment{120, 25, 30},
               FixedSegment{30, 10, 0}};

    for (int speedPattern = 0; speedPattern < 3; ++speedPattern)
        for (int inclinePattern = 0; inclinePattern < 3; ++inclinePattern)
            for (int seconds : {600, 1800, 3600})
                for (std::uint32_t seed = 1; seed <= 10; ++seed) {
                    p.speedPattern = speedPattern;
                    p.inclinePattern = inclinePattern;
                    p.time = seconds;
                    bench.session.modified = false;
                    ASSERT_TRUE(bench.make(p, seed));
                    const int n = bench.count();
                    SCOPED_TRACE(testing::Message() << "patterns " << speedPattern << "/" << inclinePattern
                                                    << ", " << seconds << " s, seed " << seed << ", N " << n);
                    ASSERT_GE(n, 8);
                    EXPECT_EQ(bench.totalTime(), seconds);
                    EXPECT_EQ(bench.session.workout.current(), 1);
                    EXPECT_TRUE(bench.session.modified) << "a generated workout is unsaved";

                    const int fixedAt[] = {1, 2, n - 1, n};
                    for (int k = 0; k < 4; ++k) {
                        const int s = fixedAt[k];
                        EXPECT_EQ(bench.time(s), p.fixed[k].seconds) << "segment " << s;
                        EXPECT_EQ(bench.speed(s), p.fixed[k].speed) << "segment " << s;
                        EXPECT_EQ(bench.incline(s), p.fixed[k].incline) << "segment " << s;
                    }
                    for (int s = 3; s <= n - 2; ++s) {
                        EXPECT_GE(bench.time(s), 10) << s;
                        EXPECT_GE(bench.speed(s), p.speedMin) << s;
                        EXPECT_LE(bench.speed(s), p.speedMax) << s;
                        EXPECT_EQ(bench.speed(s) % 5, 0) << s;
                        EXPECT_GE(bench.incline(s), p.inclineMin) << s;
                        EXPECT_LE(bench.incline(s), p.inclineMax) << s;
                        EXPECT_EQ(bench.incline(s) % 10, 0) << s;
                    }
                }
}

TEST(RandomWorkout, IntervalsAreHighAtEverySpacingThMiddleSegment)
{
    GeneratorBench bench; // speed 1.0 - 10.0 step 0.1, incline 1 - 10 step 0.5
    P p = bench.defaults();
    p.time = 3600;
    p.speedPattern = p.inclinePattern = P::Interval;
    for (int spacing : {3, 2}) {
        // The spacing slider is mirrored: the period is 2 + 10 - value.
        p.speedBias[P::Spacing] = p.inclineBias[P::Spacing] = 12 - spacing;
        for (std::uint32_t seed = 1; seed <= 20; ++seed) {
            ASSERT_TRUE(bench.make(p, seed));
            for (int s = 3; s <= bench.count() - 2; ++s) {
                // Spacing 3: segments 5, 8, 11, ...; spacing 2: segments 4, 6, 8, ...
                const bool high = spacing == 3 ? s >= 5 && (s - 5) % 3 == 0 : s % 2 == 0;
                SCOPED_TRACE(testing::Message()
                             << "spacing " << spacing << ", seed " << seed << ", segment " << s);
                // Range 10 - 100: high values lie in the top 35 % (from 68), low ones in the bottom 35 % (to
                // 42).
                for (int v : {bench.speed(s), bench.incline(s)}) {
                    if (high)
                        EXPECT_GE(v, 68);
                    else
                        EXPECT_LE(v, 42);
                }
            }
        }
    }
}

TEST(RandomWorkout, FastSlowAndHillFollowTheirFormulasOnTheSteps)
{
    GeneratorBench bench(MachineRanges{5, 100, 5, 0, 150, 5});
    P p = bench.defaults();
    p.speedPattern = P::FastSlow;
    p.inclinePattern = P::Hill;
    p.speedMin = 10;
    p.speedMax = 100;
    p.inclineMin = 0;
    p.inclineMax = 150;
    for (int peak : {0, 65, 100})
        for (int seconds : {600, 2400, 3600})
            for (std::uint32_t seed = 1; seed <= 8; ++seed) {
                p.speedBias[P::Peak] = p.inclineBias[P::Peak] = peak;
                p.time = seconds;
                ASSERT_TRUE(bench.make(p, seed));
                const int n = bench.count();
                // KS = KI = (N - 4) x peak / 100, in single precision.
                const float k = static_cast<float>(n - 4) * static_cast<float>(peak) / 100.0f;
                for (int s = 3; s <= n - 2; ++s) {
                    SCOPED_TRACE(testing::Message() << "peak " << peak << ", N " << n << ", segment " << s);
                    const float fs = static_cast<float>(s);
                    // Fast-slow turns after segment KS + 2, the hill after KI.
                    const float speedStep = fs <= k + 2
                        ? nearestF(90.0f * static_cast<float>(s - 2) / k)
                        : nearestF(static_cast<float>(n - s) / (static_cast<float>(n) - k) * 90.0f);
                    const float hillStep = fs <= k
                        ? nearestF(150.0f * static_cast<float>(s - 2) / k)
                        : nearestF(150.0f * static_cast<float>(n - s) / (static_cast<float>(n) - k));
                    EXPECT_EQ(bench.speed(s),
                              RandomWorkout::speedOnStep(10 + static_cast<int>(speedStep), 5));
                    EXPECT_EQ(bench.incline(s), RandomWorkout::inclineOnStep(static_cast<int>(hillStep), 5));
                }
                if (peak == 0) { // all falling: from near the top down towards the minimum
                    for (int s = 4; s <= n - 2; ++s)
                        EXPECT_LE(bench.speed(s), bench.speed(s - 1));
                }
                if (peak == 100) { // all rising, up to the top
                    EXPECT_EQ(bench.speed(n - 2), 100);
                }
            }
}

TEST(RandomWorkout, SpeedIsRoundedToTheStepAndInclineTruncated)
{
    struct Case {
        int value, step, speed, incline;
    };
    const Case cases[] = {{47, 5, 45, 45},  {48, 5, 50, 45},  {14, 5, 15, 10}, {45, 5, 45, 45},
                          {25, 10, 20, 20}, {35, 10, 40, 30}, {33, 1, 33, 33}};
    for (const Case& c : cases) {
        EXPECT_EQ(RandomWorkout::speedOnStep(c.value, c.step), c.speed) << c.value << " step " << c.step;
        EXPECT_EQ(RandomWorkout::inclineOnStep(c.value, c.step), c.incline) << c.value << " step " << c.step;
    }
}

TEST(RandomWorkout, ASeedAlwaysGivesTheSameWorkout)
{
    GeneratorBench a, b;
    const auto segments = [](const GeneratorBench& g) {
        std::vector<std::array<int, 3>> out;
        for (int s = 1; s <= g.count(); ++s)
            out.push_back({g.speed(s), g.incline(s), g.time(s)});
        return out;
    };
    P p = a.defaults();
    p.time = 1800;
    ASSERT_TRUE(a.make(p, 7));
    ASSERT_TRUE(b.make(p, 7));
    EXPECT_EQ(segments(a), segments(b));
    ASSERT_TRUE(b.make(p, 8));
    EXPECT_NE(segments(a), segments(b));
}

TEST(RandomWorkout, ImpossibleParametersStillEndWithinTheEditorsLimits)
{
    // The machine's lowest incline (1.5) is no multiple of its step (1): with the
    // range 1.5 - 1.5 no draw can ever be a multiple. Four 240-second fixed
    // segments leave less than nothing of 10 minutes; biases beyond their
    // sliders would make a period or a ramp zero.
    GeneratorBench bench(MachineRanges{15, 15, 10, 15, 100, 10});
    P p = bench.defaults();
    ASSERT_EQ(p.inclineMin, 15);
    p.inclineMax = 15;
    p.time = 300;
    p.speedBias = {101, 12, -1};
    p.inclineBias = {0, 1, 200};
    for (FixedSegment& f : p.fixed)
        f.seconds = 240;
    for (int pattern : {P::Random, P::Interval, P::FastSlow}) {
        p.speedPattern = p.inclinePattern = pattern;
        ASSERT_TRUE(bench.make(p, 5));
        EXPECT_GE(bench.count(), 8);
        for (int s = 1; s <= bench.count(); ++s) {
            EXPECT_EQ(bench.speed(s), 15) << s;
            EXPECT_GE(bench.incline(s), 15) << s;
            EXPECT_LE(bench.incline(s), 100) << s;
            EXPECT_GE(bench.time(s), 10) << s;
            EXPECT_LE(bench.time(s), 3600) << s;
        }
    }
}

TEST(RandomWorkout, AKeptWorkoutIsLeftAlone)
{
    GeneratorBench bench;
    DefaultWorkout(bench.session.workout, bench.settings, QStringLiteral("/tmp"));
    bench.session.modified = true;
    bench.allowNewWorkout = false;
    EXPECT_FALSE(bench.make(bench.defaults(), 1));
    EXPECT_EQ(bench.newWorkouts, 1);
    EXPECT_EQ(bench.count(), 10);
    EXPECT_EQ(bench.totalTime(), 1800);
    EXPECT_TRUE(bench.session.modified);
}
