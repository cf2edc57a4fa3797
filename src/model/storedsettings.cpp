#include "storedsettings.h"

#include "platform/settingsstore.h"

#include <cassert>

namespace kntr {

SettingsSection::SettingsSection(const SettingsStore& store, QString name)
    : mRead(store)
    , mName(std::move(name))
{
}

SettingsSection::SettingsSection(SettingsStore& store, QString name)
    : mRead(store)
    , mWrite(&store)
    , mName(std::move(name))
{
}

QString SettingsSection::text(const QString& key, const QString& fallback) const
{
    return mRead.GetSetting(kAppName, mName, key, fallback);
}

void SettingsSection::setText(const QString& key, const QString& value)
{
    assert(mWrite && "settings written through a read-only accessor");
    mWrite->SaveSetting(kAppName, mName, key, value);
}

void SettingsSection::remove(const QString& key)
{
    assert(mWrite && "settings written through a read-only accessor");
    mWrite->DeleteSetting(kAppName, mName, key);
}

#define KNTR_SECTION(Class, Name)                                                                            \
    Class::Class(const SettingsStore& store)                                                                 \
        : SettingsSection(store, QStringLiteral(Name))                                                       \
    {                                                                                                        \
    }                                                                                                        \
    Class::Class(SettingsStore& store)                                                                       \
        : SettingsSection(store, QStringLiteral(Name))                                                       \
    {                                                                                                        \
    }

KNTR_SECTION(FileSettings, "File")
KNTR_SECTION(UserSettings, "user")
KNTR_SECTION(OptionsSettings, "Options")
KNTR_SECTION(AudioSettings, "Audio")
KNTR_SECTION(MachineSettings, "Machine")
KNTR_SECTION(GeneratorSettings, "RandomWork")
KNTR_SECTION(RecordingSettings, "RecordPref")
KNTR_SECTION(RecentFileSettings, "MRUList")

#undef KNTR_SECTION

QString FileSettings::lastFile(const QString& fallback) const
{
    return text(QStringLiteral("LastFile"), fallback);
}
void FileSettings::setLastFile(const QString& path)
{
    setText(QStringLiteral("LastFile"), path);
}
QString FileSettings::lastDirectory() const
{
    return text(QStringLiteral("LastDirectory"));
}
void FileSettings::setLastDirectory(const QString& folder)
{
    setText(QStringLiteral("LastDirectory"), folder);
}
QString FileSettings::lastFileName(const QString& fallback) const
{
    return text(QStringLiteral("LastFileName"), fallback);
}
void FileSettings::setLastFileName(const QString& name)
{
    setText(QStringLiteral("LastFileName"), name);
}
QString FileSettings::folder(const QString& key) const
{
    return text(key);
}
void FileSettings::setFolder(const QString& key, const QString& folder)
{
    setText(key, folder);
}

QString UserSettings::weightText(const QString& fallback) const
{
    return text(QStringLiteral("weight"), fallback);
}
void UserSettings::setWeight(int pounds)
{
    setText(QStringLiteral("weight"), QString::number(pounds));
}
QString UserSettings::placementText(const QString& key, const QString& fallback) const
{
    return text(key, fallback);
}
void UserSettings::setPlacement(const QString& key, int value)
{
    setText(key, QString::number(value));
}

QString OptionsSettings::unitsText(const QString& fallback) const
{
    return text(QStringLiteral("Units"), fallback);
}
void OptionsSettings::setUnitsText(const QString& units)
{
    setText(QStringLiteral("Units"), units);
}
bool OptionsSettings::paceShown() const
{
    return text(QStringLiteral("distMode"), QStringLiteral("normal")) != QLatin1String("normal");
}
void OptionsSettings::setPaceShown(bool pace)
{
    setText(QStringLiteral("distMode"), pace ? QStringLiteral("invert") : QStringLiteral("normal"));
}
QString OptionsSettings::voiceCuesText(const QString& fallback) const
{
    return text(QStringLiteral("VoiceCues"), fallback);
}
void OptionsSettings::setVoiceCues(bool on)
{
    setText(QStringLiteral("VoiceCues"), on ? QStringLiteral("1") : QStringLiteral("0"));
}
QString OptionsSettings::delayText(const QString& fallback) const
{
    return text(QStringLiteral("Delay"), fallback);
}
void OptionsSettings::setDelay(int seconds)
{
    setText(QStringLiteral("Delay"), QString::number(seconds));
}
QString OptionsSettings::beepsText(const QString& fallback) const
{
    return text(QStringLiteral("Beeps"), fallback);
}
void OptionsSettings::setBeeps(int beeps)
{
    setText(QStringLiteral("Beeps"), QString::number(beeps));
}

QString AudioSettings::playList() const
{
    return text(QStringLiteral("ASXfilename"));
}
void AudioSettings::setPlayList(const QString& path)
{
    setText(QStringLiteral("ASXfilename"), path);
}
QString AudioSettings::musicSourceText(const QString& fallback) const
{
    return text(QStringLiteral("volOption"), fallback);
}
void AudioSettings::setMusicSource(int source)
{
    setText(QStringLiteral("volOption"), QString::number(source));
}
QString AudioSettings::tonePauseText(const QString& fallback) const
{
    return text(QStringLiteral("Pause"), fallback);
}
QString AudioSettings::levelText(const QString& key) const
{
    return text(key);
}
void AudioSettings::setLevel(const QString& key, int value)
{
    setText(key, QString::number(value));
}

QString MachineSettings::typeText(const QString& fallback) const
{
    return text(QStringLiteral("MachineType"), fallback);
}
void MachineSettings::setType(const QString& type)
{
    setText(QStringLiteral("MachineType"), type);
}
QString MachineSettings::rangeText(const QString& key, const QString& fallback) const
{
    return text(key, fallback);
}
void MachineSettings::setRange(const QString& key, int tenths)
{
    setText(key, QString::number(tenths));
}

QString GeneratorSettings::valueText(const QString& key) const
{
    return text(key);
}
void GeneratorSettings::setValue(const QString& key, int value)
{
    setText(key, QString::number(value));
}

QString RecordingSettings::oneFilePerSegmentText(const QString& fallback) const
{
    return text(QStringLiteral("OneFilePerSeg"), fallback);
}
void RecordingSettings::setOneFilePerSegment(bool on)
{
    setText(QStringLiteral("OneFilePerSeg"), on ? QStringLiteral("1") : QStringLiteral("0"));
}
QString RecordingSettings::waveTypeText(const QString& fallback) const
{
    return text(QStringLiteral("WaveType"), fallback);
}
void RecordingSettings::setStereo(bool stereo)
{
    setText(QStringLiteral("WaveType"), stereo ? QStringLiteral("1") : QStringLiteral("0"));
}
QString RecordingSettings::bitRateChoiceText(const QString& fallback) const
{
    return text(QStringLiteral("MP3BitRate"), fallback);
}
void RecordingSettings::setBitRateChoice(int choice)
{
    setText(QStringLiteral("MP3BitRate"), QString::number(choice));
}
QString RecordingSettings::chapterMarksText(const QString& fallback) const
{
    return text(QStringLiteral("ChapterMarks"), fallback);
}
void RecordingSettings::setChapterMarks(bool on)
{
    setText(QStringLiteral("ChapterMarks"), on ? QStringLiteral("1") : QStringLiteral("0"));
}

QString RecentFileSettings::path(int number) const
{
    return text(QStringLiteral("Name%1").arg(number));
}
QString RecentFileSettings::title(int number) const
{
    return text(QStringLiteral("Title%1").arg(number));
}
void RecentFileSettings::setEntry(int number, const QString& path, const QString& title)
{
    setText(QStringLiteral("Name%1").arg(number), path);
    setText(QStringLiteral("Title%1").arg(number), title);
}
void RecentFileSettings::removeEntry(int number)
{
    remove(QStringLiteral("Name%1").arg(number));
    remove(QStringLiteral("Title%1").arg(number));
}

} // namespace kntr
