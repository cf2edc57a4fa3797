#pragma once

#include <QString>

namespace kntr {

/// Modal message boxes with a fixed text; the program shows them, tests script the answers.
class MessageBoxes {
public:
    enum class Icon { None, Information, Exclamation, Question, Critical };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
    enum class Answer { Ok, Cancel, Yes, No, Retry };

    virtual ~MessageBoxes() = default;

    /// Shows text with the icon and buttons and returns the button chosen.
    /// Closing the box counts as Cancel where there is one, else as No or Ok.
    virtual Answer show(const QString& text, Icon icon, Buttons buttons = Buttons::Ok,
                        const QString& title = QStringLiteral("Kinetrova")) = 0;
};

} // namespace kntr
