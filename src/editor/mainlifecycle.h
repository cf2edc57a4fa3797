#pragma once

#include "model/workout.h"

#include <QStringList>

#include <optional>

namespace kntr {

class AppPaths;
class Editor;
class EquipmentSelection;
class FileCommands;
class RunOptions;
class SettingsStore;
class WorkoutView;
struct Session;

/// What the main window does at start-up, File > New, the About window's reset
/// and exit, without the window: which workout to start on, the run options,
/// the question before edits are dropped. The window keeps its layout and
/// wiring and calls these; tests drive them with doubles.
///
/// The file commands and the machine selection are optional (nullptr): without
/// them the profile comes straight from the settings and no file is opened.
class MainLifecycle {
public:
    MainLifecycle(Session& session, SettingsStore& settings, const AppPaths& paths, Editor& editor,
                  WorkoutView& view, RunOptions& options);

    void attachFileCommands(FileCommands* commands) { mFileCommands = commands; }
    void attachMachineSelection(EquipmentSelection* selection) { mMachineSelection = selection; }

    /// Start-up, first step: fills the machine profile from the settings.
    void loadMachineProfile();

    /// How start-up came by its workout.
    enum class StartWorkout {
        UserFile, ///< the user file on the command line, with its workout
        LastWorkout, ///< the remembered workout file
        Default ///< the default workout, built afresh
    };
    /// Start-up, second step: the workout of a user file named in arguments (as
    /// QCoreApplication::arguments()), else the remembered workout, else the
    /// default workout; then the units, speed display and run options, the
    /// user-file registration and the fitting of the workout to the machine.
    StartWorkout loadWorkout(const QStringList& arguments);

    /// Asks, through the file commands, whether to save an edited workout before
    /// it is replaced or the program ends. Returns false when the user cancelled
    /// or the save did not happen.
    bool offerToSave();
    /// File > New: after offerToSave, a fresh workout.
    /// Returns false when the user kept the old one.
    bool newWorkout();
    /// Puts workout in place of the one being edited as newWorkout would (after
    /// the same question, unless what is edited is the workout put in place
    /// last, untouched); the new workout counts as edited, segment 1 selected.
    bool useWorkout(const Workout& workout);
    /// The About window's reset: clears the stored settings and brings what is in
    /// memory back to a first start's state (machine, units, remembered file,
    /// recent files, caption).
    void resetSettings();

private:
    void buildDefaultWorkout();
    /// File > New without the question.
    void startNewWorkout();

    Session& mSession;
    SettingsStore& mSettings;
    const AppPaths& mPaths;
    Editor& mEditor;
    WorkoutView& mView;
    RunOptions& mOptions;
    FileCommands* mFileCommands = nullptr;
    EquipmentSelection* mMachineSelection = nullptr;
    /// The workout last generated, to tell whether the user has edited it since.
    std::optional<Workout> mGenerated;
};

} // namespace kntr
