#include "model/machine.h"
#include "model/totals.h"
#include "model/workout.h"
#include "platform/memorysettingsstore.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace kntr;

namespace {

class WorkoutTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale::c()); }

    MemorySettingsStore settings;
    Workout workout;
};

TEST_F(WorkoutTest, DefaultWorkoutTotals)
{
    DefaultWorkout(workout, settings, "/home/u/.local/share/kinetrova");
    EXPECT_EQ(workout.count(), 10);
    EXPECT_EQ(workout.current(), 1);

    const WorkoutTotals miles = computeTotals(workout, "Treadmill", Units::Miles);
    EXPECT_EQ(minutesSecondsText(miles.seconds), "30:00");
    EXPECT_EQ(totalDistanceText(miles.distance), "1.467");
    const WorkoutTotals km = computeTotals(workout, "Treadmill", Units::Kilometres);
    EXPECT_EQ(totalDistanceText(km.distance), "2.361");
    EXPECT_EQ(totalCaloriesText(miles.calories), totalCaloriesText(km.calories));

    EXPECT_EQ(settings.GetSetting("Kinetrova", "File", "LastDirectory"), "/home/u/.local/share/kinetrova");
    EXPECT_EQ(settings.GetSetting("Kinetrova", "File", "LastFile"),
              "/home/u/.local/share/kinetrova/default.txt");
    DefaultWorkout(workout, settings, "/data/");
    EXPECT_EQ(settings.GetSetting("Kinetrova", "File", "LastFile"), "/data/default.txt");
}

TEST_F(WorkoutTest, TotalsCoverOnlyTheSegmentsInUse)
{
    DefaultWorkout(workout, settings, "/d");
    workout.setCount(2);
    EXPECT_EQ(computeTotals(workout, "Treadmill", Units::Miles).seconds, 180);
    // Shrinking keeps the old slots; growing again reuses them with their values.
    workout.setCount(3);
    EXPECT_EQ(workout.segment(3).SegmentSpeed(), 4.0);
}

TEST_F(WorkoutTest, TimeText)
{
    EXPECT_EQ(minutesSecondsText(1800), "30:00");
    EXPECT_EQ(minutesSecondsText(65), "1:05");
    EXPECT_EQ(minutesSecondsText(69), "1:09");
    EXPECT_EQ(minutesSecondsText(70), "1:10");
    EXPECT_EQ(minutesSecondsText(10), "0:10");
    EXPECT_EQ(minutesSecondsText(216000), "3600:00");
    EXPECT_EQ(minutesSecondsText(59.6), "1:00"); // never ":60"
    EXPECT_EQ(minutesSecondsText(119.5), "2:00");
}

TEST_F(WorkoutTest, EllipticalDistanceRuleAndSegmentDistanceText)
{
    Segment s;
    s.setSegmentSpeed(5);
    s.setSegmentTime(60);
    EXPECT_EQ(segmentDistanceText(s, "Elliptical", Units::Miles), "0.056 mi");
    EXPECT_EQ(segmentDistanceText(s, "Treadmill", Units::Miles), "0.083 mi");
    EXPECT_EQ(segmentDistanceText(s, "Treadmill", Units::Kilometres), "0.134 km");

    s.setSegmentSpeed(3);
    EXPECT_EQ(segmentDistanceText(s, "Treadmill", Units::Miles), "0.05 mi");
}

TEST_F(WorkoutTest, WeightTextAndWeightReachesEverySegmentInUse)
{
    EXPECT_EQ(weightText(160, Units::Miles), "160");
    EXPECT_EQ(weightText(160, Units::Kilometres), "72.6");
    EXPECT_EQ(weightUnitText(Units::Miles), "lb");
    EXPECT_EQ(weightUnitText(Units::Kilometres), "kg");

    DefaultWorkout(workout, settings, "/d");
    const double before = computeTotals(workout, "Treadmill", Units::Miles).calories;
    workout.setWeight(200);
    const double after = computeTotals(workout, "Treadmill", Units::Miles).calories;
    // Every default segment is in the walking band: 1.811 kcal/h per pound over 0.5 h.
    EXPECT_NEAR(after - before, 40 * 1.811 * 0.5, 1e-9);
}

TEST_F(WorkoutTest, DisplayTextsUseTheLocaleSeparator)
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    DefaultWorkout(workout, settings, "/d");
    EXPECT_EQ(totalDistanceText(computeTotals(workout, "Treadmill", Units::Miles).distance), "1,467");
    EXPECT_EQ(weightText(160, Units::Kilometres), "72,6");
    QLocale::setDefault(QLocale::c());
}

TEST_F(WorkoutTest, NewWorkoutIsOneMinuteAtTheMachinesLowestValues)
{
    DefaultWorkout(workout, settings, "/d");
    workout.setCurrent(7);
    Machine machine;
    machine.GetSettings(settings);
    machine.setAttOneMin(20);
    machine.setAttTwoMin(0);
    NewWorkout(workout, machine, settings);

    EXPECT_EQ(workout.count(), 1);
    EXPECT_EQ(workout.current(), 1);
    EXPECT_EQ(workout.segment(1).SegmentSpeed(), 2.0);
    EXPECT_EQ(workout.segment(1).SegmentIncline(), 0.0);
    EXPECT_EQ(workout.segment(1).SegmentTime(), 60);
    EXPECT_EQ(settings.GetSetting("Kinetrova", "File", "LastFile", "unset"), "");
    EXPECT_EQ(minutesSecondsText(computeTotals(workout, "Treadmill", Units::Miles).seconds), "1:00");
}

TEST_F(WorkoutTest, HoldsAtMostSixtySegments)
{
    workout.setCount(59);
    EXPECT_FALSE(workout.isFull());
    workout.setCount(60);
    EXPECT_TRUE(workout.isFull());
    workout.setCount(61);
    EXPECT_EQ(workout.count(), 60);
    workout.setCount(0);
    EXPECT_EQ(workout.count(), 1);
    EXPECT_STREQ(kWorkoutFullMessage,
                 "You have reached the maximum number of segments\r"
                 "per workout. No additional segments can be added.");
}

} // namespace
