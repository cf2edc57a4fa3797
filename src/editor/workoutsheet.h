#pragma once

#include "graphpicture.h"
#include "sheetlayout.h"

#include <QString>

#include <array>
#include <vector>

class QPagedPaintDevice;

namespace kntr {

struct Session;

/// The printed workout sheet (File > Print): the main window's caption, the
/// profile graph as the window shows it and a table of every segment with the
/// texts the editor shows for it, one sheet per copy.
class WorkoutSheet {
public:
    /// The sheet's font size in twips (10 points).
    static constexpr int kFontTwips = 200;

    /// Takes the graph as it stands and the table's texts as the window shows
    /// them, speeds shown as display.
    WorkoutSheet(const Session& session, SpeedDisplay display, QString caption);

    const QString& caption() const { return mCaption; }
    /// "Segment", "Time" and the two attributes' axis labels.
    const std::array<QString, 4>& headers() const { return mHeaders; }
    const std::vector<SheetRow>& rows() const { return mRows; }

    /// Paints copies sheets on device, each starting on a page of its own.
    /// Returns the number of pages painted; 0 when the device could not be painted on.
    int print(QPagedPaintDevice& device, int copies) const;

private:
    QString mCaption;
    GraphPicture mGraph;
    std::array<QString, 4> mHeaders;
    std::vector<SheetRow> mRows;
};

} // namespace kntr
