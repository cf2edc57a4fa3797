#include "editor/editor.h"
#include "editor/graphgeometry.h"

#include "model/session.h"
#include "platform/clock.h"
#include "platform/memorysettingsstore.h"
#include "scriptedmessageboxes.h"
#include "platform/settingsstore.h"
#include "manualclock.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace kntr;
using Field = Editor::Field;
using Key = Editor::Key;
using Box = Editor::Box;

namespace {

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        session.machine.resetToDefaults(); // Treadmill, miles, 1.0-10.0 by 0.1, incline 1.0-10.0 by 0.5
        DefaultWorkout(session.workout, settings, "/data");
        editor.applyMachineRanges();
        editor.setWeight(160);
        editor.selectSegment(1);
        session.modified = false;
        QObject::connect(&editor, &Editor::changed, [this](unsigned c) { changes.push_back(c); });
    }

    void select(int index) { editor.selectSegment(index); }

    const Segment& seg(int i) const { return session.workout.segment(i); }

    /// The graph's columns at 500 pixels, as the window's graph would have them.
    ColumnWidths widths() const { return columnWidths(session.workout, 500); }
    /// A press on such a graph: the segment under x, as the graph finds it.
    void graphPress(int x, int y, Editor::Button button)
    {
        editor.graphPress(segmentAtX(widths(), x), x, y, button);
    }

    Session session;
    MemorySettingsStore settings;
    ScriptedMessageBoxes messages;
    ManualClock clock;
    Editor editor{session, settings, messages, clock};
    std::vector<unsigned> changes;
};

TEST_F(EditorTest, ShowsTheSelectedSegment)
{
    select(4); // 3.0 mph, 2 %, 480 s
    EXPECT_EQ(editor.text(Field::Segment), "4");
    EXPECT_EQ(editor.text(Field::Speed), "3");
    EXPECT_EQ(editor.text(Field::Incline), "2");
    EXPECT_EQ(editor.text(Field::Time), "8:00");
    EXPECT_EQ(editor.control(Field::Speed).value, 30);
    EXPECT_EQ(editor.control(Field::Incline).value, 20);
    EXPECT_EQ(editor.control(Field::Time).value, 480);
    EXPECT_EQ(editor.totals().time, "30:00");
    EXPECT_EQ(editor.totals().distance, "1.467");
    EXPECT_EQ(editor.totals().segmentDistance, "0.4 mi");
    EXPECT_EQ(editor.activeBox(), Box::Segment);
    EXPECT_FALSE(session.modified);
}

TEST_F(EditorTest, SelectionNeverMarksTheWorkoutModified)
{
    select(3);
    EXPECT_FALSE(session.modified);
    editor.setValue(Field::Speed, 45);
    EXPECT_TRUE(session.modified);
    select(1);
    EXPECT_TRUE(session.modified); // and keeps a mark that is there
}

TEST_F(EditorTest, SelectionFitsTheSegmentIntoTheControls)
{
    session.workout.segment(2).setSegmentSpeed(12.0); // above the 10 mph maximum
    session.workout.segment(2).setSegmentTime(9); // below the 10 s minimum
    select(2);
    EXPECT_EQ(seg(2).SegmentSpeed(), 10.0);
    EXPECT_EQ(seg(2).SegmentTime(), 10);
    EXPECT_EQ(editor.text(Field::Time), "0:10");
}

TEST_F(EditorTest, ValueChangesWriteTheSegmentAndTotals)
{
    select(1);
    editor.setValue(Field::Speed, 35);
    EXPECT_EQ(seg(1).SegmentSpeed(), 3.5);
    EXPECT_EQ(editor.text(Field::Speed), "3.5");
    EXPECT_EQ(editor.activeBox(), Box::Speed);
    editor.setValue(Field::Incline, 25);
    EXPECT_EQ(seg(1).SegmentIncline(), 2.5);
    EXPECT_EQ(editor.text(Field::Incline), "2.5");
    editor.setValue(Field::Time, 65);
    EXPECT_EQ(editor.text(Field::Time), "1:05");
    EXPECT_EQ(editor.totals().time, "30:05");
    editor.setValue(Field::Time, 600);
    EXPECT_EQ(editor.text(Field::Time), "10:00");
    EXPECT_EQ(editor.activeBox(), Box::Time);
    EXPECT_TRUE(session.modified);
    // A value outside the range is ignored, as a scroll bar would.
    editor.setValue(Field::Speed, 200);
    EXPECT_EQ(seg(1).SegmentSpeed(), 3.5);
}

TEST_F(EditorTest, EveryOperationReportsOnce)
{
    changes.clear();
    editor.setValue(Field::Speed, 35);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_TRUE(changes[0] & Editor::Graph);
    EXPECT_TRUE(changes[0] & Editor::Totals);
    EXPECT_TRUE(changes[0] & Editor::ActiveBox);
}

