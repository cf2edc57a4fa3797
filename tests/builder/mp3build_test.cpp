// The workout MP3 file: every frame of a built file is walked and accounted
// for — silent frames, encoded tones and cues, music frames copied byte for
// byte in order with the right number dropped, silent stand-ins where a copied
// frame cannot be decoded — and the failures leave nothing.

#include "builder/buildestimate.h"
#include "builder/mp3encoder.h"
#include "builder/mp3filebuilder.h"
#include "builder/mp3layout.h"
#include "builder/mp3musiccheck.h"
#include "builder/mp3piececache.h"
#include "builder/mp3splice.h"

#include "model/machine.h"
#include "model/workout.h"

#include "filesizelimit.h"
#include "testenv.h"
#include "testmusic.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <csignal>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <regex>
#include <sys/resource.h>

using namespace kntr;
using namespace kntr::test;

namespace {

const QString kClipDir = QStringLiteral(KNTR_VOICECUE_DIR);
using Outcome = WaveBuildResult::Outcome;

// 16-bit stereo samples of a gliding sine, left and right apart.
QByteArray sinePcm(double seconds)
{
    const auto n = static_cast<qsizetype>(seconds * 44100);
    QByteArray pcm(4 * n, Qt::Uninitialized);
    for (qsizetype i = 0; i < n; ++i) {
        qToLittleEndian<qint16>(static_cast<qint16>(9000 * std::sin(i * (0.03 + i * 1e-7))),
                                pcm.data() + 4 * i);
        qToLittleEndian<qint16>(static_cast<qint16>(7000 * std::sin(i * 0.05)), pcm.data() + 4 * i + 2);
    }
    return pcm;
}

// The silent frame that takes the place of a music frame at a splice: the silent
// frame's header and side information at the frame's bit rate and padding, then
// the frame's own main data (none for an encoder's information frame).
QByteArray standIn(const QByteArray& frame, bool keepMainData = true)
{
    QByteArray silent = Mp3Splice::silentFrame(frame[2], frame.size());
    if (keepMainData)
        silent.replace(36, frame.size() - 36, frame.mid(36));
    return silent;
}

class Mp3Build : public ::testing::Test {
protected:
    void SetUp() override { mMachine.setMachineType(QStringLiteral("Treadmill")); }

    void setSegments(const std::vector<double>& seconds)
    {
        mWorkout.setCount(static_cast<int>(seconds.size()));
        int k = 1;
        for (double s : seconds) {
            Segment& segment = mWorkout.segment(k);
            segment.setSegmentSpeed(2.5 + k);
            segment.setSegmentIncline(k % 3 * 1.5);
            segment.setSegmentTime(s);
            ++k;
        }
    }

    // A music file admitted by the MP3 check.
    MusicEntry music(const QString& name, const QByteArray& bytes)
    {
        const QString path = mDir.filePath(name);
        EXPECT_TRUE(writeFile(path, bytes));
        const MusicCheckResult checked = Mp3MusicCheck::check(path);
        EXPECT_TRUE(checked.admitted()) << checked.message.toStdString();
        return checked.entry;
    }

    QStringList filesInDir() const { return QDir(mDir.path()).entryList(QDir::Files | QDir::Hidden); }

