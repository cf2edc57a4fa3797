#pragma once

#include <QString>

#include <optional>

namespace kntr {

/// The CD audio device "cdaudio", driven by command strings:
///   "status cdaudio media present"   answer "true" when a playable disc is in, else "false"
///   "play cdaudio"                   play on from the current position
///   "play cdaudio from POSITION"     POSITION is mm:ss:ff (or mm:ss, mm), or a number of milliseconds
///   "pause cdaudio"                  stop playing, keeping the position
///   "status cdaudio position"        answer the position as mm:ss:ff, two digits each
///   "stop cdaudio", "close cdaudio", "close all"
/// Every command returns a code, 0 for success; errorText() describes the others.
/// Positions are disc addresses at 75 frames a second (the first track usually
/// starts at 00:02:00).
class CdDevice {
public:
    enum Code {
        kOk = 0,
        kUnknownDevice = 263,
        kNoDrive = 266,
        kUnknownCommand = 261,
        kUnknownKeyword = 259,
        kHardwareError = 262,
        kNoDisc = 276,
        kBadPosition = 282,
    };
    static constexpr int kFramesPerSecond = 75;

    virtual ~CdDevice() = default;

    /// Sends one command; status commands put their answer in *answer (emptied otherwise).
    virtual int sendCommand(const QString& command, QString* answer = nullptr);

    /// The text describing a code.
    static QString errorText(int code);

    /// "mm:ss:ff" for a disc address in frames.
    static QString formatPosition(int frames);
    /// A disc address in frames from "mm:ss:ff", "mm:ss", "mm" or a number of milliseconds.
    static std::optional<int> parsePosition(const QString& text);

protected:
    /// Whether a disc with at least one audio track is in the drive.
    virtual int mediaPresent(bool& present) = 0;
    /// Plays from the address given, or on from the current position.
    virtual int play(std::optional<int> fromFrame) = 0;
    virtual int pause() = 0;
    virtual int position(int& frame) = 0;
    virtual int stop() = 0;
    /// Releases the drive; the next command opens it again.
    virtual int close() = 0;
};

} // namespace kntr
