#include "controls/PictureResources.h"

#include <cmath>
#include <numbers>

#include "core/comms/MainWindowView.h"
#include "core/rules/IndicatorRules.h"
#include "core/rules/LiveDataRules.h"

namespace orvane {

namespace {

constexpr PictureResource Still(int id, const char* file) {
    return {id, {file}, PictureMotion::Still, 1, 1000};
}
constexpr PictureResource Still(IndicatorImage image, const char* file) {
    return Still(static_cast<int>(image), file);
}
// A light that blinks: on and off, half a second each.
constexpr PictureResource Blink(IndicatorImage image, const char* on, const char* off) {
    return {static_cast<int>(image), {on, off}, PictureMotion::Frames, 2, 500};
}

constexpr std::array kResources{
    PictureResource{kAnimationCommunicating, {":/res/activity.svg"}, PictureMotion::Spin, 12, 70},
    Still(kAnimationIdle, ":/res/idle.svg"),
    PictureResource{kAnimationLogging, {":/res/logging.svg"}, PictureMotion::Pulse, 12, 90},
    Still(kAnimationNotLogging, ":/res/not-logging.svg"),
    PictureResource{kPictureContact, {":/res/contact.svg"}, PictureMotion::Spin, 24, 80},
    PictureResource{kPictureLiveLogging, {":/res/live-logging.svg"}, PictureMotion::Pulse, 12, 90},
    Still(kPictureLiveIdle, ":/res/live-idle.svg"),
    Still(IndicatorImage::FanNotUsed, ":/res/fan-unused.svg"),
    Still(IndicatorImage::FanStill, ":/res/fan.svg"),
    // Three blades turned a quarter of their spacing per frame: a steady forward spin.
    PictureResource{static_cast<int>(IndicatorImage::FanSpinning),
                    {":/res/fan.svg", ":/res/fan-30.svg", ":/res/fan-60.svg", ":/res/fan-90.svg"},
                    PictureMotion::Frames,
                    4,
                    100},
    Still(IndicatorImage::LedGrey, ":/res/led-grey.svg"),
    Blink(IndicatorImage::LedRed, ":/res/led-red.svg", ":/res/led-red-dim.svg"),
    Still(IndicatorImage::LedGreen, ":/res/led-green.svg"),
    Still(IndicatorImage::LedBlank, ":/res/led-blank.svg"),
    Still(IndicatorImage::LampGreen, ":/res/lamp-green.svg"),
    Blink(IndicatorImage::LampRed, ":/res/lamp-red.svg", ":/res/lamp-red-dim.svg"),
    Still(IndicatorImage::LampGrey, ":/res/lamp-grey.svg"),
    Still(IndicatorImage::ThermometerGrey, ":/res/thermometer-grey.svg"),
    Still(ThermometerLevel(0), ":/res/thermometer-0.svg"),
    Still(ThermometerLevel(1), ":/res/thermometer-1.svg"),
    Still(ThermometerLevel(2), ":/res/thermometer-2.svg"),
    Still(ThermometerLevel(3), ":/res/thermometer-3.svg"),
    Still(ThermometerLevel(4), ":/res/thermometer-4.svg"),
    Still(ThermometerLevel(5), ":/res/thermometer-5.svg"),
    Still(ThermometerLevel(6), ":/res/thermometer-6.svg"),
    Still(ThermometerLevel(7), ":/res/thermometer-7.svg"),
    Still(ThermometerLevel(8), ":/res/thermometer-8.svg"),
    Still(ThermometerLevel(9), ":/res/thermometer-9.svg"),
    Still(IndicatorImage::SwitchHigh, ":/res/switch-high.svg"),
    Still(IndicatorImage::SwitchLow, ":/res/switch-low.svg"),
    Still(IndicatorImage::SwitchGrey, ":/res/switch-grey.svg"),
};

} // namespace

std::optional<PictureResource> FindPictureResource(int id) {
    for (const auto& resource : kResources) {
        if (resource.id == id) {
            return resource;
        }
    }
    return std::nullopt;
}

double SpinAngle(int frame, int frames) {
    if (frames <= 1) {
        return 0.0;
    }
    return 360.0 * (frame % frames) / frames;
}

double PulseOpacity(int frame, int frames) {
    if (frames <= 1) {
        return 1.0;
    }
    const double phase = 2.0 * std::numbers::pi * (frame % frames) / frames;
    return 0.15 + 0.85 * (0.5 + 0.5 * std::cos(phase));
}

} // namespace orvane
