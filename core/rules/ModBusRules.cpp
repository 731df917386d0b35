#include "core/rules/ModBusRules.h"

#include "core/image/Conversions.h"
#include "core/image/TypedEntry.h"

namespace orvane {

namespace {

// The controller's own form for "19200, Even", from before the parity code moved
// to bits 0 and 1.
constexpr unsigned kLegacy19200Even = 0xC0;
constexpr unsigned kParityCodeBits = 0x0F; // shown from bits 0 to 3
constexpr unsigned kKeptBesideParity = 0xFC;
constexpr unsigned kKeptBesideBaud = 0xEF;

} // namespace

void StoreRs485Address(RegisterImage& image, std::string_view text) {
    image.SetValue(reg::kRs485Address, ReadTypedNumber(text, 0, kLargestWord).Word());
}

ClampedNumber ClampSiteNumber(std::string_view text, int largest) {
    const BoundedNumber held = ReadTypedNumber(text, 1, largest);
    const auto value = static_cast<unsigned>(held.value);
    return {value, held.clamped ? std::optional(FormatDecimal(value)) : std::nullopt};
}

std::string_view BaudShown(unsigned serialSettings) {
    const bool fast =
        (serialSettings & reg::kBaud19200Bit) != 0 || serialSettings == kLegacy19200Even;
    return fast ? kBaudItems[1] : kBaudItems[0];
}

std::string_view ParityShown(unsigned serialSettings) {
    switch (serialSettings & kParityCodeBits) {
    case 0:
        return serialSettings == kLegacy19200Even ? "Even" : "None";
    case 2:
        return "Odd";
    default:
        return "Even";
    }
}

unsigned ParityWriteBack(unsigned serialSettings, std::string_view parityText) {
    unsigned code = 1;
    if (parityText == "None") {
        code = 0;
    } else if (parityText == "Odd") {
        code = 2;
    }
    return (serialSettings & kKeptBesideParity) + code;
}

unsigned BaudWriteBack(unsigned serialSettings, std::string_view baudText) {
    const bool slow = ScanDecimal(baudText) == 9600;
    return (serialSettings & kKeptBesideBaud) + (slow ? 0 : reg::kBaud19200Bit);
}

} // namespace orvane
