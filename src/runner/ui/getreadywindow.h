#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kntr {

/// The countdown window of a run (frmGetReady): the countdown line, the
/// console instructions and Cancel. It does not block: the run goes on while it
/// shows, and Cancel or closing it asks the run to stop.
class GetReadyWindow : public QDialog {
    Q_OBJECT

public:
    explicit GetReadyWindow(QWidget* parent = nullptr);

    /// Shows the two texts; an empty second text keeps the one shown.
    void showTexts(const QString& countdown, const QString& instructions);
    /// Hides the window without reporting a cancel (the countdown ran out).
    void finish();

signals:
    /// Cancel was pressed or the window was closed by the user.
    void cancelled();

protected:
    /// Cancel, Escape and the window's close button all end here.
    void reject() override;

private:
    QLabel* mCountdown;
    QLabel* mInstructions;
    QPushButton* mCancel;
};

} // namespace kntr
