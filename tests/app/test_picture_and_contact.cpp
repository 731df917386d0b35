// The animated picture plays without blocking and stops on its frame; the Contact page shows
// version and link.
#include <QRegularExpression>
#include <QSettings>
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "controls/CPictureEx.h"
#include "core/MainWindowView.h"
#include "pages/mD10.h"

namespace orvane {
namespace {

using test::WaitFor;

TEST(PictureGeometry, SpinGoesRoundOnceAndPulseFadesAndReturns) {
    EXPECT_DOUBLE_EQ(SpinAngle(0, 12), 0.0);
    EXPECT_DOUBLE_EQ(SpinAngle(3, 12), 90.0);
    EXPECT_DOUBLE_EQ(SpinAngle(12, 12), 0.0);
    EXPECT_DOUBLE_EQ(SpinAngle(5, 1), 0.0);
    EXPECT_DOUBLE_EQ(PulseOpacity(0, 12), 1.0);
    EXPECT_NEAR(PulseOpacity(6, 12), 0.15, 1e-9);
    EXPECT_GT(PulseOpacity(3, 12), PulseOpacity(6, 12));
    EXPECT_DOUBLE_EQ(PulseOpacity(12, 12), 1.0);
}

TEST(PictureResources, EveryPictureTheWindowsAskForExistsAndLoads) {
    for (const int id : {kAnimationCommunicating, kAnimationIdle, kAnimationLogging,
                         kAnimationNotLogging, kPictureContact}) {
        CPictureEx picture;
        EXPECT_TRUE(picture.Load(id)) << id;
        EXPECT_EQ(picture.ResourceId(), id);
    }
    CPictureEx picture;
    EXPECT_FALSE(picture.Load(999));
    EXPECT_FALSE(picture.Draw()); // nothing loaded
    EXPECT_FALSE(picture.IsPlaying());
}

TEST(Picture, PlaysOnTheEventLoopAndStopsOnTheCurrentFrame) {
    CPictureEx picture;
    picture.show();
    ASSERT_TRUE(picture.Load(kAnimationCommunicating));
    ASSERT_TRUE(picture.Draw());
    EXPECT_TRUE(picture.IsPlaying()); // Draw returned at once: nothing waits for frames
    ASSERT_TRUE(WaitFor([&] { return picture.Frame() >= 2; }));
    picture.Stop();
    EXPECT_FALSE(picture.IsPlaying());
    const int frame = picture.Frame();
    QTest::qWait(200);
    EXPECT_EQ(picture.Frame(), frame);

    ASSERT_TRUE(picture.Load(kAnimationIdle)); // a new image starts at its first frame
    EXPECT_EQ(picture.Frame(), 0);
    EXPECT_FALSE(picture.IsPlaying());
}

TEST(Picture, AStillPictureIsDrawnButDoesNotPlay) {
    CPictureEx picture;
    ASSERT_TRUE(picture.Load(kAnimationNotLogging));
    EXPECT_TRUE(picture.Draw());
    EXPECT_FALSE(picture.IsPlaying());
    ASSERT_TRUE(picture.Load(kAnimationLogging));
    picture.Draw();
    EXPECT_TRUE(picture.IsPlaying());
}

TEST(Picture, PaintsSomethingOfItsImage) {
    CPictureEx picture;
    picture.resize(48, 48);
    picture.Load(kPictureContact);
    const QImage image = picture.grab().toImage();
    int coloured = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            coloured += (c.blue() > c.red() + 40) ? 1 : 0;
        }
    }
    EXPECT_GT(coloured, 48 * 48 / 10);
}

class MainWindowContact : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings().clear();
        window = std::make_unique<CZephanDlg>(harness.Options());
    }
    test::TestWindow harness;
    std::unique_ptr<CZephanDlg> window;
};

TEST_F(MainWindowContact, ShowsTheVersionWithBuildDateAndTime) {
    const QString text = window->ContactPage()->VersionField()->text();
    const QRegularExpression form(
        "^Software Version 2\\.3\\.1 Compiled on [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{4}, "
        "[0-9]{2}:[0-9]{2}:[0-9]{2}\nThe latest version of the Software \ncan be downloaded "
        "from:$");
    EXPECT_TRUE(form.match(text).hasMatch()) << text.toStdString();
}

TEST_F(MainWindowContact, TheLinkIsBlueOpaqueAndOpensTheDownloadPage) {
    window->Tabs()->setCurrentIndex(9);
    window->show();
    QLabel* link = window->ContactPage()->LinkField();
    EXPECT_EQ(link->text(), kDownloadAddress);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0x19, 0x19, 0xFF));
    EXPECT_TRUE(link->autoFillBackground());
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(harness.opened, std::vector<std::string>{kDownloadAddress});
    EXPECT_TRUE(window->ContactPage()->Picture()->IsPlaying());
    EXPECT_EQ(window->ContactPage()->Picture()->ResourceId(), kPictureContact);
}

} // namespace
} // namespace orvane
