#include "profilegraph.h"

#include "editor.h"
#include "graphgeometry.h"
#include "graphpalette.h"

#include "model/session.h"

#include <QMouseEvent>
#include <QPainter>

namespace kntr {

ProfileGraph::ProfileGraph(Editor& editor, QWidget* parent)
    : QFrame(parent)
    , mEditor(editor)
{
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setAutoFillBackground(false);
    setMouseTracking(false);
    setToolTip(tr("Click a column to select its segment; right-click to choose what dragging changes."));
}

int ProfileGraph::speedScaleTop() const
{
    return scaleTop(mEditor.control(Editor::Field::Speed).max);
}

int ProfileGraph::inclineScaleTop() const
{
    return scaleTop(mEditor.control(Editor::Field::Incline).max);
}

void ProfileGraph::updateGraphics()
{
    ComputeColumnWidths(mEditor.session().workout, std::max(1, contentsRect().width()));
    update();
}

void ProfileGraph::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    updateGraphics();
}

void ProfileGraph::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    const QRect area = contentsRect();
    QPainter painter(this);
    const QColor background = palette().color(QPalette::Base);
    painter.fillRect(area, background);
    const bool dark = isDarkBackground(background);

    const Workout& workout = mEditor.session().workout;
    const std::vector<ColumnSpan> spans = columnSpans(workout, area.width());
    const int height = area.height();
    const int speedTop = speedScaleTop();
    const int inclineTop = inclineScaleTop();
    painter.translate(area.topLeft());
    painter.setClipRect(QRect(QPoint(0, 0), area.size()));

    auto drawIncline = [&](int i) {
        const BarColours colours = barColours(i == workout.current(), dark);
        const int y = valueToY(workout.segment(i).SegmentIncline(), inclineTop, height);
        painter.fillRect(QRect(spans[i - 1].left, y, spans[i - 1].width, height - y), colours.incline);
    };
    for (int i = workout.count(); i >= 1; --i) {
        const BarColours colours = barColours(i == workout.current(), dark);
        const int y = valueToY(workout.segment(i).SegmentSpeed(), speedTop, height);
        painter.fillRect(QRect(spans[i - 1].left, y, spans[i - 1].width, height - y), colours.speed);
        drawIncline(i);
    }
    // Incline bars once more, so that no speed bar covers an incline bar.
    for (int i = workout.count(); i >= 1; --i)
        drawIncline(i);
}

QPoint ProfileGraph::toGraph(const QPoint& widgetPoint) const
{
    return widgetPoint - contentsRect().topLeft();
}

void ProfileGraph::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = toGraph(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        mEditor.graphPress(p.x(), p.y(), Editor::Button::Left);
    else if (event->button() == Qt::RightButton)
        mEditor.graphPress(p.x(), p.y(), Editor::Button::Right);
    event->accept();
}

void ProfileGraph::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = toGraph(event->position().toPoint());
    mEditor.graphMove(p.x(), p.y(), event->buttons() & Qt::LeftButton);
    event->accept();
}

} // namespace kntr
