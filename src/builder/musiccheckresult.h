#pragma once

#include "musicentry.h"

#include <QString>

namespace kntr {

/// What a music file check decided: the file is admitted with its entry, or
/// rejected with the message the user is shown, or could not be read at all.
struct MusicCheckResult {
    enum class Verdict { Admitted, Rejected, Unreadable };

    Verdict verdict = Verdict::Unreadable;
    MusicEntry entry; ///< filled when admitted
    QString message; ///< the rejection message; for an unreadable file, the reason

    bool admitted() const { return verdict == Verdict::Admitted; }
};

} // namespace kntr
