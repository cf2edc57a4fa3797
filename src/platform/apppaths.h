#pragma once

#include <QString>

namespace kntr {

/// The folders Kinetrova reads and writes.
///
/// Program data (voice clips, help, the default workout) is read-only and lives
/// in share/kinetrova beside the executable's bin folder, both when installed and
/// in the build tree. The user's workouts, user files and default.txt live in the
/// user's data folder ($XDG_DATA_HOME/kinetrova).
class AppPaths {
public:
    AppPaths(QString programDataDir, QString userDataDir);

    /// Finds the folders for the running executable and the current environment.
    /// $KINETROVA_DATA_DIR, when set, names the program data folder instead.
    static AppPaths fromEnvironment();

    const QString& programDataDir() const { return mProgramDataDir; }
    const QString& userDataDir() const { return mUserDataDir; }

    /// The voice-cue clip folder inside the program data.
    QString voiceCueDir() const { return mProgramDataDir + QStringLiteral("/voicecue"); }
    /// Default folders for workout text files and user files; created on demand.
    QString workoutsDir() const { return mUserDataDir + QStringLiteral("/workouts"); }
    QString usersDir() const { return mUserDataDir + QStringLiteral("/users"); }
    /// The converted copies of music files ($XDG_CACHE_HOME/kinetrova/music); created on demand.
    static QString musicCacheDir();

private:
    QString mProgramDataDir;
    QString mUserDataDir;
};

} // namespace kntr
