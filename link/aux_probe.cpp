#include "link/aux_probe.h"

#include <set>
#include <vector>

#include "platform/timing.h"

inline namespace qvusb {
namespace link {

namespace {

// The 1S replies that end a search, by their first four and their last character.
bool IsMarker(const Bytes& r, char head, char last) {
  for (size_t i = 0; i < 4; ++i) {
    if (r[i] != static_cast<uint8_t>(head)) return false;
  }
  return r[kAuxProbeIdLength - 1] == static_cast<uint8_t>(last);
}

}  // namespace

AuxFamily AuxFamilyOf(const std::string& id) {
  if (id.compare(0, 2, "28") == 0) return AuxFamily::Temperature;
  if (id.compare(0, 2, "55") == 0) return AuxFamily::MatricPressure;
  return AuxFamily::Other;
}

std::optional<std::string> AuxProbeName(const std::string& id) {
  const AuxFamily family = AuxFamilyOf(id);
  if (family == AuxFamily::Other || id.size() < 8) return std::nullopt;
  std::string name(1, family == AuxFamily::Temperature ? 't' : 'p');
  name.append(id, 2, 6);
  return name;
}

AuxSearchResult SearchAuxBus(SerialPort& port, const AuxFrameBuilder& build, const AuxReplyReader& read) {
  AuxSearchResult result;
  if (!WriteFrame(port, build('1', 'W'), 3, std::string(kAuxProbeIdLength, 'F'))) return result;
  std::set<std::string> reported;
  for (int i = 0; i < kMaxAuxSearchReplies; ++i) {
    platform::Sleep(kAuxSearchWaitMs);
    if (!WriteFrame(port, build('1', 'S'), 3)) {
      result.ending = AuxSearchResult::Ending::Interrupted;
      return result;
    }
    platform::Sleep(kAuxSearchWaitMs);
    const std::optional<Bytes> reply = read ? read(kAuxProbeIdLength) : port.Read(kAuxProbeIdLength);
    // A reply cut short has no last character to tell its meaning by.
    if (!reply || reply->size() < kAuxProbeIdLength) {
      result.ending = AuxSearchResult::Ending::Interrupted;
      return result;
    }
    if (IsMarker(*reply, 'F', 'F')) {
      result.ending = AuxSearchResult::Ending::EndOfList;
      return result;
    }
    if (IsMarker(*reply, 'F', 'E')) {
      result.ending = AuxSearchResult::Ending::NoProbe;
      return result;
    }
    if (IsMarker(*reply, '0', '0')) {
      result.ending = AuxSearchResult::Ending::BusError;
      return result;
    }
    const std::string id = reply->Raw().substr(0, kAuxProbeIdLength);
    // A bus lists each probe once: one reported again is a bus that has lost its place.
    if (!reported.insert(id).second) {
      result.ending = AuxSearchResult::Ending::BusError;
      return result;
    }
    if (auto name = AuxProbeName(id)) result.probes.emplace_back(*name, id);
  }
  result.ending = AuxSearchResult::Ending::BusError;
  return result;
}

AuxMeasurement MeasureAux(SerialPort& port, const AuxFrameBuilder& build, const std::string& id) {
  AuxMeasurement m;
  m.family = AuxFamilyOf(id);
  if (!WriteFrame(port, build('1', 'M'), 3, id)) return m;
  platform::Sleep(kAuxMeasureWaitMs);
  if (m.family == AuxFamily::Other) {
    m.outcome = AuxMeasurement::Outcome::OtherFamily;
    return m;
  }
  const bool temperature = m.family == AuxFamily::Temperature;
  if (!WriteFrame(port, build('1', temperature ? 'R' : 'P'), 3)) {
    m.outcome = AuxMeasurement::Outcome::ReadNotSent;
    return m;
  }
  platform::Sleep(kAuxReadWaitMs);
  m.reply = port.Read(temperature ? kAuxTemperatureLength : kAuxPressureLength);
  m.outcome = m.reply ? AuxMeasurement::Outcome::Reply : AuxMeasurement::Outcome::NoReply;
  return m;
}

}  // namespace link
}  // namespace qvusb
