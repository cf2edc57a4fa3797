#pragma once

#include <QGroupBox>

#include <array>

class QLabel;
class QPushButton;
class QScrollBar;

namespace kntr {

class Editor;
class ValueBox;

/// The "Segment Design" frame (fraSegment): the Segment, Speed, Incline and
/// Time rows, each a caption, a value box and a scroll bar (txtSelSegment,
/// hscSelSegment, ...), the Add and Delete buttons, and the run's controls
/// (lblTime, cmdStart, cmdResume), hidden until a run can be started.
///
/// It mirrors the editor's controls and forwards the user's moves to it. The
/// speed, incline and time boxes take typed values.
class SegmentPanel : public QGroupBox {
    Q_OBJECT

public:
    explicit SegmentPanel(Editor& editor, QWidget* parent = nullptr);

    /// Shows what the editor's changes (Editor::Change bits) touch: scroll
    /// bars, boxes, captions and whether editing is enabled.
    void refresh(unsigned changes);
    /// Gives the focus to the editor's active box, its text selected.
    void focusActiveBox();

    /// Shows or hides the time left, Start and Resume.
    void showRunControls(bool shown);
    /// Start becomes Stop while a workout runs, and Resume is disabled.
    void setRunMode(bool running);
    /// The time left in the segment being run.
    void setTimeLeft(const QString& text);
    /// The last control the Tab key reaches in this frame.
    QWidget* lastInTabOrder() const;

signals:
    void startClicked();
    void resumeClicked();
    /// What the status line should say after a typed value; empty to clear it.
    void statusMessage(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Editor& mEditor;
    std::array<ValueBox*, 4> mBoxes{}; ///< segment, speed, incline, time
    std::array<QScrollBar*, 4> mScrolls{}; ///< in the same order
    QLabel* mSpeedLabel = nullptr;
    QLabel* mInclineLabel = nullptr;
    QPushButton* mAddButton = nullptr;
    QPushButton* mDeleteButton = nullptr;
    QLabel* mTimeLeft = nullptr;
    QPushButton* mStartButton = nullptr;
    QPushButton* mResumeButton = nullptr;
};

} // namespace kntr
