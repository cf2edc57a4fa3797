// The volume window driven as a user drives it, offscreen.

#include "runner/ui/volumewindow.h"

#include "volumerig.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

using namespace kntr;

class VolumeWindowTest : public ::testing::Test, protected test::VolumeRig { };

TEST_F(VolumeWindowTest, ShowsItsControlsAndPassesSliderMovesToTheMixer)
{
    VolumeWindow window{levels};
    window.show();

    EXPECT_EQ(window.objectName(), "frmAudio");
    EXPECT_EQ(window.windowTitle(), "Kinetrova - Volume Settings");
    EXPECT_FALSE(window.isModal());
    const auto text = [&](const char* name) -> QString {
        QWidget* w = window.findChild<QWidget*>(QLatin1String(name));
        if (!w)
            return QStringLiteral("missing");
        if (auto* b = qobject_cast<QPushButton*>(w))
            return b->text() + "|" + b->toolTip();
        if (auto* l = qobject_cast<QLabel*>(w))
            return l->text();
        if (auto* g = qobject_cast<QGroupBox*>(w))
            return g->title() + "|" + g->toolTip();
        return QStringLiteral("present");
    };
    const std::pair<const char*, const char*> controls[] = {
        {"fraAdjChirp", "Volume Settings|Set volumes for computer playback mode"},
        {"lblAdjustMain", "Main"},
        {"lblAdjVolChirp", "<-- quieter --  CHIRP  --  louder -->"},
        {"lblAdjVolCD", "<-- quieter --   MUSIC   --  louder -->"},
        {"lblAdjustCue", "<-- quieter --VOICE CUE-- louder-->"},
        {"hscVolMain", "present"},
        {"hscVolAW", "present"},
        {"hscVolCD", "present"},
        {"hscVolCue", "present"},
        {"cmdAWvolume", "&Test|Play 2 chirp sounds"},
        {"cmdCDvolume", "Te&st|Play a CD"},
        {"cmdCueVolume", "T&est|Says \"Get Ready\""},
        {"cmdDefaults", "De&fault Settings|Change to default settings"},
        {"cmdAccept", "&Accept|Save Volume Settings"},
        {"cmdCancel", "&Cancel|Cancel these changes"},
    };
    for (const auto& [name, expected] : controls)
        EXPECT_EQ(text(name), QString::fromUtf8(expected)) << name;

    auto* tone = window.findChild<QSlider*>("hscVolAW");
    ASSERT_NE(tone, nullptr);
    EXPECT_EQ(tone->maximum(), 32767);
    EXPECT_EQ(tone->value(), 29490);
    tone->setFocus();
    QTest::keyClick(tone, Qt::Key_End);
    EXPECT_EQ(mixer.level(), 65534u);

    QTest::mouseClick(window.findChild<QPushButton*>("cmdCDvolume"), Qt::LeftButton);
    EXPECT_EQ(text("cmdCDvolume"), "&Stop|Play a CD");
    EXPECT_FALSE(window.findChild<QSlider*>("hscVolAW")->isEnabled());
    QTest::mouseClick(window.findChild<QPushButton*>("cmdAccept"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(settings.GetSetting("Kinetrova", "Audio", "Chirp"), "32767");
    EXPECT_EQ(mixer.level(), 40000u);
}
