#include "model/machine.h"
#include "model/typedvalues.h"

#include <gtest/gtest.h>

#include <optional>

using namespace kntr;

TEST(TypedValues, NumbersAndTimes)
{
    const std::pair<const char*, std::optional<double>> numbers[] = {
        {"5", 5.0}, {" 5.5 ", 5.5}, {"5,5", 5.5},  {".5", 0.5}, {"7.", 7.0},
        {"", {}},   {"abc", {}},    {"5.5.5", {}}, {"-3", {}},  {"1e3", {}},
    };
    for (const auto& [text, expected] : numbers)
        EXPECT_EQ(numberFromText(QString::fromLatin1(text)), expected) << text;

    const std::pair<const char*, std::optional<int>> times[] = {
        {"1:30", 90}, {"0:05", 5}, {"12:00", 720}, {"90", 90},  {" 60:00 ", 3600}, {"1:5", {}},
        {"1:60", {}}, {"1.5", {}}, {":30", {}},    {"abc", {}}, {"", {}},
    };
    for (const auto& [text, expected] : times)
        EXPECT_EQ(secondsFromText(QString::fromLatin1(text)), expected) << text;
}

TEST(TypedValues, FirstTargetFollowsUnitsAndDisplay)
{
    Machine treadmill;
    treadmill.setMachineType(QStringLiteral("Treadmill"));
    Machine elliptical;
    elliptical.setMachineType(QStringLiteral("Elliptical"));
    struct Case {
        const Machine& machine;
        const char* units;
        SpeedDisplay display;
        const char* text;
        std::optional<double> stored;
    };
    const Case cases[] = {
        {treadmill, "Miles", SpeedDisplay::Value, "6.5", 6.5},
        {treadmill, "Kilos", SpeedDisplay::Value, "16.1", 10.0},
        {treadmill, "Miles", SpeedDisplay::Pace, "10", 6.0},
        {treadmill, "Miles", SpeedDisplay::Pace, "7:30", 8.0},
        {treadmill, "Kilos", SpeedDisplay::Pace, "6", 10.0 / kKilometresPerMile},
        {treadmill, "Miles", SpeedDisplay::Pace, "0", {}},
        {treadmill, "Miles", SpeedDisplay::Value, "fast", {}},
        {elliptical, "Kilos", SpeedDisplay::Value, "4", 4.0},
    };
    for (const Case& c : cases) {
        Machine machine = c.machine;
        machine.setDisplayUnits(QString::fromLatin1(c.units));
        const std::optional<double> stored =
            firstTargetFromText(machine, QString::fromLatin1(c.text), c.display);
        ASSERT_EQ(stored.has_value(), c.stored.has_value()) << c.text;
        if (stored) {
            EXPECT_NEAR(*stored, *c.stored, 1e-9) << c.text;
        }
    }
}

TEST(TypedValues, SnapsToTheStepWithinTheRange)
{
    struct Case {
        int value, min, max, step, snapped;
    };
    const Case cases[] = {
        {52, 10, 120, 5, 50}, {53, 10, 120, 5, 55}, {200, 10, 120, 5, 120}, {0, 10, 120, 5, 10},
        {57, 5, 100, 10, 55}, {61, 5, 100, 10, 65}, {99, 5, 100, 10, 95},   {100, 5, 100, 10, 100},
        {42, 42, 42, 5, 42},  {7, 0, 10, 0, 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(snapToStep(c.value, c.min, c.max, c.step), c.snapped) << c.value << " step " << c.step;
}
