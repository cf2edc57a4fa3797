#include "workoutfilemodel.h"

#include "files/musiclist.h"
#include "files/playlistdialogs.h"

#include "buildestimate.h"
#include "mp3filebuilder.h"
#include "mp3musiccheck.h"
#include "musicconversion.h"
#include "tonefiledecoder.h"
#include "wavefilebuilder.h"
#include "wavmusiccheck.h"
#include "workoutfilewriter.h"

#include "files/asxplaylist.h"
#include "model/numbers.h"
#include "model/storedsettings.h"
#include "model/workout.h"
#include "platform/clock.h"
#include "platform/filedialogs.h"
#include "platform/messageboxes.h"
#include "platform/regularfile.h"
#include "platform/settingsstore.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <utility>

namespace kntr {

namespace {

/// A turn of the event loop every so many frames of an MP3 check.
constexpr int kFramesPerTurn = 256;

QString musicFilter(WorkoutFileType type)
{
    return type == WorkoutFileType::Mp3 ? QStringLiteral("MP3 Files (*.mp3)")
                                        : QStringLiteral("Wave Files (*.wav)");
}

QString upperName(WorkoutFileType type)
{
    return workoutFileTypeName(type).toUpper();
}

} // namespace

const QString WorkoutFileModel::kCaption =
    QStringLiteral("Kinetrova - Create workout file for a CD, MP3 Player, or PocketPC");

QString WorkoutFileModel::caption() const
{
    // Both builders may be open at once: the title says which file each makes.
    return kCaption
        + (mType == WorkoutFileType::Mp3 ? QStringLiteral(" (MP3 file)") : QStringLiteral(" (WAV file)"));
}
const QString WorkoutFileModel::kSaveFirstMessage =
    QStringLiteral("Save this workout before creating a MP3 or WAV file.");
const QString WorkoutFileModel::kUseExitMessage =
    QStringLiteral("Please use the Exit button at the bottom of this form to close it.");
const QString WorkoutFileModel::kAbortedMessage = QStringLiteral("File creation aborted!");

WorkoutFileModel::WorkoutFileModel(WorkoutFileType type, const Workout& workout, const Machine& machine,
                                   SettingsStore& settings, FileDialogs& dialogs, MessageBoxes& messages,
                                   Clock& clock, const WorkoutFileWriter* writer)
    : mType(type)
    , mWorkout(workout)
    , mMachine(machine)
    , mSettings(settings)
    , mDialogs(dialogs)
    , mMessages(messages)
    , mClock(clock)
    , mWriter(writer && writer->type() == type ? writer : nullptr)
    , mFreeSpace([](const QString& folder) {
        const QStorageInfo storage(folder);
        return storage.isValid() && storage.isReady() ? storage.bytesAvailable() : qint64{-1};
    })
{
    mPreferences = RecordingPreferences::read(mSettings);
    recomputeEstimate();
}

bool WorkoutFileModel::mayOpen(const SettingsStore& settings, MessageBoxes& messages)
{
    if (!FileSettings(settings).lastFile().isEmpty())
        return true;
    messages.show(kSaveFirstMessage, MessageBoxes::Icon::Information);
    return false;
}

QString WorkoutFileModel::frameCaption() const
{
    return QStringLiteral("1. Add ") + upperName(mType) + QStringLiteral(" music files (optional).");
}

void WorkoutFileModel::refresh()
{
    if (busy())
        return;
    mPreferences = RecordingPreferences::read(mSettings, mPreferences.mp3BitRate);
    recomputeEstimate();
    changed();
}

QStringList WorkoutFileModel::paths() const
{
    QStringList out;
    for (const MusicEntry& entry : mMusic.rows())
        out << entry.shownPath();
    return out;
}

void WorkoutFileModel::selectRow(int row)
{
    mMusic.select(row);
    changed();
}

void WorkoutFileModel::addFile()
{
    if (busy())
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("Open");
    request.filter = mConversion ? MusicConversion::kFilter + QStringLiteral(";;") + musicFilter(mType)
                                 : musicFilter(mType);
    request.folder = PlayListDialogs::existingFolder(mMusicFolder);
    if (request.folder.isEmpty())
        request.folder = PlayListDialogs::existingFolder(mSettings, QStringLiteral("MP3Directory"));
    const std::optional<QString> chosen = mDialogs.getOpenFileName(request);
    if (!chosen || chosen->isEmpty())
        return;
    const QFileInfo file(*chosen);
    mMusicFolder = file.absolutePath();
    QStringList unreadable;
    admit(file.absoluteFilePath(), &unreadable);
    if (!unreadable.isEmpty())
        mMessages.show(unreadable.first(), MessageBoxes::Icon::Exclamation);
    recomputeEstimate();
    changed();
}

void WorkoutFileModel::removeFile()
{
    if (busy() || !mMusic.removeSelectedOrLast())
        return;
    recomputeEstimate();
    changed();
}

void WorkoutFileModel::moveUp()
{
    if (!busy())
        exchange(-1);
}

void WorkoutFileModel::moveDown()
{
    if (!busy())
        exchange(+1);
}

void WorkoutFileModel::browse()
{
    if (busy())
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("Open");
    request.filter = PlayListDialogs::kFilter;
    request.folder = PlayListDialogs::existingFolder(mSettings, QStringLiteral("ASXDirectory"));
    const std::optional<QString> chosen = mDialogs.getOpenFileName(request);
    if (!chosen || chosen->isEmpty())
        return;
    const QFileInfo file(*chosen);
    if (file.suffix().toLower() != QLatin1String("asx")) {
        mMessages.show(PlayListDialogs::kNotPlayListMessage, MessageBoxes::Icon::Exclamation);
        return;
    }
    AudioSettings(mSettings).setPlayList(file.absoluteFilePath());
    FileSettings(mSettings).setFolder(QStringLiteral("ASXDirectory"), file.absolutePath());
    setListPath(file.absoluteFilePath());
}

void WorkoutFileModel::saveList()
{
    if (busy())
        return;
    const std::optional<QString> chosen =
        PlayListDialogs::chooseFileToSave(mDialogs, mSettings, mPlayListPath, paths().value(0));
    if (!chosen)
        return;
    const QString path = *chosen;
    QString error;
    if (!AsxPlayList::write(path, paths(), &error)) {
        mMessages.show(PlayListDialogs::saveFailedMessage(path, error), MessageBoxes::Icon::Exclamation);
        return;
    }
    mPlayListPath = path;
    changed();
}

void WorkoutFileModel::setListPath(const QString& path)
{
    mPlayListPath = path;
    mMusic.clear();
    const QString extension = QLatin1Char('.') + workoutFileTypeName(mType);
    QStringList unreadable;
    if (const std::optional<QStringList> listed = AsxPlayList::read(path)) {
        for (const QString& entry : *listed) {
            if (entry.right(4).toLower() == extension
                || (mConversion && MusicConversion::isAudioFileName(entry)))
                admit(entry, &unreadable);
        }
    }
    if (!unreadable.isEmpty())
        mMessages.show(QStringLiteral("These files of the play list could not be read and were left out:\r")
                           + unreadable.join(QLatin1Char('\r')),
                       MessageBoxes::Icon::Exclamation);
    recomputeEstimate();
    changed();
}

bool WorkoutFileModel::canMake() const
{
    return mWriter && !busy();
}

void WorkoutFileModel::makeFile()
{
    if (!canMake())
        return;
    mCancel = false;

    // Music of the other kind cannot go into the file.
    const QString name = workoutFileTypeName(mType);
    for (const MusicEntry& entry : mMusic.rows()) {
        if (entry.path.right(3).toLower() != name) {
            const QString other =
                mType == WorkoutFileType::Wav ? QStringLiteral("MP3") : QStringLiteral("WAV");
            mMessages.show(
                QStringLiteral("Cannot use a ") + other + QStringLiteral(" file in a ") + upperName(mType)
                    + QStringLiteral(" workout.\rPlease delete file and try again or try \ra different "
                                     "selection."),
                MessageBoxes::Icon::Exclamation);
            return;
        }
    }

    FileDialogRequest request;
    request.title = QStringLiteral("Save As");
    request.filter = musicFilter(mType);
    request.defaultSuffix = name;
    const QFileInfo proposed(BuildEstimate::outputPath(mOutputPath, lastFile(), mType));
    request.folder = PlayListDialogs::existingFolder(proposed.absolutePath());
    request.fileName = proposed.fileName();
    const std::optional<QString> chosen = mDialogs.getSaveFileName(request);
    if (!chosen || chosen->isEmpty())
        return;
    QString path = QFileInfo(*chosen).absoluteFilePath();
    // The name keeps the type's extension, which the status lines show in place
    // of its last three characters.
    if (!path.endsWith(QLatin1Char('.') + name, Qt::CaseInsensitive))
        path += QLatin1Char('.') + name;
    mOutputPath = path;
    mPreferences = RecordingPreferences::read(mSettings, mPreferences.mp3BitRate);
    recomputeEstimate();
    changed();

    const QString folder = QFileInfo(path).absolutePath();
    const qint64 free = mFreeSpace ? mFreeSpace(folder) : -1;
    if (free >= 0 && static_cast<double>(free) * 0.9 < static_cast<double>(mEstimate)) {
        mMessages.show(WaveFileBuilder::notEnoughSpaceMessage(QDir::toNativeSeparators(folder)),
                       MessageBoxes::Icon::Exclamation);
        return;
    }

    mActivity = Activity::Building;
    mProgress = 0;
    changed();
    WorkoutFileWriter::Job job{mWorkout, mMachine, mPreferences, mMusic.rows(), path};
    job.title = QFileInfo(lastFile()).completeBaseName();
    const WaveBuildResult result = mWriter->write(
        job, [this](int percent, const QString& status) { progressed(percent, status); }, mCancel);
    mActivity = Activity::Idle;
    // A finished file leaves the bar full; anything else empties it.
    mProgress = result.outcome == WaveBuildResult::Outcome::Written ? 100 : 0;

    switch (result.outcome) {
    case WaveBuildResult::Outcome::Written: {
        mWrittenPath = path;
        // Both kinds of file end with a box, so a finished build is never missed.
        const QString written = !result.message.isEmpty() ? result.message
            : mType == WorkoutFileType::Mp3               ? Mp3FileBuilder::writtenMessage(path)
                                                          : WaveFileBuilder::writtenMessage(path);
        mInfo2 = mMusic.empty() ? path + QStringLiteral(" written to disk. OK to Exit.") : result.status;
        changed();
        mMessages.show(written, MessageBoxes::Icon::Information);
        mInfo2 = result.status;
        break;
    }
    case WaveBuildResult::Outcome::Cancelled:
        recomputeEstimate();
        break;
    case WaveBuildResult::Outcome::Refused:
    case WaveBuildResult::Outcome::Failed:
        recomputeEstimate();
        changed();
        mMessages.show(result.message,
                       result.outcome == WaveBuildResult::Outcome::Refused ? MessageBoxes::Icon::Exclamation
                                                                           : MessageBoxes::Icon::Critical);
        break;
    }
    changed();
}

void WorkoutFileModel::cancel()
{
    if (!canCancel())
        return;
    mCancel = true;
    mMessages.show(kAbortedMessage, MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::OkCancel);
}

std::optional<ToneVerification> WorkoutFileModel::verify()
{
    if (busy() || mWrittenPath.isEmpty())
        return std::nullopt;
    mCancel = false;
    mActivity = Activity::Verifying;
    mProgress = 0;
    mInfo2 =
        QStringLiteral("Reading the control tones of ") + mWrittenPath + QStringLiteral(". Please wait...");
    changed();
    QString error;
    const std::optional<std::vector<DecodedCommand>> found = ToneFileDecoder::decode(
        mWrittenPath, &error, [this](int percent) { progressed(percent, mInfo2); }, &mCancel);
    mActivity = Activity::Idle;
    mProgress = 0;
    if (!found) {
        recomputeEstimate();
        changed();
        if (!error.isEmpty())
            mMessages.show(mWrittenPath + QStringLiteral(" could not be read as audio: ") + error,
                           MessageBoxes::Icon::Exclamation);
        return std::nullopt;
    }
    ToneVerification verification = ToneVerification::compare(mWorkout, mMachine, *found);
    mInfo2 = verification.summary();
    changed();
    return verification;
}

void WorkoutFileModel::recomputeEstimate()
{
    mEstimate = mType == WorkoutFileType::Wav
        ? BuildEstimate::wavSize(mWorkout, mPreferences.stereo, !mMusic.empty())
        : BuildEstimate::mp3Size(mWorkout, mPreferences.mp3BitRate, mMusic.rows());
    mOutputPath = BuildEstimate::outputPath(mOutputPath, lastFile(), mType);
    mInfo2 = BuildEstimate::fileInfoText(mOutputPath, mEstimate);
    mInfo3 = BuildEstimate::musicCoverageText(mPreferences.oneFilePerSegment, mMusic.size(), mWorkout.count(),
                                              BuildEstimate::musicSeconds(mMusic.rows()),
                                              BuildEstimate::totalSeconds(mWorkout));
}

bool WorkoutFileModel::admit(const QString& path, QStringList* unreadable)
{
    // Looked at before the check opens it: a FIFO would hold the window up for good.
    if (const QString reason = notARegularFile(QFileInfo(path)); !reason.isEmpty()) {
        unreadable->append(path + QStringLiteral(" could not be read: ") + reason);
        return false;
    }
    int frames = 0;
    mActivity = Activity::Checking;
    changed();
    const MusicCheckResult checked =
        mType == WorkoutFileType::Wav ? WavMusicCheck::check(path) : Mp3MusicCheck::check(path, [&] {
            if (++frames % kFramesPerTurn == 0)
                mClock.processEvents();
        });
    mActivity = Activity::Idle;
    changed();
    switch (checked.verdict) {
    case MusicCheckResult::Verdict::Admitted:
        mMusic.append(checked.entry);
        return true;
    case MusicCheckResult::Verdict::Rejected:
        mMessages.show(checked.message, MessageBoxes::Icon::Exclamation);
        return mConversion && offerConversion(path);
    case MusicCheckResult::Verdict::Unreadable:
        unreadable->append(path + QStringLiteral(" could not be read: ") + checked.message);
        return false;
    }
    return false;
}

bool WorkoutFileModel::offerConversion(const QString& path)
{
    if (mMessages.show(MusicConversion::kQuestion, MessageBoxes::Icon::Question, MessageBoxes::Buttons::YesNo)
        != MessageBoxes::Answer::Yes)
        return false;
    // MP3 copies take the workout's bit rate: the first file's, or the preference's.
    const MusicTarget target{mType, mMusic.empty() ? mPreferences.mp3BitRate : mMusic.rows().front().bitRate};
    mCancel = false;
    mActivity = Activity::Converting;
    mProgress = 0;
    mInfo2 = QStringLiteral("Converting ") + path + QStringLiteral(". Please wait...");
    changed();
    const MusicConversion::Result result = mConversion->convert(
        path, target,
        [this](int percent) {
            mProgress = percent;
            changed();
            mClock.processEvents();
        },
        mCancel);
    mActivity = Activity::Idle;
    mProgress = 0;
    changed();
    switch (result.outcome) {
    case MusicConversion::Outcome::Converted: {
        mMusic.append(result.entry);
        QStringList inUse;
        for (const MusicEntry& entry : mMusic.rows())
            inUse << entry.path;
        mConversion->trim(inUse);
        return true;
    }
    case MusicConversion::Outcome::Failed:
        mMessages.show(result.message, MessageBoxes::Icon::Exclamation);
        return false;
    case MusicConversion::Outcome::Cancelled:
        return false;
    }
    return false;
}

void WorkoutFileModel::exchange(int step)
{
    if (!mMusic.moveSelected(step))
        return;
    recomputeEstimate();
    changed();
}

void WorkoutFileModel::progressed(int percent, const QString& status)
{
    mProgress = percent;
    mInfo2 = status;
    changed();
    mClock.processEvents();
}

void WorkoutFileModel::changed()
{
    if (mOnChange)
        mOnChange();
}

QString WorkoutFileModel::lastFile() const
{
    return FileSettings(mSettings).lastFile();
}

} // namespace kntr
