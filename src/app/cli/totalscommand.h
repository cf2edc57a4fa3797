#pragma once

#include "clicommand.h"

namespace kntr {

/// `totals FILE.txt [--units miles|km] [--weight POUNDS]`: the segment count and
/// the totals the main window shows for a workout file.
CliCommand totalsCommand();

} // namespace kntr
