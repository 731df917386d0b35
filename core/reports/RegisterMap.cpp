#include "core/reports/RegisterMap.h"

#include <cstdio>
#include <cstdlib>

#include "core/image/Conversions.h"
#include "core/image/RegisterLayout.h"

namespace orvane {

namespace {

using reg::kUnused;

constexpr std::string_view kDegrees = " \u00B0C";

constexpr FieldChoice kYesNo[] = {{0, "no"}, {1, "yes"}};
constexpr FieldChoice kControlTypes[] = {{0, "0-10V"}, {1, "Open Collector"}};
constexpr FieldChoice kRelayStates[] = {{0, "Open"}, {1, "Closed"}};
constexpr FieldChoice kSwitchLevels[] = {{kUnused, "Ignored"}, {0, "Low"}, {1, "High"}};
constexpr FieldChoice kOperatingModes[] = {
    {1, "Temperature sets PWM Output (Open Loop)"},
    {2, "Temperature sets Fan RPM (Closed Loop)"},
    {3, "0-10V input sets PWM Output (Open Loop)"},
    {4, "0-10V input sets Fan RPM (Closed Loop)"},
};
constexpr FieldChoice kProjectModes[] = {
    {0x5A, "Undefined Project Mode"},
    {0, "0 : Project Specific Mode unused"},
    {1, "1 : Project 12185, Master"},
    {2, "2 : Project 12185, Slave"},
    {3, "3 : Project 12190 or 12632, Eco"},
    {4, "4 : Webserver RS485 Slave"},
    {5, "5 : NTC2 Switch Silences Alarm Output 1"},
    {6, "6 : MODBUS_FCU"},
};
constexpr FieldChoice kParities[] = {{0, "None"}, {1, "Even"}, {2, "Odd"}};

std::string Numbered(const char* prefix, int n, const char* rest) {
    return prefix + std::to_string(n) + rest;
}

// The fields in the order the pages show them, page by page in tab order.
class FieldList {
public:
    std::vector<RegisterField> fields;

