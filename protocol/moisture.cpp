#include "protocol/moisture.h"

#include "platform/timing.h"

inline namespace qvusb {
namespace protocol {

namespace {

constexpr uint32_t kMeasureWaitMs = 980;
constexpr uint32_t kReflectogramWaitMs = 769;

}  // namespace

std::optional<MarkedReflectogram> MeasureMoisture(MoistureInstrument& instrument, std::optional<int> channel,
                                                  const MoistureSteps& steps) {
  if (const auto started = instrument.StartMoisture(channel); !started) {
    steps.failed(started.failure());
    return std::nullopt;
  }
  platform::Sleep(kMeasureWaitMs);
  steps.readMoisture();
  // When even the dielectric constant could not be asked for, the markers mean nothing and a
  // reflectogram that cannot be asked for either is no news.
  const bool asked = !steps.readDielectricConstant().failed(Failure::NotSent);
  steps.beforeReflectogram();
  if (const auto sent = instrument.AskReflectogram(channel); !sent) {
    if (asked) steps.failed(sent.failure());
    return std::nullopt;
  }
  platform::Sleep(kReflectogramWaitMs);
  const auto received = instrument.ReceiveReflectogram();
  if (!received) {
    steps.failed(received.failure());
    return std::nullopt;
  }
  return MarkedReflectogram{received->values, received->markers && asked};
}

}  // namespace protocol
}  // namespace qvusb
