#include "helpwindow.h"

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

} // namespace kntr
