#pragma once

#include <QRect>
#include <QSize>

namespace kntr {

class SettingsStore;

/// Window sizes are stored in twips, 1440 to the inch, so that a placement
/// means the same on screens of different resolution.
inline constexpr double kTwipsPerInch = 1440.0;

int twipsToPixels(int twips, double dotsPerInch);
int pixelsToTwips(int pixels, double dotsPerInch);

/// The main window's stored state and placement (section "user").
struct WindowPlacement {
    /// user/windowstate: 0 normal, 1 minimised, 2 maximised; 1010101 before the first exit.
    static constexpr int kNormal = 0;
    static constexpr int kMinimised = 1;
    static constexpr int kMaximised = 2;
    static constexpr int kFirstStart = 1010101;
    static constexpr int kDefaultWidthTwips = 8800;
    static constexpr int kDefaultHeightTwips = 5800;

    int state = kFirstStart;
    QRect pixels; ///< the window's normal geometry, in pixels

    /// Reads the placement; the default is a window of 8800 × 5800 twips
    /// centred on screen (the available area, in pixels). A placement that
    /// no longer overlaps the screen is centred again.
    static WindowPlacement read(const SettingsStore& settings, const QRect& screen, double dotsPerInch);
    /// Stores the state and the placement.
    void write(SettingsStore& settings, double dotsPerInch) const;
    /// Stores only the window state, as every resize does.
    static void writeState(SettingsStore& settings, int state);
    /// The stored state of a window in states.
    static int stateOf(Qt::WindowStates states);
};

/// The two arrangements of the main window. Wide, from the 8780 × 5640-twip
/// design size up: the totals in a column beside the graph and the segment
/// editing frame across the bottom. Compact, for smaller windows: both frames
/// stacked under the graph, the totals in two rows.
enum class Arrangement { Wide, Compact };

Arrangement chooseArrangement(QSize windowTwips);

/// Gap between panels, in twips.
inline constexpr int kPanelGapTwips = 120;

/// Where the main window's three panels stand in its client area.
struct PanelLayout {
    QRect profile; ///< the graph with its axes and captions
    QRect segment; ///< "Segment Design"
    QRect totals; ///< "Workout Totals"
};

/// Places the panels in a client area of the given size, gap pixels apart and
/// from its edges: the frames as high as they want (and in the wide
/// arrangement the totals as wide as they want), the profile in the rest.
PanelLayout layOutPanels(Arrangement arrangement, QSize client, int gap, QSize segmentHint, QSize totalsHint);

} // namespace kntr
