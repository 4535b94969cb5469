// A multi-channel station over the program's one serial port and its address: its eight TDR
// channels, probe-type mask, reflectogram and AUX bus, with their reply lengths and waits. Every
// exchange returns its value or which failure happened; what the user is told, the caller's.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "link/bytes.h"
#include "link/frame.h"
#include "link/probe_type_mask.h"
#include "link/serial_port.h"
#include "protocol/calibration.h"
#include "protocol/moisture.h"
#include "protocol/result.h"

inline namespace qvusb {
namespace protocol {

// AUX probes by display name to their identifiers.
using AuxProbeIdMap = std::map<std::string, std::string>;
constexpr size_t kAuxProbeIdLength = 16;
// Replies of one search at most: a bus that never ends its list must not hang the caller.
constexpr int kMaxAuxSearchReplies = 256;

// By the identifier's first two characters: "28" temperature, "55" matric pressure.
enum class AuxFamily { Temperature, MatricPressure, Other };
// 't' or 'p' and characters 3 to 8 of the identifier; nothing for another family.
std::optional<std::string> AuxProbeName(const std::string& id);

// An AUX search as its 1S replies tell it.
class AuxSearch {
 public:
  enum class Ending {
    NotStarted,   // the 1W start could not be written: nothing else happened
    Interrupted,  // a 1S could not be written, or its reply was missing, refused or short
    EndOfList,    // every probe was reported
    NoProbe,      // no probe on the bus
    BusError,     // the bus failed, repeated a probe, or listed more than kMaxAuxSearchReplies
  };
  // One 1S reply; false when it ended the search.
  bool Take(const Result<link::Bytes>& reply);

  Ending ending = Ending::NotStarted;
  // Name and identifier of each temperature and matric-pressure probe, in the order reported
  // (names may repeat, identifiers do not); probes of other families are left out.
  std::vector<std::pair<std::string, std::string>> probes;

 private:
  bool End(Ending e) {
    ending = e;
    return false;
  }

  std::set<std::string> reported_;
};

class Station final : public MoistureInstrument, public CalibrationInstrument {
 public:
  // What M<letter> has a channel measure, and what R<letter> reads back.
  enum class Measurement { Conductivity, ProbeTemperature, Moisture };
  enum class Value { Conductivity, ProbeTemperature, Moisture, DielectricConstant };

  // `address`: nothing when the station's identifier has none; nothing can be sent then.
  Station(link::SerialPort& port, std::optional<uint8_t> address);

  std::optional<link::CommandFrame> Frame(char letter1, char letter2, std::optional<int> channel) const override;

  // M<letter> on the channel, then the time the station takes to measure; that time alone, for a
  // caller who waits for it whether or not the frame went out.
  Result<Done> Measure(Measurement measurement, std::optional<int> channel);
  void AwaitMeasurement(Measurement measurement);
  Result<Done> MeasureMoisture(std::optional<int> channel) override { return Measure(Measurement::Moisture, channel); }
  // The last measured value, as it came (NULs included). RS and RT are channel commands whose
  // channel digit is not sent; RM and RN are device-level.
  Result<link::Bytes> ReadValue(Value value, std::optional<int> channel, bool check);
  // RG (device-level), the time the station takes to make it ready, and its 4104 characters (four
  // hexadecimal digits a value, most significant first), checked; TooShort when fewer came.
  Result<MarkedReflectogram> ReadReflectogram(std::optional<int> channel) override;
  // A character that is no upper-case hexadecimal digit still counts with its digit, but leaves
  // the markers out.
  static MarkedReflectogram DecodeReflectogram(const std::string& text);

  // The probe-type mask (RH), Unreadable unless it comes as two upper-case hexadecimal digits;
  // and SP with a mask.
  Result<link::ProbeTypeMask> ReadProbeTypeMask();
  Result<Done> WriteProbeTypeMask(link::ProbeTypeMask mask);

  // The AUX search: 1W with 16 'F', then 1S until a marker. Checked, an "ER" reply interrupts
  // the search as a missing one; unchecked it is a probe of another family, skipped.
  AuxSearch SearchAux(bool check);
  // 1M with the probe's identifier, then the time the probe takes; its family says what can be
  // read. NotSent, with nothing sent, for an identifier that is not 16 characters long.
  Result<AuxFamily> MeasureAux(const std::string& id);
  // 1R or 1P by the family, and its value; NotSent for a family that has nothing to read.
  Result<link::Bytes> ReadAux(AuxFamily family, bool check);

 private:
  // A frame's first 3 bytes, the wait, and n characters of reply.
  Result<link::Bytes> Ask(const std::optional<link::CommandFrame>& frame, uint32_t waitMs, int32_t n, bool check);

  std::optional<uint8_t> address_;
};

}  // namespace protocol
}  // namespace qvusb
