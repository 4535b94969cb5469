// The moisture measurement, one sequence for the handheld meter and the stations: MM on the
// channel and the time the instrument takes to measure, the moisture and dielectric-constant
// reads, then RG, the time the instrument takes to make it ready, and the reflectogram.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "protocol/result.h"

inline namespace qvusb {
namespace protocol {

// 1024 trace samples (sample i lies at 0.01 * i ns), then the two marker positions.
constexpr size_t kTraceLength = 1024;
constexpr size_t kFirstMarker = kTraceLength;
constexpr size_t kSecondMarker = kTraceLength + 1;
constexpr size_t kReflectogramValues = kTraceLength + 2;
using Reflectogram = std::array<uint32_t, kReflectogramValues>;

// The trace sample a marker position points at (position / 10, truncated), or nothing when that
// lies past the trace: such a marker cannot stand on the trace and is not drawn.
std::optional<size_t> MarkerSample(uint32_t position);

// A reflectogram and whether its two markers mean something: not when a value came garbled, nor
// when the measurement's dielectric constant could not be asked for.
struct MarkedReflectogram {
  Reflectogram values;
  bool markers = true;
};

// What the sequence asks of the instrument, each exchange addressed as that instrument wants it
// (the meter's RG on the channel, a station's device-level) and with its own waits.
class MoistureInstrument {
 public:
  virtual Result<Done> MeasureMoisture(std::optional<int> channel) = 0;
  virtual Result<MarkedReflectogram> ReadReflectogram(std::optional<int> channel) = 0;

 protected:
  ~MoistureInstrument() = default;
};

// What the window lends the sequence: its two reads (each with its own lines and kept value, as
// its Read menu has them too), its lines before the reflectogram, and the failure that ended the
// measurement early.
struct MoistureSteps {
  std::function<Result<std::string>()> readMoisture;
  std::function<Result<std::string>()> readDielectricConstant;
  std::function<void()> beforeReflectogram;
  // Not called when RG could not be sent after RN could not either: the window told that once.
  std::function<void(Failure)> failed;
};

// The reflectogram, or nothing when the measurement ended early.
std::optional<MarkedReflectogram> RunMoistureMeasurement(MoistureInstrument& instrument, std::optional<int> channel,
                                                         const MoistureSteps& steps);

}  // namespace protocol
}  // namespace qvusb
