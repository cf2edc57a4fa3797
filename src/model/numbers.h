#pragma once

#include <QChar>
#include <QString>

namespace kntr {

/// Rounds to the nearest integer, a half going to the even neighbour (2.5 → 2,
/// 3.5 → 4). Products that should be an exact half but miss it by float noise
/// count as halves.
double roundHalfEven(double value);

/// Rounds to the given number of decimals with halves to even (1.0005 → 1.000).
double roundHalfEven(double value, int decimals);

/// Rounds a value in whole units to integer tenths (3.25 → 32, 3.35 → 34);
/// values beyond the int range give its ends.
int toTenths(double value);

/// The decimal separator the user's locale shows numbers with.
QChar systemDecimalSeparator();

/// Writes a number in plain decimal notation: at most 15 significant digits,
/// no exponent, no trailing zeros ("1.5", "0.05", "60", "-3"). The separator is
/// "." unless one is given, so files never depend on the locale.
QString plainNumber(double value, QChar separator = QLatin1Char('.'));

/// A number as shown on screen: rounded to the given decimals, plain notation,
/// the system decimal separator.
QString displayNumber(double value, int decimals);

} // namespace kntr