    void Word(std::string_view page, std::string name, int reg, FieldKind kind,
              std::span<const FieldChoice> choices = {}) {
        fields.push_back({page, std::move(name), {reg}, 0xFFFF, kind, ToVector(choices)});
    }
    // A choice among the codes of some bits of a register.
    void Bits(std::string_view page, std::string name, int reg, unsigned mask,
              std::span<const FieldChoice> choices) {
        fields.push_back(
            {page, std::move(name), {reg}, mask, FieldKind::Choice, ToVector(choices)});
    }
    void Bit(std::string_view page, std::string name, int reg, unsigned bit, std::string_view off,
             std::string_view on) {
        const FieldChoice choices[] = {{0, off}, {bit, on}};
        Bits(page, std::move(name), reg, bit, choices);
    }
    // A condition box: checked stores its own number, cleared stores "not used".
    void Check(std::string_view page, std::string name, int reg, int code) {
        const FieldChoice choices[] = {{kUnused, "no"}, {static_cast<unsigned>(code), "yes"}};
        Word(page, std::move(name), reg, FieldKind::Choice, choices);
    }
    void Text(std::string name, TextField text) {
        RegisterField field{page::kStart, std::move(name), {}, 0xFFFF, FieldKind::Text, {}};
        for (int r = text.first; r <= text.last; ++r) {
            field.registers.push_back(r);
        }
        fields.push_back(std::move(field));
    }

private:
    static std::vector<FieldChoice> ToVector(std::span<const FieldChoice> choices) {
        return {choices.begin(), choices.end()};
    }
};

void AddStartPage(FieldList& list) {
    list.Text("Configuration File Name", kNameField);
    list.Word(page::kStart, "Set Config File Issue", kIssueRegister, FieldKind::Number);
    list.Text("Description", kDescriptionField);
    list.Text("Date", kDateField);
}

void AddModePage(FieldList& list) {
    list.Word(page::kMode, "Operating Mode", reg::kControlMode, FieldKind::Choice, kOperatingModes);
    list.Word(page::kMode, "Project Mode", reg::kProjectMode, FieldKind::Choice, kProjectModes);
}

void AddFanSettingPage(FieldList& list) {
    const auto p = page::kFanSetting;
    for (int f = 1; f <= reg::kFanCount; ++f) {
        list.Word(p, Numbered("FAN ", f, " Used"), reg::FanUsed(f), FieldKind::Choice, kYesNo);
        list.Word(p, Numbered("FAN ", f, " Pulse / Rev"), reg::FanPulsesPerRev(f),
                  FieldKind::Number);
        list.Word(p, Numbered("FAN ", f, " Stationary PWM"), reg::FanStationaryPwm(f),
                  FieldKind::Number);
        list.Word(p, Numbered("FAN ", f, " Control Type"), reg::FanControlType(f),
                  FieldKind::Choice, kControlTypes);
        list.Word(p, Numbered("FAN ", f, " Ramp Rate"), reg::FanRampRate(f), FieldKind::Number);
        list.Word(p, Numbered("FAN ", f, " Data Sheet Max Fan RPM"), reg::FanMaxRpm(f),
                  FieldKind::Number);
    }
    list.Bit(p, "Dummy Fan Link(Permitted)", kOptionRegister, reg::kDummyFanLinkBit, "no", "yes");
    list.Bit(p, "Daily Fan Run", kOptionRegister, reg::kDailyFanRunBit, "no", "yes");
    list.Word(p, "PWM Freq(KHz)", reg::kPwmFrequency, FieldKind::Number);
}

void AddModBusPage(FieldList& list) {
    const auto p = page::kModBus;
    list.Word(p, "RS485 Address", reg::kRs485Address, FieldKind::Number);
    list.Bit(p, "RS485 Baud Rate", reg::kSerialSettings, reg::kBaud19200Bit, "9600", "19200");
    list.Bits(p, "RS485 Parity", reg::kSerialSettings, reg::kParityMask, kParities);
    list.Word(p, "Customer Number", reg::kCustomerNumber, FieldKind::Number);
    list.Word(p, "Site Number", reg::kSiteNumber, FieldKind::Number);
    list.Word(p, "Building Number", reg::kBuildingNumber, FieldKind::Number);
    list.Word(p, "Unit Number", reg::kUnitNumber, FieldKind::Number);
}

void AddProfilePage(FieldList& list) {
    const auto p = page::kProfile;
    list.Bit(p, "Point Mode", kOptionRegister, reg::kMultiPointBit, "Two Point", "Multi Point");
    for (int f = 1; f <= reg::kFanCount; ++f) {
        list.Word(p, Numbered("Fan ", f, " ON Value"), reg::FanOnValue(f), FieldKind::OnOffValue);
        list.Word(p, Numbered("Fan ", f, " OFF Value"), reg::FanOffValue(f), FieldKind::OnOffValue);
        list.fields.push_back({p,
                               Numbered("Fan ", f, " Active Input"),
                               {reg::FanInput1Active(f), reg::FanInput2Active(f)},
                               0xFFFF,
                               FieldKind::ActiveInput,
                               {}});
        for (int point = 1; point <= reg::kPointCount; ++point) {
            const std::string name = "Fan " + std::to_string(f) + " Point " + std::to_string(point);
            list.Word(p, name + " Input", reg::PointInput(f, point), FieldKind::PointInput);
            list.Word(p, name + " Speed", reg::PointSpeed(f, point), FieldKind::Speed);
        }
    }
}

void AddAlarmPage(FieldList& list) {
    const auto p = page::kAlarms;
    for (int k = 1; k <= reg::kAlarmCount; ++k) {
        const std::string alarm = Numbered("Alarm ", k, " ");
        for (int input = 1; input <= 2; ++input) {
            list.Word(p, alarm + Numbered("Switch Input ", input, ""),
                      reg::AlarmSwitchInput(k, input), FieldKind::Choice, kSwitchLevels);
        }
        for (int f = 1; f <= reg::kFanCount; ++f) {
            list.Check(p, alarm + Numbered("Fan", f, " Fail"), reg::AlarmFanFail(k, f), f);
        }
        for (int s = 1; s <= reg::kSensorCount; ++s) {
            list.Check(p, alarm + Numbered("Sensor ", s, " Fail"), reg::AlarmSensorFail(k, s), s);
        }
        for (int s = 1; s <= reg::kSensorCount; ++s) {
            list.Word(p, alarm + Numbered("Sensor ", s, " Low Limit"), reg::AlarmLowLimit(k, s),
                      FieldKind::SensorValue);
        }
        for (int s = 1; s <= reg::kSensorCount; ++s) {
            list.Word(p, alarm + Numbered("Sensor ", s, " High Limit"), reg::AlarmHighLimit(k, s),
                      FieldKind::SensorValue);
        }
        list.Word(p, alarm + "Hysteresis", reg::AlarmHysteresis(k), FieldKind::Hysteresis);
        list.Word(p, alarm + "Delta", reg::AlarmDelta(k), FieldKind::SensorValue);
        list.Word(p, alarm + "Relay State", reg::AlarmRelayState(k), FieldKind::Choice,
                  kRelayStates);
        for (int f = 1; f <= reg::kFanCount; ++f) {
            list.Word(p, alarm + Numbered("Fan", f, " Action"), reg::AlarmFanAction(k, f),
                      FieldKind::FanAction);
        }
    }
    list.Bit(p, "Enable Power Relay PCB", kOptionRegister, reg::kPowerRelayBit, "no", "yes");
}

void AddLiveDataPage(FieldList& list) {
    list.Bit(page::kLiveData, "Log Data File", kOptionRegister, kLogEnableBit, "no", "yes");
}

// Whatever no page claims, register by register: whole words, or the spare bits of an
// option register, so that no difference between two images goes unnamed.
void AddUnclaimed(FieldList& list) {
    std::vector<unsigned> claimed(kRegisterCount, 0);
    for (const RegisterField& field : list.fields) {
        for (const int r : field.registers) {
            claimed[static_cast<std::size_t>(r)] |= field.mask;
        }
    }
    for (int r = 0; r < kRegisterCount; ++r) {
        const unsigned spare = ~claimed[static_cast<std::size_t>(r)] & 0xFFFFu;
        if (spare == 0xFFFF) {
            list.fields.push_back(
                {{}, Numbered("Register ", r, " (unused)"), {r}, 0xFFFF, FieldKind::Raw, {}});
        } else if (spare != 0) {
            list.fields.push_back(
                {{}, Numbered("Register ", r, " (unused bits)"), {r}, spare, FieldKind::Raw, {}});
        }
    }
}

std::string Hundredths(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%s%d.%02d", value < 0 ? "-" : "", std::abs(value) / 100,
                  std::abs(value) % 100);
    return text;
}

// A sensor or input value in the unit the control mode gives it.
std::string InputValue(int value, bool scaled, const RegisterImage& image) {
    if (reg::IsVoltageMode(image)) {
        return (scaled ? Hundredths(value) : std::to_string(value)) + " V";
    }
    return std::to_string(value) + std::string(kDegrees);
}

std::string SpeedValue(unsigned word, const RegisterImage& image) {
    return std::to_string(word) + (reg::IsRpmMode(image) ? " RPM" : " %");
}

// Control characters would garble a terminal line; they are shown as escapes.
std::string ShowText(const RegisterField& field, const RegisterImage& image) {
    const std::string text =
        image.DecodeTextField({field.registers.front(), field.registers.back()});
    if (text.empty()) {
        return "(empty)";
    }
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            shown += escape;
        } else {
            shown.push_back(c);
        }
    }
    return shown;
}

