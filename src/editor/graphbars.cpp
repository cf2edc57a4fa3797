#include "graphbars.h"

#include "graphgeometry.h"
#include "graphpalette.h"

#include "model/workout.h"

#include <QPainter>

#include <algorithm>

namespace kntr {

void paintGraphBars(QPainter& painter, const QRect& area, const Workout& workout, const ColumnWidths& widths,
                    int highlighted, int speedTop, int inclineTop, const QColor& background)
{
    painter.save();
    painter.fillRect(area, background);
    const bool dark = isDarkBackground(background);

    const std::vector<ColumnSpan> spans = columnSpans(widths, area.width());
    const int count = std::min(workout.count(), static_cast<int>(spans.size()));
    const int height = area.height();
    painter.translate(area.topLeft());
    painter.setClipRect(QRect(QPoint(0, 0), area.size()), Qt::IntersectClip);

    auto drawIncline = [&](int i) {
        const BarColours colours = barColours(i == highlighted, dark);
        const int y = valueToY(workout.segment(i).SegmentIncline(), inclineTop, height);
        painter.fillRect(QRect(spans[i - 1].left, y, spans[i - 1].width, height - y), colours.incline);
    };
    for (int i = count; i >= 1; --i) {
        const BarColours colours = barColours(i == highlighted, dark);
        const int y = valueToY(workout.segment(i).SegmentSpeed(), speedTop, height);
        painter.fillRect(QRect(spans[i - 1].left, y, spans[i - 1].width, height - y), colours.speed);
        drawIncline(i);
    }
    // Incline bars once more, so that no speed bar covers an incline bar.
    for (int i = count; i >= 1; --i)
        drawIncline(i);
    painter.restore();
}

} // namespace kntr
