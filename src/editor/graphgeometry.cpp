#include "graphgeometry.h"

#include "model/numbers.h"
#include "model/workout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kntr {

ColumnWidths columnWidths(const Workout& workout, int graphWidth)
{
    const int count = workout.count();
    const double total = workout.totalSeconds();
    const double secondsPerPixel = total > 0 ? total / graphWidth : 1.0;

    ColumnWidths widths(count);
    int leftover = graphWidth - count;
    for (int i = count - 1; i >= 0; --i) {
        widths[i] = std::max(
            1, static_cast<int>(roundHalfEven(workout.segment(i + 1).SegmentTime() / secondsPerPixel)));
        leftover -= widths[i];
    }
    if (total <= 0)
        return widths;

    // Hand the rounding error out a pixel at a time, spread over the workout
    // from the right. A column never drops below 1 pixel; if every column is
    // already that narrow, the rest cannot be taken back.
    while (leftover != 0) {
        const int stride =
            std::max(1, static_cast<int>(roundHalfEven(static_cast<double>(count) / std::abs(leftover))));
        bool changed = false;
        for (int i = count - 1; i >= 0 && leftover != 0; i -= stride) {
            if (leftover > 0) {
                ++widths[i];
                --leftover;
                changed = true;
            } else if (widths[i] > 1) {
                --widths[i];
                ++leftover;
                changed = true;
            }
        }
        if (!changed) {
            // Too narrow for one pixel per segment: try the columns the stride skipped.
            bool any = false;
            for (int i = count - 1; i >= 0 && leftover < 0; --i) {
                if (widths[i] > 1) {
                    --widths[i];
                    ++leftover;
                    any = true;
                }
            }
            if (!any)
                break;
        }
    }
    return widths;
}

std::vector<ColumnSpan> columnSpans(const ColumnWidths& widths, int graphWidth)
{
    std::vector<ColumnSpan> spans(widths.size());
    int right = graphWidth - 1; // the gap pixel after the column
    for (std::size_t i = widths.size(); i-- > 0;) {
        const int width = std::max(1, widths[i]);
        spans[i] = {right - width, width};
        right -= width + 1;
    }
    return spans;
}

int segmentAtX(const ColumnWidths& widths, int x)
{
    int end = 0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        end += std::max(1, widths[i]) + 1;
        if (end > x)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

int scaleTop(int maxTenths)
{
    return static_cast<int>(roundHalfEven(maxTenths * 5.0 / 125.0 + maxTenths));
}

int valueToY(double value, int top, int height)
{
    if (top <= 0)
        return height;
    const double units = top - toTenths(value);
    return static_cast<int>(roundHalfEven(units * height / top));
}

ProfileLayout layOutProfile(const QRect& area, const ProfileMeasures& m)
{
    const int graphLeft = area.left() + m.captionWidth + m.leftAxisWidth;
    const int graphWidth =
        std::max(20, area.width() - 2 * m.captionWidth - m.leftAxisWidth - m.rightAxisWidth);
    const int graphTop = area.top() + m.lineHeight / 2;
    const int graphHeight = std::max(20, area.height() - m.lineHeight / 2 - m.timeAxisHeight);
    const int axisHeight = graphHeight + m.lineHeight;

    ProfileLayout layout;
    layout.graph = QRect(graphLeft, graphTop, graphWidth, graphHeight);
    layout.leftAxis = QRect(area.left() + m.captionWidth, area.top(), m.leftAxisWidth - 3, axisHeight);
    layout.rightAxis = QRect(graphLeft + graphWidth + 3, area.top(), m.rightAxisWidth - 3, axisHeight);
    layout.leftCaption = QRect(area.left(), graphTop, m.captionWidth, graphHeight);
    layout.rightCaption =
        QRect(graphLeft + graphWidth + m.rightAxisWidth, graphTop, m.captionWidth, graphHeight);
    layout.timeAxis = QRect(graphLeft - m.leftAxisWidth, graphTop + graphHeight,
                            graphWidth + 2 * m.leftAxisWidth, m.timeAxisHeight);
    return layout;
}

} // namespace kntr
