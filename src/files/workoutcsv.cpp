#include "workoutcsv.h"

#include "workoutdocument.h"

#include "model/machine.h"
#include "model/numbers.h"
#include "model/segment.h"
#include "model/workout.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringDecoder>

#include <array>
#include <cmath>

namespace kntr {

namespace {

enum Column { kTime, kOne, kTwo, kColumns };

/// Every attribute name a machine may have: a column named by one the machine
/// lacks was written for another machine.
const QStringList kAttributeNames = {QStringLiteral("speed"), QStringLiteral("incline"),
                                     QStringLiteral("resistance")};

QString attributeName(const QString& label)
{
    return label.trimmed().toLower();
}

/// The names each column is known by: its generic one and the machine's own.
std::array<QStringList, kColumns> acceptedNames(const Machine& machine)
{
    const QStringList own = workoutTableColumns(machine);
    std::array<QStringList, kColumns> names{QStringList{QStringLiteral("time")},
                                            QStringList{QStringLiteral("speed")},
                                            QStringList{QStringLiteral("incline")}};
    for (int c = kOne; c <= kTwo; ++c)
        if (!names[c].contains(own.at(c)))
            names[c].prepend(own.at(c));
    return names;
}

/// The table as text, or nothing when the bytes are not text: a byte order
/// mark picks UTF-16 or UTF-32 (a spreadsheet's "Unicode text"), else UTF-8.
std::optional<QString> decodeText(const QByteArray& bytes)
{
    const auto encoding = QStringConverter::encodingForData(bytes);
    QStringDecoder decoder(encoding.value_or(QStringConverter::Utf8), QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (encoding && text.startsWith(QChar::ByteOrderMark))
        text.remove(0, 1);
    for (const QChar c : text)
        if ((c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            || c.unicode() == 0x7f)
            return std::nullopt;
    return text;
}

/// The separator of a header line: the most frequent of tab, semicolon and
/// comma (in that order when as frequent); a comma when there is none.
QChar separatorOf(const QString& header)
{
    QChar best = QLatin1Char(',');
    qsizetype most = 0;
    for (const QChar c : {QLatin1Char('\t'), QLatin1Char(';'), QLatin1Char(',')}) {
        const qsizetype n = header.count(c);
        if (n > most) {
            most = n;
            best = c;
        }
    }
    return best;
}

/// The fields of one line. A field in double quotes may hold the separator;
/// "" in it stands for one quote.
QStringList splitFields(const QString& line, QChar separator)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < line.size() && line.at(i + 1) == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"') && field.trimmed().isEmpty()) {
            field.clear();
            quoted = true;
        } else if (c == separator) {
            fields << field.trimmed();
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field.trimmed();
    return fields;
}

bool blank(const QStringList& fields)
{
    for (const QString& f : fields)
        if (!f.isEmpty())
            return false;
    return true;
}

/// A header cell as a column name: lower case, a unit after it in brackets dropped
/// ("Speed (mph)", "Incline [%]").
QString columnName(const QString& cell)
{
    static const QRegularExpression unit(QStringLiteral("\\s*[(\\[][^)\\]]*[)\\]]$"));
    return QString(cell).remove(unit).trimmed().toLower();
}

/// A plain decimal number; the decimal mark is "." or, when commaToo, also ",".
std::optional<double> number(QString text, bool commaToo)
{
    static const QRegularExpression pattern(QStringLiteral("^[+-]?(\\d+([.,]\\d*)?|[.,]\\d+)$"));
    if (!pattern.match(text).hasMatch() || (!commaToo && text.contains(QLatin1Char(','))))
        return std::nullopt;
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(v) || std::abs(v) >= kLargestFileNumber)
        return std::nullopt;
    return v;
}

/// Seconds, m:ss or h:mm:ss; the last part may have decimals.
std::optional<double> seconds(const QString& text, bool commaToo)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{1,6})(?::([0-5]\\d))?(?::([0-5]\\d))?([.,]\\d+)?$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QString fraction = m.captured(4);
    if (!commaToo && fraction.startsWith(QLatin1Char(',')))
        return std::nullopt;
    double value = 0;
    for (int part = 1; part <= 3; ++part)
        if (m.capturedLength(part) > 0)
            value = value * 60 + m.captured(part).toInt();
    if (!fraction.isEmpty())
        value += QLocale::c().toDouble(QLatin1String("0.") + fraction.mid(1));
    return value;
}

QString quotedValue(const QString& text)
{
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

QString minutesSeconds(double seconds)
{
    const double minutes = std::floor(seconds / 60);
    const double rest = seconds - minutes * 60;
    const QString restText = plainNumber(rest);
    return plainNumber(minutes) + QLatin1Char(':') + (rest < 10 ? QStringLiteral("0") : QString()) + restText;
}

double kilometresShown(double mph)
{
    return roundHalfEven(mph * kKilometresPerMile, 1);
}

} // namespace

QStringList workoutTableColumns(const Machine& machine)
{
    return {QStringLiteral("time"), attributeName(machine.AttOneYLabel()),
            attributeName(machine.AttTwoYLabel())};
}

WorkoutFileContents WorkoutTable::contents() const
{
    WorkoutFileContents contents;
    std::vector<SegmentValues> segments = rows;
    if (kilometres)
        for (SegmentValues& s : segments)
            s.speed /= kKilometresPerMile;
    contents.segments = std::move(segments);
    return contents;
}

QStringList WorkoutTable::changes(const Workout& fitted) const
{
    return fittingChanges(rows, fitted, kilometres ? &kilometresShown : nullptr);
}

