// Stand-in instruments on the master side of a pseudo-terminal: the program opens the slave side
// as its serial port. A reader thread records every frame it receives and answers it.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/device.h"
#include "sim/frame_parser.h"

namespace sim {

// A fault applied to the replies of one command.
struct Fault {
  enum class Kind {
    None,
    Silent,  // no reply
    Short,   // only the first `keep` bytes
    Er,      // "ER" padded with blanks to the normal reply's length ("ER" when there is none)
    Custom,  // `bytes` instead of the reply
    Pieces,  // the reply in pieces of `keep` bytes, `pause` apart
    Vanish,  // the first `keep` bytes of the reply; once the program read them the line is gone
             // (see Instruments::PlugIn)
    // The program's write of the command fails after `keep` sound ones, for `times` writes;
    // nothing of it reaches the line and the instrument stays up. "*" counts every write. A
    // fault of the line (Instruments::InjectFault), not of one device.
    LostWrite,
  };
  Kind kind = Kind::None;
  size_t keep = 0;
  std::string bytes;
  int times = -1;  // -1: for ever, else how many replies it affects
  std::chrono::milliseconds pause{20};

  static Fault Silent(int times = -1) { return Make(Kind::Silent, 0, {}, times); }
  static Fault Short(size_t keep, int times = -1) { return Make(Kind::Short, keep, {}, times); }
  static Fault Er(int times = -1) { return Make(Kind::Er, 0, {}, times); }
  static Fault Custom(std::string bytes, int times = -1) { return Make(Kind::Custom, 0, std::move(bytes), times); }
  static Fault LostWrite(size_t after = 0, int times = 1) { return Make(Kind::LostWrite, after, {}, times); }
  static Fault Pieces(size_t keep, std::chrono::milliseconds pause = std::chrono::milliseconds(20), int times = -1) {
    Fault f = Make(Kind::Pieces, keep, {}, times);
    f.pause = pause;
    return f;
  }
  // As an adapter pulled out of its socket in the middle of an exchange.
  static Fault Vanish(size_t keep = 0) { return Make(Kind::Vanish, keep, {}, 1); }

 private:
  static Fault Make(Kind kind, size_t keep, std::string bytes, int times) {
    Fault f;
    f.kind = kind;
    f.keep = keep;
    f.bytes = std::move(bytes);
    f.times = times;
    return f;
  }
};

// The reply shaped by a fault of kind Silent, Short, Er, Custom or Vanish (others leave it as it
// is).
std::optional<std::string> ApplyFault(const Fault& fault, std::optional<std::string> reply);
// "ER" padded with blanks to `length`, as an instrument refuses a reply that long.
std::string PaddedEr(size_t length);

// Faults by command key.
using FaultMap = std::map<std::string, Fault>;
// Holds `f` for the key; a fault of kind None, or for no replies, removes the key's.
void SetFault(FaultMap& faults, const std::string& command, Fault f);
// The fault at `f` for one use: counted down, and removed once used up.
Fault UseFault(FaultMap& faults, FaultMap::iterator f);

class Instruments {
 public:
  using Clock = std::chrono::steady_clock;
  // Returns the reply to a frame, or nothing for no reply. Runs on the reader thread.
  using Handler = std::function<std::optional<std::string>(const ReceivedFrame&)>;

  // `deviceIds`: the identifiers answered to the search, in order; each gets its default device
  // (see SetDeviceIds). Throws std::system_error when no pseudo-terminal can be made.
  explicit Instruments(std::vector<std::string> deviceIds = {});
  // Stops the reader thread, closes the pseudo-terminal and removes the links it made.
  ~Instruments();
  Instruments(const Instruments&) = delete;
  Instruments& operator=(const Instruments&) = delete;

  // The program's end of the line; another one after PlugIn.
  const std::string& SlavePath() const;
  // Makes folder/comName a symlink to the slave (creating the folder); a stale symlink there is
  // replaced. Removed again in the destructor. Throws std::filesystem::filesystem_error.
  void LinkAs(const std::string& comName, const std::string& folder);

  // The identifiers answered to the search. Each one whose address has no device yet gets the
  // default device of its kind installed there.
  void SetDeviceIds(std::vector<std::string> ids);

  // Installs a device at an address, replacing the one there; null removes it.
  void Install(uint8_t address, std::shared_ptr<Device> device);
  std::shared_ptr<Device> DeviceAt(uint8_t address) const;
  // The device at an address as its model type; null when there is none of that type.
  template <class T>
  std::shared_ptr<T> Get(uint8_t address) const {
    return std::dynamic_pointer_cast<T>(DeviceAt(address));
  }
  // Exact bytes to answer the search with; nullopt: the identifiers.
  void SetSearchReplyRaw(std::optional<std::string> raw);

  // The handler for a command key (ReceivedFrame::command); an empty one removes it. A key ending
  // in '*' serves every command key that begins with the rest of it, for text lines with values
  // ("at+nameset*"); an exact key wins, then the longest such prefix. A handler wins over the
  // devices; without one an addressed frame goes to the device at its address, and a text line
  // to the first device (by address) that takes it; else there is no reply. A handler for "B"
  // replaces the built-in search reply.
  void SetHandler(const std::string& command, Handler h);
  // Applied to the replies of that command key (same matching as handlers), or to the program's
  // writes of it for LostWrite; each key holds one of each.
  void InjectFault(const std::string& command, Fault f);
  void ClearFaults();

  // On: replies go out at the line rate, 10 bits per byte at 57600 baud, written in small chunks
  // when each would have arrived.
  void SetPacing(bool lineRate);
  // Extra delay before each reply.
  void SetReplyDelay(std::chrono::microseconds d);
  // Extra delay before the replies of one command key, in place of the one above; as a station
  // that answers only once its measurement is done.
  void SetReplyDelay(const std::string& command, std::chrono::microseconds d);

  // The frames received, each recorded once its device or handler has taken it.
  std::vector<ReceivedFrame> Frames() const;
  void ClearFrames();
  // True once at least n frames were received and taken in by their handler or device (so a
  // device's state shows them; the reply may still be going out), false when the time-out passed
  // first.
  bool WaitForFrames(size_t n, std::chrono::milliseconds timeout) const;
  // Bytes received that made no frame (noise, frames cut short).
  size_t DroppedBytes() const;
  // True once every byte the program wrote has been taken in and answered, false when the
  // time-out passed first. A reply held back on purpose (a delay, the pause between pieces, the
  // line rate) or waiting for the program to read counts as answered, and so does everything
  // after the line vanished.
  bool WaitUntilSettled(std::chrono::milliseconds timeout) const;

  // The line comes back after it vanished, as an adapter plugged in again: a new
  // pseudo-terminal behind the same port links. Devices, handlers, faults and the frames
  // received stay.
  void PlugIn();

  // Unsolicited bytes to the program (paced when pacing is on).
  void Send(const std::string& bytes);
  // When the last byte of the last reply went to the line, set before the program can have read
  // it; the epoch before any reply.
  Clock::time_point LastReplyByteAt() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace sim
