// The receive path per byte with a full window, and the live record parser on a full buffer.
#include <benchmark/benchmark.h>

#include <string>

#include "core/comms/ReceiveBuffer.h"
#include "core/comms/ReplyParsers.h"

using namespace orvane;

namespace {

std::string LiveStream(std::size_t length) {
    std::string out;
    for (int uptime = 1; out.size() < length; ++uptime) {
        out += "\n1200,  45,   0,   0,   0,   0,   0,   0, 25.1, 26.0,  LO ,  LO ,    ," +
               std::to_string(uptime) + "s,\r";
    }
    return out;
}

void Fill(ReceiveBuffer& buffer, const std::string& bytes) {
    for (const char c : bytes) {
        buffer.OnReceiveChar(static_cast<std::uint8_t>(c));
    }
}

void ReceiveCharFullWindow(benchmark::State& state) {
    ReceiveBuffer buffer;
    const std::string stream = LiveStream(4096);
    Fill(buffer, stream);
    std::size_t i = 0;
    for (auto _ : state) {
        buffer.OnReceiveChar(static_cast<std::uint8_t>(stream[i]));
        i = (i + 1) % stream.size();
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations());
}
BENCHMARK(ReceiveCharFullWindow);

void ReceiveCharFilling(benchmark::State& state) {
    const std::string stream = LiveStream(1800);
    for (auto _ : state) {
        ReceiveBuffer buffer;
        Fill(buffer, stream.substr(0, 1800));
        benchmark::DoNotOptimize(buffer.Count());
    }
    state.SetBytesProcessed(state.iterations() * 1800);
}
BENCHMARK(ReceiveCharFilling);

void ParseLiveRecordFullBuffer(benchmark::State& state) {
    ReceiveBuffer buffer;
    buffer.Clear();
    Fill(buffer, LiveStream(4096));
    LiveFields fields{};
    for (auto _ : state) {
        const auto record = FindLiveRecord(buffer.Text());
        if (record) {
            SplitLiveRecord(*record, fields);
        }
        benchmark::DoNotOptimize(fields);
    }
}
BENCHMARK(ParseLiveRecordFullBuffer);

// The worst case: a full buffer with no terminator at all is searched to its start.
void ParseLiveRecordNoRecord(benchmark::State& state) {
    ReceiveBuffer buffer;
    buffer.Clear();
    Fill(buffer, std::string(1800, 'x'));
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindLiveRecord(buffer.Text()));
    }
}
BENCHMARK(ParseLiveRecordNoRecord);

} // namespace
