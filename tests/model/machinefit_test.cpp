#include "model/machinefit.h"
#include "model/machine.h"
#include "model/numbers.h"
#include "model/workout.h"

#include <array>

#include <gtest/gtest.h>

#include <limits>

using namespace kntr;

namespace {

TEST(FitTenths, SnapsToStepsCountedFromZeroThenClamps)
{
    // A treadmill from 2.0 to 10.0 mph in steps of 0.5.
    EXPECT_EQ(fitTenths(3.3, 5, 20, 100), 35);
    EXPECT_EQ(fitTenths(1.2, 5, 20, 100), 20);
    EXPECT_EQ(fitTenths(11.0, 5, 20, 100), 100);
    // Snapping counts from 0, not from the minimum: 2.7 with steps of 1.0 from 1.5.
    EXPECT_EQ(fitTenths(2.7, 10, 15, 100), 30);
}

TEST(FitTenths, HalfwayValuesGoToTheEvenStep)
{
    EXPECT_EQ(fitTenths(2.5, 10, 0, 120), 20);
    EXPECT_EQ(fitTenths(3.5, 10, 0, 120), 40);
    EXPECT_EQ(fitTenths(0.25, 5, 0, 120), 0); // 2.5 → 0.5 steps: 0.5 → 0
    EXPECT_EQ(fitTenths(0.75, 5, 0, 120), 10); // 7.5 → 1.5 steps → 2 steps
}

TEST(FitTenths, AClampedValueTakesTheLimitExactly)
{
    // 1.5 is no multiple of the step 1.0, yet a value below it becomes 1.5.
    EXPECT_EQ(fitTenths(0.4, 10, 15, 95), 15);
    EXPECT_EQ(fitTenths(20.0, 10, 15, 95), 95);
}

TEST(FitTenths, NoStepOnlyRoundsAndNonNumbersTakeTheMinimum)
{
    EXPECT_EQ(fitTenths(3.26, 0, 0, 100), 33);
    EXPECT_EQ(fitTenths(1e9, 5, 0, 100), 100);
    EXPECT_EQ(fitTenths(std::numeric_limits<double>::quiet_NaN(), 5, 10, 100), 10);
}

TEST(FitWorkout, FitsBothAttributesOfEverySegmentInUse)
{
    Machine machine;
    machine.resetToDefaults(); // speed 1..10 by 0.1, incline 1..10 by 0.5
    Workout workout;
    workout.setCount(3);
    workout.segment(1).setSegmentSpeed(0.5);
    workout.segment(1).setSegmentIncline(3.3);
    workout.segment(2).setSegmentSpeed(4.44);
    workout.segment(2).setSegmentIncline(12);
    workout.segment(3).setSegmentSpeed(7.25);
    workout.segment(3).setSegmentIncline(0);
    workout.segment(4).setSegmentSpeed(99); // beyond the count: left alone
    workout.setCount(3);

    fitWorkoutToMachine(workout, machine);
    EXPECT_DOUBLE_EQ(workout.segment(1).SegmentSpeed(), 1.0);
    EXPECT_DOUBLE_EQ(workout.segment(1).SegmentIncline(), 3.5);
    EXPECT_DOUBLE_EQ(workout.segment(2).SegmentSpeed(), 4.4);
    EXPECT_DOUBLE_EQ(workout.segment(2).SegmentIncline(), 10.0);
    EXPECT_DOUBLE_EQ(workout.segment(3).SegmentSpeed(), 7.2);
    EXPECT_DOUBLE_EQ(workout.segment(3).SegmentIncline(), 1.0);
    EXPECT_DOUBLE_EQ(workout.segment(4).SegmentSpeed(), 99);
}

TEST(MachineChoice, TakesValuesAmongTheTypesChoicesAndOtherwiseKeepsTheProfiles)
{
    Machine machine;
    machine.resetToDefaults(); // a treadmill in miles: speed 1..10 by 0.1, incline 1..10 by 0.5
    // 1.5, 7.7 and 0.3 are none of the treadmill's choices: those ranges keep the profile's.
    applyMachineChoice(machine, {"Treadmill", true, {3, 12, 1.5, 7.7, 6, 0.3}});
    EXPECT_EQ(machine.MachineType(), "Treadmill");
    EXPECT_EQ(machine.DisplayUnits(), "Kilos");
    const std::array<int, 6> expected{30, 120, 1, 10, 60, 5};
    const std::array<int, 6> got{machine.AttOneMin(), machine.AttOneMax(), machine.AttOneInc(),
                                 machine.AttTwoMin(), machine.AttTwoMax(), machine.AttTwoInc()};
    EXPECT_EQ(got, expected);

    // An unknown type keeps the profile's type; for a new type, a value that is
    // neither given nor kept among its choices becomes the first choice.
    applyMachineChoice(machine, {"Rowing machine", false, {-1, -1, -1, -1, -1, -1}});
    EXPECT_EQ(machine.MachineType(), "Treadmill");
    EXPECT_EQ(machine.DisplayUnits(), "Miles");
    EXPECT_EQ(machine.AttOneMax(), 120);
    applyMachineChoice(machine, {"Bike", false, {-1, -1, -1, -1, -1, -1}});
    EXPECT_EQ(machine.AttTwoVoiceCue(), "Resistance");
    const QStringList& maxima = machine.AttOneMaxList();
    ASSERT_FALSE(maxima.isEmpty());
    const QString max = plainNumber(machine.AttOneMax() / 10.0, systemDecimalSeparator());
    EXPECT_TRUE(maxima.contains(max)) << max.toStdString();
}

} // namespace
