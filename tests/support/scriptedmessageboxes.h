#pragma once

#include "platform/messageboxes.h"

#include <deque>
#include <vector>

namespace kntr {

/// Message boxes for tests: records every box shown and answers from a script.
/// With the script used up it answers Ok, Yes or Retry, whichever the box offers first.
class ScriptedMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        QString text;
        Icon icon;
        Buttons buttons;
        QString title;
    };

    void script(Answer answer) { mScript.push_back(answer); }

    Answer show(const QString& text, Icon icon, Buttons buttons, const QString& title) override
    {
        mShown.push_back({text, icon, buttons, title});
        if (!mScript.empty()) {
            const Answer a = mScript.front();
            mScript.pop_front();
            return a;
        }
        switch (buttons) {
        case Buttons::Ok:
        case Buttons::OkCancel:
            return Answer::Ok;
        case Buttons::YesNo:
        case Buttons::YesNoCancel:
            return Answer::Yes;
        case Buttons::RetryCancel:
            return Answer::Retry;
        }
        return Answer::Ok;
    }

    const std::vector<Shown>& shown() const { return mShown; }
    void clear() { mShown.clear(); }

private:
    std::deque<Answer> mScript;
    std::vector<Shown> mShown;
};

} // namespace kntr
