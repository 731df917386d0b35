// Fans follow profile, ON/OFF values, inputs, ramp and alarm actions; alarms and failures show.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "SimHarness.h"
#include "sim/PlantModel.h"

using namespace orvane;
using namespace orvane::sim;
using namespace orvane::sim::testing;
using namespace std::chrono_literals;

// A step is what is done, then what the plant shows. Done: "N=V" sets register N, "holdS=V"
// holds sensor S, "fail-fan=F", "fail-sensor=S", "switch1=1", "run=N" runs N plant seconds (1
// unless said). Shown: "set=P", "rpm=N" of fan 1, "N=TEXT" record field N, "_" for a blank.
// The template: points 25 °C / 30 % and 50 °C / 90 %, ramp 10 % of 3000 RPM a second (296=0:
// none). Fan 1's point p: input in register 4 + 4p, speed in 39 + 4p; two points are p = 0, 7.
TEST(PlantModel, FollowsProfilesInputsAndAlarms) {
    using Steps = std::vector<std::pair<const char*, const char*>>;
    const std::pair<const char*, Steps> cases[] = {
        {"two points, ramped",
         {{"hold1=37.5", "set=60 rpm=300"},
          {"run=3", "rpm=1200"},
          {"run=5", "rpm=1800"},
          {"hold1=20", "set=30 rpm=1500"}, // below the first point: its speed
          {"", "rpm=1200"}}},
        {"eight points",
         {{"184=4 296=0 4=20 8=24 12=28 16=32 20=36 24=40 28=44 32=48 "
           "39=10 43=20 47=30 51=40 55=80 59=85 63=90 67=95 hold1=34",
           "set=60 rpm=1800"},
          {"hold1=60", "set=95"}}},
        {"speeds in RPM",
         {{"183=2 296=0 4=25 39=1000 32=50 67=2000 hold1=37.5", "set=50 rpm=1500"}}},
        {"inputs in hundredths of a volt, ON at 1 V",
         {{"183=3 173=1 161=0 4=200 39=10 32=800 67=70 hold1=5", "set=40 8=_5.00"}}},
        {"ON at 30, OFF at 28: between them as it was",
         {{"173=30 161=28 296=0 hold1=29", "set=0"},
          {"hold1=31", "set=44"}, // 30 + 60 * 6 / 25
          {"hold1=29", "set=40"},
          {"hold1=27", "0=____0 1=__0"}}},
        {"always on (0xFC19)", {{"173=64537 161=64537 hold1=-10", "set=30"}}},
        {"input 2 only, then both: the hotter",
         {{"296=0 165=0 169=1 hold1=25 hold2=50", "set=90"},
          {"165=1 hold1=45 hold2=30", "set=78"}}},
        {"held out of range, then failed: the fans flat out",
         {{"hold1=1e9 hold2=-1e9", "8=999.0 9=-99.0"}, {"fail-sensor=1", "set=100 8=FAIL"}}},
        {"unused fan 2, failed fan 3", {{"1=0 fail-fan=3", "2=____0 3=__0 4=FAIL"}}},
        {"switch 1 raises alarm 2, whose action is for fan 1 only",
         {{"75=1 140=100 296=0 hold1=25", "12=0"}, {"switch1=1", "1=100 3=_30 10=_HI_ 12=2"}}},
        {"higher alarm has priority", {{"73=1 75=1 136=70 140=20 switch1=1", "set=70 12=12"}}},
        {"high limit 30 clears only past its hysteresis of 2",
         {{"112=30 300=2 hold1=31", "12=1"}, {"hold1=29", "12=1"}, {"hold1=27.5", "12=0"}}},
        {"failure alarms; relays need their board",
         {{"328=2 97=2 fail-fan=2 fail-sensor=2", "12=2"}, {"184=2", "12=25"}}},
    };
    for (const auto& [name, steps] : cases) {
        RegisterImage config = TemplateImage();
        PlantModel plant;
        SimTime now{0};
        for (const auto& [does, shows] : steps) {
            const std::string where = std::string("case ") + name + ", " + does;
            std::istringstream doing(does);
            std::string key;
            double value = 0;
            int seconds = 1;
            while (std::getline(doing >> std::ws, key, '=') && doing >> value) {
                if (key == "hold1" || key == "hold2") {
                    plant.HoldSensor(key[4] - '1', value);
                } else if (key == "fail-fan") {
                    plant.SetFanFailed(static_cast<int>(value) - 1, true);
                } else if (key == "fail-sensor") {
                    plant.SetSensorFailed(static_cast<int>(value) - 1, true);
                } else if (key == "switch1") {
                    plant.SetSwitchInput(0, value != 0);
                } else if (key == "run") {
                    seconds = static_cast<int>(value);
                } else {
                    config.SetValue(std::stoi(key), static_cast<unsigned>(value));
                }
            }
            for (int i = 0; i < seconds; ++i) {
                now += 1s;
                plant.Step(config, now);
            }
            const LiveSample sample = plant.Sample(config, static_cast<std::uint64_t>(now / 1s));
            const auto fields = SplitRecord(FormatLiveRecord(sample));
            ASSERT_EQ(fields.size(), 14u) << where;
            std::istringstream showing(shows);
            std::string text;
            while (std::getline(showing >> std::ws, key, '=') && showing >> text) {
                std::replace(text.begin(), text.end(), '_', ' ');
                const std::string shown = key == "set"   ? std::to_string(sample.fans[0].setPercent)
                                          : key == "rpm" ? std::to_string(sample.fans[0].rpm)
                                                         : fields.at(std::stoul(key));
                EXPECT_EQ(shown, text) << where << ": " << key;
            }
        }
    }
}
