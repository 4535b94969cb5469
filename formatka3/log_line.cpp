#include "formatka3/log_line.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <locale>
#include <map>
#include <sstream>

namespace logline {

namespace {

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

}  // namespace

std::string LogFileName(const std::string& key) {
  std::string name = key.substr(0, 8);
  for (char& c : name) {
    if (c == '/' || c == '\\' || IsControl(c)) c = '_';
  }
  return name + ".txt";
}

std::optional<std::pair<std::string, std::string>> KeysSharingAFile(const StationMap& stations) {
  std::map<std::string, std::string> keyOfFile;
  for (const auto& entry : stations) {
    std::string folded = LogFileName(entry.first);
    for (char& c : folded) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    const auto [first, added] = keyOfFile.try_emplace(folded, entry.first);
    if (!added) return std::make_pair(first->second, entry.first);
  }
  return std::nullopt;
}

std::string ColumnValue(std::string value) {
  // A line break would split the line, a NUL end it for many readers, a blank split the column.
  for (char& c : value) {
    if (IsControl(c)) c = '?';
  }
  const size_t first = value.find_first_not_of(' ');
  if (first == std::string::npos) return "?";
  const size_t last = value.find_last_not_of(' ');
  for (size_t i = first; i < last; ++i) {
    if (value[i] == ' ') value[i] = '?';
  }
  return value;
}

std::string DataLine(uint64_t counter, const std::string& time, const std::vector<std::string>& values) {
  std::string line = std::to_string(counter) + " " + time + " ";
  for (const std::string& v : values) line += ColumnValue(v) + " ";
  return line + kLineEnd;
}

std::string HeaderLine(const DeviceConfig& config) {
  std::string line = "counter time/date ";
  for (int i = 0; i < 8; ++i) {
    const std::string n = std::to_string(i + 1);
    if (config.GetEpsi(i)) {
      line += "E" + n + " ";
      for (int k = 0; k < 2; ++k) {
        if (config.GetCal(k)) line += "Cal" + n + std::to_string(k + 1) + " ";
      }
    }
    if (config.GetTeta(i)) line += "M" + n + " ";
    if (config.GetSigma(i)) line += "S" + n + " ";
    if (config.GetTemp(i)) line += "T" + n + " ";
    for (int slot = 1; slot <= 2; ++slot) {
      if (IsAuxProbeName(config.GetAuxName(i, slot))) line += "X" + n + std::to_string(slot) + " ";
    }
  }
  return line + kLineEnd;
}

std::string TimeText(const std::tm& local, bool firstPass) {
  char buf[64];
  if (firstPass) {
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d/%02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  } else {
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
  }
  return buf;
}

std::string NowText(bool firstPass) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return TimeText(local, firstPass);
}

std::string CommaToPoint(std::string reply) {
  const size_t comma = reply.find(',');
  if (comma != std::string::npos) reply[comma] = '.';
  return reply;
}

std::optional<double> ParseNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  // from_chars takes no '+', which the C library's conversion does.
  if (i + 1 < text.size() && text[i] == '+' && text[i + 1] != '-' && text[i + 1] != '+') ++i;
  double value = 0;
  const auto [ptr, ec] = std::from_chars(text.data() + i, text.data() + text.size(), value);
  if (ptr == text.data() + i) return std::nullopt;
  if (ec == std::errc::result_out_of_range) return std::nullopt;
  return value;
}

std::string StreamNumber(double value) {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out << value;
  return out.str();
}

std::string CalibratedText(std::optional<double> eps, double a0, double a1, double a2) {
  if (!eps || !std::isfinite(*eps) || *eps < 0) return kFailed;
  return StreamNumber(a0 + a1 * std::sqrt(*eps) + a2 * *eps);
}

double MinimumPeriod(const StationMap& stations) {
  double minimum = 0;
  for (const auto& [key, config] : stations) {
    for (int i = 0; i < 8; ++i) {
      if (config->GetTeta(i)) minimum += 1.0;
      if (config->GetSigma(i)) minimum += 1.5;
      if (config->GetTemp(i)) minimum += 3.0;
      if (IsAuxProbeName(config->GetAux1Name(i))) minimum += 1.0;
      if (IsAuxProbeName(config->GetAux2Name(i))) minimum += 1.0;
    }
  }
  return minimum;
}

std::optional<int32_t> PeriodWaitMs(double period, double minimum) {
  const double ms = std::trunc((period - minimum) * 1000.0);
  if (!std::isfinite(ms) || ms < -2147483648.0 || ms > 2147483647.0) return std::nullopt;
  return static_cast<int32_t>(ms);
}

}  // namespace logline
