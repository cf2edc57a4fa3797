#pragma once

#include <QWidget>

class QTextBrowser;

namespace kntr {

/// The "Kinetrova Help" window: the manual shipped with the program, read offline.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    static inline const QString kTitle = QStringLiteral("Kinetrova Help");

    /// Shows the manual that starts at indexFile.
    explicit HelpWindow(const QString& indexFile, QWidget* parent = nullptr);

    /// The page being shown.
    QString currentPage() const;

private:
    QTextBrowser* mBrowser;
};

} // namespace kntr
