#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace kntr {

/// The value sent as both halves of the stop command (paused, stopped, workout over).
inline constexpr std::int16_t kStopCommandValue = 252;
/// The code sent in place of a second value of 0 and of the first value 10 on an
/// "Elliptical Type A".
inline constexpr std::int16_t kZeroCode = 245;
/// The two symbols every frame starts with.
inline const QString kFramePrefix = QStringLiteral("01");

/// The three 10-symbol frames of one command: first value, second value, check value.
using CommandFrames = std::array<QString, 3>;

/// Adjusts a command's two values (tenths) in place for the machine type: the
/// elliptical swap and scaling, then the half-percent steps of large second values
/// and the code for a second value of 0. The stop command is never swapped.
void AdjustCommand(const QString& machineType, std::int16_t& first, std::int16_t& second);

/// The frame of a value: the prefix, then bits 0 to 7 of the value, least
/// significant first. Higher bits are dropped; 0 gives the prefix and eight "0"s
/// and a negative value sends its low 8 bits (two's complement).
QString CommandBits(const QString& prefix, int value);

/// Adjusts the two values for the machine type and returns the frames of the
/// adjusted first value, the adjusted second value and their sum.
CommandFrames EncodeCommand(const QString& machineType, std::int16_t first, std::int16_t second);

} // namespace kntr
