#pragma once

#include "clicommand.h"

namespace kntr {

/// `profile`: prints the stored machine profile.
CliCommand profileCommand();

} // namespace kntr
