#pragma once

#include <cstdint>
#include <random>

namespace kntr {

class Clock;

/// The random numbers of the workout generator: uniform draws in [0, 1).
///
/// Seeded with a number, the draws are the same on every machine and with
/// every library: the engine's output is fixed by the standard and the
/// conversion to [0, 1) is done here. Seeded from a clock, every reseed mixes
/// the clock's time into the state; a reseed never starts the sequence over,
/// even when the clock has not moved since the last one.
class RandomDraws {
public:
    /// A fixed sequence for the seed; reseed() leaves it alone.
    explicit RandomDraws(std::uint32_t seed);
    /// Seeded from the clock now, and from it again at every reseed(). The
    /// clock must outlive the draws.
    explicit RandomDraws(const Clock& clock);

    /// The next draw, a multiple of 2^-24 in [0, 1).
    float draw();
    /// Mixes the clock's current time into the state (nothing with a fixed seed).
    void reseed();

private:
    std::mt19937 mEngine;
    const Clock* mClock = nullptr;
};

} // namespace kntr
