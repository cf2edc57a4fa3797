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

} // namespace kntr
