// The workout text file: the v1.2 writer byte for byte and the reader of all three versions.

#include "files/workouttext.h"
#include "model/workout.h"
#include "platform/memorysettingsstore.h"
#include "testenv.h"

#include <gtest/gtest.h>

using namespace kntr;
using Status = WorkoutTextResult::Status;

namespace {

Workout twoSegments()
{
    Workout w;
    w.setCount(2);
    w.segment(1).setSegmentSpeed(7.5);
    w.segment(1).setSegmentIncline(0);
    w.segment(1).setSegmentTime(3600);
    w.segment(2).setSegmentSpeed(12.25);
    w.segment(2).setSegmentIncline(0.1 + 0.2); // float noise must not reach the file
    w.segment(2).setSegmentTime(60.5);
    return w;
}

std::vector<SegmentValues> segmentsOf(const QByteArray& text)
{
    const WorkoutTextResult r = parseWorkoutText(text);
    EXPECT_EQ(r.status, Status::Ok) << r.problem.toStdString();
    EXPECT_TRUE(r.contents.segments.has_value());
    return r.contents.segments.value_or(std::vector<SegmentValues>{});
}

TEST(WorkoutTextWriter, WritesTheV12LayoutByteForByte)
{
    MemorySettingsStore settings;
    const QByteArray expected = "Vexa v 1.2                \r\n"
                                "\r\n"
                                "[machine settings]\r\n"
                                "Treadmill\r\n"
                                "Miles\r\n"
                                "10\r\n"
                                "100\r\n"
                                "1\r\n"
                                "10\r\n"
                                "100\r\n"
                                "5\r\n"
                                "\r\n"
                                "[segment settings]\r\n"
                                "1\t7.5\t0\t3600\r\n"
                                "2\t12.25\t0.3\t60.5\r\n"
                                "\r\n"
                                "[playlist]\r\n"
                                "\r\n"
                                "\r\n"
                                "\r\n";
    EXPECT_EQ(buildWorkoutText(twoSegments(), settings), expected);
    EXPECT_EQ(QByteArray(kWorkoutMagicLine).size(), 26);
}

TEST(WorkoutTextWriter, CopiesTheMachineBlockAndPlayListAsStored)
{
    MemorySettingsStore settings;
    settings.SaveSetting("Kinetrova", "Machine", "MachineType", "Incline trainer");
    settings.SaveSetting("Kinetrova", "options", "Units", "Kilos");
    settings.SaveSetting("Kinetrova", "Machine", "SpeedMin", "20");
    settings.SaveSetting("Kinetrova", "Machine", "InclineMax", "500");
    settings.SaveSetting("Kinetrova", "audio", "ASXfilename", "/home/me/Music/run.asx");
    const QByteArray text = buildWorkoutText(twoSegments(), settings);
    EXPECT_TRUE(text.contains("[machine settings]\r\nIncline trainer\r\nKilos\r\n20\r\n100\r\n1\r\n"
                              "10\r\n500\r\n5\r\n\r\n"));
    EXPECT_TRUE(text.endsWith("[playlist]\r\n/home/me/Music/run.asx\r\n\r\n\r\n"));
}

TEST(WorkoutTextWriter, HasNPlus18LinesTheLastTwoEmpty)
{
    MemorySettingsStore settings;
    for (int n : {1, 7, 60}) {
        Workout w;
        w.setCount(n);
        const QByteArray text = buildWorkoutText(w, settings);
        const QList<QByteArray> lines = text.split('\n');
        // Every line ends with CR LF, so splitting leaves an empty piece after the last.
        EXPECT_EQ(lines.size() - 1, n + 18);
        EXPECT_EQ(text.count("\r\n"), n + 18);
        EXPECT_EQ(text.count('\r'), text.count('\n'));
        EXPECT_TRUE(text.endsWith("\r\n\r\n\r\n"));
    }
}

TEST(WorkoutTextReader, ReadsBackWhatTheWriterWrote)
{
    MemorySettingsStore settings;
    settings.SaveSetting("Kinetrova", "Machine", "MachineType", "Bike");
    settings.SaveSetting("Kinetrova", "Options", "Units", "Kilos");
    settings.SaveSetting("Kinetrova", "Machine", "SpeedInc", "5");
    settings.SaveSetting("Kinetrova", "audio", "ASXfilename", "/music/list.asx");
    const WorkoutTextResult r = parseWorkoutText(buildWorkoutText(twoSegments(), settings));
    ASSERT_EQ(r.status, Status::Ok);
    EXPECT_EQ(r.contents.version, 2);
    ASSERT_TRUE(r.contents.segments);
    ASSERT_EQ(r.contents.segments->size(), 2u);
    EXPECT_DOUBLE_EQ((*r.contents.segments)[1].speed, 12.25);
    EXPECT_DOUBLE_EQ((*r.contents.segments)[1].incline, 0.3);
    EXPECT_DOUBLE_EQ((*r.contents.segments)[1].seconds, 60.5);
    ASSERT_TRUE(r.contents.machine);
    EXPECT_EQ(r.contents.machine->machineType, "Bike");
    EXPECT_TRUE(r.contents.machine->metric);
    const std::array<double, 6> ranges{1, 10, 0.5, 1, 10, 0.5};
    EXPECT_EQ(r.contents.machine->ranges, ranges);
    EXPECT_EQ(r.contents.playList, "/music/list.asx");
}

TEST(WorkoutTextReader, LfLineEndsReadAsCrLf)
{
    // Saved, then edited in a Linux editor: every line end LF, or only some.
    MemorySettingsStore settings;
    settings.SaveSetting("Kinetrova", "audio", "ASXfilename", "/music/list.asx");
    const QByteArray written = buildWorkoutText(twoSegments(), settings);
    QByteArray allLf = written;
    allLf.replace("\r\n", "\n");
    QByteArray mixed = written;
    mixed.replace("[segment settings]\r\n", "[segment settings]\n");
    const WorkoutTextResult expected = parseWorkoutText(written);
    for (const QByteArray& text : {allLf, mixed}) {
        const WorkoutTextResult r = parseWorkoutText(text);
        ASSERT_EQ(r.status, Status::Ok) << r.problem.toStdString();
        ASSERT_TRUE(r.contents.segments);
        EXPECT_EQ(r.contents.segments->size(), expected.contents.segments->size());
        EXPECT_DOUBLE_EQ((*r.contents.segments)[1].seconds, 60.5);
        EXPECT_EQ(r.contents.playList, "/music/list.asx");
        EXPECT_EQ(r.contents.machine->ranges, expected.contents.machine->ranges);
    }
    // A version 1.0 file too.
    const WorkoutTextResult v10 = parseWorkoutText("Vexa v 1.0                \n1\t3\t2\t5\n\n");
    EXPECT_EQ(v10.status, Status::Ok) << v10.problem.toStdString();
}

TEST(WorkoutTextReader, DurationsAreHeldBetweenTenSecondsAndAnHour)
{
    const QByteArray v12 = "Vexa v 1.2                \r\n\r\n[segment settings]\r\n"
                           "1\t3\t1\t5\r\n2\t3\t1\t4000\r\n3\t3\t1\t10\r\n\r\n[playlist]\r\n\r\n\r\n\r\n";
    const auto segments = segmentsOf(v12);
    ASSERT_EQ(segments.size(), 3u);
    EXPECT_EQ(segments[0].seconds, 10);
    EXPECT_EQ(segments[1].seconds, 3600);
    EXPECT_EQ(segments[2].seconds, 10);

    const QByteArray v11 = "Vexa v 1.1                \r\n1\t3\t1\t5\r\n2\t3\t1\t4000\r\n\r\n";
    const auto old = segmentsOf(v11);
    ASSERT_EQ(old.size(), 2u);
    EXPECT_EQ(old[0].seconds, 10);
    EXPECT_EQ(old[1].seconds, 3600);
}

TEST(WorkoutTextReader, Version10DurationsAreMinutesRoundedToEvenSeconds)
{
    const QByteArray v10 = "Vexa v 1.0                \r\n"
                           "1\t3\t1\t2.5\r\n" // 150 s
                           "2\t3\t1\t0.125\r\n" // 7.5 s → 8 → raised to 10
                           "3\t3\t1\t0.225\r\n" // 13.5 s → 14
                           "4\t3\t1\t0.275\r\n" // 16.5 s → 16
                           "5\t3\t1\t61\r\n" // above an hour
                           "\r\n";
    const auto s = segmentsOf(v10);
    ASSERT_EQ(s.size(), 5u);
    EXPECT_EQ(s[0].seconds, 150);
    EXPECT_EQ(s[1].seconds, 10);
    EXPECT_EQ(s[2].seconds, 14);
    EXPECT_EQ(s[3].seconds, 16);
    EXPECT_EQ(s[4].seconds, 3600);
    const WorkoutTextResult r = parseWorkoutText(v10);
    EXPECT_FALSE(r.contents.machine) << "old versions carry no machine settings";
    EXPECT_TRUE(r.contents.playList.isEmpty());
}

TEST(WorkoutTextReader, CommasReadAsDecimalPoints)
{
    const auto s = segmentsOf("Vexa v 1.1                \r\n1\t2,5\t1,5\t90,5\r\n\r\n");
    ASSERT_EQ(s.size(), 1u);
    EXPECT_DOUBLE_EQ(s[0].speed, 2.5);
    EXPECT_DOUBLE_EQ(s[0].incline, 1.5);
    EXPECT_DOUBLE_EQ(s[0].seconds, 90.5);
}

TEST(WorkoutTextReader, UnitsAndEmptyMachineLines)
{
    const auto machine = [](const QByteArray& units, const QByteArray& ranges) {
        const QByteArray text = "Vexa v 1.2                \r\n\r\n[machine settings]\r\n\r\n" + units
            + "\r\n" + ranges + "\r\n[playlist]\r\n\r\n\r\n\r\n";
        const WorkoutTextResult r = parseWorkoutText(text);
        EXPECT_EQ(r.status, Status::Ok) << r.problem.toStdString();
        return r.contents.machine.value_or(MachineBlock{});
    };
    const QByteArray emptyRanges = "\r\n\r\n\r\n\r\n\r\n\r\n";
    EXPECT_FALSE(machine("Miles", emptyRanges).metric);
    EXPECT_FALSE(machine("", emptyRanges).metric);
    EXPECT_TRUE(machine("Kilos", emptyRanges).metric);
    EXPECT_TRUE(machine("miles", emptyRanges).metric) << "only Miles in this case means miles";

    const MachineBlock fallback = machine("", emptyRanges);
    EXPECT_EQ(fallback.machineType, "Treadmill");
    const std::array<double, 6> defaults{1, 10, 0.1, 1, 10, 0.5};
    EXPECT_EQ(fallback.ranges, defaults);
    const std::array<double, 6> read{2, 12, 0.5, 0, 15, 1};
    EXPECT_EQ(machine("Miles", "20\r\n120\r\n5\r\n0\r\n150\r\n10\r\n").ranges, read);
}

TEST(WorkoutTextReader, AV12FileWithoutSegmentsStillCarriesItsMachineAndPlayList)
{
    const QByteArray text = "Vexa v 1.2                \r\n\r\n[machine settings]\r\nBike\r\nMiles\r\n"
                            "10\r\n100\r\n1\r\n10\r\n100\r\n5\r\n\r\n[playlist]\r\n/x.asx\r\n\r\n\r\n";
    const WorkoutTextResult r = parseWorkoutText(text);
    ASSERT_EQ(r.status, Status::Ok);
    EXPECT_FALSE(r.contents.segments);
    ASSERT_TRUE(r.contents.machine);
    EXPECT_EQ(r.contents.machine->machineType, "Bike");
    EXPECT_EQ(r.contents.playList, "/x.asx");
}

TEST(WorkoutTextReader, ForeignFilesAreNotRecognisedAndLaterVersionsAreNewer)
{
    for (const QByteArray& text : {QByteArray("Hello world"), QByteArray("vexa v 1.2                \r\n"),
                                   QByteArray(), QByteArray("Vexa v 2.0                \r\n")})
        EXPECT_EQ(parseWorkoutText(text).status, Status::NotRecognised) << text.constData();
    for (char digit = '3'; digit <= '9'; ++digit) {
        const QByteArray text = QByteArray("Vexa v 1.") + digit
            + "                \r\n\r\n[segment settings]\r\n1\t3\t1\t60\r\n\r\n";
        const WorkoutTextResult r = parseWorkoutText(text);
        EXPECT_EQ(r.status, Status::Newer) << digit;
        EXPECT_EQ(r.problem, QStringLiteral("version 1.") + QLatin1Char(digit));
    }
}

TEST(WorkoutTextReader, EveryNumberReadIsWrittenBackAsRead)
{
    // Accepted: what the writer makes of it reads back to the same value.
    for (const char* value : {"999999999999999.4", "-99999999999999.9", "1e-300", "0.1", "1e14"}) {
        const auto first = segmentsOf(QByteArray("Vexa v 1.1                \r\n1\t") + value + "\t" + value
                                      + "\t60\r\n\r\n");
        ASSERT_EQ(first.size(), 1u) << value;
        Workout w;
        w.setCount(1);
        w.segment(1).setSegmentSpeed(first[0].speed);
        w.segment(1).setSegmentIncline(first[0].incline);
        w.segment(1).setSegmentTime(first[0].seconds);
        const auto again = segmentsOf(buildWorkoutText(w, MemorySettingsStore()));
        ASSERT_EQ(again.size(), 1u) << value;
        EXPECT_DOUBLE_EQ(again[0].speed, first[0].speed) << value;
        EXPECT_DOUBLE_EQ(again[0].incline, first[0].incline) << value;
    }
    // Refused, naming the segment's line: what the writer could not give back.
    const QByteArray head = "Vexa v 1.2                \r\n\r\n[segment settings]\r\n1\t3\t1\t60\r\n";
    const struct {
        QByteArray line;
        const char* problem;
    } refused[] = {
        {"2\t1.8e308\t1\t60", "segment 2 (line 5): the speed \"1.8e308\" is out of range"},
        {"2\t3\t1.79769313486231e308\t60",
         "segment 2 (line 5): the incline \"1.79769313486231e308\" is out of range"},
        {"2\t-999999999999999.5\t1\t60",
         "segment 2 (line 5): the speed \"-999999999999999.5\" is out of range"},
        {"2\t3\t1\t1e-400", "segment 2 (line 5): the time \"1e-400\" is out of range"},
        {"2\t3\tnan\t60", "segment 2 (line 5): the incline \"nan\" is not a number"},
    };
    for (const auto& r : refused) {
        const WorkoutTextResult result = parseWorkoutText(head + r.line + "\r\n\r\n");
        EXPECT_EQ(result.status, Status::Malformed) << r.problem;
        EXPECT_EQ(result.problem, r.problem);
    }
    const WorkoutTextResult machine = parseWorkoutText(
        "Vexa v 1.2                \r\n\r\n[machine settings]\r\nBike\r\nMiles\r\n10\r\n1e300\r\n"
        "1\r\n10\r\n100\r\n5\r\n\r\n");
    EXPECT_EQ(machine.problem, "line 7: the machine range \"1e300\" is out of range");
}

TEST(WorkoutTextReader, BrokenLayoutsAreMalformed)
{
    const QByteArray head = "Vexa v 1.2                \r\n\r\n[segment settings]\r\n";
    const QByteArray tail = "\r\n[playlist]\r\n\r\n\r\n\r\n";
    QByteArray sixtyOne;
    for (int i = 1; i <= 61; ++i)
        sixtyOne += QByteArray::number(i) + "\t3\t1\t60\r\n";
    const QByteArray cases[] = {
        "Vexa v 1.x                \r\n1\t3\t1\t60\r\n\r\n", // version is no digit
        "Vexa v 1", // no version
        head + "1\t3\t1\t60\r\n2\t3 1 60\r\n" + tail, // a line without TABs
        head + "1\t3\tsteep\t60\r\n" + tail, // not a number
        head + "1\t3\t1\t\r\n" + tail, // empty duration
        head + "1\t3\t1\tinf\r\n" + tail, // no finite number
        head + "1\t3\t1\t60\r\n", // the block never ends
        head + sixtyOne + tail, // more than the workout holds
        "Vexa v 1.1                \r\n", // no segment at all
        "Vexa v 1.2                \r\n\r\n[machine settings]\r\nBike\r\nMiles\r\n10\r\n",
        "Vexa v 1.2                \r\n\r\n[machine settings]\r\nBike\r\nMiles\r\nten\r\n100\r\n"
        "1\r\n10\r\n100\r\n5\r\n\r\n",
    };
    for (const QByteArray& text : cases) {
        const WorkoutTextResult r = parseWorkoutText(text);
        EXPECT_EQ(r.status, Status::Malformed) << text.constData();
        EXPECT_FALSE(r.problem.isEmpty());
    }
}

TEST(WorkoutTextReader, SixtySegmentsFit)
{
    QByteArray text = "Vexa v 1.1                \r\n";
    for (int i = 1; i <= 60; ++i)
        text += QByteArray::number(i) + "\t3\t1\t60\r\n";
    text += "\r\n";
    EXPECT_EQ(segmentsOf(text).size(), 60u);
}

} // namespace
