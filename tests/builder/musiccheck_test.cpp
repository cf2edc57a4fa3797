// The WAV and MP3 checks that admit music files, and the MP3 frame walk.

#include "builder/mp3framewalk.h"
#include "builder/mp3musiccheck.h"
#include "builder/wavmusiccheck.h"

#include "testenv.h"
#include "testmusic.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <lame/lame.h>

#include <cmath>

using namespace kntr;
using namespace kntr::test;
using Verdict = MusicCheckResult::Verdict;

namespace {

class MusicCheck : public ::testing::Test {
protected:
    QString file(const QByteArray& bytes, const QString& name = QStringLiteral("music"))
    {
        const QString path = mDir.filePath(name);
        EXPECT_TRUE(writeFile(path, bytes));
        return path;
    }
    QTemporaryDir mDir;
};

QString lines(std::initializer_list<const char*> texts)
{
    QString all;
    for (const char* t : texts)
        all += QLatin1String(t) + QLatin1Char('\r');
    return all;
}

// ---- WAV ------------------------------------------------------------------

TEST_F(MusicCheck, WavFileOfTheRightFormatIsAdmittedAndMeasured)
{
    const qint64 data = 3 * 176400 + 1000;
    const QString path = file(wavHeader(data) + musicSamples(data, 1), QStringLiteral("song.wav"));
    const QByteArray before = readWhole(path);
    const QDateTime modified = QFileInfo(path).lastModified();

    const MusicCheckResult r = WavMusicCheck::check(path);
    ASSERT_EQ(r.verdict, Verdict::Admitted) << r.message.toStdString();
    EXPECT_EQ(r.entry.path, path);
    EXPECT_EQ(r.entry.dataPosition, 37);
    EXPECT_EQ(r.entry.dataBytes, data);
    EXPECT_EQ(r.entry.rate, 176400);
    EXPECT_EQ(r.entry.seconds, 3.0f);
    EXPECT_EQ(r.entry.firstSampleOffset(), 44);

    EXPECT_EQ(readWhole(path), before);
    EXPECT_EQ(QFileInfo(path).lastModified(), modified);
}

TEST_F(MusicCheck, WavMusicIsMeasuredByItsDataChunk)
{
    const qint64 data = 2 * 176400 + 500;
    const QByteArray wav = wavHeader(data) + musicSamples(data, 2);
    const QByteArray list =
        QByteArray("LIST\x1A\0\0\0INFOISFT\x0E\0\0\0", 20) + QByteArray("Lavf58.76.100", 14);
    QByteArray unsized = wav + list;
    unsized.replace(40, 4, "\xFF\xFF\xFF\xFF"); // as a program writing to a pipe leaves it
    struct Case {
        const char* name;
        QByteArray bytes;
        qint64 dataBytes;
        float seconds;
    } cases[] = {
        {"a LIST chunk after the data", wav + list, data, 2.0f},
        {"cut short: the chunk runs past the end", wav.chopped(176400), data - 176400, 1.0f},
        {"no chunk size: what the file holds", unsized, data + list.size(), 2.0f},
    };
    for (const Case& c : cases) {
        const MusicCheckResult r = WavMusicCheck::check(file(c.bytes));
        ASSERT_TRUE(r.admitted()) << c.name;
        EXPECT_EQ(r.entry.dataBytes, c.dataBytes) << c.name;
        EXPECT_EQ(r.entry.seconds, c.seconds) << c.name;
    }
}

TEST_F(MusicCheck, WavIncompatibilitiesAreCollectedOneLineEach)
{
    const QByteArray good = wavHeader(8) + QByteArray(8, '\1');
    QByteArray lateData = good;
    lateData.insert(36, "LIST" + QByteArray(4, '\0') + QByteArray(10000, 'x'));
    QByteArray lateFmt = QByteArray("RIFF....WAVE") + QByteArray(9976, 'x') + "fmt " + QByteArray(8, '\0');
    ASSERT_EQ(lateFmt.indexOf("fmt "), 9988);

    struct Case {
        const char* name;
        QByteArray bytes;
        QString expected;
    } cases[] = {
        {"22 kHz mono", wavHeader(8, 1, 22050, 16, 2, 44100) + QByteArray(8, '\1'),
         lines({"Recording is not in Stereo .", "Recording is not 44100 Hz.",
                "Recording does not have 176400 bytes per second.",
                "Recording is not equal to 2 channels * 16 bits/sample."})},
        {"block align only", wavHeader(8, 2, 44100, 16, 2) + QByteArray(8, '\1'),
         lines({"Recording is not equal to 2 channels * 16 bits/sample."})},
        {"compressed 24 bit", wavHeader(8, 2, 44100, 24, 6, 264600, 3) + QByteArray(8, '\1'),
         lines({"Recording appears to be compressed.", "Recording does not have 176400 bytes per second.",
                "Recording is not equal to 2 channels * 16 bits/sample.",
                "Recording is not 16 bits/sample."})},
        {"data past 10,000 bytes", lateData, lines({"'data' header was not found."})},
        {"format body past the bytes read", lateFmt,
         lines({"'fmt ' header was not found.", "'data' header was not found."})},
        {"not a wave file", QByteArray(500, 'z'),
         lines({"'RIFF' identifier not found, this isn't a wave file.",
                "'WAVE' not found, this isn't a wave file.", "'fmt ' header was not found.",
                "'data' header was not found."})},
        {"empty", QByteArray(),
         lines({"'RIFF' identifier not found, this isn't a wave file.",
                "'WAVE' not found, this isn't a wave file.", "'fmt ' header was not found.",
                "'data' header was not found."})},
    };
    for (const Case& c : cases) {
        const MusicCheckResult r = WavMusicCheck::check(file(c.bytes));
        EXPECT_EQ(r.verdict, Verdict::Rejected) << c.name;
        EXPECT_EQ(r.message, WavMusicCheck::rejectionMessage(c.expected)) << c.name;
    }
    EXPECT_TRUE(
        WavMusicCheck::rejectionMessage(QStringLiteral("x\r"))
            .startsWith(QStringLiteral("File is not compatible with this version of Kinetrova. Files must "
                                       "be recorded as a standard uncompressed stereo wave file: 16 bit "
                                       "stereo and 44100 Hz. Try changing the settings of your file "
                                       "ripper or try another file ripper.\r\rWave file header "
                                       "incompatibilities are as follows:\r\rx\r")));
}

TEST_F(MusicCheck, LaterDataTagWinsAndMissingFileIsUnreadable)
{
    const QByteArray bytes = wavHeader(400) + QByteArray(100, '\1') + "data" + QByteArray(296, '\2');
    const MusicCheckResult r = WavMusicCheck::check(file(bytes));
    ASSERT_TRUE(r.admitted());
    EXPECT_EQ(r.entry.dataPosition, 44 + 100 + 1);

    EXPECT_EQ(WavMusicCheck::check(mDir.filePath(QStringLiteral("absent.wav"))).verdict, Verdict::Unreadable);
    EXPECT_EQ(Mp3MusicCheck::check(mDir.filePath(QStringLiteral("absent.mp3"))).verdict, Verdict::Unreadable);
}

// ---- MP3 ------------------------------------------------------------------

int frameSizeOf(uchar third)
{
    const int sizes[] = {208, 261, 313, 365, 417, 522, 626};
    const int row = (third >> 4) - 5;
    const int size = row >= 0 && row < 7 ? sizes[row] : 417;
    return size + ((third & 0x02) ? 1 : 0);
}

// Frames with real headers and filler bodies: all the checks look at.
QByteArray frames(int count, uchar third = 0x90, uchar fourth = 0x44)
{
    QByteArray out;
    for (int i = 0; i < count; ++i) {
        QByteArray f(frameSizeOf(third), '\x55');
        f[0] = '\xFF';
        f[1] = '\xFB';
        f[2] = static_cast<char>(third);
        f[3] = static_cast<char>(fourth);
        out += f;
    }
    return out;
}

QByteArray id3v2(int tagSize)
{
    QByteArray tag("ID3\x03\x00\x00", 6);
    for (int shift : {21, 14, 7, 0})
        tag += static_cast<char>((tagSize >> shift) & 0x7F);
    return tag + QByteArray(tagSize, '\x11');
}

const QByteArray kId3v1 = "TAG" + QByteArray(125, 'a');

TEST_F(MusicCheck, Mp3FilesAdmittedWithTheirFirstFrameAndFrameCount)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        qint64 dataPosition;
        int frameCount;
        int bitRate;
    } cases[] = {
        {"plain", frames(10), 1, 10, 128},
        {"leading zero bytes", QByteArray(5, '\0') + frames(3), 6, 3, 128},
        {"ID3v2 tag of 4,096 bytes", id3v2(4096) + frames(4), 4107, 4, 128},
        {"ID3v1 tag at the end", frames(6) + kId3v1, 1, 6, 128},
        {"ID3v1 tag between frames: the music ends there", frames(3) + kId3v1 + frames(4), 1, 3, 128},
        {"last frame cut short", frames(3).chopped(10), 1, 2, 128},
        {"only the sync bytes of the last frame", frames(2) + "\xFF\xFB", 1, 2, 128},
        {"padded and unpadded", frames(2) + frames(1, 0x92) + frames(2), 1, 5, 128},
        {"96 kbit/s", frames(7, 0x70), 1, 7, 96},
        {"192 kbit/s with CRC",
         [] {
             QByteArray f = frames(2, 0xB2);
             f[1] = '\xFA';
             f[628] = '\xFA';
             return f;
         }(),
         1, 2, 192},
    };
    for (const Case& c : cases) {
        const MusicCheckResult r = Mp3MusicCheck::check(file(c.bytes));
        ASSERT_EQ(r.verdict, Verdict::Admitted) << c.name << ": " << r.message.toStdString();
        EXPECT_EQ(r.entry.dataPosition, c.dataPosition) << c.name;
        EXPECT_EQ(r.entry.frameCount, c.frameCount) << c.name;
        EXPECT_EQ(r.entry.seconds, static_cast<float>(c.frameCount * 0.026)) << c.name;
        EXPECT_EQ(r.entry.bitRate, c.bitRate) << c.name;
        EXPECT_EQ(r.entry.rate, 44100);
        EXPECT_EQ(r.entry.dataBytes, 0);
    }
    const MusicCheckResult r = Mp3MusicCheck::check(file(frames(1, 0x92)));
    EXPECT_EQ(r.entry.frameHeader, QByteArray("\xFF\xFB\x90"));
    EXPECT_EQ(r.entry.paddedFrameHeader, QByteArray("\xFF\xFB\x92"));
    EXPECT_EQ(r.entry.frameSize, 417);
    EXPECT_EQ(r.entry.paddedFrameSize, 418);
}

