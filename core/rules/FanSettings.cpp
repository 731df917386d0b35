#include "core/rules/FanSettings.h"

#include "core/image/Conversions.h"
#include "core/image/RegisterLayout.h"
#include "core/image/TypedEntry.h"

namespace orvane {

std::optional<bool> FanSettings::Used(int fan) const {
    const std::optional<unsigned> value = m_image.Value(reg::FanUsed(fan));
    if (value == 1u) {
        return true;
    }
    if (value == 0u) {
        return false;
    }
    return std::nullopt;
}

std::string FanSettings::Decimal(int index) const {
    return FormatDecimal(m_image.Value(index).value_or(0));
}

std::optional<int> FanSettings::PulsesPerRevItem(int fan) const {
    const std::string shown = Decimal(reg::FanPulsesPerRev(fan));
    for (std::size_t i = 0; i < kPulsesPerRevItems.size(); ++i) {
        if (shown == kPulsesPerRevItems[i]) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

std::string FanSettings::ControlTypeText(int fan) const {
    return m_image.Value(reg::FanControlType(fan)) == 0u ? kControlTypeItems[0]
                                                         : kControlTypeItems[1];
}

bool FanSettings::DailyFanRun() const {
    return m_image.OptionBit(reg::kDailyFanRunBit);
}

bool FanSettings::DummyFanLink() const {
    return m_image.OptionBit(reg::kDummyFanLinkBit);
}

void FanSettings::SetUsed(int fan, bool used) {
    m_image.SetValue(reg::FanUsed(fan), used ? 1 : 0);
}

std::optional<std::string> FanSettings::StoreEntry(int index, std::string_view text) {
    // A register carries four hexadecimal digits and no more.
    const BoundedNumber entry = ReadTypedNumber(text, 0, kLargestWord);
    m_image.SetValue(index, entry.Word());
    if (entry.clamped) {
        return FormatDecimal(entry.Word());
    }
    return std::nullopt;
}

std::optional<std::string> FanSettings::StoreListText(int index, std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    return StoreEntry(index, text);
}

void FanSettings::StoreControlType(int fan, std::string_view text) {
    for (std::size_t i = 0; i < kControlTypeItems.size(); ++i) {
        if (text == kControlTypeItems[i]) {
            m_image.SetValue(reg::FanControlType(fan), static_cast<unsigned>(i));
        }
    }
}

void FanSettings::SetDailyFanRun(bool on) {
    m_image.SetOptionBit(reg::kDailyFanRunBit, on);
}

void FanSettings::SetDummyFanLink(bool on) {
    m_image.SetOptionBit(reg::kDummyFanLinkBit, on);
}

} // namespace orvane
