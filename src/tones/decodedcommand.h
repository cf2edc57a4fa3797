#pragma once

namespace kntr {

/// One control-tone command found in audio: where it starts and the three values
/// its frames carry, as they were sent (the low 8 bits, after the machine-type
/// adjustment).
struct DecodedCommand {
    /// Start of the tone image (its lead-in silence), in seconds from the start of the audio.
    double seconds = 0.0;
    int first = 0;
    int second = 0;
    int check = 0;
    /// The check value is the low 8 bits of first + second.
    bool checkHolds = false;
    /// The second frame set carries the same three values as the first (and, for
    /// a tone played twice, the second tone the same as the first).
    bool repeatMatched = false;
    /// 2 when the whole tone follows again at once (the two-beep option).
    int beeps = 1;

    bool clean() const { return checkHolds && repeatMatched; }
};

} // namespace kntr
