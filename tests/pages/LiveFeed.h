#pragma once

#include <array>
#include <string>

#include "tests/core/SequencerFakes.h"

namespace orvane::test {

// The 14 live values as the controller spaces them; fans 1 to 4 run at 1480 set to 55 %.
using LiveValues = std::array<std::string, 14>;
inline LiveValues SampleValues(const std::string& upTime) {
    return {" 1480", " 55",   " 1480", " 55",  " 1480", " 55", " 1480",
            " 55",   " 25.4", " 26.0", " HI ", " LO ",  "0",   upTime};
}

// Sends one record as the controller does (after another, so that the receive text holds a
// whole one) and runs the main tick that splits it; the sequencer must be in "VIEW DATA".
inline void FeedRecord(SequencerRig& rig, const LiveValues& values) {
    std::string record;
    for (const std::string& value : values) {
        record += value + ",";
    }
    record += "\r\n";
    rig.Receive(record + record);
    rig.Tick();
}

} // namespace orvane::test
