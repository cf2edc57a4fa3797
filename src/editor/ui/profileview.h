#pragma once

#include <QWidget>

namespace kntr {

class AxisCaption;
class Editor;
class ProfileGraph;
class TimeAxis;
class ValueAxis;

/// The workout's profile in the main window: the graph (picBox) with its time
/// axis under it, the value axes beside it and the rotated captions outside
/// them (picYlbl or, for pace, picYKlbl on the left; picY2lbl on the right).
///
/// It places its parts itself, whenever it is resized or its scales change,
/// in the arrangement the printed picture shares (layOutProfile).
class ProfileView : public QWidget {
    Q_OBJECT

public:
    explicit ProfileView(Editor& editor, QWidget* parent = nullptr);

    /// Redraws what the editor's changes (Editor::Change bits) touch: the
    /// columns, the time labels, the value scales and captions.
    void refresh(unsigned changes);
    /// Recomputes the column widths and redraws the columns.
    void updateGraphics();

    ProfileGraph* graph() const { return mGraph; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void refreshScales();
    void place();

    Editor& mEditor;
    ProfileGraph* mGraph = nullptr;
    TimeAxis* mTimeAxis = nullptr;
    ValueAxis* mLeftAxis = nullptr;
    ValueAxis* mRightAxis = nullptr;
    AxisCaption* mLeftCaption = nullptr;
    AxisCaption* mPaceCaption = nullptr;
    AxisCaption* mRightCaption = nullptr;
};

} // namespace kntr
