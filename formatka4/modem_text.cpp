#include "formatka4/modem_text.h"

#include <cstring>

namespace modem {

const std::array<ValueMarkers, 8> kShow1Values = {{
    {"idName =", " gprs_APN", "idName"},
    {"gprs_APN =", " gprs_UN", "gprs_APN ="},
    {"gprs_UN =", " gprs_PAS", "gprs_UN ="},
    {"gprs_PAS =", " ftp_serwer", "gprs_PAS ="},
    {"ftp_serwer =", " ftp_account", "ftp_serwer ="},
    {"ftp_account =", " ftp_pas", "ftp_account ="},
    {"ftp_pas =", " sntp_serwer", "ftp_pas ="},
    {"sntp_serwer =", "", "sntp_serwer ="},
}};

const ValueMarkers kShow2Pin = {"pin =", "mask gprs", "pin"};

namespace {

// 1-based position of the first occurrence, 0 when there is none.
long Position(const std::string& text, const char* marker) {
  const size_t at = text.find(marker);
  return at == std::string::npos ? 0 : static_cast<long>(at) + 1;
}

}  // namespace

std::optional<std::string> FindValue(const std::string& reply, const ValueMarkers& markers) {
  const long startAt = Position(reply, markers.start);
  if (startAt == 0) return std::nullopt;
  const long startLength = static_cast<long>(std::strlen(markers.start));
  const long replyLength = static_cast<long>(reply.size());
  const long first = startAt + startLength;  // 1-based position of the value's first byte
  long length;
  if (*markers.end == '\0') {
    // A reply that filled the read, or stops short of its line end, was cut inside this value.
    if (reply.size() >= kSettingsReadLimit || !reply.ends_with("\r\n")) return std::nullopt;
    length = replyLength - startAt - startLength - 1;
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

std::string CutValue(const std::string& reply, const ValueMarkers& markers) {
  return FindValue(reply, markers).value_or(std::string());
}

bool IsBlank(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) > 0x20) return false;
  }
  return true;
}

std::string QuotedLine(const std::string& command, const std::vector<std::string>& values) {
  std::string line = command + "=";
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) line += ',';
    line += '"' + values[i] + '"';
  }
  return line;
}

}  // namespace modem