    Machine mMachine;
    Workout mWorkout;
    QTemporaryDir mDir;
};

// ---- The frames of a built file --------------------------------------------

TEST_F(Mp3Build, EveryFrameIsSilenceAnEncodedInsertOrTheRightMusicFrame)
{
    const QByteArray id3v2 = QByteArray("ID3\x03\x00\x00\x00\x00\x01\x00", 10) + QByteArray(128, '\x11');
    const QByteArray tag = "TAG" + QByteArray(125, 't');
    // The frame at this offset of a file stops matching after the file was admitted.
    const auto damage = [](qint64 offset) {
        return [offset](const QString& path) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.seek(offset));
            f.write("\x33\x33\x33");
        };
    };
    const auto cut = [](const QString& path) { QFile::resize(path, QFileInfo(path).size() - 100); };
    struct Case {
        const char* name;
        std::vector<double> segments;
        std::vector<std::pair<QByteArray, std::function<void(const QString&)>>> files;
        bool cues, oneFilePerSegment;
        int beeps, bitRate;
        const char* silentHeader;
        const char* music; // per segment: F music to its end, P music then silence, - no music
        bool runsOut;
    } cases[] = {
        {"two files in a row, ID3 tags",
         {30, 12, 20},
         {{id3v2 + mp3Frames(700, 1) + tag, {}}, {mp3Frames(2000, 2), {}}},
         true,
         false,
         2,
         128,
         "FFFB9060",
         "FFF",
         false},
        {"music runs out in segment 3 of 5",
         {20, 20, 20, 20, 20},
         {{mp3Frames(1900, 3, 0x80), {}}},
         false,
         false,
         1,
         128,
         "FFFB8060",
         "FFP--",
         true},
        {"one file per segment, fewer files",
         {20, 25, 20},
         {{mp3Frames(300, 4), {}}, {mp3Frames(2000, 5), {}}},
         true,
         true,
         1,
         128,
         "FFFB9060",
         "PF-",
         true},
        {"frames stop matching",
         {40},
         {{mp3Frames(100, 6), damage(50 * 417 + 16)}, {mp3Frames(3000, 7), {}}},
         false,
         false,
         1,
         128,
         "FFFB9060",
         "F",
         false},
        {"last frame cut short",
         {40},
         {{mp3Frames(99, 8), cut}},
         false,
         false,
         1,
         128,
         "FFFB9060",
         "P",
         true},
        {"no music at 96 kbit/s", {20, 15}, {}, true, false, 1, 96, "FFFB7060", "--", false},
        {"inserts longer than the segment",
         {3, 20},
         {{mp3Frames(2000, 9, 0x50), {}}},
         true,
         false,
         2,
         64,
         "FFFB5060",
         "-F",
         false},
    };

    for (const Case& c : cases) {
        setSegments(c.segments);
        std::vector<MusicEntry> entries;
        std::vector<QList<QByteArray>> sources; // each file's frames as the test reads them
        for (size_t i = 0; i < c.files.size(); ++i) {
            const QString name = QStringLiteral("m%1.mp3").arg(i);
            entries.push_back(music(name, c.files[i].first));
            if (c.files[i].second)
                c.files[i].second(mDir.filePath(name));
            sources.push_back(
                splitFrames(readWhole(mDir.filePath(name)).mid(entries.back().dataPosition - 1)));
        }
        Mp3BuildOptions options;
        options.voiceCues = c.cues;
        options.oneFilePerSegment = c.oneFilePerSegment;
        options.beeps = c.beeps;
        options.bitRate = c.bitRate;
        const QString out = mDir.filePath(QStringLiteral("out.mp3"));
        const WaveBuildResult r = Mp3FileBuilder(mWorkout, mMachine, options, entries, kClipDir).build(out);
        ASSERT_EQ(r.outcome, Outcome::Written) << c.name << r.message.toStdString();
        EXPECT_EQ(r.musicRanOut, c.runsOut) << c.name;

        // Every byte belongs to a whole frame.
        const QByteArray file = readWhole(out);
        qsizetype rest = -1;
        const QList<QByteArray> frames = splitFrames(file, &rest);
        ASSERT_EQ(rest, 0) << c.name;
        ASSERT_EQ(r.bytes, file.size()) << c.name;

        const QByteArray silent = Mp3Layout::QFrame(entries.empty() ? c.bitRate : entries[0].bitRate);
        ASSERT_EQ(silent.left(4).toHex().toUpper(), c.silentHeader) << c.name;
        const Mp3Layout layout = Mp3Layout::plan(mWorkout, mMachine, options, entries, kClipDir);
        ASSERT_TRUE(layout.ok()) << c.name;

        // A segment: the get-ready clip, 10 silent frames, the tones, 10 silent frames,
        // the spoken targets, music. The music runs on under what the segment inserts.
        std::vector<qint64> inserted(c.segments.size() + 1);
        std::vector<std::string> shapes(c.segments.size() + 1);
        for (const Mp3Piece& p : layout.pieces()) {
            const auto k = static_cast<size_t>(p.segment);
            if (p.kind != Mp3Piece::Kind::Music)
                inserted[k] += p.frames;
            if (p.kind == Mp3Piece::Kind::Music)
                shapes[k] += 'm';
            else
                shapes[k] += p.kind == Mp3Piece::Kind::Encoded ? 'e' : p.frames == 10 ? 's' : '?';
        }
        const std::regex shape((c.cues ? "es" : "s") + std::string(c.beeps, 'e')
                               + (c.cues ? "se+m?" : "sm?"));
        for (size_t k = 1; k < shapes.size(); ++k)
            EXPECT_TRUE(std::regex_match(shapes[k], shape))
                << c.name << " segment " << k << ": " << shapes[k];

        // Walk the file alongside the layout, the music as it should run on.
        qsizetype at = 0;
        size_t entry = 0;
        qsizetype next = 0; // frame of the entry in use
        std::string used;
        const auto expectSilence = [&](qint64 n) {
            for (qint64 i = 0; i < n; ++i, ++at)
                ASSERT_EQ(frames.value(at), silent) << c.name << " frame " << at;
        };
        for (const Mp3Piece& piece : layout.pieces()) {
            if (piece.kind == Mp3Piece::Kind::Silence) {
                expectSilence(piece.frames);
            } else if (piece.kind == Mp3Piece::Kind::Encoded) {
                ASSERT_EQ(splitFrames(piece.bytes).size(), piece.frames) << c.name;
                ASSERT_EQ(frames.mid(at, piece.frames).join(), piece.bytes) << c.name << " frame " << at;
                at += piece.frames;
            } else {
                if (c.oneFilePerSegment) {
                    entry = static_cast<size_t>(piece.segment - 1);
                    next = 0;
                }
                const auto k = static_cast<size_t>(piece.segment);
                const qint64 musicFrames = Mp3Layout::framesOf(c.segments[k - 1]) - inserted[k];
                qint64 skip = inserted[k], budget = musicFrames;
                // The test frames take 2 × seed bytes of main data from the frames before
                // them: the first copied after the inserts or at the start of a file has
                // nothing to take them from and gives way to its silent stand-in.
                bool spliced = true;
                while (budget > 0 && entry < sources.size()) {
                    if (next == sources[entry].size()) {
                        if (c.oneFilePerSegment)
                            break;
                        ++entry;
                        next = 0;
                        spliced = true;
                        continue;
                    }
                    if (skip > 0) {
                        --skip;
                        ++next;
                        continue;
                    }
                    const QByteArray& source = sources[entry][next];
                    ASSERT_EQ(frames.value(at), spliced ? standIn(source) : source)
                        << c.name << " frame " << at << " entry " << entry << " frame " << next;
                    spliced = false;
                    ++at, ++next, --budget;
                }
                used.resize(static_cast<size_t>(piece.segment), '-');
                used.back() = budget == 0 ? 'F' : budget < musicFrames ? 'P' : '-';
                expectSilence(budget);
            }
        }
        EXPECT_EQ(at, frames.size()) << c.name;
        used.resize(c.segments.size(), '-');
        EXPECT_EQ(used, c.music) << c.name;

        // The lead-in and the tail; the segments have their frames unless the inserts are longer.
        EXPECT_EQ(frames.mid(0, 173), QList<QByteArray>(173, silent)) << c.name;
        EXPECT_EQ(frames.mid(frames.size() - 173), QList<QByteArray>(173, silent)) << c.name;
        qint64 expected = inserted[0]; // the lead-in and the end
        for (size_t k = 0; k < c.segments.size(); ++k)
            expected += std::max(Mp3Layout::framesOf(c.segments[k]), inserted[k + 1]);
        EXPECT_EQ(frames.size(), expected) << c.name;
    }
}

