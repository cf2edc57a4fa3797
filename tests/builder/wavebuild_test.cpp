// The workout WAV file: composed in one pass, it must equal byte for byte the
// file that the two-pass description writes (skeleton first, music over it).

#include "builder/musicentry.h"
#include "builder/spokencue.h"
#include "builder/wavefilebuilder.h"
#include "builder/wavelayout.h"
#include "builder/wavmusiccheck.h"

#include "model/machine.h"
#include "model/workout.h"
#include "tones/controltones.h"

#include "filesizelimit.h"
#include "testenv.h"
#include "testmusic.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <sys/resource.h>

using namespace kntr;
using namespace kntr::test;

namespace {

const QString kClipDir = QStringLiteral(KNTR_VOICECUE_DIR);

// ---- The two-pass description, in memory -----------------------------------

// A file with a write position: writes land where the position is, and a write
// past the end lengthens the file, zeros filling any gap.
class ReferenceFile {
public:
    void seek(qint64 position) { mPosition = position; }
    void write(const QByteArray& bytes)
    {
        if (mPosition + bytes.size() > mData.size())
            mData.resize(mPosition + bytes.size(), '\0');
        memcpy(mData.data() + mPosition, bytes.constData(), bytes.size());
        mPosition += bytes.size();
    }
    QByteArray& data() { return mData; }

private:
    QByteArray mData;
    qint64 mPosition = 0;
};

QByteArray referenceClip(const QString& word, bool stereo)
{
    if (word.isEmpty())
        return {};
    const QDir dir(kClipDir);
    for (const QString& name : dir.entryList(QDir::Files)) {
        if (name.compare(word + QStringLiteral(".wav"), Qt::CaseInsensitive) != 0)
            continue;
        const QByteArray clip = readWhole(dir.filePath(name)).mid(88);
        QByteArray out;
        for (qsizetype i = 0; i + 1 < clip.size(); i += 2)
            out += clip.mid(i, 2).repeated(stereo ? 4 : 2);
        return out;
    }
    return {};
}

QByteArray sizeBytes(qint64 size)
{
    // Eight hexadecimal digits, byte order reversed.
    const QByteArray hex = QByteArray::number(size, 16).rightJustified(8, '0');
    return QByteArray::fromHex(hex.mid(6, 2) + hex.mid(4, 2) + hex.mid(2, 2) + hex.mid(0, 2));
}

QByteArray referenceFile(const Workout& workout, const Machine& machine, const WaveBuildOptions& options,
                         const std::vector<MusicEntry>& music)
{
    const bool stereo = options.stereo || !music.empty();
    const qint64 b = stereo ? 176400 : 88200;
    const QByteArray silence(b, '\0');
    const QByteArray templ =
        QByteArray::fromHex(stereo ? "57415645666D7420100000000100020044AC000010B102000400100064617461"
                                   : "57415645666D7420100000000100010044AC0000885801000200100064617461");
    ControlTones tones(machine);
    tones.BuildToneBlocks(stereo);

    // Pass 1: the skeleton.
    ReferenceFile f;
    f.write("RIFF" + sizeBytes(0) + templ + sizeBytes(0));
    for (int n = 0; n < 5; ++n)
        f.write(silence);
    double prior = 0;
    for (int k = 1; k <= workout.count(); ++k) {
        const Segment& seg = workout.segment(k);
        const double s = 5 + prior;
        if (options.voiceCues) {
            const QByteArray ready = referenceClip(QStringLiteral("getready"), stereo);
            f.seek(44 + static_cast<qint64>(s * b) - ready.size());
            f.write(ready);
        }
        f.seek(44 + static_cast<qint64>(s * b));
        const QByteArray tone =
            tones
                .MakeControlTone(static_cast<std::int16_t>(std::nearbyint(seg.SegmentSpeed() * 10)),
                                 static_cast<std::int16_t>(std::nearbyint(seg.SegmentIncline() * 10)), stereo)
                .mid(44);
        f.write(tone);
        if (options.beeps == 2)
            f.write(tone);
        if (options.voiceCues)
            for (const QString& word : SpokenCue::words(seg, machine, options.units, QLatin1Char('.')))
                f.write(referenceClip(word, stereo));
        for (int n = 0; n < std::nearbyint(seg.SegmentTime()); ++n)
            f.write(silence);
        prior += seg.SegmentTime();
    }
    const double e = 5 + prior;
    if (options.voiceCues) {
        const QByteArray end = referenceClip(QStringLiteral("endofworkout"), stereo);
        f.seek(44 + static_cast<qint64>(e * b) - end.size());
        f.write(end);
    }
    f.write(tones.MakeControlTone(252, 252, stereo).mid(44));
    for (int n = 0; n < 5; ++n)
        f.write(silence);
    const qint64 length = f.data().size();
    f.seek(4);
    f.write(sizeBytes(length - 8));
    f.seek(40);
    f.write(sizeBytes(length - 44));

    // Pass 2: the music, second by second.
    if (!music.empty()) {
        size_t entry = 0;
        qint64 used = 0;
        prior = 0;
        for (int k = 1; k <= workout.count(); ++k) {
            const double t = workout.segment(k).SegmentTime();
            double m = 5.5 + prior;
            if (options.oneFilePerSegment) {
                entry = k - 1;
                used = 0;
                if (entry >= music.size())
                    break;
            }
            bool done = false;
            for (int i = 1; i <= std::nearbyint(t - 1); ++i) {
                if (!options.oneFilePerSegment && used > music[entry].seconds) {
                    ++entry;
                    used = 0;
                    if (entry >= music.size()) {
                        done = true;
                        break;
                    }
                }
                const QByteArray second = readWhole(music[entry].path)
                                              .mid(music[entry].dataPosition + 8 - 1 + used * 176400, 176400)
                                              .leftJustified(176400, '\0');
                if (i >= (options.voiceCues ? 7 : 2) && i < t - 1) {
                    f.seek(44 + static_cast<qint64>(m * 176400));
                    f.write(second);
                }
                ++used;
                ++m;
            }
            if (done)
                break;
            prior += t;
        }
    }
    return f.data();
}

// ---- Fixtures --------------------------------------------------------------

class WaveBuild : public ::testing::Test {
protected:
    void SetUp() override
    {
        mMachine.setMachineType(QStringLiteral("Treadmill"));
        setSegments({{6.0, 2.5, 10}, {12.5, 0, 12.5}, {3.2, 10, 11}});
    }

