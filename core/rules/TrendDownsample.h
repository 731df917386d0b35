#pragma once

// The trend drawn at the screen's resolution: each channel summarised per bucket of time
// (one pixel column wide), so that what is drawn grows with the width of the chart, not
// with the length of the history, and a new record touches only the newest bucket.

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

#include "core/rules/TrendHistory.h"

namespace orvane::trend {

struct TrendPoint {
    std::int64_t timeMs = 0;
    double value = 0.0;
    bool operator==(const TrendPoint&) const = default;
};
// Points joined by a line; a new polyline starts after every break.
using Polyline = std::vector<TrendPoint>;

// Bucket width for a span drawn across `columns` pixel columns: at least 1 ms.
std::int64_t BucketWidth(std::int64_t spanMs, int columns);

class TrendDownsampler {
public:
    // Empties it; buckets of `widthMs` aligned to multiples of it, so that a window that
    // slides keeps its buckets.
    void Reset(std::int64_t widthMs);
    // Records in the order they were stamped; `previous` is the record before (nullptr
    // for none), to tell breaks by.
    void Add(const TrendRecord& record, const TrendRecord* previous, std::int64_t periodMs);
    // Forgets the buckets that end at or before `timeMs`.
    void DropBefore(std::int64_t timeMs);

    // What to draw of a channel: per bucket and unbroken run the first, lowest, highest
    // and last values at their own times, so that it looks as if every record were
    // drawn. Where a bucket holds several breaks, the runs between them become one
    // stroke from their lowest to their highest value.
    std::vector<Polyline> Lines(int channel) const;
    std::int64_t WidthMs() const { return m_widthMs; }
    // How many summaries it holds, for its memory.
    std::size_t RunCount() const;

private:
    struct Run {
        std::int64_t bucket = 0;
        TrendPoint first, low, high, last;
        bool breakBefore = true;
        bool isolated = false; // breaks on both sides within its bucket
    };
    void AddValue(int channel, std::int64_t bucket, TrendPoint point, bool broken);

    std::int64_t m_widthMs = 1;
    std::array<std::deque<Run>, kChannelCount> m_runs;
    std::array<bool, kChannelCount> m_broken{};
};

// Steps for an on/off line: each value holds until the next point's time.
Polyline AsSteps(const Polyline& line);

} // namespace orvane::trend
