#include "recordingpreferenceswindow.h"

#include "builder/recordingpreferences.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace kntr {

namespace {

constexpr int kBitRates[] = {64, 96, 128};

QRadioButton* makeOption(const QString& name, int index, const char* caption, QWidget* parent)
{
    auto* option = new QRadioButton(QLatin1String(caption), parent);
    option->setObjectName(name + QStringLiteral("_%1").arg(index));
    return option;
}

} // namespace

RecordingPreferencesWindow::RecordingPreferencesWindow(SettingsStore& settings, QWidget* parent)
    : QDialog(parent)
    , mSettings(settings)
{
    setObjectName(QStringLiteral("frmCreateCDPref"));
    setWindowTitle(QStringLiteral("Recording Preferences"));
    setModal(true);

    auto* frame1 = new QGroupBox(this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    mChkWavePerSegment = new QCheckBox(QStringLiteral("&Use one file per segment"), frame1);
    mChkWavePerSegment->setObjectName(QStringLiteral("chkWavePerSegment"));
    mChkWavePerSegment->setToolTip(
        QStringLiteral("Files assigned one per segment in the order shown in the list."));
    mChkChapters = new QCheckBox(QStringLiteral("C&hapter marks"), frame1);
    mChkChapters->setObjectName(QStringLiteral("chkChapters"));
    mChkChapters->setToolTip(
        QStringLiteral("Mark each segment as a chapter that players can show and skip to."));
    auto* frame1Column = new QVBoxLayout(frame1);
    frame1Column->addWidget(mChkWavePerSegment);
    frame1Column->addWidget(mChkChapters);

    auto* frame2 = new QGroupBox(QStringLiteral("Settings for Workouts without Background Music"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    // The two groups share a frame; each is exclusive on its own.
    auto* waveGroup = new QButtonGroup(this);
    auto* rateGroup = new QButtonGroup(this);
    mOptWaveType[1] = makeOption(QStringLiteral("optWaveType"), 1, "&Stereo", frame2);
    mOptWaveType[0] = makeOption(QStringLiteral("optWaveType"), 0, "&Monaural", frame2);
    mOptMP3BitRate[2] = makeOption(QStringLiteral("optMP3BitRate"), 2, "&128 bitrate", frame2);
    mOptMP3BitRate[1] = makeOption(QStringLiteral("optMP3BitRate"), 1, "&96 bitrate", frame2);
    mOptMP3BitRate[0] = makeOption(QStringLiteral("optMP3BitRate"), 0, "&64 bitrate", frame2);
    auto* waveColumn = new QVBoxLayout;
    for (int i : {1, 0}) {
        waveGroup->addButton(mOptWaveType[static_cast<size_t>(i)], i);
        waveColumn->addWidget(mOptWaveType[static_cast<size_t>(i)]);
    }
    waveColumn->addStretch(1);
    auto* rateColumn = new QVBoxLayout;
    for (int i : {2, 1, 0}) {
        rateGroup->addButton(mOptMP3BitRate[static_cast<size_t>(i)], i);
        rateColumn->addWidget(mOptMP3BitRate[static_cast<size_t>(i)]);
    }
    auto* columns = new QHBoxLayout(frame2);
    columns->addLayout(waveColumn);
    columns->addLayout(rateColumn);

    auto* cmdSave = new QPushButton(QStringLiteral("&Save"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdSave->setDefault(true);
    auto* cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame1);
    layout->addWidget(frame2);
    layout->addLayout(buttons);

    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    Form_Load();
}

void RecordingPreferencesWindow::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        Form_Load();
    QDialog::showEvent(event);
}

void RecordingPreferencesWindow::Form_Load()
{
    const RecordingPreferences preferences = RecordingPreferences::read(mSettings);
    mChkWavePerSegment->setChecked(preferences.oneFilePerSegment);
    mChkChapters->setChecked(preferences.chapters);
    mOptWaveType[preferences.stereo ? 1 : 0]->setChecked(true);
    for (size_t i = 0; i < mOptMP3BitRate.size(); ++i)
        if (kBitRates[i] == preferences.mp3BitRate)
            mOptMP3BitRate[i]->setChecked(true);
}

void RecordingPreferencesWindow::cmdSave_Click()
{
    RecordingPreferences preferences;
    preferences.oneFilePerSegment = mChkWavePerSegment->isChecked();
    preferences.chapters = mChkChapters->isChecked();
    preferences.stereo = mOptWaveType[1]->isChecked();
    for (size_t i = 0; i < mOptMP3BitRate.size(); ++i)
        if (mOptMP3BitRate[i]->isChecked())
            preferences.mp3BitRate = kBitRates[i];
    preferences.save(mSettings);
    accept();
}

} // namespace kntr
