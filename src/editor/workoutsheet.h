#pragma once

#include "graphpicture.h"
#include "sheetlayout.h"

#include <QDate>
#include <QFont>
#include <QString>

#include <array>
#include <vector>

class QPagedPaintDevice;

namespace kntr {

struct Session;

/// The printed workout sheet (File > Print): the main window's caption, the
/// profile graph as the window shows it and a table of every segment with the
/// texts the editor shows for it, one sheet per copy. A footer on every page
/// gives the workout's totals and the day it was printed.
class WorkoutSheet {
public:
    /// The sheet's font size in twips (10 points).
    static constexpr int kFontTwips = 200;
    /// The sheet's font: Arial, or its metric twin Liberation Sans, so that rows
    /// are as tall as the layout expects and a 44-row table fits one page.
    static QFont font();

    /// Takes the graph as it stands and the table's texts as the window shows
    /// them, speeds shown as display; printed is the date the footer gives.
    WorkoutSheet(const Session& session, SpeedDisplay display, QString caption, QDate printed);

    const QString& caption() const { return mCaption; }
    /// "Segment", "Time" and the two attributes' axis labels.
    const std::array<QString, 4>& headers() const { return mHeaders; }
    const std::vector<SheetRow>& rows() const { return mRows; }
    /// The footer: the totals on the left ("Total time 30:00   Distance 1.467 Miles
    /// Calories 312"), the date on the right ("Printed 2026-12-08").
    const QString& footerTotals() const { return mFooterTotals; }
    const QString& footerDate() const { return mFooterDate; }

    /// Paints copies sheets on device, each starting on a page of its own.
    /// Returns the number of pages painted; 0 when the device could not be painted on.
    int print(QPagedPaintDevice& device, int copies) const;

private:
    QString mCaption;
    GraphPicture mGraph;
    std::array<QString, 4> mHeaders;
    std::vector<SheetRow> mRows;
    QString mFooterTotals;
    QString mFooterDate;
};

} // namespace kntr
