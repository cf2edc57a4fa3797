#include "graphgeometry.h"

#include "model/numbers.h"
#include "model/workout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kntr {

void ComputeColumnWidths(Workout& workout, int graphWidth)
{
    const int count = workout.count();
    const double total = workout.totalSeconds();
    const double secondsPerPixel = total > 0 ? total / graphWidth : 1.0;

    int leftover = graphWidth - count;
    for (int i = count; i >= 1; --i) {
        Segment& s = workout.segment(i);
        const int width = std::max(1, static_cast<int>(roundHalfEven(s.SegmentTime() / secondsPerPixel)));
        s.setSegmentWidth(width);
        leftover -= width;
    }
    if (total <= 0)
        return;

    // Hand the rounding error out a pixel at a time, spread over the workout
    // from the right. A column never drops below 1 pixel; if every column is
    // already that narrow, the rest cannot be taken back.
    while (leftover != 0) {
        const int stride =
            std::max(1, static_cast<int>(roundHalfEven(static_cast<double>(count) / std::abs(leftover))));
        bool changed = false;
        for (int i = count; i >= 1 && leftover != 0; i -= stride) {
            Segment& s = workout.segment(i);
            if (leftover > 0) {
                s.setSegmentWidth(s.SegmentWidth() + 1);
                --leftover;
                changed = true;
            } else if (s.SegmentWidth() > 1) {
                s.setSegmentWidth(s.SegmentWidth() - 1);
                ++leftover;
                changed = true;
            }
        }
        if (!changed) {
            // Too narrow for one pixel per segment: try the columns the stride skipped.
            bool any = false;
            for (int i = count; i >= 1 && leftover < 0; --i) {
                Segment& s = workout.segment(i);
                if (s.SegmentWidth() > 1) {
                    s.setSegmentWidth(s.SegmentWidth() - 1);
                    ++leftover;
                    any = true;
                }
            }
            if (!any)
                break;
        }
    }
}

std::vector<ColumnSpan> columnSpans(const Workout& workout, int graphWidth)
{
    std::vector<ColumnSpan> spans(workout.count());
    int right = graphWidth - 1; // the gap pixel after the column
    for (int i = workout.count(); i >= 1; --i) {
        const int width = std::max(1, static_cast<int>(workout.segment(i).SegmentWidth()));
        spans[i - 1] = {right - width, width};
        right -= width + 1;
    }
    return spans;
}

int segmentAtX(const Workout& workout, int x)
{
    int end = 0;
    for (int i = 1; i <= workout.count(); ++i) {
        end += std::max(1, static_cast<int>(workout.segment(i).SegmentWidth())) + 1;
        if (end > x)
            return i;
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

} // namespace kntr