TEST_F(Mp3Build, FileDecodesCleanly)
{
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty())
        GTEST_SKIP() << "ffmpeg is not installed";
    setSegments({15, 12});
    const Mp3Encoder::Result song = Mp3Encoder::encode(sinePcm(12), 128);
    ASSERT_TRUE(song.ok());
    Mp3BuildOptions options;
    options.beeps = 2;
    const QString out = mDir.filePath(QStringLiteral("decode.mp3"));
    ASSERT_EQ(Mp3FileBuilder(mWorkout, mMachine, options, {music(QStringLiteral("song.mp3"), song.frames)},
                             kClipDir)
                  .build(out)
                  .outcome,
              Outcome::Written);
    QProcess p;
    p.start(ffmpeg, {"-nostdin", "-v", "error", "-i", out, "-f", "null", "-"});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(p.readAllStandardError(), QByteArray());
}

// ---- Music encoded by LAME: bit reservoir, Info frames, tags, cut ends ------

// The tools that make and decode the music; empty when one is not installed.
struct Tools {
    QString sox, lame, ffmpeg;

    static std::optional<Tools> find()
    {
        Tools t{QStandardPaths::findExecutable(QStringLiteral("sox")),
                QStandardPaths::findExecutable(QStringLiteral("lame")),
                QStandardPaths::findExecutable(QStringLiteral("ffmpeg"))};
        if (t.sox.isEmpty() || t.lame.isEmpty() || t.ffmpeg.isEmpty())
            return std::nullopt;
        return t;
    }

    // seconds of sound made by sox's synth, encoded as users' music is: LAME's
    // defaults at 128 kbit/s, an Info frame first and the bit reservoir in use.
    QByteArray music(const QTemporaryDir& dir, double seconds, const QStringList& synth) const
    {
        const QString wav = dir.filePath(QStringLiteral("synth.wav")),
                      mp3 = dir.filePath(QStringLiteral("synth.mp3"));
        // -R: the same noise on every run.
        const QStringList make =
            QStringList{
                "-R", "-n", "-r", "44100", "-c", "2", "-b", "16", wav, "synth", QString::number(seconds)}
            + synth;
        if (QProcess::execute(sox, make) != 0
            || QProcess::execute(lame, {"--quiet", "-b", "128", wav, mp3}) != 0)
            return {};
        return readWhole(mp3);
    }

