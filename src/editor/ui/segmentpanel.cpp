#include "segmentpanel.h"

#include "valuelabel.h"

#include "editor/editor.h"
#include "editor/ui/valuebox.h"

#include "model/session.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

namespace kntr {

namespace {

constexpr int kSegmentBox = 0;
constexpr int kTimeBox = 3;

constexpr Editor::Field kBoxFields[] = {Editor::Field::Segment, Editor::Field::Speed, Editor::Field::Incline,
                                        Editor::Field::Time};

QPushButton* makeButton(const QString& text, const QString& name, const QString& toolTip, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setToolTip(toolTip);
    return button;
}

} // namespace

SegmentPanel::SegmentPanel(Editor& editor, QWidget* parent)
    : QGroupBox(tr("Segment Design"), parent)
    , mEditor(editor)
{
    setObjectName(QStringLiteral("fraSegment"));
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(3);
    const QString boxNames[] = {QStringLiteral("txtSelSegment"), QStringLiteral("txtSelSpeed"),
                                QStringLiteral("txtSelIncl"), QStringLiteral("txtSelTime")};
    const QString scrollNames[] = {QStringLiteral("hscSelSegment"), QStringLiteral("hscSelSpeed"),
                                   QStringLiteral("hscSelIncline"), QStringLiteral("hscSelTime")};
    auto* segmentLabel = new QLabel(tr("Segment"), this);
    segmentLabel->setObjectName(QStringLiteral("lblSegment"));
    mSpeedLabel = new QLabel(this);
    mSpeedLabel->setObjectName(QStringLiteral("lblSpeed"));
    mSpeedLabel->setToolTip(tr("Click toggles between distance/time and time/distance."));
    mSpeedLabel->setCursor(Qt::PointingHandCursor);
    mSpeedLabel->installEventFilter(this);
    mInclineLabel = new QLabel(this);
    mInclineLabel->setObjectName(QStringLiteral("lblIncline"));
    auto* timeLabel = new QLabel(tr("Time"), this);
    timeLabel->setObjectName(QStringLiteral("lblSelTime"));
    QLabel* captions[] = {segmentLabel, mSpeedLabel, mInclineLabel, timeLabel};
    for (int i = 0; i < 4; ++i) {
        captions[i]->setAlignment(Qt::AlignCenter);
        grid->addWidget(captions[i], 0, i);
        auto* box = new ValueBox(this);
        box->setObjectName(boxNames[i]);
        box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00:000")) + 12);
        captions[i]->setBuddy(box);
        grid->addWidget(box, 1, i);
        auto* scroll = new QScrollBar(Qt::Horizontal, this);
        scroll->setObjectName(scrollNames[i]);
        scroll->setFocusPolicy(Qt::StrongFocus);
        // Right arrow and wheel up raise the value, as the box's arrows do.
        scroll->setInvertedControls(false);
        grid->addWidget(scroll, 2, i);
        mBoxes[i] = box;
        mScrolls[i] = scroll;

        const Editor::Field field = kBoxFields[i];
        connect(scroll, &QScrollBar::valueChanged, this,
                [this, field](int v) { mEditor.setValue(field, v); });
        connect(box, &ValueBox::navigationKey, this,
                [this, field](Editor::Key key) { mEditor.keyPress(field, key); });
        const Editor::Box activeBox = static_cast<Editor::Box>(i + 1);
        connect(box, &ValueBox::activated, this, [this, activeBox] { mEditor.activate(activeBox); });
    }
    for (int i = kSegmentBox + 1; i <= kTimeBox; ++i) {
        mBoxes[i]->setTyping(true);
        connect(mBoxes[i], &ValueBox::textEntered, this, [this, field = kBoxFields[i]](const QString& text) {
            emit statusMessage(mEditor.enterText(field, text));
        });
    }
    connect(mBoxes[kSegmentBox], &ValueBox::otherKey, mBoxes[kSegmentBox],
            [box = mBoxes[kSegmentBox]] { box->end(false); });
    mScrolls[kTimeBox]->setToolTip(tr("Hold an arrow to change the time 10 seconds a step."));

    mAddButton = makeButton(tr("&Ins Seg"), QStringLiteral("btnAddSegment"),
                            tr("Add segment to the right of the selected segment."), this);
    mDeleteButton =
        makeButton(tr("&Del Seg"), QStringLiteral("btnDelSegment"), tr("Delete selected segment."), this);
    connect(mAddButton, &QPushButton::clicked, &mEditor, &Editor::insertCopyOfCurrent);
    connect(mDeleteButton, &QPushButton::clicked, &mEditor, &Editor::deleteCurrent);
    grid->addWidget(mAddButton, 1, 4);
    grid->addWidget(mDeleteButton, 2, 4);

    // The run: time left, Start/Stop and Resume.
    mTimeLeft = makeValueLabel(QStringLiteral("lblTime"), this);
    mTimeLeft->setAlignment(Qt::AlignCenter);
    mTimeLeft->setText(QStringLiteral("0:00"));
    mTimeLeft->setToolTip(tr("Time left in the segment."));
    mStartButton =
        makeButton(tr("&Start"), QStringLiteral("cmdStart"), tr("Start workout at segment 1."), this);
    mResumeButton = makeButton(tr("&Resume"), QStringLiteral("cmdResume"),
                               tr("Start workout at the selected segment."), this);
    connect(mStartButton, &QPushButton::clicked, this, &SegmentPanel::startClicked);
    connect(mResumeButton, &QPushButton::clicked, this, &SegmentPanel::resumeClicked);
    grid->addWidget(mTimeLeft, 0, 5);
    grid->addWidget(mStartButton, 1, 5);
    grid->addWidget(mResumeButton, 2, 5);
    showRunControls(false);
    for (int i = 0; i < 4; ++i)
        grid->setColumnStretch(i, 1);

    // Tab goes down each column, a box and its scroll bar, then to the buttons.
    QWidget* previous = nullptr;
    for (int i = 0; i < 4; ++i) {
        if (previous)
            setTabOrder(previous, mBoxes[i]);
        setTabOrder(mBoxes[i], mScrolls[i]);
        previous = mScrolls[i];
    }
    setTabOrder(previous, mAddButton);
    setTabOrder(mAddButton, mDeleteButton);
    setTabOrder(mDeleteButton, mStartButton);
    setTabOrder(mStartButton, mResumeButton);
}

void SegmentPanel::refresh(unsigned changes)
{
    if (changes & (Editor::Scrolls | Editor::Ranges)) {
        for (int i = 0; i < 4; ++i) {
            const Editor::Control& c = mEditor.control(kBoxFields[i]);
            const QSignalBlocker block(mScrolls[i]);
            mScrolls[i]->setRange(c.min, c.max);
            mScrolls[i]->setSingleStep(c.step);
            mScrolls[i]->setPageStep(c.page);
            mScrolls[i]->setValue(c.value);
        }
    }
    if (changes & Editor::Texts) {
        for (int i = 0; i < 4; ++i)
            mBoxes[i]->setText(mEditor.text(kBoxFields[i]));
    }
    if (changes & (Editor::Captions | Editor::Totals)) {
        mSpeedLabel->setText(mEditor.speedCaption());
        mInclineLabel->setText(mEditor.session().machine.AttTwoDesignLabel());
    }
    if (changes & Editor::Enabled) {
        const bool on = mEditor.editingEnabled();
        for (int i = 0; i < 4; ++i) {
            mBoxes[i]->setEnabled(on);
            mScrolls[i]->setEnabled(on);
        }
        mAddButton->setEnabled(on);
        mDeleteButton->setEnabled(on);
    }
}

void SegmentPanel::focusActiveBox()
{
    // A scroll bar moved from the keyboard keeps the focus.
    if (std::find(mScrolls.begin(), mScrolls.end(), QApplication::focusWidget()) != mScrolls.end())
        return;
    switch (mEditor.activeBox()) {
    case Editor::Box::Segment:
        mBoxes[0]->takeFocus();
        break;
    case Editor::Box::Speed:
        mBoxes[1]->takeFocus();
        break;
    case Editor::Box::Incline:
        mBoxes[2]->takeFocus();
        break;
    case Editor::Box::Time:
        mBoxes[3]->takeFocus();
        break;
    case Editor::Box::None:
        break;
    }
}

void SegmentPanel::showRunControls(bool shown)
{
    for (QWidget* w : std::initializer_list<QWidget*>{mTimeLeft, mStartButton, mResumeButton})
        w->setVisible(shown);
}

void SegmentPanel::setRunMode(bool running)
{
    mStartButton->setText(running ? tr("&Stop") : tr("&Start"));
    mStartButton->setToolTip(running ? tr("Stop workout.") : tr("Start workout at segment 1."));
    mResumeButton->setEnabled(!running);
}

void SegmentPanel::setTimeLeft(const QString& text)
{
    mTimeLeft->setText(text);
}

QWidget* SegmentPanel::lastInTabOrder() const
{
    return mResumeButton;
}

bool SegmentPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mSpeedLabel && event->type() == QEvent::MouseButtonPress && mSpeedLabel->isEnabled())
        mEditor.toggleSpeedDisplay();
    return QGroupBox::eventFilter(watched, event);
}

} // namespace kntr
