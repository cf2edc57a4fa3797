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
    void script(const QString& path) { mScript.push_back({true, {path}}); }
    /// The next dialog chooses these files together (an open dialog taking several).
    void scriptMany(const QStringList& paths) { mScript.push_back({true, paths}); }
    /// The next dialog is cancelled.
    void scriptCancel() { mScript.push_back({false, {}}); }

    std::optional<QString> getOpenFileName(const FileDialogRequest& request) override
    {
        return first(answer(request));
    }
    std::optional<QStringList> getOpenFileNames(const FileDialogRequest& request) override
    {
        return answer(request);
    }
    std::optional<QString> getSaveFileName(const FileDialogRequest& request) override
    {
        return first(answer(request));
    }

    const std::vector<FileDialogRequest>& requests() const { return mRequests; }

private:
    static std::optional<QString> first(const std::optional<QStringList>& paths)
    {
        if (!paths)
            return std::nullopt;
        return paths->value(0);
    }

    std::optional<QStringList> answer(const FileDialogRequest& request)
    {
        mRequests.push_back(request);
        if (mScript.empty())
            return std::nullopt;
        const auto [chosen, paths] = mScript.front();
        mScript.pop_front();
        if (!chosen)
            return std::nullopt;
        return paths;
    }

    std::deque<std::pair<bool, QStringList>> mScript;
    std::vector<FileDialogRequest> mRequests;
};

} // namespace kntr
