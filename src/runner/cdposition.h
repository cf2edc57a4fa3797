#pragma once

#include <QString>

namespace kntr {

/// Where a paused CD goes on playing so that its music keeps pace with the clock:
/// the saved "mm:ss:ff…" position moved on by the milliseconds the pause lasted.
/// Minutes and seconds are rewritten with two digits (more minutes as needed);
/// the frames and whatever followed them are kept as they were.
QString cdResumePosition(const QString& saved, qint64 pausedMs);

} // namespace kntr
