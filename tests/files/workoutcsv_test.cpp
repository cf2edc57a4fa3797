// Workout tables (CSV): the dialects read, the refusals, and export then import over the test workouts.
// What export writes is checked through kinetrova-cli export (tests/app).

#include "files/workoutcsv.h"
#include "files/workoutdocument.h"
#include "model/machine.h"
#include "model/machinefit.h"
#include "model/session.h"
#include "platform/apppaths.h"
#include "platform/memorysettingsstore.h"
#include "recordingworkoutview.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>

#include <gtest/gtest.h>

using namespace kntr;

namespace {

Machine machineOf(const char* type)
{
    Machine m;
    m.resetToDefaults();
    m.setMachineType(QString::fromLatin1(type));
    return m;
}

struct Row {
    double one, two, seconds;
};

TEST(WorkoutTable, EachDialectReadsTheSameSegments)
{
    const struct {
        const char* what;
        const char* machine;
        Units units;
        QByteArray text;
        std::vector<Row> rows; // as segments hold them: mph
    } cases[] = {
        {"comma",
         "Treadmill",
         Units::Miles,
         "time,speed,incline\r\n1:00,6.5,2\r\n90,3,1.5\r\n",
         {{6.5, 2, 60}, {3, 1.5, 90}}},
        {"semicolon, decimal comma, any case",
         "Treadmill",
         Units::Miles,
         "Time;SPEED;Incline\n0:45;6,5;2,5\n;;\n\n2:00;4;0\n",
         {{6.5, 2.5, 45}, {4, 0, 120}}},
        {"tab, h:mm:ss and fractions",
         "Treadmill",
         Units::Miles,
         "time\tspeed\tincline\n1:00:00\t5\t1\n0:30.5\t.5\t1,\n",
         {{5, 1, 3600}, {0.5, 1, 30.5}}},
        {"any order, extra columns, units named, quotes",
         "Treadmill",
         Units::Miles,
         "Notes,Incline (%),\"Time\",Speed [mph]\n\"warm, easy\",1,10,3\n",
         {{3, 1, 10}}},
        {"km/h", "Treadmill", Units::Kilometres, "time,speed,incline\n1:00,16.1,2\n", {{10, 2, 60}}},
        {"a Bike's resistance",
         "Bike",
         Units::Kilometres,
         "time,speed,resistance\n1:00,8.05,7\n",
         {{5, 7, 60}}},
        {"a Bike's second column called incline",
         "Bike",
         Units::Miles,
         "time,speed,incline\n1:00,5,7\n",
         {{5, 7, 60}}},
        {"an Elliptical's resistance is never km/h",
         "Elliptical",
         Units::Kilometres,
         "resistance;incline;time\n4;2;1:00\n",
         {{4, 2, 60}}},
        {"Unicode text with a byte order mark",
         "Treadmill",
         Units::Miles,
         QStringEncoder(QStringConverter::Utf16LE, QStringEncoder::Flag::WriteBom)
             .encode(QStringLiteral("time\tspeed\tincline\r\n1:00\t6,5\t2\r\n")),
         {{6.5, 2, 60}}},
    };
    for (const auto& c : cases) {
        const WorkoutTableResult read = parseWorkoutTable(c.text, machineOf(c.machine), c.units);
        ASSERT_TRUE(read.table) << c.what << ": " << read.problem.toStdString();
        const std::vector<SegmentValues> got = read.table->contents().segments.value();
        ASSERT_EQ(got.size(), c.rows.size()) << c.what;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_NEAR(got[i].speed, c.rows[i].one, 1e-12) << c.what << " row " << i;
            EXPECT_EQ(got[i].incline, c.rows[i].two) << c.what << " row " << i;
            EXPECT_EQ(got[i].seconds, c.rows[i].seconds) << c.what << " row " << i;
        }
    }
}

