#pragma once

// Waiting in tests of code that works through the Qt event loop with real time.

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

namespace kntr::test {

/// Processes events until done() holds or ms pass; returns the milliseconds taken, or -1.
inline qint64 waitFor(const std::function<bool()>& done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms)
            return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return timer.elapsed();
}

} // namespace kntr::test
