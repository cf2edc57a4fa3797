#pragma once

#include "editor/editor.h"

#include <QLineEdit>

namespace kntr {

/// A box that shows one value; the arrow and page keys are passed on to the
/// value's control. A read-only box ignores typing; a box that takes typing
/// (setTyping) hands its text over on Enter or when it loses the focus.
class ValueBox : public QLineEdit {
    Q_OBJECT

public:
    explicit ValueBox(QWidget* parent = nullptr);

    /// Lets the user type a value into the box.
    void setTyping(bool on);
    /// Takes the focus with the text selected; a disabled box (as during a
    /// run) stays out of it.
    void takeFocus();

signals:
    /// An arrow or page key was pressed.
    void navigationKey(kntr::Editor::Key key);
    /// Any other key was pressed in a read-only box (not Tab, not a shortcut).
    void otherKey();
    /// The user clicked into the box or it received the focus.
    void activated();
    /// Typed text to be taken: Enter was pressed, or the box lost the focus
    /// with text typed, or an arrow key followed typing.
    void textEntered(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void enterTyped();

    bool mTyping = false;
};

} // namespace kntr
