#pragma once

#include "clicommand.h"

namespace kntr {

/// `wav WORKOUT.txt -o OUT.wav [--music FILE.wav ...] ...`: writes the workout
/// as a WAV workout file with control tones, spoken cues and music.
CliCommand wavCommand();

} // namespace kntr
