#pragma once

#include "clicommand.h"

#include "builder/musicentry.h"
#include "builder/workoutfiletype.h"
#include "model/units.h"

#include <functional>
#include <vector>

namespace kntr {

struct RecordingPreferences;
class WorkoutFileWriter;

/// The arguments that the wav and mp3 commands share: the stored recording
/// preferences as the command line overrides them, and the music list.
class WorkoutFileArguments {
public:
    /// -o, --music, --playlist, --one-file-per-segment, --cues, --beeps, --units, --chapters.
    static std::vector<QCommandLineOption> options(WorkoutFileType type);

    /// Applies --one-file-per-segment, --chapters, --cues, --beeps and --units. Returns
    /// kCliOk, or kCliUsage after reporting a bad value.
    static int apply(const CliArguments& args, RecordingPreferences& preferences, Units& units);

    /// The music list: the entries of the --playlist file, then each --music
    /// file, every one admitted by the check of the file type. A play-list entry
    /// of another type or one the check turns down is passed over with a note on
    /// stderr, as the builder window passes it over; a --music file that is
    /// turned down, or a play list that cannot be read, fails the command.
    /// With --convert-music, what the check turns down (and the play list's
    /// other audio files) is converted instead (MusicConversion; MP3 copies at
    /// bitRate, or at the first file's when that needs no conversion), and a
    /// file that cannot be converted fails the command.
    /// Returns kCliOk or kCliFailed.
    static int music(const CliArguments& args, CliContext& context, WorkoutFileType type,
                     std::vector<MusicEntry>& music, int bitRate);

    /// A message box text as lines on a terminal.
    static QString asLines(QString text);

    /// What the wav and mp3 commands do alike: open the workout, take the stored
    /// preferences with the command line's changes (ownOptions applies the
    /// command's own options first), admit the music, write the file with
    /// writer and say what was written. Returns the command's exit status.
    static int build(const CliArguments& args, CliContext& context, const WorkoutFileWriter& writer,
                     const std::function<int(RecordingPreferences&)>& ownOptions);
};

} // namespace kntr
