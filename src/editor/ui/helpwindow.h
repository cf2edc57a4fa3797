#pragma once

#include <QPointer>
#include <QWidget>

class QKeyEvent;
class QTextBrowser;

namespace kntr {

class MessageBoxes;

/// The "Kinetrova Help" window: the manual shipped with the program, read offline.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    static inline const QString kTitle = QStringLiteral("Kinetrova Help");

    /// Shows the manual that starts at indexFile.
    explicit HelpWindow(const QString& indexFile, QWidget* parent = nullptr);

    /// The page being shown.
    QString currentPage() const;

    /// Help > Contents: shows window, made on first use, with the manual in
    /// programDataDir/help; without the manual's index.html, tells where it belongs.
    static void showManual(QPointer<HelpWindow>& window, const QString& programDataDir,
                           MessageBoxes& messages);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTextBrowser* mBrowser;
};

} // namespace kntr
