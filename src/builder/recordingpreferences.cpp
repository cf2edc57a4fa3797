#include "recordingpreferences.h"

#include "model/numbers.h"
#include "model/storedsettings.h"
#include "platform/settingsstore.h"

#include <optional>

namespace kntr {

namespace {

constexpr int kBitRates[] = {64, 96, 128};

// A stored number as the settings hold it ("1", " 2", "1.0"); nothing when it is not one.
std::optional<double> storedNumber(const QString& text)
{
    bool ok = false;
    const double value = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).trimmed().toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

// A stored truth value: a non-zero number, or the words True and False.
bool storedFlag(const QString& text, bool defaultValue)
{
    if (const std::optional<double> number = storedNumber(text))
        return *number != 0.0;
    if (text.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.trimmed().compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    return defaultValue;
}

} // namespace

RecordingPreferences RecordingPreferences::read(const SettingsStore& settings, int previousBitRate)
{
    RecordingPreferences p;
    const OptionsSettings options(settings);
    const RecordingSettings stored(settings);
    p.voiceCues = storedFlag(options.voiceCuesText(QStringLiteral("1")), true);
    p.oneFilePerSegment = storedFlag(stored.oneFilePerSegmentText(QStringLiteral("0")), false);
    const std::optional<double> waveType = storedNumber(stored.waveTypeText(QStringLiteral("1")));
    p.stereo = !waveType || roundHalfEven(*waveType) != 0.0;
    p.mp3BitRate = previousBitRate;
    const std::optional<double> choice = storedNumber(stored.bitRateChoiceText(QStringLiteral("2")));
    if (choice && (*choice == 0.0 || *choice == 1.0 || *choice == 2.0))
        p.mp3BitRate = kBitRates[static_cast<int>(*choice)];
    const std::optional<double> beeps = storedNumber(options.beepsText(QStringLiteral("1")));
    p.beeps = beeps && *beeps == 2.0 ? 2 : 1;
    p.chapters = storedFlag(stored.chapterMarksText(QStringLiteral("0")), false);
    return p;
}

void RecordingPreferences::save(SettingsStore& settings) const
{
    RecordingSettings stored(settings);
    stored.setOneFilePerSegment(oneFilePerSegment);
    stored.setStereo(stereo);
    int choice = 2;
    for (int i = 0; i < 3; ++i)
        if (kBitRates[i] == mp3BitRate)
            choice = i;
    stored.setBitRateChoice(choice);
    // Settings that never had chapter marks on stay as they were.
    if (chapters || !stored.chapterMarksText({}).isEmpty())
        stored.setChapterMarks(chapters);
}

WaveBuildOptions RecordingPreferences::waveOptions(Units units) const
{
    WaveBuildOptions options;
    options.stereo = stereo;
    options.voiceCues = voiceCues;
    options.beeps = beeps;
    options.oneFilePerSegment = oneFilePerSegment;
    options.units = units;
    options.chapters = chapters;
    return options;
}

Mp3BuildOptions RecordingPreferences::mp3Options(Units units) const
{
    Mp3BuildOptions options;
    options.bitRate = mp3BitRate;
    options.voiceCues = voiceCues;
    options.beeps = beeps;
    options.oneFilePerSegment = oneFilePerSegment;
    options.units = units;
    options.chapters = chapters;
    return options;
}

} // namespace kntr
