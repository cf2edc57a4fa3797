#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kntr {

class SettingsCleanup;

/// kntrRegDel's window (frmMainkntrRegDel): asks whether to delete the settings
/// of earlier Kinetrova releases. Yes deletes them and closes; No and closing
/// the window change nothing.
class RegDelWindow : public QDialog {
    Q_OBJECT

public:
    explicit RegDelWindow(SettingsCleanup& cleanup, QWidget* parent = nullptr);

public slots:
    void cmdYes_Click();
    void cmdNo_Click();

private:
    SettingsCleanup& mCleanup;
};

} // namespace kntr
