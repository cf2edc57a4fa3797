#pragma once

#include <QDateTime>

namespace kntr {

/// Where time comes from: the system clock in the program, a virtual one in tests,
/// so that a whole 30-minute run can be tested in milliseconds.
class Clock
{
public:
    virtual ~Clock() = default;

    /// Milliseconds on a monotonic clock with an arbitrary start.
    virtual qint64 tickMs() const = 0;
    /// The local date and time now.
    virtual QDateTime now() const = 0;
    /// Lets ms milliseconds pass while pending window events are processed.
    virtual void wait(int ms) = 0;
    /// Processes pending window events without waiting.
    virtual void processEvents() = 0;
};

/// Virtual time for tests: waiting advances the clock at once.
class ManualClock : public Clock
{
public:
    explicit ManualClock(QDateTime start = QDateTime(QDate(2026, 1, 5), QTime(7, 0)))
        : mStart(std::move(start)) {}

    qint64 tickMs() const override { return mElapsedMs; }
    QDateTime now() const override { return mStart.addMSecs(mElapsedMs); }
    void wait(int ms) override { advance(ms); }
    void processEvents() override {}

    void advance(qint64 ms) { mElapsedMs += ms; }

private:
    QDateTime mStart;
    qint64 mElapsedMs = 0;
};

} // namespace kntr
