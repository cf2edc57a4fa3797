#include "sliderfocus.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QFocusFrame>
#include <QPointer>

namespace kntr {

void markSliderFocus(QApplication& app)
{
    // The frame lives in the window of the control it marks and goes with it.
    auto frame = std::make_shared<QPointer<QFocusFrame>>();
    QObject::connect(&app, &QApplication::focusChanged, &app, [frame](QWidget*, QWidget* now) {
        auto* slider = qobject_cast<QAbstractSlider*>(now);
        if (!slider) {
            if (*frame)
                (*frame)->setWidget(nullptr);
            return;
        }
        if (!*frame)
            *frame = new QFocusFrame(slider);
        (*frame)->setWidget(slider);
    });
}

} // namespace kntr
