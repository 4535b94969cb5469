// The whole settings read of the modem window ("ON") against the stand-in modem at the real line
// rate: its wall time over the time the dialogue itself takes by design (the sleeps, each read
// ending 200 ms after the last byte, and the bytes written at 57600 baud).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "app/support/services.h"
#include "formatka4/formatka4.h"
#include "link/serial_port.h"
#include "platform/timing.h"
#include "sim/instruments.h"
#include "tests/support/temp_dir.h"
#include "ui/application.h"
#include "ui/headless.h"

namespace {

using Clock = std::chrono::steady_clock;

// The sleeps: before each of the three acknowledgement polls, then before the two settings reads.
constexpr double kSleepsMs = 3 * 300 + 1000 + 300;
// Five reads (three polls, two settings reads), each ending 200 ms after its reply's last byte.
constexpr double kReadTimeoutsMs = 5 * 200;
// On the line from the program: S4 behind the preamble (26), "aten" (5), "at" (3), "at+show1" and
// "at+show2" (9 each), 10 bits a byte at 57600 baud. The replies arrive during the sleeps.
constexpr double kLineMs = (26 + 5 + 3 + 9 + 9) * 10.0 * 1000.0 / 57600.0;

void ModemSettingsRead(benchmark::State& state) {
  testing_support::TempDir ports;
  setenv("QVUSB_PORTS_DIR", ports.Path().c_str(), 1);
  ui::HeadlessBackend backend;
  ui::SetBackend(&backend);
  app::InstallPlatformServices();
  platform::SetTimeScale(1.0);
  {
    sim::Instruments line({"G0001A10"});
    line.LinkAs("COM1", ports.Path());
    line.SetPacing(true);
    link::SerialPort port;
    if (!port.Open("COM1")) {
      state.SkipWithError("cannot open the stand-in port");
    } else {
      TModule4 window(nullptr, &port);
      window.DeviceSelect->SetText("G0001A10");
      window.Show();
      std::vector<double> ratios, withoutLine;
      for (auto _ : state) {
        window.Memo1->Lines().Clear();
        const auto start = Clock::now();
        window.S4Button->Click();
        const double wallMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (window.PinEdit->Text().empty()) {
          state.SkipWithError("the settings were not read");
          break;
        }
        ratios.push_back(wallMs / (kSleepsMs + kReadTimeoutsMs + kLineMs));
        // The pseudo-terminal takes the program's bytes at once, so also without their line time.
        withoutLine.push_back(wallMs / (kSleepsMs + kReadTimeoutsMs));
        state.SetIterationTime(wallMs / 1000.0);
      }
      port.Close();
      if (!ratios.empty()) {
        state.counters["prescribed_ms"] = kSleepsMs + kReadTimeoutsMs + kLineMs;
        state.counters["wall_over_prescribed_max"] = *std::max_element(ratios.begin(), ratios.end());
        std::sort(ratios.begin(), ratios.end());
        state.counters["wall_over_prescribed_median"] = ratios[ratios.size() / 2];
        state.counters["wall_over_sleeps_and_timeouts_max"] = *std::max_element(withoutLine.begin(), withoutLine.end());
      }
    }
  }
  ui::SetBackend(nullptr);
  unsetenv("QVUSB_PORTS_DIR");
}

}  // namespace

BENCHMARK(ModemSettingsRead)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
