// The one list of kinetrova-cli's subcommands.

#include "clicommand.h"
#include "convertcommand.h"
#include "printcommand.h"
#include "mp3command.h"
#include "decodecommand.h"
#include "exportcommand.h"
#include "importcommand.h"
#include "profilecommand.h"
#include "randomcommand.h"
#include "runcommand.h"
#include "tonecommand.h"
#include "totalscommand.h"
#include "wavcommand.h"

namespace kntr {

const std::vector<CliCommand>& cliCommands()
{
    static const std::vector<CliCommand> commands = {
        profileCommand(), totalsCommand(), convertCommand(), importCommand(),
        exportCommand(),  toneCommand(),   runCommand(),     wavCommand(),
        randomCommand(),  printCommand(),  mp3Command(),     decodeCommand(),
    };
    return commands;
}

} // namespace kntr
