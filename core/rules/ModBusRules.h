#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/image/RegisterLayout.h"

namespace orvane {

// The ModBus page's rules: the RS485 address, the serial settings word (register
// 185: parity code in bits 0 and 1, 19200 baud in bit 4) and the four site numbers.

inline constexpr std::array<const char*, 3> kParityItems{"Even", "Odd", "None"};
inline constexpr std::array<const char*, 2> kBaudItems{"9600", "19200"};

// "RS485 Address" into register 181: the typed number, at most 65535.
void StoreRs485Address(RegisterImage& image, std::string_view text);

// A site number box and the range its register keeps.
struct SiteNumber {
    const char* label;
    int reg;
    int largest; // the smallest is 1
};
inline constexpr std::array<SiteNumber, 4> kSiteNumbers{{
    {"Customer Number", reg::kCustomerNumber, 9999},
    {"Site Number", reg::kSiteNumber, 9999},
    {"Building Number", reg::kBuildingNumber, 999},
    {"Unit Number", reg::kUnitNumber, 999},
}};

struct ClampedNumber {
    unsigned value;
    std::optional<std::string> replacement; // the box's new text, when clamped
};
// The typed number brought into 1 to `largest`.
ClampedNumber ClampSiteNumber(std::string_view text, int largest);

// What the lists show for register 185's value. 0x00C0 shows "19200" and "Even".
std::string_view BaudShown(unsigned serialSettings);
std::string_view ParityShown(unsigned serialSettings);

// Register 185 with the lists' texts written in; bits 8 to 15 are cleared, the other
// bits kept. Parity: "None" 0, "Even" 1, "Odd" 2, any other text 1. Baud: 0 for a
// text that reads as 9600, otherwise 19200.
unsigned ParityWriteBack(unsigned serialSettings, std::string_view parityText);
unsigned BaudWriteBack(unsigned serialSettings, std::string_view baudText);

} // namespace orvane
