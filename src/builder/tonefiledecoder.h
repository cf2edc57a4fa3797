#pragma once

#include "tones/decodedcommand.h"

#include <QString>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

namespace kntr {

/// Reads the control-tone commands out of a WAV or MP3 file.
class ToneFileDecoder {
public:
    /// The share of the file read so far, 0 to 100.
    using Progress = std::function<void(int percent)>;

    /// The commands in the file, in order. Nothing when the file cannot be read
    /// or decoded (error says why) or when cancel was set (error then empty).
    static std::optional<std::vector<DecodedCommand>> decode(const QString& path, QString* error = nullptr,
                                                             const Progress& progress = {},
                                                             const std::atomic_bool* cancel = nullptr);
};

} // namespace kntr
