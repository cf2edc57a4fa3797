#pragma once

#include <QWidget>

namespace kntr {

/// A rotated axis caption (picYlbl, picYKlbl, picY2lbl): the left one reads
/// upwards (turned 90°), the right one downwards (turned 270°).
class AxisCaption : public QWidget {
    Q_OBJECT

public:
    enum class Reading { Upwards, Downwards };

    AxisCaption(Reading reading, QWidget* parent = nullptr);

    void setText(const QString& text);
    const QString& text() const { return mText; }
    /// The width the turned text needs.
    int preferredWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Reading mReading;
    QString mText;
};

} // namespace kntr
