#include "windowplacement.h"

#include "model/numbers.h"
#include "model/storedsettings.h"
#include "platform/settingsstore.h"

#include <algorithm>

namespace kntr {

namespace {

int readInt(const SettingsStore& settings, const QString& key, int fallback)
{
    bool ok = false;
    const int value =
        UserSettings(settings).placementText(key, QString::number(fallback)).trimmed().toInt(&ok);
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
    const int width =
        twipsToPixels(readInt(settings, QStringLiteral("frmMainWidth"), kDefaultWidthTwips), dotsPerInch);
    const int height =
        twipsToPixels(readInt(settings, QStringLiteral("frmMainHeight"), kDefaultHeightTwips), dotsPerInch);
    QRect centred(0, 0, std::max(1, width), std::max(1, height));
    centred.moveCenter(screen.center());

    const QString left = UserSettings(settings).placementText(QStringLiteral("frmMainLeft"));
    const QString top = UserSettings(settings).placementText(QStringLiteral("frmMainTop"));
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
    UserSettings(settings).setPlacement(QStringLiteral("frmMainLeft"),
                                        pixelsToTwips(pixels.x(), dotsPerInch));
    UserSettings(settings).setPlacement(QStringLiteral("frmMainTop"), pixelsToTwips(pixels.y(), dotsPerInch));
    UserSettings(settings).setPlacement(QStringLiteral("frmMainWidth"),
                                        pixelsToTwips(pixels.width(), dotsPerInch));
    UserSettings(settings).setPlacement(QStringLiteral("frmMainHeight"),
                                        pixelsToTwips(pixels.height(), dotsPerInch));
}

void WindowPlacement::writeState(SettingsStore& settings, int state)
{
    UserSettings(settings).setPlacement(QStringLiteral("windowstate"), state);
}

int WindowPlacement::stateOf(Qt::WindowStates states)
{
    if (states & Qt::WindowMinimized)
        return kMinimised;
    if (states & Qt::WindowMaximized)
        return kMaximised;
    return kNormal;
}

Arrangement chooseArrangement(QSize windowTwips)
{
    if (windowTwips.width() >= 8780 && windowTwips.height() >= 5640)
        return Arrangement::Wide;
    return Arrangement::Compact;
}

PanelLayout layOutPanels(Arrangement arrangement, QSize client, int gap, QSize segmentHint, QSize totalsHint)
{
    const int w = client.width();
    const int h = client.height();
    const int segmentHeight = segmentHint.height();
    const int totalsHeight = totalsHint.height();
    PanelLayout layout;
    if (arrangement == Arrangement::Wide) {
        // Totals in a column right of the graph, segment design across the bottom.
        const int totalsWidth = totalsHint.width();
        layout.segment = QRect(gap, h - gap - segmentHeight, w - 2 * gap, segmentHeight);
        const int top = gap;
        const int bottom = h - 2 * gap - segmentHeight;
        layout.totals = QRect(w - gap - totalsWidth, top, totalsWidth, std::max(totalsHeight, bottom - top));
        layout.profile = QRect(gap, top, w - 3 * gap - totalsWidth, bottom - top);
    } else {
        // Both frames stacked under the graph, full width.
        layout.totals = QRect(gap, h - gap - totalsHeight, w - 2 * gap, totalsHeight);
        layout.segment = QRect(gap, h - 2 * gap - totalsHeight - segmentHeight, w - 2 * gap, segmentHeight);
        layout.profile = QRect(gap, gap, w - 2 * gap, h - 4 * gap - totalsHeight - segmentHeight);
    }
    return layout;
}

} // namespace kntr
