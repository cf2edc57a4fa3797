#pragma once

#include <QByteArray>
#include <QString>

namespace kntr {

/// The first line of a user file: the magic, version 1.1, padded to 26 characters.
extern const char* const kUserMagicLine;

/// What reading a user file's text gave.
struct UserTextResult {
    enum class Status { Ok, NotRecognised, Malformed };
    Status status = Status::Ok;
    QString problem; ///< for Malformed: what is wrong
    QString workoutPath;
    int weightPounds = 0; ///< the weight line rounded to a whole pound, halves to even
};

/// The three lines of a user file: magic, workout path, weight in pounds; CR LF line ends.
QByteArray buildUserText(const QString& workoutPath, int weightPounds);

/// Reads a user file's text. NotRecognised when the magic is missing; Malformed
/// when the workout or weight line does not end with CR or the weight does not
/// fit a 16-bit integer.
UserTextResult parseUserText(const QByteArray& text);

/// The number at the start of text, as far as it reads as one ("165.7 lb" → 165.7,
/// "abc" → 0); leading blanks are skipped and "." is the decimal point.
double leadingNumber(const QByteArray& text);

} // namespace kntr
