#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/comms/LiveFields.h"
#include "core/image/RegisterImage.h"

namespace orvane {

// The images of the "Indicator" page's pictures, by the resource ids the picture
// control loads.
enum class IndicatorImage : int {
    None = 0, // nothing loaded yet
    FanNotUsed = 301,
    FanStill = 302,
    FanSpinning = 303,
    LedGrey = 311,
    LedRed = 312, // blinks
    LedGreen = 313,
    LedBlank = 314,
    LampGreen = 321,
    LampRed = 322, // blinks
    LampGrey = 323,
    ThermometerGrey = 330,
    ThermometerLevel0 = 340, // levels 0 to 9 follow
    SwitchHigh = 351,
    SwitchLow = 352,
    SwitchGrey = 353,
};
inline constexpr int kThermometerLevels = 10;
// Level 0 to 9.
constexpr IndicatorImage ThermometerLevel(int level) {
    return static_cast<IndicatorImage>(static_cast<int>(IndicatorImage::ThermometerLevel0) + level);
}

// One picture: the image it shows, whether that image's animation runs, and what
// it means in words (its accessible description).
struct PictureState {
    IndicatorImage image = IndicatorImage::None;
    bool playing = false;
    std::string reading;
};

struct MeterState {
    double minimum = 0.0;
    double maximum = 100.0;
    double value = 0.0;
};

struct BarState {
    int position = 0;
    std::string text = "Set Speed: 0%";
};

struct FanPanel {
    PictureState picture;
    PictureState led;
    MeterState meter;
    BarState bar;
};

struct SensorPanel {
    PictureState led;
    PictureState thermometer;
    std::string value = " -";
    std::string unit = " ";
};

inline constexpr int kIndicatorLamps = 6; // alarm outputs 1 to 4, power relays 1 and 2
inline constexpr int kIndicatorSwitches = 2;

// Everything the page shows, as the rules left it.
struct IndicatorPanel {
    std::array<FanPanel, 4> fans;
    std::array<SensorPanel, 2> sensors;
    std::array<PictureState, kIndicatorSwitches> switches;
    std::array<PictureState, kIndicatorLamps> lamps;
    std::string upTime = "0s";
};

// What the page's tick sees of the main window.
struct IndicatorTickInputs {
    bool connected = false;
    int state = 0;
    int receivedCount = 0;
    std::string_view status;
    bool syncingSeen = false;
    const LiveFields& fields;
    const RegisterImage& image;
};

// What the tick asks of the main window in return.
struct IndicatorTickRequests {
    bool viewData = false;    // set the sequencer state to "VIEW DATA"
    bool syncingSeen = false; // set the syncing-seen flag
    bool countNoData = false; // add one to the no-data counter
};

// The "Indicator" page's rules: from the live field texts and the register image to
// the state of every display. A picture's state changes only when the rules say so,
// so a page that loads an image only on a change never restarts an animation.
class IndicatorRules {
public:
    IndicatorRules();

    // One tick while the page's tab is visible.
    IndicatorTickRequests OnTick(const IndicatorTickInputs& in);

    void ShowDisconnected();
    void ShowNoData();
    // fan 1 to 4.
    void UpdateFanDisplay(int fan, const LiveFields& fields, const RegisterImage& image);
    // sensor 1 or 2.
    void UpdateSensorDisplay(int sensor, std::string_view text);

    const IndicatorPanel& Panel() const { return m_panel; }

private:
    void ShowNewRecord(const LiveFields& fields, const RegisterImage& image);

    IndicatorPanel m_panel;
    std::string m_lastUpTime = "-10";
};

} // namespace orvane
