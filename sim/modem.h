// The stand-in GPRS modem: switched by its addressed mode frames (S0 off, S1 script, S2 server,
// S4 on in AT mode) and configured by AT text lines while in AT mode.
#pragma once

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "sim/device.h"

namespace sim {

// The nine settings the modem keeps, as plain 8-bit text.
struct ModemSettings {
  std::string name = "VORN2-field-01";
  std::string apn = "internet";
  std::string user = "gprs";
  std::string password = "gprs";
  std::string ftpServer = "ftp.example.org";
  std::string ftpLogin = "tdr";
  std::string ftpPassword = "secret";
  std::string timeServer = "pool.ntp.org";
  std::string pin = "1234";

  bool operator==(const ModemSettings&) const = default;
};

class ModemDevice : public Device {
 public:
  enum class Mode { Off, AtCommands, Script, Server };

  // What it answers the wake frame S4 with.
  static constexpr const char* kWakeAnswer = "VORN-2\r\n";
  // One poll of the program's reads takes at most this many bytes.
  static constexpr size_t kPollBytes = 256;

  std::optional<std::string> Answer(const ReceivedFrame& frame) override;
  // Every text line beginning "at"; only answered in AT mode.
  bool TakesText(const ReceivedFrame& frame) const override;

  ModemSettings Settings() const;
  void SetSettings(const ModemSettings& s);
  Mode CurrentMode() const;
  // The mode frames received, in order: "S4", "S0", ...
  std::vector<std::string> ModeFrames() const;

  // Faults of the modem's own making (the instruments' faults shape any reply besides):
  // every answer to a text line starts with the line echoed back,
  void SetEcho(bool on);
  // the settings replies put a blank between "=" and each value.
  void SetBlankAfterEquals(bool on);

  // An answer that the program's polls, each taking at most kPollBytes, complete only in poll
  // `poll`: filler for the polls before, then `answer` at the very end of that poll's bytes.
  static std::string CompletedInPoll(int poll, const std::string& answer);

  // The replies to "at+show1" and "at+show2" for these settings.
  static std::string SettingsReply(const ModemSettings& s, bool blankAfterEquals);
  static std::string PinReply(const ModemSettings& s, bool blankAfterEquals);

 private:
  std::optional<std::string> AnswerLine(const std::string& line);
  // Stores the values of a set command; false when the line is not one the modem knows.
  bool Store(const std::string& line);

  mutable std::mutex mu_;
  ModemSettings settings_;
  Mode mode_ = Mode::Off;
  std::vector<std::string> modeFrames_;
  bool echo_ = false;
  bool blankAfterEquals_ = false;
};

}  // namespace sim
