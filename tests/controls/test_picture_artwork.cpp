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

// Every image the two pages show, at the size they show it.
std::vector<Artwork> PageArtwork() {
    using I = IndicatorImage;
    std::vector<Artwork> all{{kPictureLiveIdle, {48, 48}, false},
                             {kPictureLiveLogging, {48, 48}, true}};
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
