#pragma once

#include <QString>

namespace kntr {

class CdDevice;
class MessageBoxes;

/// The code and message of the last CD device command sent through SendMci.
struct MciResult {
    int code = 0;
    QString message;
};

/// Sends CD device commands whose failure the user may need to see.
class MciCommands {
public:
    MciCommands(CdDevice& device, MessageBoxes& boxes);

    /// Sends one command string and keeps its code as the last result. True when
    /// the code is 0. On failure with showError, the code's text is shown in a
    /// message box with an OK button.
    bool SendMci(const QString& command, bool showError);

    const MciResult& lastResult() const { return mLast; }

private:
    CdDevice& mDevice;
    MessageBoxes& mBoxes;
    MciResult mLast;
};

} // namespace kntr
