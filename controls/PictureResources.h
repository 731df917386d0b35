#pragma once

#include <optional>
#include <string>

namespace orvane {

// How a picture moves while it plays.
enum class PictureMotion { Still, Spin, Pulse };

struct PictureResource {
    int id = 0;
    const char* file = ""; // Qt resource path of the artwork
    PictureMotion motion = PictureMotion::Still;
    int frames = 1;
    int frameMs = 100;
};

// The fixed set of pictures, by the resource ids the windows ask for.
inline constexpr int kPictureContact = 220;

std::optional<PictureResource> FindPictureResource(int id);

// Geometry of frame n of a picture, kept out of painting so it can be checked.
double SpinAngle(int frame, int frames);    // degrees, 0 at frame 0
double PulseOpacity(int frame, int frames); // 0.15 to 1, brightest at frame 0

} // namespace orvane
