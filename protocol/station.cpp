#include "protocol/station.h"

#include "platform/timing.h"
#include "protocol/exchange.h"

inline namespace qvusb {
namespace protocol {

namespace {

constexpr size_t kReflectogramChars = 4 * kReflectogramValues;

// The time the station takes to measure, after MS, MT and MM.
constexpr uint32_t kMeasureWaitsMs[] = {1480, 2980, 980};
// Between a read command and its reply.
constexpr uint32_t kReadWaitMs = 20;
// After RG, until the reflectogram is ready.
constexpr uint32_t kReflectogramWaitMs = 769;
// The time the station measures the probe in water (CW) during a calibration.
constexpr uint32_t kWaterWaitMs = 5500;
// Before and after each 1S; after 1M, and after 1R or 1P.
constexpr uint32_t kAuxSearchWaitMs = 100;
constexpr uint32_t kAuxMeasureWaitMs = 1100;
constexpr uint32_t kAuxReadWaitMs = 100;

// By Measurement and Value alike, the second letter of M<letter> and R<letter>; by Value, the
// length of the value read back.
constexpr char kLetters[] = {'S', 'T', 'M', 'N'};
constexpr int32_t kValueLengths[] = {5, 5, 6, 6};
constexpr int32_t kMaskLength = 4;
constexpr int32_t kAuxTemperatureLength = 5;
constexpr int32_t kAuxPressureLength = 6;

// The 1S replies that end a search, by their first four and their last character.
bool IsMarker(const link::Bytes& r, char head, char last) {
  return r.Raw().compare(0, 4, std::string(4, head)) == 0 && r[kAuxProbeIdLength - 1] == static_cast<uint8_t>(last);
}

AuxFamily AuxFamilyOf(const std::string& id) {
  if (id.compare(0, 2, "28") == 0) return AuxFamily::Temperature;
  if (id.compare(0, 2, "55") == 0) return AuxFamily::MatricPressure;
  return AuxFamily::Other;
}

}  // namespace

std::optional<std::string> AuxProbeName(const std::string& id) {
  const AuxFamily family = AuxFamilyOf(id);
  if (family == AuxFamily::Other || id.size() < 8) return std::nullopt;
  std::string name(1, family == AuxFamily::Temperature ? 't' : 'p');
  return name.append(id, 2, 6);
}

Station::Station(link::SerialPort& port, std::optional<uint8_t> address)
    : CalibrationInstrument(port, kWaterWaitMs), address_(address) {}

std::optional<link::CommandFrame> Station::Frame(char letter1, char letter2, std::optional<int> channel) const {
  if (!address_ || !channel) return std::nullopt;
  return link::MakeFrame(*address_, letter1, letter2, *channel == kDeviceLevel, *channel);
}

Result<Done> Station::Measure(Measurement measurement, std::optional<int> channel) {
  const auto sent = SendFrame(port_, Frame('M', kLetters[static_cast<int>(measurement)], channel), 4);
  if (sent) AwaitMeasurement(measurement);
  return sent;
}

void Station::AwaitMeasurement(Measurement measurement) {
  platform::Sleep(kMeasureWaitsMs[static_cast<int>(measurement)]);
}

Result<link::Bytes> Station::Ask(const std::optional<link::CommandFrame>& frame, uint32_t waitMs, int32_t n,
                                 bool check) {
  if (const auto sent = SendFrame(port_, frame, 3); !sent) return sent.failure();
  platform::Sleep(waitMs);
  return ReadReply(port_, n, check);
}

Result<link::Bytes> Station::ReadValue(Value value, std::optional<int> channel, bool check) {
  const int i = static_cast<int>(value);
  const bool deviceLevel = value == Value::Moisture || value == Value::DielectricConstant;
  return Ask(Frame('R', kLetters[i], deviceLevel ? kDeviceLevel : channel), kReadWaitMs, kValueLengths[i], check);
}

Result<MarkedReflectogram> Station::ReadReflectogram(std::optional<int> /*channel*/) {
  const auto reply =
      Ask(Frame('R', 'G', kDeviceLevel), kReflectogramWaitMs, static_cast<int32_t>(kReflectogramChars), true);
  if (!reply) return reply.failure();
  // A reply cut short has no trustworthy values.
  if (reply->size() < kReflectogramChars) return Failure::TooShort;
  return DecodeReflectogram(reply->Raw());
}

MarkedReflectogram Station::DecodeReflectogram(const std::string& text) {
  MarkedReflectogram decoded{};
  for (size_t i = 0; i < kReflectogramValues; ++i) {
    uint32_t value = 0;
    for (size_t k = 0; k < 4; ++k) {
      const size_t at = 4 * i + k;
      const char c = at < text.size() ? text[at] : '\0';
      // The station's own conversion: '0' off, and 7 more above '9'. Only upper-case digits are
      // sound; any other character still counts (unsigned arithmetic gives the same bits as the
      // signed sum).
      int digit = static_cast<unsigned char>(c) - '0';
      if (digit > 9) digit -= 7;
      if (link::HexDigitValue(c) < 0) decoded.markers = false;
      value = value * 16 + static_cast<uint32_t>(digit);
    }
    decoded.values[i] = value;
  }
  return decoded;
}

Result<link::ProbeTypeMask> Station::ReadProbeTypeMask() {
  const auto reply = Ask(Frame('R', 'H', kDeviceLevel), kReadWaitMs, kMaskLength, true);
  if (!reply) return reply.failure();
  const auto mask = link::ProbeTypeMask::FromDigits(reply->c_str(), reply->size());
  if (!mask) return Failure::Unreadable;
  return *mask;
}

Result<Done> Station::WriteProbeTypeMask(link::ProbeTypeMask mask) {
  const auto digits = mask.Digits();
  return SendFrame(port_, Frame('S', 'P', kDeviceLevel), 3, std::string{digits[0], digits[1], '0', '0'});
}

bool AuxSearch::Take(const Result<link::Bytes>& reply) {
  // A reply cut short has no last character to tell its meaning by.
  if (!reply || reply->size() < kAuxProbeIdLength) return End(Ending::Interrupted);
  if (IsMarker(*reply, 'F', 'F')) return End(Ending::EndOfList);
  if (IsMarker(*reply, 'F', 'E')) return End(Ending::NoProbe);
  if (IsMarker(*reply, '0', '0')) return End(Ending::BusError);
  const std::string id = reply->Raw().substr(0, kAuxProbeIdLength);
  // A bus lists each probe once: one reported again is a bus that has lost its place.
  if (!reported_.insert(id).second) return End(Ending::BusError);
  if (auto name = AuxProbeName(id)) probes.emplace_back(*name, id);
  return reported_.size() < static_cast<size_t>(kMaxAuxSearchReplies) || End(Ending::BusError);
}

AuxSearch Station::SearchAux(bool check) {
  AuxSearch search;
  if (!SendFrame(port_, Frame('1', 'W', kDeviceLevel), 3, std::string(kAuxProbeIdLength, 'F'))) return search;
  do {
    platform::Sleep(kAuxSearchWaitMs);
  } while (search.Take(
      Ask(Frame('1', 'S', kDeviceLevel), kAuxSearchWaitMs, static_cast<int32_t>(kAuxProbeIdLength), check)));
  return search;
}

Result<AuxFamily> Station::MeasureAux(const std::string& id) {
  if (id.size() != kAuxProbeIdLength) return Failure::NotSent;
  if (const auto sent = SendFrame(port_, Frame('1', 'M', kDeviceLevel), 3, id); !sent) return sent.failure();
  platform::Sleep(kAuxMeasureWaitMs);
  return AuxFamilyOf(id);
}

Result<link::Bytes> Station::ReadAux(AuxFamily family, bool check) {
  if (family == AuxFamily::Other) return Failure::NotSent;
  const bool temperature = family == AuxFamily::Temperature;
  return Ask(Frame('1', temperature ? 'R' : 'P', kDeviceLevel), kAuxReadWaitMs,
             temperature ? kAuxTemperatureLength : kAuxPressureLength, check);
}

}  // namespace protocol
}  // namespace qvusb