TEST_F(EditorTest, InsertCopiesTheCurrentSegmentAfterIt)
{
    DefaultWorkout(session.workout, settings, "/data");
    session.workout.setCount(5);
    select(3);
    editor.insertCopyOfCurrent();
    ASSERT_EQ(session.workout.count(), 6);
    EXPECT_EQ(session.workout.current(), 4);
    EXPECT_EQ(seg(4).SegmentSpeed(), 4.0); // a copy of segment 3
    EXPECT_EQ(seg(4).SegmentTime(), 240);
    EXPECT_EQ(seg(5).SegmentTime(), 480); // old segment 4
    EXPECT_EQ(seg(6).SegmentIncline(), 3.0); // old segment 5
    EXPECT_EQ(editor.control(Field::Segment).max, 6);
    EXPECT_EQ(editor.text(Field::Segment), "4");
    EXPECT_TRUE(session.modified);
}

TEST_F(EditorTest, InsertedSegmentBurnsForTheUsersWeight)
{
    editor.setWeight(250);
    session.workout.setCount(10);
    select(10);
    editor.insertCopyOfCurrent(); // slot 11 is made fresh
    Segment expected = seg(10);
    expected.setSegmentWeight(250);
    EXPECT_DOUBLE_EQ(seg(11).SegmentCalories(), expected.SegmentCalories());
}

TEST_F(EditorTest, InsertIsRefusedAtSixtySegments)
{
    session.workout.setCount(60);
    select(60);
    session.modified = false;
    editor.insertCopyOfCurrent();
    EXPECT_EQ(session.workout.count(), 60);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(
        messages.shown()[0].text,
        "You have reached the maximum number of segments\rper workout. No additional segments can be added.");
    EXPECT_EQ(messages.shown()[0].icon, MessageBoxes::Icon::Information);
    EXPECT_FALSE(session.modified);
}

TEST_F(EditorTest, DeleteMiddleKeepsTheNumber)
{
    session.workout.setCount(5);
    select(2);
    editor.deleteCurrent();
    EXPECT_EQ(session.workout.count(), 4);
    EXPECT_EQ(session.workout.current(), 2);
    EXPECT_EQ(seg(2).SegmentSpeed(), 4.0); // old segment 3
    EXPECT_EQ(editor.text(Field::Speed), "4");
    EXPECT_EQ(editor.text(Field::Time), "4:00");
    EXPECT_TRUE(session.modified);
}

TEST_F(EditorTest, DeleteLastSelectsTheNewLast)
{
    session.workout.setCount(5);
    select(5);
    editor.deleteCurrent();
    EXPECT_EQ(session.workout.count(), 4);
    EXPECT_EQ(session.workout.current(), 4);
    EXPECT_EQ(editor.control(Field::Segment).value, 4);
    EXPECT_EQ(editor.text(Field::Segment), "4");
}

TEST_F(EditorTest, DeleteTheOnlySegmentDoesNothing)
{
    session.workout.setCount(1);
    select(1);
    editor.deleteCurrent();
    EXPECT_EQ(session.workout.count(), 1);
    EXPECT_FALSE(session.modified);
}

TEST_F(EditorTest, TimeKeys)
{
    select(1);
    editor.setValue(Field::Time, 3595);
    editor.keyPress(Field::Time, Key::PageUp);
    EXPECT_EQ(seg(1).SegmentTime(), 3600);
    clock.advance(1000);
    editor.keyPress(Field::Time, Key::Up);
    EXPECT_EQ(seg(1).SegmentTime(), 3600);
    editor.setValue(Field::Time, 15);
    clock.advance(700);
    editor.keyPress(Field::Time, Key::PageDown);
    EXPECT_EQ(seg(1).SegmentTime(), 10);
    clock.advance(300);
    editor.keyPress(Field::Time, Key::Down);
    EXPECT_EQ(seg(1).SegmentTime(), 10);
    clock.advance(2000);
    editor.keyPress(Field::Time, Key::Right);
    EXPECT_EQ(seg(1).SegmentTime(), 11);
}

