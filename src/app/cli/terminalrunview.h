#pragma once

#include "runner/runview.h"

#include <QTextStream>

#include <functional>

namespace kntr {

/// Shows a live run on the terminal: the countdown, then per segment its number,
/// targets (as "Speed 6.0, Incline 3.5") and time left. On a terminal one line is kept up to date; into a
/// file or pipe each countdown step and each segment get a plain line. Notes and
/// the reason a run failed go to the error stream.
class TerminalRunView : public RunView {
public:
    TerminalRunView(QTextStream& out, QTextStream& err, bool terminal, int segmentCount, QString firstLabel,
                    QString secondLabel);

    void setRunMode(bool running) override;
    void showCountdown(const QString& countdown, const QString& instructions) override;
    void endCountdown() override;
    void showSegment(int segment, const QString& first, const QString& second) override;
    void showTimeLeft(const QString& text) override;
    void selectSegment(int) override { }
    void showNote(const QString& text) override;
    void runEnded(RunOutcome outcome, const QString& problem) override;

    /// Called once the run has ended.
    void setEndHandler(std::function<void(RunOutcome)> handler) { mOnEnd = std::move(handler); }

private:
    void show(const QString& line);
    void endLine();

    QTextStream& mOut;
    QTextStream& mErr;
    bool mTerminal;
    int mSegmentCount;
    QString mFirstLabel;
    QString mSecondLabel;
    QString mSegmentText;
    QString mShown;
    bool mLineOpen = false;
    std::function<void(RunOutcome)> mOnEnd;
};

} // namespace kntr
