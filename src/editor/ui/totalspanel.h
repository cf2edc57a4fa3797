#pragma once

#include "editor/windowplacement.h"

#include <QGroupBox>

#include <array>

class QGridLayout;
class QLabel;
class QScrollBar;

namespace kntr {

class Editor;
class ValueBox;

/// The "Workout Totals" frame (fraTotals): total time, distance and calories,
/// the selected segment's distance, and the user's weight with its box and
/// scroll bar (txtPounds, hscPounds), which the calorie total depends on.
///
/// The frame is a column beside the graph in the wide arrangement and a strip
/// of two rows in the compact one (arrange).
class TotalsPanel : public QGroupBox {
    Q_OBJECT

public:
    explicit TotalsPanel(Editor& editor, QWidget* parent = nullptr);

    /// Shows what the editor's changes (Editor::Change bits) touch: totals,
    /// units, the weight and whether editing is enabled.
    void refresh(unsigned changes);
    /// Gives the focus to the weight box, its text selected.
    void focusWeight();
    /// Puts the totals in the rows and columns of arrangement.
    void arrange(Arrangement arrangement);
    /// The first control the Tab key reaches in this frame.
    QWidget* firstInTabOrder() const;

private:
    Editor& mEditor;
    QGridLayout* mGrid = nullptr;
    QLabel* mTotalTime = nullptr;
    QLabel* mTotalDist = nullptr;
    QLabel* mDistUnit = nullptr;
    QLabel* mTotalCal = nullptr;
    QLabel* mSegDist = nullptr;
    ValueBox* mPoundsBox = nullptr;
    QScrollBar* mPoundsScroll = nullptr;
    QLabel* mWeightUnit = nullptr;
    std::array<QLabel*, 5> mCaptions{};
};

} // namespace kntr
