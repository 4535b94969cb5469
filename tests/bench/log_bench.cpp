// The program log on the Qt backend (offscreen): what appending one line costs when the log
// already holds 1,000, 10,000 or 100,000 lines, the call alone and with the repaint that follows
// it during the next wait.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/qt/qt_backend.h"
#include "ui/ui.h"

namespace {

using Clock = std::chrono::steady_clock;

void Append(benchmark::State& state, bool repaint) {
  const auto size = static_cast<size_t>(state.range(0));
  ui::Form form(nullptr, "Log");
  form.SetClientSize(420, 400);
  auto* memo = new ui::Memo(&form, "Memo1", &form);
  memo->SetBounds(8, 8, 404, 384);
  memo->SetReadOnly(true);
  memo->SetScrollBars(ui::Memo::ScrollBars::Vertical);
  form.Show();
  std::vector<std::string> lines;
  for (size_t i = 0; i < size; ++i) lines.push_back("Measured salinity: 0." + std::to_string(i % 1000) + " S/m");
  memo->Lines().Assign(lines);
  QCoreApplication::processEvents();
  double totalMs = 0;
  size_t n = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    memo->Lines().Add("Receiving measurement results");
    if (repaint) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const auto end = Clock::now();
    totalMs += std::chrono::duration<double, std::milli>(end - start).count();
    ++n;
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
  state.counters["ms_per_appended_line"] = n ? totalMs / n : 0;
}

void AppendLine(benchmark::State& state) { Append(state, false); }
void AppendLineAndRepaint(benchmark::State& state) { Append(state, true); }

}  // namespace

void Sizes(benchmark::internal::Benchmark* b) {
  for (int lines : {10, 1000, 10000, 100000}) b->Arg(lines);
  b->Iterations(500)->UseManualTime()->Unit(benchmark::kMicrosecond);
}

BENCHMARK(AppendLine)->Apply(Sizes);
BENCHMARK(AppendLineAndRepaint)->Apply(Sizes);

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  ui::qt::QtBackend backend;
  ui::SetBackend(&backend);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  ui::SetBackend(nullptr);
  return 0;
}
