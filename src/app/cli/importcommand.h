#pragma once

#include "clicommand.h"

namespace kntr {

/// `import FILE.csv -o OUT.txt [--units miles|km]`: reads a workout table and
/// writes it as a version 1.2 workout file for the stored machine.
CliCommand importCommand();

} // namespace kntr
