// The Indicator page shows the live state on its displays, readably, without restarting animations.
#include <QApplication>

#include "LiveFeed.h"
#include "PageTestSupport.h"
#include "PaletteTestSupport.h"
#include "pages/ReadingLayout.h"
#include "pages/mD9.h"

namespace orvane::test {
namespace {

int Id(IndicatorImage image) {
    return static_cast<int>(image);
}

std::string Reading(QWidget* widget) {
    return widget->accessibleDescription().toStdString();
}

// With a dark desktop palette every caption and reading on the panels, and the set-speed
// text over its bar, keep WCAG's 4.5:1 against what they are painted on.
TEST(IndicatorPalette, TextsStayReadableUnderADarkPalette) {
    const QPalette light = QApplication::palette();
    QApplication::setPalette(DarkDesktopPalette());
    {
        FakePageHost host{kTabIndicator};
        mD9 page{host, host};
        page.resize(page.minimumSizeHint());
        page.show();
        for (int s = 1; s <= 2; ++s) {
            page.Sensor(s).value->setText("-88.8");
            page.Sensor(s).unit->setText("\u00B0C");
        }
        page.UpTimeField()->setText("12s");
        CTextProgressCtrl* bar = page.Fan(1).bar;
        bar->SetPos(100);
        bar->SetWindowText("Set Speed: 100%");
        QCoreApplication::processEvents();
        const QImage image = page.grab().toImage();

        int labels = 0;
        for (const QLabel* label : page.findChildren<QLabel*>()) {
            if (label->text().trimmed().isEmpty() || !label->isVisible()) {
                continue;
            }
            const QRect area(label->mapTo(&page, QPoint(0, 0)), label->size());
            EXPECT_GE(InkContrast(image, area, area.topLeft()), 4.5)
                << '"' << label->text().toStdString() << '"';
            ++labels;
        }
        EXPECT_GE(labels, 2 * 3 + 2 * 3 + 6 + 4 + 2) << "captions and readings looked at";

        const QRect barArea(bar->mapTo(&page, QPoint(4, 4)), bar->size() - QSize(8, 8));
        EXPECT_GE(InkContrast(image, barArea, barArea.topLeft()), 4.5) << "set-speed text";
    }
    QApplication::setPalette(light);
}

struct IndicatorPage : ::testing::Test {
    FakePageHost host{kTabIndicator};
    mD9 page{host, host};
    SequencerRig& rig = host.rig;

