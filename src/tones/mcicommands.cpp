#include "mcicommands.h"

#include "platform/cddevice.h"
#include "platform/messageboxes.h"

namespace kntr {

MciCommands::MciCommands(CdDevice& device, MessageBoxes& boxes)
    : mDevice(device)
    , mBoxes(boxes)
{
}

bool MciCommands::SendMci(const QString& command, bool showError)
{
    mLast.code = mDevice.sendCommand(command);
    mLast.message.clear();
    if (mLast.code == CdDevice::kOk)
        return true;
    mLast.message = CdDevice::errorText(mLast.code);
    if (showError)
        mBoxes.show(mLast.message, MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
    return false;
}

} // namespace kntr
