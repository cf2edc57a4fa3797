#pragma once

#include <QDialog>

#include <array>

class QCheckBox;
class QRadioButton;

namespace kntr {

class SettingsStore;

/// The recording preferences window `frmCreateCDPref`: one music file per
/// segment, and for workouts without music stereo or mono (WAV) and the bit rate
/// (MP3), and chapter marks in the files. It shows the stored preferences each time it opens; Save stores
/// them.
class RecordingPreferencesWindow : public QDialog {
    Q_OBJECT

public:
    explicit RecordingPreferencesWindow(SettingsStore& settings, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void cmdSave_Click();

    SettingsStore& mSettings;
    QCheckBox* mChkWavePerSegment;
    QCheckBox* mChkChapters;
    std::array<QRadioButton*, 2> mOptWaveType{}; ///< by index: 0 mono, 1 stereo
    std::array<QRadioButton*, 3> mOptMP3BitRate{}; ///< by index: 0 64, 1 96, 2 128 kbit/s
};

} // namespace kntr
