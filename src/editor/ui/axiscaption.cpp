#include "axiscaption.h"

#include <QPainter>

namespace kntr {

AxisCaption::AxisCaption(Reading reading, QWidget* parent)
    : QWidget(parent)
    , mReading(reading)
{
    QFont caption = font();
    caption.setBold(true);
    setFont(caption);
}

void AxisCaption::setText(const QString& text)
{
    mText = text;
    update();
}

int AxisCaption::preferredWidth() const
{
    return fontMetrics().height() + 4;
}

void AxisCaption::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(palette().color(QPalette::WindowText));
    // Turn the painter so that the text runs along the widget's height.
    if (mReading == Reading::Upwards) {
        painter.translate(0, height());
        painter.rotate(-90);
    } else {
        painter.translate(width(), 0);
        painter.rotate(90);
    }
    painter.drawText(QRect(0, 0, height(), width()), Qt::AlignCenter, mText);
}

} // namespace kntr