    // What ffmpeg says of the file at the verbose level, and the samples it decodes.
    std::pair<QByteArray, QByteArray> decode(const QString& mp3) const
    {
        QProcess p;
        p.start(ffmpeg, {"-nostdin", "-v", "verbose", "-i", mp3, "-f", "s16le", "-ac", "2", "-"});
        p.waitForFinished(60000);
        return {p.readAllStandardError(), p.readAllStandardOutput()};
    }
};

// The loudness of each frame's samples, as ffmpeg decoded them: 1,152 stereo
// samples from the decoder's delay of 529 on.
std::vector<double> frameLevels(const QByteArray& pcm)
{
    constexpr qsizetype kDelay = 529, kFrame = 1152;
    std::vector<double> levels;
    for (qsizetype at = kDelay; (at + kFrame) * 4 <= pcm.size(); at += kFrame) {
        double sum = 0;
        for (qsizetype i = 2 * at; i < 2 * (at + kFrame); ++i) {
            const double v = qFromLittleEndian<qint16>(pcm.constData() + 2 * i);
            sum += v * v;
        }
        levels.push_back(std::sqrt(sum / (2 * kFrame)));
    }
    return levels;
}

TEST_F(Mp3Build, SplicedReservoirMusicDecodesWithoutOverreadsOrJumps)
{
    const std::optional<Tools> tools = Tools::find();
    if (!tools)
        GTEST_SKIP() << "sox, lame or ffmpeg is not installed";
    // Sounds of an even loudness, so that a frame out of step shows: noise drains
    // the bit reservoir, a steady tone fills it to the brim.
    const QByteArray noise = tools->music(mDir, 45, {"whitenoise", "vol", "0.3"});
    const QByteArray tone = tools->music(mDir, 45, {"sine", "440", "vol", "0.3"});
    ASSERT_FALSE(noise.isEmpty() || tone.isEmpty());
    setSegments({20, 15, 15, 15, 15}); // the second file starts in segment 3
    const std::vector<MusicEntry> entries = {music(QStringLiteral("noise.mp3"), noise),
                                             music(QStringLiteral("tone.mp3"), tone)};
    const QString out = mDir.filePath(QStringLiteral("spliced.mp3"));
    const WaveBuildResult r = Mp3FileBuilder(mWorkout, mMachine, {}, entries, kClipDir).build(out);
    ASSERT_EQ(r.outcome, Outcome::Written) << r.message.toStdString();
    ASSERT_FALSE(r.musicRanOut);

    // No frame reaches for main data the decoder does not have, and every frame decodes.
    const auto [said, pcm] = tools->decode(out);
    for (const char* complaint : {"overread", "backstep", "Error"})
        EXPECT_FALSE(said.contains(complaint)) << said.toStdString();
    const QList<QByteArray> frames = splitFrames(readWhole(out));
    ASSERT_EQ(pcm.size(), frames.size() * 1152 * 4);
    const std::vector<double> levels = frameLevels(pcm);

    // Each stretch of music: a stand-in or two where it begins and where the second
    // file begins; between them runs of frames, each as loud as its run.
    const QByteArray silentSideInfo = Mp3Layout::QFrame(128).mid(4, 32);
    const auto isStandIn = [&](qsizetype i) { return frames.value(i).mid(4, 32) == silentSideInfo; };
    const Mp3Layout layout = Mp3Layout::plan(mWorkout, mMachine, {}, entries, kClipDir);
    qsizetype at = 0;
    int stretches = 0, standIns = 0;
    for (const Mp3Piece& piece : layout.pieces()) {
        const qsizetype end = at + piece.frames;
        if (piece.kind == Mp3Piece::Kind::Music)
            ++stretches;
        for (qsizetype run = at; piece.kind == Mp3Piece::Kind::Music && run < end;) {
            if (isStandIn(run)) {
                ++standIns, ++run;
                continue;
            }
            qsizetype runEnd = run;
            while (runEnd < end && !isStandIn(runEnd))
                ++runEnd;
            std::vector<double> heard(levels.begin() + run, levels.begin() + runEnd);
            std::nth_element(heard.begin(), heard.begin() + heard.size() / 2, heard.end());
            const double loudness = heard[heard.size() / 2];
            EXPECT_GT(loudness, 1000) << "segment " << piece.segment;
            for (qsizetype i = run; i < runEnd; ++i) {
                const double level = levels[static_cast<size_t>(i)];
                // The first frame after silence rises out of it (the transforms overlap),
                // and a file's last frame ends in the encoder's padding.
                const bool edge = i == run || (i + 1 == runEnd && runEnd < end);
                EXPECT_LT(level, loudness * 1.5) << "segment " << piece.segment << " frame " << i - at;
                EXPECT_GT(level, loudness / (edge ? 4 : 1.5))
                    << "segment " << piece.segment << " frame " << i - at;
            }
            run = runEnd;
        }
        at = end;
    }
    EXPECT_EQ(stretches, 5);
    // One or two where each stretch begins, one for the second file's Info frame.
    EXPECT_GE(standIns, stretches + 1);
    EXPECT_LE(standIns, 2 * stretches + 1);
}

