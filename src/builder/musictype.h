#pragma once

#include "musicentry.h"
#include "workoutfiletype.h"

#include <QStorageInfo>

#include <vector>

namespace kntr {

/// The refusal for music of the other kind in a workout file of type, or empty
/// when every file of the list is of the file's own kind.
inline QString musicTypeProblem(const std::vector<MusicEntry>& music, WorkoutFileType type)
{
    const QString own = workoutFileTypeName(type);
    for (const MusicEntry& entry : music) {
        if (entry.path.right(3).toLower() != own)
            return QStringLiteral("Cannot use a %1 file in a %2 workout.\r"
                                  "Please delete file and try again or try \ra different selection.")
                .arg(type == WorkoutFileType::Mp3 ? QStringLiteral("WAV") : QStringLiteral("MP3"),
                     own.toUpper());
    }
    return {};
}

/// The bytes the user may still write in folder, or -1 when that is not known.
inline qint64 freeSpaceIn(const QString& folder)
{
    const QStorageInfo storage(folder);
    return storage.isValid() && storage.isReady() ? storage.bytesAvailable() : qint64{-1};
}

} // namespace kntr
