#include "workoutfiles.h"

#include "recentfiles.h"
#include "textfile.h"
#include "usertext.h"
#include "workoutcsv.h"
#include "workouttext.h"

#include "model/numbers.h"
#include "model/session.h"
#include "model/storedsettings.h"
#include "model/workoutview.h"
#include "platform/apppaths.h"
#include "platform/filedialogs.h"
#include "platform/messageboxes.h"
#include "platform/settingsstore.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace kntr {

const QString WorkoutFiles::kNotFoundMessage =
    QStringLiteral("Workout file was not found. Default workout was loaded.");
const QString WorkoutFiles::kUserNotRecognisedMessage =
    QStringLiteral("File not recognized as an Kinetrova User (ktr) file. Select file saved by this program.");
const QString WorkoutFiles::kUserWrongExtensionMessage =
    QStringLiteral("File not recognized as a kinetrova user (ktr) file. Select a file ending in \"ktr\".");
const QString WorkoutFiles::kSaveWorkoutFirstMessage =
    QStringLiteral("Please save workout first.\r\rClick OK to proceed to the save workout window, \r"
                   "or CANCEL to leave this window without saving new workout or user files.");

namespace {

using Icon = MessageBoxes::Icon;
using Buttons = MessageBoxes::Buttons;
using Answer = MessageBoxes::Answer;

const QString kWorkoutFilter = QStringLiteral("Text Files (*.txt)");
const QString kUserFilter = QStringLiteral("Kinetrova User Files (*.ktr)");
const QString kTableFilter = QStringLiteral("CSV files (*.csv)");

const QString kDefaultLoaded = QStringLiteral("Default workout was loaded.");

/// A problem text as a message box shows it: a capital first and a full stop.
QString sentence(QString text)
{
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    if (!text.endsWith(QLatin1Char('.')))
        text += QLatin1Char('.');
    return text;
}

QString notTextFileMessage(const QString& path)
{
    return path + QStringLiteral(" was not recognized as a text file. Select a file ending with \"txt\".");
}

QString absolute(const QString& path)
{
    return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
}

QString fileName(const QString& path)
{
    return QFileInfo(path).fileName();
}

} // namespace

WorkoutFiles::WorkoutFiles(Session& session, SettingsStore& settings, WorkoutView& view,
                           MessageBoxes& messages, FileDialogs& dialogs, RecentFiles& recentFiles,
                           const AppPaths& paths)
    : mSession(session)
    , mSettings(settings)
    , mView(view)
    , mMessages(messages)
    , mDialogs(dialogs)
    , mRecentFiles(recentFiles)
    , mPaths(paths)
    , mDocument(session, settings, view, paths)
{
}

QString WorkoutFiles::defaultFolder(const QString& folder) const
{
    QDir().mkpath(folder);
    return folder;
}

QString WorkoutFiles::workoutFolder() const
{
    // The remembered folder may be gone, or be the user's data folder before
    // anything was saved there; the dialogs then start in the workouts folder.
    const QString last = FileSettings(mSettings).lastDirectory();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    return defaultFolder(mPaths.workoutsDir());
}

QString WorkoutFiles::workoutCaption(const QString& workoutFileName) const
{
    return kntr::workoutCaption(mSession, workoutFileName);
}

void WorkoutFiles::rememberWorkoutFile(const QString& absolutePath)
{
    const QFileInfo info(absolutePath);
    FileSettings file(mSettings);
    file.setLastDirectory(info.absolutePath());
    file.setLastFile(absolutePath);
    file.setLastFileName(info.fileName());
}

void WorkoutFiles::applyWeight(int pounds)
{
    mSession.weightPounds = pounds;
    mSession.workout.setWeight(pounds);
    UserSettings(mSettings).setWeight(pounds);
    mView.setWeight(pounds);
}

void WorkoutFiles::showStartFailure()
{
    // The remembered text where it is true; otherwise what is wrong with the file.
    if (mLastMissing)
        mMessages.show(kNotFoundMessage, Icon::Information);
    else
        mMessages.show(sentence(mLastProblem) + QStringLiteral("\r\r") + kDefaultLoaded, Icon::Information);
}

