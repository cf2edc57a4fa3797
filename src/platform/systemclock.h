#pragma once

#include "clock.h"

#include <QElapsedTimer>

#include <map>
#include <memory>

class QTimer;

namespace kntr {

/// The real clock; waiting keeps the Qt event loop running, and timed calls are
/// precise single-shot Qt timers.
class SystemClock : public Clock {
public:
    SystemClock();
    ~SystemClock() override;

    qint64 tickMs() const override { return mTimer.elapsed(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    void wait(int ms) override;
    void processEvents() override;
    TimerId callAfter(qint64 ms, std::function<void()> action) override;
    void cancel(TimerId id) override;

private:
    QElapsedTimer mTimer;
    TimerId mLastId = 0;
    std::map<TimerId, std::unique_ptr<QTimer>> mPending;
};

} // namespace kntr
