#pragma once

#include <QWidget>

#include <array>

class QLabel;

namespace kntr {

/// The time axis under the graph (picXaxis): five tick marks at 0, 1/4, 2/4,
/// 3/4 and 4/4 of the graph width (lblXdash0..4), their times (lblXnum0..4)
/// and the caption "minutes:seconds" (lblXcaption).
class TimeAxis : public QWidget {
    Q_OBJECT

public:
    explicit TimeAxis(QWidget* parent = nullptr);

    /// Shows the labels for a workout of the given length (updateXScales).
    void updateXScales(double totalSeconds);
    /// Where the graph's drawing area lies, in this widget's x coordinates.
    void setGraphSpan(int left, int width);
    /// The height the axis needs.
    int preferredHeight() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void place();

    std::array<QLabel*, 5> mDashes{};
    std::array<QLabel*, 5> mNumbers{};
    QLabel* mCaption = nullptr;
    int mGraphLeft = 0;
    int mGraphWidth = 1;
};

} // namespace kntr
