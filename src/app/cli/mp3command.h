#pragma once

#include "clicommand.h"

namespace kntr {

/// `mp3 WORKOUT.txt -o OUT.mp3 [--music FILE.mp3 ...] ...`: writes the workout
/// as an MP3 workout file with control tones, spoken cues and music.
CliCommand mp3Command();

} // namespace kntr
