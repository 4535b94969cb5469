// The handheld meter under the Qt backend (offscreen), with the stand-in meter answering at the
// real line rate: how close a complete measurement comes to the time its waits and its bytes on
// the line take, and how long plotting a reflectogram in the chart window takes.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QPixmap>
#include <QWidget>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "common/graph.h"
#include "main/main.h"
#include "platform/timing.h"
#include "sim/instruments.h"
#include "sim/meter.h"
#include "tests/bench/bench_util.h"
#include "tests/support/temp_dir.h"
#include "ui/application.h"
#include "ui/backend.h"
#include "ui/menu.h"
#include "ui/qt/qt_backend.h"

namespace {

using bench::LineTimeMs;
using bench::Median;
using bench::Ms;

using Clock = std::chrono::steady_clock;

// The waits of a complete measurement: MS, RS, MT, RT, MM, RM, RN, RG.
constexpr double kWaitsMs = 1480 + 20 + 2980 + 20 + 980 + 20 + 20 + 769;
// Its frames (each after the 23-byte wake preamble) and replies.
constexpr size_t kFrameBytes = 3 * (23 + 4) + 5 * (23 + 3);
constexpr size_t kReplyBytes = 5 + 5 + 6 + 6 + 2052;

QApplication& Qt() {
  static int argc = 1;
  static char name[] = "meter_bench";
  static char* argv[] = {name, nullptr};
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QApplication app(argc, argv);
  return app;
}

// The Qt backend installed for the life of one benchmark.
struct QtWindows {
  QtWindows() {
    Qt();
    ui::SetBackend(&backend);
    ui::App().Reset();
    ui::App().SetTitle("QV USB Rererazuzazu");
  }
  ~QtWindows() {
    ui::App().Reset();
    ui::SetBackend(nullptr);
  }
  ui::qt::QtBackend backend;
};

void CompleteMeasurement(benchmark::State& state) {
  QtWindows windows;
  testing_support::TempDir ports;
  setenv("QVUSB_PORTS_DIR", ports.Path().c_str(), 1);
  sim::Instruments line({"H0001AFE"});
  line.LinkAs("COM1", ports.Path());
  line.SetPacing(true);

  auto main = std::make_unique<TModule1>(nullptr);
  Module1 = main.get();
  main->Show();
  ui::FindAs<ui::MenuItem>(*main, "COM11")->Click();
  main->search->Click();
  main->ChannelSelect->UserPick(0);
  if (!main->DeviceFound()) {
    state.SkipWithError("no meter found");
    return;
  }
  const double expected = kWaitsMs + LineTimeMs(kFrameBytes + kReplyBytes);
  std::vector<double> ratios, overWaits;
  for (auto _ : state) {
    const int before = main->Memo1->Lines().Count();
    const auto start = Clock::now();
    main->MeasAll->Click();
    const auto end = Clock::now();
    if (main->Memo1->Lines().Count() - before != 16 || main->Memo1->Lines().Items().back() != "Measurement complete") {
      state.SkipWithError("the measurement failed");
      break;
    }
    ratios.push_back(Ms(end - start) / expected);
    // The reflectogram comes in during its own wait, so the waits alone bound it more tightly.
    overWaits.push_back(Ms(end - start) / kWaitsMs);
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
  main.reset();
  Module1 = nullptr;
  MeterGraph = nullptr;
  double worst = 0, sum = 0, sumOverWaits = 0;
  for (double r : ratios) {
    worst = std::max(worst, r);
    sum += r;
  }
  for (double r : overWaits) sumOverWaits += r;
  state.counters["waits_plus_line_time_ms"] = expected;
  state.counters["wall_over_expected_mean"] = ratios.empty() ? 0 : sum / ratios.size();
  state.counters["wall_over_expected_max"] = worst;
  state.counters["wall_over_waits_mean"] = overWaits.empty() ? 0 : sumOverWaits / overWaits.size();
  unsetenv("QVUSB_PORTS_DIR");
}

void PlotReflectogram(benchmark::State& state) {
  QtWindows windows;
  const auto sent = sim::MeterDevice::PlausibleReflectogram(200, 234);
  Reflectogram values{};
  std::copy(sent.begin(), sent.end(), values.begin());
  ui::Form owner(nullptr, "Owner");
  TGraph1* graph = nullptr;
  for (auto _ : state) {
    const auto start = Clock::now();
    ShowReflectogram(graph, &owner, values, true, " 23.45", "12.345");
    QWidget* widget = windows.backend.WidgetOf(*graph);
    if (!widget) {
      state.SkipWithError("the chart window has no widget");
      break;
    }
    // Painted in full, as the window's first appearance would.
    const QPixmap painted = widget->grab();
    QApplication::processEvents();
    const auto end = Clock::now();
    benchmark::DoNotOptimize(painted.width());
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
  delete graph;
}

}  // namespace

BENCHMARK(CompleteMeasurement)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(PlotReflectogram)->UseManualTime()->Iterations(50)->Unit(benchmark::kMillisecond);
