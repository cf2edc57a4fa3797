#pragma once

#include "clock.h"

#include <QElapsedTimer>

namespace kntr {

/// The real clock; waiting keeps the Qt event loop running.
class SystemClock : public Clock
{
public:
    SystemClock() { mTimer.start(); }

    qint64 tickMs() const override { return mTimer.elapsed(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    void wait(int ms) override;
    void processEvents() override;

private:
    QElapsedTimer mTimer;
};

} // namespace kntr
