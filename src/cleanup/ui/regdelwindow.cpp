#include "regdelwindow.h"

#include "cleanup/settingscleanup.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kntr {

namespace {

/// A label shows carriage returns as line breaks, as the labels of the
/// system the texts were written for do.
QString displayed(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

/// A frame without caption holding a button and its explanation.
QFrame* choice(QWidget* parent, const char* frameName, QPushButton* button, const QString& text,
               const char* labelName)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(frameName));
    frame->setFrameShape(QFrame::StyledPanel);
    auto* label = new QLabel(displayed(text), frame);
    label->setObjectName(QLatin1String(labelName));
    label->setWordWrap(true);
    label->setMinimumWidth(260);
    auto* row = new QHBoxLayout(frame);
    row->addWidget(button, 0, Qt::AlignTop);
    row->addWidget(label, 1);
    return frame;
}

} // namespace

RegDelWindow::RegDelWindow(SettingsCleanup& cleanup, QWidget* parent)
    : QDialog(parent)
    , mCleanup(cleanup)
{
    setObjectName(QStringLiteral("frmMainkntrRegDel"));
    setWindowTitle(SettingsCleanup::kCaption);

    auto* question = new QGroupBox(SettingsCleanup::kQuestion, this);
    question->setObjectName(QStringLiteral("Frame1"));
    auto* yes = new QPushButton(tr("&Yes"));
    yes->setObjectName(QStringLiteral("cmdYes"));
    yes->setDefault(true);
    auto* no = new QPushButton(tr("&No"));
    no->setObjectName(QStringLiteral("cmdNo"));
    auto* frames = new QVBoxLayout(question);
    frames->addWidget(choice(question, "Frame2", yes, SettingsCleanup::kRecommended, "Label1"));
    frames->addWidget(choice(question, "Frame3", no, SettingsCleanup::kPreserve, "Label2"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(question);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(yes, &QPushButton::clicked, this, &RegDelWindow::cmdYes_Click);
    connect(no, &QPushButton::clicked, this, &RegDelWindow::cmdNo_Click);
}

void RegDelWindow::cmdYes_Click()
{
    mCleanup.deleteSettings();
    accept();
}

void RegDelWindow::cmdNo_Click()
{
    reject();
}

} // namespace kntr
