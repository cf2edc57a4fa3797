#include "generatorparameters.h"

#include "model/machine.h"
#include "model/storedsettings.h"
#include "model/numbers.h"
#include "platform/settingsstore.h"

#include <QLocale>
#include <QString>

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>

namespace kntr {

namespace {

const char* const kFixedSpeedKeys[] = {"Seg1Spd", "Seg2Spd", "SegYSpd", "SegZSpd"};
const char* const kFixedInclineKeys[] = {"Seg1Inc", "Seg2Inc", "SegYInc", "SegZInc"};
const char* const kFixedSecondsKeys[] = {"Seg1Sec", "Seg2Sec", "SegYSec", "SegZSec"};
const char* const kSpeedBiasKeys[] = {"BiasOne0", "BiasOne1", "BiasOne2"};
const char* const kInclineBiasKeys[] = {"BiasTwo0", "BiasTwo1", "BiasTwo2"};

/// The machine's range of one attribute as its sliders take it.
struct AttributeRange {
    int min, max, step;
};

AttributeRange attributeRange(int min, int max, int step)
{
    return {min, std::max(min, max), std::max(1, step)};
}

/// Reads the settings of the generator; a value that is absent or no number
/// reads as the key's default.
class StoredValues {
public:
    explicit StoredValues(const SettingsStore& settings)
        : mSettings(settings)
    {
    }

    /// The stored number, or nothing when the key is absent or holds no number.
    std::optional<double> number(const char* key) const
    {
        const QString text = GeneratorSettings(mSettings).valueText(QLatin1String(key)).trimmed();
        bool ok = false;
        const double v = QLocale::c().toDouble(text, &ok);
        if (!ok || !std::isfinite(v))
            return std::nullopt;
        return v;
    }
    /// The stored value as a whole number (halves to even), else fallback.
    int whole(const char* key, int fallback) const
    {
        const std::optional<double> v = number(key);
        if (!v)
            return fallback;
        // Far beyond any slider, but within int: the callers keep it in range.
        return static_cast<int>(roundHalfEven(std::clamp(*v, -1e9, 1e9)));
    }
    int within(const char* key, int fallback, int min, int max) const
    {
        return std::clamp(whole(key, fallback), min, max);
    }

private:
    const SettingsStore& mSettings;
};

void saveNumber(SettingsStore& settings, const char* key, int value)
{
    GeneratorSettings(settings).setValue(QLatin1String(key), value);
}

/// The minimum and maximum of one attribute's range as the window's
/// initialisation leaves them: a stored minimum outside the machine's range
/// falls back to the machine's minimum, a stored maximum outside it is held
/// at the nearer end, both are snapped to the step, and the maximum is never
/// below the minimum.
std::pair<int, int> storedRange(const StoredValues& stored, const char* minKey, const char* maxKey,
                                const AttributeRange& machine)
{
    int min = machine.min;
    if (const std::optional<double> v = stored.number(minKey); v && *v >= machine.min && *v <= machine.max)
        min = static_cast<int>(roundHalfEven(*v));
    min = snapRangeValue(min, machine.step, machine.min, machine.max);

    const int max = snapRangeValue(stored.within(maxKey, machine.max, machine.min, machine.max), machine.step,
                                   machine.min, machine.max);
    return {min, std::max(min, max)};
}

} // namespace

int snapRangeValue(int value, int step, int min, int max)
{
    step = std::max(1, step);
    // Down to a multiple of the step, also below zero.
    const int floored = value >= 0 ? value / step * step : -((-value + step - 1) / step) * step;
    return std::clamp(floored, min, std::max(min, max));
}

GeneratorParameters GeneratorParameters::stored(const SettingsStore& settings, const Machine& machine)
{
    const StoredValues stored(settings);
    const AttributeRange one = attributeRange(machine.AttOneMin(), machine.AttOneMax(), machine.AttOneInc());
    const AttributeRange two = attributeRange(machine.AttTwoMin(), machine.AttTwoMax(), machine.AttTwoInc());

    GeneratorParameters p;
    std::tie(p.speedMin, p.speedMax) = storedRange(stored, "SpeedMin", "SpeedMax", one);
    std::tie(p.inclineMin, p.inclineMax) = storedRange(stored, "InclineMin", "InclineMax", two);
    p.time = stored.within("Time", kMaxTime, kMinTime, kMaxTime);

    for (int i = 0; i < 3; ++i) {
        p.speedBias[i] = stored.within(kSpeedBiasKeys[i], kBiasDefault[i], kBiasMin[i], kBiasMax[i]);
        p.inclineBias[i] = stored.within(kInclineBiasKeys[i], kBiasDefault[i], kBiasMin[i], kBiasMax[i]);
    }

    // An index that names no option leaves the first one set.
    const auto pattern = [&stored](const char* key) {
        const int index = stored.whole(key, Random);
        return index >= 0 && index < kPatternCount ? index : int(Random);
    };
    p.speedPattern = pattern("optSpeed");
    p.inclinePattern = pattern("optIncline");

    for (int k = 0; k < 4; ++k) {
        FixedSegment& f = p.fixed[k];
        f.speed = stored.within(kFixedSpeedKeys[k], one.min, one.min, one.max);
        f.incline = stored.within(kFixedInclineKeys[k], two.min, two.min, two.max);
        f.seconds = stored.within(kFixedSecondsKeys[k], 60, kMinFixedSeconds, kMaxFixedSeconds);
    }
    return p;
}

void GeneratorParameters::save(SettingsStore& settings) const
{
    saveNumber(settings, "SpeedMax", speedMax);
    saveNumber(settings, "SpeedMin", speedMin);
    saveNumber(settings, "optSpeed", speedPattern);
    saveNumber(settings, "InclineMax", inclineMax);
    saveNumber(settings, "InclineMin", inclineMin);
    saveNumber(settings, "optIncline", inclinePattern);
    saveNumber(settings, "Time", time);
    for (int k = 0; k < 4; ++k)
        saveNumber(settings, kFixedSpeedKeys[k], fixed[k].speed);
    for (int k = 0; k < 4; ++k)
        saveNumber(settings, kFixedInclineKeys[k], fixed[k].incline);
    for (int k = 0; k < 4; ++k)
        saveNumber(settings, kFixedSecondsKeys[k], fixed[k].seconds);
    for (int i = 0; i < 3; ++i)
        saveNumber(settings, kSpeedBiasKeys[i], speedBias[i]);
    for (int i = 0; i < 3; ++i)
        saveNumber(settings, kInclineBiasKeys[i], inclineBias[i]);
}

} // namespace kntr
