#pragma once

#include "workouttext.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace kntr {

class AppPaths;
class SettingsStore;
class Workout;
class WorkoutView;
struct Session;

/// Why a file is not read as a workout file.
inline const QString kWorkoutNotRecognisedMessage =
    QStringLiteral("File not recognized as an Kinetrova (txt) file. Select file saved by this program.");

/// A whole file read, or why not: the reason names the file.
struct FileRead {
    std::optional<QByteArray> bytes;
    QString problem;
    bool missing = false; ///< the file does not exist
};
FileRead readFileBytes(const QString& path);

/// A workout file read and checked, or why not: the reason names the file.
struct WorkoutFileRead {
    std::optional<WorkoutFileContents> contents;
    QString problem;
    bool missing = false; ///< the file does not exist
};
WorkoutFileRead readWorkoutFile(const QString& path);

/// The segments whose values fitting to the machine changed from what was read,
/// one line each: "segment 2: speed 11 -> 10, time 5 -> 10". shownSpeed, when
/// given, puts a fitted speed into the units the read speeds are in.
QStringList fittingChanges(const std::vector<SegmentValues>& read, const Workout& fitted,
                           double (*shownSpeed)(double) = nullptr);

/// The caption for a workout file name, led by the open user file's name:
/// "Kinetrova - climb.txt" or "anna.ktr - Kinetrova - climb.txt".
QString workoutCaption(const Session& session, const QString& workoutFileName);

/// The session's workout as a file holds it, without asking the user anything:
/// what a workout file holds put into the session (segments, machine profile,
/// play list), the workout fitted to the machine, and the workout written.
/// The desktop's File menu and the headless commands both stand on it.
class WorkoutDocument {
public:
    WorkoutDocument(Session& session, SettingsStore& settings, WorkoutView& view, const AppPaths& paths);

    /// Puts what a workout file holds into the session: the segments, the
    /// machine profile (stored as the machine window's Save stores it; segment 1
    /// keeps its values through it) and the play list.
    void apply(const WorkoutFileContents& contents);
    /// Fits every segment into the machine's ranges and selects segment 1.
    void fitToMachine();
    /// Writes the workout as a version 1.2 file; on failure error says why and
    /// nothing is remembered. Our own data folders are made when first needed.
    bool write(const QString& path, QString* error);

private:
    void applyMachine(const MachineBlock& block);

    Session& mSession;
    SettingsStore& mSettings;
    WorkoutView& mView;
    const AppPaths& mPaths;
};

} // namespace kntr
