#pragma once

#include "platform/clock.h"

#include <functional>
#include <map>

namespace kntr {

/// Virtual time for tests: waiting advances the clock at once. Actions scheduled
/// with at() stand in for the user's clicks: they run, as window events would,
/// inside the first wait or event pass that reaches their time.
class ManualClock : public Clock
{
public:
    explicit ManualClock(QDateTime start = QDateTime(QDate(2026, 1, 5), QTime(7, 0)))
        : mStart(std::move(start)) {}

    qint64 tickMs() const override { return mElapsedMs; }
    QDateTime now() const override { return mStart.addMSecs(mElapsedMs); }
    void wait(int ms) override
    {
        advance(ms);
        processEvents();
    }
    void processEvents() override
    {
        while (!mActions.empty() && mActions.begin()->first <= mElapsedMs) {
            auto action = std::move(mActions.begin()->second);
            mActions.erase(mActions.begin());
            action();
        }
    }

    void advance(qint64 ms) { mElapsedMs += ms; }
    /// Runs action at the first event pass at or after tick atMs.
    void at(qint64 atMs, std::function<void()> action) { mActions.emplace(atMs, std::move(action)); }

private:
    QDateTime mStart;
    qint64 mElapsedMs = 0;
    std::multimap<qint64, std::function<void()>> mActions;
};

} // namespace kntr
