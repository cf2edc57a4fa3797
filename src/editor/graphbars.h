#pragma once

#include "graphgeometry.h"

class QColor;
class QPainter;
class QRect;

namespace kntr {

class Workout;

/// Paints the profile graph's columns into area, whose width is the graph width
/// widths were computed for: the background, then for every segment from the
/// last to the first its speed bar and its incline bar, and the incline bars
/// once more so that no speed bar covers one. Segments without a width are left
/// out. Segment highlighted (1-based; 0 for none) takes the current segment's
/// colours. speedTop and inclineTop are the bottoms of the two scales, in tenths.
void paintGraphBars(QPainter& painter, const QRect& area, const Workout& workout, const ColumnWidths& widths,
                    int highlighted, int speedTop, int inclineTop, const QColor& background);

} // namespace kntr
