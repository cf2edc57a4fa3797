#pragma once

#include <QString>

namespace kntr {

/// The folders Kinetrova reads and writes.
///
/// Program data (voice clips, help, the default workout) is read-only and lives
/// in share/kinetrova beside the executable's bin folder, both when installed and
/// in the build tree. The user's workouts, user files and default.txt live in the
/// user's data folder ($XDG_DATA_HOME/kinetrova); what is kept only to save time
/// lives in the user's cache folder ($XDG_CACHE_HOME/kinetrova).
class AppPaths {
public:
    /// Without userCacheDir nothing is kept between runs.
    AppPaths(QString programDataDir, QString userDataDir, QString userCacheDir = {});

    /// Finds the folders for the running executable and the current environment.
    /// $KINETROVA_DATA_DIR, when set, names the program data folder instead.
    static AppPaths fromEnvironment();

    const QString& programDataDir() const { return mProgramDataDir; }
    const QString& userDataDir() const { return mUserDataDir; }
    /// What can be made again but saves time when kept ($XDG_CACHE_HOME/kinetrova).
    const QString& userCacheDir() const { return mUserCacheDir; }

    /// The voice-cue clip folder inside the program data.
    QString voiceCueDir() const { return mProgramDataDir + QStringLiteral("/voicecue"); }
    /// Default folders for workout text files and user files; created on demand.
    QString workoutsDir() const { return mUserDataDir + QStringLiteral("/workouts"); }
    QString usersDir() const { return mUserDataDir + QStringLiteral("/users"); }
    /// Encoded tones and cues of MP3 builds; empty without a cache folder.
    QString pieceCacheDir() const { return cacheSubfolder(QStringLiteral("pieces")); }
    /// Converted copies of music files; empty without a cache folder.
    QString musicCacheDir() const { return cacheSubfolder(QStringLiteral("music")); }

private:
    QString cacheSubfolder(const QString& name) const
    {
        return mUserCacheDir.isEmpty() ? QString() : mUserCacheDir + QLatin1Char('/') + name;
    }

    QString mProgramDataDir;
    QString mUserDataDir;
    QString mUserCacheDir;
};

} // namespace kntr
