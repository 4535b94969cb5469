#include "sim/station.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace sim {

namespace {

std::string Format(const char* format, double value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Volumetric moisture in per cent from the dielectric constant (the usual cubic for mineral soils).
double MoistureOf(double eps) {
  return 100.0 * (-5.3e-2 + 2.92e-2 * eps - 5.5e-4 * eps * eps + 4.3e-6 * eps * eps * eps);
}

double Sigmoid(double x) { return 1.0 / (1.0 + std::exp(-x)); }

std::string Payload(const ReceivedFrame& frame) {
  if (frame.bytes.size() <= 3) return {};
  return std::string(frame.bytes.begin() + 3, frame.bytes.end());
}

}  // namespace

StationDevice::StationDevice(uint8_t address) {
  for (int n = 1; n <= kChannels; ++n) {
    const double eps = 10.0 + 2.0 * (n - 1);
    readings_[n - 1] = {Format("%.3f", 0.100 + 0.025 * (n - 1)), Format("%5.2f", 20.5 + 0.25 * (n - 1)),
                        Format("%6.3f", MoistureOf(eps)), Format("%6.3f", eps), Format("%4.2f", 1.50 + 0.25 * (n - 1))};
  }
  // Field probes on channels 1 to 4, laboratory probes on 5 to 8.
  mask_ = 0xF0;
  const std::string a = Hex2(address);
  aux_ = {{"280A1B" + a + "0000009F", "21.37"}, {"553C4D" + a + "000000A1", "-153.2"}, {"107788" + a + "000000C3", ""}};
}

std::optional<std::string> StationDevice::Answer(const ReceivedFrame& frame) {
  std::lock_guard lock(mu_);
  std::optional<std::string> reply = AnswerLocked(frame);
  auto f = faults_.find(frame.command);
  if (f != faults_.end()) reply = ApplyFault(UseFault(faults_, f), std::move(reply));
  return reply;
}

std::optional<std::string> StationDevice::AnswerLocked(const ReceivedFrame& frame) {
  const std::string& c = frame.command;
  // The channel of a channel command, 0 when the frame names none.
  int channel = 0;
  if (frame.bytes.size() == 4 && frame.bytes[3] >= '1' && frame.bytes[3] <= '0' + kChannels) {
    channel = frame.bytes[3] - '0';
  }

  if (c == "MS" || c == "MT" || c == "MM") {
    measureFailed_ = channel == 0;
    if (channel != 0) measured_ = channel;
    return std::nullopt;
  }
  const ChannelReadings& last = readings_[measured_ - 1];
  if (c == "RS") return measureFailed_ ? PaddedEr(5) : last.conductivity;
  if (c == "RT") return measureFailed_ ? PaddedEr(5) : last.temperature;
  if (c == "RM") return measureFailed_ ? PaddedEr(6) : last.moisture;
  if (c == "RN") return measureFailed_ ? PaddedEr(6) : last.dielectric;
  if (c == "RG") return measureFailed_ ? PaddedEr(4 * kReflectogramValues) : EncodeReflectogram(measured_);

  if (c == "RH") return Hex2(mask_) + "00";
  if (c == "SP") {
    TakeProbeTypeMask(frame, mask_);
    return std::nullopt;
  }

  // Calibrations: each verification needs its step done on the same channel first.
  if (c == "CL") return std::nullopt;
  if (c == "CA" || c == "CW") {
    if (channel != 0) (c == "CA" ? airDone_ : waterDone_)[channel - 1] = true;
    return std::nullopt;
  }
  if (c == "VL") return channel == 0 ? "E001" : Calibration(c, readings_[channel - 1].cableLength);
  if (c == "VA") return channel == 0 || !airDone_[channel - 1] ? "E002" : Calibration(c, "1.00");
  if (c == "VW") return channel == 0 || !waterDone_[channel - 1] ? "E003" : Calibration(c, "80.2");
  if (c == "CC") {
    if (channel == 0 || !airDone_[channel - 1] || !waterDone_[channel - 1]) return "E004";
    std::string reply = Calibration(c, "OK00");
    if (reply[0] != 'E') airDone_[channel - 1] = waterDone_[channel - 1] = false;
    return reply;
  }

  // AUX bus.
  if (c == "1W") {
    const std::string p = Payload(frame);
    payloads_.push_back(p);
    if (p == std::string(16, 'F')) auxCursor_ = 0;
    return std::nullopt;
  }
  if (c == "1S") return NextAuxReply();
  if (c == "1M") {
    auxSelected_ = Payload(frame);
    return std::nullopt;
  }
  if (c == "1R" || c == "1P") {
    const bool temperature = c == "1R";
    const size_t length = temperature ? 5 : 6;
    const AuxProbe* probe = FindAux(auxSelected_);
    if (!probe || probe->id.compare(0, 2, temperature ? "28" : "55") != 0) return PaddedEr(length);
    return probe->value;
  }
  return std::nullopt;
}

std::string StationDevice::Calibration(const std::string& command, const std::string& normal) const {
  auto r = refused_.find(command);
  return r != refused_.end() && r->second ? "E000" : normal;
}

std::string StationDevice::NextAuxReply() {
  const size_t i = auxCursor_++;
  if (auxReplies_) {
    if (auxReplies_->empty()) return {};
    return (*auxReplies_)[std::min(i, auxReplies_->size() - 1)];
  }
  if (busErrorAfter_ && i >= *busErrorAfter_) return kAuxBusError;
  if (i < aux_.size()) return aux_[i].id;
  return aux_.empty() ? kAuxNoProbe : kAuxEndOfList;
}

const AuxProbe* StationDevice::FindAux(const std::string& id) const {
  for (const AuxProbe& p : aux_) {
    if (p.id == id) return &p;
  }
  return nullptr;
}

std::vector<uint16_t> StationDevice::Reflectogram(int channel) const {
  if (reflectogram_) return *reflectogram_;
  const double eps = std::strtod(readings_[channel - 1].dielectric.c_str(), nullptr);
  // The probe's start and end reflections, in tenths of a trace point.
  const int start = 2000 + 50 * (channel - 1);
  const int end = start + static_cast<int>(std::lround(std::sqrt(std::max(eps, 1.0)) * 700.0));
  std::vector<uint16_t> values(kReflectogramValues);
  for (int i = 0; i < 1024; ++i) {
    double v = 30000.0 - 9000.0 * Sigmoid((i - start / 10.0) / 4.0) + 22000.0 * Sigmoid((i - end / 10.0) / 8.0) +
               250.0 * std::sin(i / 7.0);
    values[i] = static_cast<uint16_t>(std::clamp(v, 0.0, 65535.0));
  }
  values[1024] = static_cast<uint16_t>(start);
  values[1025] = static_cast<uint16_t>(std::min(end, 10230));
  return values;
}

std::string StationDevice::EncodeReflectogram(int channel) const {
  const char* format = style_ == TraceStyle::LowerHex ? "%04x" : "%04X";
  std::string text;
  text.reserve(4 * kReflectogramValues);
  for (uint16_t v : Reflectogram(channel)) {
    char digits[8];
    std::snprintf(digits, sizeof digits, format, v);
    text += digits;
  }
  // A character above 'F' in the middle of the trace.
  if (style_ == TraceStyle::Broken) text[4 * 512 + 1] = 'G';
  return text;
}

void StationDevice::SetProbeTypeMask(uint8_t mask) { SetLocked(mu_, mask_, mask); }

uint8_t StationDevice::ProbeTypeMask() const { return ReadLocked(mu_, mask_); }

void StationDevice::SetReadings(int channel, ChannelReadings readings) {
  std::lock_guard lock(mu_);
  readings_.at(channel - 1) = std::move(readings);
}

ChannelReadings StationDevice::Readings(int channel) const {
  std::lock_guard lock(mu_);
  return readings_.at(channel - 1);
}

void StationDevice::SetReflectogram(std::optional<std::vector<uint16_t>> values) {
  std::lock_guard lock(mu_);
  if (values) values->resize(kReflectogramValues);
  reflectogram_ = std::move(values);
}

void StationDevice::SetTraceStyle(TraceStyle style) { SetLocked(mu_, style_, style); }

void StationDevice::SetRefused(const std::string& command, bool refused) {
  std::lock_guard lock(mu_);
  refused_[command] = refused;
}

void StationDevice::SetAuxProbes(std::vector<AuxProbe> probes) { SetLocked(mu_, aux_, std::move(probes)); }

std::vector<AuxProbe> StationDevice::AuxProbes() const { return ReadLocked(mu_, aux_); }

void StationDevice::SetAuxBusError(std::optional<size_t> afterProbes) { SetLocked(mu_, busErrorAfter_, afterProbes); }

void StationDevice::SetAuxSearchReplies(std::optional<std::vector<std::string>> replies) {
  SetLocked(mu_, auxReplies_, std::move(replies));
}

std::vector<std::string> StationDevice::Payloads() const { return ReadLocked(mu_, payloads_); }

void StationDevice::InjectFault(const std::string& command, Fault fault) {
  std::lock_guard lock(mu_);
  SetFault(faults_, command, std::move(fault));
}

void StationDevice::ClearFaults() {
  std::lock_guard lock(mu_);
  faults_.clear();
}

}  // namespace sim
