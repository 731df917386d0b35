#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/image/RegisterImage.h"

namespace orvane {

// The most digits an entry box takes: enough for 65535.
inline constexpr int kEntryDigits = 5;

// The Fan Setting page's rules: what each field shows of its register and what each
// edit stores. Only the page's own registers change, and of register 184 only the
// "Daily Fan Run" and "Dummy Fan Link(Permitted)" bits.
class FanSettings {
public:
    static constexpr std::array<const char*, 5> kPulsesPerRevItems{"0", "1", "2", "3", "6"};
    static constexpr std::array<const char*, 2> kStationaryPwmItems{"0", "100"};
    static constexpr std::array<const char*, 2> kControlTypeItems{"0-10V", "Open Collector"};
    static constexpr const char* kNoTachoText = "This option is for Relay Fan or No Tacho type Fan";
    static constexpr const char* kNoTachoCaption = "Reminder";

    explicit FanSettings(RegisterImage& image) : m_image(image) {}

    // "Used": on for "0001", off for "0000"; any other word leaves the box as it is.
    std::optional<bool> Used(int fan) const;
    // A register's value in decimal, as the number boxes and "Stationary PWM" show it.
    std::string Decimal(int index) const;
    // The "Pulse / Rev" item matching the register, or none (no selection).
    std::optional<int> PulsesPerRevItem(int fan) const;
    // "0-10V" for exactly "0000", "Open Collector" for anything else.
    std::string ControlTypeText(int fan) const;
    bool DailyFanRun() const;
    bool DummyFanLink() const;

    void SetUsed(int fan, bool used);
    // A number box's text into its register; the text to show instead when the entry
    // did not fit a word.
    std::optional<std::string> StoreEntry(int index, std::string_view text);
    // A list item chosen or a list text typed ("Pulse / Rev", "Stationary PWM"); an
    // empty text stores nothing. As StoreEntry otherwise.
    std::optional<std::string> StoreListText(int index, std::string_view text);
    // "Pulse / Rev" choice of a fan without tachometer, which the user is reminded of.
    static bool NeedsNoTachoReminder(std::string_view item) { return item == "0"; }
    // Only the two items store.
    void StoreControlType(int fan, std::string_view text);
    void SetDailyFanRun(bool on);
    void SetDummyFanLink(bool on);

private:
    RegisterImage& m_image;
};

} // namespace orvane
