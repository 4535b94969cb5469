// The AUX probe exchange of a station, one for every window and the logger thread: the search
// (1W with 16 'F', then 1S until a marker) and the measurement of one probe (1M with its
// identifier, then 1R or 1P by its family). What the caller logs is its own business: these
// functions only say what happened.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "link/bytes.h"
#include "link/frame.h"
#include "link/serial_port.h"

inline namespace qvusb {
namespace link {

constexpr size_t kAuxProbeIdLength = 16;

// AUX probes by display name ('t' or 'p' and six characters of the identifier) to their
// 16-character identifiers.
using AuxProbeIdMap = std::map<std::string, std::string>;
// Replies of one search at most: a bus that never ends its list must not hang the caller.
constexpr int kMaxAuxSearchReplies = 256;

// Reply lengths and waits of the AUX commands.
constexpr int32_t kAuxTemperatureLength = 5;
constexpr int32_t kAuxPressureLength = 6;
constexpr uint32_t kAuxSearchWaitMs = 100;
constexpr uint32_t kAuxMeasureWaitMs = 1100;
constexpr uint32_t kAuxReadWaitMs = 100;

// Builds the device-level frame of a command ('1' and a letter), or nothing when the station has
// no address; the caller's own builder, so that every frame of a window comes from one place.
using AuxFrameBuilder = std::function<std::optional<CommandFrame>(char letter1, char letter2)>;
// Reads a 1S reply of the given length; nothing counts as a missing reply. A caller that takes
// the station's "ER" refusal as no reply at all says so here; by default every reply is examined.
using AuxReplyReader = std::function<std::optional<Bytes>(int32_t length)>;

enum class AuxFamily { Temperature, MatricPressure, Other };
// By the identifier's first two characters: "28" temperature, "55" matric pressure.
AuxFamily AuxFamilyOf(const std::string& id);
// 't' or 'p' and characters 3 to 8 of the identifier; nothing for another family.
std::optional<std::string> AuxProbeName(const std::string& id);

struct AuxSearchResult {
  enum class Ending {
    NotStarted,   // the 1W start could not be written: nothing else happened
    Interrupted,  // a 1S could not be written, or its reply was missing (by the reader) or short
    EndOfList,    // every probe was reported
    NoProbe,      // no probe on the bus
    BusError,     // the bus failed, reported one identifier twice, or sent more than
                  // kMaxAuxSearchReplies replies
  };
  Ending ending = Ending::NotStarted;
  // Name and identifier of each temperature and matric-pressure probe, in the order reported
  // (names may repeat, identifiers do not); probes of other families are left out.
  std::vector<std::pair<std::string, std::string>> probes;
};

// Without a reader the replies are read from the port unchecked, so that an "ER" reply is just
// one of another family and skipped.
AuxSearchResult SearchAuxBus(SerialPort& port, const AuxFrameBuilder& build, const AuxReplyReader& read = {});

struct AuxMeasurement {
  enum class Outcome {
    NotSent,      // 1M could not be written
    OtherFamily,  // 1M went out; a probe of another family has nothing to read
    ReadNotSent,  // 1R or 1P could not be written
    NoReply,      // nothing came back
    Reply,        // `reply` holds what came, unchecked ("ER" first is the station's refusal)
  };
  Outcome outcome = Outcome::NotSent;
  AuxFamily family = AuxFamily::Other;
  std::optional<Bytes> reply;
};

// Measures the probe with this 16-character identifier.
AuxMeasurement MeasureAux(SerialPort& port, const AuxFrameBuilder& build, const std::string& id);

}  // namespace link
}  // namespace qvusb
