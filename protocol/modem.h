// The GPRS modem: switched by its addressed mode frames behind the wake preamble, configured in
// AT text lines while it is on. Its settings replies are cut into values here; the rules of
// that cutting are plain functions, callable without a port.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/frame.h"
#include "link/serial_port.h"
#include "protocol/result.h"

inline namespace qvusb {
namespace protocol {

class Modem {
 public:
  // The modes the frames S<digit> switch to.
  enum class Mode : char { Off = '0', Script = '1', Server = '2', AtCommands = '4' };
  // The two settings replies, and the set commands in the order the settings are written.
  enum class Shown { Settings, Pin };
  enum class Setting { Name, Gprs, Ftp, TimeServer, Pin };

  // Before each poll of an answer, and before each of the two settings reads: those replies come
  // in one piece and are read after a fixed time, not awaited.
  static constexpr uint32_t kPollWaitMs = 300;
  static constexpr uint32_t kShow1WaitMs = 1000;
  static constexpr uint32_t kShow2WaitMs = 300;
  // An answer is looked for in this many polls; one more is read and reported, not searched.
  static constexpr int kSearchedPolls = 60;
  // A settings reply is read in one read of at most this many bytes.
  static constexpr size_t kSettingsReadLimit = 256;

  // Where one value stands in a settings reply: right after `start`, up to the two-character line
  // end before `end` (the end of the reply when `end` is empty). `lengthMarker` is the text whose
  // position the value's length is counted from: `start` itself, or for some keys the bare name.
  struct ValueMarkers {
    const char* start;
    const char* end;
    const char* lengthMarker;
  };
  // The eight values of the reply to "at+show1": name, GPRS (1) to (3), FTP address, login,
  // password, time server.
  static const std::array<ValueMarkers, 8> kShow1Values;
  // The PIN in the reply to "at+show2".
  static const ValueMarkers kShow2Pin;

  // Told, after each poll that brought something, the whole text gathered since the wait began.
  using Heard = std::function<void(const std::string& gathered)>;
  // `address`: nothing when the modem's identifier has none; nothing can be sent then.
  Modem(link::SerialPort& port, std::optional<uint8_t> address, Heard heard = {});

  // {address, letter, digit, 0}.
  std::optional<link::CommandFrame> Frame(char letter, char digit) const;
  // The mode frame alone; nothing is read back.
  Result<Done> Switch(Mode mode);
  // Polls until the text gathered holds `expected`; NoReply after the last poll.
  Result<Done> AwaitReply(const std::string& expected);
  // On into AT mode, and listening: S4 answered by "VORN", "aten" and "at" each by "OK".
  Result<Done> Wake();
  // The values of a settings reply ("at+show1": kShow1Values; "at+show2": the PIN), empty where
  // the reply lacks one; NoReply when it holds none.
  Result<std::vector<std::string>> Show(Shown shown);
  // One set command with its values, acknowledged by "OK".
  Result<Done> Set(Setting setting, const std::vector<std::string>& values);

  // The value the markers point at in `reply`, up to its line end at the latest; nothing when the
  // reply does not hold it: the start or end marker missing (the positions would then point at
  // unrelated text), or the last value of a reply cut by the read (no CR or LF after it).
  static std::optional<std::string> FindValue(const std::string& reply, const ValueMarkers& markers);
  // True when nothing is left of the text once the bytes 0x00 to 0x20 are taken off both ends.
  static bool IsBlank(const std::string& text);
  // The set command's line without its carriage return: the command, "=" and the values, each in
  // double quotes and separated by commas, the PIN bare; values go unchanged.
  static std::string SetLine(Setting setting, const std::vector<std::string>& values);

 private:
  // One line, ended by a carriage return, without preamble.
  Result<Done> SendLine(const std::string& text);

  link::SerialPort& port_;
  std::optional<uint8_t> address_;
  Heard heard_;
};

}  // namespace protocol
}  // namespace qvusb
