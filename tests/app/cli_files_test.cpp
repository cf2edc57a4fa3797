// kinetrova-cli totals, convert, import and export on workout files and tables.

#include "clirun.h"
#include "files/textfile.h"
#include "files/workoutfiles.h"
#include "files/workouttext.h"
#include "model/workout.h"
#include "platform/apppaths.h"
#include "platform/memorysettingsstore.h"
#include "testenv.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kntr;

namespace {

using test::CliRun;

class CliFilesTest : public ::testing::Test {
protected:
    CliRun run(const QStringList& args) { return test::runCliCaptured(args, settings, paths); }
    QString file(const QString& name, const QByteArray& bytes)
    {
        const QString p = dir.path() + "/" + name;
        EXPECT_TRUE(writeTextFile(p, bytes));
        return p;
    }
    QString defaultWorkoutFile()
    {
        Workout w;
        MemorySettingsStore scratch;
        DefaultWorkout(w, scratch, dir.path());
        return file("default.txt", buildWorkoutText(w, MemorySettingsStore()));
    }

    QTemporaryDir dir;
    MemorySettingsStore settings;
    AppPaths paths{dir.path() + "/program", dir.path() + "/data"};
};

TEST_F(CliFilesTest, TotalsOfTheDefaultWorkout)
{
    const QString workout = defaultWorkoutFile();
    CliRun r = run({"totals", workout});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Segments:  10\n")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Time:      30:00\n"));
    EXPECT_TRUE(r.out.contains("Distance:  1.467 Miles\n"));
    EXPECT_TRUE(r.out.contains("Calories:  "));

    r = run({"totals", workout, "--units", "km"});
    EXPECT_TRUE(r.out.contains("Distance:  2.361 km\n")) << r.out.toStdString();
    EXPECT_TRUE(settings.isEmpty()) << "the user's settings are left alone";
}

TEST_F(CliFilesTest, TotalsUseTheFilesUnitsAndTheStoredOrGivenWeight)
{
    // One hour at 3 mph up 10 %: the calorie formula's second branch; no incline step
    // or range of the file's machine changes it.
    const QString workout =
        file("hour.txt",
             "Vexa v 1.2                \r\n\r\n[machine settings]\r\nTreadmill\r\nKilos\r\n"
             "10\r\n100\r\n1\r\n0\r\n100\r\n5\r\n\r\n[segment settings]\r\n1\t3\t10\t3600\r\n"
             "\r\n[playlist]\r\n\r\n\r\n\r\n");
    CliRun r = run({"totals", workout});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Time:      60:00\n")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Distance:  4.83 km\n")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Calories:  664\n")) << r.out.toStdString();

    settings.SaveSetting("Kinetrova", "user", "weight", "200");
    r = run({"totals", workout, "--units", "miles"});
    // 526.8 − 693.4 + 375.3 + 200 × 2.847 = 778.1
    EXPECT_TRUE(r.out.contains("Calories:  778\n")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Distance:  3 Miles\n")) << r.out.toStdString();
    r = run({"totals", workout, "--weight", "160"});
    EXPECT_TRUE(r.out.contains("Calories:  664\n")) << r.out.toStdString();
    EXPECT_EQ(settings.GetSetting("Kinetrova", "Options", "Units"), "") << "nothing stored";
    EXPECT_EQ(settings.GetSetting("Kinetrova", "Machine", "InclineMin"), "");
}

TEST_F(CliFilesTest, ConvertFitsEverySegmentToTheWrittenMachineAndNotesTheChanges)
{
    // A version 1.0 file takes the stored machine: speed 1 to 10 by 0.1, incline 1 to 10 by 0.5.
    const QString in =
        file("old.txt", "Vexa v 1.0                \r\n1\t3.33\t2\t2.5\r\n2\t11\t1,5\t0.125\r\n\r\n");
    const QString out = dir.path() + "/new.txt";
    CliRun r = run({"convert", in, "-o", out});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err,
              "kinetrova-cli convert: note: segment 1: speed 3.33 -> 3.3\n"
              "kinetrova-cli convert: note: segment 2: speed 11 -> 10, time 8 -> 10\n");
    EXPECT_EQ(readWholeFile(out).value_or(""),
              "Vexa v 1.2                \r\n\r\n[machine settings]\r\nTreadmill\r\nMiles\r\n10\r\n"
              "100\r\n1\r\n10\r\n100\r\n5\r\n\r\n[segment settings]\r\n1\t3.3\t2\t150\r\n"
              "2\t10\t1.5\t10\r\n\r\n[playlist]\r\n\r\n\r\n\r\n");

    // A version 1.2 file's own machine (speed 2 to 10 by 0.5) holds for segment 1 as for the rest.
    const QString hills =
        file("hills.txt",
             "Vexa v 1.2                \r\n\r\n[machine settings]\r\nTreadmill\r\nMiles\r\n"
             "20\r\n100\r\n5\r\n0\r\n100\r\n10\r\n\r\n[segment settings]\r\n1\t1\t4\t60\r\n"
             "2\t1\t4\t60\r\n\r\n[playlist]\r\n\r\n\r\n\r\n");
    r = run({"convert", hills, "-o", out});
    EXPECT_EQ(r.err,
              "kinetrova-cli convert: note: segment 1: speed 1 -> 2\n"
              "kinetrova-cli convert: note: segment 2: speed 1 -> 2\n");
    // What convert writes converts again unchanged.
    const QByteArray written = readWholeFile(out).value_or("");
    EXPECT_TRUE(written.contains("\r\n1\t2\t4\t60\r\n2\t2\t4\t60\r\n"));
    r = run({"convert", out, "-o", out});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_EQ(readWholeFile(out).value_or(""), written);
    EXPECT_TRUE(settings.isEmpty());
}