TEST_F(Mp3Build, LameFilesAreReadToTheirLastWholeFrameAndNeverCopyTheirInfoFrame)
{
    const std::optional<Tools> tools = Tools::find();
    if (!tools)
        GTEST_SKIP() << "sox, lame or ffmpeg is not installed";
    const QByteArray song = tools->music(mDir, 6, {"sine", "300-900", "vol", "0.3"});
    const QByteArray next = tools->music(mDir, 30, {"pinknoise", "vol", "0.2"});
    ASSERT_FALSE(song.isEmpty() || next.isEmpty());
    ASSERT_TRUE(Mp3Splice::isInfoFrame(song.left(417)) && Mp3Splice::isInfoFrame(next.left(417)));
    const qsizetype songFrames = splitFrames(song).size();
    struct Case {
        const char* name;
        QByteArray bytes;
        qsizetype wholeFrames; // the song's frames up to the end of its music
    } cases[] = {
        {"an Info frame first", song, songFrames},
        {"the last frame cut short", song.chopped(100), songFrames - 1},
        {"an ID3v1 tag in the middle", song + "TAG" + QByteArray(125, 't') + next, songFrames},
    };
    setSegments({20});
    Mp3BuildOptions options;
    options.voiceCues = false;
    const MusicEntry after = music(QStringLiteral("next.mp3"), next);
    const QList<QByteArray> nextFrames = splitFrames(next);
    for (const Case& c : cases) {
        // Checked, estimated and built alike.
        const std::vector<MusicEntry> entries = {music(QStringLiteral("song.mp3"), c.bytes), after};
        EXPECT_EQ(entries[0].frameCount, c.wholeFrames) << c.name;
        EXPECT_EQ(BuildEstimate::musicSeconds({entries[0]}), static_cast<float>(c.wholeFrames * 0.026))
            << c.name;
        const QString out = mDir.filePath(QStringLiteral("out.mp3"));
        ASSERT_EQ(Mp3FileBuilder(mWorkout, mMachine, options, entries, kClipDir).build(out).outcome,
                  Outcome::Written)
            << c.name;
        const QList<QByteArray> frames = splitFrames(readWhole(out));

        const Mp3Layout layout = Mp3Layout::plan(mWorkout, mMachine, options, entries, kClipDir);
        qsizetype at = 0;
        auto piece = layout.pieces().begin();
        for (; piece->kind != Mp3Piece::Kind::Music; ++piece)
            at += piece->frames;
        // The song from the first frame not dropped under the inserts to its last
        // whole frame, then the next file: its Info frame silenced, its music after it.
        const qsizetype fromSong = c.wholeFrames - piece->skip;
        QList<QByteArray> expected = splitFrames(c.bytes).mid(piece->skip, fromSong);
        expected += standIn(nextFrames[0], false);
        expected += nextFrames.mid(1, piece->frames - fromSong - 1);
        ASSERT_EQ(expected.size(), piece->frames) << c.name;
        // The first one or two reach for main data dropped before them.
        int standIns = 0;
        for (qsizetype i = 0; i < piece->frames; ++i) {
            const QByteArray& frame = frames.value(at + i);
            if (i < 2 && frame == standIn(expected[i]))
                ++standIns;
            else
                ASSERT_EQ(frame, expected[i]) << c.name << " music frame " << i;
        }
        EXPECT_GE(standIns, 1) << c.name;
        EXPECT_TRUE(std::none_of(frames.begin(), frames.end(), [](const QByteArray& f) {
            return Mp3Splice::isInfoFrame(f);
        })) << c.name;
    }
}

// ---- Encoder, silent frame and arithmetic ------------------------------------

TEST(Mp3Encoding, WholeConstantBitRateFramesWithoutTagsOrFlags)
{
    const QByteArray pcm = sinePcm(1.0);
    for (int rate : {64, 96, 128, 192}) {
        const Mp3Encoder::Result r = Mp3Encoder::encode(pcm, rate);
        ASSERT_TRUE(r.ok()) << rate;
        qsizetype rest = -1;
        const QList<QByteArray> frames = splitFrames(r.frames, &rest);
        EXPECT_EQ(rest, 0) << rate;
        EXPECT_EQ(frames.size(), 40) << rate; // 1 s, the encoder's delay and the flush
        const QByteArray silent = Mp3Layout::QFrame(rate);
        for (const QByteArray& f : frames) {
            ASSERT_EQ(f.left(2), silent.left(2)) << rate; // MPEG-1 Layer III, no CRC
            ASSERT_EQ(f[2] & ~0x02, silent[2]) << rate; // bit rate, 44.1 kHz
            ASSERT_EQ(static_cast<uchar>(f[3]) & 0xCF, 0x40) << rate; // joint stereo, not original
            ASSERT_FALSE(f.contains("Xing") || f.contains("Info")) << rate;
        }
        EXPECT_FALSE(r.frames.startsWith("ID3") || r.frames.right(128).startsWith("TAG")) << rate;
    }
    EXPECT_EQ(Mp3Encoder::encode({}, 128).frames, QByteArray());

    struct Failure {
        QByteArray pcm;
        int rate;
        int code;
        const char* text;
    } failures[] = {
        {pcm, 100, Mp3Encoder::InvalidFormatParameters, "Invalid format parameters"},
        {pcm.left(6), 128, Mp3Encoder::InvalidFormat, "Invalid format"},
    };
    for (const Failure& f : failures) {
        const Mp3Encoder::Result r = Mp3Encoder::encode(f.pcm, f.rate);
        EXPECT_EQ(r.code, f.code);
        EXPECT_TRUE(r.frames.isEmpty());
        EXPECT_EQ(Mp3Encoder::errorText(r.code), f.text);
    }
}

