// A save interrupted by a kill leaves the previous workout file whole.

#include "files/textfile.h"
#include "files/workouttext.h"
#include "model/workout.h"
#include "platform/memorysettingsstore.h"
#include "testenv.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <signal.h>

using namespace kntr;

namespace {

/// What workout_saver writes for speed.
QByteArray savedText(double speed)
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

TEST(SaveInterrupted, KillingTheWriterLeavesAWholeFile)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/hills.txt";
    const QByteArray even = savedText(3.0625);
    const QByteArray odd = savedText(4.125);
    ASSERT_TRUE(writeTextFile(path, even));

    bool sawOdd = false;
    for (int round = 0; round < 15; ++round) {
        QProcess saver;
        saver.start(QStringLiteral(WORKOUT_SAVER), {path});
        ASSERT_TRUE(saver.waitForStarted());
        QThread::msleep(20 + (round * 37) % 90);
        ::kill(static_cast<pid_t>(saver.processId()), SIGKILL);
        saver.waitForFinished();

        const QByteArray now = readWholeFile(path).value_or("<missing>");
        ASSERT_TRUE(now == even || now == odd) << "torn file after kill " << round << ": "
                                               << now.size() << " bytes";
        sawOdd = sawOdd || now == odd;
    }
    EXPECT_TRUE(sawOdd) << "the saver never got a save done";
}

} // namespace
