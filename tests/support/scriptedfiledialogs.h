#pragma once

#include "platform/filedialogs.h"

#include <deque>
#include <utility>
#include <vector>

namespace kntr {

/// File dialogs for tests: records each request and answers from a script;
/// with the script used up the dialog is cancelled.
class ScriptedFileDialogs : public FileDialogs {
public:
    /// The next dialog chooses path.
    void script(const QString& path) { mScript.push_back({true, path}); }
    /// The next dialog is cancelled.
    void scriptCancel() { mScript.push_back({false, QString()}); }

    std::optional<QString> getOpenFileName(const FileDialogRequest& request) override
    {
        return answer(request);
    }
    std::optional<QString> getSaveFileName(const FileDialogRequest& request) override
    {
        return answer(request);
    }

    const std::vector<FileDialogRequest>& requests() const { return mRequests; }

private:
    std::optional<QString> answer(const FileDialogRequest& request)
    {
        mRequests.push_back(request);
        if (mScript.empty())
            return std::nullopt;
        const auto [chosen, path] = mScript.front();
        mScript.pop_front();
        if (!chosen)
            return std::nullopt;
        return path;
    }

    std::deque<std::pair<bool, QString>> mScript;
    std::vector<FileDialogRequest> mRequests;
};

} // namespace kntr
