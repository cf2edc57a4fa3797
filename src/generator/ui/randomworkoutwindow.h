#pragma once

#include "generator/randomworkoutmodel.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace kntr {

/// The random workout generator window `frmRandomWorkout`: shows a
/// RandomWorkoutModel and passes the user's moves to it. It is modal and keeps
/// its fixed size; "&Make Workout" leaves it open, "&Close" stores the values
/// and closes it. Closing it any other way keeps what was stored before.
class RandomWorkoutWindow : public QDialog {
    Q_OBJECT

public:
    explicit RandomWorkoutWindow(RandomWorkoutModel& form, QWidget* parent = nullptr);
    ~RandomWorkoutWindow() override;

public slots:
    /// Escape and the window's close button: closes without storing.
    void reject() override;

protected:
    /// Loads the form from the settings when the window opens after a close.
    void showEvent(QShowEvent* event) override;

private:
    using Range = RandomWorkoutModel::Range;
    using Attribute = RandomWorkoutModel::Attribute;
    using SegmentValue = RandomWorkoutModel::SegmentValue;

    void buildParameters();
    void buildSegments();
    void showForm();

    RandomWorkoutModel& mForm;
    QGroupBox* mFraParameters = nullptr;
    QGroupBox* mFraSetSegments = nullptr;
    std::array<QScrollBar*, 4> mRanges{}; ///< by Range
    std::array<QLabel*, 4> mRangeCaptions{};
    std::array<QLabel*, 4> mRangeTexts{};
    std::array<QButtonGroup*, 2> mPatterns{}; ///< optSpeed, optIncline
    std::array<std::array<QScrollBar*, 3>, 2> mBiases{};
    std::array<QLabel*, 2> mBiasCaptions{};
    QScrollBar* mHscTime = nullptr;
    QLabel* mLblTime = nullptr;
    QButtonGroup* mOptSetSegment = nullptr;
    std::array<std::array<QScrollBar*, 4>, 3> mSegments{}; ///< by SegmentValue, then segment
    std::array<std::array<QLabel*, 4>, 3> mSegmentTexts{};
    std::array<QLabel*, 3> mColumnCaptions{};
    QPushButton* mCmdWarmUp = nullptr;
    QPushButton* mCmdClose = nullptr;
    QPushButton* mCmdMake = nullptr;
};

} // namespace kntr
