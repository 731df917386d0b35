#pragma once

#include <array>
#include <optional>

namespace orvane {

// How a picture moves while it plays.
enum class PictureMotion {
    Still,
    Spin,   // the artwork turned a little further on every frame
    Pulse,  // a recording light in the corner fades and returns
    Frames, // each frame its own artwork
};

inline constexpr int kMaxFrameFiles = 4;

struct PictureResource {
    int id = 0;
    // Qt resource paths of the artwork: the first only, or one per frame for Frames.
    std::array<const char*, kMaxFrameFiles> files{};
    PictureMotion motion = PictureMotion::Still;
    int frames = 1;
    int frameMs = 100;

    // The artwork of frame n.
    const char* FileOf(int frame) const {
        return motion == PictureMotion::Frames ? files[static_cast<std::size_t>(frame)] : files[0];
    }
};

// The fixed set of pictures, by the resource ids the windows ask for (those of the
// main window, the Live Data page and the Indicator page are declared in core).
inline constexpr int kPictureContact = 220;

std::optional<PictureResource> FindPictureResource(int id);

// Geometry of frame n of a picture, kept out of painting so it can be checked.
double SpinAngle(int frame, int frames);    // degrees, 0 at frame 0
double PulseOpacity(int frame, int frames); // 0.15 to 1, brightest at frame 0

} // namespace orvane
