#include "workouttext.h"

#include "model/numbers.h"
#include "model/storedsettings.h"
#include "model/workout.h"
#include "platform/settingsstore.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace kntr {

const char* const kWorkoutMagicLine = "Vexa v 1.2                ";

namespace {

const QByteArray kCrLf("\r\n");
const QByteArray kMachineMarker("[machine settings]");
const QByteArray kSegmentMarker("[segment settings]");
const QByteArray kPlayListMarker("[playlist]");
// The magic line and its CR LF.
constexpr int kHeaderLength = 28;

/// A machine range as stored, with what the file says when none is.
struct StoredKey {
    const char* key;
    const char* fallback;
};

const StoredKey kRangeKeys[] = {
    {"SpeedMin", "10"},   {"SpeedMax", "100"},   {"SpeedInc", "1"},
    {"InclineMin", "10"}, {"InclineMax", "100"}, {"InclineInc", "5"},
};

/// Display values for empty range lines: speed 1 to 10 by 0.1, incline 1 to 10 by 0.5.
constexpr double kRangeFallbacks[] = {1, 10, 0.1, 1, 10, 0.5};

/// Reads a number the way the files write it; "," counts as ".". A number the
/// writer could not give back as read is refused as out of range, so that
/// whatever is read can be saved and read again. On failure problem says why,
/// naming the field as what.
std::optional<double> fileNumber(QByteArray field, const QString& what, QString* problem)
{
    field.replace(',', '.');
    field = field.trimmed();
    bool ok = false;
    const double v = field.toDouble(&ok);
    // Checked on the written form: 999999999999999.9 is written as 1000000000000000.
    if (ok && std::isfinite(v) && std::abs(plainNumber(v).toDouble()) < kLargestFileNumber)
        return v;
    // Digits that overflow or underflow a double read as a failure too.
    static const QRegularExpression number(
        QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?$"));
    const bool isNumber = (ok && std::isfinite(v)) || number.match(QLatin1String(field)).hasMatch();
    *problem = QStringLiteral("the %1 \"%2\" is %3")
                   .arg(what, QString::fromLatin1(field.left(40)),
                        isNumber ? QStringLiteral("out of range") : QStringLiteral("not a number"));
    return std::nullopt;
}

/// The line number (from 1) of the line that starts at pos in the text after
/// the header line.
int lineAt(const QByteArray& rest, qsizetype pos)
{
    return 2 + static_cast<int>(rest.left(pos).count('\r'));
}

WorkoutTextResult malformed(const QString& problem)
{
    WorkoutTextResult r;
    r.status = WorkoutTextResult::Status::Malformed;
    r.problem = problem;
    return r;
}

/// Reads count segment lines from the start of text: number TAB speed TAB
/// incline TAB duration CR LF. Version 0 durations are minutes. firstLine is
/// the file's line number of the first segment line, for the problem text.
std::optional<std::vector<SegmentValues>> readSegments(const QByteArray& text, int count, int version,
                                                       int firstLine, QString* problem)
{
    if (count < 1 || count > Workout::kMaxSegments) {
        *problem = count < 1 ? QStringLiteral("the file holds no segment")
                             : QStringLiteral("the file holds %1 segments; at most %2 fit")
                                   .arg(count)
                                   .arg(Workout::kMaxSegments);
        return std::nullopt;
    }
    std::vector<SegmentValues> segments;
    qsizetype pos = 0;
    for (int i = 1; i <= count; ++i) {
        const qsizetype cr = text.indexOf('\r', pos);
        const QString where = QStringLiteral("segment %1 (line %2)").arg(i).arg(firstLine + i - 1);
        if (cr < 0) {
            *problem = where + QStringLiteral(" does not end its line");
            return std::nullopt;
        }
        const QByteArray line = text.mid(pos, cr - pos);
        pos = cr + 2;
        const qsizetype t1 = line.indexOf('\t');
        const qsizetype t2 = t1 < 0 ? -1 : line.indexOf('\t', t1 + 1);
        const qsizetype t3 = t2 < 0 ? -1 : line.indexOf('\t', t2 + 1);
        if (t3 < 0) {
            *problem = where + QStringLiteral(" does not hold four fields");
            return std::nullopt;
        }
        QString bad;
        const auto speed = fileNumber(line.mid(t1 + 1, t2 - t1 - 1), QStringLiteral("speed"), &bad);
        const auto incline =
            speed ? fileNumber(line.mid(t2 + 1, t3 - t2 - 1), QStringLiteral("incline"), &bad) : std::nullopt;
        const auto duration =
            incline ? fileNumber(line.mid(t3 + 1), QStringLiteral("time"), &bad) : std::nullopt;
        if (!duration) {
            *problem = where + QStringLiteral(": ") + bad;
            return std::nullopt;
        }
        SegmentValues s;
        s.speed = *speed;
        s.incline = *incline;
        s.fileSeconds = version == 0 ? roundHalfEven(*duration * 60.0) : *duration;
        s.seconds = std::clamp<double>(s.fileSeconds, kMinSegmentSeconds, kMaxSegmentSeconds);
        segments.push_back(s);
    }
    return segments;
}

/// The line that starts at pos, up to the next CR LF; pos moves past it.
std::optional<QByteArray> takeLine(const QByteArray& text, qsizetype& pos)
{
    const qsizetype end = text.indexOf(kCrLf, pos);
    if (pos > text.size() || end < 0)
        return std::nullopt;
    QByteArray line = text.mid(pos, end - pos);
    pos = end + 2;
    return line;
}

std::optional<MachineBlock> readMachineBlock(const QByteArray& text, qsizetype marker, QString* problem)
{
    qsizetype pos = marker + kMachineMarker.size() + 2;
    const int firstLine = lineAt(text, marker) + 1;
    QByteArray lines[8];
    for (QByteArray& line : lines) {
        auto l = takeLine(text, pos);
        if (!l) {
            *problem = QStringLiteral("the machine settings end early");
            return std::nullopt;
        }
        line = *l;
    }
    MachineBlock block;
    block.machineType = lines[0].isEmpty() ? QStringLiteral("Treadmill") : QString::fromUtf8(lines[0]);
    block.metric = !(lines[1].isEmpty() || lines[1] == "Miles");
    for (int k = 0; k < 6; ++k) {
        if (lines[2 + k].isEmpty()) {
            block.ranges[k] = kRangeFallbacks[k];
            continue;
        }
        QString bad;
        const auto v = fileNumber(lines[2 + k], QStringLiteral("machine range"), &bad);
        if (!v) {
            *problem = QStringLiteral("line %1: ").arg(firstLine + 2 + k) + bad;
            return std::nullopt;
        }
        block.ranges[k] = *v / 10.0;
    }
    return block;
}

} // namespace

QByteArray buildWorkoutText(const Workout& workout, const SettingsStore& settings)
{
    QByteArray text;
    const auto line = [&text](const QByteArray& content) { text += content + kCrLf; };
    const MachineSettings machine(settings);

    line(kWorkoutMagicLine);
    line({});
    line(kMachineMarker);
    line(machine.typeText(QStringLiteral("Treadmill")).toUtf8());
    line(OptionsSettings(settings).unitsText(QStringLiteral("Miles")).toUtf8());
    for (const StoredKey& k : kRangeKeys)
        line(machine.rangeText(QLatin1String(k.key), QLatin1String(k.fallback)).toUtf8());
    line({});
    line(kSegmentMarker);
    for (int i = 1; i <= workout.count(); ++i) {
        const Segment& s = workout.segment(i);
        line(QByteArray::number(i) + '\t' + plainNumber(s.SegmentSpeed()).toLatin1() + '\t'
             + plainNumber(s.SegmentIncline()).toLatin1() + '\t' + plainNumber(s.SegmentTime()).toLatin1());
    }
    line({});
    line(kPlayListMarker);
    // The name is one line: a line break in it would end the file's play list early.
    QByteArray playList = AudioSettings(settings).playList().toUtf8();
    playList.replace('\r', QByteArray()).replace('\n', QByteArray());
    line(playList);
    line({});
    line({});
    return text;
}

WorkoutTextResult parseWorkoutText(const QByteArray& original)
{
    // A file edited with LF line ends (as Linux editors write them) reads as the CR LF it was.
    QByteArray normalised;
    if (original.contains('\n') && original.count('\n') != original.count("\r\n")) {
        normalised = original;
        normalised.replace("\r\n", "\n");
        normalised.replace("\n", "\r\n");
    }
    const QByteArray& text = normalised.isNull() ? original : normalised;
    WorkoutTextResult result;
    if (!text.startsWith("Vexa v 1")) {
        result.status = WorkoutTextResult::Status::NotRecognised;
        return result;
    }
    if (text.size() < 10 || text.at(9) < '0' || text.at(9) > '9')
        return malformed(QStringLiteral("the version is not a number"));
    const int version = text.at(9) - '0';
    if (version > 2) {
        // A later release's layout is unknown: reading it would lose the workout.
        result.status = WorkoutTextResult::Status::Newer;
        result.problem = QStringLiteral("version 1.%1").arg(version);
        return result;
    }
    WorkoutFileContents& contents = result.contents;
    contents.version = version;
    const QByteArray rest = text.mid(kHeaderLength);
    QString problem;

    if (version < 2) {
        // One line per segment, then the final CR LF.
        const int count = static_cast<int>(rest.count('\r')) - 1;
        contents.segments = readSegments(rest, count, version, lineAt(rest, 0), &problem);
        if (!contents.segments)
            return malformed(problem);
        return result;
    }

    const qsizetype segmentMarker = rest.indexOf(kSegmentMarker);
    if (segmentMarker >= 0) {
        // The block runs from the line after the marker to the first empty line.
        const qsizetype start = segmentMarker + kSegmentMarker.size() + 2;
        const qsizetype end = start <= rest.size() ? rest.indexOf("\r\n\r\n", start) : -1;
        if (end < 0)
            return malformed(QStringLiteral("the segment list does not end"));
        const QByteArray block = rest.mid(start, end + 2 - start);
        contents.segments =
            readSegments(block, static_cast<int>(block.count('\r')), version, lineAt(rest, start), &problem);
        if (!contents.segments)
            return malformed(problem);
    }

    const qsizetype machineMarker = rest.indexOf(kMachineMarker);
    if (machineMarker >= 0) {
        contents.machine = readMachineBlock(rest, machineMarker, &problem);
        if (!contents.machine)
            return malformed(problem);
    }

    const qsizetype playListMarker = rest.indexOf(kPlayListMarker);
    if (playListMarker >= 0) {
        qsizetype pos = playListMarker + kPlayListMarker.size() + 2;
        if (pos < rest.size()) {
            // One line: it ends at the first line break of any kind.
            qsizetype end = pos;
            while (end < rest.size() && rest[end] != '\r' && rest[end] != '\n')
                ++end;
            contents.playList = QString::fromUtf8(rest.mid(pos, end - pos));
        }
    }
    return result;
}

} // namespace kntr
