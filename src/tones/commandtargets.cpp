#include "commandtargets.h"

#include "commandencoding.h"

#include "model/machine.h"

namespace kntr {

namespace {

// The second-value code back to tenths.
int secondTenths(int code)
{
    if (code == kZeroCode)
        return 0;
    if (code >= 141 && code <= 212)
        return (code - 140) * 5 + 140;
    return code;
}

} // namespace

CommandTargets CommandTargets::fromSent(const QString& machineType, int first, int second)
{
    CommandTargets targets;
    Machine machine;
    machine.setMachineType(machineType);
    targets.firstName = machine.AttOneVoiceCue().trimmed().toLower();
    targets.secondName = machine.AttTwoVoiceCue().trimmed().toLower();
    if (targets.firstName.isEmpty())
        targets.firstName = QStringLiteral("first");
    if (targets.secondName.isEmpty())
        targets.secondName = QStringLiteral("second");

    if (first == kStopCommandValue && second == kStopCommandValue) {
        targets.stop = true;
        return targets;
    }
    int one = first;
    int two = secondTenths(second);
    if (machineKind(machineType) == MachineKind::Elliptical) {
        // Sent as incline ÷ 5 first and resistance second.
        one = two;
        two = first * 5;
    } else if (machineKind(machineType) == MachineKind::EllipticalTypeA) {
        one = first == kZeroCode ? 10 : first * 2;
    }
    targets.first = one / 10.0;
    targets.second = two / 10.0;
    return targets;
}

QString CommandTargets::text() const
{
    if (stop)
        return QStringLiteral("stop");
    return firstName + QLatin1Char(' ') + QString::number(first, 'f', 1) + QStringLiteral(", ") + secondName
        + QLatin1Char(' ') + QString::number(second, 'f', 1);
}

} // namespace kntr
