#pragma once

#include "runner/runview.h"

#include <QTextStream>

namespace kntr {

/// Shows a live run on the terminal: the countdown, then per segment its number,
/// targets (as "Speed 6.0, Incline 3.5") and time left. On a terminal one line is kept up to date; into a
/// file or pipe each countdown step and each segment get a plain line.
class TerminalRunView : public RunView
{
public:
    TerminalRunView(QTextStream& out, bool terminal, int segmentCount, QString firstLabel, QString secondLabel);

    void setRunMode(bool running) override;
    void showCountdown(const QString& countdown, const QString& instructions) override;
    void endCountdown() override;
    void showSegment(int segment, const QString& first, const QString& second) override;
    void showTimeLeft(const QString& text) override;

private:
    void show(const QString& line);
    void endLine();

    QTextStream& mOut;
    bool mTerminal;
    int mSegmentCount;
    QString mFirstLabel;
    QString mSecondLabel;
    QString mSegmentText;
    QString mShown;
    bool mLineOpen = false;
};

} // namespace kntr
