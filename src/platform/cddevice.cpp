#include "cddevice.h"

#include <QRegularExpression>

namespace kntr {

QString CdDevice::errorText(int code)
{
    switch (code) {
    case kOk:
        return QStringLiteral("The command completed successfully.");
    case kUnknownDevice:
        return QStringLiteral("The device name is not known; the CD device is \"cdaudio\".");
    case kNoDrive:
        return QStringLiteral("No CD drive was found, or it could not be opened.");
    case kUnknownCommand:
        return QStringLiteral("The CD device does not know this command.");
    case kUnknownKeyword:
        return QStringLiteral("The command has a word the CD device does not know.");
    case kHardwareError:
        return QStringLiteral("The CD drive reported an error.");
    case kNoDisc:
        return QStringLiteral("The CD drive is not ready: there is no playable disc in it.");
    case kBadPosition:
        return QStringLiteral("The position is not on the disc.");
    default:
        return QStringLiteral("The CD device reported error %1.").arg(code);
    }
}

QString CdDevice::formatPosition(int frames)
{
    frames = std::max(frames, 0);
    const int minutes = frames / (60 * kFramesPerSecond);
    const int seconds = frames / kFramesPerSecond % 60;
    const int rest = frames % kFramesPerSecond;
    return QStringLiteral("%1:%2:%3")
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(seconds, 2, 10, QLatin1Char('0'))
        .arg(rest, 2, 10, QLatin1Char('0'));
}

std::optional<int> CdDevice::parsePosition(const QString& text)
{
    const QString t = text.trimmed();
    static const QRegularExpression msf(QStringLiteral("^(\\d{1,3})(?::(\\d{1,2})(?::(\\d{1,2}))?)?$"));
    if (t.contains(QLatin1Char(':'))) {
        const QRegularExpressionMatch m = msf.match(t);
        if (!m.hasMatch())
            return std::nullopt;
        const int minutes = m.captured(1).toInt();
        const int seconds = m.captured(2).toInt();
        const int frames = m.captured(3).toInt();
        if (seconds > 59 || frames >= kFramesPerSecond)
            return std::nullopt;
        return (minutes * 60 + seconds) * kFramesPerSecond + frames;
    }
    bool ok = false;
    const qint64 ms = t.toLongLong(&ok);
    if (!ok || ms < 0 || ms > 100LL * 60 * 1000)
        return std::nullopt;
    return static_cast<int>(ms * kFramesPerSecond / 1000);
}

int CdDevice::sendCommand(const QString& command, QString* answer)
{
    if (answer)
        answer->clear();
    const QStringList words = command.simplified().toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return kUnknownCommand;
    const QString& verb = words.at(0);
    if (verb == QLatin1String("close") && words.size() == 2 && words.at(1) == QLatin1String("all"))
        return close();
    if (words.size() < 2 || words.at(1) != QLatin1String("cdaudio"))
        return verb == QLatin1String("status") || verb == QLatin1String("play")
                || verb == QLatin1String("pause") || verb == QLatin1String("stop")
                || verb == QLatin1String("close")
            ? kUnknownDevice
            : kUnknownCommand;
    const QStringList rest = words.mid(2);

    if (verb == QLatin1String("status")) {
        if (rest == QStringList{QStringLiteral("media"), QStringLiteral("present")}) {
            bool present = false;
            const int code = mediaPresent(present);
            if (code == kOk && answer)
                *answer = present ? QStringLiteral("true") : QStringLiteral("false");
            return code;
        }
        if (rest == QStringList{QStringLiteral("position")}) {
            int frame = 0;
            const int code = position(frame);
            if (code == kOk && answer)
                *answer = formatPosition(frame);
            return code;
        }
        return kUnknownKeyword;
    }
    if (verb == QLatin1String("play")) {
        if (rest.isEmpty())
            return play(std::nullopt);
        if (rest.size() == 2 && rest.at(0) == QLatin1String("from")) {
            const std::optional<int> frame = parsePosition(rest.at(1));
            return frame ? play(frame) : kBadPosition;
        }
        return kUnknownKeyword;
    }
    if (!rest.isEmpty())
        return kUnknownKeyword;
    if (verb == QLatin1String("pause"))
        return pause();
    if (verb == QLatin1String("stop"))
        return stop();
    if (verb == QLatin1String("close"))
        return close();
    return kUnknownCommand;
}

} // namespace kntr
