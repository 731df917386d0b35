// The Indicator displays follow their live field texts and registers; the Live Data page's rules.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <tuple>

#include "SequencerFakes.h"
#include "core/image/RegisterLayout.h"
#include "core/rules/IndicatorRules.h"
#include "core/rules/LiveDataRules.h"

namespace orvane::test {
namespace {

std::string Name(IndicatorImage image) {
    const int level = static_cast<int>(image) - static_cast<int>(IndicatorImage::ThermometerLevel0);
    static const std::map<int, std::string> names{
        {0, "none"},       {301, "fan-unused"}, {302, "fan"},       {303, "fan-spin"},
        {311, "led-grey"}, {312, "led-red"},    {313, "led-green"}, {314, "led-blank"},
        {321, "G"},        {322, "R"},          {323, "-"},         {330, "thermo-grey"},
        {351, "H"},        {352, "L"},          {353, "-"}};
    const auto found = names.find(static_cast<int>(image));
    return found != names.end() ? found->second : "thermo-" + std::to_string(level);
}

std::string Look(const PictureState& picture) {
    return Name(picture.image) + (picture.playing ? " playing" : "");
}

// "minimum..maximum=value" of the meter, then the bar's position and text.
std::string Meter(const FanPanel& fan) {
    const auto whole = [](double v) { return std::to_string(int(v)); };
    return whole(fan.meter.minimum) + ".." + whole(fan.meter.maximum) + "=" +
           whole(fan.meter.value) + " " + std::to_string(fan.bar.position) + " " + fan.bar.text;
}

// A record as the controller spaces it: every fan running at 1480 and set to 55 %.
LiveFields Record(const std::string& upTime) {
    return {"\n 1480", " 55",   " 1480", " 55",  " 1480", " 55",  " 1480", " 55",
            " 25.1",   " 26.0", " LO ",  " LO ", "0",     upTime, ""};
}

struct Rig {
    RegisterImage image = DefaultImage();
    IndicatorRules rules;
    std::string Tick(const LiveFields& fields, bool connected = true, int state = State::ViewData,
                     int received = 500, bool syncing = false, bool syncingSeen = false) {
        const std::string_view status = syncing ? "Syncing..." : StateName(state);
        const IndicatorTickRequests asked =
            rules.OnTick({connected, state, received, status, syncingSeen, fields, image});
        return std::string(asked.viewData ? "view data " : "") +
               (asked.syncingSeen ? "syncing seen " : "") + (asked.countNoData ? "no data " : "");
    }
    const IndicatorPanel& Panel() const { return rules.Panel(); }
};

// The look is told by alarm lamp 1, thermometer 1 and the up time.
TEST(IndicatorTick, EachTickShowsOneLookAndAsksWhatItNeeds) {
    const int v = State::ViewData, d = State::DoNothing;
    const std::tuple<const char*, bool, int, int, bool, bool, const char*, const char*, const char*>
        cases[] = {
            {"not connected", false, v, 500, false, false, "6s", "",
             "not connected/not connected/5s"},
            {"idle, bytes in", true, d, 500, false, false, "6s", "view data ",
             "no data/no data/5s"},
            {"idle, nothing received", true, d, 0, false, false, "6s", "", "no data/no data/5s"},
            {"syncing, new", true, v, 500, true, false, "6s", "syncing seen ",
             "no data/no data/5s"},
            {"syncing seen before", true, v, 500, true, true, "6s", "", "off/level 3/6s"},
            {"same up time", true, v, 500, false, false, "5s", "no data ", "no data/no data/5s"},
            {"new up time", true, v, 500, false, false, "6s", "", "off/level 3/6s"},
        };
    for (const auto& [name, connected, state, received, syncing, syncingSeen, upTime, asked, look] :
         cases) {
        SCOPED_TRACE(std::string("case ") + name);
        Rig rig;
        ASSERT_EQ(rig.Tick(Record("5s")), "");
        EXPECT_EQ(rig.Tick(Record(upTime), connected, state, received, syncing, syncingSeen),
                  asked);
        const IndicatorPanel& panel = rig.Panel();
        EXPECT_EQ(panel.lamps[0].reading + "/" + panel.sensors[0].thermometer.reading + "/" +
                      panel.upTime,
                  look);
    }
    Rig first;
    first.Tick(Record("-10"));
    EXPECT_EQ(first.Panel().upTime, "0s") << "the up time the page starts from is not new";
}

// One record per speed text ("|" between records); LED and picture after each, then meter and bar.
TEST(IndicatorFans, SpeedSetSpeedLedAndMeterFollowTheirTexts) {
    const struct {
        const char* name;
        int fan;
        const char *used, *maxRpm, *rpms, *pwm, *leds, *pictures, *meterAndBar;
    } cases[] = {
        {"running", 1, "0001", "0BB8", "\n 1500|\n 1500", " 55", "led-green led-green",
         "fan-spin playing,fan-spin playing", "0..3000=1500 55 Set Speed: 55%"},
        {"failing: LED alternates", 1, "0001", "0BB8", "FAIL|FAIL|FAIL", " 60",
         "led-red playing led-green led-red playing", "fan,fan,fan", "0..3000=0 60 Set Speed: 60%"},
        {"standing: LED alternates", 2, "0001", "0BB8", "    0|    0|    0", "  0",
         "led-blank led-green led-blank", "fan,fan,fan", "0..3000=0 0 Set Speed: 0%"},
        {"stops and runs again", 1, "0001", "0BB8", " 900|FAIL| 950", " 40",
         "led-green led-red playing led-green", "fan-spin playing,fan-spin,fan-spin playing",
         "0..3000=950 40 Set Speed: 40%"},
        {"empty text", 4, "0001", "0BB8", "", "", "led-green", "fan", "0..3000=0 0 Set Speed: 0%"},
        {"not used", 3, "0000", "0BB8", " 1500|FAIL", " 55", "led-grey led-grey",
         "fan-unused,fan-unused", "0..100=0 0 Set Speed: 0%"},
        {"fraction, large set speed", 1, "0001", "0BB8", " 1499.9", " 150", "led-green",
         "fan-spin playing", "0..3000=1499 150 Set Speed: 150%"},
        {"no maximum", 1, "0001", "XYZ", " 700", "abc", "led-green", "fan-spin playing",
         "0..0=700 0 Set Speed: 0%"},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.image.SetText(reg::FanUsed(c.fan), c.used);
        rig.image.SetText(reg::FanMaxRpm(c.fan), c.maxRpm);
        const FanPanel& fan = rig.Panel().fans[static_cast<std::size_t>(c.fan - 1)];
        std::string leds, pictures, rpm;
        std::istringstream rpms(std::string(c.rpms) + "|");
        for (int record = 1; std::getline(rpms, rpm, '|'); ++record) {
            LiveFields fields = Record(std::to_string(record) + "s");
            fields[2 * std::size_t(c.fan - 1)] = rpm;
            fields[2 * std::size_t(c.fan - 1) + 1] = c.pwm;
            rig.Tick(fields);
            leds += (leds.empty() ? "" : " ") + Look(fan.led);
            pictures += (pictures.empty() ? "" : ",") + Look(fan.picture);
        }
        EXPECT_EQ(leds.append(" / ").append(pictures).append(" / ").append(Meter(fan)),
                  std::string(c.leds) + " / " + c.pictures + " / " + c.meterAndBar)
            << "case " << c.name;
    }
}

TEST(IndicatorSensors, LevelsFromTheReading) {
    const std::tuple<const char*, const char*> cases[] = {
        {" 25", "led-green thermo-3"},        {" 24.9", "led-green thermo-2"},
        {" -3.0", "led-green thermo-0"},      {" 95", "led-green thermo-9"},
        {"990", "led-green thermo-grey"},     {"1000", "led-green thermo-9"},
        {"FAIL", "led-red playing thermo-0"}, {"____", "led-grey thermo-grey"},
    };
    for (const auto& [text, look] : cases) {
        IndicatorRules rules;
        rules.UpdateSensorDisplay(2, text);
        const SensorPanel& sensor = rules.Panel().sensors[1];
        EXPECT_EQ(Look(sensor.led) + " " + Look(sensor.thermometer), look)
            << "text \"" << text << '"';
    }
}

// Lamps: alarm outputs 1 to 4, then power relays 1 and 2 (register 184 bit 1); * blinks.
TEST(IndicatorOutputs, AlarmDigitsRelayOptionAndSwitchTexts) {
    const struct {
        const char *alarms, *options, *input1, *input2, *lamps, *switches;
    } cases[] = {
        {"0", "0000", " HI ", " LO ", "GGGG--", "HL"},
        {"13", "0000", "HI", " HI", "R*GR*G--", "LL"},
        {"135", "0000", " HI ", " HI ", "R*GR*G--", "HH"},
        {"5", "0002", "", "xx", "GGGGR*G", "LL"},
        {"2 46", "0022", " LO ", " HI ", "GR*GR*GR*", "LH"},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.image.SetText(kOptionRegister, c.options);
        LiveFields fields = Record("9s");
        fields[10] = c.input1;
        fields[11] = c.input2;
        fields[12] = c.alarms;
        rig.Tick(fields);
        std::string lamps, switches;
        for (const PictureState& lamp : rig.Panel().lamps) {
            lamps += Name(lamp.image) + (lamp.playing ? "*" : "");
        }
        for (const PictureState& picture : rig.Panel().switches) {
            switches += Name(picture.image);
        }
        EXPECT_EQ(lamps.append(" ").append(switches), std::string(c.lamps) + " " + c.switches)
            << "alarms \"" << c.alarms << "\" options " << c.options;
    }
}

// No data keeps the fan LEDs, the switches and the sensor texts; disconnected greys everything.
TEST(IndicatorLooks, NoDataThenDisconnected) {
    Rig rig;
    rig.image.SetText(reg::kControlMode, "0003"); // voltage inputs still read in °C
    rig.image.SetText(kOptionRegister, "0002");
    LiveFields fields = Record("3s");
    fields[2] = "FAIL";
    fields[10] = " HI ";
    fields[12] = "1";
    rig.Tick(fields);
    const IndicatorPanel& panel = rig.Panel();
    EXPECT_EQ(panel.sensors[0].value + panel.sensors[0].unit, " 25.1\u00B0C");
    const auto summary = [&panel] {
        std::string out;
        for (const FanPanel& fan : {panel.fans[0], panel.fans[1]}) {
            out += Look(fan.picture) + "/" + Look(fan.led) + "/" +
                   std::to_string(int(fan.meter.maximum)) + "=" +
                   std::to_string(int(fan.meter.value)) + "/" + fan.bar.text + "; ";
        }
        for (const SensorPanel& sensor : panel.sensors) {
            out += Look(sensor.led) + "/" + Look(sensor.thermometer) + "/" + sensor.value + "; ";
        }
        for (const PictureState& lamp : panel.lamps) {
            out += Name(lamp.image);
        }
        return out + " " + Name(panel.switches[0].image) + Name(panel.switches[1].image);
    };
    rig.Tick(fields);
    EXPECT_EQ(summary(),
              "fan-spin/led-green/100=0/Set Speed: 0%; fan/led-red playing/100=0/Set Speed: 0%; "
              "led-grey/thermo-grey/ 25.1; led-grey/thermo-grey/ 26.0; ------ HL");
    rig.Tick(fields, false);
    EXPECT_EQ(summary(),
              "fan-unused/led-grey/100=0/Set Speed: 0%; fan-unused/led-grey/100=0/Set Speed: 0%; "
              "led-grey/thermo-grey/ ; led-grey/thermo-grey/ ; ------ --");
}

TEST(LiveDataCells, EachColumnFormatsItsFieldText) {
    const std::tuple<int, const char*, const char*> cases[] = {
        {1, "\n 1480", "1480"}, {3, " FAIL", "FAIL"},  {8, "", "0"},          {4, "-12x", "-12"},
        {2, " +42abc", "42"},   {9, "23.46", "23.5"},  {9, " 25", "25.0"},    {10, "0.0", "0"},
        {10, "-0.04", "-0.0"},  {9, "xFAILx", "FAIL"}, {10, " 1e2", "100.0"}, {10, "-3.25", "-3.2"},
        {9, "inf", "0"},        {11, " HI ", " HI "},  {14, "77s", "77s"},
    };
    for (const auto& [column, text, shown] : cases) {
        EXPECT_EQ(FormatLiveCell(column, text), shown)
            << "column " << column << " text \"" << text << '"';
    }
}

// Two ticks re-initialise the shown page, then a step per tick while connected in "VIEW DATA".
TEST(LiveDataTicks, ReinitialiseThenStepAndFollowTheLogOption) {
    SequencerRig rig;
    LiveDataRules rules;
    rig.image.SetText(183, "0003");
    rig.image.SetText(kOptionRegister, "0020");
    const auto describe = [](const LiveDataTickActions& a) {
        std::string out = !a.voltageHeader ? "" : *a.voltageHeader ? "voltage " : "temperature ";
        out += !a.logBoxChecked ? "" : *a.logBoxChecked ? "box on " : "box off ";
        out += a.picture ? "picture " + std::to_string(*a.picture) + " " : "";
        return out + (a.refreshDone ? "refreshed " : "") + (a.tableChanged ? "step" : "");
    };
    const auto tick = [&](bool refreshPending) {
        const std::string actions =
            describe(rules.OnTick(rig.image, rig.seq, refreshPending, false));
        return actions + "|" + std::to_string(rules.Step());
    };
    EXPECT_EQ(tick(true), "voltage box on |1");
    EXPECT_EQ(tick(true), "voltage picture 243 refreshed |3");
    EXPECT_EQ(tick(true), "box on |0") << "refresh still pending, but the step is 3";
    EXPECT_EQ(tick(false), "box on |0") << "not connected: no step";

    rig.Connect();
    rig.seq.RequestLiveData();
    EXPECT_EQ(tick(false), "box on step|0");
    rig.image.SetText(kOptionRegister, "0000");
    EXPECT_EQ(tick(false), "box off step|0");
    rig.image.SetText(183, "0001");
    EXPECT_EQ(tick(true), "temperature box off |1");
}

} // namespace
} // namespace orvane::test
