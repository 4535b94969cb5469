// One exchange against the stand-in instrument at the real line rate: how late the read returns
// after the last byte of the reply arrived, and how much an exchange's wall time exceeds the
// command's wait plus the reply's time on the line.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "link/frame.h"
#include "link/serial_port.h"
#include "platform/timing.h"
#include "sim/instruments.h"
#include "tests/bench/bench_util.h"
#include "tests/support/window_test.h"

namespace {

using bench::LineTimeMs;
using bench::Median;
using bench::Ms;

using Clock = std::chrono::steady_clock;

void Exchange(benchmark::State& state) {
  const auto waitMs = static_cast<uint32_t>(state.range(0));
  const auto replyBytes = static_cast<size_t>(state.range(1));
  testing_support::TempDir ports;
  setenv("QVUSB_PORTS_DIR", ports.Path().c_str(), 1);
  sim::Instruments line;
  line.LinkAs("COM1", ports.Path());
  line.SetPacing(true);
  // The reply starts as the command's wait ends, so the read has to wait for all of it.
  line.SetReplyDelay(std::chrono::milliseconds(waitMs));
  const std::string reply(replyBytes, '7');
  line.SetHandler("RG", [&](const sim::ReceivedFrame&) { return std::optional<std::string>(reply); });

  link::SerialPort port;
  if (!port.Open("COM1")) {
    state.SkipWithError("cannot open the stand-in port");
    return;
  }
  const auto frame = link::MakeFrame(0x01, 'R', 'G', true, 0);
  std::vector<double> latency, overhead;
  for (auto _ : state) {
    const auto start = Clock::now();
    port.Write(frame.data(), 3, true);
    platform::Sleep(waitMs);
    auto got = port.Read(static_cast<int32_t>(replyBytes));
    const auto end = Clock::now();
    if (!got || got->size() != replyBytes) {
      state.SkipWithError("short reply");
      break;
    }
    latency.push_back(Ms(end - line.LastReplyByteAt()));
    overhead.push_back(Ms(end - start) - waitMs - LineTimeMs(replyBytes));
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
  port.Close();
  state.counters["read_after_last_byte_median_ms"] = Median(latency);
  state.counters["read_after_last_byte_max_ms"] =
      latency.empty() ? 0 : *std::max_element(latency.begin(), latency.end());
  state.counters["over_wait_plus_line_time_median_ms"] = Median(overhead);
  unsetenv("QVUSB_PORTS_DIR");
}

}  // namespace

// {wait ms, reply bytes}: a salinity read (RS: 20 ms, 5 bytes) and a larger reply.
BENCHMARK(Exchange)->Args({20, 5})->Args({20, 256})->Args({100, 16})->UseManualTime()->Iterations(50)->Unit(
    benchmark::kMillisecond);

BENCHMARK_MAIN();
