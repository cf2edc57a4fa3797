#include "fuzztargets.h"

#include "builder/chaptermarks.h"
#include "builder/mp3frameformat.h"
#include "builder/mp3framewalk.h"
#include "builder/mp3musiccheck.h"
#include "builder/mp3splice.h"
#include "builder/musicconversion.h"
#include "builder/wavmusiccheck.h"
#include "files/asxplaylist.h"
#include "files/recentfiles.h"
#include "files/textfile.h"
#include "files/usertext.h"
#include "files/workoutcsv.h"
#include "files/workoutdocument.h"
#include "files/workoutfiles.h"
#include "files/workouttext.h"
#include "model/machinefit.h"
#include "model/segment.h"
#include "model/session.h"
#include "platform/apppaths.h"
#include "platform/filesettingsstore.h"
#include "platform/memorysettingsstore.h"
#include "platform/monoaudioreader.h"
#include "platform/musicentrycheck.h"
#include "platform/settingstree.h"
#include "platform/wavimage.h"
#include "tones/tonedecoder.h"
#include "recordingworkoutview.h"
#include "scriptedfiledialogs.h"
#include "scriptedmessageboxes.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cmath>
#include <cerrno>
#include <cstring>
#include <set>
#include <string>

#include <ftw.h>
#include <sys/stat.h>

namespace kntr::fuzz {

namespace {

/// The first check that failed, if any.
class Checks {
public:
    void expect(bool ok, const std::string& what)
    {
        if (!ok && mFirst.empty())
            mFirst = what;
    }
    void expect(bool ok, const std::string& what, const QString& detail)
    {
        expect(ok, what + ": " + detail.toStdString());
    }
    const std::string& result() const { return mFirst; }

private:
    std::string mFirst;
};

/// A folder of this process for the files the readers are given, emptied after
/// every input. In memory where the system offers it: the writers sync to disk.
class Scratch {
public:
    Scratch()
        : mDir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                   ? QStringLiteral("/dev/shm/kntr-fuzz-XXXXXX")
                   : QDir::tempPath() + QStringLiteral("/kntr-fuzz-XXXXXX"))
    {
        clear();
    }

    QString path(const char* name) const
    {
        mNames.insert(name);
        return mDir.path() + QStringLiteral("/in/") + QLatin1String(name);
    }
    QString write(const char* name, const QByteArray& bytes) const
    {
        const QString file = path(name);
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)
            || f.write(bytes) != bytes.size())
            qFatal("cannot write the scratch file %s", qPrintable(file));
        return file;
    }
    /// Plain system calls on the names handed out, and a walk of the folder
    /// only when something else was left: this runs for every input, and a
    /// walk costs the sanitizers more than most readers do.
    void clear() const
    {
        const QByteArray in = QFile::encodeName(mDir.path() + QStringLiteral("/in"));
        // Backwards, so that a folder's contents go before the folder.
        for (auto name = mNames.rbegin(); name != mNames.rend(); ++name) {
            const QByteArray path = in + '/' + name->c_str();
            if (::unlink(path.constData()) != 0 && errno == EISDIR)
                ::rmdir(path.constData());
        }
        if (::rmdir(in.constData()) != 0 && errno != ENOENT)
            ::nftw(in.constData(), &removeEntry, 16, FTW_DEPTH | FTW_PHYS);
        if (::mkdir(in.constData(), 0700) != 0)
            qFatal("cannot make the scratch folder %s", in.constData());
    }

private:
    static int removeEntry(const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); }

    QTemporaryDir mDir;
    mutable std::set<std::string> mNames;
};

/// The scratch folder, empty when an input starts and emptied when it is done.
class ScratchUse {
public:
    ScratchUse() = default;
    ~ScratchUse() { folder().clear(); }
    const Scratch& operator*() const { return folder(); }
    const Scratch* operator->() const { return &folder(); }

private:
    static const Scratch& folder()
    {
        static const Scratch scratch;
        return scratch;
    }
};

/// Keeps the warnings of the code under test out of the output while it lives.
class Quiet {
public:
    Quiet()
        : mPrevious(qInstallMessageHandler(&ignore))
    {
    }
    ~Quiet() { qInstallMessageHandler(mPrevious); }

private:
    static void ignore(QtMsgType, const QMessageLogContext&, const QString&) { }
    QtMessageHandler mPrevious;
};

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly | QIODevice::Unbuffered) ? f.readAll() : QByteArray("<unreadable>");
}

bool nearlyEqual(double a, double b)
{
    return std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(a));
}

