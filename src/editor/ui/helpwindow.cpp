#include "helpwindow.h"

#include "platform/messageboxes.h"

#include <QFileInfo>

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
    if (!window)
        window = new HelpWindow(index);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace kntr
