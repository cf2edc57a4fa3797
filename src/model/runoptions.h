#pragma once

namespace kntr {

class SettingsStore;

/// The run options of the Options menu: voice cues, the start delay and one or
/// two tones per command. They are read from the settings once and stored at
/// every change; the main window's menu and the run engine share one object.
class RunOptions {
public:
    /// 0 is no countdown: the menu never offers it, the headless runner does.
    static constexpr int kDelayChoices[] = {0, 5, 10, 20};

    explicit RunOptions(SettingsStore& settings);

    /// Reads the stored options; a value the menu does not offer reads as the default.
    void load();

    bool voiceCues() const { return mVoiceCues; }
    void setVoiceCues(bool on);
    /// Seconds of countdown before a run: 0, 5, 10 or 20.
    int delaySeconds() const { return mDelaySeconds; }
    void setDelaySeconds(int seconds);
    /// Control tones played per command: 1 or 2.
    int beeps() const { return mBeeps; }
    void setBeeps(int beeps);

private:
    SettingsStore& mSettings;
    bool mVoiceCues = true;
    int mDelaySeconds = 10;
    int mBeeps = 1;
};

} // namespace kntr
