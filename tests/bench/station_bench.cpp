// The station window against a stand-in station that answers at the line rate, each reply only
// once the program's wait for it is over: how close the wall time of an exchange comes to its
// waits plus the replies' time on the line (1.00 would be no overhead at all).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/support/services.h"
#include "formatka2/formatka2.h"
#include "main/main.h"
#include "platform/timing.h"
#include "protocol/station.h"
#include "sim/instruments.h"
#include "tests/bench/bench_util.h"
#include "tests/support/temp_dir.h"
#include "ui/application.h"
#include "ui/headless.h"

namespace {

using bench::LineTimeMs;
using bench::Median;
using bench::Ms;

using Clock = std::chrono::steady_clock;

// The program with its station window open on a paced stand-in station, on the headless backend.
class StationBench {
 public:
  StationBench() {
    ui::SetBackend(&backend_);
    ui::App().Reset();
    app::InstallPlatformServices();
    platform::SetTimeScale(1.0);
    setenv("QVUSB_PORTS_DIR", ports_.Path().c_str(), 1);
    line_ = std::make_unique<sim::Instruments>(std::vector<std::string>{"T0001A01"});
    line_->LinkAs("COM1", ports_.Path());
    line_->SetPacing(true);
    // Each reply starts when the program's wait for it ends.
    for (const auto& [command, ms] : kWaits) line_->SetReplyDelay(command, std::chrono::milliseconds(ms));
    main_ = new TModule1(nullptr);
    Module1 = main_;
    ui::App().SetMainForm(main_);
    main_->Show();
    ui::FindAs<ui::MenuItem>(*main_, "COM11")->Click();
    main_->search->Click();
    if (StationWindow) StationWindow->ChannelSelect->UserType("1");
  }
  ~StationBench() {
    delete main_;
    line_.reset();
    unsetenv("QVUSB_PORTS_DIR");
    ui::App().Reset();
    ui::SetBackend(nullptr);
  }
  StationBench(const StationBench&) = delete;
  StationBench& operator=(const StationBench&) = delete;
  TModule2* Window() const { return StationWindow; }

  static constexpr std::pair<const char*, int> kWaits[] = {{"RM", 20}, {"RN", 20}, {"RG", 769}, {"1S", 100}};

 private:
  ui::HeadlessBackend backend_;
  testing_support::TempDir ports_;
  std::unique_ptr<sim::Instruments> line_;
  TModule1* main_ = nullptr;
};

// Runs `action` on the station window and reports wall time over `expectedMs`.
template <class Action>
void Measure(benchmark::State& state, double expectedMs, Action action) {
  StationBench bench;
  TModule2* w = bench.Window();
  if (!w) {
    state.SkipWithError("no station window");
    return;
  }
  std::vector<double> ratios;
  for (auto _ : state) {
    const auto start = Clock::now();
    action(*w);
    const auto end = Clock::now();
    ratios.push_back(Ms(end - start) / expectedMs);
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
  state.counters["expected_ms"] = expectedMs;
  state.counters["wall_over_expected_median"] = Median(ratios);
  state.counters["wall_over_expected_max"] = ratios.empty() ? 0 : *std::max_element(ratios.begin(), ratios.end());
}

// RG: 769 ms, then 4104 characters, through the station object the window measures with.
void StationReflectogram(benchmark::State& state) {
  Measure(state, 769 + LineTimeMs(4104), [](TModule2& w) {
    protocol::Station station(*w.Port, link::DeviceAddress(w.DeviceSelect->Text()));
    if (!station.ReadReflectogram(protocol::Station::kDeviceLevel)) std::abort();
  });
}

// "Measure Moisture" of one channel: MM, 980 ms; RM and RN, 20 ms and 6 characters each; RG,
// 769 ms and 4104 characters; then the chart.
void StationMeasureMoisture(benchmark::State& state) {
  Measure(state, 980 + 2 * (20 + LineTimeMs(6)) + 769 + LineTimeMs(4104), [](TModule2& w) { w.MeasMoi->Click(); });
}

// "Search AUX" with three probes on the bus: 1W, then four times 100 ms, 1S, 100 ms and 16
// characters.
void StationAuxSearch(benchmark::State& state) {
  Measure(state, 4 * (200 + LineTimeMs(16)), [](TModule2& w) { w.AUXstart->Click(); });
}

}  // namespace

BENCHMARK(StationReflectogram)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(StationMeasureMoisture)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(StationAuxSearch)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
