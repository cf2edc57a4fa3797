// Every window can be used without a mouse: Tab reaches each enabled control.

#include "builder/ui/recordingpreferenceswindow.h"
#include "builder/ui/workoutfilewindow.h"
#include "builder/wavworkoutwriter.h"
#include "builder/workoutfilemodel.h"
#include "editor/ui/mainwindow.h"
#include "generator/randomworkoutmodel.h"
#include "generator/ui/randomworkoutwindow.h"
#include "machine/machineselectionmodel.h"
#include "machine/ui/machineselectionwindow.h"
#include "model/runoptions.h"
#include "model/session.h"
#include "platform/apppaths.h"
#include "platform/memorysettingsstore.h"
#include "runner/playlistmodel.h"
#include "runner/ui/playlistwindow.h"
#include "runner/ui/volumewindow.h"

#include "../generator/generatorbench.h"
#include "../runner/volumerig.h"
#include "manualclock.h"
#include "recordingworkoutview.h"
#include "scriptedfiledialogs.h"
#include "scriptedmessageboxes.h"
#include "testenv.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>

using namespace kntr;

namespace {

/// A control the user works with, as opposed to the parts Qt builds inside one
/// (a combo box's list, a list's own scroll bars).
bool isInputControl(QWidget* w)
{
    if (!qobject_cast<QAbstractButton*>(w) && !qobject_cast<QLineEdit*>(w)
        && !qobject_cast<QAbstractSlider*>(w) && !qobject_cast<QComboBox*>(w)
        && !qobject_cast<QAbstractSpinBox*>(w) && !qobject_cast<QAbstractItemView*>(w))
        return false;
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<QComboBox*>(p) || qobject_cast<QAbstractScrollArea*>(p)
            || qobject_cast<QAbstractSpinBox*>(p))
            return false;
    return true;
}

/// The enabled, visible controls of window that Tab never reaches. A radio
/// button counts as reached when one of its exclusive group is: the arrow keys
/// move within the group.
QStringList unreachedControls(QWidget& window)
{
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    std::set<QWidget*> reached;
    if (!window.focusWidget()) {
        QWidget* first = window.nextInFocusChain();
        while (first != &window
               && !((first->focusPolicy() & Qt::TabFocus) && first->isVisible() && first->isEnabled()))
            first = first->nextInFocusChain();
        first->setFocus(Qt::TabFocusReason);
    }
    for (int i = 0; i < 300; ++i) {
        QWidget* focused = window.focusWidget();
        if (!focused)
            break;
        reached.insert(focused);
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    QStringList missing;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window) || !w->isEnabled() || !isInputControl(w) || reached.count(w))
            continue;
        if (auto* radio = qobject_cast<QRadioButton*>(w)) {
            const auto siblings =
                radio->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
            if (std::any_of(siblings.begin(), siblings.end(),
                            [&](QRadioButton* r) { return reached.count(r); }))
                continue;
        }
        missing << (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                              : w->objectName());
    }
    return missing;
}

/// One window with everything it needs.
struct Rig {
    virtual ~Rig() = default;
    virtual QWidget& window() = 0;
};

template<typename Parts, typename Window> struct RigOf : Rig {
    template<typename Make>
    explicit RigOf(Make make)
        : window_(make(parts))
    {
    }
    QWidget& window() override { return *window_; }
    Parts parts;
    std::unique_ptr<Window> window_;
};

struct MainParts {
    Session session;
    MemorySettingsStore settings;
    AppPaths paths{QStringLiteral(KNTR_DATA_DIR), QStringLiteral("/tmp/kinetrova-keyboard")};
    ScriptedMessageBoxes messages;
    ManualClock clock;
    RunOptions options{settings};
};

struct GeneratorParts {
    test::GeneratorBench bench{test::MachineRanges{5, 100, 5, 0, 150, 5}};
    RandomWorkoutModel form{bench.session, bench.settings, bench.clock,
                            [this](const Workout& w) { return bench.useWorkout(w); }};
};

struct MachineParts {
    Session session;
    MemorySettingsStore settings;
    RecordingWorkoutView view;
    ScriptedMessageBoxes messages;
    MachineSelectionModel model{session, settings, view, messages};
};

struct BuilderParts {
    MemorySettingsStore settings;
    ScriptedFileDialogs dialogs;
    ScriptedMessageBoxes messages;
    ManualClock clock;
    Machine machine;
    Workout workout;
    WavWorkoutWriter writer{QStringLiteral(KNTR_DATA_DIR "/voicecue")};
    WorkoutFileModel model{
        WorkoutFileType::Wav, workout, machine, settings, dialogs, messages, clock, &writer};
};

struct PlayListParts {
    MemorySettingsStore settings;
    ScriptedFileDialogs dialogs;
    ScriptedMessageBoxes messages;
    PlayListModel model{settings, dialogs, messages};
};

struct SettingsParts {
    MemorySettingsStore settings;
};

struct WindowCase {
    const char* name;
    std::function<std::unique_ptr<Rig>()> make;
};

} // namespace

TEST(Keyboard, TabReachesEveryControlOfEveryWindow)
{
    test::ScopedXdgHome home;
    const WindowCase cases[] = {
        {"main window",
         [] {
             return std::make_unique<RigOf<MainParts, MainWindow>>([](MainParts& p) {
                 auto w = std::make_unique<MainWindow>(p.session, p.settings, p.paths, p.messages, p.clock,
                                                       p.options);
                 w->startUp({QStringLiteral("kinetrova")});
                 return w;
             });
         }},
        {"random workout",
         [] {
             return std::make_unique<RigOf<GeneratorParts, RandomWorkoutWindow>>(
                 [](GeneratorParts& p) { return std::make_unique<RandomWorkoutWindow>(p.form); });
         }},
        {"machine selection",
         [] {
             return std::make_unique<RigOf<MachineParts, MachineSelectionWindow>>(
                 [](MachineParts& p) { return std::make_unique<MachineSelectionWindow>(p.model); });
         }},
        {"workout file builder",
         [] {
             return std::make_unique<RigOf<BuilderParts, WorkoutFileWindow>>([](BuilderParts& p) {
                 return std::make_unique<WorkoutFileWindow>(p.model, p.settings, p.messages);
             });
         }},
        {"recording preferences",
         [] {
             return std::make_unique<RigOf<SettingsParts, RecordingPreferencesWindow>>(
                 [](SettingsParts& p) { return std::make_unique<RecordingPreferencesWindow>(p.settings); });
         }},
        {"volume",
         [] {
             return std::make_unique<RigOf<test::VolumeRig, VolumeWindow>>(
                 [](test::VolumeRig& p) { return std::make_unique<VolumeWindow>(p.levels); });
         }},
        {"play list",
         [] {
             return std::make_unique<RigOf<PlayListParts, PlayListWindow>>(
                 [](PlayListParts& p) { return std::make_unique<PlayListWindow>(p.model); });
         }},
    };
    for (const WindowCase& c : cases) {
        const std::unique_ptr<Rig> rig = c.make();
        EXPECT_EQ(unreachedControls(rig->window()), QStringList()) << c.name;
        rig->window().hide();
    }
}
