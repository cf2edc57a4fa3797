#pragma once

class QLabel;
class QString;
class QWidget;

namespace kntr {

/// A label that shows a value (a total, the time left): bold, right-aligned.
QLabel* makeValueLabel(const QString& name, QWidget* parent);

} // namespace kntr