TEST(Mp3Encoding, SilentFramesFrameCountsAndTheSizeEstimate)
{
    struct Row {
        int rate;
        const char* header;
        int length;
    } rows[] = {{64, "FFFB5060", 208},  {80, "FFFB6060", 261},  {96, "FFFB7060", 313}, {112, "FFFB8060", 365},
                {128, "FFFB9060", 417}, {160, "FFFBA060", 522}, {192, "FFFBB060", 626}};
    for (const Row& row : rows) {
        const QByteArray frame = Mp3Layout::QFrame(row.rate);
        EXPECT_EQ(frame.size(), row.length);
        EXPECT_EQ(frame.left(36).toHex().toUpper(),
                  QByteArray(row.header)
                      + "0000000000000000000200000000000000400000000000000800000000000001");
        EXPECT_EQ(frame.mid(36), QByteArray(row.length - 36, '\0'));
    }
    EXPECT_TRUE(Mp3Layout::QFrame(100).isEmpty());
    EXPECT_EQ(Mp3Layout::undefinedBitRateMessage(), "Err. Bitrate not defined");

    EXPECT_EQ(Mp3Layout::framesOf(60), 2308);
    EXPECT_EQ(Mp3Layout::framesOf(4.5), 173);
    Workout workout;
    workout.setCount(2);
    workout.segment(1).setSegmentTime(30.4);
    workout.segment(2).setSegmentTime(29.4); // 59.8 s round to 60
    EXPECT_EQ(Mp3Layout::workoutFrames(workout), 2308);

    // Without music: total seconds × frame length / 0.026. With music: the entries
    // shorter than what is left, then the rest at 417 bytes a frame.
    EXPECT_EQ(BuildEstimate::mp3Size(workout, 96, {}), std::llround(59.8 * 313 / 0.026));
    MusicEntry a, b;
    a.seconds = 20;
    a.frameSize = 208;
    b.seconds = 50; // longer than the 40 s left: not counted
    b.frameSize = 313;
    EXPECT_EQ(BuildEstimate::mp3Size(workout, 64, {a, b}), std::llround(20 * 208 / 0.026 + 40 * 417 / 0.026));
}

TEST(Mp3Splice, SideInformationAndInformationFramesAreFoundByTheHeader)
{
    // A frame of 417 bytes: the header, the bytes at the side information's start, zeros.
    const auto frame = [](const char* header, std::initializer_list<int> at, const char* tag = nullptr,
                          int tagAt = 0) {
        QByteArray f = QByteArray::fromHex(header);
        for (int b : at)
            f += static_cast<char>(b);
        f += QByteArray(417 - f.size(), '\0');
        if (tag)
            f.replace(tagAt, 4, tag);
        return f;
    };
    struct Row {
        const char* name;
        QByteArray frame;
        qsizetype offset, size; // 0 size: no side information
        int mainDataBegin;
        bool information;
    } rows[] = {
        {"MPEG-1 stereo: 9 bits", frame("FFFB9044", {0xFF, 0x80}), 4, 32, 511, false},
        {"MPEG-1 after the CRC", frame("FFFA9044", {0xAB, 0xCD, 0x01, 0x00}), 6, 32, 2, false},
        {"MPEG-1 mono", frame("FFFB90C4", {0x00, 0x80}), 4, 17, 1, false},
        {"MPEG-2 stereo: 8 bits", frame("FFF39044", {0xFF, 0x80}), 4, 17, 255, false},
        {"MPEG-2.5 mono", frame("FFE390C4", {0x07}), 4, 9, 7, false},
        {"Layer II", frame("FFFD9044", {}), 0, 0, 0, false},
        {"not a header", frame("FF1B9044", {}), 0, 0, 0, false},
        {"LAME's Info frame", frame("FFFB9064", {}, "Info", 36), 4, 32, 0, true},
        {"Xing in mono", frame("FFFB90C4", {}, "Xing", 21), 4, 17, 0, true},
        {"Xing after the CRC", frame("FFFA9044", {}, "Xing", 38), 6, 32, 0, true},
        {"VBRI", frame("FFFB9044", {}, "VBRI", 36), 4, 32, 0, true},
        {"Info out of place", frame("FFFB9044", {}, "Info", 40), 4, 32, 0, false},
    };
    for (const Row& r : rows) {
        const std::optional<Mp3Splice::SideInfo> side = Mp3Splice::sideInfo(r.frame);
        ASSERT_EQ(side.has_value(), r.size > 0) << r.name;
        if (side) {
            EXPECT_EQ(side->offset, r.offset) << r.name;
            EXPECT_EQ(side->size, r.size) << r.name;
            EXPECT_EQ(side->mainDataBegin, r.mainDataBegin) << r.name;
            EXPECT_EQ(side->mainDataBytes, 417 - r.offset - r.size) << r.name;
        }
        EXPECT_EQ(Mp3Splice::isInfoFrame(r.frame), r.information) << r.name;
    }
    EXPECT_FALSE(Mp3Splice::sideInfo(QByteArray::fromHex("FFFB9044")).has_value()); // no room for it
    EXPECT_TRUE(Mp3Splice::silentFrame('\x90', 35).isEmpty());
}

