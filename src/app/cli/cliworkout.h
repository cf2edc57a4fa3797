#pragma once

#include "clicommand.h"
#include "cliworkoutview.h"
#include "overlaysettingsstore.h"

#include "files/workoutdocument.h"
#include "model/session.h"
#include "model/units.h"

#include <QStringList>

namespace kntr {

/// A workout opened as File > Open opens it, for the headless commands: the
/// file's machine settings and every other setting change stay in memory.
class CliWorkout {
public:
    explicit CliWorkout(CliContext& context);

    /// Reads the workout file at path and fits every segment to the machine's
    /// ranges, as the main window's File > Open does: the file's own machine
    /// settings, or the stored machine for a file without them. On failure
    /// problem() says why.
    bool open(const QString& path);
    /// Reads the workout table (CSV) at path, speeds in units, and fits every
    /// segment to the stored machine as open() fits a file without machine
    /// settings. On failure problem() says why.
    bool importTable(const QString& path, Units units);
    /// The segments whose values open() or importTable() changed from what the
    /// file holds, one line each: "segment 2: speed 11 -> 10, time 5 -> 10".
    const QStringList& changes() const { return mChanges; }
    /// Writes the workout as a version 1.2 file. On failure problem() says why.
    bool saveAs(const QString& path);
    const QString& problem() const { return mProblem; }
    /// The main window's caption for the workout open(): "Kinetrova - " and its file name.
    QString caption() const;

    Session& session() { return mSession; }
    const SettingsStore& settings() const { return mSettings; }
    /// The settings as the command sees them; changes stay in memory.
    SettingsStore& settings() { return mSettings; }

private:
    OverlaySettingsStore mSettings;
    Session mSession;
    CliWorkoutView mView;
    WorkoutDocument mDocument;
    QString mProblem;
    QString mPath;
    QStringList mChanges;
};

} // namespace kntr
