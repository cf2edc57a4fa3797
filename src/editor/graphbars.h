#pragma once

#include "graphgeometry.h"

#include <QRect>

class QColor;
class QPainter;
class QString;

namespace kntr {

class Workout;

/// Where the two bars of one column stand, in graph pixels.
struct ColumnBars {
    QRect speed;
    QRect incline;
    /// Which of the two is painted last, over the other.
    bool speedInFront = true;
};

/// The bars of a column of span on a graph of height pixels, for bars starting
/// at rows speedY and inclineY. A column of at least kSideBySideWidth pixels
/// holds the bars side by side, the speed on the left; a narrower one holds both
/// across its width with the shorter bar in front, so that both always show.
ColumnBars columnBars(const ColumnSpan& span, int height, int speedY, int inclineY);
inline constexpr int kSideBySideWidth = 3;

/// Paints the profile graph's columns into area, whose width is the graph width
/// widths were computed for: the background, then every segment's two bars as
/// columnBars places them. Segments without a width are left out. Segment
/// highlighted (1-based; 0 for none) takes the current segment's colours.
/// speedTop and inclineTop are the bottoms of the two scales, in tenths.
void paintGraphBars(QPainter& painter, const QRect& area, const Workout& workout, const ColumnWidths& widths,
                    int highlighted, int speedTop, int inclineTop, const QColor& background);

/// Paints the legend, a colour square and the caption for each bar, into the top
/// right corner of area on a box of background, in the painter's font.
void paintGraphLegend(QPainter& painter, const QRect& area, const QString& speedCaption,
                      const QString& inclineCaption, const QColor& background);

} // namespace kntr
