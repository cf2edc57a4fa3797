#include "runoptions.h"

#include "storedsettings.h"

#include <utility>

namespace kntr {

namespace {

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
    const OptionsSettings stored(std::as_const(mSettings));
    mVoiceCues = stored.voiceCuesText(QStringLiteral("1")) == QLatin1String("1");
    mDelaySeconds = delayFromText(stored.delayText(QStringLiteral("10")));
    // Anything but "1" asks for the tone twice, as the menu has always read it.
    mBeeps = stored.beepsText(QStringLiteral("1")) == QLatin1String("1") ? 1 : 2;
}

void RunOptions::setVoiceCues(bool on)
{
    mVoiceCues = on;
    OptionsSettings(mSettings).setVoiceCues(on);
}

void RunOptions::setDelaySeconds(int seconds)
{
    mDelaySeconds = delayFromText(QString::number(seconds));
    OptionsSettings(mSettings).setDelay(mDelaySeconds);
}

void RunOptions::setBeeps(int beeps)
{
    mBeeps = beeps == 2 ? 2 : 1;
    OptionsSettings(mSettings).setBeeps(mBeeps);
}

} // namespace kntr
