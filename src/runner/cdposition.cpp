#include "cdposition.h"

namespace kntr {

QString cdResumePosition(const QString& saved, qint64 pausedMs)
{
    const qint64 minutes = saved.left(2).toLongLong();
    const qint64 seconds = saved.mid(3, 2).toLongLong();
    const qint64 total = minutes * 60000 + seconds * 1000 + pausedMs;
    const qint64 newMinutes = total / 60000;
    const qint64 newSeconds = (total - newMinutes * 60000) / 1000;
    const QString minutesText =
        newMinutes < 10 ? QStringLiteral("0%1").arg(newMinutes) : QString::number(newMinutes);
    const QString secondsText =
        newSeconds < 10 ? QStringLiteral(":0%1").arg(newSeconds) : QStringLiteral(":%1").arg(newSeconds);
    return minutesText + secondsText + saved.mid(5);
}

} // namespace kntr