TEST_F(MusicCheck, Mp3RejectionsNameTheirReasonAndNeverReadPastTheEnd)
{
    QByteArray hugeId3 = id3v2(10);
    hugeId3[6] = '\x7F'; // a tag size far past the end

    const QString undecodable = Mp3MusicCheck::undecodableMessage();
    const QString mono = Mp3MusicCheck::monauralMessage();
    struct Case {
        const char* name;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {"mono", frames(3, 0x90, 0xC4), mono},
        {"dual channel", frames(3, 0x90, 0x84), mono},
        {"320 kbit/s", frames(3, 0xE0), Mp3MusicCheck::frameWalkMessage(0, "\xFF\xFB\xE0")},
        {"bit rate changes", frames(5) + frames(2, 0xA0), Mp3MusicCheck::frameWalkMessage(5, "\xFF\xFB\xA0")},
        {"the only frame cut short", frames(1).chopped(10),
         Mp3MusicCheck::frameWalkMessage(0, "\xFF\xFB\x90")},
        {"zero bytes", QByteArray(), undecodable},
        {"only zeros", QByteArray(70000, '\0'), undecodable},
        {"ID3v2 size past the end", hugeId3 + frames(2), undecodable},
        {"ID3v2 header cut short", QByteArray("ID3\x03"), undecodable},
        {"a wave file", wavHeader(100) + QByteArray(100, '\1'), undecodable},
        {"MPEG-2",
         [] {
             QByteArray f = frames(2);
             f[1] = '\xF3';
             return f;
         }(),
         undecodable},
        {"header alone", QByteArray("\xFF\xFB\x90"), Mp3MusicCheck::frameWalkMessage(0, "\xFF\xFB\x90")},
    };
    for (const Case& c : cases) {
        const MusicCheckResult r = Mp3MusicCheck::check(file(c.bytes));
        EXPECT_EQ(r.verdict, Verdict::Rejected) << c.name;
        EXPECT_EQ(r.message, c.message) << c.name;
    }
    EXPECT_EQ(
        Mp3MusicCheck::frameWalkMessage(0, "\xFF\xFB\x0E"),
        QStringLiteral("Kinetrova requires MP3 files configured as follows: \r\rMPEG Version: 1\rLayer: 3\r"
                       "Mode: Joint stereo or Stereo\r\rMP3 files with ID3v1 are supported.\r"
                       "Some ID3v2 tags are not supported.\r\rUse CBR (Continous Bit Rate) encoding.\r"
                       "Avoid VBR (Variable Bit Rate) and code reservoir encoding.\r\rErr codes: 0 FF FB E"
                       "\r\rFiles downloaded off the internet may have coding\rerrors that play ok on MP3 "
                       "playes, but cause errors for\rKinetrova."));
}

