#pragma once

#include <QString>

namespace kntr {

/// What a command's values, as sent, ask of a machine: the two targets in whole
/// units (speed 6.5, incline 4.5) or the stop command. It undoes the machine-type
/// adjustment of the encoder as far as the 8 bits of a frame allow: a second
/// value code from 141 to 212 is read as a half-percent step above 14, as the
/// consoles read it.
struct CommandTargets {
    bool stop = false;
    /// Attribute one and attribute two of the machine type.
    double first = 0.0;
    double second = 0.0;
    /// Their names for the machine type: "speed", "incline", "resistance".
    QString firstName;
    QString secondName;

    static CommandTargets fromSent(const QString& machineType, int first, int second);

    /// "speed 6.5, incline 4.5", or "stop".
    QString text() const;
};

} // namespace kntr