TEST_F(EditorTest, SteadyTimeChangesSpeedUpTheStep)
{
    select(1); // the selection set the time control too: a change long before these
    for (int i = 0; i < 3; ++i) {
        clock.advance(i == 0 ? 1000 : 50);
        editor.keyPress(Field::Time, Key::Up);
        EXPECT_EQ(editor.control(Field::Time).step, 1) << "change " << i + 1;
    }
    clock.advance(50);
    editor.keyPress(Field::Time, Key::Up); // the fourth change at a steady rate
    EXPECT_EQ(editor.control(Field::Time).step, 10);
    EXPECT_EQ(seg(1).SegmentTime(), 64);
    clock.advance(50);
    editor.keyPress(Field::Time, Key::Up);
    EXPECT_EQ(seg(1).SegmentTime(), 65) << "a key moves one second; the step is the scroll arrows'";
    EXPECT_EQ(editor.control(Field::Time).step, 10);
    clock.advance(400); // an irregular change
    editor.keyPress(Field::Time, Key::Up);
    EXPECT_EQ(editor.control(Field::Time).step, 1);
}

TEST_F(EditorTest, SpeedAndInclineKeysStopAtTheLimits)
{
    select(1); // 1.0 mph: the minimum
    editor.keyPress(Field::Speed, Key::Down);
    EXPECT_EQ(seg(1).SegmentSpeed(), 1.0);
    EXPECT_FALSE(session.modified); // nothing moved
    editor.keyPress(Field::Speed, Key::Up);
    EXPECT_EQ(seg(1).SegmentSpeed(), 1.1);
    editor.setValue(Field::Speed, 99);
    editor.keyPress(Field::Speed, Key::PageUp);
    EXPECT_EQ(seg(1).SegmentSpeed(), 10.0);
    editor.keyPress(Field::Incline, Key::Up);
    EXPECT_EQ(seg(1).SegmentIncline(), 1.5);
    editor.setValue(Field::Incline, 97); // off the step grid: one step up reaches the maximum
    editor.keyPress(Field::Incline, Key::Right);
    EXPECT_EQ(seg(1).SegmentIncline(), 10.0);
    editor.setValue(Field::Incline, 13);
    editor.keyPress(Field::Incline, Key::Left);
    EXPECT_EQ(seg(1).SegmentIncline(), 1.0);
}

TEST_F(EditorTest, SegmentAndWeightKeys)
{
    select(1);
    editor.keyPress(Field::Segment, Key::Down);
    EXPECT_EQ(session.workout.current(), 1);
    editor.keyPress(Field::Segment, Key::PageUp);
    EXPECT_EQ(session.workout.current(), 2);
    select(10);
    editor.keyPress(Field::Segment, Key::Right);
    EXPECT_EQ(session.workout.current(), 10);
    EXPECT_FALSE(editor.keyPress(Field::Segment, Key::Other));

    editor.setWeight(300);
    editor.keyPress(Field::Weight, Key::Up);
    EXPECT_EQ(editor.control(Field::Weight).value, 300);
    editor.keyPress(Field::Weight, Key::Down);
    EXPECT_EQ(session.weightPounds, 299);
    EXPECT_EQ(settings.GetSetting(kAppName, "user", "weight"), "299");
}

TEST_F(EditorTest, WeightAppliesToEverySegment)
{
    editor.setValue(Field::Weight, 200);
    Segment check = seg(3);
    check.setSegmentWeight(200);
    EXPECT_DOUBLE_EQ(seg(3).SegmentCalories(), check.SegmentCalories());
    EXPECT_EQ(editor.text(Field::Weight), "200");
    editor.switchUnits(Units::Kilometres);
    EXPECT_EQ(editor.text(Field::Weight), "90.7"); // 200 × 0.4535924
}

TEST_F(EditorTest, PaceToggle)
{
    select(1);
    editor.setValue(Field::Speed, 60);
    session.modified = false;
    editor.toggleSpeedDisplay();
    EXPECT_EQ(editor.speedCaption(), "1/Speed");
    EXPECT_EQ(editor.text(Field::Speed), "10");
    EXPECT_EQ(settings.GetSetting(kAppName, "options", "distMode"), "invert");
    EXPECT_FALSE(session.modified);
    editor.switchUnits(Units::Kilometres);
    EXPECT_EQ(editor.speedCaption(), "1/Speed"); // the chosen display survives the unit switch
    EXPECT_EQ(editor.text(Field::Speed), "6.2"); // 60 / 9.66
    editor.toggleSpeedDisplay();
    EXPECT_EQ(editor.speedCaption(), "Speed");
    EXPECT_EQ(editor.text(Field::Speed), "9.7");
    EXPECT_EQ(settings.GetSetting(kAppName, "options", "distMode"), "normal");
}

TEST_F(EditorTest, EllipticalHasNoPace)
{
    session.machine.setMachineType("Elliptical");
    settings.SaveSetting(kAppName, "options", "distMode", "invert");
    editor.applySpeedDisplayMode();
    EXPECT_EQ(editor.speedCaption(), "Resist.");
    select(3);
    EXPECT_EQ(editor.text(Field::Speed), "4"); // the level as stored
    editor.toggleSpeedDisplay();
    EXPECT_EQ(editor.speedCaption(), "Resist.");
    EXPECT_EQ(settings.GetSetting(kAppName, "options", "distMode"), "normal");
    EXPECT_EQ(editor.totals().segmentDistance, "0.183 mi"); // (4 × 0.589 + 0.386) × 240 / 3600
}

