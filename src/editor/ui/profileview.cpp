#include "profileview.h"

#include "editor/ui/axiscaption.h"
#include "editor/axislabels.h"
#include "editor/editor.h"
#include "editor/graphgeometry.h"
#include "editor/ui/profilegraph.h"
#include "editor/ui/timeaxis.h"
#include "editor/ui/valueaxis.h"

#include "model/session.h"

namespace kntr {

ProfileView::ProfileView(Editor& editor, QWidget* parent)
    : QWidget(parent)
    , mEditor(editor)
{
    setObjectName(QStringLiteral("profileView"));
    mGraph = new ProfileGraph(editor, this);
    mGraph->setObjectName(QStringLiteral("picBox"));
    mTimeAxis = new TimeAxis(this);
    mLeftAxis = new ValueAxis(ValueAxis::Side::Left, this);
    mRightAxis = new ValueAxis(ValueAxis::Side::Right, this);
    mLeftCaption = new AxisCaption(AxisCaption::Reading::Upwards, this);
    mLeftCaption->setObjectName(QStringLiteral("picYlbl"));
    mPaceCaption = new AxisCaption(AxisCaption::Reading::Upwards, this);
    mPaceCaption->setObjectName(QStringLiteral("picYKlbl"));
    mPaceCaption->hide();
    mRightCaption = new AxisCaption(AxisCaption::Reading::Downwards, this);
    mRightCaption->setObjectName(QStringLiteral("picY2lbl"));
    mRightAxis->setLabels(
        {std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt});
}

void ProfileView::refresh(unsigned changes)
{
    if (changes & Editor::Graph)
        mGraph->updateGraphics();
    if (changes & Editor::TimeScale)
        mTimeAxis->updateXScales(mEditor.session().workout.totalSeconds());
    if (changes & (Editor::ValueScales | Editor::Ranges))
        refreshScales();
}

void ProfileView::updateGraphics()
{
    mGraph->updateGraphics();
}

void ProfileView::refreshScales()
{
    const ProfileScales scales = profileScales(mEditor.session().machine, mEditor.paceShown());
    std::array<std::optional<AxisLabel>, 6> left;
    for (int i = 0; i < 6; ++i)
        left[i] = scales.left[i];
    mLeftAxis->setLabels(left);
    mRightAxis->setLabels(scales.right);

    mLeftCaption->setText(scales.valueCaption);
    mPaceCaption->setText(scales.paceCaption);
    mLeftCaption->setVisible(!scales.pace);
    mPaceCaption->setVisible(scales.pace);
    mRightCaption->setText(scales.rightCaption);
    place();
}

void ProfileView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    place();
}

void ProfileView::place()
{
    // The value columns are as wide as the widest labels any machine shows.
    ProfileMeasures measures;
    measures.lineHeight = fontMetrics().height();
    measures.captionWidth = mLeftCaption->preferredWidth();
    measures.leftAxisWidth = mLeftAxis->preferredWidth({QStringLiteral("19.3-"), QStringLiteral("10-")});
    measures.rightAxisWidth = mRightAxis->preferredWidth({QStringLiteral("-50")});
    measures.timeAxisHeight = mTimeAxis->preferredHeight();
    const ProfileLayout layout = layOutProfile(rect(), measures);

    mGraph->setGeometry(layout.graph);
    const QRect content = mGraph->contentsRect().translated(mGraph->pos());
    mLeftAxis->setGeometry(layout.leftAxis);
    mRightAxis->setGeometry(layout.rightAxis);
    mLeftCaption->setGeometry(layout.leftCaption);
    mPaceCaption->setGeometry(layout.leftCaption);
    mRightCaption->setGeometry(layout.rightCaption);
    mTimeAxis->setGeometry(layout.timeAxis);
    mTimeAxis->setGraphSpan(content.left() - mTimeAxis->x(), content.width());
    mLeftAxis->setScale(mGraph->speedScaleTop(), content.top() - layout.leftAxis.top(), content.height());
    mRightAxis->setScale(mGraph->inclineScaleTop(), content.top() - layout.rightAxis.top(), content.height());
}

} // namespace kntr
