// kinetrova-cli run through the real sound backend into a private null sink:
// the recording holds every control tone, in order, at its time.

#include "files/asxplaylist.h"
#include "model/machine.h"
#include "platform/wavimage.h"
#include "tones/controltones.h"

#include "heardtones.h"
#include "nullsinkserver.h"
#include "testenv.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <random>

using namespace kntr;

namespace {

constexpr int kRate = 44100;

/// The burst pattern of the command as the program makes it.
std::vector<bool> expectedSymbols(int first, int second)
{
    Machine machine;
    machine.setMachineType(QStringLiteral("Treadmill"));
    ControlTones tones(machine);
    const QByteArray image =
        tones.MakeControlTone(static_cast<std::int16_t>(first), static_cast<std::int16_t>(second), false);
    std::vector<qint16> stereo;
    for (int i = ControlTones::kHeaderSize; i + 1 < image.size(); i += 2) {
        const qint16 s = qFromLittleEndian<qint16>(image.constData() + i);
        stereo.push_back(s);
        stereo.push_back(s);
    }
    const auto found = test::heardTones(stereo);
    return found.empty() ? std::vector<bool>() : found.front().symbols;
}

class CliRunSound : public ::testing::Test {
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
        cli.start(QStringLiteral(KINETROVA_CLI), QStringList{"run", workout} + options);
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

namespace {

TEST_F(CliRunSound, ALostSoundServerEndsTheRunWithTheReason)
{
    run({"--delay", "0", "--cues", "off"}, [this](QProcess&) {
        QThread::msleep(3000);
        server.kill();
    });
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 1);
    EXPECT_TRUE(cli.readAllStandardError().contains(
        "Sound output was lost during segment 2. The machine is no longer receiving commands.\n"));
}

} // namespace

namespace {

TEST_F(CliRunSound, UnitsAndResumeNeverChangeACommand)
{
    // Segment 1 (3.0 mph) lies above the machine's minimum: a target written
    // back from a control that never held it would come out as 1.0.
    const struct {
        QStringList options;
        std::vector<std::pair<int, int>> commands;
    } cases[] = {
        {{"--units", "km"}, {{30, 10}, {45, 20}, {252, 252}}},
        {{"--units", "miles"}, {{30, 10}, {45, 20}, {252, 252}}},
        {{"--units", "km", "--from", "2"}, {{45, 20}, {252, 252}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        const qint64 before = server.recordedFrames();
        run(QStringList{"--delay", "0", "--beeps", "1", "--cues", "off"} + c.options);
        EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
        std::vector<qint16> recording = server.recording();
        recording.erase(recording.begin(),
                        recording.begin() + std::min<qint64>(before * 2, recording.size()));
        const auto tones = test::heardTones(recording);
        ASSERT_EQ(tones.size(), c.commands.size());
        for (size_t i = 0; i < tones.size(); ++i)
            EXPECT_EQ(tones[i].symbols, expectedSymbols(c.commands[i].first, c.commands[i].second)) << i;
        const QByteArray shown = c.commands[0].first == 30 ? "Speed 4.8" : "Speed 7.2"; // km/h
        EXPECT_EQ(cli.readAllStandardOutput().contains(shown), c.options.contains("km"));
    }
}

} // namespace

namespace {

/// A quiet 20-second WAV (below the level the tone finder hears) and a play list of it.
QString quietPlayList(const QTemporaryDir& dir)
{
    constexpr int seconds = 20;
    QByteArray samples(seconds * kRate * 4, Qt::Uninitialized);
    for (int i = 0; i < seconds * kRate; ++i) {
        const auto s = static_cast<qint16>(800 * std::sin(2 * M_PI * 440.0 * i / kRate));
        qToLittleEndian(s, samples.data() + 4 * i);
        qToLittleEndian(s, samples.data() + 4 * i + 2);
    }
    QFile wav(dir.filePath("quiet.wav"));
    if (!wav.open(QIODevice::WriteOnly))
        return {};
    wav.write(WavImage::header(2, kRate, static_cast<quint32>(samples.size())) + samples);
    wav.close();
    const QString list = dir.filePath("quiet.asx");
    return AsxPlayList::write(list, {wav.fileName()}) ? list : QString();
}

/// Whether the last sound of a recording is the command: it ends at the last
/// loud sample, so it starts as many bursts before; a tone heard to its end may
/// come just before it.
bool endsWithCommand(const std::vector<qint16>& stereo, const std::vector<bool>& command)
{
    qint64 last = qint64(stereo.size() / 2) - 1;
    while (last >= 0 && std::abs(stereo[2 * last]) <= test::kLoud)
        --last;
    const qint64 start = last + 1 - qint64(command.size()) * test::kSymbol - 20;
    if (last < 0 || start < 0)
        return false;
    const auto tones = test::heardTones(std::vector<qint16>(stereo.begin() + 2 * start, stereo.end()));
    return tones.size() == 1 && tones.front().symbols == command;
}

TEST_F(CliRunSound, EveryCtrlCAndTermEndsWithItsStatusAfterTheStopCommand)
{
    const QString list = quietPlayList(dir);
    ASSERT_FALSE(list.isEmpty());
    const std::vector<bool> stop = expectedSymbols(252, 252);
    std::mt19937 random(7);
    const int kTrials = qEnvironmentVariableIntValue("KNTR_SIGNAL_TRIALS") > 0
        ? qEnvironmentVariableIntValue("KNTR_SIGNAL_TRIALS")
        : 200;
    int wrongStatus = 0, unheard = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
        const int signal = trial % 2 ? SIGTERM : SIGINT;
        const qint64 from = server.recordedFrames();
        cli.start(QStringLiteral(KINETROVA_CLI),
                  {"run", workout, "--delay", "0", "--cues", "off", "--music", list});
        ASSERT_TRUE(cli.waitForStarted(5000));
        // The run has begun once it says so; then the signal comes at any moment
        // of the first segment's start: the music, the tone pause, the tone, the wait.
        ASSERT_TRUE(cli.waitForReadyRead(10000)) << cli.readAllStandardError().toStdString();
        QThread::msleep(std::uniform_int_distribution<unsigned>(0, 700)(random));
        ::kill(static_cast<pid_t>(cli.processId()), signal);
        ASSERT_TRUE(cli.waitForFinished(10000));
        const bool statusRight =
            cli.exitStatus() == QProcess::NormalExit && cli.exitCode() == (signal == SIGINT ? 130 : 143);
        QThread::msleep(150); // the last samples reach the recorder
        const bool heard = endsWithCommand(server.recording(from), stop);
        wrongStatus += !statusRight;
        unheard += !heard;
        if (!statusRight || !heard)
            ADD_FAILURE() << "trial " << trial << ": status " << cli.exitCode() << " ("
                          << int(cli.exitStatus()) << "), stop command heard: " << heard << ", "
                          << cli.readAllStandardError().toStdString();
    }
    EXPECT_EQ(wrongStatus, 0);
    EXPECT_EQ(unheard, 0);
}

} // namespace

namespace {

TEST_F(CliRunSound, AMalformedPlayListEntryIsPassedOverAndEveryCommandHeard)
{
    // A 4 kB WAV whose header claims 66 channels, before a good entry.
    QByteArray bad = WavImage::header(2, kRate, 4000) + QByteArray(4000, '\x11');
    qToLittleEndian<quint16>(66, bad.data() + 22);
    QFile badFile(dir.filePath("bad.wav"));
    ASSERT_TRUE(badFile.open(QIODevice::WriteOnly));
    badFile.write(bad);
    badFile.close();
    const QString good = quietPlayList(dir);
    const QString list = dir.filePath("mixed.asx");
    ASSERT_TRUE(AsxPlayList::write(list, {badFile.fileName(), dir.filePath("quiet.wav")}));

    run({"--delay", "0", "--cues", "off", "--music", list});
    EXPECT_EQ(cli.exitCode(), 0);
    EXPECT_TRUE(cli.readAllStandardError().contains("bad.wav was skipped: "));
    const auto tones = test::heardTones(server.recording());
    ASSERT_EQ(tones.size(), 3u);
    EXPECT_EQ(tones[0].symbols, expectedSymbols(30, 10));
    EXPECT_EQ(tones[1].symbols, expectedSymbols(45, 20));
    EXPECT_EQ(tones[2].symbols, expectedSymbols(252, 252));
}

} // namespace
