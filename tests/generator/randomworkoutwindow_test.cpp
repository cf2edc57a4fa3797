// The generator window driven as a user drives it, offscreen.

#include "generator/ui/randomworkoutwindow.h"
#include "generatorbench.h"
#include "testenv.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace kntr;
using test::GeneratorBench;
using test::MachineRanges;

namespace {

class RandomWorkoutWindowTest : public ::testing::Test {
protected:
    template<typename T> T* child(const QString& name)
    {
        T* w = window.findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QString text(const QString& name)
    {
        QWidget* w = window.findChild<QWidget*>(name);
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            return b->text();
        if (auto* l = qobject_cast<QLabel*>(w))
            return l->text();
        if (auto* g = qobject_cast<QGroupBox*>(w))
            return g->title();
        return QStringLiteral("missing ") + name;
    }
    /// Clicks a button on its caption, where a radio button takes clicks.
    void click(const QString& name)
    {
        auto* b = child<QAbstractButton>(name);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
    }
    bool shown(const QString& name) { return child<QWidget>(name)->isVisible(); }
    QString stored(const char* key) const
    {
        return bench.settings.GetSetting(kAppName, QStringLiteral("RandomWork"), QLatin1String(key));
    }

    GeneratorBench bench{MachineRanges{5, 100, 5, 0, 150, 5}};
    RandomWorkoutModel form{bench.session, bench.settings, bench.clock,
                            [this](const Workout& w) { return bench.useWorkout(w); }};
    RandomWorkoutWindow window{form};
};

} // namespace

TEST_F(RandomWorkoutWindowTest, ShowsEveryControlWithItsCaptionInsideItsFixedSize)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.objectName(), "frmRandomWorkout");
    EXPECT_EQ(window.windowTitle(), "Kinetrova - Random Workout Generator");
    EXPECT_TRUE(window.isModal());
    EXPECT_EQ(window.size(), QSize(396, 368));

    const std::pair<const char*, const char*> captions[] = {{"fraParameters", "Set Workout Parameters"},
                                                            {"fraSetSegments", "Set Segment Parameters"},
                                                            {"lblSpeedMaxCap", "Speed Max:"},
                                                            {"lblSpeedMinCap", "Speed Min:"},
                                                            {"lblInclineMaxCap", "Incline Max:"},
                                                            {"lblInclineMinCap", "Incline Min:"},
                                                            {"lblSpeed", "10"},
                                                            {"lblSpeedMin", "0.5"},
                                                            {"lblIncline", "15"},
                                                            {"lblInclineMin", "0"},
                                                            {"optSpeed_0", "&Random"},
                                                            {"optSpeed_1", "&Interval"},
                                                            {"optSpeed_2", "&Fast-Slow"},
                                                            {"optIncline_0", "R&andom"},
                                                            {"optIncline_1", "I&nterval"},
                                                            {"optIncline_2", "&Hill"},
                                                            {"lblBiasOne", "Ramp Up: slow - fast"},
                                                            {"lblBiasTwo", "Ramp Up: slow - fast"},
                                                            {"lblMinutes", "Minutes"},
                                                            {"lblTime", "60"},
                                                            {"optSetSegment_0", "&1st Warm Up Segment"},
                                                            {"optSetSegment_1", "&2nd Warm Up Segment"},
                                                            {"optSetSegment_2", "1s&t Cool Down Segment"},
                                                            {"optSetSegment_3", "2n&d Cool Down Segment"},
                                                            {"lblSegSpdCap", "Speed"},
                                                            {"lblSegIncCap", "Incline"},
                                                            {"lblSegSpd_0", "0.5"},
                                                            {"lblSegInc_0", "0"},
                                                            {"lblSegSec_0", "60"},
                                                            {"cmdWarmUp", "&Adjust WarmUp/CoolDown"},
                                                            {"cmdMake", "&Make Workout"},
                                                            {"cmdClose", "&Close"}};
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(text(name), caption) << name;

    const std::pair<const char*, std::array<int, 4>> sliders[] = {
        {"hscSpeedMax", {5, 100, 5, 100}},   {"hscSpeedMin", {5, 100, 5, 5}},
        {"hscInclineMax", {0, 150, 5, 150}}, {"hscInclineMin", {0, 150, 5, 0}},
        {"hscTime", {600, 3600, 60, 3600}},  {"hscBiasOne_0", {1, 100, 1, 25}},
        {"hscBiasOne_1", {2, 10, 1, 9}},     {"hscBiasTwo_2", {0, 100, 1, 65}},
        {"vscSpeed_3", {5, 100, 5, 5}},      {"vscIncline_2", {0, 150, 5, 0}},
        {"vscSeconds_1", {30, 240, 1, 60}}};
    for (const auto& [name, s] : sliders) {
        auto* bar = child<QScrollBar>(name);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ((std::array<int, 4>{bar->minimum(), bar->maximum(), bar->singleStep(), bar->value()}), s)
            << name;
    }

    EXPECT_TRUE(shown("fraParameters"));
    EXPECT_FALSE(shown("fraSetSegments"));
    EXPECT_TRUE(shown("hscBiasOne_0"));
    EXPECT_FALSE(shown("hscBiasOne_1"));
    // Every control shown fits in the window.
    for (QWidget* w : window.findChildren<QWidget*>())
        if (w->isVisible() && !w->objectName().isEmpty()) {
            const QRect r(w->mapTo(&window, QPoint(0, 0)), w->size());
            EXPECT_TRUE(window.rect().contains(r)) << w->objectName().toStdString();
        }
}

