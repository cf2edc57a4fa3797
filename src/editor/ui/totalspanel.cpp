#include "totalspanel.h"

#include "valuelabel.h"

#include "editor/editor.h"
#include "editor/ui/valuebox.h"

#include "model/session.h"
#include "model/totals.h"

#include <QGridLayout>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>

namespace kntr {

TotalsPanel::TotalsPanel(Editor& editor, QWidget* parent)
    : QGroupBox(tr("Workout Totals"), parent)
    , mEditor(editor)
{
    setObjectName(QStringLiteral("fraTotals"));
    mGrid = new QGridLayout(this);
    mGrid->setHorizontalSpacing(6);
    mGrid->setVerticalSpacing(3);
    const QString captions[] = {tr("Time"), tr("Distance"), tr("Calories"), tr("Segment"), tr("&Weight")};
    for (int i = 0; i < 5; ++i)
        mCaptions[i] = new QLabel(captions[i], this);
    mCaptions[3]->setToolTip(tr("Distance of the selected segment."));
    mTotalTime = makeValueLabel(QStringLiteral("lblTotalTime"), this);
    mTotalDist = makeValueLabel(QStringLiteral("lblTotalDist"), this);
    mDistUnit = new QLabel(this);
    mDistUnit->setObjectName(QStringLiteral("lblwoMiles"));
    mTotalCal = makeValueLabel(QStringLiteral("lblTotalCal"), this);
    mSegDist = makeValueLabel(QStringLiteral("lblSegDist"), this);
    mPoundsBox = new ValueBox(this);
    mPoundsBox->setObjectName(QStringLiteral("txtPounds"));
    mPoundsBox->setMinimumWidth(mPoundsBox->fontMetrics().horizontalAdvance(QStringLiteral("000.0")) + 12);
    mPoundsBox->setMaximumWidth(mPoundsBox->minimumWidth() + 10);
    mCaptions[4]->setBuddy(mPoundsBox);
    mWeightUnit = new QLabel(this);
    mWeightUnit->setObjectName(QStringLiteral("lblWeightUnit"));
    mPoundsScroll = new QScrollBar(Qt::Horizontal, this);
    mPoundsScroll->setObjectName(QStringLiteral("hscPounds"));
    mPoundsScroll->setFocusPolicy(Qt::StrongFocus);
    mPoundsScroll->setInvertedControls(false);
    mPoundsScroll->setToolTip(tr("Your body weight, for the calorie total."));
    connect(mPoundsScroll, &QScrollBar::valueChanged, this,
            [this](int v) { mEditor.setValue(Editor::Field::Weight, v); });
    connect(mPoundsBox, &ValueBox::navigationKey, this,
            [this](Editor::Key key) { mEditor.keyPress(Editor::Field::Weight, key); });
    arrange(Arrangement::Wide);
}

void TotalsPanel::refresh(unsigned changes)
{
    if (changes & (Editor::Scrolls | Editor::Ranges)) {
        const Editor::Control& c = mEditor.control(Editor::Field::Weight);
        const QSignalBlocker block(mPoundsScroll);
        mPoundsScroll->setRange(c.min, c.max);
        mPoundsScroll->setSingleStep(c.step);
        mPoundsScroll->setPageStep(c.page);
        mPoundsScroll->setValue(c.value);
    }
    if (changes & Editor::Texts)
        mPoundsBox->setText(mEditor.text(Editor::Field::Weight));
    if (changes & Editor::Totals) {
        const Editor::TotalsTexts& t = mEditor.totals();
        mTotalTime->setText(t.time);
        mTotalDist->setText(t.distance);
        mTotalCal->setText(t.calories);
        mSegDist->setText(t.segmentDistance);
    }
    if (changes & (Editor::Captions | Editor::Totals)) {
        mDistUnit->setText(mEditor.distanceUnitText());
        mWeightUnit->setText(weightUnitText(mEditor.session().machine.units()));
    }
    if (changes & Editor::Enabled) {
        const bool on = mEditor.editingEnabled();
        mPoundsBox->setEnabled(on);
        mPoundsScroll->setEnabled(on);
    }
}

void TotalsPanel::focusWeight()
{
    // The scroll bar moved from the keyboard keeps the focus.
    if (mPoundsScroll->hasFocus())
        return;
    mPoundsBox->takeFocus();
}

QWidget* TotalsPanel::firstInTabOrder() const
{
    return mPoundsBox;
}

void TotalsPanel::arrange(Arrangement arrangement)
{
    // Row, column, row span and column span of every part. Wide: a column beside
    // the graph, one total per row. Compact: a strip under the editing frame, two
    // rows, the weight at the right.
    struct Cell {
        QWidget* widget;
        std::array<int, 4> wide;
        std::array<int, 4> compact;
    };
    const Cell cells[] = {
        {mCaptions[0], {0, 0, 1, 1}, {0, 0, 1, 1}},  {mTotalTime, {0, 1, 1, 1}, {0, 1, 1, 1}},
        {mCaptions[1], {1, 0, 1, 1}, {0, 3, 1, 1}},  {mTotalDist, {1, 1, 1, 1}, {0, 4, 1, 1}},
        {mDistUnit, {1, 2, 1, 1}, {0, 5, 1, 1}},     {mCaptions[2], {2, 0, 1, 1}, {1, 0, 1, 1}},
        {mTotalCal, {2, 1, 1, 1}, {1, 1, 1, 1}},     {mCaptions[3], {3, 0, 1, 1}, {1, 3, 1, 1}},
        {mSegDist, {3, 1, 1, 2}, {1, 4, 1, 2}},      {mCaptions[4], {4, 0, 1, 1}, {0, 7, 1, 1}},
        {mPoundsBox, {4, 1, 1, 1}, {0, 8, 1, 1}},    {mWeightUnit, {4, 2, 1, 1}, {0, 9, 1, 1}},
        {mPoundsScroll, {5, 0, 1, 3}, {1, 7, 1, 3}},
    };
    const bool wide = arrangement == Arrangement::Wide;
    for (const Cell& cell : cells)
        mGrid->removeWidget(cell.widget);
    for (int c = 0; c < 10; ++c) {
        mGrid->setColumnStretch(c, 0);
        mGrid->setColumnMinimumWidth(c, 0);
    }
    mGrid->setRowStretch(6, wide ? 1 : 0);
    for (const Cell& cell : cells) {
        const std::array<int, 4>& at = wide ? cell.wide : cell.compact;
        mGrid->addWidget(cell.widget, at[0], at[1], at[2], at[3]);
    }
    if (wide) {
        mGrid->setColumnStretch(1, 1);
    } else {
        mGrid->setColumnMinimumWidth(2, 12);
        mGrid->setColumnStretch(6, 1);
    }
    const Qt::Alignment values = (wide ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    for (QLabel* value : {mTotalTime, mTotalDist, mTotalCal, mSegDist})
        value->setAlignment(values);
}

} // namespace kntr
