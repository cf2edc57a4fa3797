#pragma once

#include <QString>

namespace kntr {

/// The two kinds of workout audio file, numbered as the Audio menu's entries.
enum class WorkoutFileType { Mp3 = 0, Wav = 1 };

/// "mp3" or "wav": the extension and the name used in the builder's texts.
inline QString workoutFileTypeName(WorkoutFileType type)
{
    return type == WorkoutFileType::Mp3 ? QStringLiteral("mp3") : QStringLiteral("wav");
}

} // namespace kntr
