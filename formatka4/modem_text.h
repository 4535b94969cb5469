// The modem's AT text: cutting the settings out of its replies, and the checks and lines of the
// settings written back.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace modem {

// Where one value stands in a settings reply: right after `start`, up to the two-character line
// end before `end` (the end of the reply when `end` is empty). `lengthMarker` is the text whose
// position the value's length is counted from: `start` itself, or for some keys the bare name.
struct ValueMarkers {
  const char* start;
  const char* end;
  const char* lengthMarker;
};

// The eight values of the reply to "at+show1", in the order of the edits they fill: name, GPRS
// (1) to (3), FTP address, login, password, time server.
extern const std::array<ValueMarkers, 8> kShow1Values;
// The PIN in the reply to "at+show2".
extern const ValueMarkers kShow2Pin;

// A settings reply is read in one read of at most this many bytes.
constexpr size_t kSettingsReadLimit = 256;

// The value the markers point at in `reply`, up to its line end at the latest; nothing when the
// reply does not hold it: the start or end marker missing (the positions would then point at
// unrelated text), or the last value of a reply cut by the read (one that filled the whole read
// or does not end with its line end).
std::optional<std::string> FindValue(const std::string& reply, const ValueMarkers& markers);
// The same, empty when the reply does not hold the value.
std::string CutValue(const std::string& reply, const ValueMarkers& markers);

// True when nothing is left of the text once the bytes 0x00 to 0x20 are taken off both ends.
bool IsBlank(const std::string& text);

// `command` "=" and the values, each in double quotes, separated by commas; values go unchanged.
std::string QuotedLine(const std::string& command, const std::vector<std::string>& values);

}  // namespace modem
