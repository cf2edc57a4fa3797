#pragma once

#include "editor/axislabels.h"

#include <QWidget>

#include <array>
#include <optional>

class QLabel;

namespace kntr {

/// A value axis beside the graph: six labels (lblYscale0..5 on the left,
/// lblY2scale0..5 on the right), each at the height of the value it marks.
class ValueAxis : public QWidget {
    Q_OBJECT

public:
    enum class Side { Left, Right };

    ValueAxis(Side side, QWidget* parent = nullptr);

    /// Sets the labels; a label given as nullopt keeps its text and place.
    void setLabels(const std::array<std::optional<AxisLabel>, 6>& labels);
    /// The scale: values run from 0 at graphTop + graphHeight up to scaleTop
    /// tenths at graphTop (in this widget's y coordinates).
    void setScale(int scaleTop, int graphTop, int graphHeight);
    /// The width the widest label of the given texts needs.
    int preferredWidth(const QStringList& widest) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void place();

    Side mSide;
    std::array<QLabel*, 6> mLabels{};
    std::array<double, 6> mValues{};
    int mScaleTop = 0;
    int mGraphTop = 0;
    int mGraphHeight = 1;
};

} // namespace kntr
