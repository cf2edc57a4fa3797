// A workout file build killed at any moment leaves the earlier file of that name
// as it was and nothing else behind.

#include "testenv.h"

#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <signal.h>

namespace {

QByteArray digest(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&f);
    return hash.result();
}

TEST(BuildInterrupted, KillingABuildAtAnyMomentLeavesTheEarlierFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Ten minutes of workout: a build long enough to be caught in the middle.
    QByteArray text = "Vexa v 1.2                \r\n\r\n[segment settings]\r\n";
    for (int i = 1; i <= 10; ++i)
        text += QByteArray::number(i) + "\t" + QByteArray::number(2 + i % 4) + "\t2\t60\r\n";
    text += "\r\n[playlist]\r\n\r\n\r\n\r\n";
    const QString workout = dir.filePath("ten.txt");
    QFile w(workout);
    ASSERT_TRUE(w.open(QIODevice::WriteOnly) && w.write(text) == text.size());
    w.close();

    for (const char* kind : {"wav", "mp3"}) {
        SCOPED_TRACE(kind);
        const QString out = dir.filePath(QStringLiteral("out.") + QLatin1String(kind));
        const auto build = [&](QProcess& cli) {
            cli.start(QStringLiteral(KINETROVA_CLI), {QLatin1String(kind), workout, "-o", out});
            return cli.waitForStarted(5000);
        };
        QProcess first;
        ASSERT_TRUE(build(first));
        ASSERT_TRUE(first.waitForFinished(60000));
        ASSERT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
        const QByteArray earlier = digest(out);
        const QStringList files = QDir(dir.path()).entryList(QDir::Files);

        int killedMidway = 0;
        for (int round = 0; round < 12; ++round) {
            QProcess cli;
            ASSERT_TRUE(build(cli));
            QThread::msleep(QRandomGenerator::global()->bounded(5, 400));
            if (cli.state() == QProcess::Running) {
                ::kill(static_cast<pid_t>(cli.processId()), SIGKILL);
                ++killedMidway;
            }
            cli.waitForFinished(60000);
            // Killed or done, the file is a whole build and nothing lies beside it.
            EXPECT_EQ(digest(out), earlier) << "round " << round;
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), files) << "round " << round;
        }
        EXPECT_GT(killedMidway, 0);
    }
}

} // namespace
