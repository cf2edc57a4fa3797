#pragma once

#include "clicommand.h"

namespace kntr {

/// kinetrova-cli run: runs a workout live through the sound card, as Start does.
CliCommand runCommand();

} // namespace kntr
