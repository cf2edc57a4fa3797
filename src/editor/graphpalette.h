#pragma once

#include <QColor>

namespace kntr {

/// The fill colours of one column of the profile graph.
struct BarColours {
    QColor speed;
    QColor incline;
};

/// Whether a window background counts as dark, so that the bars take their
/// bright variant: black, and any colour too dark for the grey and maroon bars.
bool isDarkBackground(const QColor& background);

/// The colours of an ordinary or the current column on a light or dark background.
BarColours barColours(bool current, bool darkBackground);

} // namespace kntr
