// Test helper: saves a file over and over until killed, the way the File menu does.
// Usage: workout_saver PATH                 File > Save of a workout of 60 segments;
//                                           odd saves have speeds of 4.125, even ones 3.0625
//        workout_saver --user PATH WORKOUT  File > Save User of a user file naming WORKOUT;
//                                           odd saves have a weight of 151, even ones 150

#include "files/recentfiles.h"
#include "files/workoutfiles.h"
#include "model/session.h"
#include "model/workoutview.h"
#include "platform/apppaths.h"
#include "platform/memorysettingsstore.h"
#include "platform/filedialogs.h"
#include "scriptedmessageboxes.h"
#include "recordingworkoutview.h"

#include <cstring>

namespace {

/// Saves go to the named file; no dialog is ever asked for.
class NoDialogs : public kntr::FileDialogs {
public:
    std::optional<QString> getOpenFileName(const kntr::FileDialogRequest&) override { return {}; }
    std::optional<QStringList> getOpenFileNames(const kntr::FileDialogRequest&) override { return {}; }
    std::optional<QString> getSaveFileName(const kntr::FileDialogRequest&) override { return {}; }
};

} // namespace

int main(int argc, char* argv[])
{
    using namespace kntr;
    const bool user = argc == 4 && std::strcmp(argv[1], "--user") == 0;
    if (argc != 2 && !user)
        return 2;
    Session session;
    MemorySettingsStore settings;
    RecordingWorkoutView view;
    ScriptedMessageBoxes messages;
    NoDialogs dialogs;
    RecentFiles recent(settings);
    const AppPaths paths(QStringLiteral("/nonexistent"), QStringLiteral("/nonexistent"));
    WorkoutFiles files(session, settings, view, messages, dialogs, recent, paths);

    if (user) {
        session.userFile = QString::fromLocal8Bit(argv[2]);
        settings.SaveSetting(kAppName, QStringLiteral("File"), QStringLiteral("LastFile"),
                             QString::fromLocal8Bit(argv[3]));
        for (long i = 1;; ++i) {
            session.weightPounds = i % 2 ? 151 : 150;
            if (!files.SaveUserFile(1))
                return 1;
        }
    }

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
