#pragma once

#include "core/rules/ProfileRecord.h"

namespace orvane::profile {

// Puts a fan's curve in order, silently, the only validation the profiles get:
// speeds within the type's limit, point 8 within the input range, every input above
// the one before it by at least one step (the ON value below point 1, the OFF value
// below the ON value), then the start and ON points of the drawn curve derived.
// Inputs are compared at the resolution of the step (whole degrees, tenths of a
// volt); the ON and OFF values, which their registers hold in whole units, in whole
// units.
void CleanupProfile(ProfileRecord& record, const ProfileType& type);

// The drawn curve's start, ON-point speed and end taken from the values as they
// are, without correcting anything.
void DeriveCurveEnds(ProfileRecord& record, const ProfileType& type);

} // namespace orvane::profile
