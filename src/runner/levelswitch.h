#pragma once

namespace kntr {

/// The listening levels: the main one, and one for each kind of sound.
enum class SoundLevel { Main, Tone, Music, Voice };

/// The listening levels of a live run: just before each kind of sound the
/// master volume goes to that kind's level, and afterwards back to the main one.
/// The volume window keeps the levels; the run engine switches between them.
class LevelSwitch {
public:
    virtual ~LevelSwitch() = default;

    /// Puts the master volume at the level's value.
    virtual void useLevel(SoundLevel level) = 0;

    /// A live run begins (true) or has ended (false).
    virtual void setRunMode(bool) { }
};

} // namespace kntr
