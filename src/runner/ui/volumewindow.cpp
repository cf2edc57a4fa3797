#include "volumewindow.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace kntr {

namespace {

using Level = SoundLevel;
using Test = VolumeWindowModel::Test;

QPushButton* makeButton(const char* name, const QString& caption, const QString& tip, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(tip);
    button->setAutoDefault(false);
    return button;
}

} // namespace

VolumeWindow::VolumeWindow(VolumeWindowModel& levels, QWidget* parent)
    : QDialog(parent)
    , mLevels(levels)
{
    setObjectName(QStringLiteral("frmAudio"));
    setWindowTitle(VolumeWindowModel::kCaption);
    setModal(false);

    mFraAdjChirp = new QGroupBox(QStringLiteral("Volume Settings"), this);
    mFraAdjChirp->setObjectName(QStringLiteral("fraAdjChirp"));
    mFraAdjChirp->setToolTip(QStringLiteral("Set volumes for computer playback mode"));
    auto* grid = new QGridLayout(mFraAdjChirp);

    struct Row {
        Level level;
        const char* label;
        const char* slider;
        const char* caption;
    };
    const Row rows[] = {
        {Level::Main, "lblAdjustMain", "hscVolMain", "Main"},
        {Level::Tone, "lblAdjVolChirp", "hscVolAW", "<-- quieter --  CHIRP  --  louder -->"},
        {Level::Music, "lblAdjVolCD", "hscVolCD", "<-- quieter --   MUSIC   --  louder -->"},
        {Level::Voice, "lblAdjustCue", "hscVolCue", "<-- quieter --VOICE CUE-- louder-->"},
    };
    int line = 0;
    for (const Row& row : rows) {
        auto* label = new QLabel(QLatin1String(row.caption), mFraAdjChirp);
        label->setObjectName(QLatin1String(row.label));
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignCenter);
        auto* slider = new QSlider(Qt::Horizontal, mFraAdjChirp);
        slider->setObjectName(QLatin1String(row.slider));
        slider->setMinimumWidth(260);
        slider->setFocusPolicy(Qt::StrongFocus);
        label->setBuddy(slider);
        grid->addWidget(label, line++, 0);
        grid->addWidget(slider, line++, 0);
        mSliders[static_cast<int>(row.level)] = slider;
        connect(slider, &QSlider::valueChanged, this,
                [this, level = row.level](int value) { mLevels.setValue(level, value); });
    }

    mTests = {
        makeButton("cmdAWvolume", QStringLiteral("&Test"), QStringLiteral("Play 2 chirp sounds"),
                   mFraAdjChirp),
        makeButton("cmdCDvolume", VolumeWindowModel::kTestCaption, QStringLiteral("Play a CD"), mFraAdjChirp),
        makeButton("cmdCueVolume", QStringLiteral("T&est"), QStringLiteral("Says \"Get Ready\""),
                   mFraAdjChirp)};
    grid->addWidget(mTests[static_cast<int>(Test::Tone)], 3, 1);
    grid->addWidget(mTests[static_cast<int>(Test::Music)], 5, 1);
    grid->addWidget(mTests[static_cast<int>(Test::Voice)], 7, 1);
    connect(mTests[static_cast<int>(Test::Tone)], &QPushButton::clicked, this,
            [this] { mLevels.testTone(); });
    connect(mTests[static_cast<int>(Test::Music)], &QPushButton::clicked, this,
            [this] { mLevels.testMusic(); });
    connect(mTests[static_cast<int>(Test::Voice)], &QPushButton::clicked, this,
            [this] { mLevels.testVoice(); });

    mCmdDefaults = makeButton("cmdDefaults", QStringLiteral("De&fault Settings"),
                              QStringLiteral("Change to default settings"), this);
    mCmdAccept =
        makeButton("cmdAccept", QStringLiteral("&Accept"), QStringLiteral("Save Volume Settings"), this);
    mCmdCancel =
        makeButton("cmdCancel", QStringLiteral("&Cancel"), QStringLiteral("Cancel these changes"), this);
    connect(mCmdDefaults, &QPushButton::clicked, this, [this] { mLevels.restoreDefaults(); });
    connect(mCmdAccept, &QPushButton::clicked, this, [this] {
        mLevels.accept();
        hide();
    });
    connect(mCmdCancel, &QPushButton::clicked, this, &VolumeWindow::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mCmdDefaults);
    buttons->addStretch(1);
    buttons->addWidget(mCmdAccept);
    buttons->addWidget(mCmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mFraAdjChirp);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    mLevels.setChangeHandler([this] { showLevels(); });
    showLevels();
}

VolumeWindow::~VolumeWindow()
{
    mLevels.setChangeHandler({});
}

void VolumeWindow::reject()
{
    // Escape during a run hides the window and changes nothing.
    mLevels.cancel();
    hide();
}

void VolumeWindow::showEvent(QShowEvent* event)
{
    if (!mLevels.isLoaded())
        mLevels.load();
    showLevels();
    QDialog::showEvent(event);
}

void VolumeWindow::closeEvent(QCloseEvent* event)
{
    mLevels.unload();
    event->accept();
}

void VolumeWindow::showLevels()
{
    mFraAdjChirp->setEnabled(mLevels.frameEnabled());
    for (int i = 0; i < 4; ++i) {
        const VolumeWindowModel::Slider s = mLevels.slider(static_cast<Level>(i));
        QSlider* slider = mSliders[i];
        const QSignalBlocker block(slider);
        slider->setRange(s.minimum, s.maximum);
        slider->setValue(s.value);
        slider->setSingleStep(std::max(1, (s.maximum - s.minimum) / 100));
        slider->setPageStep(std::max(1, (s.maximum - s.minimum) / 10));
        slider->setEnabled(s.enabled);
    }
    for (int i = 0; i < 3; ++i)
        mTests[i]->setEnabled(mLevels.testEnabled(static_cast<Test>(i)));
    mTests[static_cast<int>(Test::Music)]->setText(mLevels.musicTestCaption());
    for (QPushButton* button : {mCmdDefaults, mCmdAccept, mCmdCancel})
        button->setEnabled(mLevels.buttonsEnabled());
}

} // namespace kntr
