#include "tests/support/logger_long_run.h"

#include <chrono>
#include <fstream>
#include <memory>
#include <random>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "formatka3/data_logger.h"
#include "platform/timing.h"
#include "sim/instruments.h"
#include "sim/station.h"
#include "tests/support/logger_test.h"
#include "tests/support/time_scale.h"

namespace testing_support {

namespace {

long ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

// Each station: eps with both calibrations and moisture on channel 1, conductivity on channel 2,
// its temperature and pressure probes on channel 3.
std::unique_ptr<DeviceConfig> Logged(const std::string& address) {
  auto c = NothingLogged();
  c->SetEpsi(0, true);
  c->SetTeta(0, true);
  c->SetCal(0, true);
  c->SetCal(1, true);
  c->SetA0(0, 1);
  c->SetA1(0, 2);
  c->SetA2(0, 0.5);
  c->SetA1(1, 1);
  c->SetSigma(1, true);
  c->SetAux1Name(2, "t0A1B" + address);
  c->SetAux1Id(2, "280A1B" + address + "0000009F");
  c->SetAux2Name(2, "p3C4D" + address);
  c->SetAux2Id(2, "553C4D" + address + "000000A1");
  return c;
}

sim::Fault RandomFault(std::mt19937& random) {
  switch (random() % 4) {
    case 0:
      return sim::Fault::Silent(1);
    case 1:
      return sim::Fault::Short(random() % 5, 1);
    case 2:
      return sim::Fault::Er(1);
    default: {
      // Any bytes at all: separators, blanks, line breaks, NULs.
      static const char kChars[] = "0123456789.,-+ ER\r\n\x01\xff";
      static const std::string chars = std::string(kChars, sizeof kChars);  // the NUL too
      std::string bytes(1 + random() % 8, ' ');
      for (char& c : bytes) c = chars[random() % chars.size()];
      return sim::Fault::Custom(bytes, 1);
    }
  }
}

void Check(const std::string& file, uint64_t passes, uint64_t& lines, LongRunFigures& f) {
  static const std::regex first(R"(0 \d{4}-\d{2}-\d{2}/\d{2}:\d{2}:\d{2} .*)");
  static const std::regex later(R"((\d+) \d{2}:\d{2}:\d{2} .*)");
  const std::vector<std::string> all = CrlfLines(file);
  const std::string text = ReadAll(file);
  if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) ++f.broken;  // last line cut
  uint64_t expected = 0;
  for (size_t i = 1; i < all.size(); ++i, ++expected) {
    const std::string& l = all[i];
    std::smatch m;
    if (l.find_first_of("\r\n") != std::string::npos) ++f.broken;
    if (i == 1 ? !std::regex_match(l, first) : !std::regex_match(l, m, later)) {
      ++f.broken;
      continue;
    }
    if (i > 1 && std::stoull(m[1].str()) != expected) ++f.lost;
    for (size_t p = l.find("ERR01"); p != std::string::npos; p = l.find("ERR01", p + 1)) ++f.err01;
  }
  lines = all.empty() ? 0 : all.size() - 1;
  if (lines < passes) f.lost += passes - lines;
  if (all.empty() || all[0] != "counter time/date E1 Cal11 Cal12 M1 S2 X31 X32 ") ++f.broken;
}

}  // namespace

LongRunFigures LongLoggerRun(uint64_t passes, unsigned seed, uint32_t timeoutFloorMs) {
  LongRunFigures f;
  TempDir ports;
  InTempFolder folder;
  setenv("QVUSB_PORTS_DIR", ports.Path().c_str(), 1);
  ScopedTimeScale scale(0.0001);
  platform::SetTimeoutFloor(timeoutFloorMs);
  {
    sim::Instruments line({"T0000101", "T0000202"});
    line.LinkAs("COM1", ports.Path());
    std::shared_ptr<sim::StationDevice> stations[] = {line.Get<sim::StationDevice>(0x01),
                                                      line.Get<sim::StationDevice>(0x02)};
    link::SerialPort port;
    if (!port.Open("COM1")) return f;
    StationMap map;
    map["T0000101"] = Logged("01");
    map["T0000202"] = Logged("02");

    std::mt19937 random(seed);
    const char* const commands[] = {"RN", "RM", "RS", "1R", "1P"};
    const auto start = std::chrono::steady_clock::now();
    auto logger = std::make_unique<DataLogger>(0, &port, &map);
    while (logger->Passes() < passes) {
      if (f.rssKbEarly == 0 && logger->Passes() >= passes / 10) f.rssKbEarly = ResidentKb();
      // About one fault every other pass, at a random point of it.
      const uint64_t due = logger->Passes() + random() % 4;
      while (logger->Passes() < due) std::this_thread::sleep_for(std::chrono::microseconds(50));
      std::this_thread::sleep_for(std::chrono::microseconds(random() % 500));
      stations[random() % 2]->InjectFault(commands[random() % 5], RandomFault(random));
      ++f.faults;
      line.ClearFrames();  // the stand-in's own record of the line would grow without end
    }
    f.passes = StopLogger(logger);
    f.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    f.rssKbEnd = ResidentKb();
    port.Close();
  }
  platform::SetTimeoutFloor(60);
  unsetenv("QVUSB_PORTS_DIR");
  Check("T0000101.txt", f.passes, f.lines[0], f);
  Check("T0000202.txt", f.passes, f.lines[1], f);
  return f;
}

}  // namespace testing_support
