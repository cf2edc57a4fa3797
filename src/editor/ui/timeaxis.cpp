#include "timeaxis.h"

#include "editor/axislabels.h"

#include <QLabel>

#include <algorithm>

namespace kntr {

namespace {
constexpr int kDashHeight = 5;
}

TimeAxis::TimeAxis(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("picXaxis"));
    for (int k = 0; k < 5; ++k) {
        auto* dash = new QLabel(this);
        dash->setObjectName(QStringLiteral("lblXdash%1").arg(k));
        dash->setFrameShape(QFrame::VLine);
        dash->setFrameShadow(QFrame::Plain);
        dash->setFixedSize(1, kDashHeight);
        mDashes[k] = dash;
        auto* number = new QLabel(this);
        number->setObjectName(QStringLiteral("lblXnum%1").arg(k));
        number->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        mNumbers[k] = number;
    }
    mCaption = new QLabel(tr("minutes:seconds"), this);
    mCaption->setObjectName(QStringLiteral("lblXcaption"));
    mCaption->setAlignment(Qt::AlignCenter);
    updateXScales(0);
}

int TimeAxis::preferredHeight() const
{
    return kDashHeight + 2 * fontMetrics().height() + 4;
}

void TimeAxis::updateXScales(double totalSeconds)
{
    const std::array<QString, 5> labels = timeAxisLabels(totalSeconds);
    for (int k = 0; k < 5; ++k)
        mNumbers[k]->setText(labels[k]);
    place();
}

void TimeAxis::setGraphSpan(int left, int width)
{
    mGraphLeft = left;
    mGraphWidth = std::max(1, width);
    place();
}

void TimeAxis::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    place();
}

void TimeAxis::place()
{
    const int lineHeight = fontMetrics().height();
    for (int k = 0; k < 5; ++k) {
        // The last tick stands on the graph's last pixel column.
        const int x = mGraphLeft + std::min(mGraphWidth * k / 4, mGraphWidth - 1);
        mDashes[k]->move(x, 0);
        const int textWidth = mNumbers[k]->sizeHint().width() + 4;
        const int left = std::clamp(x - textWidth / 2, 0, std::max(0, width() - textWidth));
        mNumbers[k]->setGeometry(left, kDashHeight, textWidth, lineHeight);
    }
    mCaption->setGeometry(mGraphLeft, kDashHeight + lineHeight, mGraphWidth, lineHeight + 2);
}

} // namespace kntr
