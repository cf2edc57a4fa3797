#pragma once

#include "platform/clock.h"

namespace kntr {

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
