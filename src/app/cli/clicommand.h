#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QTextStream>

#include "model/units.h"

#include <functional>
#include <optional>
#include <vector>

namespace kntr {

class AppPaths;
class SettingsStore;

/// Exit statuses of kinetrova-cli.
enum CliStatus { kCliOk = 0, kCliFailed = 1, kCliUsage = 2 };

/// What a command may use: output streams, the user's settings, the folders.
struct CliContext {
    QTextStream& out;
    QTextStream& err;
    SettingsStore& settings;
    const AppPaths& paths;
};

struct CliCommand;
class Machine;

/// The parsed arguments of one command.
class CliArguments {
public:
    CliArguments(const CliCommand& command, const QCommandLineParser& parser, CliContext& context)
        : mCommand(command)
        , mParser(parser)
        , mContext(context)
    {
    }

    const QStringList& positional() const { return mPositional; }
    bool isSet(const QString& option) const { return mParser.isSet(option); }
    QString value(const QString& option) const { return mParser.value(option); }
    bool isSet(const QCommandLineOption& option) const { return mParser.isSet(option); }
    QString value(const QCommandLineOption& option) const { return mParser.value(option); }
    QStringList values(const QString& option) const { return mParser.values(option); }

    static constexpr int kNotGiven = -1;
    static constexpr int kBadChoice = -2;
    /// Which of choices (compared without regard to case) the option's value is,
    /// by index; kNotGiven without the option. Any other value is reported as
    /// "--option takes A, B or C" and gives kBadChoice; return kCliUsage then.
    int choice(const QString& option, const QStringList& choices) const;
    /// The units option (miles or km): nothing when it is not given. Any other
    /// value is reported as choice() reports it and sets bad.
    std::optional<Units> units(const QString& option, bool& bad) const;

    /// The machine type option's value as one of machine's types (compared
    /// without regard to case): the type, or an empty text after reporting
    /// "unknown machine type 'X' (one of: ...)" as a usage error.
    QString machineType(const QString& option, const Machine& machine) const;

    /// Reports a bad argument: one line and the command's usage on stderr. Returns kCliUsage.
    int usageError(const QString& message) const;
    /// Reports a failure: one line on stderr. Returns kCliFailed.
    int failure(const QString& message) const;

private:
    friend int runCli(const QStringList&, CliContext&);
    const CliCommand& mCommand;
    const QCommandLineParser& mParser;
    CliContext& mContext;
    QStringList mPositional;
};

/// One subcommand: its name, how it is called, its options and what it does.
struct CliCommand {
    QString name;
    QString synopsis; ///< arguments after the name, e.g. "FILE.txt [--units miles|km]"
    QString description; ///< one line; more lines after it show only in the command's --help
    std::vector<QCommandLineOption> options;
    int minPositional = 0;
    int maxPositional = 0;
    std::function<int(const CliArguments&, CliContext&)> run;
};

/// Every subcommand of kinetrova-cli, in the order --help lists them.
const std::vector<CliCommand>& cliCommands();

/// Runs kinetrova-cli with the arguments after the program name.
int runCli(const QStringList& arguments, CliContext& context);

} // namespace kntr
