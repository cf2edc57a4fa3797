#include "valueaxis.h"

#include "editor/graphgeometry.h"

#include <QLabel>

namespace kntr {

ValueAxis::ValueAxis(Side side, QWidget* parent)
    : QWidget(parent)
    , mSide(side)
{
    const bool left = side == Side::Left;
    setObjectName(left ? QStringLiteral("picYaxis") : QStringLiteral("picY2axis"));
    for (int i = 0; i < 6; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName((left ? QStringLiteral("lblYscale%1") : QStringLiteral("lblY2scale%1")).arg(i));
        label->setAlignment((left ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        mLabels[i] = label;
    }
}

void ValueAxis::setLabels(const std::array<std::optional<AxisLabel>, 6>& labels)
{
    for (int i = 0; i < 6; ++i) {
        if (!labels[i])
            continue;
        mLabels[i]->setText(labels[i]->text);
        mValues[i] = labels[i]->value;
    }
    place();
}

void ValueAxis::setScale(int scaleTop, int graphTop, int graphHeight)
{
    mScaleTop = scaleTop;
    mGraphTop = graphTop;
    mGraphHeight = std::max(1, graphHeight);
    place();
}

int ValueAxis::preferredWidth(const QStringList& widest) const
{
    int width = 0;
    for (const QString& text : widest)
        width = std::max(width, fontMetrics().horizontalAdvance(text));
    return width + 6;
}

void ValueAxis::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    place();
}

void ValueAxis::place()
{
    const int lineHeight = fontMetrics().height();
    for (int i = 0; i < 6; ++i) {
        const int y = mGraphTop + valueToY(mValues[i], mScaleTop, mGraphHeight);
        const int top = std::clamp(y - lineHeight / 2, 0, std::max(0, height() - lineHeight));
        mLabels[i]->setGeometry(0, top, width() - 2, lineHeight);
        mLabels[i]->setVisible(!mLabels[i]->text().isEmpty());
    }
}

} // namespace kntr
