#include "link/calibration.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

inline namespace qvusb {
namespace link {

namespace {

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

bool PayloadEps(double eps) { return eps > 0.0 && std::sqrt(eps) <= kLargestEpsRoot; }

}  // namespace

std::optional<double> ParseEps(const std::string& text) {
  // strtod follows the locale's decimal separator, as the user types it.
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(begin, &end);
  if (end == begin || *end != '\0' || errno == ERANGE || !std::isfinite(value)) return std::nullopt;
  // strtod also reads C's hexadecimal numbers ("0x10"); for a dielectric constant that is a 0
  // followed by letters, not a number.
  if (text.find_first_of("xX") != std::string::npos) return std::nullopt;
  return value;
}

unsigned EpsRoot(double eps) { return static_cast<unsigned>(std::trunc(std::sqrt(eps) * 1000.0)); }

std::optional<std::string> EpsRootsPayload(double epsLow, double epsHigh) {
  if (!PayloadEps(epsLow) || !PayloadEps(epsHigh)) return std::nullopt;
  char payload[17];
  std::snprintf(payload, sizeof payload, "50%04X%04X000000", EpsRoot(epsLow), EpsRoot(epsHigh));
  return std::string(payload);
}

bool IsTemperatureText(const std::string& t) {
  return t.size() >= 4 && IsDigit(t[0]) && IsDigit(t[1]) && t[2] == '.' && IsDigit(t[3]);
}

std::optional<unsigned> TemperatureCode(const std::string& t) {
  if (!IsTemperatureText(t)) return std::nullopt;
  return 100u * static_cast<unsigned>(t[0] - '0') + 10u * static_cast<unsigned>(t[1] - '0') +
         static_cast<unsigned>(t[3] - '0') + 2731u;
}

std::optional<std::string> WaterTemperaturePayload(const std::string& text) {
  const std::optional<unsigned> code = TemperatureCode(text);
  if (!code) return std::nullopt;
  char payload[17];
  std::snprintf(payload, sizeof payload, "50000000000%X00", *code);
  return std::string(payload);
}

}  // namespace link
}  // namespace qvusb
