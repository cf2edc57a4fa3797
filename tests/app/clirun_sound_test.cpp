// kinetrova-cli run through the real sound backend into a private null sink:
// the recording holds every control tone, in order, at its time.

#include "model/machine.h"
#include "tones/controltones.h"

#include "heardtones.h"
#include "nullsinkserver.h"
#include "testenv.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

using namespace kntr;

namespace {

constexpr int kRate = 44100;

/// The burst pattern of the command as the program makes it.
std::vector<bool> expectedSymbols(int first, int second)
{
    Machine machine;
    machine.setMachineType(QStringLiteral("Treadmill"));
    ControlTones tones(machine);
    const QByteArray image = tones.MakeControlTone(static_cast<std::int16_t>(first), static_cast<std::int16_t>(second), false);
    std::vector<qint16> stereo;
    for (int i = ControlTones::kHeaderSize; i + 1 < image.size(); i += 2) {
        const qint16 s = qFromLittleEndian<qint16>(image.constData() + i);
        stereo.push_back(s);
        stereo.push_back(s);
    }
    const auto found = test::heardTones(stereo);
    return found.empty() ? std::vector<bool>() : found.front().symbols;
}

class CliRunSound : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString why;
        ASSERT_TRUE(server.start(why)) << why.toStdString();
        workout = dir.filePath("two.txt");
        QFile f(workout);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Vexa v 1.2                \r\n\r\n[segment settings]\r\n"
                "1\t3\t1\t10\r\n2\t4.5\t2\t10\r\n\r\n[playlist]\r\n\r\n\r\n\r\n");
    }

    void run(const QStringList& options, std::function<void(QProcess&)> during = {})
    {
        cli.start(QStringLiteral(KINETROVA_CLI),
                  QStringList{"run", workout} + options);
        ASSERT_TRUE(cli.waitForStarted(5000));
        if (during)
            during(cli);
        ASSERT_TRUE(cli.waitForFinished(90000)) << cli.readAllStandardError().toStdString();
        QThread::msleep(300); // the last samples reach the recorder
    }

    test::NullSinkServer server;
    QTemporaryDir dir;
    QString workout;
    QProcess cli;
};

TEST_F(CliRunSound, EveryToneIsHeardInOrderOnItsBoundary)
{
    run({"--delay", "0", "--cues", "off", "--beeps", "1"});
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const auto tones = test::heardTones(server.recording());
    ASSERT_EQ(tones.size(), 3u);
    EXPECT_EQ(tones[0].symbols, expectedSymbols(30, 10));
    EXPECT_EQ(tones[1].symbols, expectedSymbols(45, 20));
    EXPECT_EQ(tones[2].symbols, expectedSymbols(252, 252));
    // The first tone follows the half-second tone pause; each later one falls on
    // its segment's scheduled start, ten seconds apart.
    EXPECT_NEAR((tones[1].start - tones[0].start) / double(kRate), 9.5, 0.03);
    EXPECT_NEAR((tones[2].start - tones[1].start) / double(kRate), 10.0, 0.03);
}

TEST_F(CliRunSound, CtrlCPlaysTheStopCommandBeforeTheProgramEnds)
{
    run({"--delay", "0", "--cues", "off", "--beeps", "2"}, [](QProcess& p) {
        QThread::msleep(4000);
        ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    });
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 130);
    const auto tones = test::heardTones(server.recording());
    ASSERT_EQ(tones.size(), 2u); // two beeps run together into one burst train
    std::vector<bool> twice = expectedSymbols(252, 252);
    EXPECT_GE(tones[1].symbols.size(), twice.size());
    EXPECT_TRUE(std::equal(twice.begin(), twice.end(), tones[1].symbols.begin()));
}

} // namespace
