#include "numbers.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace kntr {

double roundHalfEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    // Treat a fraction within float noise of one half as an exact half.
    const double tolerance = 1e-9 * std::max(1.0, std::fabs(value));
    if (std::fabs(fraction - 0.5) <= tolerance)
        return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
    return std::floor(value + 0.5);
}

double roundHalfEven(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return roundHalfEven(value * scale) / scale;
}

int toTenths(double value)
{
    // Values read from files can be anything; keep the conversion defined.
    const double tenths = roundHalfEven(value * 10.0);
    if (!(tenths > INT_MIN))
        return INT_MIN;
    if (tenths > INT_MAX)
        return INT_MAX;
    return static_cast<int>(tenths);
}

QChar systemDecimalSeparator()
{
    // The second character of 0 written with two decimals, as the user's locale writes it.
    const QString zero = QLocale().toString(0.0, 'f', 2);
    return zero.size() > 1 ? zero.at(1) : QLatin1Char('.');
}

QString plainNumber(double value, QChar separator)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    if (value == 0.0)
        return QStringLiteral("0");

    // Find the decimal exponent after rounding to 15 significant digits, then
    // write that many digits in fixed notation.
    // std::to_chars rounds exactly as printf does, without its format parsing.
    char buffer[400];
    *std::to_chars(buffer, buffer + sizeof buffer - 1, value, std::chars_format::scientific, 14).ptr = '\0';
    const char* e = std::strchr(buffer, 'e');
    const int exponent = e ? std::atoi(e + 1) : 0;
    QString text;
    if (exponent >= 14) {
        // Whole number of 15 digits or more: the 15 significant digits, then zeros.
        QString digits = QString::fromLatin1(buffer, e - buffer).remove(QLatin1Char('.'));
        text = digits + QString(exponent - 14, QLatin1Char('0'));
    } else {
        const int decimals = std::min(14 - exponent, 330);
        *std::to_chars(buffer, buffer + sizeof buffer - 1, value, std::chars_format::fixed, decimals).ptr =
            '\0';
        text = QString::fromLatin1(buffer);
    }
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    text.replace(QLatin1Char('.'), separator);
    return text;
}

QString displayNumber(double value, int decimals)
{
    return plainNumber(roundHalfEven(value, decimals), systemDecimalSeparator());
}

} // namespace kntr
