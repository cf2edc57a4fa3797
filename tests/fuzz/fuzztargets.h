#pragma once

#include <QByteArray>

#include <string>
#include <vector>

namespace kntr::fuzz {

/// Feeds one input of arbitrary bytes to a reader of outside files, the way the
/// program meets such a file, and checks what the reader made of it. Returns an
/// empty string when the reader behaved, else what it did wrong. A crash, a
/// leak or a read out of bounds shows itself under the sanitizers instead.
using Harness = std::string (*)(const QByteArray& input);

struct Target {
    const char* name; ///< also the name of its corpus folder and of its fuzzer
    Harness run;
};

/// Every reader: workout_text, user_file, settings_file, asx_playlist,
/// wav_music, mp3_music, mp3_frame_walk, mp3_splice, tone_decoder, audio_read,
/// workout_table, chapter_marks, music_convert.
const std::vector<Target>& targets();

/// The harness of the named reader, or nullptr.
Harness harness(const char* name);

} // namespace kntr::fuzz
