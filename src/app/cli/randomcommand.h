#pragma once

#include "clicommand.h"

namespace kntr {

/// `random -o OUT.txt [--minutes N] [--speed MIN-MAX] [--incline MIN-MAX] ...`:
/// a random workout made as the generator window makes it, written as a
/// version 1.2 workout file for the stored machine.
CliCommand randomCommand();

} // namespace kntr
