#include "formatka3/config_file.h"

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

// Splits the text into lines at LF, dropping a CR before it.
class Lines {
 public:
  explicit Lines(const std::string& text) : text_(text) {}
  bool Next(std::string& line) {
    if (pos_ > text_.size()) return false;
    size_t end = text_.find('\n', pos_);
    if (end == std::string::npos) {
      if (pos_ == text_.size()) return false;  // nothing after the last line end
      end = text_.size();
    }
    line = text_.substr(pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    pos_ = end + 1;
    return true;
  }

 private:
  const std::string& text_;
  size_t pos_ = 0;
};

// A line of `count` fields, each up to its ';', none empty and none over its limit. What follows
// the last ';' is ignored.
std::optional<std::vector<std::string>> Fields(const std::string& line, const std::vector<size_t>& limits) {
  std::vector<std::string> fields;
  size_t pos = 0;
  for (size_t limit : limits) {
    const size_t semi = line.find(';', pos);
    if (semi == std::string::npos) return std::nullopt;
    std::string field = line.substr(pos, semi - pos);
    if (field.empty() || field.size() > limit) return std::nullopt;
    fields.push_back(std::move(field));
    pos = semi + 1;
  }
  return fields;
}

bool IsSet(const std::string& flag) { return flag.find('1') != std::string::npos; }
double Number(const std::string& field) { return logline::ParseNumber(field).value_or(0); }

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
    bool fits = key.size() <= kKeyLimit && key.find_first_of("\r\n") == std::string::npos;
    for (int i = 0; i < 8 && fits; ++i) {
      for (int slot = 1; slot <= 2; ++slot) {
        fits = fits && Fits(c->GetAuxName(i, slot), kTextLimit) && Fits(IdText(c->GetAuxId(i, slot)), kTextLimit);
      }
    }
    for (int k = 0; k < 2 && fits; ++k) {
      for (double v : {c->GetA0(k), c->GetA1(k), c->GetA2(k)})
        fits = fits && Fits(logline::StreamNumber(v), kTextLimit);
    }
    fits = fits && Fits(logline::StreamNumber(c->GetPeriod()), kTextLimit);
    if (!fits) return key;
  }
  return std::nullopt;
}

std::optional<StationMap> Read(const std::string& text) {
  StationMap read;
  Lines lines(text);
  std::string line;
  const std::vector<size_t> channelLimits = {kFlagLimit, kFlagLimit, kFlagLimit, kFlagLimit,
                                             kTextLimit, kTextLimit, kTextLimit, kTextLimit};
  const std::vector<size_t> calibrationLimits = {kFlagLimit, kTextLimit, kTextLimit, kTextLimit};
  while (true) {
    if (!lines.Next(line) || line.size() > kMarkerLimit) return std::nullopt;
    if (line.find("device") == std::string::npos) {
      if (line.find("fin") != std::string::npos) return read;
      return std::nullopt;
    }
    auto config = std::make_unique<DeviceConfig>();
    std::string key;
    if (!lines.Next(key) || key.size() > kKeyLimit) return std::nullopt;
    for (int i = 0; i < 8; ++i) {
      if (!lines.Next(line)) return std::nullopt;
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
      if (!lines.Next(line)) return std::nullopt;
      const auto f = Fields(line, calibrationLimits);
      if (!f) return std::nullopt;
      config->SetCal(k, IsSet((*f)[0]));
      config->SetA0(k, Number((*f)[1]));
      config->SetA1(k, Number((*f)[2]));
      config->SetA2(k, Number((*f)[3]));
    }
    if (!lines.Next(line)) return std::nullopt;
    const auto f = Fields(line, {kTextLimit});
    if (!f) return std::nullopt;
    config->SetPeriod(Number((*f)[0]));
    read[key] = std::move(config);
  }
}

}  // namespace configfile
