// A save interrupted by a kill leaves the previous workout or user file whole.

#include "files/textfile.h"
#include "files/usertext.h"
#include "files/workouttext.h"
#include "model/workout.h"
#include "platform/memorysettingsstore.h"
#include "testenv.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <signal.h>

using namespace kntr;

namespace {

/// What workout_saver writes for speed.
QByteArray savedWorkout(double speed)
{
    Workout w;
    w.setCount(60);
    for (int s = 1; s <= 60; ++s) {
        w.segment(s).setSegmentSpeed(speed);
        w.segment(s).setSegmentIncline(1.0 / 3.0);
        w.segment(s).setSegmentTime(60 + s);
    }
    MemorySettingsStore settings;
    return buildWorkoutText(w, settings);
}

struct Saver {
    const char* name;
    const char* file;
    QStringList options; ///< workout_saver's arguments before the path
    QStringList after; ///< and after it
    QByteArray even, odd; ///< the two contents it saves in turn
};

/// Made when first used: the texts need the writers' constants, which a static
/// table could be made before.
std::vector<Saver> savers()
{
    const QString named =
        QStringLiteral("/home/runner/workouts/") + QString(300, QLatin1Char('h')) + QStringLiteral(".txt");
    return {
        {"workout", "hills.txt", {}, {}, savedWorkout(3.0625), savedWorkout(4.125)},
        {"user file",
         "runner.ktr",
         {"--user"},
         {named},
         buildUserText(named, 150),
         buildUserText(named, 151)},
    };
}

TEST(SaveInterrupted, KillingTheWriterAtAnyMomentLeavesAWholeFile)
{
    constexpr int kKills = 30;
    for (const Saver& saver : savers()) {
        SCOPED_TRACE(saver.name);
        QTemporaryDir dir;
        const QString path = dir.path() + "/" + saver.file;
        ASSERT_TRUE(writeTextFile(path, saver.even));

        int sawOdd = 0;
        for (int kill = 0; kill < kKills; ++kill) {
            QProcess process;
            process.start(QStringLiteral(WORKOUT_SAVER), saver.options + QStringList{path} + saver.after);
            ASSERT_TRUE(process.waitForStarted());
            const int ms = QRandomGenerator::global()->bounded(5, 150);
            QThread::msleep(ms);
            ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
            process.waitForFinished();

            const QByteArray now = readWholeFile(path).value_or("<missing>");
            ASSERT_TRUE(now == saver.even || now == saver.odd)
                << "torn file after a kill at " << ms << " ms: " << now.size() << " bytes";
            sawOdd += now == saver.odd;
        }
        EXPECT_GT(sawOdd, 0) << "the saver never got a save done";
    }
}

} // namespace
