#include "profilecommand.h"

#include "model/machine.h"
#include "model/numbers.h"

namespace kntr {

namespace {

QString range(int min, int max, int inc)
{
    return QStringLiteral("%1 to %2 in steps of %3")
        .arg(plainNumber(min / 10.0), plainNumber(max / 10.0), plainNumber(inc / 10.0));
}

int run(const CliArguments&, CliContext& context)
{
    Machine machine;
    machine.GetSettings(context.settings);
    machine.setMachineType(machine.MachineType());
    const auto label = [](const QString& name, const char* fallback) {
        return ((name.isEmpty() ? QLatin1String(fallback) : name) + QLatin1Char(':')).leftJustified(15);
    };
    context.out << label(QStringLiteral("Machine type"), "") << machine.MachineType() << '\n'
                << label(QStringLiteral("Units"), "") << machine.DisplayUnits() << '\n'
                << label(machine.AttOneDesignLabelA(), "Attribute one")
                << range(machine.AttOneMin(), machine.AttOneMax(), machine.AttOneInc()) << '\n'
                << label(machine.AttTwoDesignLabel(), "Attribute two")
                << range(machine.AttTwoMin(), machine.AttTwoMax(), machine.AttTwoInc()) << '\n';
    return kCliOk;
}

} // namespace

CliCommand profileCommand()
{
    return {QStringLiteral("profile"),
            QString(),
            QStringLiteral("Show the stored machine profile: type, units and value ranges."),
            {},
            0,
            0,
            run};
}

} // namespace kntr
