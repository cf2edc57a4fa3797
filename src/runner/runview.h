#pragma once

#include <QString>

namespace kntr {

/// What shows a live run to the user: the main window, or the terminal of the
/// headless runner.
class RunView
{
public:
    virtual ~RunView() = default;

    /// Run mode on: Start becomes Stop, Resume and the File, Options and Audio
    /// menus are disabled. Off: all back.
    virtual void setRunMode(bool running) = 0;
    /// The countdown window's two lines; the first call shows the window (and
    /// disables the main window), an empty instruction keeps the one shown.
    virtual void showCountdown(const QString& countdown, const QString& instructions) = 0;
    /// The countdown is over: its window goes, the main window is enabled again.
    virtual void endCountdown() = 0;
    /// The segment being run, 1-based, with its targets as the editor shows them.
    virtual void showSegment(int segment, const QString& first, const QString& second) = 0;
    /// The time left in the segment, "m:ss".
    virtual void showTimeLeft(const QString& text) = 0;
};

} // namespace kntr