/// The File menu's objects as the main window owns them, without windows, on
/// the default workout as a first start leaves them.
struct Program {
    explicit Program(const Scratch& scratch)
        : paths(scratch.path("program"), scratch.path("data"))
    {
        scratch.path("data/workouts"); // for the clean-up: the file dialogs start there
        DefaultWorkout(session.workout, settings, paths.userDataDir());
        loadStoredMachine(session.machine, settings);
    }
    QString stored(const char* section, const char* key) const
    {
        return settings.GetSetting(kAppName, QLatin1String(section), QLatin1String(key));
    }
    /// The one message shown names the file, or no message was shown.
    bool toldOnce(const QString& file) const
    {
        return messages.shown().size() == 1 && messages.shown()[0].text.contains(file);
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

std::vector<std::array<double, 3>> segmentsOf(const Workout& workout)
{
    std::vector<std::array<double, 3>> rows;
    for (int i = 1; i <= workout.count(); ++i) {
        const Segment& s = workout.segment(i);
        rows.push_back({s.SegmentSpeed(), s.SegmentIncline(), s.SegmentTime()});
    }
    return rows;
}

// ---- Workout text files ----------------------------------------------------

bool inFileRange(double v)
{
    return std::isfinite(v) && std::abs(v) < kLargestFileNumber;
}

/// The version 1.2 text the program writes for what a file held: its segments
/// and play list (the machine block through the machine profile).
QByteArray rewritten(const WorkoutFileContents& contents)
{
    Workout workout;
    workout.setCount(static_cast<int>(contents.segments->size()));
    for (int i = 1; i <= workout.count(); ++i) {
        const SegmentValues& v = (*contents.segments)[i - 1];
        workout.segment(i).setSegmentSpeed(v.speed);
        workout.segment(i).setSegmentIncline(v.incline);
        workout.segment(i).setSegmentTime(v.seconds);
    }
    MemorySettingsStore settings;
    settings.SaveSetting(kAppName, QStringLiteral("audio"), QStringLiteral("ASXfilename"), contents.playList);
    return buildWorkoutText(workout, settings);
}

void checkWorkoutContents(const WorkoutFileContents& c, Checks& check)
{
    check.expect(c.version >= 0 && c.version <= 2, "a version after 1.2 was read");
    if (!c.segments) {
        check.expect(c.version == 2, "a version 1.0 or 1.1 file was read without segments");
    } else {
        check.expect(!c.segments->empty() && c.segments->size() <= size_t(Workout::kMaxSegments),
                     "the segment count is outside 1 to 60");
        // Version 1.0 counts minutes: its seconds may reach 60 times the largest number.
        const double secondsScale = c.version == 0 ? 60 : 1;
        for (const SegmentValues& s : *c.segments)
            check.expect(inFileRange(s.speed) && inFileRange(s.incline) && std::isfinite(s.fileSeconds)
                             && std::abs(s.fileSeconds) <= secondsScale * kLargestFileNumber
                             && s.seconds >= kMinSegmentSeconds && s.seconds <= kMaxSegmentSeconds,
                         "a segment value is out of range");
    }
    if (c.machine)
        for (double r : c.machine->ranges)
            check.expect(std::isfinite(r), "a machine range is not finite");
}

std::string workoutText(const QByteArray& input)
{
    using Status = WorkoutTextResult::Status;
    Checks check;
    const WorkoutTextResult read = parseWorkoutText(input);
    check.expect((read.status == Status::NotRecognised) == !input.startsWith("Vexa v 1"),
                 "recognition is decided by more than the magic");
    check.expect((read.status == Status::Ok || read.status == Status::NotRecognised)
                     == read.problem.isEmpty(),
                 "a refusal does not say why, or a success names a problem");
    if (read.status == Status::Ok) {
        checkWorkoutContents(read.contents, check);
        // What is read, written again as version 1.2, reads back as written.
        if (read.contents.segments) {
            const QByteArray once = rewritten(read.contents);
            const WorkoutTextResult again = parseWorkoutText(once);
            check.expect(again.status == Status::Ok && again.contents.segments,
                         "the rewritten text does not read back", again.problem);
            if (again.status == Status::Ok && again.contents.segments) {
                check.expect(rewritten(again.contents) == once, "a second rewrite differs from the first");
                check.expect(again.contents.playList == read.contents.playList,
                             "the play list changed in the rewrite");
            }
        }
    }

    // File > Open of those bytes, then File > Save of what it opened, and Open again.
    const ScratchUse scratch;
    Program program(*scratch);
    const QString in = scratch->write("in.txt", input);
    program.dialogs.script(in);
    program.files.openWorkout();
    const bool opened = program.stored("File", "LastFile") == in;
    check.expect(opened == (read.status == Status::Ok),
                 opened ? "File > Open took a text the reader refuses"
                        : "File > Open refused a text the reader takes");
    if (!opened) {
        check.expect(program.toldOnce(in), "a refused file was not named in one message");
        return check.result();
    }
    const Workout& workout = program.session.workout;
    check.expect(workout.count() >= 1 && workout.count() <= Workout::kMaxSegments,
                 "the opened workout has no segment or more than 60");
    const auto before = segmentsOf(workout);
    const QString out = scratch->path("out.txt");
    check.expect(program.files.saveWorkoutTo(out), "the opened workout could not be saved");
    program.messages.clear();
    program.dialogs.script(out);
    program.files.openWorkout();
    check.expect(program.stored("File", "LastFile") == out && program.messages.shown().empty(),
                 "the saved workout does not open again");
    const auto after = segmentsOf(workout);
    bool same = before.size() == after.size();
    QString differ;
    for (size_t i = 0; same && i < before.size(); ++i)
        for (int k = 0; k < 3; ++k)
            if (!nearlyEqual(before[i][k], after[i][k])) {
                same = false;
                differ = QStringLiteral("segment %1 value %2 was %3, is %4")
                             .arg(i + 1)
                             .arg(k + 1)
                             .arg(before[i][k])
                             .arg(after[i][k]);
            }
    check.expect(same, "the saved workout opens with other segments", differ);
    return check.result();
}

// ---- Workout tables (CSV) ------------------------------------------------------

std::string workoutTable(const QByteArray& input)
{
    Checks check;
    for (const char* type : {"Treadmill", "Elliptical", "Bike"}) {
        for (const Units units : {Units::Miles, Units::Kilometres}) {
            MemorySettingsStore settings;
            settings.SaveSetting(kAppName, QStringLiteral("Machine"), QStringLiteral("MachineType"),
                                 QString::fromLatin1(type));
            Session session;
            loadStoredMachine(session.machine, settings);
            const WorkoutTableResult read = parseWorkoutTable(input, session.machine, units);
            check.expect(read.table.has_value() == read.problem.isEmpty(),
                         "a refusal does not say why, or a success names a problem");
            if (!read.table)
                continue;
            const std::vector<SegmentValues>& rows = read.table->rows;
            check.expect(!rows.empty() && rows.size() <= size_t(Workout::kMaxSegments),
                         "the row count is outside 1 to 60");
            for (const SegmentValues& s : rows)
                check.expect(inFileRange(s.speed) && inFileRange(s.incline) && s.seconds >= kMinSegmentSeconds
                                 && s.seconds <= kMaxSegmentSeconds,
                             "a row value is out of range");

            // Imported, exported and imported again: nothing to fit, and exported again
            // the same table (numbers are written to 15 digits, as in workout files).
            RecordingWorkoutView view;
            const AppPaths paths{QDir::tempPath(), QDir::tempPath()};
            WorkoutDocument document(session, settings, view, paths);
            document.apply(read.table->contents());
            document.fitToMachine();
            const QByteArray table = buildWorkoutTable(session.workout, session.machine, units);
            const WorkoutTableResult again = parseWorkoutTable(table, session.machine, units);
            check.expect(again.table.has_value(), "the exported table does not read back", again.problem);
            if (!again.table)
                continue;
            Session back;
            loadStoredMachine(back.machine, settings);
            WorkoutDocument backDocument(back, settings, view, paths);
            backDocument.apply(again.table->contents());
            backDocument.fitToMachine();
            check.expect(buildWorkoutTable(back.workout, back.machine, units) == table,
                         "export then import changed the segments");
            check.expect(again.table->changes(back.workout).isEmpty(), "the exported table needed fitting");
        }
    }
    return check.result();
}

// ---- User files -------------------------------------------------------------

const QByteArray kHills = "Vexa v 1.2                \r\n\r\n[machine settings]\r\n"
                          "Treadmill\r\nMiles\r\n20\r\n100\r\n5\r\n0\r\n100\r\n10\r\n\r\n"
                          "[segment settings]\r\n1\t3\t2\t60\r\n2\t4.5\t6\t120\r\n\r\n"
                          "[playlist]\r\n\r\n\r\n\r\n";

std::string userFile(const QByteArray& input)
{
    using Status = UserTextResult::Status;
    Checks check;
    const UserTextResult read = parseUserText(input);
    check.expect((read.status == Status::NotRecognised) == !input.startsWith("Vexa v 1"),
                 "recognition is decided by more than the magic");
    if (read.status == Status::Ok) {
        check.expect(!read.workoutPath.contains(QLatin1Char('\r')), "the workout path holds a line end");
        const UserTextResult again = parseUserText(buildUserText(read.workoutPath, read.weightPounds));
        check.expect(again.status == Status::Ok && again.workoutPath == read.workoutPath
                         && again.weightPounds == read.weightPounds,
                     "the user file written from what was read reads back otherwise");
    }

    // File > Open User of those bytes, a workout file beside them that they may name;
    // then File > Save User.
    const ScratchUse scratch;
    Program program(*scratch);
    scratch->write("hills.txt", kHills);
    const QString in = scratch->write("in.ktr", input);
    program.dialogs.script(in);
    program.files.openUser();
    const bool opened = program.session.userFile == in;
    const bool acceptable = read.status == Status::Ok && read.weightPounds >= kMinWeightPounds
        && read.weightPounds <= kMaxWeightPounds;
    check.expect(opened == acceptable,
                 opened ? "File > Open User took a file the reader refuses"
                        : "File > Open User refused a file the reader takes");
    if (!opened) {
        check.expect(program.toldOnce(in), "a refused file was not named in one message");
        return check.result();
    }
    check.expect(program.session.weightPounds == read.weightPounds, "the weight was not taken");
    program.session.modified = false;
    check.expect(program.files.SaveUserFile(1), "the opened user file could not be saved");
    const UserTextResult saved = parseUserText(fileBytes(in));
    check.expect(saved.status == Status::Ok && saved.weightPounds == read.weightPounds
                     && saved.workoutPath == program.stored("File", "LastFile"),
                 "the saved user file does not read back as saved");
    return check.result();
}

// ---- The settings file ------------------------------------------------------

std::string settingsFile(const QByteArray& input)
{
    const Quiet quiet;
    Checks check;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(input, &error);
    const bool object = error.error == QJsonParseError::NoError && doc.isObject();
    bool complete = false;
    SettingsTree tree;
    if (object) {
        tree = SettingsTree::fromJson(doc.object(), &complete);
        complete = complete && !SettingsTree::repeatsNames(input, doc.object());
        const QJsonObject written = tree.toJson();
        check.expect(!complete || written == doc.object(), "a tree read whole is written otherwise");
        bool again = false;
        check.expect(SettingsTree::fromJson(written, &again).toJson() == written && again,
                     "a written tree does not read back whole");
    }

    // A settings file of those bytes: a program reads it, then saves one setting.
    const ScratchUse scratch;
    const QString path = scratch->write("settings.json", input);
    const QString section = QStringLiteral("FuzzSection"), key = QStringLiteral("FuzzKey");
    const QString value = QStringLiteral("written by the fuzzer");
    const bool changes = tree.value(kAppName, section, key) != value;
    {
        FileSettingsStore store(path);
        store.setLockTimeout(std::chrono::seconds(5));
        const QString none = QStringLiteral("<none>");
        check.expect(
            store.GetSetting(kAppName, QStringLiteral("user"), QStringLiteral("weight"), none)
                == tree.value(kAppName, QStringLiteral("user"), QStringLiteral("weight")).value_or(none),
            "the store reads another weight than the file holds");
        store.SaveSetting(kAppName, section, key, value);
    }
    check.expect(FileSettingsStore(path).GetSetting(kAppName, section, key) == value,
                 "a setting saved is not read back");
    // Everything the file held that could be read is still there.
    tree.setValue(kAppName, section, key, value);
    const QJsonDocument now = QJsonDocument::fromJson(fileBytes(path));
    check.expect(now.isObject() && SettingsTree::fromJson(now.object()).toJson() == tree.toJson(),
                 "the rewritten file lost or changed settings");
    // What the rewrite could not keep was set aside first, byte for byte.
    const bool lossy = !input.trimmed().isEmpty() && !complete;
    const QString aside = scratch->path("settings.json.damaged");
    scratch->path("settings.json.lock"); // for the clean-up: the store leaves its lock file
    if (lossy && changes)
        check.expect(fileBytes(aside) == input, "a damaged file was not set aside whole");
    else
        check.expect(!QFileInfo::exists(aside), "a file was set aside that the rewrite keeps whole");
    return check.result();
}

// ---- ASX play lists ---------------------------------------------------------

std::string asxPlayList(const QByteArray& input)
{
    Checks check;
    const QStringList paths = AsxPlayList::paths(input);
    check.expect(AsxPlayList::paths(AsxPlayList::text(paths)) == paths,
                 "a play list saved with the paths read gives other paths");

    const ScratchUse scratch;
    const QString file = scratch->write("in.asx", input);
    check.expect(AsxPlayList::read(file) == paths, "reading the file gives other paths than its text");
    // (Compared as bytes: a read reserves room for the largest play list, which
    // costs the sanitizers more than the rest of the input together.)
    check.expect(AsxPlayList::write(file, paths) && fileBytes(file) == AsxPlayList::text(paths),
                 "the play list saved over the file holds other bytes");
    return check.result();
}

// ---- Music files ------------------------------------------------------------

std::string wavMusic(const QByteArray& input)
{
    Checks check;
    const ScratchUse scratch;
    const QString file = scratch->write("in.wav", input);
    const MusicCheckResult r = WavMusicCheck::check(file);
    check.expect(r.verdict != MusicCheckResult::Verdict::Unreadable,
                 "a readable file was taken for unreadable", r.message);
    if (r.admitted()) {
        const MusicEntry& e = r.entry;
        const qint64 examined = std::min<qint64>(input.size(), WavMusicCheck::kBytesExamined);
        check.expect(e.dataPosition >= 1 && e.dataPosition + 3 <= examined
                         && input.mid(e.dataPosition - 1, 4) == "data",
                     "the data position is not a \"data\" tag in the bytes examined");
        // The data chunk's size, no more than the file holds after the chunk's header.
        const qint64 held = std::max<qint64>(0, input.size() - e.firstSampleOffset());
        const qint64 declared =
            held > 0 ? qFromLittleEndian<quint32>(input.constData() + e.dataPosition + 3) : 0;
        check.expect(e.path == file && e.rate == 176400 && e.dataBytes == std::min(declared, held)
                         && e.seconds == std::floor(double(e.dataBytes) / 176400),
                     "the entry is not measured from the file");
    } else {
        check.expect(!r.message.isEmpty(), "a rejection says nothing");
    }
    check.expect(fileBytes(file) == input, "the check changed the file");
    return check.result();
}

std::string mp3Music(const QByteArray& input)
{
    Checks check;
    const ScratchUse scratch;
    const QString file = scratch->write("in.mp3", input);
    qint64 steps = 0;
    const MusicCheckResult r = Mp3MusicCheck::check(file, [&steps] { ++steps; });
    check.expect(r.verdict != MusicCheckResult::Verdict::Unreadable,
                 "a readable file was taken for unreadable", r.message);
    if (r.admitted()) {
        const MusicEntry& e = r.entry;
        check.expect(e.dataPosition >= 1 && e.dataPosition <= input.size(),
                     "the first frame lies outside the file");
        const QByteArray first = input.mid(e.dataPosition - 1, 3);
        check.expect(first == e.frameHeader || first == e.paddedFrameHeader,
                     "the first frame does not carry the recorded header");
        check.expect(e.frameCount >= 0 && e.frameCount <= steps
                         && qint64(e.frameCount) * e.frameSize <= input.size() - e.dataPosition + 1,
                     "more frames were counted than the file holds");
        check.expect(e.seconds == static_cast<float>(e.frameCount * 0.026),
                     "the seconds are not the frames'");
        // The same walk over the bytes in memory counts the same frames.
        if (first.size() == 3) {
            QBuffer buffer;
            buffer.setData(input);
            buffer.open(QIODevice::ReadOnly);
            const auto walk = Mp3FrameWalk::walk(buffer, e.dataPosition,
                                                 Mp3FrameFormat::fromHeader(first[0], first[1], first[2]),
                                                 Mp3FrameWalk::Match::WholeHeader);
            check.expect(walk.ok && walk.frames == e.frameCount,
                         "a walk over the same bytes counts other frames");
        }
    } else {
        check.expect(!r.message.isEmpty(), "a rejection says nothing");
    }
    const qint64 offset = Mp3MusicCheck::id3AudioOffset(file);
    check.expect(offset == 0 || (input.startsWith("ID3") && offset >= 10),
                 "an ID3 offset for a file without a whole ID3 header");
    check.expect(fileBytes(file) == input, "the check changed the file");
    return check.result();
}

/// The way into the decoders for decode and Verify: a file is read by our own
/// reader, refused by our header check, or handed to the decoder (here a stand-in
/// that records it was asked; the real one runs in the decoding helper).
/// The conversion of music the check turns down, all but the decoder: our
/// header check decides whether the decoder is asked; what it gives (here a
/// stand-in that hands the input's bytes on as float pairs, NaN, infinities and
/// huge values included) becomes a WAV or MP3 copy in the cache that the check
/// admits, found again by a second conversion, or the conversion fails and
/// leaves nothing in the cache. The first byte picks the target and the name.
std::string musicConvert(const QByteArray& input)
{
    Checks check;
    const ScratchUse scratch;
    if (input.isEmpty())
        return {};
    const auto choice = static_cast<unsigned char>(input.at(0));
    const int rates[] = {64, 96, 128, 320};
    const MusicTarget target{choice & 1 ? WorkoutFileType::Mp3 : WorkoutFileType::Wav,
                             rates[(choice >> 1) & 3]};
    const QString file = scratch->write(choice & 8 ? "in.wav" : "in.ogg", input.mid(1));
    const QString cache = scratch->path("cache");
    // No more than two seconds of sound, given in pieces of up to 4,096 pairs.
    const qsizetype pairs = std::min<qsizetype>((input.size() - 1) / 8, 2 * 44100);
    bool decoderAsked = false;
    const MusicConversion conversion(cache,
                                     [&](const QString&, const MusicConversion::Sink& sink, QString* error,
                                         const MusicConversion::Progress& progress) {
                                         decoderAsked = true;
                                         std::vector<float> samples(static_cast<size_t>(2 * pairs));
                                         if (pairs > 0)
                                             std::memcpy(samples.data(), input.constData() + 1,
                                                         samples.size() * sizeof(float));
                                         for (qsizetype done = 0; done < pairs;) {
                                             const qsizetype n = std::min<qsizetype>(4096, pairs - done);
                                             if (!sink(samples.data() + 2 * done, n))
                                                 return true;
                                             done += n;
                                             progress(static_cast<int>(done * 100 / pairs));
                                         }
                                         if (choice & 16) {
                                             *error = QStringLiteral("the stand-in gives up");
                                             return false;
                                         }
                                         return true;
                                     });
    const std::atomic_bool cancel = false;
    const MusicConversion::Result first = conversion.convert(file, target, {}, cancel);
    check.expect(!decoderAsked || !MusicEntryCheck::problem(file),
                 "the decoder was given a file the check refuses");
    const QStringList left = QDir(cache).entryList(QDir::Files | QDir::Hidden);
    if (first.outcome != MusicConversion::Outcome::Converted) {
        check.expect(first.outcome == MusicConversion::Outcome::Failed,
                     "a conversion nobody cancelled was cancelled");
        check.expect(first.message.startsWith(file + QStringLiteral(" could not be read as audio: ")),
                     "a failed conversion does not say why", first.message);
        check.expect(left.isEmpty(), "a failed conversion left a file in the cache", left.join(' '));
        return check.result();
    }
    check.expect(decoderAsked && pairs > 0, "a conversion succeeded without sound");
    check.expect(left.size() == 1 && first.entry.path == conversion.copyPath(file, target),
                 "the cache holds other than the one copy", left.join(' '));
    check.expect(first.entry.source == file, "the copy does not name its source");
    if (target.type == WorkoutFileType::Wav)
        check.expect(first.entry.dataBytes == 4 * pairs, "the WAV copy does not hold every pair");
    else
        check.expect(first.entry.bitRate == target.bitRate, "the MP3 copy has another bit rate");
    decoderAsked = false;
    const MusicConversion::Result again = conversion.convert(file, target, {}, cancel);
    check.expect(again.outcome == MusicConversion::Outcome::Converted && again.fromCache && !decoderAsked,
                 "a second conversion did not take the copy in the cache");
    return check.result();
}

std::string audioRead(const QByteArray& input)
{
    Checks check;
    const ScratchUse scratch;
    const QString file = scratch->write("in.wav", input);
    bool decoderAsked = false;
    std::vector<float> samples;
    QString error;
    const bool read = MonoAudioReader::read(
        file,
        [&samples](const float* s, qsizetype n) {
            samples.insert(samples.end(), s, s + n);
            return true;
        },
        &error, {},
        [&decoderAsked](const QString&, const MonoAudioReader::Sink&, QString* why,
                        const MonoAudioReader::Progress&) {
            decoderAsked = true;
            *why = QStringLiteral("not decoded here");
            return false;
        });
    check.expect(read != !error.isEmpty(), "a read failed without a reason, or succeeded with one", error);

    const std::optional<WavImage> image = WavImage::parse(input);
    if (decoderAsked) {
        check.expect(!MusicEntryCheck::problem(file), "the decoder was given a file the check refuses");
        // A plain header whose format chunk comes first says what the decoder would be told.
        if (input.size() >= 36 && input.startsWith("RIFF") && input.mid(8, 8) == "WAVEfmt ") {
            const int channels = qFromLittleEndian<quint16>(input.constData() + 22);
            const qint64 rate = qFromLittleEndian<quint32>(input.constData() + 24);
            check.expect(channels >= 1 && channels <= 8 && rate >= 8000 && rate <= 192000,
                         "the decoder was given a header outside 1-8 channels and 8,000-192,000 Hz");
        }
    } else if (read) {
        // What our own reader takes is 16-bit PCM at 44.1 kHz, which the WAV image reader agrees with.
        check.expect(image && image->sampleRate == MonoAudioReader::kSampleRate && image->bitsPerSample == 16
                         && image->channels <= 2,
                     "our reader took a file that is no 16-bit 44.1 kHz PCM WAV file");
        if (image && image->bitsPerSample == 16 && qint64(samples.size()) == image->frames()) {
            for (qint64 i = 0; i < image->frames(); ++i) {
                float sum = 0;
                for (int c = 0; c < image->channels; ++c)
                    sum +=
                        qFromLittleEndian<qint16>(image->samples.constData() + 2 * (i * image->channels + c));
                if (samples[size_t(i)] != sum / (32768.0f * float(image->channels))) {
                    check.expect(false, "a sample read differs from the file's");
                    break;
                }
            }
        } else {
            check.expect(false, "our reader read another number of samples than the file holds");
        }
    } else {
        check.expect(samples.empty(), "a refused file gave samples");
    }
    check.expect(fileBytes(file) == input, "reading changed the file");
    return check.result();
}

/// Input: three header bytes that name the frame format, a signed 16-bit start
/// position, a byte whose lowest bit picks the match, then the data walked.
std::string mp3FrameWalk(const QByteArray& input)
{
    Checks check;
    if (input.size() < 6)
        return {};
    const Mp3FrameFormat format = Mp3FrameFormat::fromHeader(input[0], input[1], input[2]);
    const qint64 start =
        static_cast<qint16>(static_cast<unsigned char>(input[3]) << 8 | static_cast<unsigned char>(input[4]));
    const auto match = (input[5] & 1) ? Mp3FrameWalk::Match::ThirdByte : Mp3FrameWalk::Match::WholeHeader;
    const QByteArray data = input.mid(6);

    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    qint64 steps = 0;
    const Mp3FrameWalk::Result r = Mp3FrameWalk::walk(buffer, start, format, match, [&steps] { ++steps; });
    check.expect(r.frames >= 0 && r.frames <= steps, "frames were counted without a step");
    check.expect(r.frames * std::min(format.frameSize, format.paddedFrameSize) <= data.size(),
                 "more frames were counted than the data holds");
    if (r.ok) {
        // The end of the data, an ID3v1 tag, or a frame (or its header) cut short by the end.
        const QByteArray there = data.mid(r.position - 1, 3);
        const bool tagEnd = there == "TAG";
        const bool cutShort = (there.size() < 3 && !there.isEmpty()
                               && (format.header.startsWith(there) || format.paddedHeader.startsWith(there)))
            || (there.size() == 3
                && (match == Mp3FrameWalk::Match::WholeHeader ? there == format.header
                                                              : there[2] == format.header[2])
                && r.position - 1 + format.frameSize > data.size())
            || (there.size() == 3
                && (match == Mp3FrameWalk::Match::WholeHeader ? there == format.paddedHeader
                                                              : there[2] == format.paddedHeader[2])
                && r.position - 1 + format.paddedFrameSize > data.size());
        check.expect(r.position >= start && (r.position > data.size() || tagEnd || cutShort),
                     "a walk succeeded before the end of the frames");
    } else {
        check.expect(r.found.size() <= 3 && (start < 1 || r.position >= start),
                     "a failed walk reports a place before its start or more than a header");
    }
    if (match == Mp3FrameWalk::Match::ThirdByte) {
        // Counting the frames of a file of those bytes agrees with the walk.
        const ScratchUse scratch;
        const QString file = scratch->write("in.mp3", data);
        qint64 position = start;
        QString message;
        const qint64 frames = Mp3FrameWalk::countFrames(file, position, format, &message);
        check.expect(frames == (r.ok ? r.frames : -1) && position == r.position && message.isEmpty() == r.ok,
                     "counting a file's frames disagrees with the walk over its bytes");
    }
    return check.result();
}

/// Music frames passed across splices. Input: records of a control byte (bit 0:
/// the frame is its file's first; bit 1: a splice before it), a 16-bit length
/// and that many bytes of frame. Every frame comes out as itself or as a silent
/// frame of its length, and no frame passes as itself that reaches for more
/// main data than the frames given out since the last splice carry.
std::string mp3Splice(const QByteArray& input)
{
    Checks check;
    Mp3Splice splice;
    qint64 carried = 0; // main-data bytes given out since the last splice
    qint64 replaced = 0;
    for (qsizetype at = 0; at + 3 <= input.size();) {
        const auto control = static_cast<unsigned char>(input[at]);
        const qsizetype length =
            static_cast<unsigned char>(input[at + 1]) << 8 | static_cast<unsigned char>(input[at + 2]);
        const QByteArray frame = input.mid(at + 3, length);
        at += 3 + frame.size();
        if (control & 2) {
            splice.restart();
            carried = 0;
        }
        const bool first = control & 1;
        if (first)
            carried = 0;
        const std::optional<Mp3Splice::SideInfo> side = Mp3Splice::sideInfo(frame);
        if (side)
            check.expect(side->offset + side->size + side->mainDataBytes == frame.size()
                             && side->mainDataBegin >= 0 && side->mainDataBegin < 512,
                         "side information outside the frame");
        Mp3Splice::isInfoFrame(frame);
        const QByteArrayView out = splice.pass(frame, first);
        check.expect(out.size() == frame.size(), "a frame came out of another length");
        if (frame.isEmpty() || out.data() == frame.constData()) {
            // Only an MPEG-1 frame long enough for a silent frame can be replaced.
            if (side && (static_cast<unsigned char>(frame[1]) & 0x18) == 0x18
                && !Mp3Splice::silentFrame(frame[2], frame.size()).isEmpty())
                check.expect(side->mainDataBegin <= carried, "a frame reaches back past the splice");
        } else {
            ++replaced;
            // The silent frame's header and side information; its main data is its own business.
            const QByteArray silent = Mp3Splice::silentFrame(frame[2], frame.size());
            check.expect(!silent.isEmpty() && out.toByteArray().left(36) == silent.left(36),
                         "a stand-in is not a silent frame");
        }
        if (const std::optional<Mp3Splice::SideInfo> given = Mp3Splice::sideInfo(out))
            carried += given->mainDataBytes;
        else
            carried = 0;
    }
    check.expect(splice.replaced() == replaced, "the frames replaced are miscounted");
    return check.result();
}

/// The tone decoder on arbitrary 16-bit PCM: what it finds does not depend on
/// the size of the pieces the audio comes in, and every command it reports is
/// one it could have read (in time order, values of 16 bits, the check as stated).
std::string toneDecoder(const QByteArray& input)
{
    Checks check;
    if (input.isEmpty())
        return {};
    // The first byte chooses the size of the pieces; the rest is the audio.
    const qsizetype piece = 1 + static_cast<unsigned char>(input.at(0)) * 37;
    std::vector<float> samples;
    for (qsizetype i = 1; i + 1 < input.size(); i += 2) {
        const auto sample = static_cast<qint16>(static_cast<unsigned char>(input.at(i))
                                                | (static_cast<unsigned char>(input.at(i + 1)) << 8));
        samples.push_back(sample / 32768.0F);
    }
    const std::vector<DecodedCommand> whole =
        ToneDecoder::decode(samples.data(), static_cast<qsizetype>(samples.size()));
    ToneDecoder pieces;
    for (qsizetype at = 0; at < static_cast<qsizetype>(samples.size()); at += piece)
        pieces.feed(samples.data() + at, std::min(piece, static_cast<qsizetype>(samples.size()) - at));
    pieces.finish();

    check.expect(pieces.commands().size() == whole.size(), "the pieces gave other commands than the whole");
    double last = -1;
    for (size_t k = 0; k < whole.size(); ++k) {
        const DecodedCommand& c = whole[k];
        check.expect(c.seconds >= last && c.seconds * 44100 <= double(samples.size()),
                     "a command out of time");
        last = c.seconds;
        check.expect(c.first >= 0 && c.first < 65536 && c.second >= 0 && c.second < 65536,
                     "a value of more than 16 bits");
        check.expect(c.checkHolds == (c.check == ((c.first + c.second) & 0xFF)), "the check flag disagrees");
        check.expect(c.beeps == 1 || c.beeps == 2, "a command played neither once nor twice");
        if (k < pieces.commands().size()) {
            const DecodedCommand& p = pieces.commands()[k];
            check.expect(p.first == c.first && p.second == c.second && p.check == c.check
                             && std::abs(p.seconds - c.seconds) < 1e-6,
                         "the pieces read a command otherwise than the whole");
        }
    }
    return check.result();
}

std::string chapterMarks(const QByteArray& input)
{
    Checks check;
    QBuffer buffer;
    buffer.setData(input);
    buffer.open(QIODevice::ReadOnly);
    const std::vector<ChapterMark> marks = ChapterMarks::read(buffer);
    check.expect(marks.size() <= static_cast<size_t>(ChapterMarks::kMaxChapters), "too many chapters");
    double last = 0;
    for (const ChapterMark& mark : marks) {
        check.expect(std::isfinite(mark.seconds) && mark.seconds >= last, "a chapter out of order");
        check.expect(mark.title.size() <= input.size(), "a title longer than the input");
        last = mark.seconds;
    }
    return check.result();
}

} // namespace

const std::vector<Target>& targets()
{
    static const std::vector<Target> all = {
        {"workout_text", &workoutText},    {"user_file", &userFile},         {"settings_file", &settingsFile},
        {"asx_playlist", &asxPlayList},    {"wav_music", &wavMusic},         {"mp3_music", &mp3Music},
        {"mp3_frame_walk", &mp3FrameWalk}, {"mp3_splice", &mp3Splice},       {"tone_decoder", &toneDecoder},
        {"audio_read", &audioRead},        {"workout_table", &workoutTable}, {"chapter_marks", &chapterMarks},
        {"music_convert", &musicConvert},
    };
    return all;
}

Harness harness(const char* name)
{
    for (const Target& t : targets())
        if (std::strcmp(t.name, name) == 0)
            return t.run;
    return nullptr;
}

} // namespace kntr::fuzz
