// A station's data line in its log file, from whatever replies the station sends: every value one
// column under its header, none lost and none split, and no control byte before the line end.
#include <cstdint>

#include "formatka3/log_line.h"
#include "fuzz/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  DeviceConfig config;
  for (int i = 0; i < 8; ++i) {
    config.SetEpsi(i, in.ConsumeBool());
    config.SetTeta(i, in.ConsumeBool());
    config.SetSigma(i, in.ConsumeBool());
    config.SetTemp(i, in.ConsumeBool());
    config.SetAux1Name(i, in.ConsumeBool() ? "t0A1B2C" : "no probe");
    config.SetAux2Name(i, in.ConsumeBool() ? "p0A1B2C" : "AUX probe");
  }
  config.SetCal(0, in.ConsumeBool());
  config.SetCal(1, in.ConsumeBool());
  const std::string header = logline::HeaderLine(config);

  // Each value as the logger takes it: a reply's bytes (NULs too, 6 at most), or a calibrated
  // moisture from the number at its start.
  std::vector<std::string> values;
  while (values.size() + 2 < Columns(header)) {
    const bool calibrated = in.ConsumeBool();
    const std::string reply = logline::CommaToPoint(in.ConsumeRandomLengthString(6));
    const double a = in.ConsumeFloatingPoint<double>();
    values.push_back(calibrated ? logline::CalibratedText(logline::ParseNumber(reply), a, a, a) : reply);
  }
  const std::string line =
      logline::DataLine(in.ConsumeIntegral<uint64_t>(), logline::TimeText(std::tm{}, true), values);
  FUZZ_CHECK(Columns(line) == Columns(header) && line.ends_with(logline::kLineEnd));
  for (size_t i = 0; i + 2 < line.size(); ++i)
    FUZZ_CHECK(static_cast<unsigned char>(line[i]) >= 0x20 && line[i] != 0x7F);
  return 0;
}
