#pragma once

#include "editor/graphgeometry.h"

#include <QFrame>

namespace kntr {

class Editor;

/// The profile graph (picBox): one column per segment, as wide as the segment
/// is long, with the speed bar and the incline bar side by side on their own
/// scales and the current segment in highlight colours. Clicks select a
/// segment and drags change the active value, through the Editor. With the
/// focus, Left and Right select the segment before or after, Home and End the
/// first and the last.
///
/// The column widths are the graph's own: computed for its width whenever it
/// is redrawn or resized, and used to find the segment under the pointer. A
/// legend in the top right corner names the two bars.
class ProfileGraph : public QFrame {
    Q_OBJECT

public:
    explicit ProfileGraph(Editor& editor, QWidget* parent = nullptr);

    /// Recomputes the column widths for the current size and redraws (updateGraphics).
    void updateGraphics();
    /// Width and height of the drawing area in pixels.
    QSize graphSize() const { return contentsRect().size(); }
    /// The column widths as last computed, element 0 for segment 1.
    const ColumnWidths& columnWidths() const { return mWidths; }
    /// The bottom of the speed scale and of the incline scale, in tenths.
    int speedScaleTop() const;
    int inclineScaleTop() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QPoint toGraph(const QPoint& widgetPoint) const;

    Editor& mEditor;
    ColumnWidths mWidths;
};

} // namespace kntr
