// The trend takes every live record once, breaks where they paused, draws what each would show.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <map>
#include <random>
#include <string>
#include <tuple>

#include "core/comms/ReplyParsers.h"
#include "core/reports/CsvWriter.h"
#include "core/reports/LiveCsv.h"
#include "core/reports/TrendCsv.h"
#include "core/rules/TrendDownsample.h"
#include "core/rules/TrendHistory.h"

using namespace orvane;
using namespace orvane::trend;

namespace {

// A record as the controller sends it, with its up time and fan 1 at `rpm`.
std::string Record(long upTime, int rpm = 1480, const char* sensor = " 25.4") {
    return " " + std::to_string(rpm) + ", 55, 1480, 55, 1480, 55,    0,  0," + sensor +
           ", 26.0, HI , LO ,13," + std::to_string(upTime) + "s,\r\n";
}

// The records from `first` to `last` as the receive window shows them, the oldest cut off.
std::string Window(long first, long last) {
    std::string text = Record(first - 1).substr(30);
    for (long up = first; up <= last; ++up) {
        text += Record(up);
    }
    return text;
}

TrendRecord At(std::int64_t timeMs, std::int64_t upTime, int rpm = 1000) {
    LiveFields fields{};
    fields[0] = std::to_string(rpm);
    fields[kUpTimeField] = std::to_string(upTime) + "s";
    return TrendRecord::FromFields(fields, timeMs);
}

} // namespace

TEST(TrendRing, KeepsTheNewestUpToItsCapacity) {
    TrendRing ring(5);
    for (int i = 0; i < 12; ++i) {
        ring.Push(At(1000L * i, i));
    }
    EXPECT_EQ(std::tuple(ring.Size(), ring.At(0).upTime, ring.Newest().upTime),
              std::tuple(5u, 7, 11));
    EXPECT_EQ(ring.LowerBound(8500), 2u); // the record at 9000
    EXPECT_GE(TrendHistory(1000).Records().Capacity(), 24u * 3600) << "a day at a record a second";
}