    struct Row {
        double speed, incline, seconds;
    };
    void setSegments(std::initializer_list<Row> rows)
    {
        mWorkout.setCount(static_cast<int>(rows.size()));
        int k = 1;
        for (const Row& r : rows) {
            Segment& s = mWorkout.segment(k++);
            s.setSegmentSpeed(r.speed);
            s.setSegmentIncline(r.incline);
            s.setSegmentTime(r.seconds);
        }
    }

    // A music file of the given length checked as the builder's list admits it.
    MusicEntry music(const QString& name, qint64 sampleBytes, int seed)
    {
        return music(name, wavHeader(sampleBytes) + musicSamples(sampleBytes, seed));
    }
    MusicEntry music(const QString& name, const QByteArray& bytes)
    {
        const QString path = mDir.filePath(name);
        EXPECT_TRUE(writeFile(path, bytes));
        const MusicCheckResult checked = WavMusicCheck::check(path);
        EXPECT_TRUE(checked.admitted());
        return checked.entry;
    }

    WaveBuildResult build(const WaveBuildOptions& options, const std::vector<MusicEntry>& entries,
                          const QString& path, const WaveFileBuilder::Progress& progress = {},
                          const std::atomic_bool* cancel = nullptr)
    {
        WaveFileBuilder builder(mWorkout, mMachine, options, entries, kClipDir);
        return builder.build(path, progress, cancel);
    }

    QStringList filesInDir() const { return QDir(mDir.path()).entryList(QDir::Files | QDir::Hidden); }

