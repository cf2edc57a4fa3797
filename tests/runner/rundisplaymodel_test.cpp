#include "runner/rundisplaymodel.h"

#include "model/session.h"
#include "model/storedsettings.h"
#include "platform/memorysettingsstore.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace kntr;

namespace {

class RunDisplayModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        session.machine.setMachineType(QStringLiteral("Treadmill"));
        session.machine.setDisplayUnits(QStringLiteral("Miles"));
        Workout& w = session.workout;
        w.setCount(3);
        const double rows[3][3] = {{3.0, 1.0, 120}, {6.0, 2.5, 300}, {4.0, 0, 180}};
        for (int i = 0; i < 3; ++i) {
            w.segment(i + 1).setSegmentSpeed(rows[i][0]);
            w.segment(i + 1).setSegmentIncline(rows[i][1]);
            w.segment(i + 1).setSegmentTime(rows[i][2]);
        }
    }

    Session session;
    MemorySettingsStore settings;
};

} // namespace

TEST_F(RunDisplayModelTest, FollowsTheRunThroughTheWorkout)
{
    RunDisplayModel model(session, settings);
    model.begin();
    struct Step {
        int segment;
        const char* left;
        const char* elapsed;
        int progress;
        const char* next;
    };
    const Step steps[] = {
        {1, "2:00", "0:00", 0, "Next: Speed 6, Incline 2.5"},
        {1, "0:30", "1:30", 150, "Next: Speed 6, Incline 2.5"},
        {2, "4:00", "3:00", 300, "Next: Speed 4, Incline 0"},
        {3, "0:00", "10:00", 1000, "Next: end of workout"},
    };
    for (const Step& s : steps) {
        model.showSegment(s.segment, QStringLiteral("x"), QStringLiteral("y"));
        model.showTimeLeft(QString::fromLatin1(s.left));
        EXPECT_EQ(model.segmentText(), QStringLiteral("Segment %1 of 3").arg(s.segment));
        EXPECT_EQ(model.timeLeftText(), s.left);
        EXPECT_EQ(model.elapsedText(), s.elapsed) << s.left;
        EXPECT_EQ(model.progress(), s.progress) << s.left;
        EXPECT_EQ(model.nextText(), s.next);
    }
    EXPECT_EQ(model.totalText(), "10:00");
    EXPECT_EQ(model.firstText(), "x");
    EXPECT_EQ(model.secondText(), "y");
}

TEST_F(RunDisplayModelTest, CaptionsFollowUnitsAndPace)
{
    struct Case {
        const char* units;
        bool pace;
        const char* caption;
        const char* next;
    };
    const Case cases[] = {
        {"Miles", false, "Speed mph", "Next: Speed 6, Incline 2.5"},
        {"Kilos", false, "Speed km/h", "Next: Speed 9.7, Incline 2.5"},
        {"Miles", true, "1/Speed min/mile", "Next: 1/Speed 10, Incline 2.5"},
        {"Kilos", true, "1/Speed min/km", "Next: 1/Speed 6.2, Incline 2.5"},
    };
    for (const Case& c : cases) {
        session.machine.setDisplayUnits(QString::fromLatin1(c.units));
        OptionsSettings(settings).setPaceShown(c.pace);
        RunDisplayModel model(session, settings);
        model.begin();
        model.showSegment(1, QString(), QString());
        EXPECT_EQ(model.firstCaption(), c.caption);
        EXPECT_EQ(model.secondCaption(), "Incline");
        EXPECT_EQ(model.nextText(), c.next);
    }
}