std::optional<WorkoutFileContents> WorkoutFiles::readWorkoutFile(const QString& path)
{
    WorkoutFileRead read = kntr::readWorkoutFile(path);
    mLastProblem = std::move(read.problem);
    mLastMissing = read.missing;
    return std::move(read.contents);
}

bool WorkoutFiles::loadWorkoutFile(const QString& path)
{
    // The whole file is read and checked first: only then does it replace the workout.
    const auto contents = readWorkoutFile(path);
    if (!contents)
        return false;
    applyWorkoutFile(*contents);
    return true;
}

void WorkoutFiles::applyWorkoutFile(const WorkoutFileContents& contents)
{
    mDocument.apply(contents);
}

bool WorkoutFiles::openWorkoutFile(const QString& path)
{
    if (!loadWorkoutFile(path))
        return false;
    mView.refreshWorkout();
    mView.selectSegment(mSession.workout.current());
    mView.resetElapsedTime();
    mSession.modified = false;
    const QString file = absolute(path);
    rememberWorkoutFile(file);
    mView.setCaption(workoutCaption(fileName(file)));
    return true;
}

bool WorkoutFiles::SaveWorkoutFile(int mode)
{
    const QString lastFile = FileSettings(mSettings).lastFile();
    QString path;
    // With no remembered file (after File > New) Save asks for a name, as Save As does.
    if (mode == 1 && !lastFile.isEmpty()) {
        path = lastFile;
    } else {
        FileDialogRequest request;
        request.title = QStringLiteral("Save As");
        request.filter = kWorkoutFilter;
        request.folder = workoutFolder();
        request.fileName = fileName(lastFile);
        request.defaultSuffix = QStringLiteral("txt");
        path = mDialogs.getSaveFileName(request).value_or(QString());
    }
    if (path.isEmpty())
        return false;
    return saveWorkoutTo(path);
}

bool WorkoutFiles::saveWorkoutTo(const QString& path)
{
    const QString file = absolute(path);
    QString error;
    if (!mDocument.write(file, &error)) {
        // The workout stays unsaved and the remembered file unchanged.
        mMessages.show(error, Icon::Exclamation);
        return false;
    }
    rememberWorkoutFile(file);
    mSession.modified = false;
    mRecentFiles.AddRecentFile(file, file);
    mView.setCaption(workoutCaption(fileName(file)));
    return true;
}

bool WorkoutFiles::openLastWorkout(const QString& path)
{
    if (openWorkoutFile(path))
        return true;
    showStartFailure();
    return false;
}

bool WorkoutFiles::offerToSave(SaveQuestion question)
{
    if (!mSession.modified)
        return true;
    const QString lastFile = FileSettings(mSettings).lastFile();
    Answer answer;
    if (question == SaveQuestion::OpenUser) {
        const QString name = fileName(lastFile);
        answer = mMessages.show(
            (name.isEmpty() ? QStringLiteral("default.txt") : name)
                + QStringLiteral(" has been modified.\rDo you wish to save the modiefied file?"),
            Icon::Question, Buttons::YesNo);
    } else {
        // The name shown reads the remembered file as the exit question always has:
        // "default.txt" when none was ever stored, "workout" after File > New.
        const QString shown = FileSettings(mSettings).lastFile(QStringLiteral("default.txt"));
        answer =
            mMessages.show(QStringLiteral("Do you want to save changes made to ")
                               + (shown.isEmpty() ? QStringLiteral("workout") : shown) + QStringLiteral("?"),
                           Icon::Question, Buttons::YesNoCancel);
    }
    if (answer == Answer::Cancel)
        return false;
    if (answer == Answer::No)
        return true;
    // Save asks for a name when no file is remembered; a cancelled or failed
    // save keeps the edits and stops the command.
    return SaveWorkoutFile(1);
}

void WorkoutFiles::openWorkout()
{
    if (!offerToSave())
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("Open");
    request.filter = kWorkoutFilter;
    request.folder = workoutFolder();
    const QString path = mDialogs.getOpenFileName(request).value_or(QString());
    if (path.isEmpty())
        return;

    if (path.endsWith(QLatin1String("txt")))
        openWorkoutPath(path);
    else
        mMessages.show(notTextFileMessage(path), Icon::Exclamation, Buttons::OkCancel);
    mDocument.fitToMachine();
}