    void SetUp() override { page.show(); }
    // Connected and on live data, with one record shown.
    void GoLive(const LiveValues& values) {
        rig.Connect();
        rig.Receive("ORV");
        page.OnTimer(); // asks for live data
        ASSERT_EQ(rig.seq.State(), State::ViewData);
        FeedRecord(rig, values);
        page.OnTimer();
    }
};

// A reading's value and unit never overlap nor leave their place, however narrow it gets:
// wide, just wide enough, squeezed, narrower than the unit alone, for the unit as set at scale
// 1 and at twice its size.
TEST(ReadingGeometry, ValueAndUnitStayApartAndInside) {
    for (const int unit : {36, 72}) {
        for (const int width : {400, 80 + kReadingGap + unit, 60, unit, unit / 2, 0}) {
            const QRect area(30, 12, width, 28);
            const ReadingRects rects = SplitReading(area, unit, kReadingGap);
            const auto inside = [&area](const QRect& r) { return r.isEmpty() || area.contains(r); };
            EXPECT_FALSE(rects.value.intersects(rects.unit)) << width << " for " << unit;
            EXPECT_TRUE(inside(rects.value) && inside(rects.unit)) << width << " for " << unit;
            EXPECT_EQ(rects.unit.width(), std::min(unit, width)) << "the value gives way first";
            EXPECT_EQ(rects.value.width(), std::max(width - unit - kReadingGap, 0));
        }
    }
}

// The panel as it is laid out at its smallest and at a usual size: each sensor's value and
// unit apart, and each inside the panel.
TEST_F(IndicatorPage, SensorReadingsNeverOverlapTheirUnits) {
    GoLive(SampleValues("5s"));
    for (const QSize size : {page.minimumSizeHint(), QSize(1076, 470)}) {
        page.resize(size);
        QCoreApplication::processEvents();
        for (int s = 1; s <= 2; ++s) {
            const QLabel* value = page.Sensor(s).value;
            const QLabel* unit = page.Sensor(s).unit;
            const QRect panel = value->parentWidget()->rect();
            EXPECT_FALSE(value->geometry().intersects(unit->geometry())) << "sensor " << s;
            EXPECT_TRUE(panel.contains(value->geometry()) && panel.contains(unit->geometry()));
            EXPECT_GE(value->width(), value->fontMetrics().horizontalAdvance(value->text()))
                << "sensor " << s << " at " << size.width() << "x" << size.height();
        }
    }
}

TEST_F(IndicatorPage, EveryDisplayCarriesItsStateAndReading) {
    page.OnTimer(); // not connected
    EXPECT_EQ(page.Fan(3).picture->ResourceId(), Id(IndicatorImage::FanNotUsed));
    EXPECT_EQ(page.Lamp(5)->ResourceId(), Id(IndicatorImage::LampGrey));
    EXPECT_EQ(page.Switch(1)->ResourceId(), Id(IndicatorImage::SwitchGrey));
    EXPECT_EQ(page.Sensor(1).value->text(), " ");
    EXPECT_EQ(Reading(page.Lamp(5)), "not connected");
    ExpectReadable(&page);

    LiveValues values = SampleValues("12s");
    values[2] = "FAIL";
    values[12] = "13";
    GoLive(values);
    EXPECT_EQ(page.Fan(1).meter->Maximum(), 3000.0) << "register 292 holds 0BB8";
    EXPECT_EQ(Reading(page.Fan(1).meter), "1480 FAN1 RPM");
    EXPECT_TRUE(page.Fan(1).picture->IsAnimating());
    EXPECT_EQ(page.Fan(4).bar->GetPos(), 55);
    EXPECT_EQ(Reading(page.Fan(4).bar), "Set Speed: 55%");
    EXPECT_EQ(Reading(page.Fan(2).led) + Reading(page.Fan(2).meter), "FAIL0 FAN2 RPM");
    EXPECT_EQ(page.Sensor(1).thermometer->ResourceId(), Id(ThermometerLevel(3)));
    EXPECT_EQ(page.Sensor(1).value->text() + page.Sensor(1).unit->text(), " 25.4\u00B0C");
    EXPECT_EQ(Reading(page.Switch(1)) + Reading(page.Switch(2)), "HILO");
    std::string lamps;
    for (int lamp = 1; lamp <= kIndicatorLamps; ++lamp) {
        lamps += Reading(page.Lamp(lamp)) + " ";
    }
    EXPECT_EQ(lamps, "on off on off not fitted not fitted ");
    EXPECT_EQ(page.UpTimeField()->text(), "12s");
    ExpectReadable(&page);
}

// A failed fan's LED is reloaded on every record; a running fan's animation never is.
TEST_F(IndicatorPage, AnimationsRunOnAcrossRecords) {
    LiveValues values = SampleValues("5s");
    values[2] = "FAIL";
    GoLive(values);
    ASSERT_TRUE(QTest::qWaitFor([&] { return page.Fan(1).picture->Frame() > 0; }));
    std::string leds;
    for (const char* upTime : {"6s", "7s", "8s", "9s"}) {
        values[13] = upTime;
        FeedRecord(rig, values);
        page.OnTimer();
        EXPECT_NE(page.Fan(1).picture->Frame(), 0) << "animation restarted at " << upTime;
        leds += std::to_string(page.Fan(2).led->ResourceId()) + " ";
    }
    EXPECT_EQ(leds, "313 312 313 312 ");

    page.OnTimer(); // no new record: the no-data look, counted
    EXPECT_EQ(rig.seq.NoDataCounter(), 1);
    EXPECT_FALSE(page.Fan(1).picture->IsPlaying());
    EXPECT_TRUE(page.Fan(2).led->IsAnimating()) << "the failed fan's red LED keeps blinking";

    host.SelectTab(kTabLiveData);
    page.OnTimer();
    EXPECT_EQ(rig.seq.NoDataCounter(), 1) << "a page whose tab is not shown does nothing";
}

} // namespace
} // namespace orvane::test
