#include "randomdraws.h"

#include "platform/clock.h"

namespace kntr {

namespace {

std::uint32_t clockSeed(const Clock& clock)
{
    const auto wall = static_cast<std::uint64_t>(clock.now().toMSecsSinceEpoch());
    const auto tick = static_cast<std::uint64_t>(clock.tickMs());
    const std::uint64_t mixed = wall ^ (tick * 0x9E3779B97F4A7C15ull);
    return static_cast<std::uint32_t>(mixed ^ (mixed >> 32));
}

} // namespace

RandomDraws::RandomDraws(std::uint32_t seed)
    : mEngine(seed)
{
}

RandomDraws::RandomDraws(const Clock& clock)
    : mEngine(clockSeed(clock))
    , mClock(&clock)
{
}

float RandomDraws::draw()
{
    // The top 24 bits: exactly representable, so the result never rounds up to 1.
    return static_cast<float>(mEngine() >> 8) * (1.0f / 16777216.0f);
}

void RandomDraws::reseed()
{
    if (!mClock)
        return;
    // The engine's own next output goes into the new seed, so equal clock
    // readings still lead on to new draws.
    mEngine.seed(mEngine() ^ clockSeed(*mClock));
}

} // namespace kntr
