// The music process (kinetrova-music) driven through its parent-side players:
// a play list playing into a private PulseAudio null sink, entries left out
// before any decoder sees them, and a music process that crashes, hangs or is
// ended under a playing list.

#include "files/asxplaylist.h"
#include "platform/mastergain.h"
#include "platform/musicprocess.h"
#include "platform/musicprotocol.h"
#include "platform/processcddevice.h"
#include "platform/processmediaplayer.h"
#include "platform/wavimage.h"

#include "eventwait.h"
#include "soundserversuite.h"
#include "testenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <functional>
#include <memory>

using namespace kntr;
using kntr::test::NullSinkServer;

namespace {

/// A 16-bit WAV file: a square wave of 44,100 Hz stereo, or a header claiming
/// the given format over bytes of noise.
void writeWav(const QString& path, double seconds, int channels = 2, int rate = 44100)
{
    const quint32 frames = static_cast<quint32>(seconds * rate);
    QByteArray wav = WavImage::header(channels, rate, frames * 2 * channels);
    for (quint32 i = 0; i < frames * channels; ++i) {
        char s[2];
        qToLittleEndian<qint16>((i / channels / 50) % 2 ? 6000 : -6000, s);
        wav.append(s, 2);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(wav);
}

using test::waitFor;

void runEvents(int ms)
{
    waitFor([] { return false; }, ms);
}

bool processGone(qint64 pid)
{
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

class MusicProcessTest : public test::SoundServerSuite {
protected:
    static void SetUpTestSuite() { startSuite("musicprocess_tests"); }

    void SetUp() override
    {
        if (!serverUp)
            GTEST_SKIP() << "no sound server: " << serverProblem;
        writeWav(dir.filePath("a.wav"), 2.0);
        writeWav(dir.filePath("b.wav"), 2.0);
        process->setFailureHandler([this](const QString& what) { failures << what; });
    }

    bool load(const QStringList& names)
    {
        QStringList paths;
        for (const QString& name : names)
            paths << dir.filePath(name);
        const QString list = dir.filePath("list.asx");
        EXPECT_TRUE(AsxPlayList::write(list, paths));
        return player->setPlayList(list);
    }

    void startPlaying()
    {
        ASSERT_TRUE(load({"a.wav", "b.wav"}));
        player->selectEntry(1);
        player->setPart(0.0, player->duration());
        player->setAutoStart(true);
        player->play();
    }

    /// Whether the sink heard anything in the frames from..to.
    static bool heard(qint64 from, qint64 to)
    {
        const std::vector<qint16> rec = server->recording();
        for (size_t i = static_cast<size_t>(from) * 2; i < rec.size() && i < static_cast<size_t>(to) * 2; ++i)
            if (rec[i] != 0)
                return true;
        return false;
    }

    QTemporaryDir dir;
    MasterGain gain;
    std::unique_ptr<MusicProcess> process = std::make_unique<MusicProcess>(KNTR_MUSIC_EXE, QString(), &gain);
    std::unique_ptr<ProcessMediaPlayer> player = std::make_unique<ProcessMediaPlayer>(
        *process, [](const QString& path) { return AsxPlayList::read(path).value_or(QStringList()); });
    std::unique_ptr<ProcessCdDevice> cd = std::make_unique<ProcessCdDevice>(*process);
    QStringList failures;
};

} // namespace

TEST_F(MusicProcessTest, PlaysThePlayListThroughTheMasterGain)
{
    EXPECT_EQ(process->processId(), 0) << "the music process starts on first use";
    startPlaying();
    EXPECT_EQ(player->entryCount(), 2);
    EXPECT_NEAR(player->duration(), 2.0, 0.05);
    EXPECT_TRUE(player->skippedEntries().empty());

    const qint64 start = server->recordedFrames();
    runEvents(800);
    // The music process's own report, not only the time carried forward here.
    EXPECT_EQ(process->status().entry, 1);
    EXPECT_GT(process->status().position, 0.3);
    EXPECT_NEAR(player->position(), 0.8, 0.35);
    EXPECT_TRUE(heard(start, server->recordedFrames()));

    player->pause();
    const double pausedAt = player->position();
    runEvents(400);
    EXPECT_NEAR(player->position(), pausedAt, 0.2) << "a pause holds the place";

    gain.setMuted(true);
    player->play();
    runEvents(200);
    const qint64 muted = server->recordedFrames();
    runEvents(300);
    EXPECT_FALSE(heard(muted, server->recordedFrames())) << "the music follows the master mute";
    gain.setMuted(false);

    EXPECT_GE(waitFor([&] { return player->currentEntry() == 2; }, 3000), 0) << "the next entry follows";
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(MusicProcessTest, EntriesThatCannotBePlayedAreLeftOutWithTheirReasons)
{
    struct Case {
        QString name;
        std::function<void(const QString& path)> make;
        QString reason;
    };
    const std::vector<Case> cases = {
        {"many.wav",
         [](const QString& path) {
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write(WavImage::header(66, 44100, 4052).append(QByteArray(4052, '\x55')));
         },
         "66 channels"},
        {"slow.wav", [](const QString& path) { writeWav(path, 0.1, 2, 4000); }, "4000 samples"},
        {"pipe.wav", [](const QString& path) { ASSERT_EQ(::mkfifo(QFile::encodeName(path), 0600), 0); },
         "not a regular file"},
        {"folder.wav", [](const QString& path) { ASSERT_TRUE(QDir().mkdir(path)); }, "folder"},
        {"missing.wav", [](const QString&) {}, "does not exist"},
        {"huge.wav",
         [](const QString& path) {
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             ASSERT_TRUE(f.resize(MusicEntryCheck::kMaxBytes + 1)); // sparse: takes no room
         },
         "larger than"},
        {"text.wav",
         [](const QString& path) {
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write("not a sound file at all\n");
         },
         "no WAV header"},
        // Past our own checks: only the decoder can tell.
        {"noise.mp3",
         [](const QString& path) {
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write(QByteArray(3000, '\x01'));
         },
         "decoder"},
    };
    QStringList names{"a.wav"};
    for (const Case& c : cases) {
        c.make(dir.filePath(c.name));
        names << c.name;
    }

    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(load(names));
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(player->entryCount(), 1);
    const qint64 pid = process->processId();
    ASSERT_EQ(player->skippedEntries().size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        const SkippedEntry& skipped = player->skippedEntries()[i];
        EXPECT_EQ(skipped.path, dir.filePath(cases[i].name));
        EXPECT_TRUE(skipped.reason.contains(cases[i].reason))
            << cases[i].name.toStdString() << ": " << skipped.reason.toStdString();
    }

    // The music process checks the header itself before its decoder opens a file.
    const std::optional<QList<QByteArray>> reply = process->waitForReply(
        "probed", process->send("probe " + music::encode(dir.filePath("many.wav"))), 3000);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->value(2), "bad");
    EXPECT_TRUE(music::decode(reply->value(3)).contains("66 channels"));
    EXPECT_EQ(process->processId(), pid) << "no entry cost the music process its life";

    // A list of nothing playable is no play list.
    EXPECT_FALSE(load({"many.wav", "pipe.wav", "missing.wav"}));
    EXPECT_EQ(player->skippedEntries().size(), 3u);
    EXPECT_EQ(player->position(), -1.0);
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(MusicProcessTest, AFailedMusicProcessIsReportedOnceAndLeavesThePlayersHarmless)
{
    struct Case {
        const char* what;
        int signal;
        bool cd;
        QString reported;
    };
    for (const Case& c : {Case{"killed", SIGKILL, false, "a.wav"}, Case{"hung", SIGSTOP, false, "a.wav"},
                          Case{"killed under the CD", SIGKILL, true, "the CD"}}) {
        SCOPED_TRACE(c.what);
        failures.clear();
        startPlaying();
        if (c.cd) {
            QString answer;
            EXPECT_EQ(cd->sendCommand("status cdaudio media present", &answer) == 0, answer == "true");
            EXPECT_EQ(cd->sendCommand("play cdaudio from 00:02:00"), 0);
        }
        runEvents(300);
        const qint64 pid = process->processId();
        ASSERT_GT(pid, 0);
        ASSERT_EQ(::kill(static_cast<pid_t>(pid), c.signal), 0);
        // Commands written before the failure is noticed go nowhere, harmlessly.
        QThread::msleep(100);
        if (c.cd) {
            cd->sendCommand("pause cdaudio");
        } else {
            player->pause();
            player->play();
        }

        const qint64 ms = waitFor([&] { return !failures.isEmpty(); }, 1500);
        EXPECT_GE(ms, 0) << "the failure is told within 1.5 s";
        runEvents(300);
        EXPECT_EQ(failures, QStringList{c.reported});
        EXPECT_TRUE(processGone(pid));

        QElapsedTimer timer;
        timer.start();
        player->play();
        player->selectEntry(2);
        player->setPart(0.5, 1.0);
        player->pause();
        EXPECT_EQ(player->position(), -1.0);
        QString answer;
        EXPECT_EQ(cd->sendCommand("play cdaudio from 00:04:00"), 0);
        EXPECT_NE(cd->sendCommand("status cdaudio position", &answer), 0);
        EXPECT_LT(timer.elapsed(), 50);
        runEvents(200);
        EXPECT_EQ(failures.size(), 1);
        EXPECT_EQ(process->processId(), 0) << "nothing starts a new music process in the middle of a run";
    }
    // The next run's play list starts afresh.
    ASSERT_TRUE(load({"a.wav"}));
    EXPECT_GT(process->processId(), 0);
    EXPECT_GE(player->position(), 0.0);
}

TEST_F(MusicProcessTest, EndingWhileTheMusicPlaysLeavesNoProcess)
{
    startPlaying();
    runEvents(300);
    const qint64 pid = process->processId();
    ASSERT_GT(pid, 0);
    QElapsedTimer timer;
    timer.start();
    cd.reset();
    player.reset();
    process.reset();
    EXPECT_LT(timer.elapsed(), 500);
    EXPECT_TRUE(processGone(pid));
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(MusicProcessTest, WithoutTheMusicProgramNothingPlaysAndNothingWaits)
{
    MusicProcess missing(dir.filePath("no-such-program"), QString(), &gain);
    missing.setFailureHandler([this](const QString& what) { failures << what; });
    ProcessMediaPlayer lost(
        missing, [](const QString& path) { return AsxPlayList::read(path).value_or(QStringList()); });
    ProcessCdDevice lostCd(missing);
    const QString list = dir.filePath("list.asx");
    ASSERT_TRUE(AsxPlayList::write(list, {dir.filePath("a.wav"), dir.filePath("b.wav")}));

    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(lost.setPlayList(list));
    ASSERT_EQ(lost.skippedEntries().size(), 2u);
    EXPECT_TRUE(lost.skippedEntries()[1].reason.contains("could not be started"));
    QString answer;
    EXPECT_NE(lostCd.sendCommand("status cdaudio media present", &answer), 0);
    EXPECT_EQ(answer, "");
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(lost.position(), -1.0);
    runEvents(100);
    EXPECT_TRUE(failures.isEmpty()) << "before a run the caller hears of it, not the failure handler";
}

TEST_F(MusicProcessTest, AnEntryThatCrashesTheDecoderIsLeftOutAndTheRestAreChecked)
{
    // A stand-in music program whose "decoder" crashes on one file name.
    const QString program = dir.filePath("crashing-music");
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n"
                 "n=0\n"
                 "while read -r verb arg rest; do\n"
                 "  n=$((n+1))\n"
                 "  case \"$verb $arg\" in\n"
                 "    *crash*) kill -SEGV $$ ;;\n"
                 "    probe*) echo \"probed $n ok 2000\" ;;\n"
                 "    load*) echo \"loaded $n 1\" ;;\n"
                 "  esac\n"
                 "done\n");
    script.close();
    ASSERT_TRUE(script.setPermissions(script.permissions() | QFile::ExeOwner));
    for (const char* name : {"crash.wav", "c.wav"})
        writeWav(dir.filePath(name), 0.5);

    MusicProcess crashing(program, QString(), &gain);
    crashing.setFailureHandler([this](const QString& what) { failures << what; });
    ProcessMediaPlayer checked(
        crashing, [](const QString& path) { return AsxPlayList::read(path).value_or(QStringList()); });
    const QString list = dir.filePath("list.asx");
    ASSERT_TRUE(
        AsxPlayList::write(list, {dir.filePath("a.wav"), dir.filePath("crash.wav"), dir.filePath("c.wav")}));
    ASSERT_TRUE(checked.setPlayList(list));
    EXPECT_EQ(checked.entryCount(), 2);
    ASSERT_EQ(checked.skippedEntries().size(), 1u);
    EXPECT_EQ(checked.skippedEntries()[0].path, dir.filePath("crash.wav"));
    EXPECT_TRUE(checked.skippedEntries()[0].reason.contains("failed on it"));
    runEvents(100);
    EXPECT_TRUE(failures.isEmpty());
}
