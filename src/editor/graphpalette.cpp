#include "graphpalette.h"

namespace kntr {

bool isDarkBackground(const QColor& background)
{
    return background.lightness() < 64;
}

BarColours barColours(bool current, bool darkBackground)
{
    if (darkBackground) {
        if (current)
            return {QColor(255, 255, 0), QColor(255, 0, 0)};
        return {QColor(0, 0, 255), QColor(0, 255, 0)};
    }
    if (current)
        return {QColor(0, 0, 255), QColor(255, 0, 0)};
    return {QColor(160, 160, 160), QColor(128, 0, 0)};
}

} // namespace kntr