TEST_F(MusicCheck, Mp3EncodedByLameIsAdmitted)
{
    lame_global_flags* lame = lame_init();
    ASSERT_NE(lame, nullptr);
    lame_set_in_samplerate(lame, 44100);
    lame_set_num_channels(lame, 2);
    lame_set_brate(lame, 128);
    lame_set_mode(lame, JOINT_STEREO);
    lame_set_VBR(lame, vbr_off);
    ASSERT_EQ(lame_init_params(lame), 0);
    std::vector<short> left(2 * 44100), right(2 * 44100);
    for (size_t i = 0; i < left.size(); ++i) {
        left[i] = static_cast<short>(8000 * std::sin(i * 0.0627));
        right[i] = static_cast<short>(8000 * std::sin(i * 0.0313));
    }
    std::vector<unsigned char> mp3(left.size() * 2 + 7200);
    int n = lame_encode_buffer(lame, left.data(), right.data(), static_cast<int>(left.size()), mp3.data(),
                               static_cast<int>(mp3.size()));
    ASSERT_GE(n, 0);
    const int tail = lame_encode_flush(lame, mp3.data() + n, static_cast<int>(mp3.size()) - n);
    ASSERT_GE(tail, 0);
    lame_close(lame);
    const QByteArray bytes(reinterpret_cast<const char*>(mp3.data()), n + tail);

    const MusicCheckResult r = Mp3MusicCheck::check(file(id3v2(300) + bytes + kId3v1));
    ASSERT_TRUE(r.admitted()) << r.message.toStdString();
    EXPECT_EQ(r.entry.bitRate, 128);
    EXPECT_EQ(r.entry.dataPosition, 311);
    EXPECT_NEAR(r.entry.frameCount, 2 * 44100 / 1152, 4);
}

