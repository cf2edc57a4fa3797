#pragma once

// Finds control tones in a recording, for tests and benchmarks that listen to
// what was really played.

#include "tones/controltones.h"

#include <QtGlobal>

#include <cstdlib>
#include <vector>

namespace kntr::test {

constexpr int kSymbol = ControlTones::kSamplesPerSymbol;
constexpr int kLoud = 1500;

/// The tones in a recording (left channel): where each begins, in samples, and
/// its burst pattern, one flag per symbol, up to the first second of silence.
struct HeardTone {
    qint64 start;
    std::vector<bool> symbols;
};

inline std::vector<HeardTone> heardTones(const std::vector<qint16>& stereo)
{
    std::vector<HeardTone> tones;
    const qint64 frames = static_cast<qint64>(stereo.size() / 2);
    const auto loudSymbol = [&](qint64 at) {
        for (qint64 i = at; i < std::min(at + kSymbol, frames); ++i)
            if (std::abs(stereo[2 * i]) > kLoud)
                return true;
        return false;
    };
    for (qint64 i = 0; i < frames; ++i) {
        if (std::abs(stereo[2 * i]) <= kLoud)
            continue;
        HeardTone tone{i, {}};
        qint64 quiet = 0;
        for (qint64 at = i; at < frames && quiet < ControlTones::kSampleRate / kSymbol; at += kSymbol) {
            const bool loud = loudSymbol(at);
            tone.symbols.push_back(loud);
            quiet = loud ? 0 : quiet + 1;
        }
        while (!tone.symbols.empty() && !tone.symbols.back())
            tone.symbols.pop_back();
        i += static_cast<qint64>(tone.symbols.size() + quiet) * kSymbol;
        tones.push_back(std::move(tone));
    }
    return tones;
}

} // namespace kntr::test
