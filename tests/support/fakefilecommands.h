#pragma once

#include "editor/equipmentselection.h"
#include "editor/filecommands.h"
#include "model/session.h"
#include "platform/settingsstore.h"

namespace kntr {

/// The file controller as the window sees it: records calls, answers from fields.
class FakeFileCommands : public FileCommands {
public:
    explicit FakeFileCommands(Session& session)
        : mSession(session)
    {
    }

    UserFileStart openUserFileAtStart(const QString& path) override
    {
        userFilesOpened << path;
        if (userFileLoads)
            mSession.userFile = path;
        if (!userFileLoads)
            return UserFileStart::NotRead;
        return userWorkoutLoads ? UserFileStart::Read : UserFileStart::ReadWithoutWorkout;
    }
    bool openLastWorkout(const QString& path) override
    {
        lastWorkoutsOpened << path;
        return lastWorkoutLoads;
    }
    void registerUserFileType() override { ++registrations; }
    bool offerToSave() override
    {
        calls << "offerToSave";
        return mayReplace;
    }
    void openWorkout() override { calls << "openWorkout"; }
    bool saveWorkout() override
    {
        calls << "saveWorkout";
        return saveSucceeds;
    }
    bool saveWorkoutAs() override
    {
        calls << "saveWorkoutAs";
        return saveSucceeds;
    }
    void importTable() override { calls << "importTable"; }
    void exportTable() override { calls << "exportTable"; }
    void openUser() override { calls << "openUser"; }
    void saveUser() override { calls << "saveUser"; }
    void saveUserAs() override { calls << "saveUserAs"; }
    QStringList recentFileMenuTexts() const override
    {
        QStringList texts;
        for (int i = 0; i < recent.size(); ++i)
            texts << QStringLiteral("&%1 %2").arg(i + 1).arg(recent[i]);
        return texts;
    }
    void openRecentFile(int index) override { calls << QStringLiteral("openRecent%1").arg(index); }
    void reloadRecentFiles() override { recent.clear(); }

    QStringList userFilesOpened, lastWorkoutsOpened, calls, recent;
    bool userFileLoads = true;
    bool userWorkoutLoads = true;
    bool lastWorkoutLoads = false;
    bool saveSucceeds = true;
    bool mayReplace = true; ///< what offerToSave answers
    int registrations = 0;

private:
    Session& mSession;
};

/// The machine selection window as the main window sees it: loads the stored
/// profile, counts the rest.
class FakeMachineSelection : public EquipmentSelection {
public:
    explicit FakeMachineSelection(Session& s, SettingsStore& settings)
        : mSession(s)
        , mSettings(settings)
    {
    }
    void load() override
    {
        ++loads;
        mSession.machine.GetSettings(mSettings);
        mSession.machine.setMachineType(mSession.machine.MachineType());
    }
    void verifyWorkout() override { ++verifications; }
    void showSelection() override { ++shown; }

    int loads = 0, verifications = 0, shown = 0;

private:
    Session& mSession;
    SettingsStore& mSettings;
};

} // namespace kntr
