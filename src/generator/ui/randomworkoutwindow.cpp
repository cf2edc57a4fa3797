#include "randomworkoutwindow.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <tuple>

namespace kntr {

namespace {

QLabel* makeLabel(const QString& name, QWidget* parent, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

QScrollBar* makeScrollBar(const QString& name, Qt::Orientation orientation, QWidget* parent)
{
    auto* bar = new QScrollBar(orientation, parent);
    bar->setObjectName(name);
    bar->setFocusPolicy(Qt::StrongFocus);
    // Right, up and wheel up raise the value, moving the handle the same way.
    bar->setInvertedControls(false);
    // Up is more, as on the graph.
    if (orientation == Qt::Vertical)
        bar->setInvertedAppearance(true);
    return bar;
}

QPushButton* makeButton(const char* name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

void showSlider(QScrollBar* bar, const RandomWorkoutModel::Slider& s)
{
    const QSignalBlocker block(bar);
    bar->setRange(s.min, s.max);
    bar->setSingleStep(s.step);
    bar->setPageStep(s.step);
    bar->setValue(s.value);
}

} // namespace

RandomWorkoutWindow::RandomWorkoutWindow(RandomWorkoutModel& form, QWidget* parent)
    : QDialog(parent)
    , mForm(form)
{
    setObjectName(QStringLiteral("frmRandomWorkout"));
    setWindowTitle(RandomWorkoutModel::kCaption);
    setModal(true);

    buildParameters();
    buildSegments();

    mCmdWarmUp = makeButton("cmdWarmUp", RandomWorkoutModel::kAdjustCaption, this);
    mCmdMake = makeButton("cmdMake", QStringLiteral("&Make Workout"), this);
    mCmdClose = makeButton("cmdClose", QStringLiteral("&Close"), this);
    connect(mCmdWarmUp, &QPushButton::clicked, this, [this] { mForm.toggleFixedSegments(); });
    connect(mCmdMake, &QPushButton::clicked, this, [this] { mForm.makeWorkout(); });
    connect(mCmdClose, &QPushButton::clicked, this, [this] {
        mForm.storeValues();
        accept();
    });

    // Both frames take the same place; one is shown at a time.
    auto* frames = new QGridLayout;
    frames->addWidget(mFraParameters, 0, 0);
    frames->addWidget(mFraSetSegments, 0, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mCmdWarmUp);
    buttons->addStretch(1);
    buttons->addWidget(mCmdMake);
    buttons->addWidget(mCmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(frames, 1);
    layout->addLayout(buttons);
    setFixedSize(RandomWorkoutModel::kWidth, RandomWorkoutModel::kHeight);

    mForm.setChangeHandler([this] { showForm(); });
    showForm();
}

RandomWorkoutWindow::~RandomWorkoutWindow()
{
    mForm.setChangeHandler({});
}

void RandomWorkoutWindow::buildParameters()
{
    mFraParameters = new QGroupBox(RandomWorkoutModel::kParametersCaption, this);
    mFraParameters->setObjectName(QStringLiteral("fraParameters"));
    auto* grid = new QGridLayout(mFraParameters);
    grid->setVerticalSpacing(2);
    grid->setHorizontalSpacing(12);

    struct Column {
        Attribute attribute;
        Range max, min;
        const char* maxName;
        const char* maxText;
        const char* minName;
        const char* minText;
        const char* options;
        const std::array<QString, 3>* captions;
        const char* bias;
        const char* biasLabel;
    };
    const Column columns[] = {
        {Attribute::Speed, Range::SpeedMax, Range::SpeedMin, "hscSpeedMax", "lblSpeed", "hscSpeedMin",
         "lblSpeedMin", "optSpeed", &RandomWorkoutModel::kSpeedOptions, "hscBiasOne", "lblBiasOne"},
        {Attribute::Incline, Range::InclineMax, Range::InclineMin, "hscInclineMax", "lblIncline",
         "hscInclineMin", "lblInclineMin", "optIncline", &RandomWorkoutModel::kInclineOptions, "hscBiasTwo",
         "lblBiasTwo"},
    };
    for (const Column& c : columns) {
        const int a = static_cast<int>(c.attribute);
        const int col = 2 * a;
        int row = 0;
        for (const auto& [range, name, text] :
             {std::tuple{c.max, c.maxName, c.maxText}, std::tuple{c.min, c.minName, c.minText}}) {
            const int r = static_cast<int>(range);
            const QString bar = QLatin1String(name);
            mRangeCaptions[r] =
                makeLabel(QStringLiteral("lbl") + bar.mid(3) + QStringLiteral("Cap"), mFraParameters);
            mRangeTexts[r] = makeLabel(QLatin1String(text), mFraParameters, Qt::AlignRight);
            mRanges[r] = makeScrollBar(bar, Qt::Horizontal, mFraParameters);
            mRangeCaptions[r]->setBuddy(mRanges[r]);
            grid->addWidget(mRangeCaptions[r], row, col);
            grid->addWidget(mRangeTexts[r], row++, col + 1);
            grid->addWidget(mRanges[r], row++, col, 1, 2);
            connect(mRanges[r], &QScrollBar::valueChanged, this,
                    [this, range](int v) { mForm.setRange(range, v); });
        }

        mPatterns[a] = new QButtonGroup(this);
        mPatterns[a]->setObjectName(QLatin1String(c.options));
        for (int i = 0; i < 3; ++i) {
            auto* option = new QRadioButton((*c.captions)[i], mFraParameters);
            option->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(c.options)).arg(i));
            mPatterns[a]->addButton(option, i);
            grid->addWidget(option, row++, col, 1, 2);
        }
        connect(mPatterns[a], &QButtonGroup::idClicked, this,
                [this, attribute = c.attribute](int i) { mForm.choosePattern(attribute, i); });

        mBiasCaptions[a] = makeLabel(QLatin1String(c.biasLabel), mFraParameters);
        grid->addWidget(mBiasCaptions[a], row++, col, 1, 2);
        // The three biases share one place; the pattern's own is shown.
        for (int i = 0; i < 3; ++i) {
            QScrollBar* bar = makeScrollBar(QStringLiteral("%1_%2").arg(QLatin1String(c.bias)).arg(i),
                                            Qt::Horizontal, mFraParameters);
            mBiases[a][i] = bar;
            grid->addWidget(bar, row, col, 1, 2);
            connect(bar, &QScrollBar::valueChanged, this,
                    [this, attribute = c.attribute, i](int v) { mForm.setBias(attribute, i, v); });
        }
        mBiasCaptions[a]->setBuddy(mBiases[a][0]);
    }

    const int timeRow = grid->rowCount();
    auto* minutes = makeLabel(QStringLiteral("lblMinutes"), mFraParameters);
    minutes->setText(QStringLiteral("Minutes"));
    mHscTime = makeScrollBar(QStringLiteral("hscTime"), Qt::Horizontal, mFraParameters);
    mLblTime = makeLabel(QStringLiteral("lblTime"), mFraParameters, Qt::AlignRight);
    grid->setRowMinimumHeight(timeRow, 8);
    grid->addWidget(minutes, timeRow + 1, 0);
    grid->addWidget(mLblTime, timeRow + 1, 1);
    grid->addWidget(mHscTime, timeRow + 2, 0, 1, 4);
    connect(mHscTime, &QScrollBar::valueChanged, this, [this](int v) { mForm.setTime(v); });
    grid->setRowStretch(timeRow + 3, 1);
}

void RandomWorkoutWindow::buildSegments()
{
    mFraSetSegments = new QGroupBox(RandomWorkoutModel::kSegmentsCaption, this);
    mFraSetSegments->setObjectName(QStringLiteral("fraSetSegments"));
    auto* layout = new QHBoxLayout(mFraSetSegments);

    auto* options = new QVBoxLayout;
    mOptSetSegment = new QButtonGroup(this);
    mOptSetSegment->setObjectName(QStringLiteral("optSetSegment"));
    for (int k = 0; k < 4; ++k) {
        auto* option = new QRadioButton(RandomWorkoutModel::kSegmentOptions[k], mFraSetSegments);
        option->setObjectName(QStringLiteral("optSetSegment_%1").arg(k));
        mOptSetSegment->addButton(option, k);
        options->addWidget(option);
    }
    options->addStretch(1);
    connect(mOptSetSegment, &QButtonGroup::idClicked, this, [this](int k) { mForm.showSegment(k); });
    layout->addLayout(options);

    // The three sliders of each fixed segment; the four sets share one place.
    auto* grid = new QGridLayout;
    const char* bars[] = {"vscSpeed", "vscIncline", "vscSeconds"};
    const char* texts[] = {"lblSegSpd", "lblSegInc", "lblSegSec"};
    for (int v = 0; v < 3; ++v) {
        mColumnCaptions[v] =
            makeLabel(QLatin1String(texts[v]) + QStringLiteral("Cap"), mFraSetSegments, Qt::AlignHCenter);
        grid->addWidget(mColumnCaptions[v], 0, v, Qt::AlignHCenter);
        for (int k = 0; k < 4; ++k) {
            QScrollBar* bar = makeScrollBar(QStringLiteral("%1_%2").arg(QLatin1String(bars[v])).arg(k),
                                            Qt::Vertical, mFraSetSegments);
            bar->setMinimumHeight(150);
            QLabel* text = makeLabel(QStringLiteral("%1_%2").arg(QLatin1String(texts[v])).arg(k),
                                     mFraSetSegments, Qt::AlignHCenter);
            mSegments[v][k] = bar;
            mSegmentTexts[v][k] = text;
            grid->addWidget(bar, 1, v, Qt::AlignHCenter);
            grid->addWidget(text, 2, v, Qt::AlignHCenter);
            connect(bar, &QScrollBar::valueChanged, this, [this, v, k](int value) {
                mForm.setSegmentValue(static_cast<SegmentValue>(v), k, value);
            });
        }
    }
    grid->setRowStretch(1, 1);
    layout->addLayout(grid, 1);
}

void RandomWorkoutWindow::reject()
{
    mForm.unload();
    QDialog::reject();
}

void RandomWorkoutWindow::showEvent(QShowEvent* event)
{
    if (!mForm.isLoaded())
        mForm.load();
    showForm();
    QDialog::showEvent(event);
}

void RandomWorkoutWindow::showForm()
{
    const bool adjusting = mForm.adjusting();
    mFraParameters->setVisible(!adjusting);
    mFraSetSegments->setVisible(adjusting);

    for (int r = 0; r < 4; ++r) {
        const auto range = static_cast<Range>(r);
        showSlider(mRanges[r], mForm.rangeSlider(range));
        mRangeCaptions[r]->setText(mForm.rangeCaption(range));
        mRangeTexts[r]->setText(mForm.rangeText(range));
    }
    for (int a = 0; a < 2; ++a) {
        const auto attribute = static_cast<Attribute>(a);
        const int pattern = mForm.pattern(attribute);
        {
            const QSignalBlocker block(mPatterns[a]);
            mPatterns[a]->button(pattern)->setChecked(true);
        }
        for (int i = 0; i < 3; ++i) {
            showSlider(mBiases[a][i], mForm.biasSlider(attribute, i));
            mBiases[a][i]->setVisible(i == pattern);
        }
        mBiasCaptions[a]->setText(mForm.biasCaption(attribute));
    }
    showSlider(mHscTime, mForm.timeSlider());
    mLblTime->setText(mForm.timeText());

    const int option = mForm.segmentOption();
    {
        const QSignalBlocker block(mOptSetSegment);
        mOptSetSegment->button(option)->setChecked(true);
    }
    for (int v = 0; v < 3; ++v) {
        const auto value = static_cast<SegmentValue>(v);
        mColumnCaptions[v]->setText(mForm.columnCaption(value));
        for (int k = 0; k < 4; ++k) {
            showSlider(mSegments[v][k], mForm.segmentSlider(value, k));
            mSegments[v][k]->setVisible(k == option);
            mSegmentTexts[v][k]->setText(mForm.segmentText(value, k));
            mSegmentTexts[v][k]->setVisible(k == option);
        }
    }

    mCmdWarmUp->setText(mForm.adjustCaption());
    mCmdMake->setEnabled(mForm.makeEnabled());
}

} // namespace kntr
