#include "helpwindow.h"

#include "platform/messageboxes.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace kntr {

HelpWindow::HelpWindow(const QString& indexFile, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , mBrowser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(kTitle);
    setAttribute(Qt::WA_DeleteOnClose);

    mBrowser->setObjectName(QStringLiteral("txtHelp"));
    mBrowser->setOpenExternalLinks(true);
    mBrowser->setSource(QUrl::fromLocalFile(indexFile));

    auto* back = new QPushButton(tr("&Back"), this);
    auto* contents = new QPushButton(tr("&Contents"), this);
    auto* close = new QPushButton(tr("Close"), this);
    back->setEnabled(false);
    connect(mBrowser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(back, &QPushButton::clicked, mBrowser, &QTextBrowser::backward);
    connect(contents, &QPushButton::clicked, mBrowser, &QTextBrowser::home);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(contents);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mBrowser);
    layout->addLayout(buttons);
    resize(640, 560);
}

void HelpWindow::keyPressEvent(QKeyEvent* event)
{
    // Esc closes the manual, as it closes the program's other windows.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

QString HelpWindow::currentPage() const
{
    return mBrowser->source().toLocalFile();
}

void HelpWindow::showManual(QPointer<HelpWindow>& window, const QString& programDataDir,
                            MessageBoxes& messages)
{
    const QString folder = programDataDir + QStringLiteral("/help");
    const QString index = folder + QStringLiteral("/index.html");
    if (!QFileInfo(index).isReadable()) {
        messages.show(QStringLiteral("To use help: \r\rthe file \"index.html\" must be in the \"") + folder
                          + QStringLiteral("\" directory"),
                      MessageBoxes::Icon::Information);
        return;
    }
    if (!window) {
        window = new HelpWindow(index);
        // Within the screen's free area, whatever its size: centred, and no
        // larger than the area.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            window->resize(window->size().boundedTo(area.size() * 9 / 10));
            QRect frame(QPoint(), window->size());
            frame.moveCenter(area.center());
            window->move(frame.topLeft());
        }
    }
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace kntr
