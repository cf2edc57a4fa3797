#pragma once

#include "clicommand.h"

namespace kntr {

/// `export WORKOUT.txt -o OUT.csv [--units miles|km]`: writes a workout's
/// segments as a table that `import` reads back.
CliCommand exportCommand();

} // namespace kntr
