#pragma once

#include "clicommand.h"

namespace kntr {

/// kinetrova-cli decode: the control tones in a WAV or MP3 file, read back.
CliCommand decodeCommand();

} // namespace kntr
