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

void ValueBox::setTyping(bool on)
{
    mTyping = on;
    setReadOnly(!on);
    setContextMenuPolicy(on ? Qt::DefaultContextMenu : Qt::NoContextMenu);
}

void ValueBox::takeFocus()
{
    if (!isEnabled())
        return;
    setFocus(Qt::OtherFocusReason);
    setSelection(0, 5);
}

void ValueBox::enterTyped()
{
    if (!mTyping)
        return;
    setModified(false);
    emit textEntered(text());
}

void ValueBox::keyPressEvent(QKeyEvent* event)
{
    using Key = Editor::Key;
    static constexpr std::pair<int, Key> kNavigation[] = {
        {Qt::Key_Up, Key::Up},       {Qt::Key_Down, Key::Down},     {Qt::Key_Left, Key::Left},
        {Qt::Key_Right, Key::Right}, {Qt::Key_PageUp, Key::PageUp}, {Qt::Key_PageDown, Key::PageDown},
    };
    for (const auto& [qtKey, key] : kNavigation) {
        if (event->key() == qtKey) {
            // Typing first goes in, then the key steps from it.
            if (isModified())
                enterTyped();
            emit navigationKey(key);
            event->accept();
            return;
        }
    }
    if (mTyping) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            enterTyped();
            selectAll();
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    emit otherKey();
    event->accept();
}

void ValueBox::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    emit activated();
}

void ValueBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (isModified())
        enterTyped();
}

void ValueBox::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    emit activated();
}

} // namespace kntr
