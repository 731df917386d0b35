#include "core/rules/ProfileSet.h"

#include <algorithm>
#include <cmath>

#include "core/image/Conversions.h"

namespace orvane::profile {

namespace {

constexpr double kHundredths = 100.0;

unsigned Word(const RegisterImage& image, int index) {
    return image.Value(index).value_or(0) & 0xFFFFu;
}

double SignedAt(const RegisterImage& image, int index) {
    return double(SignedWord(Word(image, index)));
}

// A whole value as a register holds it: bounded, never wrapped, negatives as the low
// four digits of their two's complement.
unsigned SignedToWord(double whole) {
    const auto bounded = static_cast<int>(std::clamp(whole, -32768.0, 32767.0));
    return static_cast<unsigned>(bounded) & 0xFFFFu;
}

unsigned InputWord(double input, const ProfileType& type) {
    // Rounded, not truncated: 0.29 V is 28.999... hundredths as a double.
    return SignedToWord(type.IsVoltage() ? std::round(input * kHundredths) : std::trunc(input));
}

unsigned SpeedWord(double speed) {
    return static_cast<unsigned>(std::clamp(std::trunc(speed), 0.0, 65535.0));
}

ActiveInput ReadActiveInput(unsigned input1, unsigned input2) {
    if (input1 == 1 && input2 == 0) {
        return ActiveInput::Input1;
    }
    if (input1 == 0 && input2 == 1) {
        return ActiveInput::Input2;
    }
    if (input1 == 1 && input2 == 1) {
        return ActiveInput::Either;
    }
    return ActiveInput::None;
}

} // namespace

bool ProfileSet::ApplyProfileType(const RegisterImage& image) {
    const std::optional<ProfileType> type = ReadProfileType(image);
    if (type) {
        m_type = *type;
    }
    return type.has_value();
}

bool ProfileSet::Reload(const RegisterImage& image) {
    const bool known = ApplyProfileType(image);
    for (int fan = 1; fan <= reg::kFanCount; ++fan) {
        Edit(fan) = LoadRecord(image, fan);
    }
    return known;
}

void ProfileSet::LoadPoints(const RegisterImage& image) {
    for (int fan = 1; fan <= reg::kFanCount; ++fan) {
        LoadPoints(image, Edit(fan), fan);
    }
}

void ProfileSet::LoadPoints(const RegisterImage& image, ProfileRecord& record, int fan) const {
    for (int point = 1; point <= reg::kPointCount; ++point) {
        const double input = SignedAt(image, reg::PointInput(fan, point));
        record.Point(point) = {m_type.IsVoltage() ? input / kHundredths : input,
                               double(Word(image, reg::PointSpeed(fan, point)))};
    }
}

ProfileRecord ProfileSet::LoadRecord(const RegisterImage& image, int fan) const {
    ProfileRecord record;
    LoadPoints(image, record, fan);
    const bool alwaysOn = Word(image, reg::FanOnValue(fan)) == reg::kAlwaysOn ||
                          Word(image, reg::FanOffValue(fan)) == reg::kAlwaysOn;
    record.onOffMode = alwaysOn ? OnOffMode::AlwaysOn : OnOffMode::Switched;
    // ON and OFF are whole numbers in the input's unit, volts unscaled.
    record.onPoint.x = SignedAt(image, reg::FanOnValue(fan));
    record.offValue = SignedAt(image, reg::FanOffValue(fan));
    record.activeInput = ReadActiveInput(Word(image, reg::FanInput1Active(fan)),
                                         Word(image, reg::FanInput2Active(fan)));
    record.pointMode =
        image.OptionBit(reg::kMultiPointBit) ? PointMode::MultiPoint : PointMode::TwoPoint;
    DeriveCurveEnds(record, m_type);
    return record;
}

void ProfileSet::Store(RegisterImage& image) const {
    for (int point = 1; point <= reg::kPointCount; ++point) {
        for (int fan = 1; fan <= reg::kFanCount; ++fan) {
            image.SetValue(reg::PointInput(fan, point),
                           InputWord(Record(fan).Point(point).x, m_type));
        }
    }
    for (int point = 1; point <= reg::kPointCount; ++point) {
        for (int fan = 1; fan <= reg::kFanCount; ++fan) {
            image.SetValue(reg::PointSpeed(fan, point), SpeedWord(Record(fan).Point(point).y));
        }
    }
    bool anyMultiPoint = false;
    for (int fan = 1; fan <= reg::kFanCount; ++fan) {
        const ProfileRecord& record = Record(fan);
        if (record.onOffMode == OnOffMode::AlwaysOn) {
            image.SetValue(reg::FanOnValue(fan), reg::kAlwaysOn);
            image.SetValue(reg::FanOffValue(fan), reg::kAlwaysOn);
        } else {
            image.SetValue(reg::FanOffValue(fan), SignedToWord(StorableOnOff(record.offValue)));
            image.SetValue(reg::FanOnValue(fan), SignedToWord(StorableOnOff(record.OnValue())));
        }
        anyMultiPoint = anyMultiPoint || record.pointMode == PointMode::MultiPoint;
    }
    image.SetOptionBit(reg::kMultiPointBit, anyMultiPoint);
    for (int fan = 1; fan <= reg::kFanCount; ++fan) {
        const ActiveInput input = Record(fan).activeInput;
        if (input == ActiveInput::None) {
            continue;
        }
        image.SetValue(reg::FanInput1Active(fan), input != ActiveInput::Input2 ? 1 : 0);
        image.SetValue(reg::FanInput2Active(fan), input != ActiveInput::Input1 ? 1 : 0);
    }
}

void ProfileSet::Cleanup(int fan) {
    CleanupProfile(Edit(fan), m_type);
}

void ProfileSet::CleanupAll() {
    for (int fan = 1; fan <= reg::kFanCount; ++fan) {
        Cleanup(fan);
    }
}

void ProfileSet::TakeSnapshot(int fan) {
    m_snapshots.at(static_cast<std::size_t>(fan - 1)) = Record(fan);
}

void ProfileSet::CopyFrom(int source, int target, const RegisterImage& image) {
    LoadPoints(image);
    Cleanup(source);
    const std::optional<ProfileRecord>& snapshot =
        m_snapshots.at(static_cast<std::size_t>(source - 1));
    if (snapshot) {
        Edit(target) = *snapshot;
        return;
    }
    ProfileRecord fromImage = LoadRecord(image, source);
    CleanupProfile(fromImage, m_type);
    Edit(target) = fromImage;
}

void ProfileSet::SetPointInput(int fan, int point, std::string_view text) {
    Edit(fan).Point(point).x = PointInputFromText(text, m_type.input);
}

void ProfileSet::SetPointSpeed(int fan, int point, std::string_view text) {
    Edit(fan).Point(point).y = SpeedFromText(text);
}

void ProfileSet::SetOnValue(int fan, std::string_view text) {
    ProfileRecord& record = Edit(fan);
    record.onOffMode = OnOffMode::Switched;
    record.onPoint.x = OnOffFromText(text);
}

void ProfileSet::SetOffValue(int fan, std::string_view text) {
    Edit(fan).offValue = OnOffFromText(text);
}

void ProfileSet::SetAlwaysOn(int fan) {
    ProfileRecord& record = Edit(fan);
    record.onPoint.x = 0.0;
    record.offValue = 0.0;
    record.start = {m_type.InputMin(), record.Point(1).y};
    record.onOffMode = OnOffMode::AlwaysOn;
}

void ProfileSet::ClearAlwaysOn(int fan) {
    ProfileRecord& record = Edit(fan);
    record.start = {1.0, 0.0};
    record.onPoint = {1.0, record.Point(1).y};
    record.onOffMode = OnOffMode::Switched;
    record.offValue = record.OnValue() - 1.0;
}

void ProfileSet::SetPointMode(PointMode mode) {
    for (ProfileRecord& record : m_records) {
        record.pointMode = mode;
    }
}

void ProfileSet::SetActiveInput(int fan, ActiveInput input) {
    Edit(fan).activeInput = input;
}

const ProfileRecord& ProfileSet::Record(int fan) const {
    return m_records.at(static_cast<std::size_t>(fan - 1));
}

ProfileRecord& ProfileSet::Edit(int fan) {
    return m_records.at(static_cast<std::size_t>(fan - 1));
}

} // namespace orvane::profile
