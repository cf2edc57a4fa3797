#include "valuebox.h"

#include <QKeyEvent>

namespace kntr {

ValueBox::ValueBox(QWidget* parent)
    : QLineEdit(parent)
{
    setReadOnly(true);
    setAlignment(Qt::AlignCenter);
    setContextMenuPolicy(Qt::NoContextMenu);
}

void ValueBox::takeFocus()
{
    if (!isEnabled())
        return;
    setFocus(Qt::OtherFocusReason);
    setSelection(0, 5);
}

void ValueBox::keyPressEvent(QKeyEvent* event)
{
    using Key = Editor::Key;
    switch (event->key()) {
    case Qt::Key_Up:
        emit navigationKey(Key::Up);
        break;
    case Qt::Key_Down:
        emit navigationKey(Key::Down);
        break;
    case Qt::Key_Left:
        emit navigationKey(Key::Left);
        break;
    case Qt::Key_Right:
        emit navigationKey(Key::Right);
        break;
    case Qt::Key_PageUp:
        emit navigationKey(Key::PageUp);
        break;
    case Qt::Key_PageDown:
        emit navigationKey(Key::PageDown);
        break;
    default:
        if (event->matches(QKeySequence::Copy)) {
            QLineEdit::keyPressEvent(event);
            return;
        }
        emit otherKey();
        break;
    }
    event->accept();
}

void ValueBox::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    emit activated();
}

void ValueBox::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    emit activated();
}

} // namespace kntr