WorkoutTableResult parseWorkoutTable(const QByteArray& bytes, const Machine& machine, Units units)
{
    WorkoutTableResult result;
    const auto refuse = [&result](int line, const QString& column, const QString& why) {
        result.problem = QStringLiteral("line %1").arg(line)
            + (column.isEmpty() ? QString() : QStringLiteral(", column ") + column) + QStringLiteral(": ")
            + why;
        return result;
    };

    const std::optional<QString> text = decodeText(bytes);
    if (!text) {
        result.problem = QStringLiteral("not a text file");
        return result;
    }
    QString all = *text;
    all.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = all.split(QLatin1Char('\n'));

    // The header: the first line that holds anything.
    int headerLine = 0;
    while (headerLine < lines.size() && lines.at(headerLine).trimmed().isEmpty())
        ++headerLine;
    if (headerLine == lines.size()) {
        result.problem = QStringLiteral("the table is empty");
        return result;
    }
    const QChar separator = separatorOf(lines.at(headerLine));
    const bool decimalComma = separator != QLatin1Char(',');
    const QStringList header = splitFields(lines.at(headerLine), separator);
    const std::array<QStringList, kColumns> accepted = acceptedNames(machine);
    const int headerNumber = headerLine + 1;

    std::array<int, kColumns> index{-1, -1, -1};
    bool named = false;
    for (int i = 0; i < header.size(); ++i) {
        const QString name = columnName(header.at(i));
        int column = -1;
        for (int c = 0; c < kColumns; ++c)
            if (accepted[c].contains(name))
                column = c;
        if (column < 0 && !kAttributeNames.contains(name))
            continue; // a column of the user's own, ignored
        named = true;
        if (column < 0)
            return refuse(headerNumber, header.at(i),
                          QStringLiteral("a %1 has no %2 (its columns: %3)")
                              .arg(machine.MachineType(), name,
                                   workoutTableColumns(machine).join(QStringLiteral(", "))));
        if (index[column] >= 0)
            return refuse(headerNumber, header.at(i),
                          QStringLiteral("the same as column %1").arg(header.at(index[column])));
        index[column] = i;
    }
    if (!named)
        return refuse(headerNumber, QString(),
                      QStringLiteral("no header row naming the columns %1")
                          .arg(workoutTableColumns(machine).join(QStringLiteral(", "))));
    for (int c = 0; c < kColumns; ++c)
        if (index[c] < 0)
            return refuse(headerNumber, QString(),
                          QStringLiteral("no column %1").arg(accepted[c].join(QStringLiteral(" or "))));

    WorkoutTable table;
    table.kilometres = speedInKilometres(machine, units);
    for (int l = headerLine + 1; l < lines.size(); ++l) {
        const QStringList fields = splitFields(lines.at(l), separator);
        if (blank(fields))
            continue;
        const int line = l + 1;
        if (static_cast<int>(table.rows.size()) == Workout::kMaxSegments)
            return refuse(line, QString(), QStringLiteral("more than %1 rows").arg(Workout::kMaxSegments));
        std::array<double, kColumns> values{};
        for (int c = 0; c < kColumns; ++c) {
            const QString& name = header.at(index[c]);
            const QString cell = index[c] < fields.size() ? fields.at(index[c]) : QString();
            if (cell.isEmpty())
                return refuse(line, name, QStringLiteral("no value"));
            const std::optional<double> v =
                c == kTime ? seconds(cell, decimalComma) : number(cell, decimalComma);
            if (!v)
                return refuse(line, name,
                              quotedValue(cell)
                                  + (c == kTime ? QStringLiteral(" is not a time (seconds, m:ss or h:mm:ss)")
                                                : QStringLiteral(" is not a number")));
            if (c == kTime && *v < kMinSegmentSeconds)
                return refuse(line, name,
                              quotedValue(cell)
                                  + QStringLiteral(" is under %1 seconds").arg(kMinSegmentSeconds));
            if (c == kTime && *v > kMaxSegmentSeconds)
                return refuse(line, name,
                              quotedValue(cell)
                                  + QStringLiteral(" is over %1 seconds").arg(kMaxSegmentSeconds));
            values[c] = *v;
        }
        SegmentValues row;
        row.speed = values[kOne];
        row.incline = values[kTwo];
        row.seconds = row.fileSeconds = values[kTime];
        table.rows.push_back(row);
    }
    if (table.rows.empty())
        return refuse(headerNumber, QString(), QStringLiteral("the table has no rows under its header"));
    result.table = std::move(table);
    return result;
}

WorkoutTableResult readWorkoutTableFile(const QString& path, const Machine& machine, Units units)
{
    FileRead file = readFileBytes(path);
    if (!file.bytes)
        return {std::nullopt, std::move(file.problem)};
    WorkoutTableResult read = parseWorkoutTable(*file.bytes, machine, units);
    if (!read.table)
        read.problem = path + QStringLiteral(": ") + read.problem;
    return read;
}

QByteArray buildWorkoutTable(const Workout& workout, const Machine& machine, Units units)
{
    const bool kilometres = speedInKilometres(machine, units);
    QString text = workoutTableColumns(machine).join(QLatin1Char(',')) + QStringLiteral("\r\n");
    for (const Segment& s : workout) {
        const double speed = kilometres ? kilometresShown(s.SegmentSpeed()) : s.SegmentSpeed();
        text += minutesSeconds(s.SegmentTime()) + QLatin1Char(',') + plainNumber(speed) + QLatin1Char(',')
            + plainNumber(s.SegmentIncline()) + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

} // namespace kntr
