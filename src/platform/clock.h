#pragma once

#include <QDateTime>

#include <functional>

namespace kntr {

/// Where time comes from: the system clock in the program, a virtual one in tests,
/// so that a whole 30-minute run can be tested in milliseconds.
class Clock {
public:
    /// Names a pending call of callAfter; 0 is never used.
    using TimerId = quint64;

    virtual ~Clock() = default;

    /// Milliseconds on a monotonic clock with an arbitrary start.
    virtual qint64 tickMs() const = 0;
    /// The local date and time now.
    virtual QDateTime now() const = 0;
    /// Lets ms milliseconds pass while pending window events are processed.
    virtual void wait(int ms) = 0;
    /// Processes pending window events without waiting.
    virtual void processEvents() = 0;

    /// Calls action once from the event loop when ms milliseconds have passed
    /// (at once, on the next pass, when ms <= 0). Nothing waits meanwhile: the
    /// caller returns at once, which is how a live run keeps time without ever
    /// holding the event loop.
    virtual TimerId callAfter(qint64 ms, std::function<void()> action) = 0;
    /// Drops a pending call; an id already called or cancelled is ignored.
    virtual void cancel(TimerId id) = 0;
};

} // namespace kntr
