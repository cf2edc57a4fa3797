#include "chaptermarks.h"

#include "mp3layout.h"
#include "spokencue.h"
#include "wavelayout.h"

#include "model/machine.h"
#include "model/numbers.h"
#include "model/targettexts.h"
#include "model/workout.h"
#include "platform/regularfile.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QtEndian>

#include <taglib/chapterframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tableofcontentsframe.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/textidentificationframe.h>

#include <algorithm>
#include <cmath>

namespace kntr {

namespace {

constexpr int kCuePointBytes = 24;
constexpr int kId3HeaderBytes = 10;
// A WAV file with more chunks than this before its cue points is not one of ours.
constexpr int kMaxChunks = 10000;

TagLib::String tagText(const QString& text)
{
    return TagLib::String(text.toStdString(), TagLib::String::UTF8);
}

TagLib::ID3v2::TextIdentificationFrame* titleFrame(const QString& title)
{
    auto* frame = new TagLib::ID3v2::TextIdentificationFrame("TIT2", TagLib::String::UTF8);
    frame->setText(tagText(title));
    return frame;
}

void appendLe32(QByteArray& bytes, quint32 value)
{
    char le[4];
    qToLittleEndian(value, le);
    bytes.append(le, 4);
}

quint32 le32(const char* bytes)
{
    return qFromLittleEndian<quint32>(bytes);
}

std::vector<ChapterMark> sorted(std::vector<ChapterMark> marks)
{
    std::stable_sort(marks.begin(), marks.end(),
                     [](const ChapterMark& a, const ChapterMark& b) { return a.seconds < b.seconds; });
    if (marks.size() > static_cast<size_t>(ChapterMarks::kMaxChapters))
        marks.resize(static_cast<size_t>(ChapterMarks::kMaxChapters));
    return marks;
}

// The CHAP frames of an ID3v2 tag that starts the file.
std::vector<ChapterMark> readMp3(QIODevice& file)
{
    const QByteArray header = file.read(kId3HeaderBytes);
    if (header.size() < kId3HeaderBytes || !header.startsWith("ID3"))
        return {};
    qint64 size = 0;
    for (int i = 6; i < kId3HeaderBytes; ++i) {
        const auto byte = static_cast<unsigned char>(header[i]);
        if (byte & 0x80)
            return {};
        size = (size << 7) | byte;
    }
    // A footer repeats the header after the frames.
    if (static_cast<unsigned char>(header[5]) & 0x10)
        size += kId3HeaderBytes;
    if (kId3HeaderBytes + size > ChapterMarks::kMaxReadBytes)
        return {};
    const QByteArray tag = header + file.read(size);
    if (tag.size() != kId3HeaderBytes + size)
        return {};

    // TagLib reads the tag from memory, never from the file itself.
    TagLib::ByteVectorStream stream(
        TagLib::ByteVector(tag.constData(), static_cast<unsigned int>(tag.size())));
    TagLib::MPEG::File mpeg(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    TagLib::ID3v2::Tag* id3 = mpeg.isValid() ? mpeg.ID3v2Tag() : nullptr;
    if (!id3)
        return {};
    std::vector<ChapterMark> marks;
    for (const TagLib::ID3v2::Frame* frame : id3->frameList("CHAP")) {
        const auto* chapter = dynamic_cast<const TagLib::ID3v2::ChapterFrame*>(frame);
        if (!chapter || marks.size() >= static_cast<size_t>(ChapterMarks::kMaxChapters))
            continue;
        ChapterMark mark;
        mark.seconds = chapter->startTime() / 1000.0;
        const TagLib::ID3v2::FrameList& titles = chapter->embeddedFrameList("TIT2");
        if (!titles.isEmpty())
            mark.title = QString::fromStdString(titles.front()->toString().to8Bit(true));
        marks.push_back(mark);
    }
    return sorted(std::move(marks));
}

// The cue points and labels of a RIFF WAVE file, walking its chunk headers.
std::vector<ChapterMark> readWav(QIODevice& file)
{
    const QByteArray riff = file.read(12);
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return {};
    const qint64 end = file.size();
    qint64 position = 12;
    quint32 sampleRate = 0;
    QByteArray cue;
    QMap<quint32, QString> labels;
    for (int chunks = 0; chunks < kMaxChunks && position + 8 <= end; ++chunks) {
        if (!file.seek(position))
            break;
        const QByteArray head = file.read(8);
        if (head.size() < 8)
            break;
        const qint64 size = le32(head.constData() + 4);
        const QByteArray id = head.first(4);
        const qint64 body = position + 8;
        position = body + size + (size & 1);
        const bool wanted = id == "fmt " || id == "cue " || id == "LIST";
        if (!wanted || size > ChapterMarks::kMaxReadBytes)
            continue;
        const QByteArray bytes = file.read(size);
        if (bytes.size() != size)
            break;
        if (id == "fmt ") {
            if (size >= 8)
                sampleRate = le32(bytes.constData() + 4);
        } else if (id == "cue ") {
            cue = bytes;
        } else if (bytes.startsWith("adtl")) {
            for (qint64 at = 4; at + 12 <= size;) {
                const qint64 length = le32(bytes.constData() + at + 4);
                if (length < 4 || length > size - at - 8)
                    break;
                if (bytes.mid(at, 4) == "labl") {
                    const QByteArray text = bytes.mid(at + 12, length - 4);
                    const qsizetype nul = text.indexOf('\0');
                    labels.insert(le32(bytes.constData() + at + 8),
                                  QString::fromUtf8(nul < 0 ? text : text.first(nul)));
                }
                at += 8 + length + (length & 1);
            }
        }
    }
    if (cue.size() < 4 || sampleRate == 0)
        return {};
    const qint64 count = std::min<qint64>(le32(cue.constData()), (cue.size() - 4) / kCuePointBytes);
    std::vector<ChapterMark> marks;
    for (qint64 i = 0; i < count && i < ChapterMarks::kMaxChapters; ++i) {
        const char* point = cue.constData() + 4 + i * kCuePointBytes;
        marks.push_back({le32(point + 20) / static_cast<double>(sampleRate), labels.value(le32(point))});
    }
    return sorted(std::move(marks));
}

} // namespace

QString ChapterMarks::title(int number, const Segment& segment, const Machine& machine, Units units)
{
    const QChar separator = systemDecimalSeparator();
    QString first;
    if (machine.firstAttributeIsResistance())
        first = machine.AttOneVoiceCue().trimmed().toLower() + QLatin1Char(' ')
            + plainNumber(segment.SegmentSpeed(), separator);
    else
        first = displayNumber(SpokenCue::firstValue(segment, machine, units), 1)
            + (speedInKilometres(machine, units) ? QStringLiteral(" km/h") : QStringLiteral(" mph"));
    const QString name = machine.AttTwoVoiceCue().trimmed().toLower();
    const QString value = secondTargetText(segment.SegmentIncline());
    const QString second = name.isEmpty() || name == QLatin1String("incline")
        ? value + QStringLiteral(" %")
        : name + QLatin1Char(' ') + value;
    return QStringLiteral("Segment %1 \u2014 %2, %3").arg(number).arg(first, second);
}

qint64 ChapterMarks::frameMilliseconds(qint64 frames)
{
    return std::llround(static_cast<double>(frames) * 1152.0 * 1000.0 / 44100.0);
}

QByteArray ChapterMarks::mp3Tag(const Mp3Layout& layout, const Workout& workout, const Machine& machine,
                                Units units, const QString& title)
{
    // Segment k starts with its first encoded piece: the get-ready clip, or the tone.
    std::vector<qint64> starts;
    qint64 frame = 0;
    for (const Mp3Piece& piece : layout.pieces()) {
        if (piece.kind == Mp3Piece::Kind::Encoded && piece.segment > static_cast<int>(starts.size()))
            starts.push_back(frame);
        frame += piece.frames;
    }
    starts.push_back(frame);

    TagLib::ID3v2::Tag tag;
    tag.addFrame(titleFrame(title));
    TagLib::ByteVectorList children;
    const int count = std::min<int>(workout.count(), static_cast<int>(starts.size()) - 1);
    for (int k = 1; k <= count; ++k) {
        const TagLib::ByteVector id(QByteArray("chp" + QByteArray::number(k)).constData());
        const auto start = static_cast<unsigned int>(frameMilliseconds(starts[static_cast<size_t>(k - 1)]));
        const auto end = static_cast<unsigned int>(frameMilliseconds(starts[static_cast<size_t>(k)]));
        // No byte offsets: players go by the times.
        auto* chapter = new TagLib::ID3v2::ChapterFrame(id, start, end, 0xFFFFFFFF, 0xFFFFFFFF);
        chapter->addEmbeddedFrame(titleFrame(ChapterMarks::title(k, workout.segment(k), machine, units)));
        tag.addFrame(chapter);
        children.append(id);
    }
    auto* contents = new TagLib::ID3v2::TableOfContentsFrame("toc", children);
    contents->setIsTopLevel(true);
    contents->setIsOrdered(true);
    tag.addFrame(contents);
    const TagLib::ByteVector rendered = tag.render(TagLib::ID3v2::v4);
    return QByteArray(rendered.data(), rendered.size());
}

QByteArray ChapterMarks::wavChunks(const WaveLayout& layout, const Workout& workout, const Machine& machine,
                                   Units units)
{
    const std::vector<qint64>& starts = layout.segmentStarts();
    const qint64 frameBytes = layout.stereo() ? 4 : 2;
    const auto count = static_cast<quint32>(std::min<size_t>(starts.size(), workout.count()));
    QByteArray cue("cue ");
    appendLe32(cue, 4 + kCuePointBytes * count);
    appendLe32(cue, count);
    QByteArray labels("adtl");
    for (quint32 k = 1; k <= count; ++k) {
        const auto sample = static_cast<quint32>((starts[k - 1] - WaveLayout::kHeaderSize) / frameBytes);
        appendLe32(cue, k);
        appendLe32(cue, sample);
        cue.append("data");
        appendLe32(cue, 0);
        appendLe32(cue, 0);
        appendLe32(cue, sample);

        const QByteArray text =
            ChapterMarks::title(static_cast<int>(k), workout.segment(static_cast<int>(k)), machine, units)
                .toUtf8()
            + '\0';
        labels.append("labl");
        appendLe32(labels, static_cast<quint32>(4 + text.size()));
        appendLe32(labels, k);
        labels.append(text);
        if (text.size() & 1)
            labels.append('\0');
    }
    QByteArray list("LIST");
    appendLe32(list, static_cast<quint32>(labels.size()));
    return cue + list + labels;
}

bool ChapterMarks::appendToWav(QIODevice& file, const QByteArray& chunks)
{
    if (file.write(chunks) != chunks.size())
        return false;
    const qint64 end = file.pos();
    QByteArray size;
    appendLe32(size, static_cast<quint32>(end - 8));
    return file.seek(4) && file.write(size) == size.size() && file.seek(end);
}

std::vector<ChapterMark> ChapterMarks::read(QIODevice& file)
{
    const QByteArray magic = file.peek(4);
    if (magic.startsWith("ID3"))
        return readMp3(file);
    if (magic == "RIFF")
        return readWav(file);
    return {};
}

std::vector<ChapterMark> ChapterMarks::read(const QString& path)
{
    // A FIFO or device would hold the reader up.
    if (!notARegularFile(QFileInfo(path)).isEmpty())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return read(file);
}

} // namespace kntr
