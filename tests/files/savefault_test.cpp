// Saving and opening where things go wrong: a full disk, folders that are
// missing, read-only or in the place of a file, empty files, and names with
// spaces, quotes and letters beyond ASCII. Every failure is told and loses nothing.

#include "files/asxplaylist.h"
#include "files/recentfiles.h"
#include "files/textfile.h"
#include "files/workoutfiles.h"
#include "model/session.h"
#include "platform/apppaths.h"
#include "platform/filesettingsstore.h"
#include "platform/memorysettingsstore.h"
#include "recordingworkoutview.h"
#include "scriptedfiledialogs.h"
#include "scriptedmessageboxes.h"
#include "filesizelimit.h"
#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kntr;
using Icon = MessageBoxes::Icon;

namespace {

/// Counts the warnings issued while it lives (and keeps them out of the output).
class Warnings {
public:
    Warnings()
        : mPrevious(qInstallMessageHandler(&Warnings::collect))
    {
        sCount = 0;
    }
    ~Warnings() { qInstallMessageHandler(mPrevious); }
    int count() const { return sCount; }

private:
    static void collect(QtMsgType type, const QMessageLogContext&, const QString&)
    {
        sCount += type == QtWarningMsg;
    }
    static inline int sCount = 0;
    QtMessageHandler mPrevious;
};

void setMode(const QString& path, mode_t mode)
{
    ::chmod(QFile::encodeName(path).constData(), mode);
}

/// What is at a path: absent, a folder, or a file's bytes and permissions.
QByteArray contentAt(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return "<folder>";
    if (!info.exists())
        return "<absent>";
    struct stat st { };
    ::stat(QFile::encodeName(path).constData(), &st);
    setMode(path, st.st_mode | S_IRUSR);
    QFile f(path);
    const QByteArray bytes = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    setMode(path, st.st_mode);
    return QByteArray::number(st.st_mode & 0777, 8) + ' ' + bytes;
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

/// The File menu's objects with scripted dialogs and message boxes.
struct Program {
    explicit Program(const QString& dir)
        : paths(dir + "/program", dir + "/data")
    {
    }

    QString stored(const char* section, const char* key) const
    {
        return settings.GetSetting("Kinetrova", section, key);
    }
    void setWorkout(int count, double speed)
    {
        session.workout.setCount(count);
        for (int i = 1; i <= count; ++i) {
            session.workout.segment(i).setSegmentSpeed(speed);
            session.workout.segment(i).setSegmentIncline(2);
            session.workout.segment(i).setSegmentTime(60 + i);
        }
    }

    Session session;
    MemorySettingsStore settings;
    RecordingWorkoutView view;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    RecentFiles recent{settings};
    AppPaths paths;
    WorkoutFiles files{session, settings, view, messages, dialogs, recent, paths};
};

const QByteArray kHills = "Vexa v 1.2                \r\n\r\n[machine settings]\r\n"
                          "Treadmill\r\nMiles\r\n10\r\n100\r\n1\r\n10\r\n100\r\n5\r\n\r\n"
                          "[segment settings]\r\n1\t3\t2\t60\r\n2\t4.5\t6\t120\r\n\r\n"
                          "[playlist]\r\n\r\n\r\n\r\n";

// ---- A full disk ------------------------------------------------------------

TEST(FullDisk, NoSaveOfATextFileReportsSuccessOrHarmsTheEarlierFile)
{
    QTemporaryDir dir;
    Program program(dir.path());
    program.setWorkout(60, 4.5);

    // Each saver writes over an earlier file at path and says whether it succeeded.
    const struct {
        const char* name;
        const char* file;
        std::function<bool(const QString& path)> save;
    } savers[] = {
        {"workout", "hills.txt",
         [&](const QString& path) {
             program.messages.clear();
             const bool saved = program.files.saveWorkoutTo(path);
             EXPECT_EQ(program.messages.shown().size(), saved ? 0u : 1u);
             return saved;
         }},
        {"user file", "runner.ktr",
         [&](const QString& path) {
             program.messages.clear();
             program.session.userFile = path;
             program.session.weightPounds = 172;
             const bool saved = program.files.SaveUserFile(1);
             EXPECT_EQ(program.messages.shown().size(), saved ? 0u : 1u);
             return saved;
         }},
        {"settings", "settings.json",
         [&, round = 0](const QString& path) mutable {
             const Warnings warnings;
             const QString value = QString(200, QLatin1Char('x')) + QString::number(++round);
             FileSettingsStore(path).SaveSetting("Kinetrova", "File", "LastFile", value);
             const bool saved = FileSettingsStore(path).GetSetting("Kinetrova", "File", "LastFile") == value;
             EXPECT_EQ(warnings.count(), saved ? 0 : 1);
             return saved;
         }},
        {"play list", "music.asx",
         [&](const QString& path) {
             QString error;
             const bool saved = AsxPlayList::write(path, {"/music/a long name.mp3", "/music/b.mp3"}, &error);
             EXPECT_EQ(error.isEmpty(), saved);
             return saved;
         }},
    };
    for (const auto& saver : savers) {
        SCOPED_TRACE(saver.name);
        const QString folder = dir.path() + "/" + saver.name;
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString path = folder + "/" + saver.file;
        // The earlier file is made by the saver itself, so that lock files exist already.
        ASSERT_TRUE(saver.save(path));
        const QByteArray earlier = contentAt(path);
        const QStringList before = entries(folder);
        bool saved = true;
        {
            const test::FileSizeLimit full(24); // less than any of the files
            saved = saver.save(path);
        }
        EXPECT_FALSE(saved) << "a save into a full disk was reported as done";
        EXPECT_EQ(contentAt(path), earlier);
        EXPECT_EQ(entries(folder), before) << "a partial file was left behind";
    }
}

// ---- Places of files: open and save through the File menu ---------------------

enum class Kind { Workout, User };

/// A place a file is opened from or saved to: make() prepares it in dir for a
/// file of the given ending, whose good content is given, and returns its path.
struct Place {
    const char* name;
    std::function<QString(const QString& dir, const QString& ending, const QByteArray& good)> make;
    bool opens; ///< opening the file there succeeds
    bool saves; ///< saving a file there succeeds
    const char* reason; ///< a part of the message of a failed open
    bool permissions; ///< depends on permissions, which do not bind root
};

QString goodFileAt(const QString& path, const QByteArray& good)
{
    EXPECT_TRUE(writeTextFile(path, good)) << path.toStdString();
    return path;
}

const Place kPlaces[] = {
    {"MissingFolder",
     [](const QString& dir, const QString& ending, const QByteArray&) {
         return dir + "/no such folder/run." + ending;
     },
     false, false, "No such file or directory", false},
    {"FolderInThePlaceOfTheFile",
     [](const QString& dir, const QString& ending, const QByteArray&) {
         QDir().mkpath(dir + "/run." + ending);
         return dir + "/run." + ending;
     },
     false, false, "Is a folder, not a file", false},
    {"EmptyFile",
     [](const QString& dir, const QString& ending, const QByteArray&) {
         return goodFileAt(dir + "/run." + ending, {});
     },
     false, true, "not recognized", false},
    {"SpacesQuotesAndLetters",
     [](const QString& dir, const QString& ending, const QByteArray& good) {
         const QString folder = dir + QString::fromUtf8("/My \"best\" runs – Läufe");
         QDir().mkpath(folder);
         return goodFileAt(folder + QString::fromUtf8("/hill 'één' Größe.") + ending, good);
     },
     true, true, "", false},
    {"ReadOnlyFolder",
     [](const QString& dir, const QString& ending, const QByteArray& good) {
         QDir().mkpath(dir + "/locked");
         const QString path = goodFileAt(dir + "/locked/run." + ending, good);
         setMode(dir + "/locked", 0555);
         return path;
     },
     true, false, "", true},
    {"ReadOnlyFile",
     [](const QString& dir, const QString& ending, const QByteArray& good) {
         const QString path = goodFileAt(dir + "/run." + ending, good);
         setMode(path, 0444);
         return path;
     },
     true, false, "", true},
    {"UnreadableFile",
     [](const QString& dir, const QString& ending, const QByteArray& good) {
         const QString path = goodFileAt(dir + "/run." + ending, good);
         setMode(path, 0200);
         return path;
     },
     false, true, "Permission denied", true},
};

void PrintTo(Kind kind, std::ostream* os)
{
    *os << (kind == Kind::Workout ? "workout" : "user file");
}

void PrintTo(const Place& place, std::ostream* os)
{
    *os << place.name;
}

/// Permissions do not bind root: started as root, the test runs as nobody while
/// this lives, in a folder open to everyone.
class AsNobody {
public:
    explicit AsNobody(const QString& folder)
    {
        if (::geteuid() != 0)
            return;
        constexpr id_t kNobody = 65534;
        setMode(folder, 0777);
        // The real ids too, which access() checks; the saved ones stay root's
        // so that the way back is open.
        if (::setresgid(kNobody, kNobody, 0) != 0)
            return;
        mSwitched = ::setresuid(kNobody, kNobody, 0) == 0;
        if (!mSwitched && ::setresgid(0, 0, 0) != 0)
            ADD_FAILURE() << "cannot return to root's group";
    }
    ~AsNobody()
    {
        if (mSwitched && (::setresuid(0, 0, 0) != 0 || ::setresgid(0, 0, 0) != 0))
            ADD_FAILURE() << "cannot return to root";
    }
    AsNobody(const AsNobody&) = delete;
    AsNobody& operator=(const AsNobody&) = delete;

private:
    bool mSwitched = false;
};

class FilePlaces : public ::testing::TestWithParam<std::tuple<Kind, Place>> {
protected:
    void TearDown() override
    {
        // Folders made read-only must be writable again for the clean-up.
        setMode(dir.path() + "/place/locked", 0755);
    }
    QTemporaryDir dir;
    AsNobody nobody{dir.path()}; // left before the folder is removed
};

TEST_P(FilePlaces, OpenAndSaveTellWhatFailedAndLoseNothing)
{
    const auto& [kind, place] = GetParam();
    if (place.permissions && ::geteuid() == 0)
        GTEST_SKIP() << "still root (the system would not let the test run as nobody), "
                        "which reads and writes whatever the permissions say";
    const bool workout = kind == Kind::Workout;
    const QString ext = workout ? "txt" : "ktr";

    const QString hills = dir.path() + "/hills.txt";
    ASSERT_TRUE(writeTextFile(hills, kHills));
    const QByteArray good =
        workout ? kHills : "Vexa v 1.1                \r\n" + hills.toUtf8() + "\r\n150\r\n";
    const QString work = dir.path() + "/place";
    ASSERT_TRUE(QDir().mkpath(work));
    const QString path = place.make(work, ext, good);

    Program program(dir.path());
    program.setWorkout(3, 4.5);
    program.settings.SaveSetting("Kinetrova", "File", "LastFile", hills);
    const QByteArray there = contentAt(path);
    const QStringList before = entries(QFileInfo(path).absolutePath());

    // Open.
    program.dialogs.script(path);
    if (workout)
        program.files.openWorkout();
    else
        program.files.openUser();
    const bool opened =
        workout ? program.stored("File", "LastFile") == path : program.session.userFile == path;
    EXPECT_EQ(opened, place.opens);
    if (opened) {
        EXPECT_TRUE(program.messages.shown().empty());
        EXPECT_EQ(program.session.workout.count(), 2);
    } else {
        ASSERT_EQ(program.messages.shown().size(), 1u);
        const QString said = program.messages.shown()[0].text;
        EXPECT_TRUE(said.contains(path)) << said.toStdString();
        EXPECT_TRUE(said.contains(place.reason)) << said.toStdString();
        EXPECT_EQ(program.session.workout.count(), 3) << "the workout was replaced";
        EXPECT_EQ(program.stored("File", "LastFile"), hills);
        EXPECT_TRUE(program.session.userFile.isEmpty());
    }
    EXPECT_EQ(contentAt(path), there) << "opening changed the file";

    // Save As to the same place.
    program.messages.clear();
    program.setWorkout(3, 4.5);
    program.session.weightPounds = 172;
    program.session.userFile.clear();
    // Edits to save; a user file is saved without the question about them.
    program.session.modified = workout;
    const QString lastFile = program.stored("File", "LastFile");
    program.dialogs.script(path);
    const bool saved = workout ? program.files.SaveWorkoutFile(2) : program.files.SaveUserFile(2);
    EXPECT_EQ(saved, place.saves);
    if (saved) {
        EXPECT_TRUE(program.messages.shown().empty());
        EXPECT_NE(contentAt(path), there);
        // What was saved opens again (the file keeps the permissions of the one it
        // replaced: an unreadable one is made readable first).
        setMode(path, 0644);
        Program again(dir.path());
        again.dialogs.script(path);
        if (workout) {
            again.files.openWorkout();
            EXPECT_EQ(again.session.workout.count(), 3);
        } else {
            again.files.openUser();
            EXPECT_EQ(again.session.userFile, path);
            EXPECT_EQ(again.session.weightPounds, 172);
        }
        EXPECT_TRUE(again.messages.shown().empty());
    } else {
        ASSERT_EQ(program.messages.shown().size(), 1u);
        EXPECT_EQ(program.messages.shown()[0].icon, Icon::Exclamation);
        EXPECT_FALSE(program.messages.shown()[0].text.isEmpty());
        if (workout) {
            EXPECT_TRUE(program.session.modified) << "the edits were taken for saved";
            EXPECT_EQ(program.stored("File", "LastFile"), lastFile);
        } else {
            EXPECT_TRUE(program.session.userFile.isEmpty());
        }
        EXPECT_EQ(contentAt(path), there) << "a failed save changed what was there";
        EXPECT_EQ(entries(QFileInfo(path).absolutePath()), before) << "a failed save left files behind";
    }
}

INSTANTIATE_TEST_SUITE_P(WorkoutAndUserFiles, FilePlaces,
                         ::testing::Combine(::testing::Values(Kind::Workout, Kind::User),
                                            ::testing::ValuesIn(kPlaces)),
                         [](const ::testing::TestParamInfo<std::tuple<Kind, Place>>& info) {
                             return std::string(std::get<0>(info.param) == Kind::Workout ? "Workout" : "User")
                                 + std::get<1>(info.param).name;
                         });

} // namespace
