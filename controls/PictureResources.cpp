#include "controls/PictureResources.h"

#include <array>
#include <cmath>
#include <numbers>

#include "core/MainWindowView.h"

namespace orvane {

namespace {

constexpr std::array kResources{
    PictureResource{kAnimationCommunicating, ":/res/activity.svg", PictureMotion::Spin, 12, 70},
    PictureResource{kAnimationIdle, ":/res/idle.svg", PictureMotion::Still, 1, 1000},
    PictureResource{kAnimationLogging, ":/res/logging.svg", PictureMotion::Pulse, 12, 90},
    PictureResource{kAnimationNotLogging, ":/res/not-logging.svg", PictureMotion::Still, 1, 1000},
    PictureResource{kPictureContact, ":/res/contact.svg", PictureMotion::Spin, 24, 80},
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
