// kinetrova-cli against hostile inputs, as a user meets them: audio files whose
// headers lie, FIFOs given as music or as the file to write. Each is refused at
// once with a message and status 1; none crashes, hangs or replaces the FIFO.

#include "platform/wavimage.h"

#include "watchedfifo.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace kntr;

namespace {

class HostileInput : public ::testing::Test {
protected:
    struct Result {
        int status = -1;
        QString err;
        qint64 ms = 0;
    };

    /// Runs kinetrova-cli in the test's folder; a run that takes over 10 s is killed and fails.
    Result cli(const QStringList& args)
    {
        QProcess p;
        p.setWorkingDirectory(mDir.path());
        QElapsedTimer timer;
        timer.start();
        p.start(QStringLiteral(KINETROVA_CLI), args);
        const bool finished = p.waitForFinished(10000);
        if (!finished) {
            p.kill();
            p.waitForFinished();
        }
        EXPECT_TRUE(finished) << args.join(' ').toStdString() << " did not end within 10 s";
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << args.join(' ').toStdString() << " crashed";
        return {finished && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardError()), timer.elapsed()};
    }
    void write(const QString& name, const QByteArray& bytes)
    {
        QFile f(mDir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    /// A 4 kB 16-bit WAV file whose header claims channels and rate.
    void wav(const QString& name, int channels, quint32 rate)
    {
        QByteArray image = WavImage::header(2, 44100, 4052) + QByteArray(4052, '\x55');
        qToLittleEndian<quint16>(channels, image.data() + 22);
        qToLittleEndian<quint32>(rate, image.data() + 24);
        qToLittleEndian<quint32>(rate * channels * 2, image.data() + 28);
        qToLittleEndian<quint16>(channels * 2, image.data() + 32);
        write(name, image);
    }

    QTemporaryDir mDir;
};

TEST_F(HostileInput, AudioFilesThatLieAboutThemselvesAreRefusedWithAReason)
{
    wav("many.wav", 66, 44100);
    wav("slow.wav", 2, 1);
    wav("fast.wav", 2, 536915012);
    write("cut.wav", WavImage::header(2, 22050, 4000).left(30));
    // Past our own header check (not a WAV file): the decoder itself meets 66
    // channels, in the decoding helper.
    QByteArray au = QByteArray(".snd") + QByteArray(20, '\0') + QByteArray(4000, '\x11');
    qToBigEndian<quint32>(24, au.data() + 4);
    qToBigEndian<quint32>(4000, au.data() + 8);
    qToBigEndian<quint32>(3, au.data() + 12); // 16-bit linear
    qToBigEndian<quint32>(44100, au.data() + 16);
    qToBigEndian<quint32>(66, au.data() + 20);
    write("many.mp3", au);

    const struct {
        const char* file;
        const char* reason; // empty: any reason
    } cases[] = {
        {"many.wav", "it has 66 channels"},
        {"slow.wav", "it has 1 sample a second"},
        {"fast.wav", "it has 536915012 samples a second"},
        {"cut.wav", "the WAV format header is damaged"},
        {"many.mp3", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const Result r = cli({"decode", c.file});
        EXPECT_EQ(r.status, 1);
        const QString said =
            QStringLiteral("kinetrova-cli decode: %1 could not be read as audio: ").arg(c.file);
        if (*c.reason) {
            EXPECT_EQ(r.err, said + c.reason + '\n');
            EXPECT_LT(r.ms, 2000);
        } else {
            // The backend's own log lines stay off stderr.
            EXPECT_TRUE(r.err.startsWith(said) && r.err.count('\n') == 1) << r.err.toStdString();
        }
    }
}

TEST_F(HostileInput, AFifoIsNeitherReadAsMusicNorReplacedByAWrittenFile)
{
    write("w.txt",
          "Vexa v 1.2                \r\n\r\n[segment settings]\r\n1\t3\t2\t10\r\n\r\n"
          "[playlist]\r\n\r\n\r\n\r\n");
    test::WatchedFifo fifo(mDir.filePath("pipe.wav"));
    ASSERT_TRUE(fifo.made());
    write("list.asx",
          "<Asx Version = \"3.0\" >\r\n<Entry>\r\n<Ref href = \"pipe.wav\"/>\r\n</Entry>\r\n</Asx>");

    const struct {
        QStringList args;
        int status;
        const char* err;
    } cases[] = {
        {{"wav", "w.txt", "-o", "o.wav", "--music", "pipe.wav"},
         1,
         "kinetrova-cli wav: cannot read pipe.wav: Not a regular file\n"},
        {{"mp3", "w.txt", "-o", "o.mp3", "--music", "pipe.wav"},
         1,
         "kinetrova-cli mp3: cannot read pipe.wav: Not a regular file\n"},
        {{"wav", "w.txt", "-o", "o.wav", "--playlist", "list.asx"},
         0,
         "kinetrova-cli wav: note: passed over pipe.wav: Not a regular file\n"},
        {{"decode", "pipe.wav"},
         1,
         "kinetrova-cli decode: pipe.wav could not be read as audio: it is not a regular file\n"},
        {{"wav", "w.txt", "-o", "pipe.wav"},
         1,
         "kinetrova-cli wav: cannot write pipe.wav: Not a regular file\n"},
        {{"mp3", "w.txt", "-o", "pipe.wav"},
         1,
         "kinetrova-cli mp3: cannot write pipe.wav: Not a regular file\n"},
        {{"tone", "65", "45", "-o", "pipe.wav"},
         1,
         "kinetrova-cli tone: cannot write pipe.wav: Not a regular file\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Result r = cli(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err, c.err);
        EXPECT_TRUE(fifo.stillAFifo());
    }
    EXPECT_FALSE(fifo.opened());
}

} // namespace
