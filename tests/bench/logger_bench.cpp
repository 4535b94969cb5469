// The logger thread against stand-in stations pacing their replies at 57600 baud: a pass's wall
// time against its own waits and line time, the drift of the pass start times over 100 passes,
// and a long run with faults injected at random.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "formatka3/data_logger.h"
#include "platform/timing.h"
#include "sim/instruments.h"
#include "tests/bench/bench_util.h"
#include "tests/support/logger_long_run.h"
#include "tests/support/logger_test.h"
#include "tests/support/time_scale.h"

namespace {

using bench::LineTimeMs;
using bench::Median;
using bench::Ms;

using Clock = std::chrono::steady_clock;

// Two stations on a paced line, COM1 open, the log files in a folder of their own.
struct PacedLine {
  PacedLine() : line({"T0000101", "T0000202"}) {
    setenv("QVUSB_PORTS_DIR", ports.Path().c_str(), 1);
    line.LinkAs("COM1", ports.Path());
    line.SetPacing(true);
    opened = port.Open("COM1");
  }
  ~PacedLine() {
    port.Close();
    unsetenv("QVUSB_PORTS_DIR");
  }
  // Runs until `passes` passes have started after the first, then stops. The arrival times of
  // the frames that open each pass: the first station's `opener` on channel 1.
  std::vector<Clock::time_point> Run(StationMap& stations, int32_t waitMs, size_t passes, const std::string& opener) {
    auto logger = std::make_unique<DataLogger>(waitMs, &port, &stations);
    std::vector<Clock::time_point> starts;
    while (starts.size() <= passes) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      starts = Times(0x01, opener);
    }
    testing_support::StopLogger(logger);
    return starts;
  }
  // When each frame of this command (and channel 1 where it has a channel) to the station arrived.
  std::vector<Clock::time_point> Times(uint8_t address, const std::string& command) const {
    std::vector<Clock::time_point> times;
    for (const auto& f : line.Frames()) {
      if (f.address == address && f.command == command && (f.bytes.size() != 4 || f.bytes[3] == '1')) {
        times.push_back(f.at);
      }
    }
    return times;
  }

  testing_support::TempDir ports;
  testing_support::InTempFolder folder;
  sim::Instruments line;
  link::SerialPort port;
  bool opened = false;
};

std::unique_ptr<DeviceConfig> Config(bool everything) {
  auto c = testing_support::NothingLogged();
  if (!everything) {
    c->SetSigma(0, true);
    return c;
  }
  c->SetCal(0, true);
  c->SetCal(1, true);
  for (int i = 0; i < 8; ++i) {
    c->SetEpsi(i, true);
    c->SetTeta(i, true);
    c->SetSigma(i, true);
    c->SetTemp(i, true);
  }
  return c;
}

void AddProbes(DeviceConfig& c, const std::string& address) {
  for (int i = 0; i < 8; ++i) {
    c.SetAux1Name(i, "t0A1B" + address);
    c.SetAux1Id(i, "280A1B" + address + "0000009F");
    c.SetAux2Name(i, "p3C4D" + address);
    c.SetAux2Id(i, "553C4D" + address + "000000A1");
  }
}

// Per channel logging everything: MM 980, RN 20, RM 20, MS 1480 + RS 20, MT 2980 + RT 20, and
// two AUX probes of 1100 + 100 each; the replies 6 + 6 + 5 + 5 + 5 + 6 bytes.
constexpr double kChannelWaitsMs = 980 + 20 + 20 + 1480 + 20 + 2980 + 20 + 2 * (1100 + 100);
constexpr size_t kChannelReplyBytes = 6 + 6 + 5 + 5 + 5 + 6;

