#pragma once

#include "editor/editor.h"

#include <QLineEdit>

namespace kntr {

/// A read-only box that shows one value: typing does nothing, the arrow and
/// page keys are passed on to the value's control.
class ValueBox : public QLineEdit {
    Q_OBJECT

public:
    explicit ValueBox(QWidget* parent = nullptr);

    /// Takes the focus with the text selected; a disabled box (as during a
    /// run) stays out of it.
    void takeFocus();

signals:
    /// An arrow or page key was pressed.
    void navigationKey(kntr::Editor::Key key);
    /// Any other key was pressed (not Tab, not a shortcut).
    void otherKey();
    /// The user clicked into the box or it received the focus.
    void activated();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace kntr
