#include "graphpicture.h"

#include "editor.h"
#include "graphbars.h"
#include "graphgeometry.h"

#include "model/machine.h"
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

GraphPicture::GraphPicture(const Editor& editor)
    : mWorkout(editor.session().workout)
{
    const Session& session = editor.session();
    const Machine& machine = session.machine;
    const int speedMax = editor.control(Editor::Field::Speed).max;
    const int inclineMax = editor.control(Editor::Field::Incline).max;
    mSpeedTop = scaleTop(speedMax);
    mInclineTop = scaleTop(inclineMax);
    mLeftLabels = leftAxisLabels(speedMax, speedInKilometres(machine));
    mRightLabels = rightAxisLabels(inclineMax);
    mTimeLabels = timeAxisLabels(mWorkout.totalSeconds());
    mLeftCaption = leftAxisCaption(machine, editor.paceShown());
    mRightCaption = rightAxisCaption(machine);
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

    // The window's arrangement (placeGraph): captions outside, value labels
    // beside the graph, the time axis under it.
    const QFontMetrics metrics(font);
    const int line = metrics.height();
    int leftWidth = 0;
    for (const AxisLabel& label : mLeftLabels)
        leftWidth = std::max(leftWidth, metrics.horizontalAdvance(label.text));
    int rightWidth = 0;
    for (const std::optional<AxisLabel>& label : mRightLabels)
        if (label)
            rightWidth = std::max(rightWidth, metrics.horizontalAdvance(label->text));
    leftWidth += 6;
    rightWidth += 6;
    const int captionWidth = line + 4;
    const int axisHeight = kDashHeight + 2 * line + 4;
    const QRect graph(captionWidth + leftWidth, line / 2,
                      std::max(20, kWidth - 2 * captionWidth - leftWidth - rightWidth),
                      std::max(20, kHeight - line / 2 - axisHeight));
    const QRect bars = graph.adjusted(kFrame, kFrame, -kFrame, -kFrame);

    paintGraphBars(painter, bars, mWorkout, columnWidths(mWorkout, bars.width()), mWorkout.current(), mSpeedTop,
                   mInclineTop, Qt::white);
    painter.drawRect(QRectF(graph).adjusted(0.5, 0.5, -0.5, -0.5));

    // Value labels, each centred on the height of its value.
    auto valueLabel = [&](const AxisLabel& label, int scaleTop, int left, int width, Qt::Alignment side) {
        const int y = bars.top() + valueToY(label.value, scaleTop, bars.height());
        painter.drawText(QRect(left, y - line / 2, width, line), side | Qt::AlignVCenter, label.text);
    };
    for (const AxisLabel& label : mLeftLabels)
        valueLabel(label, mSpeedTop, captionWidth, leftWidth - 3, Qt::AlignRight);
    for (const std::optional<AxisLabel>& label : mRightLabels)
        if (label)
            valueLabel(*label, mInclineTop, graph.right() + 4, rightWidth - 3, Qt::AlignLeft);

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
    painter.save();
    painter.translate(0, graph.bottom() + 1);
    painter.rotate(-90);
    painter.drawText(QRect(0, 0, graph.height(), captionWidth), Qt::AlignCenter, mLeftCaption);
    painter.restore();
    painter.save();
    painter.translate(kWidth, graph.top());
    painter.rotate(90);
    painter.drawText(QRect(0, 0, graph.height(), captionWidth), Qt::AlignCenter, mRightCaption);
    painter.restore();

    painter.restore();
}

} // namespace kntr