void WorkoutFiles::openWorkoutPath(const QString& path)
{
    if (!openWorkoutFile(path)) {
        mMessages.show(sentence(mLastProblem), Icon::Information);
        return;
    }
    mRecentFiles.AddRecentFile(absolute(path), absolute(path));
    // An open user file names the workout last loaded.
    if (!mSession.userFile.isEmpty())
        SaveUserFile(1);
}

void WorkoutFiles::openUserPath(const QString& path)
{
    if (!openUserFile(path)) {
        mMessages.show(sentence(mLastProblem), Icon::Information);
        return;
    }
    if (!mUserWorkoutLoaded)
        mMessages.show(sentence(mLastProblem)
                           + QStringLiteral("\r\rThe user file was opened with the workout "
                                            "shown before."),
                       Icon::Information);
    mRecentFiles.AddRecentFile(absolute(path), absolute(path));
}

bool WorkoutFiles::openUserFileAtStart(const QString& path)
{
    const bool opened = openUserFile(path);
    if (!opened) {
        // The user file itself: never "Workout file was not found".
        mMessages.show(sentence(mLastProblem) + QStringLiteral("\r\r") + kDefaultLoaded, Icon::Information);
    } else if (!mUserWorkoutLoaded) {
        showStartFailure();
    }
    return opened;
}

bool WorkoutFiles::openUserFile(const QString& path)
{
    FileRead file = readFileBytes(path);
    mLastProblem = std::move(file.problem);
    mLastMissing = file.missing;
    if (!file.bytes)
        return false;
    const UserTextResult read = parseUserText(*file.bytes);
    if (read.status == UserTextResult::Status::NotRecognised) {
        mLastProblem = path + QStringLiteral(": ") + kUserNotRecognisedMessage;
        return false;
    }
    // Checked before anything is loaded, so that a bad user file changes nothing.
    if (read.status == UserTextResult::Status::Malformed) {
        mLastProblem = QStringLiteral("%1 is not a valid user file: %2").arg(path, read.problem);
        return false;
    }
    if (read.weightPounds < kMinWeightPounds || read.weightPounds > kMaxWeightPounds) {
        mLastProblem = QStringLiteral("%1 is not a valid user file: the weight %2 is outside "
                                      "%3 to %4 pounds")
                           .arg(path)
                           .arg(read.weightPounds)
                           .arg(kMinWeightPounds)
                           .arg(kMaxWeightPounds);
        return false;
    }

    QString workout = read.workoutPath;
    if (!workout.isEmpty() && QDir::isRelativePath(workout))
        workout = QFileInfo(path).absoluteDir().filePath(workout);
    // A workout that cannot be read leaves the one in memory; the user file still opens.
    if (workout.isEmpty()) {
        mUserWorkoutLoaded = false;
        mLastProblem = QStringLiteral("%1 names no workout file").arg(path);
        mLastMissing = false;
    } else {
        mUserWorkoutLoaded = openWorkoutFile(workout);
    }
    applyWeight(read.weightPounds);

    mSession.userFile = absolute(path);
    mView.setCaption(workoutCaption(FileSettings(mSettings).lastFileName(QStringLiteral("default"))));
    return true;
}

