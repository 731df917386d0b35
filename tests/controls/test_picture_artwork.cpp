// Every Live Data and Indicator picture has artwork of its own, and only the animated ones play.
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/CPictureEx.h"
#include "core/IndicatorRules.h"
#include "core/LiveDataRules.h"

namespace orvane::test {
namespace {

struct Artwork {
    int id;
    QSize size;
    bool animated;
};

std::vector<Artwork> PageArtwork() {
    using I = IndicatorImage;
    const auto id = [](I image) { return static_cast<int>(image); };
    std::vector<Artwork> all{
        {kPictureLiveIdle, {48, 48}, false},
        {kPictureLiveLogging, {48, 48}, true},
        {id(I::FanNotUsed), {60, 60}, false},
        {id(I::FanStill), {60, 60}, false},
        {id(I::FanSpinning), {60, 60}, true},
        {id(I::LedGrey), {24, 24}, false},
        {id(I::LedRed), {24, 24}, true},
        {id(I::LedGreen), {24, 24}, false},
        {id(I::LedBlank), {24, 24}, false},
        {id(I::LampGreen), {52, 52}, false},
        {id(I::LampRed), {52, 52}, true},
        {id(I::LampGrey), {52, 52}, false},
        {id(I::ThermometerGrey), {36, 108}, false},
        {id(I::SwitchHigh), {38, 60}, false},
        {id(I::SwitchLow), {38, 60}, false},
        {id(I::SwitchGrey), {38, 60}, false},
    };
    for (int level = 0; level < kThermometerLevels; ++level) {
        all.push_back({id(ThermometerLevel(level)), {36, 108}, false});
    }
    return all;
}

TEST(PictureArtwork, EachImageLoadsPaintsItsOwnArtAndAnimatesOnlyIfItShould) {
    const std::vector<Artwork> all = PageArtwork();
    std::vector<QImage> shown;
    QImage sheet(70 * static_cast<int>(all.size()), 2 * 112, QImage::Format_ARGB32);
    sheet.fill(QColor(236, 236, 236));
    QPainter onSheet(&sheet);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Artwork& art = all[i];
        CPictureEx picture;
        picture.setFixedSize(art.size);
        picture.show();
        ASSERT_TRUE(picture.Load(art.id) && picture.Draw()) << "id " << art.id;
        EXPECT_EQ(picture.IsPlaying(), art.animated) << "id " << art.id;
        const QImage first = picture.grab().toImage();
        EXPECT_NE(first, QImage(art.size, first.format())) << "id " << art.id << " paints nothing";
        // A spinning fan starts on the still fan's frame; every other image is its own.
        if (art.id != static_cast<int>(IndicatorImage::FanSpinning)) {
            for (const QImage& other : shown) {
                EXPECT_NE(first, other) << "id " << art.id << " looks like another image";
            }
        }
        shown.push_back(first);
        onSheet.drawImage(static_cast<int>(i) * 70, 0, first);
        if (art.animated) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return picture.Frame() == 1; })) << "id " << art.id;
            const QImage second = picture.grab().toImage();
            EXPECT_NE(second, first) << "id " << art.id << " frame 1 is frame 0";
            onSheet.drawImage(static_cast<int>(i) * 70, 112, second);
        }
    }
    onSheet.end();
    sheet.save(QString::fromStdString(::testing::TempDir()) + "orvane-picture-artwork.png");
}

// A picture paints its own background, so one with nothing loaded yet must still paint it.
TEST(PictureArtwork, NothingLoadedPaintsOnlyTheBackground) {
    CPictureEx picture;
    picture.setFixedSize(24, 24);
    QImage expected(picture.grab().toImage().size(), QImage::Format_RGB32);
    expected.fill(picture.palette().color(QPalette::Window));
    EXPECT_EQ(picture.grab().toImage().convertToFormat(QImage::Format_RGB32), expected);
}

} // namespace
} // namespace orvane::test
