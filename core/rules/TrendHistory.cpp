#include "core/rules/TrendHistory.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/comms/ReplyParsers.h"
#include "core/image/Conversions.h"

namespace orvane::trend {

namespace {

constexpr int kSetSpeedSeries = 1;
constexpr int kSensorSeries = 8;
constexpr int kSwitchSeries = 10;
constexpr std::int64_t kLongestUpTimeStep = 2;
constexpr std::int64_t kLongestPeriods = 5;
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// "77s" is 77; anything else has no up time.
std::int64_t UpTimeOf(std::string_view text) {
    if (text.size() < 2 || text.back() != 's') {
        return -1;
    }
    std::int64_t seconds = 0;
    for (const char c : text.substr(0, text.size() - 1)) {
        if (c < '0' || c > '9') {
            return -1;
        }
        seconds = seconds * 10 + (c - '0');
    }
    return seconds;
}

} // namespace

SeriesKind KindOf(int series) {
    if (series < kSensorSeries) {
        return series % 2 == kSetSpeedSeries ? SeriesKind::SetSpeed : SeriesKind::Speed;
    }
    if (series < kSwitchSeries) {
        return SeriesKind::Sensor;
    }
    return series < kAlarmsSeries ? SeriesKind::Switch : SeriesKind::Alarms;
}

int SeriesOfChannel(int channel) {
    return std::min(channel, kAlarmsSeries);
}

TrendRecord TrendRecord::FromFields(const LiveFields& fields, std::int64_t timeMs) {
    TrendRecord record;
    record.timeMs = timeMs;
    for (std::size_t i = 0; i < record.texts.size(); ++i) {
        const std::string_view text = Trimmed(fields[i]).substr(0, kLiveFieldMaxLength);
        std::copy(text.begin(), text.end(), record.texts[i].begin());
    }
    record.upTime = UpTimeOf(record.Text(kUpTimeField));
    return record;
}

std::string_view TrendRecord::Text(int field) const {
    const auto& text = texts[static_cast<std::size_t>(field)];
    const auto end = std::find(text.begin(), text.end(), '\0');
    return {text.data(), static_cast<std::size_t>(end - text.begin())};
}

LiveFields TrendRecord::Fields() const {
    LiveFields fields{};
    for (int i = 0; i < kLiveFieldsFilled; ++i) {
        fields[static_cast<std::size_t>(i)] = std::string(Text(i));
    }
    return fields;
}

double ChannelValue(const TrendRecord& record, int channel) {
    if (channel >= kAlarmsSeries) {
        const std::string_view alarms = record.Text(kAlarmsSeries);
        const char digit = static_cast<char>('1' + channel - kAlarmsSeries);
        return alarms.find(digit) != std::string_view::npos ? 1.0 : 0.0;
    }
    const std::string_view text = record.Text(channel);
    switch (KindOf(channel)) {
    case SeriesKind::Speed:
    case SeriesKind::SetSpeed:
        if (const auto value = ScanDecimal(text); value && text.find("FAIL") == text.npos) {
            return *value;
        }
        return kNone;
    case SeriesKind::Sensor:
        if (const auto value = ScanReal(text);
            value && std::isfinite(*value) && text.find("FAIL") == text.npos) {
            return *value;
        }
        return kNone;
    case SeriesKind::Switch:
        return text == "HI" ? 1.0 : text == "LO" ? 0.0 : kNone;
    case SeriesKind::Alarms:
        break;
    }
    return kNone;
}

bool IsBreak(const TrendRecord& before, const TrendRecord& after, std::int64_t periodMs) {
    if (after.timeMs - before.timeMs > kLongestPeriods * periodMs) {
        return true;
    }
    if (before.upTime < 0 || after.upTime < 0) {
        return false; // nothing to go by but the clock
    }
    const std::int64_t step = after.upTime - before.upTime;
    return step < 1 || step > kLongestUpTimeStep;
}

TrendRing::TrendRing(std::size_t capacity) : m_capacity(std::max<std::size_t>(capacity, 1)) {
    m_slots.reserve(m_capacity);
}

void TrendRing::Push(const TrendRecord& record) {
    ++m_pushed;
    if (m_slots.size() < m_capacity) {
        m_slots.push_back(record);
        ++m_size;
        return;
    }
    m_slots[RingSlot(m_first, m_size, m_capacity)] = record;
    if (m_size == m_capacity) {
        m_first = RingSlot(m_first, 1, m_capacity);
    } else {
        ++m_size;
    }
}

std::size_t TrendRing::LowerBound(std::int64_t timeMs) const {
    std::size_t low = 0;
    std::size_t high = m_size;
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        if (At(mid).timeMs < timeMs) {
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    return low;
}

TrendHistory::TrendHistory(std::int64_t recordPeriodMs, std::size_t capacity)
    : m_periodMs(std::max<std::int64_t>(recordPeriodMs, 1)), m_ring(capacity) {}

int TrendHistory::Take(std::string_view receiveText, std::int64_t nowMs) {
    const std::vector<std::string_view> records = FindLiveRecords(receiveText);
    std::size_t next = 0;
    LiveFields fields{};
    for (std::size_t i = records.size(); i-- > 0;) {
        SplitLiveRecord(records[i], fields);
        if (Trimmed(fields[kUpTimeField]) == m_lastUpTime) {
            next = i + 1;
            break;
        }
        fields = {};
    }
    m_batch.clear();
    for (std::size_t i = next; i < records.size(); ++i) {
        fields = {};
        SplitLiveRecord(records[i], fields);
        TrendRecord record = TrendRecord::FromFields(fields, nowMs);
        const std::string_view upTime = record.Text(kUpTimeField);
        if (upTime != m_lastUpTime) { // a record sent twice counts once
            m_lastUpTime = upTime;
            m_batch.push_back(record);
        }
    }
    if (m_batch.empty()) {
        return 0;
    }
    const std::int64_t newest = m_batch.back().upTime;
    // Stamps never fall, so a window of time is found by halving.
    std::int64_t floor =
        m_ring.Empty() ? std::numeric_limits<std::int64_t>::min() : m_ring.Newest().timeMs;
    for (TrendRecord& record : m_batch) {
        if (newest >= 0 && record.upTime >= 0 && record.upTime <= newest) {
            record.timeMs = nowMs - (newest - record.upTime) * m_periodMs;
        }
        // A record that follows on from the last keeps the controller's spacing, so that
        // the moment a tick happens to look does not move it; only when the clocks have
        // drifted apart by more than a pause does the PC's clock set it again.
        if (!m_ring.Empty() && record.upTime >= 0 && m_ring.Newest().upTime >= 0) {
            const TrendRecord& last = m_ring.Newest();
            const std::int64_t step = record.upTime - last.upTime;
            const std::int64_t spaced = last.timeMs + step * m_periodMs;
            if (step >= 1 && step <= kLongestUpTimeStep &&
                std::abs(spaced - record.timeMs) <= kLongestPeriods * m_periodMs) {
                record.timeMs = spaced;
            }
        }
        record.timeMs = floor = std::max(record.timeMs, floor);
        m_ring.Push(record);
    }
    return static_cast<int>(m_batch.size());
}

} // namespace orvane::trend