// ---- Encoding side by side, and keeping what was encoded ---------------------

TEST_F(Mp3Build, PiecesEncodedSideBySideOrKeptGiveTheBytesOfOneAtATime)
{
    setSegments({20, 25, 20, 15});
    const std::vector<MusicEntry> song = {music(QStringLiteral("song.mp3"), mp3Frames(3000, 1))};
    const QString out = mDir.filePath(QStringLiteral("w.mp3"));
    const QString cache = mDir.filePath(QStringLiteral("cache"));
    std::mutex oneAtATime;
    std::atomic_int encodes = 0;
    const auto build = [&](const QString& cacheDir, bool serial) {
        Mp3BuildOptions options;
        options.beeps = 2;
        options.pieceCacheDir = cacheDir;
        Mp3FileBuilder builder(mWorkout, mMachine, options, song, kClipDir);
        builder.setEncoder([&, serial](const QByteArray& pcm, int rate) {
            std::unique_lock lock(oneAtATime, std::defer_lock);
            if (serial)
                lock.lock();
            ++encodes;
            return Mp3Encoder::encode(pcm, rate);
        });
        encodes = 0;
        EXPECT_EQ(builder.build(out).outcome, Outcome::Written);
        return readWhole(out);
    };
    const QByteArray serial = build({}, true);
    const int distinct = encodes;
    ASSERT_GT(distinct, 5);
    const auto entries = [&] { return QDir(cache).entryList(QDir::Files | QDir::Hidden); };

    struct Step {
        const char* name;
        std::function<void()> before;
        int encodes;
    } steps[] = {
        {"first build", {}, distinct},
        {"rebuild", {}, 0},
        {"one entry cut short, one damaged",
         [&] {
             const QStringList names = entries();
             const QString cut = QDir(cache).filePath(names[0]);
             QFile::resize(cut, QFileInfo(cut).size() - 1);
             QFile damaged(QDir(cache).filePath(names[1]));
             ASSERT_TRUE(damaged.open(QIODevice::ReadWrite) && damaged.seek(100));
             damaged.write("\x33");
         },
         2},
        {"rebuild after the repair", {}, 0},
        {"cache trimmed to nothing", [&] { Mp3PieceCache(cache, 0).trim(); }, distinct},
    };
    for (const Step& step : steps) {
        if (step.before)
            step.before();
        EXPECT_EQ(build(cache, false), serial) << step.name;
        EXPECT_EQ(encodes, step.encodes) << step.name;
        EXPECT_EQ(entries().size(), distinct) << step.name;
        EXPECT_TRUE(entries().filter(QStringLiteral(".part")).isEmpty()) << step.name;
    }
}

// ---- Failures and their clean-up --------------------------------------------