TEST_F(CliFilesTest, UnreadableFilesFailWithTheReadersMessage)
{
    CliRun r = run({"totals", dir.path() + "/missing.txt"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.startsWith("kinetrova-cli totals: cannot read ")) << r.err.toStdString();

    const QString letter = file("letter.txt", "Dear Sir,\r\n");
    r = run({"convert", letter, "-o", dir.path() + "/x.txt"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "kinetrova-cli convert: " + letter + ": " + kWorkoutNotRecognisedMessage + "\n");

    // A number whose written form would not read back is refused at its line.
    const QString huge =
        file("huge.txt", "Vexa v 1.1                \r\n1\t3\t1\t60\r\n2\t1.8e308\t1\t60\r\n\r\n");
    r = run({"convert", huge, "-o", dir.path() + "/x.txt"});
    EXPECT_EQ(r.err,
              "kinetrova-cli convert: " + huge
                  + " is not a valid workout file: segment 2 (line 3): the speed \"1.8e308\" "
                    "is out of range\n");

    // A device is neither read nor replaced.
    r = run({"totals", "/dev/zero"});
    EXPECT_EQ(r.err, "kinetrova-cli totals: cannot read /dev/zero: Not a regular file\n");
    r = run({"convert", defaultWorkoutFile(), "-o", "/dev/null"});
    EXPECT_EQ(r.err, "kinetrova-cli convert: cannot write /dev/null: Not a regular file\n");
    EXPECT_FALSE(QFileInfo("/dev/null").isFile());

    const QString broken = file("broken.txt", "Vexa v 1.1                \r\n1\t3\t1\r\n\r\n");
    r = run({"totals", broken});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("is not a valid workout file: segment 1")) << r.err.toStdString();

    r = run({"convert", defaultWorkoutFile(), "-o", dir.path() + "/no/such/folder/x.txt"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.startsWith("kinetrova-cli convert: cannot write ")) << r.err.toStdString();
}

TEST_F(CliFilesTest, BadArgumentsAreUsageErrors)
{
    const QString workout = defaultWorkoutFile();
    for (const QStringList& args :
         {QStringList{"totals"}, QStringList{"totals", workout, "--units", "furlongs"},
          QStringList{"totals", workout, "--weight", "heavy"},
          QStringList{"totals", workout, "--weight", "20"}, QStringList{"convert", workout},
          QStringList{"import", workout}, QStringList{"import", workout, "-o", "x.txt", "--units", "mph"},
          QStringList{"export", workout}, QStringList{"export", "-o", "x.csv"}}) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("Usage: kinetrova-cli")) << r.err.toStdString();
    }
}

TEST_F(CliFilesTest, ImportWritesAWorkoutFittedToTheStoredMachineAndNotesTheChanges)
{
    // The stored machine: speed 1 to 10 by 0.1, incline 1 to 10 by 0.5.
    const QString table = file("hills.csv",
                               "Time;Speed;Incline;Notes\r\n1:00;6,5;2;warm\r\n"
                               "0:30;11;2,25;\r\n1:00:00;3;1;\r\n");
    const QString out = dir.path() + "/hills.txt";
    CliRun r = run({"import", table, "-o", out});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, "kinetrova-cli import: note: segment 2: speed 11 -> 10, incline 2.25 -> 2\n");
    EXPECT_EQ(readWholeFile(out).value_or(""),
              "Vexa v 1.2                \r\n\r\n[machine settings]\r\nTreadmill\r\nMiles\r\n10\r\n"
              "100\r\n1\r\n10\r\n100\r\n5\r\n\r\n[segment settings]\r\n1\t6.5\t2\t60\r\n"
              "2\t10\t2\t30\r\n3\t3\t1\t3600\r\n\r\n[playlist]\r\n\r\n\r\n\r\n");

    // Speeds in km/h, given or stored; the notes speak km/h as the table does.
    const QString km = file("km.csv", "time,speed,incline\n60,16.1,2\n60,9.75,2\n");
    r = run({"import", km, "-o", out, "--units", "km"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, "kinetrova-cli import: note: segment 2: speed 9.75 -> 9.8\n");
    EXPECT_TRUE(readWholeFile(out).value_or("").contains("\r\n1\t10\t2\t60\r\n2\t6.1\t2\t60\r\n"));
    settings.SaveSetting("Kinetrova", "Options", "Units", "Kilos");
    EXPECT_EQ(run({"import", km, "-o", out}).err, r.err);
    EXPECT_EQ(run({"import", km, "-o", out, "--units", "miles"}).err,
              "kinetrova-cli import: note: segment 1: speed 16.1 -> 10\n"
              "kinetrova-cli import: note: segment 2: speed 9.75 -> 9.8\n");
}

