// Every picture has artwork of its own and only the animated ones play, on the event loop; a
// stopped one keeps its frame and a hidden one draws nothing. The logger tells "logging" from
// "not logging" by whether the indicator plays.
#include <QTest>
#include <gtest/gtest.h>

#include "controls/CPictureEx.h"
#include "core/comms/MainWindowView.h"
#include "core/rules/IndicatorRules.h"
#include "core/rules/LiveDataRules.h"

namespace orvane::test {
namespace {

struct Artwork {
    int id;
    QSize size;
    bool animated;
};

// Every image the window and its pages show, at the size they show it.
std::vector<Artwork> PageArtwork() {
    using I = IndicatorImage;
    std::vector<Artwork> all{
        {kPictureLiveIdle, {48, 48}, false},       {kPictureLiveLogging, {48, 48}, true},
        {kAnimationCommunicating, {48, 48}, true}, {kAnimationIdle, {48, 48}, false},
        {kAnimationLogging, {48, 48}, true},       {kAnimationNotLogging, {48, 48}, false},
        {kPictureContact, {48, 48}, true}};
    const auto add = [&all](std::initializer_list<I> images, QSize size, I animated) {
        for (const I image : images) {
            all.push_back({static_cast<int>(image), size, image == animated});
        }
    };
    add({I::FanNotUsed, I::FanStill, I::FanSpinning}, {60, 60}, I::FanSpinning);
    add({I::LedGrey, I::LedRed, I::LedGreen, I::LedBlank}, {24, 24}, I::LedRed);
    add({I::LampGreen, I::LampRed, I::LampGrey}, {52, 52}, I::LampRed);
    add({I::SwitchHigh, I::SwitchLow, I::SwitchGrey}, {38, 60}, I::None);
    add({I::ThermometerGrey}, {36, 108}, I::None);
    for (int level = 0; level < kThermometerLevels; ++level) {
        add({ThermometerLevel(level)}, {36, 108}, I::None);
    }
    return all;
}

TEST(PictureArtwork, EachImageLoadsPaintsItsOwnArtAndAnimatesOnlyIfItShould) {
    std::vector<QImage> shown;
    for (const Artwork& art : PageArtwork()) {
        SCOPED_TRACE("id " + std::to_string(art.id));
        CPictureEx picture;
        picture.setFixedSize(art.size);
        picture.show();
        ASSERT_TRUE(picture.Load(art.id) && picture.Draw());
        EXPECT_EQ(picture.IsPlaying(), art.animated);
        const QImage first = picture.grab().toImage();
        EXPECT_NE(first, QImage(art.size, first.format())) << "paints nothing";
        // A spinning fan starts on the still fan's frame; every other image is its own.
        if (art.id != static_cast<int>(IndicatorImage::FanSpinning)) {
            for (const QImage& other : shown) {
                EXPECT_NE(first, other) << "looks like another image";
            }
        }
        shown.push_back(first);
        if (art.animated) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return picture.Frame() == 1; }));
            EXPECT_NE(picture.grab().toImage(), first) << "frame 1 is frame 0";
        }
    }
}

// A picture paints its own background, so one with nothing loaded yet must still paint it.
TEST(PictureArtwork, NothingLoadedPaintsOnlyTheBackground) {
    CPictureEx picture;
    picture.setFixedSize(24, 24);
    QImage expected(picture.grab().toImage().size(), QImage::Format_RGB32);
    expected.fill(picture.palette().color(QPalette::Window));
    EXPECT_EQ(picture.grab().toImage().convertToFormat(QImage::Format_RGB32), expected);
}

// Another picture playing at the same pace is the clock: had Stop left the frame timer running,
// the stopped one would have moved on with it.
TEST(PictureEx, StopKeepsTheFrameAHiddenOneDrawsNothingAndANewImageStartsAtFrameZero) {
    EXPECT_DOUBLE_EQ(SpinAngle(3, 12), 90.0);     // a quarter turn by a quarter of the frames
    EXPECT_NEAR(PulseOpacity(6, 12), 0.15, 1e-9); // faintest half way, brightest again at the end
    EXPECT_DOUBLE_EQ(PulseOpacity(12, 12), 1.0);
    CPictureEx picture, clock;
    EXPECT_FALSE(picture.Load(999) || picture.Draw()) << "nothing loaded";
    for (CPictureEx* p : {&picture, &clock}) {
        p->resize(48, 48);
        p->show();
        ASSERT_TRUE(p->Load(kAnimationCommunicating) && p->Draw());
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return picture.Frame() >= 2; }));
    picture.Stop();
    EXPECT_FALSE(picture.IsPlaying());
    const int frame = picture.Frame(), clockFrame = clock.Frame();
    ASSERT_TRUE(QTest::qWaitFor([&] { return clock.Frame() >= clockFrame + 2; }));
    EXPECT_EQ(picture.Frame(), frame);
    ASSERT_TRUE(picture.Load(kAnimationIdle));
    EXPECT_EQ(picture.Frame(), 0);

    // Hidden, it draws nothing and wakes nobody, yet still counts as playing.
    ASSERT_TRUE(picture.Load(kAnimationLogging) && picture.Draw());
    picture.hide();
    EXPECT_TRUE(picture.IsPlaying() && !picture.IsAnimating());
    picture.show();
    EXPECT_TRUE(picture.IsAnimating());
}

} // namespace
} // namespace orvane::test
