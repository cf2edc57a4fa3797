#include "rundisplay.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace kntr {

namespace {

constexpr int kMargin = 6;

QLabel* makeLabel(const QString& name, Qt::Alignment alignment, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(alignment);
    return label;
}

void setPixelSize(QWidget* widget, int pixels, bool bold)
{
    QFont font = widget->font();
    font.setPixelSize(std::max(1, pixels));
    font.setBold(bold);
    widget->setFont(font);
}

} // namespace

RunDisplay::RunDisplay(const Session& session, const SettingsStore& settings, QWidget* parent)
    : QWidget(parent)
    , mModel(session, settings)
{
    setObjectName(QStringLiteral("runDisplay"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    mSegment = makeLabel(QStringLiteral("lblRunSegment"), Qt::AlignCenter, this);
    mFirstCaption = makeLabel(QStringLiteral("lblRunFirstCaption"), Qt::AlignCenter, this);
    mSecondCaption = makeLabel(QStringLiteral("lblRunSecondCaption"), Qt::AlignCenter, this);
    mFirst = makeLabel(QStringLiteral("lblRunFirst"), Qt::AlignCenter, this);
    mSecond = makeLabel(QStringLiteral("lblRunSecond"), Qt::AlignCenter, this);
    mTimeLeftCaption = makeLabel(QStringLiteral("lblRunTimeLeftCaption"), Qt::AlignCenter, this);
    mTimeLeftCaption->setText(tr("Time left in the segment"));
    mTimeLeft = makeLabel(QStringLiteral("lblRunTimeLeft"), Qt::AlignCenter, this);
    mElapsed = makeLabel(QStringLiteral("lblRunElapsed"), Qt::AlignLeft | Qt::AlignVCenter, this);
    mTotal = makeLabel(QStringLiteral("lblRunTotal"), Qt::AlignRight | Qt::AlignVCenter, this);
    mNext = makeLabel(QStringLiteral("lblRunNext"), Qt::AlignCenter, this);
    mProgress = new QProgressBar(this);
    mProgress->setObjectName(QStringLiteral("prgRun"));
    mProgress->setRange(0, 1000);
    mProgress->setTextVisible(false);
    mStop = new QPushButton(tr("&Stop"), this);
    mStop->setObjectName(QStringLiteral("cmdRunStop"));
    mStop->setToolTip(tr("Stop workout."));
    connect(mStop, &QPushButton::clicked, this, &RunDisplay::stopClicked);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    grid->setVerticalSpacing(0);
    grid->addWidget(mElapsed, 0, 0);
    grid->addWidget(mSegment, 0, 0, 1, 2, Qt::AlignCenter);
    grid->addWidget(mTotal, 0, 1);
    grid->addWidget(mFirstCaption, 1, 0);
    grid->addWidget(mSecondCaption, 1, 1);
    grid->addWidget(mFirst, 2, 0);
    grid->addWidget(mSecond, 2, 1);
    grid->addWidget(mTimeLeftCaption, 3, 0, 1, 2);
    grid->addWidget(mTimeLeft, 4, 0, 1, 2);
    grid->addWidget(mNext, 5, 0, 1, 2);
    grid->addWidget(mProgress, 6, 0, 1, 2);
    grid->addWidget(mStop, 7, 0, 1, 2, Qt::AlignCenter);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
    grid->setRowStretch(4, 1);
    for (QLabel* big : {mFirst, mSecond, mTimeLeft})
        big->setMinimumSize(1, 1);
    refresh();
}

void RunDisplay::refresh()
{
    mSegment->setText(mModel.segmentText());
    mFirstCaption->setText(mModel.firstCaption());
    mSecondCaption->setText(mModel.secondCaption());
    mFirst->setText(mModel.firstText());
    mSecond->setText(mModel.secondText());
    mTimeLeft->setText(mModel.timeLeftText());
    mElapsed->setText(tr("Elapsed %1").arg(mModel.elapsedText()));
    mTotal->setText(tr("Total %1").arg(mModel.totalText()));
    mNext->setText(mModel.nextText());
    mProgress->setValue(mModel.progress());
}

void RunDisplay::focusStop()
{
    mStop->setFocus(Qt::OtherFocusReason);
}

void RunDisplay::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitFonts();
}

void RunDisplay::fitFonts()
{
    // The small type grows with the display; the large type takes what is left
    // of the height, as far as the widest value fits its column.
    const int height = this->height() - 2 * kMargin;
    const int width = this->width() - 2 * kMargin;
    const int small = std::clamp(height / 32, 11, 32);
    for (QWidget* w : std::initializer_list<QWidget*>{mFirstCaption, mSecondCaption, mTimeLeftCaption,
                                                      mElapsed, mTotal, mNext})
        setPixelSize(w, small, false);
    setPixelSize(mSegment, small, true);
    setPixelSize(mStop, small, true);
    mStop->setMinimumWidth(mStop->fontMetrics().horizontalAdvance(mStop->text()) * 2);
    mProgress->setFixedHeight(small);
    const int smallRows =
        4 * mNext->fontMetrics().height() + mProgress->height() + mStop->sizeHint().height();

    QFont probe = mFirst->font();
    probe.setBold(true);
    probe.setPixelSize(100);
    const QFontMetricsF metrics(probe);
    const double lineHeight = metrics.height() / 100;
    const double targetWidth = metrics.horizontalAdvance(QStringLiteral("00.0")) / 100;
    const double timeWidth = metrics.horizontalAdvance(QStringLiteral("00:00")) / 100;
    const double large = std::min(
        {(height - smallRows) / (2 * lineHeight), (width / 2 - kMargin) / targetWidth, width / timeWidth});
    for (QLabel* label : {mFirst, mSecond, mTimeLeft})
        setPixelSize(label, static_cast<int>(large), true);
}

} // namespace kntr
