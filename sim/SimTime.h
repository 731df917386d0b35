#pragma once

#include <chrono>

namespace orvane::sim {

// The simulated controller's own clock: time since the model was created. A time
// scale makes it run faster than the wall clock.
using SimTime = std::chrono::milliseconds;

} // namespace orvane::sim