TEST_F(EditorTest, UnitSwitchShowsKilometresWithoutConvertingTheWorkout)
{
    select(3);
    editor.switchUnits(Units::Kilometres);
    EXPECT_EQ(settings.GetSetting(kAppName, "Options", "Units"), "Kilos");
    EXPECT_EQ(editor.text(Field::Speed), "6.4"); // 4 × 1.61
    EXPECT_EQ(editor.totals().distance, "2.361");
    EXPECT_EQ(editor.distanceUnitText(), "km");
    EXPECT_EQ(seg(3).SegmentSpeed(), 4.0);
    EXPECT_FALSE(session.modified);
    editor.switchUnits(Units::Miles);
    EXPECT_EQ(editor.totals().distance, "1.467");
    EXPECT_EQ(editor.distanceUnitText(), "Miles");
}

TEST_F(EditorTest, GraphPressSelectsAndRightButtonCyclesTheActiveBox)
{
    int x = 0;
    for (int i = 1; i < 4; ++i)
        x += widths()[i - 1] + 1;
    graphPress(x + 2, 10, Editor::Button::Left); // inside segment 4
    EXPECT_EQ(session.workout.current(), 4);
    EXPECT_FALSE(session.modified);

    graphPress(x + 2, 10, Editor::Button::Right);
    EXPECT_EQ(editor.activeBox(), Box::Speed);
    graphPress(x + 2, 10, Editor::Button::Right);
    EXPECT_EQ(editor.activeBox(), Box::Incline);
    graphPress(x + 2, 10, Editor::Button::Right);
    EXPECT_EQ(editor.activeBox(), Box::Time);
    graphPress(x + 2, 10, Editor::Button::Right);
    EXPECT_EQ(editor.activeBox(), Box::Speed);
    graphPress(0, 10, Editor::Button::Left); // the left button keeps the box
    EXPECT_EQ(session.workout.current(), 1);
    EXPECT_EQ(editor.activeBox(), Box::Speed);
    graphPress(499, 10, Editor::Button::Left); // the last gap pixel
    EXPECT_EQ(session.workout.current(), 10);
}

TEST_F(EditorTest, DraggingChangesTheActiveValue)
{
    graphPress(5, 100, Editor::Button::Right); // segment 1, speed active
    ASSERT_EQ(editor.activeBox(), Box::Speed);
    editor.graphMove(5, 90, true); // up
    EXPECT_EQ(seg(1).SegmentSpeed(), 1.1);
    editor.graphMove(5, 89, true); // 1 pixel is no move
    EXPECT_EQ(seg(1).SegmentSpeed(), 1.1);
    editor.graphMove(5, 95, true); // down
    EXPECT_EQ(seg(1).SegmentSpeed(), 1.0);
    editor.graphMove(5, 80, false); // no button held
    EXPECT_EQ(seg(1).SegmentSpeed(), 1.0);

    graphPress(5, 80, Editor::Button::Right); // incline
    graphPress(5, 80, Editor::Button::Right); // time
    ASSERT_EQ(editor.activeBox(), Box::Time);
    editor.graphMove(20, 80, true);
    EXPECT_EQ(seg(1).SegmentTime(), 70);
    editor.graphMove(10, 80, true);
    EXPECT_EQ(seg(1).SegmentTime(), 60);
    editor.graphMove(20, 400, true); // too much vertical drift for a time drag
    EXPECT_EQ(seg(1).SegmentTime(), 60);
}

TEST_F(EditorTest, DisabledEditingIgnoresTheUserButNotTheProgram)
{
    editor.setEditingEnabled(false);
    graphPress(400, 10, Editor::Button::Left);
    EXPECT_EQ(session.workout.current(), 1);
    EXPECT_FALSE(editor.keyPress(Field::Segment, Key::Up));
    EXPECT_EQ(session.workout.current(), 1);
    // The run engine advances the selection through the control.
    editor.setValue(Field::Segment, 2);
    EXPECT_EQ(session.workout.current(), 2);
}

TEST_F(EditorTest, MachineRangesTakeEffect)
{
    session.machine.setAttOneMax(120);
    session.machine.setAttOneInc(5);
    editor.applyMachineRanges();
    EXPECT_EQ(editor.control(Field::Speed).max, 120);
    EXPECT_EQ(editor.control(Field::Speed).step, 5);
    EXPECT_EQ(editor.control(Field::Speed).page, 5);
}

} // namespace
