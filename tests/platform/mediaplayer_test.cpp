// The play-list player on the real sound backend (ffmpeg), playing into a
// PulseAudio null sink that the test starts itself.

#include "files/asxplaylist.h"
#include "platform/mastergain.h"
#include "platform/qtmediaplayer.h"

#include "eventwait.h"
#include "soundserversuite.h"
#include "testenv.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace kntr;
using kntr::test::NullSinkServer;

// Qt 6.4's ffmpeg plugin does not free the codec options of each file it opens
// (52 bytes a file, allocated in libavutil, which this program does not call
// itself); the leak checker of sanitizer builds is not to count them.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libavutil.so\n";
}

namespace {

/// 44,100 Hz 16-bit stereo: a square wave of the given half period.
void writeWav(const QString& path, double seconds, int halfPeriod)
{
    const quint32 frames = static_cast<quint32>(seconds * 44100);
    QByteArray wav("RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x02\0\x44\xAC\0\0\x10\xB1\x02\0\x04\0\x10\0data",
                   40);
    char size[4];
    qToLittleEndian<quint32>(frames * 4, size);
    wav.append(size, 4);
    qToLittleEndian<quint32>(36 + frames * 4, wav.data() + 4);
    for (quint32 i = 0; i < frames; ++i) {
        char s[2];
        qToLittleEndian<qint16>((i / halfPeriod) % 2 ? 6000 : -6000, s);
        wav.append(s, 2).append(s, 2);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(wav);
}

using test::waitFor;

class QtMediaPlayerTest : public test::SoundServerSuite {
protected:
    static void SetUpTestSuite() { startSuite("mediaplayer_tests"); }

    void SetUp() override
    {
        ASSERT_TRUE(serverUp) << serverProblem;
        writeWav(dir.filePath("a.wav"), 2.0, 50);
        writeWav(dir.filePath("b.wav"), 2.0, 20);
        QFile broken(dir.filePath("broken.wav"));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write(QByteArray(4000, 'x'));
    }

    /// Writes a play list of the named files in the test's folder and loads it,
    /// timing the load.
    bool load(const QStringList& names, qint64* ms = nullptr)
    {
        QStringList paths;
        for (const QString& name : names)
            paths << dir.filePath(name);
        const QString list = dir.filePath("list.asx");
        AsxPlayList::write(list, paths);
        QElapsedTimer timer;
        timer.start();
        const bool ok = player.setPlayList(list);
        if (ms)
            *ms = timer.elapsed();
        return ok;
    }

    /// Whether the sink heard anything from the frame `from` on.
    bool heardSince(qint64 from) const
    {
        const std::vector<qint16> rec = server->recording();
        for (size_t i = static_cast<size_t>(from) * 2; i < rec.size(); ++i)
            if (rec[i] != 0)
                return true;
        return false;
    }

    QTemporaryDir dir;
    MasterGain gain;
    QtMediaPlayer player{[](const QString& path) { return AsxPlayList::read(path).value_or(QStringList()); },
                         &gain};
};

} // namespace

TEST_F(QtMediaPlayerTest, PlaysTheEntriesInOrderThroughTheMasterGain)
{
    qint64 ms = 0;
    ASSERT_TRUE(load({"a.wav", "b.wav"}, &ms));
    EXPECT_LT(ms, 2000);
    RecordProperty("load_ms", static_cast<int>(ms));
    EXPECT_EQ(player.entryCount(), 2);
    EXPECT_EQ(player.currentEntry(), 1);
    EXPECT_NEAR(player.duration(), 2.0, 0.05);
    EXPECT_GE(player.position(), 0.0);
    EXPECT_FALSE(player.isPlaying()) << "no automatic start was asked for";

    // The part ends at 1.5 s: the next entry follows.
    player.setPart(1.0, 1.5);
    const qint64 before = server->recordedFrames();
    player.play();
    const qint64 partMs = waitFor([&] { return player.currentEntry() == 2; }, 3000);
    ASSERT_GE(partMs, 0) << "the part's end did not move on";
    EXPECT_GT(partMs, 300);
    EXPECT_LT(partMs, 1300);
    EXPECT_TRUE(heardSince(before));

    // Paused, the position holds; the master gain's mute silences the music.
    ASSERT_GE(waitFor([&] { return player.position() > 0.3; }, 2000), 0);
    player.pause();
    waitFor([] { return false; }, 200);
    const double held = player.position();
    waitFor([] { return false; }, 300);
    EXPECT_NEAR(player.position(), held, 0.02);
    gain.setMuted(true);
    player.play();
    waitFor([] { return false; }, 150);
    const qint64 muted = server->recordedFrames();
    waitFor([] { return false; }, 300);
    EXPECT_FALSE(heardSince(muted));
    EXPECT_GT(player.position(), held + 0.2);
    gain.setMuted(false);

    // After the last entry the first comes again.
    ASSERT_GE(waitFor([&] { return player.currentEntry() == 1; }, 3000), 0);
    EXPECT_LT(player.position(), 1.0);
    const qint64 again = server->recordedFrames();
    waitFor([] { return false; }, 300);
    EXPECT_TRUE(heardSince(again));

    // Selecting an entry waits for it to load.
    player.selectEntry(2);
    EXPECT_EQ(player.currentEntry(), 2);
    EXPECT_NEAR(player.duration(), 2.0, 0.05);
}

TEST_F(QtMediaPlayerTest, UnplayableEntriesArePassedOver)
{
    qint64 ms = 0;
    EXPECT_FALSE(load({"missing.wav", "broken.wav"}, &ms));
    EXPECT_LT(ms, QtMediaPlayer::kWaitMs);
    RecordProperty("failed_load_ms", static_cast<int>(ms));
    EXPECT_LT(player.position(), 0.0);
    player.play(); // does nothing, and does not hang
    EXPECT_LT(player.position(), 0.0);

    EXPECT_FALSE(player.setPlayList(dir.filePath("no-such-list.asx")));
    EXPECT_EQ(player.entryCount(), 0);
    EXPECT_LT(player.position(), 0.0);

    // A missing first entry gives way to the next; at the end the broken and the
    // missing one are passed over back to the only entry that plays.
    ASSERT_TRUE(load({"missing.wav", "a.wav", "broken.wav"}));
    EXPECT_EQ(player.currentEntry(), 2);
    player.setPart(1.6, 0.0);
    player.play();
    ASSERT_GE(waitFor([&] { return player.position() > 1.7; }, 2000), 0);
    ASSERT_GE(waitFor([&] { return player.position() < 1.0; }, 3000), 0)
        << "entry " << player.currentEntry() << " at " << player.position();
    ASSERT_GE(waitFor([&] { return player.duration() > 0.0; }, 3000), 0);
    EXPECT_EQ(player.currentEntry(), 2);
    EXPECT_TRUE(player.isPlaying());
    const double restarted = player.position();
    ASSERT_GE(waitFor([&] { return player.position() > restarted + 0.2; }, 2000), 0);

    player.selectEntry(3); // broken: the next that plays is selected instead
    EXPECT_EQ(player.currentEntry(), 2);
}
