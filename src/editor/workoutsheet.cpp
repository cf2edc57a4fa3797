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

WorkoutSheet::WorkoutSheet(const Session& session, SpeedDisplay display, QString caption)
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

    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(kFontTwips);
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
        }
    }
    return painter.end() ? pages : 0;
}

} // namespace kntr
