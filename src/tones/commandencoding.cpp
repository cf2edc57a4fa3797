#include "commandencoding.h"

#include "model/machine.h"
#include "model/numbers.h"

namespace kntr {

void AdjustCommand(const QString& machineType, std::int16_t& first, std::int16_t& second)
{
    const bool stop = first == kStopCommandValue || second == kStopCommandValue;
    if (!stop) {
        if (machineKind(machineType) == MachineKind::Elliptical) {
            // Resistance and incline trade places: the console takes incline ÷ 5 first.
            const std::int16_t oldFirst = first;
            first = static_cast<std::int16_t>(roundHalfEven(second / 10.0 * 2.0));
            second = oldFirst;
        } else if (machineKind(machineType) == MachineKind::EllipticalTypeA) {
            first = first == 10 ? kZeroCode : static_cast<std::int16_t>(roundHalfEven(first / 2.0));
        }
    }

    if (second < 145 || second > 500) {
        if (second == 0)
            second = kZeroCode;
    } else if (second % 5 == 0) {
        // Inclines above 14 % go in half-percent steps from code 141 on.
        second = static_cast<std::int16_t>((second - 140) / 5 + 140);
    }
}

QString CommandBits(const QString& prefix, int value)
{
    QString frame = prefix;
    frame.reserve(prefix.size() + 8);
    const unsigned bits = static_cast<unsigned>(value) & 0xFFu;
    for (int bit = 0; bit < 8; ++bit)
        frame += (bits >> bit) & 1u ? QLatin1Char('1') : QLatin1Char('0');
    return frame;
}

CommandFrames EncodeCommand(const QString& machineType, std::int16_t first, std::int16_t second)
{
    AdjustCommand(machineType, first, second);
    // The check value is a 16-bit sum; only its low 8 bits are sent.
    const auto check = static_cast<std::int16_t>(static_cast<std::uint16_t>(first + second));
    return {CommandBits(kFramePrefix, first), CommandBits(kFramePrefix, second),
            CommandBits(kFramePrefix, check)};
}

} // namespace kntr
