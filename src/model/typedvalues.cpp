#include "typedvalues.h"

#include "machine.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace kntr {

std::optional<double> numberFromText(const QString& text)
{
    static const QRegularExpression kNumber(QStringLiteral("^\\s*(\\d+([.,]\\d*)?|[.,]\\d+)\\s*$"));
    const QRegularExpressionMatch match = kNumber.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    QString plain = match.captured(1);
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = plain.toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

std::optional<int> secondsFromText(const QString& text)
{
    static const QRegularExpression kTime(QStringLiteral("^\\s*(?:(\\d{1,4}):([0-5]\\d)|(\\d{1,6}))\\s*$"));
    const QRegularExpressionMatch match = kTime.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    if (match.capturedLength(3) > 0)
        return match.captured(3).toInt();
    return match.captured(1).toInt() * 60 + match.captured(2).toInt();
}

std::optional<double> firstTargetFromText(const Machine& machine, const QString& text, SpeedDisplay display)
{
    if (machine.firstAttributeIsResistance())
        return numberFromText(text);
    std::optional<double> shown = numberFromText(text);
    if (display == SpeedDisplay::Pace) {
        if (!shown) {
            if (const std::optional<int> seconds = secondsFromText(text);
                seconds && text.contains(QLatin1Char(':')))
                shown = *seconds / 60.0;
        }
        if (!shown || *shown <= 0)
            return std::nullopt;
        shown = 60.0 / *shown;
    }
    if (!shown)
        return std::nullopt;
    return machine.units() == Units::Kilometres ? *shown / kKilometresPerMile : *shown;
}

int snapToStep(int value, int min, int max, int step)
{
    if (max <= min)
        return min;
    step = std::max(1, step);
    const int clamped = std::clamp(value, min, max);
    const int steps = (clamped - min + step / 2) / step;
    return std::min(max, min + steps * step);
}

} // namespace kntr
