#pragma once

#include <vector>

namespace kntr {

class Workout;

/// The profile graph's column widths in pixels, one per segment in use
/// (element 0 is segment 1). They belong to the graph, not to the workout:
/// every picture of the workout computes its own for its own width.
using ColumnWidths = std::vector<int>;

/// Where one segment's column stands on the profile graph, in graph pixels.
/// The column covers [left, left + width); the pixel after it is the gap.
struct ColumnSpan
{
    int left = 0;
    int width = 1;
};

/// Gives every segment in use a column width in proportion to its time, at
/// least 1 pixel, so that the widths plus one gap pixel per segment fill
/// graphWidth exactly.
ColumnWidths columnWidths(const Workout& workout, int graphWidth);

/// The columns of widths (element 0 is segment 1), laid out from the last
/// segment leftwards: the last column ends one gap pixel before graphWidth.
std::vector<ColumnSpan> columnSpans(const ColumnWidths& widths, int graphWidth);

/// The segment under graph x, walking from the left edge where every segment
/// takes its width plus its gap pixel; 0 when x lies right of the last column.
int segmentAtX(const ColumnWidths& widths, int x);

/// The bottom of a value scale, in tenths: 4 % above the control's maximum.
int scaleTop(int maxTenths);

/// The pixel row where a bar of value (in whole units) starts on a graph of the
/// given height whose scale runs from 0 at the top to top at the bottom.
int valueToY(double value, int top, int height);

} // namespace kntr
