// The generator window's logic without widgets: sliders, captions, the adjust
// toggle, Make and Close.

#include "generator/randomworkoutmodel.h"
#include "generatorbench.h"
#include "testenv.h"

#include <gtest/gtest.h>

using namespace kntr;
using test::GeneratorBench;
using test::MachineRanges;
using Form = RandomWorkoutModel;
using Range = Form::Range;
using Attribute = Form::Attribute;
using SegmentValue = Form::SegmentValue;

namespace {

class RandomWorkoutModelTest : public ::testing::Test {
protected:
    QString stored(const char* key) const
    {
        return bench.settings.GetSetting(kAppName, QStringLiteral("RandomWork"), QLatin1String(key));
    }

    GeneratorBench bench{MachineRanges{5, 100, 5, 0, 150, 5}};
    Form form{bench.session, bench.settings, bench.clock,
              [this](const Workout& w) { return bench.useWorkout(w); }};
    int changes = 0;
};

} // namespace

TEST_F(RandomWorkoutModelTest, RangeSlidersSnapToTheStepAndKeepMinimumBelowMaximum)
{
    form.load();
    form.setChangeHandler([this] { ++changes; });
    EXPECT_EQ(form.rangeSlider(Range::SpeedMax).value, 100);
    EXPECT_EQ(form.rangeSlider(Range::SpeedMax).step, 5);
    EXPECT_EQ(form.rangeCaption(Range::SpeedMax), "Speed Max:");
    EXPECT_EQ(form.rangeCaption(Range::InclineMin), "Incline Min:");

    form.setRange(Range::SpeedMax, 47);
    EXPECT_EQ(form.rangeSlider(Range::SpeedMax).value, 45);
    EXPECT_EQ(form.rangeText(Range::SpeedMax), "4.5");
    form.setRange(Range::SpeedMin, 30);
    form.setRange(Range::SpeedMax, 20); // below the minimum: the minimum's value
    EXPECT_EQ(form.rangeSlider(Range::SpeedMax).value, 30);
    form.setRange(Range::SpeedMin, 60); // above the maximum: the maximum's value
    EXPECT_EQ(form.rangeSlider(Range::SpeedMin).value, 30);
    form.setRange(Range::InclineMin, 14);
    EXPECT_EQ(form.rangeSlider(Range::InclineMin).value, 10);
    EXPECT_EQ(form.rangeText(Range::InclineMin), "1");
    EXPECT_EQ(changes, 5);

    // In kilometres the speeds show as km/h: 4.5 mph x 1.61 = 7.245, shown 7.2.
    form.setRange(Range::SpeedMax, 45);
    form.setSegmentValue(SegmentValue::Speed, 0, 45);
    SwitchUnits(bench.session.machine, bench.settings, Units::Kilometres);
    EXPECT_EQ(form.rangeText(Range::SpeedMax), "7.2");
    EXPECT_EQ(form.segmentText(SegmentValue::Speed, 0), "7.2");
    bench.settings.SaveSetting("Kinetrova", "options", "distMode",
                               "invert"); // pace shown: the window shows mph
    EXPECT_EQ(form.rangeText(Range::SpeedMax), "4.5");
}

TEST_F(RandomWorkoutModelTest, PatternsShowTheirBiasAndMakeIsRefusedWhileAdjustingOrKeepingTheWorkout)
{
    form.load();
    const char* captions[] = {"Ramp Up: slow - fast", "Intervals: few - many", "Peak: early - late"};
    for (int i : {1, 2, 0}) {
        form.choosePattern(Attribute::Incline, i);
        EXPECT_EQ(form.pattern(Attribute::Incline), i);
        EXPECT_EQ(form.biasCaption(Attribute::Incline), captions[i]);
        EXPECT_EQ(form.pattern(Attribute::Speed), 0);
    }

    form.toggleFixedSegments();
    form.showSegment(2);
    EXPECT_FALSE(form.makeWorkout());
    EXPECT_EQ(bench.newWorkouts, 0) << "no workout is made while the fixed segments are shown";
    form.toggleFixedSegments();
    EXPECT_EQ(form.segmentOption(), 0);

    bench.allowNewWorkout = false;
    EXPECT_FALSE(form.makeWorkout());
    EXPECT_EQ(bench.newWorkouts, 1);
    bench.allowNewWorkout = true;
    EXPECT_TRUE(form.makeWorkout());
    EXPECT_TRUE(form.makeEnabled()) << "the window stays for another workout";
}
