#pragma once

#include <QString>

namespace kntr {

/// How a live run ended.
enum class RunOutcome {
    NotStarted, ///< the music check said no
    Cancelled, ///< the countdown was cancelled; nothing was played
    Stopped, ///< Stop ended the run; the stop command was played
    Completed, ///< the whole workout ran
    OutputLost ///< the sound output went away: the machine no longer hears commands
};

/// What shows a live run to the user: the main window, or the terminal of the
/// headless runner.
class RunView {
public:
    virtual ~RunView() = default;

    /// Run mode on: Start becomes Stop, Resume, editing and the File, Options and
    /// Audio menus are disabled. Off: all back.
    virtual void setRunMode(bool running) = 0;
    /// The segment the editor shows, before a run from the start.
    virtual void selectSegment(int segment) = 0;
    /// The countdown window's two lines; the first call shows the window (and
    /// disables the main window), an empty instruction keeps the one shown.
    virtual void showCountdown(const QString& countdown, const QString& instructions) = 0;
    /// The countdown is over: its window goes, the main window is enabled again.
    virtual void endCountdown() = 0;
    /// The segment being run, 1-based, with its targets as the speed and incline
    /// boxes show them.
    virtual void showSegment(int segment, const QString& first, const QString& second) = 0;
    /// The time left in the segment, "m:ss".
    virtual void showTimeLeft(const QString& text) = 0;
    /// Something the user should know that does not end the run (music that
    /// stopped, play-list entries passed over).
    virtual void showNote(const QString& text) = 0;
    /// The run is over and the program back to editing; problem says why when
    /// the outcome is OutputLost.
    virtual void runEnded(RunOutcome outcome, const QString& problem) = 0;
};

} // namespace kntr
