#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "core/rules/ProfileCleanup.h"
#include "core/rules/ProfileRecord.h"

namespace orvane::profile {

// The four fans' curves as the "Multi Point/Speed" page holds them between stores:
// loaded from the register image, edited, cleaned up and written back only on
// demand. Fans count from 1. Every value stays within what its register can hold,
// and a voltage loaded and stored again unedited gives back the same word.
class ProfileSet {
public:
    // The type named by register 183, when it names one (otherwise the type stays as
    // it was); then every field of every record from the image. True when the type
    // was known.
    bool Reload(const RegisterImage& image);
    // Register 183's type; false, changing nothing, when it names none.
    bool ApplyProfileType(const RegisterImage& image);
    // Inputs and speeds of all points of all fans; unstored point edits are dropped,
    // the ON/OFF values, modes and inputs stay.
    void LoadPoints(const RegisterImage& image);
    // Writes all four records: points, speeds, ON/OFF values (or the Always ON
    // marker), the point mode bit and the active inputs. The records stay as they are.
    void Store(RegisterImage& image) const;

    void Cleanup(int fan);
    void CleanupAll();

    // The copy source: the fan's record as it is now.
    void TakeSnapshot(int fan);
    // "Copy From": points reloaded, the source cleaned up, then the source's snapshot
    // (the source's profile in the image when it has none yet) becomes the target's.
    void CopyFrom(int source, int target, const RegisterImage& image);

    // Typed entries, bounded to what their registers hold.
    void SetPointInput(int fan, int point, std::string_view text);
    void SetPointSpeed(int fan, int point, std::string_view text);
    // A typed ON value also switches the fan by its ON/OFF values.
    void SetOnValue(int fan, std::string_view text);
    void SetOffValue(int fan, std::string_view text);
    // "Always ON ?" checked: no ON/OFF values, the curve starts at the input minimum.
    void SetAlwaysOn(int fan);
    // "Always ON ?" cleared: switched at 1, off at 0.
    void ClearAlwaysOn(int fan);
    // One point mode for all four fans.
    void SetPointMode(PointMode mode);
    void SetActiveInput(int fan, ActiveInput input);

    const ProfileRecord& Record(int fan) const;
    const ProfileType& Type() const { return m_type; }

private:
    ProfileRecord& Edit(int fan);
    ProfileRecord LoadRecord(const RegisterImage& image, int fan) const;
    void LoadPoints(const RegisterImage& image, ProfileRecord& record, int fan) const;

    ProfileType m_type;
    std::array<ProfileRecord, reg::kFanCount> m_records{};
    std::array<std::optional<ProfileRecord>, reg::kFanCount> m_snapshots{};
};

} // namespace orvane::profile
