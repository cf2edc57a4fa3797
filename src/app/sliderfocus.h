#pragma once

class QApplication;

namespace kntr {

/// Draws a focus frame around the scroll bar or slider that has the keyboard
/// focus, which the style itself leaves unmarked, for as long as app runs.
void markSliderFocus(QApplication& app);

} // namespace kntr
