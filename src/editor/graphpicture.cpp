#include "graphpicture.h"

#include "graphbars.h"
#include "graphgeometry.h"

#include "model/session.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace kntr {

namespace {

constexpr int kDashHeight = 5;
constexpr int kFontPixels = 11; ///< 8 points on the 96-dpi screen the picture stands for
constexpr int kFrame = 1; ///< the graph's box line, inside its rectangle

} // namespace

GraphPicture::GraphPicture(const Session& session, SpeedDisplay display)
    : mWorkout(session.workout)
    , mScales(profileScales(session.machine, display == SpeedDisplay::Pace))
    , mTimeLabels(timeAxisLabels(mWorkout.totalSeconds()))
{
}

void GraphPicture::paint(QPainter& painter, const QRectF& target) const
{
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / kWidth, target.height() / kHeight);
    painter.setClipRect(QRect(0, 0, kWidth, kHeight), Qt::IntersectClip);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(kFontPixels);
    painter.setFont(font);
    painter.setPen(Qt::black);

    // Laid out as the window's profile view: captions outside, value labels
    // beside the graph, the time axis under it.
    const QFontMetrics metrics(font);
    const int line = metrics.height();
    int leftWidth = 0;
    for (const AxisLabel& label : mScales.left)
        leftWidth = std::max(leftWidth, metrics.horizontalAdvance(label.text));
    int rightWidth = 0;
    for (const std::optional<AxisLabel>& label : mScales.right)
        if (label)
            rightWidth = std::max(rightWidth, metrics.horizontalAdvance(label->text));
    const ProfileMeasures measures{line, line + 4, leftWidth + 6, rightWidth + 6, kDashHeight + 2 * line + 4};
    const ProfileLayout layout = layOutProfile(QRect(0, 0, kWidth, kHeight), measures);
    const QRect& graph = layout.graph;
    const QRect bars = graph.adjusted(kFrame, kFrame, -kFrame, -kFrame);

    paintGraphBars(painter, bars, mWorkout, columnWidths(mWorkout, bars.width()), mWorkout.current(),
                   mScales.speedTop, mScales.inclineTop, Qt::white);
    paintGraphLegend(painter, bars, mScales.valueCaption, mScales.rightCaption, Qt::white);
    painter.drawRect(QRectF(graph).adjusted(0.5, 0.5, -0.5, -0.5));

    // Value labels, each centred on the height of its value.
    auto valueLabel = [&](const AxisLabel& label, int scaleTop, const QRect& axis, Qt::Alignment side) {
        const int y = bars.top() + valueToY(label.value, scaleTop, bars.height());
        painter.drawText(QRect(axis.left(), y - line / 2, axis.width(), line), side | Qt::AlignVCenter,
                         label.text);
    };
    for (const AxisLabel& label : mScales.left)
        valueLabel(label, mScales.speedTop, layout.leftAxis, Qt::AlignRight);
    for (const std::optional<AxisLabel>& label : mScales.right)
        if (label)
            valueLabel(*label, mScales.inclineTop, layout.rightAxis, Qt::AlignLeft);

    // Time axis: five ticks, the last on the graph's last pixel column.
    for (int k = 0; k < 5; ++k) {
        const int x = bars.left() + std::min(bars.width() * k / 4, bars.width() - 1);
        painter.drawLine(x, graph.bottom() + 1, x, graph.bottom() + kDashHeight);
        const int textWidth = metrics.horizontalAdvance(mTimeLabels[k]) + 4;
        painter.drawText(QRect(x - textWidth / 2, graph.bottom() + 1 + kDashHeight, textWidth, line),
                         Qt::AlignHCenter | Qt::AlignTop, mTimeLabels[k]);
    }
    painter.drawText(QRect(bars.left(), graph.bottom() + 1 + kDashHeight + line, bars.width(), line + 2),
                     Qt::AlignCenter, QStringLiteral("minutes:seconds"));

    // Captions: the left one reads upwards, the right one downwards.
    QFont bold = font;
    bold.setBold(true);
    painter.setFont(bold);
    const QRect& left = layout.leftCaption;
    painter.save();
    painter.translate(left.left(), left.bottom() + 1);
    painter.rotate(-90);
    painter.drawText(QRect(0, 0, left.height(), left.width()), Qt::AlignCenter,
                     mScales.pace ? mScales.paceCaption : mScales.valueCaption);
    painter.restore();
    const QRect& right = layout.rightCaption;
    painter.save();
    painter.translate(right.right() + 1, right.top());
    painter.rotate(90);
    painter.drawText(QRect(0, 0, right.height(), right.width()), Qt::AlignCenter, mScales.rightCaption);
    painter.restore();

    painter.restore();
}

} // namespace kntr
