#pragma once

#include "filedialogs.h"

#include <deque>
#include <vector>

namespace kntr {

/// File dialogs for tests: records each request and answers from a script;
/// with the script used up the dialog is cancelled.
class ScriptedFileDialogs : public FileDialogs
{
public:
    void script(std::optional<QString> answer) { mScript.push_back(std::move(answer)); }

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
        auto a = mScript.front();
        mScript.pop_front();
        return a;
    }

    std::deque<std::optional<QString>> mScript;
    std::vector<FileDialogRequest> mRequests;
};

} // namespace kntr
