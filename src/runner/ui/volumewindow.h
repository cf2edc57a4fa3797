#pragma once

#include "runner/volumewindowmodel.h"

#include <QDialog>

#include <array>

class QGroupBox;
class QPushButton;
class QSlider;

namespace kntr {

/// The volume window `frmAudio`: the main level and the three listening levels
/// with their tests, Default Settings, Accept and Cancel. It does not block;
/// Accept and Cancel hide it, and it passes everything to a VolumeWindowModel.
class VolumeWindow : public QDialog {
    Q_OBJECT

public:
    explicit VolumeWindow(VolumeWindowModel& levels, QWidget* parent = nullptr);
    ~VolumeWindow() override;

public slots:
    /// Escape: as Cancel.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    /// The window's close button: the levels stop their tests and load afresh next time.
    void closeEvent(QCloseEvent* event) override;

private:
    void showLevels();

    VolumeWindowModel& mLevels;
    QGroupBox* mFraAdjChirp;
    std::array<QSlider*, 4> mSliders; ///< by SoundLevel
    std::array<QPushButton*, 3> mTests; ///< by VolumeWindowModel::Test
    QPushButton* mCmdDefaults;
    QPushButton* mCmdAccept;
    QPushButton* mCmdCancel;
};

} // namespace kntr
