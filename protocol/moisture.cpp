#include "protocol/moisture.h"

inline namespace qvusb {
namespace protocol {

std::optional<MarkedReflectogram> RunMoistureMeasurement(MoistureInstrument& instrument, std::optional<int> channel,
                                                         const MoistureSteps& steps) {
  if (const auto measured = instrument.MeasureMoisture(channel); !measured) {
    steps.failed(measured.failure());
    return std::nullopt;
  }
  steps.readMoisture();
  // When even the dielectric constant could not be asked for, the markers mean nothing and a
  // reflectogram that cannot be asked for either is no news.
  const bool asked = !steps.readDielectricConstant().failed(Failure::NotSent);
  steps.beforeReflectogram();
  const auto received = instrument.ReadReflectogram(channel);
  if (!received) {
    if (asked || !received.failed(Failure::NotSent)) steps.failed(received.failure());
    return std::nullopt;
  }
  return MarkedReflectogram{received->values, received->markers && asked};
}

std::optional<size_t> MarkerSample(uint32_t position) {
  const size_t sample = position / 10u;
  if (sample >= kTraceLength) return std::nullopt;
  return sample;
}

}  // namespace protocol
}  // namespace qvusb