TEST_F(CliFilesTest, ExportWritesATableThatImportReadsBack)
{
    const QString workout = file("hills.txt",
                                 "Vexa v 1.2                \r\n\r\n[machine settings]\r\n"
                                 "Bike\r\nMiles\r\n10\r\n100\r\n1\r\n0\r\n100\r\n5\r\n\r\n"
                                 "[segment settings]\r\n1\t6.5\t2\t65.25\r\n2\t12\t4.5\t3600\r\n"
                                 "\r\n[playlist]\r\n\r\n\r\n\r\n");
    const QString table = dir.path() + "/hills.csv";
    CliRun r = run({"export", workout, "-o", table});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, "kinetrova-cli export: note: segment 2: speed 12 -> 10\n");
    EXPECT_EQ(readWholeFile(table).value_or(""),
              "time,speed,resistance\r\n1:05.25,6.5,2\r\n60:00,10,4.5\r\n");
    r = run({"export", workout, "-o", table, "--units", "km"});
    EXPECT_EQ(readWholeFile(table).value_or(""),
              "time,speed,resistance\r\n1:05.25,10.5,2\r\n60:00,16.1,4.5\r\n");

    // With the workout's machine stored, the table comes back as the same workout.
    settings.SaveSetting("Kinetrova", "Machine", "MachineType", "Bike");
    settings.SaveSetting("Kinetrova", "Machine", "InclineMin", "0");
    const QString back = dir.path() + "/back.txt";
    r = run({"import", table, "-o", back, "--units", "km"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_TRUE(readWholeFile(back).value_or("").contains("\r\n1\t6.5\t2\t65.25\r\n2\t10\t4.5\t3600\r\n"));
    EXPECT_EQ(settings.GetSetting("Kinetrova", "Machine", "SpeedMax"), "") << "nothing stored";
}

TEST_F(CliFilesTest, RefusedTablesFailAndWriteNothing)
{
    const QString out = dir.path() + "/out.txt";
    const QString kept = file("kept.txt", "unchanged");
    QByteArray large(kMaxTextFileBytes + 1, ' ');
    large.prepend("time,speed,incline\n");
    const QString fifo = dir.path() + "/fifo.csv";
    ASSERT_EQ(QProcess::execute("mkfifo", {fifo}), 0);
    const struct {
        QString table;
        QString error;
    } cases[] = {
        {file("fast.csv", "time,speed,incline\n1:00,5,1\n0:30,fast,1\n"),
         dir.path() + "/fast.csv: line 3, column speed: 'fast' is not a number"},
        {file("short.csv", "time,speed,incline\n0:05,5,1\n"),
         dir.path() + "/short.csv: line 2, column time: '0:05' is under 10 seconds"},
        {file("binary.csv", QByteArray("time,speed\0", 11)), dir.path() + "/binary.csv: not a text file"},
        {file("large.csv", large),
         "cannot read " + dir.path() + "/large.csv: File too large (more than 1 MB)"},
        {fifo, "cannot read " + fifo + ": Not a regular file"},
        {"/dev/zero", "cannot read /dev/zero: Not a regular file"},
    };
    for (const auto& c : cases) {
        for (const QString& target : {out, kept}) {
            const CliRun r = run({"import", c.table, "-o", target});
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.err, "kinetrova-cli import: " + c.error + "\n");
        }
        EXPECT_FALSE(QFileInfo::exists(out)) << c.error.toStdString();
        EXPECT_EQ(readWholeFile(kept).value_or(""), "unchanged");
    }
    // Only a regular file is replaced.
    const QString table = file("ok.csv", "time,speed,incline\n1:00,5,1\n");
    EXPECT_EQ(run({"import", table, "-o", "/dev/null"}).err,
              "kinetrova-cli import: cannot write /dev/null: Not a regular file\n");
    EXPECT_EQ(run({"export", defaultWorkoutFile(), "-o", fifo}).err,
              "kinetrova-cli export: cannot write " + fifo + ": Not a regular file\n");
    EXPECT_EQ(run({"export", kept, "-o", out}).status, 1);
    EXPECT_FALSE(QFileInfo::exists(out));

    EXPECT_FALSE(QFileInfo::exists(out));
}

} // namespace
