#pragma once

namespace kntr {

/// The listening levels of a live run: just before each kind of sound the
/// master volume goes to that kind's level, and afterwards back to the main one.
/// The volume window keeps the levels; the run engine switches between them.
class LevelSwitch
{
public:
    virtual ~LevelSwitch() = default;

    /// Back to the main level.
    virtual void hscVolMain_Change() = 0;
    /// The control-tone level.
    virtual void hscVolAW_Change() = 0;
    /// The music level.
    virtual void hscVolCD_Change() = 0;
    /// The voice-cue level.
    virtual void hscVolCue_Change() = 0;

    /// A live run begins (true) or has ended (false).
    virtual void setRunMode(bool) {}
};

} // namespace kntr
