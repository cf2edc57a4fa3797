#pragma once

#include <QString>

namespace kntr {

class SettingsStore;

/// One section of the program's stored settings. Every section and key is
/// spelled once, in the accessors below; callers read and write typed values
/// and never name a section themselves. An accessor made on a read-only store
/// only reads.
class SettingsSection {
public:
    const QString& name() const { return mName; }

protected:
    SettingsSection(const SettingsStore& store, QString name);
    SettingsSection(SettingsStore& store, QString name);

    QString text(const QString& key, const QString& fallback = {}) const;
    void setText(const QString& key, const QString& value);
    void remove(const QString& key);

private:
    const SettingsStore& mRead;
    SettingsStore* mWrite = nullptr;
    QString mName;
};

/// The workout file last opened or saved, and its folder.
class FileSettings : public SettingsSection {
public:
    explicit FileSettings(const SettingsStore& store);
    explicit FileSettings(SettingsStore& store);
    QString lastFile(const QString& fallback = {}) const;
    void setLastFile(const QString& path);
    QString lastDirectory() const;
    void setLastDirectory(const QString& folder);
    QString lastFileName(const QString& fallback = {}) const;
    void setLastFileName(const QString& name);
    /// A folder a dialog remembers: "MP3Directory", "ASXDirectory", "MusicDirectory", ...
    QString folder(const QString& key) const;
    void setFolder(const QString& key, const QString& folder);
};

/// The user: body weight and the main window's placement (in twips).
class UserSettings : public SettingsSection {
public:
    explicit UserSettings(const SettingsStore& store);
    explicit UserSettings(SettingsStore& store);
    QString weightText(const QString& fallback) const;
    void setWeight(int pounds);
    /// A placement value: "frmMainLeft", "frmMainTop", "frmMainWidth",
    /// "frmMainHeight" or "windowstate".
    QString placementText(const QString& key, const QString& fallback = {}) const;
    void setPlacement(const QString& key, int value);
};

/// The Options menu, the display units and the way speeds are shown.
class OptionsSettings : public SettingsSection {
public:
    explicit OptionsSettings(const SettingsStore& store);
    explicit OptionsSettings(SettingsStore& store);
    /// "Miles" or "Kilos" as stored, or fallback.
    QString unitsText(const QString& fallback) const;
    void setUnitsText(const QString& units);
    /// Whether speeds are shown as pace (time per distance) rather than speed.
    bool paceShown() const;
    void setPaceShown(bool pace);
    QString voiceCuesText(const QString& fallback) const;
    void setVoiceCues(bool on);
    QString delayText(const QString& fallback) const;
    void setDelay(int seconds);
    QString beepsText(const QString& fallback) const;
    void setBeeps(int beeps);
};

/// Sound: the play list, the music source, the tone pause and the listening levels.
class AudioSettings : public SettingsSection {
public:
    explicit AudioSettings(const SettingsStore& store);
    explicit AudioSettings(SettingsStore& store);
    /// The play list (.asx) the run's music comes from; empty when none.
    QString playList() const;
    void setPlayList(const QString& path);
    /// The music source as stored ("volOption"): 0 a play list, 1 none, 2 the CD.
    QString musicSourceText(const QString& fallback) const;
    void setMusicSource(int source);
    /// The pause before a control tone, as stored.
    QString tonePauseText(const QString& fallback) const;
    /// A listening level: "Chirp" (tones), "AltAudio" (music) or "VoiceCue".
    QString levelText(const QString& key) const;
    void setLevel(const QString& key, int value);
};

/// The machine profile: type and ranges (the units are an option).
class MachineSettings : public SettingsSection {
public:
    explicit MachineSettings(const SettingsStore& store);
    explicit MachineSettings(SettingsStore& store);
    QString typeText(const QString& fallback) const;
    void setType(const QString& type);
    /// A range in tenths: "SpeedMin", "SpeedMax", "SpeedInc", "InclineMin", ...
    QString rangeText(const QString& key, const QString& fallback) const;
    void setRange(const QString& key, int tenths);
};

/// The random workout generator's values, each a whole number under its key.
class GeneratorSettings : public SettingsSection {
public:
    explicit GeneratorSettings(const SettingsStore& store);
    explicit GeneratorSettings(SettingsStore& store);
    QString valueText(const QString& key) const;
    void setValue(const QString& key, int value);
};

/// The workout-file builders' preferences.
class RecordingSettings : public SettingsSection {
public:
    explicit RecordingSettings(const SettingsStore& store);
    explicit RecordingSettings(SettingsStore& store);
    QString oneFilePerSegmentText(const QString& fallback) const;
    void setOneFilePerSegment(bool on);
    /// "1" stereo, "0" mono.
    QString waveTypeText(const QString& fallback) const;
    void setStereo(bool stereo);
    /// The MP3 bit rate as the index of its choice.
    QString bitRateChoiceText(const QString& fallback) const;
    void setBitRateChoice(int choice);
    /// "1" when workout files get chapter marks, one per segment.
    QString chapterMarksText(const QString& fallback) const;
    void setChapterMarks(bool on);
};

/// The File menu's recent files, numbered from 1.
class RecentFileSettings : public SettingsSection {
public:
    explicit RecentFileSettings(const SettingsStore& store);
    explicit RecentFileSettings(SettingsStore& store);
    QString path(int number) const;
    QString title(int number) const;
    void setEntry(int number, const QString& path, const QString& title);
    void removeEntry(int number);
};

} // namespace kntr