    Machine mMachine;
    Workout mWorkout;
    QTemporaryDir mDir;
};

TEST_F(WaveBuild, EveryOptionCombinationEqualsTheTwoPassFile)
{
    const MusicEntry a = music(QStringLiteral("a.wav"), 8 * 176400 + 52920, 1); // 8 s and a bit
    const MusicEntry b = music(QStringLiteral("b.wav"), 5 * 176400, 2); // exactly 5 s
    const MusicEntry c = music(QStringLiteral("c.wav"), 40 * 176400, 3); // more than enough
    struct Music {
        const char* name;
        std::vector<MusicEntry> entries;
        bool oneFilePerSegment;
        bool runsOut;
    } musics[] = {
        {"none", {}, false, false},
        {"two files in a row", {a, b}, false, true},
        {"one file per segment", {a, b}, true, true},
        {"one long file", {c}, false, false},
    };
    const QString out = mDir.filePath(QStringLiteral("out.wav"));
    int builds = 0;
    for (const Music& m : musics)
        for (bool stereo : {true, false})
            for (bool cues : {true, false})
                for (int beeps : {1, 2})
                    for (Units units : {Units::Miles, Units::Kilometres}) {
                        if (!cues && units == Units::Kilometres)
                            continue; // units only change what is spoken
                        WaveBuildOptions options;
                        options.stereo = stereo;
                        options.voiceCues = cues;
                        options.beeps = beeps;
                        options.oneFilePerSegment = m.oneFilePerSegment;
                        options.units = units;
                        const std::string what = std::string(m.name) + (stereo ? " stereo" : " mono")
                            + (cues ? " cues" : "") + " beeps " + std::to_string(beeps)
                            + (units == Units::Kilometres ? " km" : "");

                        const WaveBuildResult r = build(options, m.entries, out);
                        ASSERT_EQ(r.outcome, WaveBuildResult::Outcome::Written)
                            << what << r.message.toStdString();
                        EXPECT_EQ(r.musicRanOut, m.runsOut) << what;
                        const QByteArray written = readWhole(out);
                        const QByteArray expected = referenceFile(mWorkout, mMachine, options, m.entries);
                        ASSERT_EQ(written.size(), expected.size()) << what;
                        ASSERT_EQ(r.bytes, expected.size()) << what;
                        if (written != expected) {
                            qsizetype at = 0;
                            while (written[at] == expected[at])
                                ++at;
                            FAIL() << what << ": first difference at byte " << at;
                        }
                        ++builds;
                    }
    EXPECT_EQ(builds, 48);
}

TEST_F(WaveBuild, OneSegmentWithoutCuesKeepsTheToneOverhangBeforeTheEndTone)
{
    setSegments({{5.0, 1.0, 60}});
    for (bool stereo : {true, false}) {
        WaveBuildOptions options;
        options.stereo = stereo;
        options.voiceCues = false;
        const QString out = mDir.filePath(QStringLiteral("one.wav"));
        ASSERT_EQ(build(options, {}, out).outcome, WaveBuildResult::Outcome::Written);
        const QByteArray bytes = readWhole(out);
        const qint64 perSecond = stereo ? 176400 : 88200;
        const qint64 tone = stereo ? 36000 : 18000;
        const qint64 length = 44 + 70 * perSecond + 2 * tone;
        ASSERT_EQ(bytes.size(), length);
        EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 4), length - 8);
        EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 40), length - 44);
        EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + 22), stereo ? 2 : 1);
    }
}

