#include "workoutsheet.h"

#include "windowplacement.h"

#include "model/machine.h"
#include "model/session.h"
#include "model/targettexts.h"
#include "model/totals.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

namespace kntr {

QFont WorkoutSheet::font()
{
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(kFontTwips);
    return font;
}

WorkoutSheet::WorkoutSheet(const Session& session, SpeedDisplay display, QString caption, QDate printed)
    : mCaption(std::move(caption))
    , mGraph(session, display)
{
    const Machine& machine = session.machine;
    // The axis labels carry leading blanks that align them on screen; centred here they would not.
    mHeaders = {QStringLiteral("Segment"), QStringLiteral("Time"), machine.AttOneYLabel().trimmed(),
                machine.AttTwoYLabel().trimmed()};
    const Workout& workout = session.workout;
    mRows.reserve(workout.count());
    for (int i = 1; i <= workout.count(); ++i) {
        const Segment& s = workout.segment(i);
        mRows.push_back({QString::number(i), minutesSecondsText(s.SegmentTime()),
                         firstTargetText(machine, s.SegmentSpeed(), display),
                         secondTargetText(s.SegmentIncline())});
    }
    const Units units = machine.units();
    const WorkoutTotals totals = computeTotals(workout, machine.MachineType(), units);
    mFooterTotals = QStringLiteral("Total time %1     Distance %2 %3     Calories %4")
                        .arg(minutesSecondsText(totals.seconds), totalDistanceText(totals.distance),
                             units == Units::Kilometres ? QStringLiteral("km") : QStringLiteral("Miles"),
                             totalCaloriesText(totals.calories));
    mFooterDate = QStringLiteral("Printed ") + printed.toString(Qt::ISODate);
}

int WorkoutSheet::print(QPagedPaintDevice& device, int copies) const
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    // Everything below is in twips.
    const double dpiX = device.logicalDpiX();
    const double dpiY = device.logicalDpiY();
    painter.scale(dpiX / kTwipsPerInch, dpiY / kTwipsPerInch);
    const QSizeF page(device.width() * kTwipsPerInch / dpiX, device.height() * kTwipsPerInch / dpiY);

    const QFont font = WorkoutSheet::font();
    const QFontMetricsF metrics(font);
    const SheetLayout layout(page, metrics.height(),
                             [&metrics](const QString& text) { return metrics.horizontalAdvance(text); });
    const std::vector<std::vector<PlacedText>> table = layout.table(mHeaders, mRows);

    auto draw = [&](const PlacedText& placed) {
        painter.drawText(placed.at + QPointF(0, metrics.ascent()), placed.text);
    };
    int pages = 0;
    for (int copy = 0; copy < copies; ++copy) {
        for (size_t p = 0; p < table.size(); ++p) {
            if (pages > 0 && !device.newPage()) {
                painter.end();
                return 0;
            }
            ++pages;
            painter.setFont(font);
            painter.setPen(Qt::black);
            if (p == 0) {
                draw({mCaption, layout.captionAt()});
                mGraph.paint(painter, layout.pictureRect());
                painter.setFont(font);
            }
            for (const PlacedText& placed : table[p])
                draw(placed);
            const QPointF footer = layout.footerAt();
            draw({mFooterTotals, footer});
            draw({mFooterDate, {layout.footerRight() - metrics.horizontalAdvance(mFooterDate), footer.y()}});
        }
    }
    return painter.end() ? pages : 0;
}

} // namespace kntr
