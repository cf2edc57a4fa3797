#include "runoptions.h"

#include "platform/settingsstore.h"

namespace kntr {

namespace {

const QString kOptions = QStringLiteral("options");
const QString kVoiceCues = QStringLiteral("VoiceCues");
const QString kDelay = QStringLiteral("Delay");
const QString kBeeps = QStringLiteral("Beeps");

int delayFromText(const QString& text)
{
    for (int choice : RunOptions::kDelayChoices) {
        if (text == QString::number(choice))
            return choice;
    }
    return 10;
}

} // namespace

RunOptions::RunOptions(SettingsStore& settings)
    : mSettings(settings)
{
}

void RunOptions::load()
{
    mVoiceCues = mSettings.GetSetting(kAppName, kOptions, kVoiceCues, QStringLiteral("1"))
                 == QLatin1String("1");
    mDelaySeconds = delayFromText(mSettings.GetSetting(kAppName, kOptions, kDelay, QStringLiteral("10")));
    // Anything but "1" asks for the tone twice, as the menu has always read it.
    mBeeps = mSettings.GetSetting(kAppName, kOptions, kBeeps, QStringLiteral("1")) == QLatin1String("1")
                 ? 1
                 : 2;
}

void RunOptions::setVoiceCues(bool on)
{
    mVoiceCues = on;
    mSettings.SaveSetting(kAppName, kOptions, kVoiceCues, on ? QStringLiteral("1") : QStringLiteral("0"));
}

void RunOptions::setDelaySeconds(int seconds)
{
    mDelaySeconds = delayFromText(QString::number(seconds));
    mSettings.SaveSetting(kAppName, kOptions, kDelay, QString::number(mDelaySeconds));
}

void RunOptions::setBeeps(int beeps)
{
    mBeeps = beeps == 2 ? 2 : 1;
    mSettings.SaveSetting(kAppName, kOptions, kBeeps, QString::number(mBeeps));
}

} // namespace kntr
