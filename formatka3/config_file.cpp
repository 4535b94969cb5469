#include "formatka3/config_file.h"

#include <locale.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "formatka3/log_line.h"

namespace configfile {

namespace {

constexpr const char* kNoId = "noAUX";

const char* Flag(bool on) { return on ? "1" : "0"; }

std::string IdText(const std::string& id) { return id.empty() ? kNoId : id; }

bool Fits(const std::string& field, size_t limit) {
  return !field.empty() && field.size() <= limit && field.find_first_of(";\r\n") == std::string::npos;
}

bool KeyFits(const std::string& key) {
  return key.size() <= kKeyLimit && key.find_first_of("\r\n") == std::string::npos;
}

// The C library's conversion with '.' as the decimal point whatever the process locale, so a
// field without a number gives 0 and "0x10" gives 16; nothing for what reads as infinite or not a
// number (also a value too large for a double), which no window could show or log.
std::optional<double> Number(const std::string& field) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
  const double value = strtod_l(field.c_str(), nullptr, cLocale);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

bool NumberFits(double value) {
  const std::string text = logline::StreamNumber(value);
  return Fits(text, kTextLimit) && Number(text);
}

// The next line up to LF, without a CR before it; false when nothing follows the last line end.
bool NextLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

// A line of `count` fields, each up to its ';', each as the writer would take it. What follows
// the last ';' is ignored.
std::optional<std::vector<std::string>> Fields(const std::string& line, const std::vector<size_t>& limits) {
  std::vector<std::string> fields;
  size_t pos = 0;
  for (size_t limit : limits) {
    const size_t semi = line.find(';', pos);
    if (semi == std::string::npos) return std::nullopt;
    std::string field = line.substr(pos, semi - pos);
    if (!Fits(field, limit)) return std::nullopt;
    fields.push_back(std::move(field));
    pos = semi + 1;
  }
  return fields;
}

bool IsSet(const std::string& flag) { return flag.find('1') != std::string::npos; }

}  // namespace

std::string Write(const StationMap& stations) {
  std::string out;
  for (const auto& [key, c] : stations) {
    out += "device";
    out += logline::kLineEnd;
    out += key + logline::kLineEnd;
    for (int i = 0; i < 8; ++i) {
      out += std::string(Flag(c->GetEpsi(i))) + ";" + Flag(c->GetTeta(i)) + ";" + Flag(c->GetSigma(i)) + ";" +
             Flag(c->GetTemp(i)) + ";" + c->GetAux1Name(i) + ";" + IdText(c->GetAux1Id(i)) + ";" + c->GetAux2Name(i) +
             ";" + IdText(c->GetAux2Id(i)) + ";" + logline::kLineEnd;
    }
    for (int k = 0; k < 2; ++k) {
      out += std::string(Flag(c->GetCal(k))) + ";" + logline::StreamNumber(c->GetA0(k)) + ";" +
             logline::StreamNumber(c->GetA1(k)) + ";" + logline::StreamNumber(c->GetA2(k)) + ";" + logline::kLineEnd;
    }
    out += logline::StreamNumber(c->GetPeriod()) + ";" + logline::kLineEnd;
  }
  return out + "fin";
}

std::optional<std::string> FirstUnwritable(const StationMap& stations) {
  for (const auto& [key, c] : stations) {
    bool fits = KeyFits(key);
    for (int i = 0; i < 8 && fits; ++i) {
      for (int slot = 1; slot <= 2; ++slot) {
        fits = fits && Fits(c->GetAuxName(i, slot), kTextLimit) && Fits(IdText(c->GetAuxId(i, slot)), kTextLimit);
      }
    }
    for (int k = 0; k < 2 && fits; ++k) {
      for (double v : {c->GetA0(k), c->GetA1(k), c->GetA2(k)}) fits = fits && NumberFits(v);
    }
    fits = fits && NumberFits(c->GetPeriod());
    if (!fits) return key;
  }
  return std::nullopt;
}

std::optional<StationMap> Read(const std::string& text) {
  StationMap read;
  std::istringstream lines(text);
  std::string line;
  const std::vector<size_t> channelLimits = {kFlagLimit, kFlagLimit, kFlagLimit, kFlagLimit,
                                             kTextLimit, kTextLimit, kTextLimit, kTextLimit};
  const std::vector<size_t> calibrationLimits = {kFlagLimit, kTextLimit, kTextLimit, kTextLimit};
  while (true) {
    if (!NextLine(lines, line) || line.size() > kMarkerLimit) return std::nullopt;
    if (line.find("device") == std::string::npos) {
      if (line.find("fin") != std::string::npos) return read;
      return std::nullopt;
    }
    auto config = std::make_unique<DeviceConfig>();
    std::string key;
    if (!NextLine(lines, key) || !KeyFits(key)) return std::nullopt;
    for (int i = 0; i < 8; ++i) {
      if (!NextLine(lines, line)) return std::nullopt;
      const auto f = Fields(line, channelLimits);
      if (!f) return std::nullopt;
      config->SetEpsi(i, IsSet((*f)[0]));
      config->SetTeta(i, IsSet((*f)[1]));
      config->SetSigma(i, IsSet((*f)[2]));
      config->SetTemp(i, IsSet((*f)[3]));
      config->SetAux1Name(i, (*f)[4]);
      config->SetAux1Id(i, (*f)[5]);
      config->SetAux2Name(i, (*f)[6]);
      config->SetAux2Id(i, (*f)[7]);
    }
    for (int k = 0; k < 2; ++k) {
      if (!NextLine(lines, line)) return std::nullopt;
      const auto f = Fields(line, calibrationLimits);
      if (!f) return std::nullopt;
      const auto a0 = Number((*f)[1]), a1 = Number((*f)[2]), a2 = Number((*f)[3]);
      if (!a0 || !a1 || !a2) return std::nullopt;
      config->SetCal(k, IsSet((*f)[0]));
      config->SetA0(k, *a0);
      config->SetA1(k, *a1);
      config->SetA2(k, *a2);
    }
    if (!NextLine(lines, line)) return std::nullopt;
    const auto f = Fields(line, {kTextLimit});
    const auto period = f ? Number((*f)[0]) : std::nullopt;
    if (!period) return std::nullopt;
    config->SetPeriod(*period);
    read[key] = std::move(config);
  }
}

}  // namespace configfile
