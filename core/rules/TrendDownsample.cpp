#include "core/rules/TrendDownsample.h"

#include <algorithm>
#include <cmath>

namespace orvane::trend {

namespace {

std::int64_t FloorDiv(std::int64_t value, std::int64_t by) {
    const std::int64_t quotient = value / by;
    return quotient * by > value ? quotient - 1 : quotient;
}

void Append(Polyline& line, const TrendPoint& point) {
    if (line.empty() || !(line.back() == point)) {
        line.push_back(point);
    }
}

} // namespace

std::int64_t BucketWidth(std::int64_t spanMs, int columns) {
    const std::int64_t count = std::max(columns, 1);
    return std::max<std::int64_t>((std::max<std::int64_t>(spanMs, 0) + count - 1) / count, 1);
}

void TrendDownsampler::Reset(std::int64_t widthMs) {
    m_widthMs = std::max<std::int64_t>(widthMs, 1);
    for (auto& runs : m_runs) {
        runs.clear();
    }
    m_broken.fill(true);
}

void TrendDownsampler::Add(const TrendRecord& record, const TrendRecord* previous,
                           std::int64_t periodMs) {
    const bool recordBreak = previous == nullptr || IsBreak(*previous, record, periodMs);
    const std::int64_t bucket = FloorDiv(record.timeMs, m_widthMs);
    for (int channel = 0; channel < kChannelCount; ++channel) {
        const double value = ChannelValue(record, channel);
        auto& broken = m_broken[static_cast<std::size_t>(channel)];
        if (std::isnan(value)) {
            broken = true;
            continue;
        }
        AddValue(channel, bucket, {record.timeMs, value}, broken || recordBreak);
        broken = false;
    }
}

void TrendDownsampler::AddValue(int channel, std::int64_t bucket, TrendPoint point, bool broken) {
    auto& runs = m_runs[static_cast<std::size_t>(channel)];
    if (!runs.empty() && runs.back().bucket == bucket) {
        Run& last = runs.back();
        if (!broken) {
            last.last = point;
            if (point.value < last.low.value) {
                last.low = point;
            }
            if (point.value > last.high.value) {
                last.high = point;
            }
            return;
        }
        // The last run now has a break on either side within the bucket: it is drawn on
        // its own, merged with another such run of the bucket, so a bucket keeps at most
        // three runs however often its line breaks.
        if (last.breakBefore) {
            if (runs.size() >= 2 && runs[runs.size() - 2].bucket == bucket &&
                runs[runs.size() - 2].isolated) {
                Run& isolated = runs[runs.size() - 2];
                if (last.low.value < isolated.low.value) {
                    isolated.low = last.low;
                }
                if (last.high.value > isolated.high.value) {
                    isolated.high = last.high;
                }
                runs.pop_back();
            } else {
                last.isolated = true;
            }
        }
    }
    runs.push_back({bucket, point, point, point, point, broken, false});
}

void TrendDownsampler::DropBefore(std::int64_t timeMs) {
    for (auto& runs : m_runs) {
        while (!runs.empty() && (runs.front().bucket + 1) * m_widthMs <= timeMs) {
            runs.pop_front();
        }
    }
}

std::vector<Polyline> TrendDownsampler::Lines(int channel) const {
    std::vector<Polyline> lines;
    for (const Run& run : m_runs[static_cast<std::size_t>(channel)]) {
        const bool lowFirst = run.low.timeMs <= run.high.timeMs;
        const TrendPoint& early = lowFirst ? run.low : run.high;
        const TrendPoint& late = lowFirst ? run.high : run.low;
        if (run.isolated) {
            lines.emplace_back();
            Append(lines.back(), early);
            Append(lines.back(), late);
            continue;
        }
        if (run.breakBefore || lines.empty()) {
            lines.emplace_back();
        }
        Polyline& line = lines.back();
        Append(line, run.first);
        Append(line, early);
        Append(line, late);
        Append(line, run.last);
    }
    return lines;
}

std::size_t TrendDownsampler::RunCount() const {
    std::size_t count = 0;
    for (const auto& runs : m_runs) {
        count += runs.size();
    }
    return count;
}

Polyline AsSteps(const Polyline& line) {
    Polyline steps;
    steps.reserve(line.size() * 2);
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (i > 0) {
            Append(steps, {line[i].timeMs, line[i - 1].value});
        }
        Append(steps, line[i]);
    }
    return steps;
}

} // namespace orvane::trend