TEST_F(WaveBuild, MusicIsLaidFromTheSeventhSecondAndMonoGivesWayToMusic)
{
    // Cues on: an 8-second segment has no room for music (from i = 7, before i = 7).
    setSegments({{5.0, 1.0, 8}, {5.0, 1.0, 20}});
    const std::vector<MusicEntry> entries = {music(QStringLiteral("long.wav"), 60 * 176400, 4)};
    WaveBuildOptions options;
    options.stereo = false;
    const WaveLayout layout = WaveLayout::plan(mWorkout, mMachine, options, entries, kClipDir);
    EXPECT_TRUE(layout.stereo());
    qint64 musicBytes = 0;
    for (const WavePiece& piece : layout.spans()) {
        if (piece.kind != WavePiece::Kind::Music)
            continue;
        EXPECT_EQ(piece.segment, 2);
        EXPECT_EQ(piece.start, layout.offsetAt(5 + 8 + 6.5));
        musicBytes += piece.length;
    }
    EXPECT_EQ(musicBytes, (18 - 7 + 1) * 176400); // i = 7 … 18 of the 20-second segment
}

TEST_F(WaveBuild, WhatFollowsTheDataChunkIsNeverPlayed)
{
    // 8 s and a bit: the ninth second, heard at second 9 of the segment, ends with the samples.
    setSegments({{5.0, 1.0, 20}});
    const qint64 data = 8 * 176400 + 52920;
    const QByteArray wav = wavHeader(data) + musicSamples(data, 7);
    const MusicEntry next = music(QStringLiteral("next.wav"), 30 * 176400, 8);
    WaveBuildOptions options;
    options.voiceCues = false;
    const QString out = mDir.filePath(QStringLiteral("out.wav"));
    ASSERT_EQ(build(options, {music(QStringLiteral("plain.wav"), wav), next}, out).outcome,
              WaveBuildResult::Outcome::Written);
    const QByteArray plain = readWhole(out);

    const QByteArray list =
        QByteArray("LIST\x1A\0\0\0INFOISFT\x0E\0\0\0", 20) + QByteArray("Lavf58.76.100", 14);
    const QByteArray id3 = "id3 " + QByteArray::fromHex("80000000") + QByteArray(128, '\x55');
    struct Case {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"a LIST chunk after the data", wav + list},
        {"an id3 chunk and a LIST chunk after the data", wav + id3 + list},
    };
    for (const Case& c : cases) {
        const MusicEntry entry = music(QStringLiteral("tagged.wav"), c.bytes);
        EXPECT_EQ(entry.dataBytes, data) << c.name;
        ASSERT_EQ(build(options, {entry, next}, out).outcome, WaveBuildResult::Outcome::Written) << c.name;
        EXPECT_TRUE(readWhole(out) == plain) << c.name;
    }
}

// ---- Failures and their clean-up --------------------------------------------

TEST_F(WaveBuild, CancelledOrFailedBuildLeavesTheEarlierFileAndNoTemporaryFile)
{
    const QString out = mDir.filePath(QStringLiteral("workout.wav"));
    ASSERT_TRUE(writeFile(out, "earlier file"));
    const QStringList before = filesInDir();

    std::atomic_bool cancel = false;
    int calls = 0;
    const WaveBuildResult cancelled = build(
        {}, {}, out,
        [&](int, const QString&) {
            if (++calls == 2)
                cancel = true;
        },
        &cancel);
    EXPECT_EQ(cancelled.outcome, WaveBuildResult::Outcome::Cancelled);
    EXPECT_EQ(readWhole(out), "earlier file");
    EXPECT_EQ(filesInDir(), before);

    // A file size limit makes the write fail part-way, as a full disk does.
    const WaveBuildResult failed = [&] {
        const test::FileSizeLimit full(3 << 20);
        return build({}, {}, out);
    }();
    EXPECT_EQ(failed.outcome, WaveBuildResult::Outcome::Failed);
    EXPECT_TRUE(
        failed.message.startsWith(QStringLiteral("The workout file ") + out + " could not be written.\r\r"))
        << failed.message.toStdString();
    EXPECT_EQ(readWhole(out), "earlier file");
    EXPECT_EQ(filesInDir(), before);

    const QString nowhere = mDir.filePath(QStringLiteral("no such folder/workout.wav"));
    const WaveBuildResult uncreated = build({}, {}, nowhere);
    EXPECT_EQ(uncreated.outcome, WaveBuildResult::Outcome::Failed);
    EXPECT_FALSE(uncreated.message.isEmpty());
}