TEST_F(MusicCheck, FrameWalkOverEncodedDataStopsAtTagOrReportsTheFile)
{
    const Mp3FrameFormat format = Mp3FrameFormat::fromHeader('\xFF', '\xFB', '\x90');
    const QString good = file(id3v2(20) + frames(2) + frames(1, 0x92) + kId3v1 + frames(4));
    qint64 position = 31;
    EXPECT_EQ(Mp3FrameWalk::countFrames(good, position, format), 3);
    EXPECT_EQ(position, 31 + 417 * 2 + 418);

    const QString bad = file(frames(2) + QByteArray(500, '\x33'), QStringLiteral("bad.mp3"));
    position = 1;
    QString message;
    EXPECT_EQ(Mp3FrameWalk::countFrames(bad, position, format, &message), -1);
    EXPECT_EQ(message,
              bad
                  + QStringLiteral("\rSorry, but this build of Kinetrova is \rlimited to MP3 files "
                                   "created in \rMPEG Version 1,\rLayer 3,\rBitrates 96 to 192,\r"
                                   "ID3v1 tags allowed."));
    EXPECT_EQ(position, 1 + 2 * 417);
}

TEST_F(MusicCheck, Id3OffsetForThePlayList)
{
    EXPECT_EQ(Mp3MusicCheck::id3AudioOffset(file(id3v2(4096) + frames(1))), 4106);
    EXPECT_EQ(Mp3MusicCheck::id3AudioOffset(file(frames(1))), 0);
    EXPECT_EQ(Mp3MusicCheck::id3AudioOffset(file("ID3")), 0);
}

} // namespace
