#pragma once

// Every register of the image by the name a person knows it by: the page that edits it, the
// label it carries there, and how its word is read and shown. Built on the register layout,
// so register numbers live in one place; the command-line tools and the pages read it.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/image/RegisterImage.h"

namespace orvane {

// Page names as the tabs show them.
namespace page {
inline constexpr std::string_view kStart = "Start";
inline constexpr std::string_view kMode = "Mode";
inline constexpr std::string_view kFanSetting = "Fan Setting";
inline constexpr std::string_view kModBus = "ModBus";
inline constexpr std::string_view kProfile = "Multi Point/Speed";
inline constexpr std::string_view kAlarms = "Alarm Config.";
inline constexpr std::string_view kLiveData = "Live Data";
} // namespace page

// How a field's word is read. Units that follow the control mode (register 183) are taken
// from the same image as the word.
enum class FieldKind {
    Number,      // unsigned, in decimal
    Choice,      // one of the field's codes (of the bits in its mask)
    Text,        // one character per register, ended by the first zero
    PointInput,  // signed: whole degC, or hundredths of a volt in the voltage modes
    OnOffValue,  // signed whole number in the input's unit; FC19: always on
    Speed,       // unsigned: PWM percent, or RPM in the RPM modes
    FanAction,   // a speed, or FF55: not used
    SensorValue, // signed: whole degC or hundredths of a volt; FF55: not used
    Hysteresis,  // as a sensor value, but unsigned
    ActiveInput, // two registers: input 1 active, input 2 active ("0001" or "0000")
    Raw,         // a word (or bits) no page uses, as stored
};

struct FieldChoice {
    unsigned code; // the field's bits (the word masked)
    std::string_view label;
};

struct RegisterField {
    std::string_view page; // empty for registers no page uses
    std::string name;
    std::vector<int> registers; // in the order the field reads them
    unsigned mask = 0xFFFF;     // the bits of the register that belong to the field
    FieldKind kind = FieldKind::Number;
    std::vector<FieldChoice> choices; // Choice only

    bool IsBitField() const { return mask != 0xFFFF; }
};

class RegisterMap {
public:
    // The one map, built on first use.
    static const RegisterMap& Get();

    // Every field, grouped by page in tab order, then the registers no page uses.
    const std::vector<RegisterField>& Fields() const { return m_fields; }
    // The fields that hold bits of register 0 to 399 (several for an option register);
    // empty for any other index.
    std::span<const RegisterField* const> FieldsAt(int reg) const;
    // The field with this name (names are unique), or nullptr.
    const RegisterField* Find(std::string_view name) const;

private:
    RegisterMap();

    std::vector<RegisterField> m_fields;
    std::vector<std::vector<const RegisterField*>> m_byRegister;
};

// The field's value in the words of its page: "25", "2.10 V", "(not used)", "Open Collector".
// A word the page never writes is shown as "(word 0007)".
std::string ShowFieldValue(const RegisterField& field, const RegisterImage& image);

// The bits in which two register texts differ: compared as numbers when both are four
// hexadecimal digits (so case does not count), otherwise every bit unless the texts agree.
unsigned DifferingBits(const std::string& a, const std::string& b);

} // namespace orvane
