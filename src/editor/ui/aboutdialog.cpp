#include "aboutdialog.h"

#include "version.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kntr {

AboutDialog::AboutDialog(std::function<void()> resetSettings, QWidget* parent)
    : QDialog(parent)
    , mResetSettings(std::move(resetSettings))
    , mResetDone(new QLabel(this))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About Kinetrova"));

    auto* title = new QLabel(QString::fromLatin1(kProgramName), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);

    auto* purpose =
        new QLabel(tr("Interval workouts for exercise machines that obey audio control tones."), this);
    purpose->setAlignment(Qt::AlignCenter);
    purpose->setWordWrap(true);

    auto* version =
        new QLabel(tr("Version %1, build %2").arg(QString::fromLatin1(kVersion)).arg(kBuildNumber), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setAlignment(Qt::AlignCenter);

    auto* credit = new QLabel(tr("MP3 encoding by LAME (libmp3lame), the LAME project, "
                                 "<a href=\"https://lame.sourceforge.io/\">lame.sourceforge.io</a>, "
                                 "used under the GNU Lesser General Public License."),
                              this);
    credit->setObjectName(QStringLiteral("lblCredit"));
    credit->setAlignment(Qt::AlignCenter);
    credit->setWordWrap(true);
    credit->setOpenExternalLinks(true);

    auto* reset = new QPushButton(tr("Clear Kinetrova from registry"), this);
    reset->setObjectName(QStringLiteral("cmdReset"));
    reset->setToolTip(
        tr("Deletes every setting Kinetrova has stored and puts the machine back to a treadmill in miles."));
    connect(reset, &QPushButton::clicked, this, [this, reset] {
        cmdReset_Click();
        reset->setEnabled(false);
    });
    // Without a way to clear them (during a live run) the settings stay as they are.
    reset->setEnabled(static_cast<bool>(mResetSettings));
    mResetDone->setObjectName(QStringLiteral("lblResetDone"));
    mResetDone->setAlignment(Qt::AlignCenter);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(10);
    layout->addWidget(title);
    layout->addWidget(purpose);
    layout->addWidget(version);
    layout->addSpacing(6);
    layout->addWidget(credit);
    layout->addSpacing(6);
    layout->addWidget(reset, 0, Qt::AlignCenter);
    layout->addWidget(mResetDone);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

void AboutDialog::cmdReset_Click()
{
    if (mResetSettings)
        mResetSettings();
    mResetDone->setText(tr("Kinetrova's settings have been cleared."));
}

} // namespace kntr