TEST(TrendHistory, TakesEachRecordOnceByItsUpTime) {
    TrendHistory history(1000);
    EXPECT_EQ(history.Take(Window(10, 12), 50'000), 3);
    EXPECT_EQ(history.Take(Window(10, 12), 50'500), 0); // the same text seen twice
    EXPECT_EQ(history.Take(Window(11, 14), 52'000), 2); // two arrived between looks
    EXPECT_EQ(history.Take("", 53'000), 0);             // cleared by a disconnect
    EXPECT_EQ(history.Take(Window(20, 21), 60'000), 2); // nothing of it seen before
    EXPECT_EQ(history.Take(Window(21, 21) + Record(0) + Record(1), 61'000), 2); // restarted
    EXPECT_EQ(history.Take(Record(1) + Record(1) + Record(2), 62'000), 1);      // sent twice
    EXPECT_EQ(history.Take(Record(2) + Record(3), 63'700), 1); // a late look: spaced by up time
    const TrendRing& ring = history.Records();
    std::string upTimes;
    for (std::size_t i = 0; i < ring.Size(); ++i) {
        upTimes +=
            std::to_string(ring.At(i).upTime) + "@" + std::to_string(ring.At(i).timeMs) + " ";
    }
    // Records taken together are a record period apart, and stamps never fall.
    EXPECT_EQ(upTimes, "10@48000 11@49000 12@50000 13@51000 14@52000 20@59000 21@60000 "
                       "0@60000 1@61000 2@62000 3@63000 ");
}

TEST(TrendHistory, BreaksWhereTheRecordsPaused) {
    const std::tuple<std::int64_t, std::int64_t, std::int64_t, bool> cases[] = {
        {10, 11, 1000, false}, {10, 12, 2000, false}, // a record lost is no pause
        {10, 14, 4000, true},  {10, 3, 1000, true},   // a pause; a restart
        {10, 10, 1000, true},  {10, 11, 5500, true},  // no new up time; late by the clock
        {-1, -1, 5000, false}, {-1, -1, 5001, true},  // unreadable up times: the clock alone
    };
    for (const auto& [upBefore, upAfter, gapMs, breaks] : cases) {
        EXPECT_EQ(IsBreak(At(0, upBefore), At(gapMs, upAfter), 1000), breaks)
            << upBefore << " -> " << upAfter << " after " << gapMs << " ms";
    }
}

TEST(TrendHistory, ValuesOfAFailedOrUnreadableReadingAreNone) {
    LiveFields fields{"1480", "55",   "FAIL", "0",  "",   "",   "",
                      "",     "24.5", "FAIL", "HI", "LO", "36", "5s"};
    const TrendRecord record = TrendRecord::FromFields(fields, 0);
    std::string values;
    for (int channel = 0; channel < kChannelCount; ++channel) {
        values += (channel > 0 ? " " : "") + std::to_string(ChannelValue(record, channel));
    }
    // Alarm outputs 3 and relay 2 (6) are on.
    EXPECT_EQ(values, "1480.000000 55.000000 nan 0.000000 nan nan nan nan 24.500000 nan 1.000000 "
                      "0.000000 0.000000 0.000000 1.000000 0.000000 0.000000 1.000000");
}

// Exported rows are what `orvane-cli log --csv` writes for the same records.
TEST(TrendCsv, RowsAsTheCommandLineWritesThem) {
    constexpr std::int64_t kNow = 1'700'000'000'000;
    TrendHistory history(1000);
    const std::string text = Window(7, 8) + Record(9, 0, "FAIL");
    history.Take(text, kNow);
    std::vector<std::string> rows;
    for (const std::string_view record : FindLiveRecords(text)) {
        LiveFields fields{};
        SplitLiveRecord(record, fields);
        const std::int64_t ago = (9 - std::stol(fields[kUpTimeField])) * 1000;
        const std::chrono::system_clock::time_point when{std::chrono::milliseconds(kNow - ago)};
        rows.push_back(CsvRow(LiveCsvCells(LocalIsoTime(when), fields)));
    }
    ASSERT_EQ(rows.size(), 3u);
    const std::string header = CsvRow(LiveCsvHeader());
    EXPECT_EQ(TrendCsv(history.Records(), 0, kNow), header + rows[0] + rows[1] + rows[2]);
    EXPECT_EQ(TrendCsv(history.Records(), kNow - 1000, kNow - 1000), header + rows[1]);
}

TEST(TrendDownsampler, EachBucketDrawsWhatItsRecordsWould) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> rpm(0, 3000);
    std::vector<TrendRecord> records;
    for (int i = 0; i < 5000; ++i) {
        const int skip = i % 997 == 0 ? 10 : 1; // now and then a pause
        records.push_back(At((records.empty() ? 0 : records.back().timeMs) + 1000L * skip,
                             (records.empty() ? 0 : records.back().upTime) + skip, rpm(random)));
    }
    TrendDownsampler sampler;
    sampler.Reset(BucketWidth(records.back().timeMs, 300));
    for (std::size_t i = 0; i < records.size(); ++i) {
        sampler.Add(records[i], i == 0 ? nullptr : &records[i - 1], 1000);
    }
    const std::vector<Polyline> lines = sampler.Lines(0);
    EXPECT_EQ(lines.size(), 6u); // the start and five pauses
    // Within every bucket the drawn points reach the records' lowest and highest.
    std::map<std::int64_t, std::pair<double, double>> drawn;
    std::map<std::int64_t, std::pair<double, double>> raw;
    const auto widen = [](auto& range, std::int64_t bucket, double value) {
        auto [it, added] = range.try_emplace(bucket, value, value);
        it->second = {std::min(it->second.first, value), std::max(it->second.second, value)};
    };
    std::size_t points = 0;
    for (const Polyline& line : lines) {
        points += line.size();
        for (const TrendPoint& point : line) {
            widen(drawn, point.timeMs / sampler.WidthMs(), point.value);
        }
    }
    for (const TrendRecord& record : records) {
        widen(raw, record.timeMs / sampler.WidthMs(), ChannelValue(record, 0));
    }
    EXPECT_EQ(drawn, raw);
    EXPECT_LE(points, 4u * (301u + 5u));
    // Sliding on forgets the buckets left behind.
    const std::size_t held = sampler.RunCount();
    const std::int64_t cut = records.back().timeMs - 100'000;
    sampler.DropBefore(cut);
    EXPECT_LT(sampler.RunCount(), held / 10);
    EXPECT_GE(sampler.Lines(0).front().front().timeMs, cut - sampler.WidthMs());
}

TEST(TrendDownsampler, ABucketBrokenOftenKeepsThreeRuns) {
    TrendDownsampler sampler;
    sampler.Reset(1'000'000);
    TrendRecord previous = At(999'000, 0, 100); // in the bucket before
    sampler.Add(previous, nullptr, 1000);
    for (int i = 1; i < 200; ++i) {
        // Every other record after a pause: 99 separate pieces in one bucket.
        const TrendRecord record =
            At(1'000'000 + i * 1000L, i % 2 == 0 ? i * 10L : previous.upTime + 1, 100 + i);
        sampler.Add(record, &previous, 1000);
        previous = record;
    }
    const std::vector<Polyline> lines = sampler.Lines(0);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], (Polyline{{999'000, 100}, {1'001'000, 101}}));
    // The pieces between: one stroke from lowest to highest.
    EXPECT_EQ(lines[1], (Polyline{{1'002'000, 102}, {1'197'000, 297}}));
    EXPECT_EQ(lines[2], (Polyline{{1'198'000, 298}, {1'199'000, 299}}));
    EXPECT_EQ(AsSteps({{0, 0}, {5, 1}, {9, 0}}),
              (Polyline{{0, 0}, {5, 0}, {5, 1}, {9, 1}, {9, 0}}));
}
