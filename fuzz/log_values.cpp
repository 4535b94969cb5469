// A station's data line in its log file, from whatever replies the station sends: every value one
// column under its header, none lost and none split, and no control byte in the line.
#include <cstdint>

#include "formatka3/data_logger.h"
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

  std::string line = "0 " + logline::TimeText(std::tm{}, true) + " ";
  for (size_t column = 2; column + 1 <= Columns(header); ++column) {
    const bool calibrated = in.ConsumeBool();
    const auto reply = DataLogger::ValueText(link::Bytes(in.ConsumeRandomLengthString(8)), in.ConsumeIntegralInRange(5, 6));
    const std::string value = logline::CommaToPoint(reply.value_or(logline::kFailed));
    const double a = in.ConsumeFloatingPoint<double>();
    line += (calibrated ? logline::CalibratedText(logline::ParseNumber(value), a, a, a) : value) + " ";
  }
  FUZZ_CHECK(Columns(line) == Columns(header));
  for (char c : line) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
  return 0;
}
