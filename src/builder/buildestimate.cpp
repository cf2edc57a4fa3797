#include "buildestimate.h"

#include "model/numbers.h"
#include "model/workout.h"

#include <QLocale>

#include <cmath>

namespace kntr {

float BuildEstimate::totalSeconds(const Workout& workout)
{
    float total = 0.0f;
    for (int k = 1; k <= workout.count(); ++k)
        total += static_cast<float>(workout.segment(k).SegmentTime());
    return total;
}

float BuildEstimate::musicSeconds(const std::vector<MusicEntry>& music)
{
    float total = 0.0f;
    for (const MusicEntry& entry : music)
        total += entry.seconds;
    return total;
}

qint64 BuildEstimate::wavSize(const Workout& workout, bool stereoPreference, bool hasMusic)
{
    const double perSecond = stereoPreference || hasMusic ? 176400.0 : 88200.0;
    return static_cast<qint64>(roundHalfEven(static_cast<double>(totalSeconds(workout)) * perSecond));
}

qint64 BuildEstimate::mp3Size(const Workout& workout, int bitRatePreference,
                              const std::vector<MusicEntry>& music)
{
    constexpr double kFrameSeconds = 0.026;
    const double seconds = totalSeconds(workout);
    if (music.empty()) {
        const double frameBytes = bitRatePreference == 64 ? 208 : bitRatePreference == 96 ? 313 : 417;
        return static_cast<qint64>(roundHalfEven(seconds * frameBytes / kFrameSeconds));
    }
    double remaining = roundHalfEven(seconds);
    double estimate = 0;
    for (const MusicEntry& entry : music) {
        if (entry.seconds < remaining) {
            remaining -= entry.seconds;
            estimate += entry.frameSize * static_cast<double>(entry.seconds) / kFrameSeconds;
        }
    }
    estimate += remaining * 417 / kFrameSeconds;
    return static_cast<qint64>(roundHalfEven(estimate));
}

QString BuildEstimate::outputPath(const QString& current, const QString& lastFile, WorkoutFileType type)
{
    const QString name = workoutFileTypeName(type);
    QString path = current;
    if (path.isEmpty())
        path = lastFile.isEmpty() ? QStringLiteral("untitled.") + name : lastFile;
    return path.chopped(std::min<qsizetype>(3, path.size())) + name;
}

QString BuildEstimate::sizeText(qint64 bytes)
{
    // "#,###": grouped digits, and nothing at all for zero.
    const auto grouped = [](double value) {
        const auto whole = static_cast<qint64>(roundHalfEven(value));
        if (whole == 0)
            return QString();
        QLocale locale;
        locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
        return locale.toString(whole);
    };
    if (bytes <= 1000000)
        return grouped(static_cast<double>(bytes)) + QStringLiteral(" bytes");
    return grouped(static_cast<double>(bytes) / 1000000.0) + QStringLiteral(" Mbytes");
}

QString BuildEstimate::fileInfoText(const QString& path, qint64 bytes)
{
    return QStringLiteral("File Name: ") + path + QStringLiteral("\rWorkout File Size: about ")
        + sizeText(bytes);
}

QString BuildEstimate::musicCoverageText(bool oneFilePerSegment, int files, int segments, float musicSeconds,
                                         float totalSeconds)
{
    if (oneFilePerSegment) {
        if (files <= segments)
            return QString::number(files) + QStringLiteral(" of ") + QString::number(segments)
                + QStringLiteral(" segments assigned");
        return QString::number(segments) + QStringLiteral(" of ") + QString::number(segments)
            + QStringLiteral(" segments assigned, plus ") + QString::number(files - segments)
            + QStringLiteral(" extra");
    }
    // In single precision, as the figures are held: 29 s of 100 s is 29 %, not 28.
    const float share = totalSeconds > 0.0f ? musicSeconds / totalSeconds * 100.0f : 0.0f;
    return QStringLiteral("Play list is ") + QString::number(static_cast<qint64>(std::floor(share)))
        + QStringLiteral("% of workout.");
}

} // namespace kntr
