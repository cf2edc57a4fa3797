#include "model/numbers.h"

#include <QLocale>

#include <climits>

#include <gtest/gtest.h>

using namespace kntr;

TEST(Rounding, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(0.125 * 60), 8);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(roundHalfEven(2.5001), 3);
    EXPECT_EQ(roundHalfEven(-0.6), -1);
}

TEST(Rounding, ToDecimalsTreatsFloatNoiseAsTheHalfItStandsFor)
{
    EXPECT_DOUBLE_EQ(roundHalfEven(1.46666, 3), 1.467);
    EXPECT_DOUBLE_EQ(roundHalfEven(1.0005, 3), 1.0); // 1000.4999… is meant as 1000.5
    EXPECT_DOUBLE_EQ(roundHalfEven(1.0015, 3), 1.002);
    EXPECT_DOUBLE_EQ(roundHalfEven(72.57478, 1), 72.6);
    EXPECT_EQ(toTenths(3.25), 32);
    EXPECT_EQ(toTenths(3.35), 34);
    EXPECT_EQ(toTenths(0.1 + 0.2), 3);
    EXPECT_EQ(toTenths(12.0), 120);
    // Whatever a file holds, the conversion stays defined.
    EXPECT_EQ(toTenths(1e12), INT_MAX);
    EXPECT_EQ(toTenths(-1e12), INT_MIN);
}

TEST(PlainNumber, FifteenSignificantDigitsNoExponentNoTrailingZeros)
{
    EXPECT_EQ(plainNumber(60), "60");
    EXPECT_EQ(plainNumber(1.5), "1.5");
    EXPECT_EQ(plainNumber(0.05), "0.05");
    EXPECT_EQ(plainNumber(-3), "-3");
    EXPECT_EQ(plainNumber(-0.0), "0");
    EXPECT_EQ(plainNumber(0.1 + 0.2), "0.3");
    EXPECT_EQ(plainNumber(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(plainNumber(123456789012345678.0), "123456789012346000");
    EXPECT_EQ(plainNumber(0.000001234), "0.000001234");
    EXPECT_EQ(plainNumber(9.9999999999999999), "10");
    EXPECT_EQ(plainNumber(2.5, QLatin1Char(',')), "2,5");
}

TEST(PlainNumber, DisplayUsesTheLocaleSeparatorButFilesDoNot)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(systemDecimalSeparator(), QLatin1Char(','));
    EXPECT_EQ(displayNumber(1.46666, 3), "1,467");
    EXPECT_EQ(displayNumber(1234.5, 0), "1234") << "no group separators";
    EXPECT_EQ(plainNumber(1.5), "1.5");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(displayNumber(1.46666, 3), "1.467");
    QLocale::setDefault(saved);
}