TEST_F(WaveBuild, RefusesWrongMusicAndTooLittleRoom)
{
    const QString out = mDir.filePath(QStringLiteral("workout.wav"));
    MusicEntry mp3;
    mp3.path = QStringLiteral("/music/song.MP3");
    const WaveBuildResult wrongKind = build({}, {mp3}, out);
    EXPECT_EQ(wrongKind.outcome, WaveBuildResult::Outcome::Refused);
    EXPECT_EQ(wrongKind.message,
              QStringLiteral("Cannot use a MP3 file in a WAV workout.\rPlease delete file and "
                             "try again or try \ra different selection."));

    WaveFileBuilder builder(mWorkout, mMachine, {}, {}, kClipDir);
    QString asked;
    builder.setFreeSpace([&](const QString& folder) {
        asked = folder;
        return qint64{8'000'000}; // 90 % of it is less than the 8.3 MB file
    });
    const WaveBuildResult full = builder.build(out);
    EXPECT_EQ(full.outcome, WaveBuildResult::Outcome::Refused);
    EXPECT_EQ(asked, mDir.path());
    EXPECT_EQ(full.message,
              QStringLiteral("There is not enought space on ") + mDir.path()
                  + " to write the workout file.\r\rSelect a different drive to save the workout file.");
    EXPECT_FALSE(QFile::exists(out));

    setSegments(
        {{5, 1, 3600}, {5, 1, 3600}, {5, 1, 3600}, {5, 1, 3600}, {5, 1, 3600}, {5, 1, 3600}, {5, 1, 3600}});
    const WaveBuildResult tooLong = build({}, {}, out);
    EXPECT_EQ(tooLong.outcome, WaveBuildResult::Outcome::Refused);
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(WaveBuild, ProgressAndClosingTexts)
{
    const QString out = mDir.filePath(QStringLiteral("w.wav"));
    const QString written = QStringLiteral("Kinetrova wave file ") + out
        + " written to disk. Copy this file to a CDROM to use as a workout.";
    const QString status = QStringLiteral("Workout file: ") + out
        + " written to disk. \rPlay the file on your computer or copy it to a CDROM.";
    const std::vector<MusicEntry> enough = {music(QStringLiteral("m.wav"), 40 * 176400, 5)};
    const std::vector<MusicEntry> short_ = {music(QStringLiteral("s.wav"), 9 * 176400, 6)};

    struct Case {
        const char* name;
        const std::vector<MusicEntry>* music;
        const char* firstStatus;
        bool box;
    } cases[] = {
        {"no music", nullptr, "Writing to disk:", true},
        {"music to the end", &enough, "Pass 1 of 2. Please wait...\rWriting ", false},
        {"music runs out", &short_, "Pass 1 of 2. Please wait...\rWriting ", true},
    };
    for (const Case& c : cases) {
        std::vector<int> percents;
        QStringList statuses;
        const WaveBuildResult r = build({}, c.music ? *c.music : std::vector<MusicEntry>{}, out,
                                        [&](int percent, const QString& text) {
                                            percents.push_back(percent);
                                            statuses << text;
                                        });
        ASSERT_EQ(r.outcome, WaveBuildResult::Outcome::Written) << c.name;
        EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end())) << c.name;
        EXPECT_EQ(percents.front(), 0) << c.name;
        EXPECT_EQ(percents.back(), 100) << c.name;
        EXPECT_TRUE(statuses.front().startsWith(QLatin1String(c.firstStatus))) << c.name;
        EXPECT_EQ(r.message, c.box ? written : QString()) << c.name;
        if (c.music) {
            EXPECT_TRUE(statuses.back().startsWith(QStringLiteral("Pass 2 of 2. Writing second "))) << c.name;
            EXPECT_TRUE(statuses.back().endsWith(QStringLiteral(" from ") + c.music->front().path)) << c.name;
        }
        if (c.music != &short_) {
            EXPECT_EQ(r.status, status) << c.name;
        }
    }
}

} // namespace
