#include "sim/meter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sim {

namespace {

// Where the probe's rods begin on the trace, in samples of 0.01 ns.
constexpr int kRodsStart = 200;
// Rod length in metres, for the echo's travel time.
constexpr double kRodLength = 0.10;

std::string Format(const char* format, double value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// The plausible values of a channel: each channel a little different, all within what soil gives.
std::string PlausibleSalinity(int channel) { return Format("%5.3f", 0.045 + 0.003 * (channel - 1)); }
std::string PlausibleTemperature(int channel) { return Format("%5.2f", 21.5 + 0.2 * (channel - 1)); }
std::string PlausibleMoisture(int channel) { return Format("%6.2f", 23.45 + 1.1 * (channel - 1)); }
double PlausibleEps(int channel) { return 12.345 + 0.6 * (channel - 1); }
std::string PlausibleDielectric(int channel) { return Format("%6.3f", PlausibleEps(channel)); }

// Samples of 0.01 ns the pulse needs along the rods and back at this dielectric constant.
int TravelSamples(double eps) { return static_cast<int>(std::lround(2.0 * kRodLength * std::sqrt(eps) / 0.3 * 100.0)); }

double Sigmoid(double x) { return 1.0 / (1.0 + std::exp(-x)); }

// The channel digit of a 4-byte frame (1 when it is not '1' to '8').
int ChannelOf(const ReceivedFrame& frame) {
  if (frame.bytes.size() < 4) return 1;
  const int c = frame.bytes[3] - '0';
  return c >= 1 && c <= 8 ? c : 1;
}

}  // namespace

MeterDevice::MeterDevice() = default;

MeterDevice::Values MeterDevice::PlausibleReflectogram(int start, int travel) {
  Values v{};
  const int end = start + travel;
  for (int i = 0; i < 1024; ++i) {
    // The echo as it is drawn, upwards; the meter sends it the other way up (the chart's amplitude
    // axis is inverted).
    double echo = 1500.0;
    echo += 1200.0 * std::exp(-std::pow((i - 40) / 8.0, 2));    // the launched pulse
    echo += 500.0 * std::exp(-std::pow((i - start) / 4.0, 2));  // the probe head
    echo -= 600.0 * Sigmoid((i - start - 6) / 3.0);             // into the wet soil
    echo += 1800.0 * Sigmoid((i - end - 20) / 8.0);             // the open end of the rods
    if (i > end + 20) echo += 60.0 * std::sin((i - end - 20) / 9.0) * std::exp(-(i - end - 20) / 120.0);
    v[static_cast<size_t>(i)] = static_cast<uint16_t>(std::clamp(std::lround(4000.0 - echo), 0L, 65535L));
  }
  // The markers: the probe head, and where the echo of the rods' end begins to rise.
  v[1024] = static_cast<uint16_t>(start * 10 + 5);
  v[1025] = static_cast<uint16_t>(end * 10 + 5);
  return v;
}

std::optional<std::string> MeterDevice::Answer(const ReceivedFrame& frame) {
  if (frame.preamble == 0) return memory_.Answer(frame);
  return AnswerFrame(frame);
}

std::optional<std::string> MeterDevice::AnswerFrame(const ReceivedFrame& frame) {
  std::lock_guard lock(mu_);
  const std::string& c = frame.command;
  if (c == "MS" || c == "MT" || c == "MM") {
    channels_[c[1]] = ChannelOf(frame);
    return std::nullopt;
  }
  if (c == "RS") return salinitySet_.value_or(PlausibleSalinity(channels_.at('S')));
  if (c == "RT") return temperatureSet_.value_or(PlausibleTemperature(channels_.at('T')));
  if (c == "RM") return moistureSet_.value_or(PlausibleMoisture(channels_.at('M')));
  if (c == "RN") return dielectricSet_.value_or(PlausibleDielectric(channels_.at('M')));
  if (c == "RG") {
    const Values v = CurrentReflectogram();
    std::string bytes;
    bytes.reserve(2 * v.size());
    for (uint16_t value : v) {
      bytes += static_cast<char>(value >> 8);
      bytes += static_cast<char>(value & 0xFF);
    }
    return bytes;
  }
  // Calibrations: the action commands (CL, CA, CW) answer nothing, their results come with the V
  // commands.
  if (auto result = results_.find(c); result != results_.end()) return result->second;
  if (c == "1W") {
    if (frame.bytes.size() >= 19) payloads_.emplace_back(frame.bytes.begin() + 3, frame.bytes.begin() + 19);
    return std::nullopt;
  }
  if (c == "RH") return probeReply_.value_or(Hex2(probeMask_) + "00");
  if (c == "SP") TakeProbeTypeMask(frame, probeMask_);
  return std::nullopt;
}

void MeterDevice::SetSalinity(std::string text) { SetLocked(mu_, salinitySet_, std::move(text)); }

void MeterDevice::SetProbeTemperature(std::string text) { SetLocked(mu_, temperatureSet_, std::move(text)); }

void MeterDevice::SetMoisture(std::string text) { SetLocked(mu_, moistureSet_, std::move(text)); }

void MeterDevice::SetDielectricConstant(std::string text) { SetLocked(mu_, dielectricSet_, std::move(text)); }

void MeterDevice::SetReflectogram(const Values& values) {
  std::lock_guard lock(mu_);
  reflectogramSet_ = values;
  markersSet_.reset();
}

void MeterDevice::SetMarkers(uint16_t first, uint16_t second) {
  std::lock_guard lock(mu_);
  markersSet_ = std::array<uint16_t, 2>{first, second};
}

MeterDevice::Values MeterDevice::Reflectogram() const {
  std::lock_guard lock(mu_);
  return CurrentReflectogram();
}

MeterDevice::Values MeterDevice::CurrentReflectogram() const {
  Values v =
      reflectogramSet_.value_or(PlausibleReflectogram(kRodsStart, TravelSamples(PlausibleEps(channels_.at('M')))));
  if (markersSet_) {
    v[1024] = (*markersSet_)[0];
    v[1025] = (*markersSet_)[1];
  }
  return v;
}

void MeterDevice::SetCalibrationResult(const std::string& command, std::string reply) {
  std::lock_guard lock(mu_);
  if (auto result = results_.find(command); result != results_.end()) result->second = std::move(reply);
}

void MeterDevice::SetProbeTypeMask(uint8_t mask) { SetLocked(mu_, probeMask_, mask); }

uint8_t MeterDevice::ProbeTypeMask() const { return ReadLocked(mu_, probeMask_); }

void MeterDevice::SetProbeTypeReply(std::optional<std::string> reply) { SetLocked(mu_, probeReply_, std::move(reply)); }

std::vector<std::string> MeterDevice::Payloads() const { return ReadLocked(mu_, payloads_); }

}  // namespace sim