bool WorkoutFiles::SaveUserFile(int mode)
{
    if (mSession.modified) {
        if (mMessages.show(kSaveWorkoutFirstMessage, Icon::None, Buttons::OkCancel) == Answer::Cancel)
            return false;
        SaveWorkoutFile(2);
    }
    const QByteArray text = buildUserText(FileSettings(mSettings).lastFile(), mSession.weightPounds);

    QString target;
    if (mode == 1 && !mSession.userFile.isEmpty()) {
        target = mSession.userFile;
    } else {
        FileDialogRequest request;
        request.title = QStringLiteral("Save As");
        request.filter = kUserFilter;
        request.defaultSuffix = QStringLiteral("ktr");
        if (mSession.userFile.isEmpty()) {
            request.folder = defaultFolder(mPaths.usersDir());
            request.fileName = QStringLiteral("user.ktr");
        } else {
            request.folder = QFileInfo(mSession.userFile).absolutePath();
            request.fileName = fileName(mSession.userFile);
        }
        target = mDialogs.getSaveFileName(request).value_or(QString());
    }
    if (target.isEmpty())
        return false;

    const QString file = absolute(target);
    QString error;
    if (!writeTextFile(file, text, &error)) {
        mMessages.show(error, Icon::Exclamation);
        return false;
    }
    mSession.userFile = file;
    mView.setCaption(workoutCaption(FileSettings(mSettings).lastFileName(QStringLiteral("default"))));
    mRecentFiles.AddRecentFile(file, file);
    return true;
}

void WorkoutFiles::openUser()
{
    if (!offerToSave(SaveQuestion::OpenUser))
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("Open");
    request.filter = kUserFilter;
    request.folder = defaultFolder(mPaths.usersDir());
    const QString path = mDialogs.getOpenFileName(request).value_or(QString());
    if (path.isEmpty())
        return;

    if (path.endsWith(QLatin1String("ktr")))
        openUserPath(path);
    else
        mMessages.show(kUserWrongExtensionMessage, Icon::Exclamation);
    mDocument.fitToMachine();
}

void WorkoutFiles::openRecentFile(int index)
{
    const QString path = mRecentFiles.RecentFilePath(index);
    if (!path.isEmpty())
        openRecentPath(path);
}

void WorkoutFiles::openRecentPath(const QString& path)
{
    const bool workout = path.endsWith(QLatin1String("txt"));
    const bool user = path.endsWith(QLatin1String("ktr"));
    if (!workout && !user) {
        mMessages.show(kUserWrongExtensionMessage, Icon::Exclamation);
    } else if (!QFileInfo::exists(path)) {
        // Moved or deleted since: the entry would fail the same way every time.
        mRecentFiles.RemoveRecentFile(path);
        mMessages.show(path + QStringLiteral(" was not found. It was removed from the recent files."),
                       Icon::Information);
    } else if (!offerToSave()) {
        return;
    } else if (workout) {
        openWorkoutPath(path);
    } else {
        openUserPath(path);
    }
    mDocument.fitToMachine();
}

void WorkoutFiles::importTable()
{
    if (!offerToSave())
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("Import CSV");
    request.filter = kTableFilter;
    request.folder = workoutFolder();
    const QString path = mDialogs.getOpenFileName(request).value_or(QString());
    if (path.isEmpty())
        return;
    const WorkoutTableResult read = readWorkoutTableFile(path, mSession.machine, mSession.machine.units());
    if (!read.table) {
        mMessages.show(sentence(read.problem), Icon::Information);
        return;
    }

    // A new workout, as File > New makes one: no file yet, so Save asks for a name.
    mDocument.apply(read.table->contents());
    mDocument.fitToMachine();
    FileSettings(mSettings).setLastFile(QString());
    mSession.modified = true;
    mView.resetElapsedTime();
    mView.setCaption(QStringLiteral("Kinetrova"));
    const QStringList changes = read.table->changes(mSession.workout);
    if (!changes.isEmpty())
        mMessages.show(QStringLiteral("The workout was fitted to the machine:\r")
                           + changes.join(QLatin1Char('\r')),
                       Icon::Information);
}

void WorkoutFiles::exportTable()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Export CSV");
    request.filter = kTableFilter;
    request.folder = workoutFolder();
    request.fileName =
        QFileInfo(FileSettings(mSettings).lastFileName(QStringLiteral("workout"))).completeBaseName()
        + QStringLiteral(".csv");
    request.defaultSuffix = QStringLiteral("csv");
    const QString path = mDialogs.getSaveFileName(request).value_or(QString());
    if (path.isEmpty())
        return;
    QString error;
    if (!writeTextFile(absolute(path),
                       buildWorkoutTable(mSession.workout, mSession.machine, mSession.machine.units()),
                       &error))
        mMessages.show(error, Icon::Exclamation);
}

} // namespace kntr
