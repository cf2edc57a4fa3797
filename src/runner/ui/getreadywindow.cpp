#include "getreadywindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kntr {

GetReadyWindow::GetReadyWindow(QWidget* parent)
    : QDialog(parent)
    , mCountdown(new QLabel(this))
    , mInstructions(new QLabel(this))
    , mCancel(new QPushButton(tr("Cancel"), this))
{
    setObjectName(QStringLiteral("frmGetReady"));
    setWindowTitle(QStringLiteral("Kinetrova"));
    setModal(false);
    mCountdown->setObjectName(QStringLiteral("lblGetReady"));
    mInstructions->setObjectName(QStringLiteral("lblGetReady2"));
    mCancel->setObjectName(QStringLiteral("cmdCancel"));
    QFont big = mCountdown->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    mCountdown->setFont(big);
    mCountdown->setAlignment(Qt::AlignCenter);
    mCountdown->setMinimumWidth(
        mCountdown->fontMetrics().horizontalAdvance(QStringLiteral("Workout resumes in 20 seconds...")));
    mInstructions->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mCountdown);
    layout->addWidget(mInstructions);
    layout->addWidget(mCancel, 0, Qt::AlignCenter);
    connect(mCancel, &QPushButton::clicked, this, &GetReadyWindow::reject);
}

void GetReadyWindow::showTexts(const QString& countdown, const QString& instructions)
{
    // The texts come with the old program's carriage returns.
    const auto lines = [](QString text) {
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        return text;
    };
    mCountdown->setText(lines(countdown));
    if (!instructions.isEmpty())
        mInstructions->setText(lines(instructions));
    if (!isVisible()) {
        adjustSize();
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
        show();
    }
}

void GetReadyWindow::finish()
{
    hide();
}

void GetReadyWindow::reject()
{
    emit cancelled();
    QDialog::reject();
}

} // namespace kntr