TEST_F(RandomWorkoutWindowTest, UserMovesGoThroughTheFormAndCloseStores)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    child<QScrollBar>("hscSpeedMax")->setValue(47);
    EXPECT_EQ(child<QScrollBar>("hscSpeedMax")->value(), 45);
    EXPECT_EQ(text("lblSpeed"), "4.5");

    click("optIncline_1");
    EXPECT_EQ(text("lblBiasTwo"), "Intervals: few - many");
    EXPECT_FALSE(shown("hscBiasTwo_0"));
    EXPECT_TRUE(shown("hscBiasTwo_1"));
    EXPECT_FALSE(shown("hscBiasTwo_2"));

    click("cmdWarmUp");
    EXPECT_FALSE(shown("fraParameters"));
    EXPECT_TRUE(shown("fraSetSegments"));
    EXPECT_FALSE(child<QPushButton>("cmdMake")->isEnabled());
    EXPECT_EQ(text("cmdWarmUp"), "&Accept WarmUp/CoolDown");
    click("optSetSegment_3");
    EXPECT_TRUE(shown("vscSeconds_3"));
    EXPECT_FALSE(shown("vscSeconds_0"));
    child<QScrollBar>("vscSeconds_3")->setValue(75);
    EXPECT_EQ(text("lblSegSec_3"), "75");
    click("cmdWarmUp");
    EXPECT_TRUE(child<QPushButton>("cmdMake")->isEnabled());
    EXPECT_EQ(window.size(), QSize(396, 368));

    child<QScrollBar>("hscTime")->setValue(1230);
    click("cmdMake");
    EXPECT_TRUE(window.isVisible()) << "the window stays for another workout";
    EXPECT_EQ(child<QScrollBar>("hscTime")->value(), 1200);
    EXPECT_EQ(text("lblTime"), "20");
    EXPECT_EQ(bench.totalTime(), 1200);
    EXPECT_EQ(bench.time(bench.count()), 75);

    // Escape closes without storing; the next opening reads the stored values again.
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(stored("Time").isEmpty());
    window.show();
    EXPECT_EQ(child<QScrollBar>("hscTime")->value(), 3600);

    child<QScrollBar>("hscTime")->setValue(1800);
    click("cmdClose");
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(stored("Time"), "1800");
    EXPECT_EQ(stored("optIncline"), "0");
}
