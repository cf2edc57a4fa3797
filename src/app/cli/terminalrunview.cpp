#include "terminalrunview.h"

namespace kntr {

namespace {

QString oneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace

TerminalRunView::TerminalRunView(QTextStream& out, QTextStream& err, bool terminal, int segmentCount,
                                 QString firstLabel, QString secondLabel)
    : mOut(out)
    , mErr(err)
    , mTerminal(terminal)
    , mSegmentCount(segmentCount)
    , mFirstLabel(std::move(firstLabel))
    , mSecondLabel(std::move(secondLabel))
{
}

void TerminalRunView::show(const QString& line)
{
    if (line == mShown)
        return;
    if (mTerminal) {
        // Rewrite the line in place, clearing what a longer text left.
        mOut << '\r' << line << "\x1b[K";
        mLineOpen = true;
    } else {
        mOut << line << '\n';
    }
    mShown = line;
    mOut.flush();
}

void TerminalRunView::endLine()
{
    if (mLineOpen)
        mOut << '\n';
    mLineOpen = false;
    mShown.clear();
    mOut.flush();
}

void TerminalRunView::setRunMode(bool running)
{
    if (!running) {
        endLine();
        mOut << "Run ended.\n";
        mOut.flush();
    }
}

void TerminalRunView::showCountdown(const QString& countdown, const QString&)
{
    show(oneLine(countdown));
}

void TerminalRunView::endCountdown()
{
    endLine();
}

void TerminalRunView::showSegment(int segment, const QString& first, const QString& second)
{
    if (!mTerminal)
        mShown.clear();
    endLine();
    mSegmentText = QStringLiteral("Segment %1/%2: %3 %4, %5 %6")
                       .arg(segment)
                       .arg(mSegmentCount)
                       .arg(mFirstLabel, first, mSecondLabel, second);
    show(mSegmentText);
}

void TerminalRunView::showTimeLeft(const QString& text)
{
    // Into a file the time left would be a line every few milliseconds: only a
    // terminal shows it.
    if (mTerminal && !mSegmentText.isEmpty())
        show(mSegmentText + QStringLiteral(", time left ") + text);
}

void TerminalRunView::showNote(const QString& text)
{
    endLine();
    mErr << text << '\n';
    mErr.flush();
    if (!mSegmentText.isEmpty() && mTerminal)
        show(mSegmentText);
}

void TerminalRunView::runEnded(RunOutcome outcome, const QString& problem)
{
    if (outcome == RunOutcome::OutputLost) {
        mErr << problem << '\n';
        mErr.flush();
    }
    if (mOnEnd)
        mOnEnd(outcome);
}

} // namespace kntr
