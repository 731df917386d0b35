#include "Profile.h"

namespace orvane::sim {

namespace {

constexpr unsigned kAlwaysOnMarker = 0xFC19;
constexpr unsigned kMultiPointBit = 0x04;

unsigned Word(const RegisterImage& config, int index) {
    return config.Value(index).value_or(0) & 0xFFFFu;
}

} // namespace

ControlMode ReadControlMode(const RegisterImage& config) {
    const unsigned mode = Word(config, 183);
    return {mode == 3 || mode == 4, mode == 2 || mode == 4};
}

int SignedWord(unsigned word) {
    word &= 0xFFFFu;
    return word > 0x8000u ? static_cast<int>(word) - 0x10000 : static_cast<int>(word);
}

FanProfile ReadFanProfile(const RegisterImage& config, int fan) {
    FanProfile profile;
    const bool volts = ReadControlMode(config).voltageInputs;
    const double inputUnit = volts ? 0.01 : 1.0; // point inputs are hundredths of a volt
    const bool multiPoint = config.OptionBit(kMultiPointBit);
    profile.pointCount = multiPoint ? 8 : 2;
    for (int p = 0; p < 8; ++p) {
        const int source = multiPoint ? p : (p == 0 ? 0 : 7);
        if (!multiPoint && p > 1) {
            break;
        }
        profile.points[static_cast<std::size_t>(p)] = {
            SignedWord(Word(config, 4 + 4 * source + fan)) * inputUnit,
            static_cast<double>(Word(config, 39 + 4 * source + fan))};
    }
    const unsigned on = Word(config, 173 + fan);
    const unsigned off = Word(config, 161 + fan);
    if (on != kAlwaysOnMarker && off != kAlwaysOnMarker) {
        profile.onValue = SignedWord(on); // whole °C or V, not scaled
        profile.offValue = SignedWord(off);
    }
    profile.input1 = Word(config, 165 + fan) == 1;
    profile.input2 = Word(config, 169 + fan) == 1;
    return profile;
}

double CurveSpeed(const FanProfile& profile, double input) {
    const auto count = static_cast<std::size_t>(profile.pointCount);
    const auto& points = profile.points;
    if (input <= points[0].input) {
        return points[0].speed;
    }
    for (std::size_t i = 1; i < count; ++i) {
        const ProfilePoint& low = points[i - 1];
        const ProfilePoint& high = points[i];
        if (input < high.input) {
            // Points out of order make a step rather than a division by zero.
            if (high.input <= low.input) {
                return high.speed;
            }
            return low.speed +
                   (high.speed - low.speed) * (input - low.input) / (high.input - low.input);
        }
    }
    return points[count - 1].speed;
}

} // namespace orvane::sim
