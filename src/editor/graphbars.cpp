#include "graphbars.h"

#include "graphgeometry.h"
#include "graphpalette.h"

#include "model/workout.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace kntr {

ColumnBars columnBars(const ColumnSpan& span, int height, int speedY, int inclineY)
{
    ColumnBars bars;
    if (span.width >= kSideBySideWidth) {
        const int speedWidth = span.width / 2;
        bars.speed = QRect(span.left, speedY, speedWidth, height - speedY);
        bars.incline = QRect(span.left + speedWidth, inclineY, span.width - speedWidth, height - inclineY);
        return bars;
    }
    bars.speed = QRect(span.left, speedY, span.width, height - speedY);
    bars.incline = QRect(span.left, inclineY, span.width, height - inclineY);
    // The bar that starts lower is the shorter one.
    bars.speedInFront = speedY >= inclineY;
    return bars;
}

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

    for (int i = 1; i <= count; ++i) {
        const Segment& segment = workout.segment(i);
        const BarColours colours = barColours(i == highlighted, dark);
        const ColumnBars bars =
            columnBars(spans[i - 1], height, valueToY(segment.SegmentSpeed(), speedTop, height),
                       valueToY(segment.SegmentIncline(), inclineTop, height));
        if (bars.speedInFront) {
            painter.fillRect(bars.incline, colours.incline);
            painter.fillRect(bars.speed, colours.speed);
        } else {
            painter.fillRect(bars.speed, colours.speed);
            painter.fillRect(bars.incline, colours.incline);
        }
    }
    painter.restore();
}

void paintGraphLegend(QPainter& painter, const QRect& area, const QString& speedCaption,
                      const QString& inclineCaption, const QColor& background)
{
    const BarColours colours = barColours(false, isDarkBackground(background));
    const QFontMetrics metrics = painter.fontMetrics();
    const int line = metrics.height();
    const int square = std::max(4, metrics.ascent() - 2);
    const int pad = std::max(2, line / 4);
    const int textWidth =
        std::max(metrics.horizontalAdvance(speedCaption), metrics.horizontalAdvance(inclineCaption));
    const QSize size(pad + square + pad + textWidth + pad, pad + 2 * line + pad);
    if (size.width() > area.width() || size.height() > area.height())
        return;
    const QRect box(area.right() - pad - size.width() + 1, area.top() + pad, size.width(), size.height());

    painter.save();
    QColor fill = background;
    fill.setAlpha(220);
    painter.fillRect(box, fill);
    painter.setPen(isDarkBackground(background) ? Qt::white : Qt::black);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    const std::pair<const QColor&, const QString&> rows[] = {{colours.speed, speedCaption},
                                                             {colours.incline, inclineCaption}};
    int y = box.top() + pad;
    for (const auto& [colour, caption] : rows) {
        painter.fillRect(QRect(box.left() + pad, y + (line - square) / 2, square, square), colour);
        painter.drawText(QRect(box.left() + 2 * pad + square, y, textWidth, line),
                         Qt::AlignLeft | Qt::AlignVCenter, caption);
        y += line;
    }
    painter.restore();
}

} // namespace kntr
