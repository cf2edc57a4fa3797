#include "systemclock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace kntr {

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

} // namespace kntr