TEST_F(Mp3Build, FailuresAndCancelLeaveTheEarlierFileAndNoTemporaryFile)
{
    setSegments({30, 20});
    const QString out = mDir.filePath(QStringLiteral("workout.mp3"));
    ASSERT_TRUE(writeFile(out, "earlier file"));
    const std::vector<MusicEntry> song = {music(QStringLiteral("song.mp3"), mp3Frames(3000, 1))};
    const QStringList before = filesInDir();

    using Inputs = std::function<void(Mp3BuildOptions&, std::vector<MusicEntry>&)>;
    using Configure = std::function<void(Mp3FileBuilder&)>;
    const auto encoder = [](Mp3Encoder::Result result) {
        return [result](Mp3FileBuilder& b) {
            b.setEncoder([result](const QByteArray&, int) { return result; });
        };
    };
    const QString failed = "The workout file " + out + " could not be written.\r\r";
    struct Case {
        const char* name;
        Inputs inputs;
        Configure configure;
        Outcome outcome;
        QString message; // the start of the message
        int cancelAtReport = 0;
        bool fileSizeLimit = false;
    } cases[] = {
        {"encoder fails",
         {},
         encoder({Mp3Encoder::InvalidFormatParameters, {}}),
         Outcome::Failed,
         failed + "Lame: Invalid format parameters"},
        {"encoder fails on a later piece, while the file is written",
         {},
         [](Mp3FileBuilder& b) {
             b.setEncoder([calls = std::make_shared<std::atomic_int>(0)](const QByteArray& pcm, int rate) {
                 return ++*calls < 4 ? Mp3Encoder::encode(pcm, rate)
                                     : Mp3Encoder::Result{Mp3Encoder::NoMoreHandles, {}};
             });
         },
         Outcome::Failed,
         failed + "Lame: No more handles"},
        {"encoder gives bytes that are not frames",
         {},
         encoder({Mp3Encoder::NoError, QByteArray(500, '\x33')}),
         Outcome::Failed,
         failed + "Lame: "},
        {"disk full", {}, {}, Outcome::Failed, failed, 0, true},
        {"cancel while encoding", {}, {}, Outcome::Cancelled, {}, 2},
        {"cancel while writing", {}, {}, Outcome::Cancelled, {}, 40},
        {"WAV music",
         [](auto&, std::vector<MusicEntry>& m) { m[0].path = "/music/song.WAV"; },
         {},
         Outcome::Refused,
         "Cannot use a WAV file in a MP3 workout.\rPlease delete file and try again or try \ra different "
         "selection."},
        {"no silent frame for the bit rate",
         [](Mp3BuildOptions& o, std::vector<MusicEntry>& m) {
             m.clear();
             o.bitRate = 100;
         },
         {},
         Outcome::Refused,
         "Err. Bitrate not defined"},
        {"too little room",
         {},
         [](Mp3FileBuilder& b) { b.setFreeSpace([](const QString&) { return qint64{1'000'000}; }); },
         Outcome::Refused,
         "There is not enought space on " + mDir.path() + " to write the workout file."},
    };
    for (const Case& c : cases) {
        Mp3BuildOptions options;
        std::vector<MusicEntry> entries = song;
        if (c.inputs)
            c.inputs(options, entries);
        Mp3FileBuilder builder(mWorkout, mMachine, options, entries, kClipDir);
        if (c.configure)
            c.configure(builder);
        std::atomic_bool cancel = false;
        int reports = 0;
        const auto progress = [&](int, const QString&) {
            if (++reports == c.cancelAtReport)
                cancel = true;
        };
        const WaveBuildResult r = [&] {
            const std::optional<test::FileSizeLimit> full =
                c.fileSizeLimit ? std::make_optional<test::FileSizeLimit>(200'000) : std::nullopt;
            return builder.build(out, progress, &cancel);
        }();
        EXPECT_EQ(r.outcome, c.outcome) << c.name;
        EXPECT_TRUE(r.message.startsWith(c.message)) << c.name << ": " << r.message.toStdString();
        EXPECT_EQ(readWhole(out), "earlier file") << c.name;
        EXPECT_EQ(filesInDir(), before) << c.name;
    }
}

TEST_F(Mp3Build, ProgressRisesToTheEndWithTheStatusTexts)
{
    setSegments({20, 20});
    const MusicEntry song = music(QStringLiteral("song.mp3"), mp3Frames(3000, 1));
    const QString out = mDir.filePath(QStringLiteral("w.mp3"));
    std::vector<int> percents;
    QStringList statuses;
    const auto progress = [&](int percent, const QString& status) {
        percents.push_back(percent);
        statuses << status;
    };
    const WaveBuildResult r = Mp3FileBuilder(mWorkout, mMachine, {}, {song}, kClipDir).build(out, progress);
    ASSERT_EQ(r.outcome, Outcome::Written);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_EQ(percents.back(), 100);
    EXPECT_TRUE(r.message.isEmpty()); // the window's model gives the closing box
    EXPECT_EQ(statuses.back(),
              "Workout file: " + out
                  + " written to disk. \rOk to play this file on your computer, MP3 Player, or copy "
                    "it to a CD-R disk.");
    for (const QString& expected :
         QStringList{"Writing Mp3 frame 173 of 1538", "Writing Voicecue.mp3 to workout segment 1",
                     "Writing Chirp.mp3 to workout segment 2", "Reading " + song.path})
        EXPECT_TRUE(statuses.contains(expected)) << expected.toStdString();
    const QRegularExpression preparing("^Preparing Mp3 frame \\d+ of 1538\rWriting workout segment 2$");
    statuses.removeDuplicates();
    EXPECT_GT(statuses.filter(preparing).size(), 2);
}

} // namespace
