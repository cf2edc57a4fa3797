// The machine selection window driven as a user drives it, offscreen.

#include "machine/ui/machineselectionwindow.h"
#include "model/session.h"
#include "model/workoutview.h"
#include "platform/memorysettingsstore.h"
#include "scriptedmessageboxes.h"
#include "testenv.h"
#include "recordingworkoutview.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace kntr;

namespace {

QApplication& app()
{
    static int argc = 1;
    static char name[] = "machine_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = new QApplication(argc, argv);
    return *instance;
}

class MachineDialogTest : public ::testing::Test {
protected:
    template<typename T> T* child(const char* name)
    {
        T* w = dialog.findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QStringList items(const char* name)
    {
        QStringList out;
        auto* box = child<QComboBox>(name);
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }
    /// Picks an entry the way a user does: the list's activation.
    void pick(const char* name, const QString& text)
    {
        auto* box = child<QComboBox>(name);
        const int i = box->findText(text);
        ASSERT_GE(i, 0) << name << " lacks " << text.toStdString();
        box->setCurrentIndex(i);
        emit box->activated(i);
    }

    QApplication& application = app(); // before any widget
    Session session;
    MemorySettingsStore settings;
    RecordingWorkoutView view;
    ScriptedMessageBoxes messages;
    MachineSelectionModel model{session, settings, view, messages};
    MachineSelectionWindow dialog{model};
};

TEST_F(MachineDialogTest, ControlsCarryTheirNamesCaptionsAndTooltips)
{
    model.load();
    EXPECT_EQ(dialog.objectName(), "frmMachine");
    EXPECT_EQ(dialog.windowTitle(), "Kinetrova - Machine");
    EXPECT_EQ(child<QGroupBox>("fraMachine")->title(), "Select Machine Type");
    EXPECT_EQ(child<QGroupBox>("Frame1")->title(), "Display");
    EXPECT_EQ(child<QRadioButton>("optUnits_0")->text(), "Miles/Pounds");
    EXPECT_EQ(child<QRadioButton>("optUnits_1")->text(), "Metric Units");
    EXPECT_EQ(child<QGroupBox>("fraSpeed")->title(), "Speed");
    EXPECT_EQ(child<QGroupBox>("fraIncline")->title(), "Incline");
    const QString tip = "Select minimum, maximum, and increment values that match your exercise equipment.";
    EXPECT_EQ(child<QGroupBox>("fraSpeed")->toolTip(), tip);
    EXPECT_EQ(child<QGroupBox>("fraIncline")->toolTip(), tip);
    EXPECT_EQ(child<QPushButton>("cmdOk")->text(), "&Save");
    EXPECT_EQ(child<QPushButton>("cmdCancel")->text(), "&Cancel");
    QStringList labels;
    for (QLabel* l : child<QGroupBox>("fraSpeed")->findChildren<QLabel*>())
        labels << l->text();
    EXPECT_EQ(labels, QStringList({"Minimum", "Maximum", "Increment"}));

    EXPECT_EQ(items("cmbMachineType"),
              QStringList({"Treadmill", "Incline trainer", "Elliptical", "Elliptical Type A", "Bike"}));
    EXPECT_EQ(child<QComboBox>("cmbSpeedInc")->currentText(), "0.1");
    EXPECT_EQ(child<QComboBox>("cmbInclineInc")->currentText(), "0.5");
    EXPECT_TRUE(child<QRadioButton>("optUnits_0")->isChecked());
}

TEST_F(MachineDialogTest, ChoosingMetricUnitsShowsKilometreSpeeds)
{
    dialog.show();
    QTest::mouseClick(child<QRadioButton>("optUnits_1"), Qt::LeftButton);
    EXPECT_EQ(model.unitOption(), 1);
    EXPECT_EQ(items("cmbSpeedMin"), QStringList({"1.61", "3.22", "4.83"}));
    EXPECT_EQ(child<QComboBox>("cmbSpeedMax")->currentText(), "16.1");
    pick("cmbSpeedMin", "3.22");

    QTest::mouseClick(child<QPushButton>("cmdOk"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings.GetSetting("Kinetrova", "Machine", "SpeedMin"), "20");
    EXPECT_EQ(settings.GetSetting("Kinetrova", "Options", "Units"), "Kilos");
}

TEST_F(MachineDialogTest, ABikeRenamesTheFrameAndSavingShowsTheCalorieNotice)
{
    dialog.show();
    pick("cmbMachineType", "Bike");
    EXPECT_EQ(child<QGroupBox>("fraIncline")->title(), "Resistance");
    EXPECT_EQ(items("cmbInclineMax"), QStringList({"5", "6", "10", "12", "25", "30"}));
    pick("cmbInclineMin", "10");
    EXPECT_EQ(child<QComboBox>("cmbInclineMax")->currentText(), "12") << "the guard moved it";

    QTest::mouseClick(child<QPushButton>("cmdOk"), Qt::LeftButton);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, MachineSelectionModel::kCalorieNotice);
    EXPECT_EQ(settings.GetSetting("Kinetrova", "Machine", "MachineType"), "Bike");
    EXPECT_EQ(settings.GetSetting("Kinetrova", "Machine", "InclineMax"), "120");
}

TEST_F(MachineDialogTest, CancelLeavesTheSettingsAndTheNextShowLoadsThem)
{
    dialog.show();
    pick("cmbMachineType", "Elliptical");
    QTest::mouseClick(child<QPushButton>("cmdCancel"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(settings.GetSetting("Kinetrova", "Machine", "MachineType").isEmpty());
    EXPECT_EQ(session.machine.MachineType(), "Treadmill");

    dialog.show();
    EXPECT_EQ(child<QComboBox>("cmbMachineType")->currentText(), "Treadmill");
    EXPECT_EQ(child<QGroupBox>("fraSpeed")->title(), "Speed");
    dialog.hide();
}

TEST_F(MachineDialogTest, RendersForAScreenshot)
{
    dialog.show();
    QTest::mouseClick(child<QRadioButton>("optUnits_1"), Qt::LeftButton);
    QApplication::processEvents();
    const QPixmap shot = dialog.grab();
    EXPECT_GT(shot.width(), 200);
    EXPECT_GT(shot.height(), 150);
    // KNTR_SCREENSHOT_DIR=<folder> keeps the picture for a look.
    const QString folder = qEnvironmentVariable("KNTR_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        EXPECT_TRUE(shot.save(folder + "/frmMachine.png"));
    }
}

} // namespace
