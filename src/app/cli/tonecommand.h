#pragma once

#include "clicommand.h"

namespace kntr {

/// `tone`: writes the control-tone WAV image of a command, or plays it.
CliCommand toneCommand();

} // namespace kntr
