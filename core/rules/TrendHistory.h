#pragma once

// The trend's memory of live records: each record the controller sent, taken once from
// the receive text by its up time, stamped with the PC's clock, kept in a bounded ring.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/comms/LiveFields.h"

namespace orvane::trend {

// Series are the live record's columns up to the alarms, in the record's order: RPM1,
// PWM1, ... PWM4, the two sensors, INP1, INP2, ALARMS. Channels are what is drawn: the
// first twelve series one each, then one per alarm bit (outputs 1 to 4, relays 1 and 2).
inline constexpr int kSeriesCount = 13;
inline constexpr int kAlarmsSeries = 12;
inline constexpr int kAlarmBits = 6;
inline constexpr int kChannelCount = kAlarmsSeries + kAlarmBits;
inline constexpr int kUpTimeField = 13;

enum class SeriesKind { Speed, SetSpeed, Sensor, Switch, Alarms };
SeriesKind KindOf(int series);
int SeriesOfChannel(int channel);

// A record as kept: its fields trimmed, each within the 8 characters a field can hold.
struct TrendRecord {
    std::int64_t timeMs = 0;  // the PC's clock, ms since the epoch
    std::int64_t upTime = -1; // the controller's up time in seconds; -1 when unreadable
    std::array<std::array<char, kLiveFieldMaxLength>, kLiveFieldsFilled> texts{};

    static TrendRecord FromFields(const LiveFields& fields, std::int64_t timeMs);
    std::string_view Text(int field) const;
    // Fields 0 to 13 as trimmed texts, field 14 empty.
    LiveFields Fields() const;
};

// A channel's value in a record; NaN where the record has none (a failed or unreadable
// reading), so that the line breaks there. A switch is 1 high and 0 low, an alarm bit 1 on.
double ChannelValue(const TrendRecord& record, int channel);

// Whether a line must break between two records that follow one another: the up time
// did not step on by one or two seconds (a pause in the records, or a restart), or the
// records are stamped more than five record periods apart.
bool IsBreak(const TrendRecord& before, const TrendRecord& after, std::int64_t periodMs);

// Where the i-th oldest record sits in a ring whose oldest is in slot `first`.
constexpr std::size_t RingSlot(std::size_t first, std::size_t i, std::size_t capacity) {
    return (first + i) % capacity;
}

// Records oldest first, at most `capacity` of them: a new one pushes the oldest out. The
// memory is taken as records arrive, never more than capacity times a record's size.
class TrendRing {
public:
    explicit TrendRing(std::size_t capacity);

    void Push(const TrendRecord& record);
    std::size_t Size() const { return m_size; }
    std::size_t Capacity() const { return m_capacity; }
    bool Empty() const { return m_size == 0; }
    // 0 is the oldest.
    const TrendRecord& At(std::size_t i) const { return m_slots[RingSlot(m_first, i, m_capacity)]; }
    const TrendRecord& Newest() const { return At(m_size - 1); }
    // The first record stamped at or after `timeMs` (Size() when none); stamps never fall.
    std::size_t LowerBound(std::int64_t timeMs) const;
    // Every record ever pushed, also those pushed out since.
    std::uint64_t PushedCount() const { return m_pushed; }
    std::size_t MemoryBytes() const { return m_slots.capacity() * sizeof(TrendRecord); }

private:
    std::size_t m_capacity;
    std::vector<TrendRecord> m_slots;
    std::size_t m_first = 0;
    std::size_t m_size = 0;
    std::uint64_t m_pushed = 0;
};

// 25 hours at a record a second: the last 24 hours stay whole with a controller whose
// clock runs a little fast.
inline constexpr std::size_t kHistoryCapacity = 90'000;

class TrendHistory {
public:
    // `recordPeriodMs`: the PC time between two records, one controller second (shorter
    // when the simulated controller runs fast).
    explicit TrendHistory(std::int64_t recordPeriodMs = 1000,
                          std::size_t capacity = kHistoryCapacity);

    // Takes the records in the receive text that follow the last one taken, told apart by
    // their up time (all of them when that one is no longer there: the text was cleared or
    // has moved on). The newest is stamped `nowMs`, earlier ones a record period per
    // second of up time before it; a record that follows on from the last one taken is
    // stamped as far after it as its up time says, while that stays within five periods
    // of the PC's clock. Stamps never fall. Returns how many.
    int Take(std::string_view receiveText, std::int64_t nowMs);

    const TrendRing& Records() const { return m_ring; }
    std::int64_t RecordPeriodMs() const { return m_periodMs; }

private:
    std::int64_t m_periodMs;
    TrendRing m_ring;
    std::string m_lastUpTime;
    std::vector<TrendRecord> m_batch;
};

} // namespace orvane::trend
