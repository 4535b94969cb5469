#include "sim/modem.h"

#include <algorithm>

namespace sim {

namespace {

constexpr const char* kOk = "\r\nOK\r\n";
constexpr const char* kError = "\r\nERROR\r\n";

// Splits `"a","b","c"` into its values; nothing when the text is not `count` quoted values.
std::optional<std::vector<std::string>> QuotedValues(const std::string& text, size_t count) {
  if (text.size() < 2 || text.front() != '"' || text.back() != '"') return std::nullopt;
  const std::string inner = text.substr(1, text.size() - 2);
  const std::string separator = "\",\"";
  std::vector<std::string> values;
  size_t from = 0;
  for (size_t at; (at = inner.find(separator, from)) != std::string::npos; from = at + separator.size()) {
    values.push_back(inner.substr(from, at - from));
  }
  values.push_back(inner.substr(from));
  if (values.size() != count) return std::nullopt;
  return values;
}

}  // namespace

bool ModemDevice::TakesText(const ReceivedFrame& frame) const {
  return frame.preamble == 0 && frame.command.rfind("at", 0) == 0;
}

std::optional<std::string> ModemDevice::Answer(const ReceivedFrame& frame) {
  if (frame.preamble == 0) return AnswerLine(frame.command);
  std::lock_guard lock(mu_);
  modeFrames_.push_back(frame.command);
  if (frame.command == "S4") {
    mode_ = Mode::AtCommands;
    return std::string(kWakeAnswer);
  }
  // The other mode frames switch it silently.
  if (frame.command == "S0") mode_ = Mode::Off;
  if (frame.command == "S1") mode_ = Mode::Script;
  if (frame.command == "S2") mode_ = Mode::Server;
  return std::nullopt;
}

std::optional<std::string> ModemDevice::AnswerLine(const std::string& line) {
  std::lock_guard lock(mu_);
  if (mode_ != Mode::AtCommands) return std::nullopt;
  std::string reply = echo_ ? line + "\r\r\n" : std::string();
  if (line == "aten" || line == "at") {
    reply += kOk;
  } else if (line == "at+show1") {
    reply += SettingsReply(settings_, blankAfterEquals_);
  } else if (line == "at+show2") {
    reply += PinReply(settings_, blankAfterEquals_);
  } else {
    reply += Store(line) ? kOk : kError;
  }
  return reply;
}

bool ModemDevice::Store(const std::string& line) {
  const size_t equals = line.find('=');
  if (equals == std::string::npos) return false;
  const std::string command = line.substr(0, equals);
  const std::string text = line.substr(equals + 1);
  if (command == "at+pinset") {
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      return false;
    }
    settings_.pin = text;
    return true;
  }
  struct Target {
    const char* command;
    std::vector<std::string ModemSettings::*> fields;
  };
  const Target targets[] = {
      {"at+nameset", {&ModemSettings::name}},
      {"at+gprsset", {&ModemSettings::apn, &ModemSettings::user, &ModemSettings::password}},
      {"at+ftpset", {&ModemSettings::ftpServer, &ModemSettings::ftpLogin, &ModemSettings::ftpPassword}},
      {"at+sntpset", {&ModemSettings::timeServer}},
  };
  for (const Target& t : targets) {
    if (command != t.command) continue;
    const auto values = QuotedValues(text, t.fields.size());
    if (!values) return false;
    for (size_t i = 0; i < t.fields.size(); ++i) settings_.*(t.fields[i]) = (*values)[i];
    return true;
  }
  return false;
}

std::string ModemDevice::SettingsReply(const ModemSettings& s, bool blankAfterEquals) {
  const std::pair<const char*, const std::string*> pairs[] = {
      {"idName", &s.name},         {"gprs_APN", &s.apn},           {"gprs_UN", &s.user},
      {"gprs_PAS", &s.password},   {"ftp_serwer", &s.ftpServer},   {"ftp_account", &s.ftpLogin},
      {"ftp_pas", &s.ftpPassword}, {"sntp_serwer", &s.timeServer},
  };
  std::string reply;
  for (const auto& [key, value] : pairs) {
    if (!reply.empty()) reply += ' ';
    reply += std::string(key) + " =" + (blankAfterEquals ? " " : "") + *value + "\r\n";
  }
  return reply;
}

std::string ModemDevice::PinReply(const ModemSettings& s, bool blankAfterEquals) {
  return std::string("pin =") + (blankAfterEquals ? " " : "") + s.pin + "\r\nmask gprs =1\r\n";
}

std::string ModemDevice::CompletedInPoll(int poll, const std::string& answer) {
  const size_t total = static_cast<size_t>(std::max(poll, 1)) * kPollBytes;
  if (answer.size() >= total) return answer;
  return std::string(total - answer.size(), '.') + answer;
}

ModemSettings ModemDevice::Settings() const { return ReadLocked(mu_, settings_); }

void ModemDevice::SetSettings(const ModemSettings& s) { SetLocked(mu_, settings_, s); }

ModemDevice::Mode ModemDevice::CurrentMode() const { return ReadLocked(mu_, mode_); }

std::vector<std::string> ModemDevice::ModeFrames() const { return ReadLocked(mu_, modeFrames_); }

void ModemDevice::SetEcho(bool on) { SetLocked(mu_, echo_, on); }

void ModemDevice::SetBlankAfterEquals(bool on) { SetLocked(mu_, blankAfterEquals_, on); }

}  // namespace sim
