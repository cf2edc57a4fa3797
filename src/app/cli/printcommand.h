#pragma once

#include "clicommand.h"

namespace kntr {

/// `print WORKOUT.txt -o OUT.pdf [--copies N] [--date YYYY-MM-DD]`: the workout sheet File > Print
/// prints, written as a PDF file, one page per copy.
CliCommand printCommand();

} // namespace kntr
