#include "clicommand.h"

#include "model/machine.h"

#include "version.h"

namespace kntr {

namespace {

const QString kProgram = QStringLiteral("kinetrova-cli");

QString commandUsage(const CliCommand& command)
{
    return QStringLiteral("Usage: %1 %2 %3").arg(kProgram, command.name, command.synopsis).trimmed();
}

void printMainHelp(QTextStream& out)
{
    out << "Usage: " << kProgram << " COMMAND [ARGUMENTS]\n"
        << "       " << kProgram << " --help | --version\n\n"
        << "Kinetrova's headless companion: works with workouts, control tones and\n"
        << "settings without opening a window.\n\nCommands:\n";
    for (const CliCommand& c : cliCommands())
        out << "  " << c.name.leftJustified(10) << ' ' << c.description.section(QLatin1Char('\n'), 0, 0)
            << '\n';
    out << "\nRun '" << kProgram << " COMMAND --help' for a command's arguments.\n";
}

void printCommandHelp(QTextStream& out, const CliCommand& command)
{
    out << commandUsage(command) << "\n\n" << command.description << '\n';
    if (command.options.empty())
        return;
    out << "\nOptions:\n";
    for (const QCommandLineOption& o : command.options) {
        QString names;
        for (const QString& n : o.names())
            names += (names.isEmpty() ? QString() : QStringLiteral(", "))
                + (n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n;
        if (!o.valueName().isEmpty())
            names += QLatin1Char(' ') + o.valueName();
        out << "  " << names.leftJustified(22) << ' ' << o.description() << '\n';
    }
}

int mainUsageError(QTextStream& err, const QString& message)
{
    err << kProgram << ": " << message << '\n'
        << "Usage: " << kProgram << " COMMAND [ARGUMENTS]   (see --help)\n";
    return kCliUsage;
}

} // namespace

int CliArguments::choice(const QString& option, const QStringList& choices) const
{
    if (!isSet(option))
        return kNotGiven;
    const int index = static_cast<int>(choices.indexOf(value(option).toLower()));
    if (index >= 0)
        return index;
    const QString listed = choices.size() < 2 ? choices.join(QString())
                                              : choices.mid(0, choices.size() - 1).join(QStringLiteral(", "))
            + QStringLiteral(" or ") + choices.last();
    usageError(QStringLiteral("--%1 takes %2").arg(option, listed));
    return kBadChoice;
}

std::optional<Units> CliArguments::units(const QString& option, bool& bad) const
{
    const int unit = choice(option, {QStringLiteral("miles"), QStringLiteral("km")});
    bad = unit == kBadChoice;
    if (unit < 0)
        return std::nullopt;
    return unit == 1 ? Units::Kilometres : Units::Miles;
}

QString CliArguments::machineType(const QString& option, const Machine& machine) const
{
    const QString wanted = value(option);
    for (const QString& type : machine.MachineTypes())
        if (type.compare(wanted, Qt::CaseInsensitive) == 0)
            return type;
    usageError(QStringLiteral("unknown machine type '%1' (one of: %2)")
                   .arg(wanted, machine.MachineTypes().join(QStringLiteral(", "))));
    return {};
}

int CliArguments::usageError(const QString& message) const
{
    mContext.err << kProgram << ' ' << mCommand.name << ": " << message << '\n'
                 << commandUsage(mCommand) << '\n';
    return kCliUsage;
}

int CliArguments::failure(const QString& message) const
{
    mContext.err << kProgram << ' ' << mCommand.name << ": " << message << '\n';
    return kCliFailed;
}

int runCli(const QStringList& arguments, CliContext& context)
{
    if (arguments.isEmpty())
        return mainUsageError(context.err, QStringLiteral("no command given"));

    const QString& first = arguments.first();
    if (first == QLatin1String("--help") || first == QLatin1String("-h") || first == QLatin1String("help")) {
        printMainHelp(context.out);
        return kCliOk;
    }
    if (first == QLatin1String("--version")) {
        context.out << kProgram << ' ' << kVersion << " (build " << kBuildNumber << ")\n";
        return kCliOk;
    }

    const CliCommand* command = nullptr;
    for (const CliCommand& c : cliCommands())
        if (c.name == first)
            command = &c;
    if (!command)
        return mainUsageError(context.err, QStringLiteral("unknown command '%1'").arg(first));

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(help);
    for (const QCommandLineOption& o : command->options)
        parser.addOption(o);

    CliArguments args(*command, parser, context);
    // The parser expects the program name first.
    if (!parser.parse(QStringList{kProgram} + arguments.mid(1)))
        return args.usageError(parser.errorText());
    if (parser.isSet(help)) {
        printCommandHelp(context.out, *command);
        return kCliOk;
    }
    args.mPositional = parser.positionalArguments();
    const int n = args.mPositional.size();
    if (n < command->minPositional)
        return args.usageError(QStringLiteral("missing argument"));
    if (n > command->maxPositional)
        return args.usageError(
            QStringLiteral("unexpected argument '%1'").arg(args.mPositional.at(command->maxPositional)));
    return command->run(args, context);
}

} // namespace kntr