TEST(WorkoutTable, RefusalsNameTheLineAndColumn)
{
    QByteArray sixtyOne = "time,speed,incline\n";
    for (int i = 0; i < 61; ++i)
        sixtyOne += "1:00,5,1\n";
    const struct {
        QByteArray text;
        const char* problem;
    } cases[] = {
        {"time,speed,incline\n1:00,5,1\n0:30,fast,1\n", "line 3, column speed: 'fast' is not a number"},
        {"1:00,5,1\n", "line 1: no header row naming the columns time, speed, incline"},
        {"", "the table is empty"},
        {"\n \n", "the table is empty"},
        {"time,speed,incline\n\n", "line 1: the table has no rows under its header"},
        {"time,speed,notes\n1:00,5,x\n", "line 1: no column incline"},
        {"\ntime,speed,resistance\n",
         "line 2, column resistance: a Treadmill has no resistance (its columns: "
         "time, speed, incline)"},
        {"time,speed,Speed,incline\n", "line 1, column Speed: the same as column speed"},
        {"time,speed,incline\n1:00,5\n", "line 2, column incline: no value"},
        {"Time;Speed;Incline\n0:09,5;5;1\n", "line 2, column Time: '0:09,5' is under 10 seconds"},
        {"time,speed,incline\n1:00:01,5,1\n", "line 2, column time: '1:00:01' is over 3600 seconds"},
        {"time,speed,incline\n1:75,5,1\n",
         "line 2, column time: '1:75' is not a time (seconds, m:ss or h:mm:ss)"},
        {"time,speed,incline\n60,\"6,5\",1\n", "line 2, column speed: '6,5' is not a number"},
        {"time,speed,incline\n60,5,1e3\n", "line 2, column incline: '1e3' is not a number"},
        {"time,speed,incline\n60,5,9999999999999999\n",
         "line 2, column incline: '9999999999999999' is not a number"},
        {sixtyOne, "line 62: more than 60 rows"},
        {QByteArray("time,speed,incline\n1:00,5\0,1\n", 29), "not a text file"},
    };
    for (const auto& c : cases) {
        const WorkoutTableResult read = parseWorkoutTable(c.text, machineOf("Treadmill"), Units::Miles);
        EXPECT_FALSE(read.table) << c.problem;
        EXPECT_EQ(read.problem, QString::fromUtf8(c.problem));
    }
}

TEST(WorkoutTable, ExportThenImportGivesTheSameSegmentsOverTheTestWorkouts)
{
    const QDir corpus(QStringLiteral(KNTR_FUZZ_CORPUS_DIR "/workout_text"));
    int tried = 0;
    for (const QString& name : corpus.entryList(QDir::Files, QDir::Name)) {
        QFile file(corpus.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const WorkoutTextResult text = parseWorkoutText(file.readAll());
        if (text.status != WorkoutTextResult::Status::Ok || !text.contents.segments)
            continue;
        for (const Units units : {Units::Miles, Units::Kilometres}) {
            // The workout as File > Open leaves it, then as import reads its export
            // with the same machine stored.
            MemorySettingsStore settings;
            const AppPaths paths{QDir::tempPath(), QDir::tempPath()};
            Session opened, imported;
            RecordingWorkoutView view;
            loadStoredMachine(opened.machine, settings);
            WorkoutDocument(opened, settings, view, paths).apply(text.contents);
            WorkoutDocument(opened, settings, view, paths).fitToMachine();

            const QByteArray table = buildWorkoutTable(opened.workout, opened.machine, units);
            loadStoredMachine(imported.machine, settings);
            const WorkoutTableResult read = parseWorkoutTable(table, imported.machine, units);
            ASSERT_TRUE(read.table) << name.toStdString() << ": " << read.problem.toStdString();
            WorkoutDocument document(imported, settings, view, paths);
            document.apply(read.table->contents());
            document.fitToMachine();
            EXPECT_TRUE(sameSegments(opened.workout, imported.workout)) << name.toStdString() << "\n"
                                                                        << table.toStdString();
            EXPECT_EQ(read.table->changes(imported.workout), QStringList()) << name.toStdString();
            ++tried;
        }
    }
    EXPECT_GE(tried, 20);
}

} // namespace
