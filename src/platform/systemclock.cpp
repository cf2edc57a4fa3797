#include "systemclock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

namespace kntr {

SystemClock::SystemClock()
{
    mTimer.start();
}

SystemClock::~SystemClock() = default;

void SystemClock::wait(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::AllEvents,
                                            static_cast<int>(std::min<qint64>(deadline.remainingTime(), 10)));
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(deadline.remainingTime(), 5)));
    }
}

void SystemClock::processEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

Clock::TimerId SystemClock::callAfter(qint64 ms, std::function<void()> action)
{
    const TimerId id = ++mLastId;
    auto timer = std::make_unique<QTimer>();
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [this, id, action = std::move(action)] {
        // The timer goes first, so that the action may schedule or cancel freely;
        // it is deleted once control is back in the event loop.
        auto it = mPending.find(id);
        if (it == mPending.end())
            return;
        it->second.release()->deleteLater();
        mPending.erase(it);
        action();
    });
    timer->start(static_cast<int>(std::clamp<qint64>(ms, 0, INT_MAX)));
    mPending.emplace(id, std::move(timer));
    return id;
}

void SystemClock::cancel(TimerId id)
{
    auto it = mPending.find(id);
    if (it == mPending.end())
        return;
    it->second->stop();
    it->second.release()->deleteLater();
    mPending.erase(it);
}

} // namespace kntr
