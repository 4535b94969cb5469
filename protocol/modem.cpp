#include "protocol/modem.h"

#include <cstring>
#include <span>

#include "platform/timing.h"

inline namespace qvusb {
namespace protocol {

namespace {

// What the modem answers the wake frame with, and acknowledges a line with.
constexpr const char* kWakeAnswer = "VORN";
constexpr const char* kAcknowledged = "OK";

// 1-based position of the first occurrence, 0 when there is none.
long Position(const std::string& text, const char* marker) {
  const size_t at = text.find(marker);
  return at == std::string::npos ? 0 : static_cast<long>(at) + 1;
}

}  // namespace

const std::array<Modem::ValueMarkers, 8> Modem::kShow1Values = {{
    {"idName =", " gprs_APN", "idName"},
    {"gprs_APN =", " gprs_UN", "gprs_APN ="},
    {"gprs_UN =", " gprs_PAS", "gprs_UN ="},
    {"gprs_PAS =", " ftp_serwer", "gprs_PAS ="},
    {"ftp_serwer =", " ftp_account", "ftp_serwer ="},
    {"ftp_account =", " ftp_pas", "ftp_account ="},
    {"ftp_pas =", " sntp_serwer", "ftp_pas ="},
    {"sntp_serwer =", "", "sntp_serwer ="},
}};

const Modem::ValueMarkers Modem::kShow2Pin = {"pin =", "mask gprs", "pin"};

Modem::Modem(link::SerialPort& port, std::optional<uint8_t> address, Heard heard)
    : port_(port), address_(address), heard_(std::move(heard)) {}

std::optional<link::CommandFrame> Modem::Frame(char letter, char digit) const {
  if (!address_) return std::nullopt;
  return link::CommandFrame{*address_, static_cast<uint8_t>(letter), static_cast<uint8_t>(digit), 0};
}

Result<Done> Modem::Switch(Mode mode) {
  if (!link::WriteFrame(port_, Frame('S', static_cast<char>(mode)), 3)) return Failure::NotSent;
  return Done{};
}

Result<Done> Modem::AwaitReply(const std::string& expected) {
  std::string gathered;
  for (int polls = 1;; ++polls) {
    platform::Sleep(kPollWaitMs);
    if (const auto bytes = port_.Read(link::kReadExactCopy256)) {
      gathered += bytes->Raw();
      if (heard_) heard_(gathered);
    }
    if (polls > kSearchedPolls) return Failure::NoReply;
    if (gathered.find(expected) != std::string::npos) return Done{};
  }
}

Result<Done> Modem::Wake() {
  Result<Done> step = Switch(Mode::AtCommands);
  if (step) step = AwaitReply(kWakeAnswer);
  for (const char* line : {"aten", "at"}) {
    if (step) step = SendLine(line);
    if (step) step = AwaitReply(kAcknowledged);
  }
  return step;
}

Result<std::vector<std::string>> Modem::Show(Shown shown) {
  const bool settings = shown == Shown::Settings;
  if (!SendLine(settings ? "at+show1" : "at+show2")) return Failure::NotSent;
  platform::Sleep(settings ? kShow1WaitMs : kShow2WaitMs);
  const auto bytes = port_.Read(settings ? link::kReadExactCopy256 : link::kReadUpTo256);
  const std::string reply = bytes ? bytes->Raw() : std::string();
  std::vector<std::string> values;
  bool any = false;
  for (const ValueMarkers& markers :
       settings ? std::span<const ValueMarkers>(kShow1Values) : std::span(&kShow2Pin, 1)) {
    const auto value = FindValue(reply, markers);
    any = any || value.has_value();
    values.push_back(value.value_or(std::string()));
  }
  if (!any) return Failure::NoReply;
  return values;
}

Result<Done> Modem::Set(Setting setting, const std::vector<std::string>& values) {
  if (!SendLine(SetLine(setting, values))) return Failure::NotSent;
  return AwaitReply(kAcknowledged);
}

Result<Done> Modem::SendLine(const std::string& text) {
  const std::string line = text + '\r';
  if (!port_.Write(reinterpret_cast<const uint8_t*>(line.data()), static_cast<int32_t>(line.size()), false))
    return Failure::NotSent;
  return Done{};
}

std::optional<std::string> Modem::FindValue(const std::string& reply, const ValueMarkers& markers) {
  const long startAt = Position(reply, markers.start);
  if (startAt == 0) return std::nullopt;
  const long startLength = static_cast<long>(std::strlen(markers.start));
  const long replyLength = static_cast<long>(reply.size());
  const long first = startAt + startLength;  // 1-based position of the value's first byte
  long length;
  if (*markers.end == '\0') {
    // The last value ends at its line end; without one after it the read cut it.
    const size_t lineEnd = reply.find_first_of("\r\n", static_cast<size_t>(first - 1));
    if (lineEnd == std::string::npos) return std::nullopt;
    length = static_cast<long>(lineEnd) - (first - 1);
  } else {
    const long endAt = Position(reply, markers.end);
    if (endAt == 0) return std::nullopt;
    length = endAt - 2 - Position(reply, markers.lengthMarker) - startLength;
  }
  if (first > replyLength || length < 0) return std::nullopt;
  const std::string value = reply.substr(static_cast<size_t>(first - 1), static_cast<size_t>(length));
  // The positions can reach past the value's own line (a bare key earlier in the reply, text
  // after the last value): it never runs over its line end.
  return value.substr(0, value.find_first_of("\r\n"));
}

bool Modem::IsBlank(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) > 0x20) return false;
  }
  return true;
}

std::string Modem::SetLine(Setting setting, const std::vector<std::string>& values) {
  static constexpr const char* kCommands[] = {"at+nameset", "at+gprsset", "at+ftpset", "at+sntpset", "at+pinset"};
  std::string line = std::string(kCommands[static_cast<int>(setting)]) + "=";
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) line += ',';
    line += setting == Setting::Pin ? values[i] : '"' + values[i] + '"';
  }
  return line;
}

}  // namespace protocol
}  // namespace qvusb