void LoggerPassEverything(benchmark::State& state) {
  const double scale = 0.1;
  testing_support::ScopedTimeScale timeScale(scale);
  PacedLine paced;
  if (!paced.opened) return state.SkipWithError("cannot open the stand-in port");
  StationMap stations;
  stations["T0000101"] = Config(true);
  AddProbes(*stations["T0000101"], "01");
  stations["T0000202"] = Config(true);
  AddProbes(*stations["T0000202"], "02");
  const double waitsMs = 2 * 8 * kChannelWaitsMs * scale;
  const double lineMs = LineTimeMs(kChannelReplyBytes * 2 * 8);
  std::vector<double> ratios;
  for (auto _ : state) {
    const auto starts = paced.Run(stations, 0, 2, "MM");
    for (size_t i = 0; i + 1 < starts.size(); ++i) ratios.push_back(Ms(starts[i + 1] - starts[i]) / (waitsMs + lineMs));
    state.SetIterationTime(std::chrono::duration<double>(starts.back() - starts.front()).count());
  }
  state.counters["pass_waits_ms"] = waitsMs;
  state.counters["pass_line_ms"] = lineMs;
  state.counters["wall_over_waits_plus_line_max"] =
      ratios.empty() ? 0 : *std::max_element(ratios.begin(), ratios.end());
  state.counters["wall_over_waits_plus_line_min"] =
      ratios.empty() ? 0 : *std::min_element(ratios.begin(), ratios.end());
}

void LoggerDrift100Passes(benchmark::State& state) {
  const double scale = 0.01;
  const int32_t waitMs = 1000;
  testing_support::ScopedTimeScale timeScale(scale);
  PacedLine paced;
  if (!paced.opened) return state.SkipWithError("cannot open the stand-in port");
  StationMap stations;
  stations["T0000101"] = Config(false);  // conductivity of channel 1: MS 1480 + RS 20, 5 bytes
  stations["T0000202"] = Config(false);
  const double spacingMs = (2 * (1480 + 20) + waitMs) * scale + LineTimeMs(size_t{2} * 5);
  for (auto _ : state) {
    const auto starts = paced.Run(stations, waitMs, 100, "MS");
    const double driftMs = Ms(starts[100] - starts[0]) - 100 * spacingMs;
    // Against each pass's own time: its last exchange (the second station's RS, its wait and its
    // 5 bytes on the line), then the thread's wait.
    const auto lastReads = paced.Times(0x02, "RS");
    double ownDriftMs = 0;
    for (size_t i = 0; i < 100 && i < lastReads.size(); ++i) {
      const double end = Ms(lastReads[i] - starts[0]) + 20 * scale + LineTimeMs(5);
      ownDriftMs += Ms(starts[i + 1] - starts[0]) - (end + waitMs * scale);
    }
    state.counters["drift_vs_own_time_plus_wait_per_pass_ms"] = ownDriftMs / 100;
    state.counters["spacing_ms"] = spacingMs;
    state.counters["drift_over_100_passes_ms"] = driftMs;
    state.counters["drift_per_pass_ms"] = driftMs / 100;
    state.counters["drift_fraction"] = driftMs / (100 * spacingMs);
    state.SetIterationTime(std::chrono::duration<double>(starts[100] - starts[0]).count());
  }
}

void LoggerLongRunWithFaults(benchmark::State& state) {
  const auto passes = static_cast<uint64_t>(state.range(0));
  for (auto _ : state) {
    const auto f = testing_support::LongLoggerRun(passes, 7, 5);
    state.counters["passes"] = static_cast<double>(f.passes);
    state.counters["lines_station1"] = static_cast<double>(f.lines[0]);
    state.counters["lines_station2"] = static_cast<double>(f.lines[1]);
    state.counters["lost"] = static_cast<double>(f.lost);
    state.counters["broken"] = static_cast<double>(f.broken);
    state.counters["faults"] = static_cast<double>(f.faults);
    state.counters["err01"] = static_cast<double>(f.err01);
    state.counters["rss_kb_at_tenth"] = static_cast<double>(f.rssKbEarly);
    state.counters["rss_kb_end"] = static_cast<double>(f.rssKbEnd);
    state.SetIterationTime(f.seconds);
  }
}

}  // namespace

BENCHMARK(LoggerPassEverything)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(LoggerDrift100Passes)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(LoggerLongRunWithFaults)->Arg(10000)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
