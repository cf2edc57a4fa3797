#include "wavmusiccheck.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kntr {

namespace {

constexpr qint64 kBytesPerSecond = 176400;

} // namespace

QString WavMusicCheck::rejectionMessage(const QString& lines)
{
    return QStringLiteral("File is not compatible with this version of Kinetrova. "
                          "Files must be recorded as a standard uncompressed stereo wave file: "
                          "16 bit stereo and 44100 Hz. Try changing the settings of your "
                          "file ripper or try another file ripper.\r\r"
                          "Wave file header incompatibilities are as follows:\r\r")
        + lines;
}

MusicCheckResult WavMusicCheck::check(const QString& path)
{
    MusicCheckResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.message = file.errorString();
        return result;
    }
    const qint64 fileLength = file.size();
    const QByteArray head = file.read(kBytesExamined);
    if (head.isEmpty() && fileLength > 0) {
        result.message = file.errorString();
        return result;
    }

    bool riff = false;
    bool wave = false;
    qsizetype fmt = -1; // 0-based offsets of the tags
    qsizetype data = -1;
    for (qsizetype at = 0; at + 4 <= head.size(); ++at) {
        const char* w = head.constData() + at;
        if (std::memcmp(w, "RIFF", 4) == 0)
            riff = true;
        else if (std::memcmp(w, "WAVE", 4) == 0)
            wave = true;
        else if (std::memcmp(w, "fmt ", 4) == 0)
            fmt = at;
        else if (std::memcmp(w, "data", 4) == 0)
            data = at;
    }

    QString lines;
    const auto fail = [&lines](const char* line) { lines += QLatin1String(line) + QLatin1Char('\r'); };
    if (!riff)
        fail("'RIFF' identifier not found, this isn't a wave file.");
    if (!wave)
        fail("'WAVE' not found, this isn't a wave file.");
    // The 16 bytes of the format body must lie within what was read; a tag too
    // close to the end has no format to check.
    if (fmt < 0 || fmt + 8 + 16 > head.size()) {
        fail("'fmt ' header was not found.");
    } else {
        const uchar* b = reinterpret_cast<const uchar*>(head.constData()) + fmt + 8;
        if (qFromLittleEndian<quint16>(b) != 1)
            fail("Recording appears to be compressed.");
        if (qFromLittleEndian<quint16>(b + 2) != 2)
            fail("Recording is not in Stereo .");
        if (qFromLittleEndian<quint32>(b + 4) != 44100)
            fail("Recording is not 44100 Hz.");
        if (qFromLittleEndian<quint32>(b + 8) != 176400)
            fail("Recording does not have 176400 bytes per second.");
        if (qFromLittleEndian<quint16>(b + 12) != 4)
            fail("Recording is not equal to 2 channels * 16 bits/sample.");
        if (qFromLittleEndian<quint16>(b + 14) != 16)
            fail("Recording is not 16 bits/sample.");
    }
    if (data < 0)
        fail("'data' header was not found.");

    if (!lines.isEmpty()) {
        result.verdict = MusicCheckResult::Verdict::Rejected;
        result.message = rejectionMessage(lines);
        return result;
    }

    MusicEntry& entry = result.entry;
    entry.path = path;
    entry.dataPosition = data + 1;
    // The samples end with the data chunk: a chunk after it (a LIST chunk of
    // tags, say) is not music. A chunk size past the end of the file (a file
    // cut short, or written by a program that could not go back to set it)
    // leaves what the file holds.
    const qint64 held = std::max<qint64>(0, fileLength - entry.firstSampleOffset());
    const QByteArray size = file.seek(data + 4) ? file.read(4) : QByteArray();
    entry.dataBytes =
        size.size() == 4 ? std::min<qint64>(qFromLittleEndian<quint32>(size.constData()), held) : held;
    entry.rate = kBytesPerSecond;
    entry.seconds = static_cast<float>(std::floor(static_cast<double>(entry.dataBytes) / kBytesPerSecond));
    result.verdict = MusicCheckResult::Verdict::Admitted;
    return result;
}

} // namespace kntr
