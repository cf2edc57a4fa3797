#include "profilegraph.h"

#include "editor/axislabels.h"
#include "editor/editor.h"
#include "editor/graphbars.h"
#include "editor/graphgeometry.h"

#include "model/session.h"

#include <QKeyEvent>
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
    setFocusPolicy(Qt::StrongFocus);
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
    mWidths = kntr::columnWidths(mEditor.session().workout, std::max(1, contentsRect().width()));
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
    QPainter painter(this);
    const Workout& workout = mEditor.session().workout;
    paintGraphBars(painter, contentsRect(), workout, mWidths, workout.current(), speedScaleTop(),
                   inclineScaleTop(), palette().color(QPalette::Base));
    const Machine& machine = mEditor.session().machine;
    // The bars stand for speeds whether the left scale reads speed or pace.
    paintGraphLegend(painter, contentsRect(), leftAxisCaption(machine, false), rightAxisCaption(machine),
                     palette().color(QPalette::Base));
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
        painter.drawRect(contentsRect().adjusted(1, 1, -2, -2));
    }
}

QPoint ProfileGraph::toGraph(const QPoint& widgetPoint) const
{
    return widgetPoint - contentsRect().topLeft();
}

void ProfileGraph::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = toGraph(event->position().toPoint());
    const int segment = segmentAtX(mWidths, p.x());
    if (event->button() == Qt::LeftButton)
        mEditor.graphPress(segment, p.x(), p.y(), Editor::Button::Left);
    else if (event->button() == Qt::RightButton)
        mEditor.graphPress(segment, p.x(), p.y(), Editor::Button::Right);
    // A left click leaves the keys on the graph; a right click shows the box
    // dragging now changes.
    if (event->button() == Qt::LeftButton)
        setFocus(Qt::MouseFocusReason);
    event->accept();
}

void ProfileGraph::keyPressEvent(QKeyEvent* event)
{
    const int count = mEditor.session().workout.count();
    switch (event->key()) {
    case Qt::Key_Left:
        mEditor.keyPress(Editor::Field::Segment, Editor::Key::Down);
        break;
    case Qt::Key_Right:
        mEditor.keyPress(Editor::Field::Segment, Editor::Key::Up);
        break;
    case Qt::Key_Home:
        mEditor.setValue(Editor::Field::Segment, 1);
        break;
    case Qt::Key_End:
        mEditor.setValue(Editor::Field::Segment, count);
        break;
    default:
        QFrame::keyPressEvent(event);
        return;
    }
    // Selecting makes the segment box the active one; the keys stay here.
    setFocus(Qt::OtherFocusReason);
    event->accept();
}

void ProfileGraph::focusInEvent(QFocusEvent* event)
{
    QFrame::focusInEvent(event);
    update();
}

void ProfileGraph::focusOutEvent(QFocusEvent* event)
{
    QFrame::focusOutEvent(event);
    update();
}

void ProfileGraph::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = toGraph(event->position().toPoint());
    mEditor.graphMove(p.x(), p.y(), event->buttons() & Qt::LeftButton);
    event->accept();
}

} // namespace kntr
