#include "mastergain.h"

#include <algorithm>
#include <cmath>

namespace kntr {

void MasterGain::setLevel(unsigned level)
{
    level = std::min(level, kMaximum);
    if (level == mLevel)
        return;
    mLevel = level;
    emit changed();
}

void MasterGain::setMuted(bool muted)
{
    if (muted == mMuted)
        return;
    mMuted = muted;
    emit changed();
}

double MasterGain::gain() const
{
    if (mMuted || mLevel == 0)
        return 0.0;
    if (mLevel >= kMaximum)
        return 1.0;
    // The level reads as loudness (the curve of Qt's logarithmic volume scale):
    // 90 % of the range is half the amplitude, 50 % about a sixth.
    const double v = static_cast<double>(mLevel) / kMaximum;
    return std::min(1.0, -std::log(1.0 - v) / std::log(100.0));
}

} // namespace kntr
