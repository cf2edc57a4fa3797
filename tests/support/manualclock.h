#pragma once

#include "platform/clock.h"

#include <functional>
#include <map>

namespace kntr {

/// Virtual time for tests: waiting advances the clock at once. Actions scheduled
/// with at() stand in for the user's clicks: they run, as window events would,
/// inside the first wait or event pass that reaches their time. Timed calls
/// (callAfter) run when the clock reaches them, in the order they fall due.
class ManualClock : public Clock {
public:
    explicit ManualClock(QDateTime start = QDateTime(QDate(2026, 1, 5), QTime(7, 0)))
        : mStart(std::move(start))
    {
    }

    qint64 tickMs() const override { return mElapsedMs; }
    QDateTime now() const override { return mStart.addMSecs(mElapsedMs); }
    void wait(int ms) override { advance(ms); }
    void processEvents() override { fireDue(); }
    TimerId callAfter(qint64 ms, std::function<void()> action) override
    {
        const TimerId id = ++mLastId;
        mEvents.emplace(Key{mElapsedMs + std::max<qint64>(ms, 0), id}, std::move(action));
        return id;
    }
    void cancel(TimerId id) override
    {
        for (auto it = mEvents.begin(); it != mEvents.end(); ++it) {
            if (it->first.id == id) {
                mEvents.erase(it);
                return;
            }
        }
    }

    /// Lets ms pass, running everything that falls due on the way at its time.
    void advance(qint64 ms)
    {
        const qint64 end = mElapsedMs + ms;
        while (!mEvents.empty() && mEvents.begin()->first.atMs <= end) {
            mElapsedMs = std::max(mElapsedMs, mEvents.begin()->first.atMs);
            runFirst();
        }
        mElapsedMs = end;
    }
    /// Runs action at the first event pass at or after tick atMs.
    void at(qint64 atMs, std::function<void()> action)
    {
        mEvents.emplace(Key{atMs, ++mLastId}, std::move(action));
    }
    /// Jumps from event to event until done() holds or nothing is left to run;
    /// false when it gave up (nothing pending, or past limitMs of virtual time).
    bool runUntil(const std::function<bool()>& done, qint64 limitMs = 24 * 3600 * 1000)
    {
        const qint64 limit = mElapsedMs + limitMs;
        fireDue();
        while (!done()) {
            if (mEvents.empty() || mEvents.begin()->first.atMs > limit)
                return false;
            mElapsedMs = std::max(mElapsedMs, mEvents.begin()->first.atMs);
            runFirst();
        }
        return true;
    }
    bool idle() const { return mEvents.empty(); }

private:
    struct Key {
        qint64 atMs;
        TimerId id;
        bool operator<(const Key& o) const { return atMs != o.atMs ? atMs < o.atMs : id < o.id; }
    };

    void fireDue()
    {
        while (!mEvents.empty() && mEvents.begin()->first.atMs <= mElapsedMs)
            runFirst();
    }
    void runFirst()
    {
        auto action = std::move(mEvents.begin()->second);
        mEvents.erase(mEvents.begin());
        action();
    }

    QDateTime mStart;
    qint64 mElapsedMs = 0;
    TimerId mLastId = 0;
    std::map<Key, std::function<void()>> mEvents;
};

} // namespace kntr
