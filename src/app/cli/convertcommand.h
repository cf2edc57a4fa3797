#pragma once

#include "clicommand.h"

namespace kntr {

/// `convert IN.txt -o OUT.txt`: reads a workout file of any version and writes it as version 1.2.
CliCommand convertCommand();

} // namespace kntr