std::string ShowActiveInput(const RegisterField& field, const RegisterImage& image) {
    const std::string& input1 = image.Text(field.registers[0]);
    const std::string& input2 = image.Text(field.registers[1]);
    const auto a = IsHexWord(input1) ? ScanHex(input1) : std::nullopt;
    const auto b = IsHexWord(input2) ? ScanHex(input2) : std::nullopt;
    if (a && b && *a <= 1 && *b <= 1) {
        static constexpr const char* kShown[2][2] = {{"none", "2"}, {"1", "1 or 2"}};
        return kShown[*a][*b];
    }
    return "(words " + input1 + " " + input2 + ")";
}

std::string ShowChoice(const RegisterField& field, unsigned bits) {
    for (const FieldChoice& choice : field.choices) {
        if (choice.code == bits) {
            return std::string(choice.label);
        }
    }
    return field.IsBitField() ? "(code " + std::to_string(bits) + ")"
                              : "(word " + FormatHexWord(bits) + ")";
}

} // namespace

RegisterMap::RegisterMap() : m_byRegister(kRegisterCount) {
    FieldList list;
    AddStartPage(list);
    AddModePage(list);
    AddFanSettingPage(list);
    AddModBusPage(list);
    AddProfilePage(list);
    AddAlarmPage(list);
    AddLiveDataPage(list);
    AddUnclaimed(list);
    m_fields = std::move(list.fields);
    for (const RegisterField& field : m_fields) {
        for (const int r : field.registers) {
            m_byRegister[static_cast<std::size_t>(r)].push_back(&field);
        }
    }
}

