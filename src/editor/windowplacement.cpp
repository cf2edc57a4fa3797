#include "windowplacement.h"

#include "model/numbers.h"
#include "platform/settingsstore.h"

#include <algorithm>

namespace kntr {

namespace {

const QString kUser = QStringLiteral("user");

int readInt(const SettingsStore& settings, const QString& key, int fallback)
{
    bool ok = false;
    const int value = settings.GetSetting(kAppName, kUser, key, QString::number(fallback)).trimmed().toInt(&ok);
    return ok ? value : fallback;
}

} // namespace

int twipsToPixels(int twips, double dotsPerInch)
{
    return static_cast<int>(roundHalfEven(twips * dotsPerInch / kTwipsPerInch));
}

int pixelsToTwips(int pixels, double dotsPerInch)
{
    return static_cast<int>(roundHalfEven(pixels * kTwipsPerInch / dotsPerInch));
}

WindowPlacement WindowPlacement::read(const SettingsStore& settings, const QRect& screen, double dotsPerInch)
{
    WindowPlacement p;
    p.state = readInt(settings, QStringLiteral("windowstate"), kFirstStart);
    const int width = twipsToPixels(readInt(settings, QStringLiteral("frmMainWidth"), kDefaultWidthTwips), dotsPerInch);
    const int height = twipsToPixels(readInt(settings, QStringLiteral("frmMainHeight"), kDefaultHeightTwips), dotsPerInch);
    QRect centred(0, 0, std::max(1, width), std::max(1, height));
    centred.moveCenter(screen.center());

    const QString left = settings.GetSetting(kAppName, kUser, QStringLiteral("frmMainLeft"));
    const QString top = settings.GetSetting(kAppName, kUser, QStringLiteral("frmMainTop"));
    bool okLeft = false, okTop = false;
    const int x = left.trimmed().toInt(&okLeft);
    const int y = top.trimmed().toInt(&okTop);
    p.pixels = centred;
    if (okLeft && okTop) {
        const QRect stored(twipsToPixels(x, dotsPerInch), twipsToPixels(y, dotsPerInch), centred.width(),
                           centred.height());
        // A window left on a screen that is gone comes back to the middle of this one.
        if (screen.isNull() || screen.intersects(stored))
            p.pixels = stored;
    }
    return p;
}

void WindowPlacement::write(SettingsStore& settings, double dotsPerInch) const
{
    writeState(settings, state);
    settings.SaveSetting(kAppName, kUser, QStringLiteral("frmMainLeft"), QString::number(pixelsToTwips(pixels.x(), dotsPerInch)));
    settings.SaveSetting(kAppName, kUser, QStringLiteral("frmMainTop"), QString::number(pixelsToTwips(pixels.y(), dotsPerInch)));
    settings.SaveSetting(kAppName, kUser, QStringLiteral("frmMainWidth"), QString::number(pixelsToTwips(pixels.width(), dotsPerInch)));
    settings.SaveSetting(kAppName, kUser, QStringLiteral("frmMainHeight"), QString::number(pixelsToTwips(pixels.height(), dotsPerInch)));
}

void WindowPlacement::writeState(SettingsStore& settings, int state)
{
    settings.SaveSetting(kAppName, kUser, QStringLiteral("windowstate"), QString::number(state));
}

Arrangement chooseArrangement(QSize windowTwips)
{
    if (windowTwips.width() >= 8780 && windowTwips.height() >= 5640)
        return Arrangement::Wide;
    return Arrangement::Compact;
}

} // namespace kntr
