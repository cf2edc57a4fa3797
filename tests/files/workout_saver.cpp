// Test helper: saves a workout over and over until killed, the way File > Save does.
// Every save holds 60 segments; odd saves have speeds of 4.125, even ones 3.0625.
// Usage: workout_saver PATH

#include "files/recentfiles.h"
#include "files/workoutfiles.h"
#include "machine/machineselection.h"
#include "model/session.h"
#include "model/workoutview.h"
#include "platform/apppaths.h"
#include "platform/memorysettingsstore.h"
#include "platform/filedialogs.h"
#include "scriptedmessageboxes.h"
#include "recordingworkoutview.h"

namespace {

/// Saves go to the named file; no dialog is ever asked for.
class NoDialogs : public kntr::FileDialogs
{
public:
    std::optional<QString> getOpenFileName(const kntr::FileDialogRequest&) override { return {}; }
    std::optional<QString> getSaveFileName(const kntr::FileDialogRequest&) override { return {}; }
};

} // namespace

int main(int argc, char* argv[])
{
    using namespace kntr;
    if (argc != 2)
        return 2;
    Session session;
    MemorySettingsStore settings;
    RecordingWorkoutView view;
    ScriptedMessageBoxes messages;
    NoDialogs dialogs;
    RecentFiles recent(settings);
    const AppPaths paths(QStringLiteral("/nonexistent"), QStringLiteral("/nonexistent"));
    MachineSelection machine(session, settings, view, messages);
    WorkoutFiles files(session, settings, view, messages, dialogs, recent, paths, machine);

    const QString path = QString::fromLocal8Bit(argv[1]);
    session.workout.setCount(60);
    for (long i = 1;; ++i) {
        for (int s = 1; s <= 60; ++s) {
            session.workout.segment(s).setSegmentSpeed(i % 2 ? 4.125 : 3.0625);
            session.workout.segment(s).setSegmentIncline(1.0 / 3.0);
            session.workout.segment(s).setSegmentTime(60 + s);
        }
        if (!files.saveWorkoutTo(path))
            return 1;
    }
}
