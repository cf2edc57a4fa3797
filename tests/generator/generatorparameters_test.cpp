// The generator's stored parameters: defaults, fitting to the machine, unreadable
// values, and the order in which they are stored.

#include "generator/generatorparameters.h"
#include "model/machine.h"
#include "platform/memorysettingsstore.h"
#include "testenv.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kntr;
using P = GeneratorParameters;

namespace {

/// Speed 0.5 - 10.0 in steps of 0.5, incline 0 - 15 in steps of 0.5.
Machine fiveToHundred()
{
    Machine m;
    m.setMachineType(QStringLiteral("Treadmill"));
    m.setAttOneMin(5);
    m.setAttOneMax(100);
    m.setAttOneInc(5);
    m.setAttTwoMin(0);
    m.setAttTwoMax(150);
    m.setAttTwoInc(5);
    return m;
}

void store(SettingsStore& settings, const QString& key, const QString& value)
{
    settings.SaveSetting(kAppName, QStringLiteral("RandomWork"), key, value);
}

/// Remembers the keys in the order they are written.
class KeyOrder : public MemorySettingsStore {
public:
    void SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value) override
    {
        keys << section + "/" + key;
        MemorySettingsStore::SaveSetting(application, section, key, value);
    }
    QStringList keys;
};

const QStringList kKeysInOrder = {"SpeedMax",   "SpeedMin", "optSpeed", "InclineMax", "InclineMin",
                                  "optIncline", "Time",     "Seg1Spd",  "Seg2Spd",    "SegYSpd",
                                  "SegZSpd",    "Seg1Inc",  "Seg2Inc",  "SegYInc",    "SegZInc",
                                  "Seg1Sec",    "Seg2Sec",  "SegYSec",  "SegZSec",    "BiasOne0",
                                  "BiasOne1",   "BiasOne2", "BiasTwo0", "BiasTwo1",   "BiasTwo2"};

} // namespace

TEST(GeneratorParameters, FirstStartTakesTheMachinesRangeAndTheDefaults)
{
    const P p = P::stored(MemorySettingsStore(), fiveToHundred());
    EXPECT_EQ(p.speedMin, 5);
    EXPECT_EQ(p.speedMax, 100);
    EXPECT_EQ(p.inclineMin, 0);
    EXPECT_EQ(p.inclineMax, 150);
    EXPECT_EQ(p.speedPattern, P::Random);
    EXPECT_EQ(p.inclinePattern, P::Random);
    EXPECT_EQ(p.time, 3600);
    EXPECT_EQ(p.speedBias, (std::array<int, 3>{25, 9, 65}));
    EXPECT_EQ(p.inclineBias, (std::array<int, 3>{25, 9, 65}));
    for (const FixedSegment& f : p.fixed)
        EXPECT_EQ(f, (FixedSegment{60, 5, 0}));
}

TEST(GeneratorParameters, StoredValuesAreFittedToTheMachineAndTheSliders)
{
    struct Case {
        std::vector<std::pair<QString, QString>> stored;
        std::function<int(const P&)> read;
        int expected;
    };
    const auto speedMax = [](const P& p) { return p.speedMax; };
    const auto speedMin = [](const P& p) { return p.speedMin; };
    const Case cases[] = {
        {{{"SpeedMax", "120"}}, speedMax, 100}, // after a change to a smaller machine
        {{{"SpeedMax", "47"}}, speedMax, 45}, // snapped down to the step
        {{{"SpeedMax", "52.5"}}, speedMax, 50},
        {{{"SpeedMax", "3"}}, speedMax, 5},
        {{{"SpeedMin", "47"}}, speedMin, 45},
        {{{"SpeedMin", "200"}}, speedMin, 5}, // a minimum outside falls back to the machine's
        {{{"SpeedMin", "60"}, {"SpeedMax", "40"}}, speedMax, 60},
        {{{"InclineMin", "12"}}, [](const P& p) { return p.inclineMin; }, 10},
        {{{"Time", "7200"}}, [](const P& p) { return p.time; }, 3600},
        {{{"Time", "300"}}, [](const P& p) { return p.time; }, 600},
        {{{"Time", "1230"}}, [](const P& p) { return p.time; }, 1230},
        {{{"BiasOne1", "1"}}, [](const P& p) { return p.speedBias[P::Spacing]; }, 2},
        {{{"BiasTwo2", "-5"}}, [](const P& p) { return p.inclineBias[P::Peak]; }, 0},
        {{{"BiasTwo0", "40"}}, [](const P& p) { return p.inclineBias[P::Ramp]; }, 40},
        {{{"optSpeed", "3"}}, [](const P& p) { return p.speedPattern; }, 0},
        {{{"optIncline", "2"}}, [](const P& p) { return p.inclinePattern; }, 2},
        {{{"Seg1Spd", "200"}}, [](const P& p) { return p.fixed[0].speed; }, 100},
        {{{"Seg2Inc", "47"}}, [](const P& p) { return p.fixed[1].incline; }, 47},
        {{{"SegZSec", "10"}}, [](const P& p) { return p.fixed[3].seconds; }, 30},
        {{{"SegYSec", "90"}}, [](const P& p) { return p.fixed[2].seconds; }, 90},
    };
    for (const Case& c : cases) {
        MemorySettingsStore settings;
        for (const auto& [key, value] : c.stored)
            store(settings, key, value);
        EXPECT_EQ(c.read(P::stored(settings, fiveToHundred())), c.expected)
            << c.stored.front().first.toStdString() << " = " << c.stored.front().second.toStdString();
    }
}

TEST(GeneratorParameters, TextThatIsNoNumberReadsAsTheKeysDefault)
{
    const P defaults = P::stored(MemorySettingsStore(), fiveToHundred());
    for (const QString& junk : {QStringLiteral("abc"), QStringLiteral("12abc"), QStringLiteral(""),
                                QStringLiteral("1e999"), QStringLiteral("nan")}) {
        MemorySettingsStore settings;
        for (const QString& key : kKeysInOrder)
            store(settings, key, junk);
        EXPECT_EQ(P::stored(settings, fiveToHundred()), defaults) << junk.toStdString();
    }
}

TEST(GeneratorParameters, SaveWritesTheTwentyFiveKeysInOrderAndReadsBackTheSame)
{
    P p = P::stored(MemorySettingsStore(), fiveToHundred());
    p.speedMin = 20;
    p.speedMax = 80;
    p.speedPattern = P::FastSlow;
    p.inclineMin = 10;
    p.inclineMax = 60;
    p.inclinePattern = P::Interval;
    p.time = 1500;
    p.speedBias = {1, 10, 0};
    p.inclineBias = {100, 2, 100};
    p.fixed = {FixedSegment{30, 10, 5}, FixedSegment{45, 15, 10}, FixedSegment{120, 25, 15},
               FixedSegment{240, 5, 0}};

    KeyOrder settings;
    p.save(settings);
    QStringList expected;
    for (const QString& key : kKeysInOrder)
        expected << "RandomWork/" + key;
    EXPECT_EQ(settings.keys, expected);
    EXPECT_EQ(settings.GetSetting(kAppName, "RandomWork", "SpeedMax"), "80");
    EXPECT_EQ(P::stored(settings, fiveToHundred()), p);
}
