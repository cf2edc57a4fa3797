#pragma once

#include "axislabels.h"

#include "model/targettexts.h"
#include "model/workout.h"

#include <QString>

#include <array>
#include <optional>

class QPainter;
class QRectF;

namespace kntr {

struct Session;

/// The profile graph as the main window shows it, columns, value axes, time
/// axis and rotated captions, as one picture painted without widgets onto any
/// painter at any size: the graph of the printed workout sheet.
///
/// It holds a copy of the workout taken when it was made, so every copy printed
/// looks the same whatever is selected or changed meanwhile; its column widths
/// are its own, computed for the picture's width.
class GraphPicture {
public:
    /// The picture's own size in pixels: 7000 × 4000 twips on a 96-dpi screen.
    static constexpr int kWidth = 467;
    static constexpr int kHeight = 267;

    /// Takes the workout, the current segment, the scales and the captions the
    /// window shows for the session with speeds shown as display.
    GraphPicture(const Session& session, SpeedDisplay display);

    /// Paints the picture stretched over target (in the painter's coordinates).
    void paint(QPainter& painter, const QRectF& target) const;

private:
    Workout mWorkout;
    ProfileScales mScales;
    std::array<QString, 5> mTimeLabels;
};

} // namespace kntr
