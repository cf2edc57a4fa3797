#pragma once

#include <QDialog>

#include <functional>

class QLabel;

namespace kntr {

/// Help > About: the program's title, version and build number, the credit
/// for the MP3 encoder and the button that clears Kinetrova's settings.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    /// resetSettings runs when the user presses "Clear Kinetrova from registry";
    /// without one that button is disabled.
    explicit AboutDialog(std::function<void()> resetSettings, QWidget* parent = nullptr);

private:
    void cmdReset_Click();

    std::function<void()> mResetSettings;
    QLabel* mResetDone;
};

} // namespace kntr
