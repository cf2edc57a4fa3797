// The one list of kinetrova-cli's subcommands.

#include "clicommand.h"
#include "profilecommand.h"
#include "tonecommand.h"

namespace kntr {

const std::vector<CliCommand>& cliCommands()
{
    static const std::vector<CliCommand> commands = {
        profileCommand(),
        toneCommand(),
    };
    return commands;
}

} // namespace kntr
