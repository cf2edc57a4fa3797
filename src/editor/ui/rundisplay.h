#pragma once

#include "runner/rundisplaymodel.h"

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace kntr {

/// The run display (runDisplay): what a live run shows in the main window, in
/// type readable from the machine. The current targets and the time left in
/// the segment are as large as the display allows, at least a quarter of the
/// window's height in a window of ordinary proportions; under them the time
/// elapsed and the total, the next segment's targets, a bar over the workout
/// and Stop (cmdRunStop).
///
/// It mirrors a RunDisplayModel, which the main window feeds from the run.
class RunDisplay : public QWidget {
    Q_OBJECT

public:
    RunDisplay(const Session& session, const SettingsStore& settings, QWidget* parent = nullptr);

    RunDisplayModel& model() { return mModel; }
    /// Shows what the model holds now.
    void refresh();
    /// Gives Stop the keyboard focus.
    void focusStop();

signals:
    void stopClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitFonts();

    RunDisplayModel mModel;
    QLabel* mSegment = nullptr;
    QLabel* mFirstCaption = nullptr;
    QLabel* mSecondCaption = nullptr;
    QLabel* mFirst = nullptr;
    QLabel* mSecond = nullptr;
    QLabel* mTimeLeftCaption = nullptr;
    QLabel* mTimeLeft = nullptr;
    QLabel* mElapsed = nullptr;
    QLabel* mTotal = nullptr;
    QLabel* mNext = nullptr;
    QProgressBar* mProgress = nullptr;
    QPushButton* mStop = nullptr;
};

} // namespace kntr