const RegisterMap& RegisterMap::Get() {
    static const RegisterMap map;
    return map;
}

std::span<const RegisterField* const> RegisterMap::FieldsAt(int reg) const {
    if (reg < 0 || reg >= kRegisterCount) {
        return {};
    }
    return m_byRegister[static_cast<std::size_t>(reg)];
}

const RegisterField* RegisterMap::Find(std::string_view name) const {
    for (const RegisterField& field : m_fields) {
        if (field.name == name) {
            return &field;
        }
    }
    return nullptr;
}

unsigned DifferingBits(const std::string& a, const std::string& b) {
    if (IsHexWord(a) && IsHexWord(b)) {
        return (*ScanHex(a) ^ *ScanHex(b)) & 0xFFFFu;
    }
    return a == b ? 0u : 0xFFFFu;
}

std::string ShowFieldValue(const RegisterField& field, const RegisterImage& image) {
    switch (field.kind) {
    case FieldKind::Text:
        return ShowText(field, image);
    case FieldKind::ActiveInput:
        return ShowActiveInput(field, image);
    default:
        break;
    }
    const std::string& text = image.Text(field.registers.front());
    if (!IsHexWord(text)) {
        return "(text \"" + text + "\")";
    }
    const unsigned word = *ScanHex(text);
    const unsigned bits = word & field.mask;
    const bool unused = word == kUnused;
    switch (field.kind) {
    case FieldKind::Number:
        return std::to_string(word);
    case FieldKind::Choice:
        return ShowChoice(field, bits);
    case FieldKind::PointInput:
        return InputValue(SignedWord(word), true, image);
    case FieldKind::OnOffValue:
        return word == reg::kAlwaysOn ? "Always ON" : InputValue(SignedWord(word), false, image);
    case FieldKind::Speed:
        return SpeedValue(word, image);
    case FieldKind::FanAction:
        return unused ? "(not used)" : SpeedValue(word, image);
    case FieldKind::SensorValue:
        return unused ? "(not used)" : InputValue(SignedWord(word), true, image);
    case FieldKind::Hysteresis:
        return unused ? "(not used)" : InputValue(static_cast<int>(word), true, image);
    case FieldKind::Raw:
        return FormatHexWord(bits);
    case FieldKind::Text:
    case FieldKind::ActiveInput:
        break;
    }
    return text;
}

} // namespace orvane
