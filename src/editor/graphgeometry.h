#pragma once

#include <QRect>

#include <vector>

namespace kntr {

class Workout;

/// The profile graph's column widths in pixels, one per segment in use
/// (element 0 is segment 1). They belong to the graph, not to the workout:
/// every picture of the workout computes its own for its own width.
using ColumnWidths = std::vector<int>;

/// Where one segment's column stands on the profile graph, in graph pixels.
/// The column covers [left, left + width); the pixel after it is the gap.
struct ColumnSpan {
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

/// What the parts around the profile graph need, in pixels.
struct ProfileMeasures {
    int lineHeight = 0; ///< one line of the axis labels
    int captionWidth = 0; ///< a rotated axis caption
    int leftAxisWidth = 0; ///< the left value labels and the 3-pixel gap after them
    int rightAxisWidth = 0; ///< the right value labels and the 3-pixel gap before them
    int timeAxisHeight = 0; ///< the ticks, their times and the caption under the graph
};

/// Where the profile's parts stand in an area: the captions outside, the value
/// labels beside the graph, the time axis under it. The window's profile view
/// and the printed picture are laid out alike.
struct ProfileLayout {
    QRect graph; ///< the graph's box, its frame line included
    QRect leftAxis; ///< the left value labels, from the area's top to a line below the graph
    QRect rightAxis; ///< the right value labels, as high as the left ones
    QRect leftCaption; ///< beside the graph, as high as it
    QRect rightCaption;
    QRect timeAxis; ///< under the graph, reaching past it by the left axis's width on both sides
};

/// Lays the profile out in area. The graph keeps at least 20 × 20 pixels.
ProfileLayout layOutProfile(const QRect& area, const ProfileMeasures& measures);

} // namespace kntr
