#include "formatka3/data_logger.h"

#include "formatka3/log_line.h"
#include "platform/timing.h"

DataLogger::DataLogger(int32_t periodMs, link::SerialPort* port, const StationMap* stations, LogAppender* held)
    : ui::Thread(true), Port(port), Stations(stations), PeriodMs(periodMs), appender_(held ? held : &ownAppender_) {
  StopEvent = platform::CreateEventA(kThreadStopEventName, false, false);
  Resume();
}

DataLogger::~DataLogger() {
  Terminate();
  platform::SetEvent(StopEvent);
  WaitFor();
  platform::CloseHandle(StopEvent);
}

std::optional<link::CommandFrame> DataLogger::BuildLoggerCommand(char letter1, char letter2, bool deviceLevel,
                                                                 int channel, const std::string& key) const {
  const auto address = link::DeviceAddress(key);
  if (!address) return std::nullopt;
  return link::MakeFrame(*address, letter1, letter2, deviceLevel, channel);
}

std::optional<link::Bytes> DataLogger::ReadLoggerReply(int32_t n) { return Port->Read(n); }

bool DataLogger::Send(const std::string& key, char letter1, char letter2, bool deviceLevel, int channel, int count) {
  // A key without an address sends nothing at all.
  const auto frame = BuildLoggerCommand(letter1, letter2, deviceLevel, channel, key);
  return frame && link::WriteFrame(*Port, frame, count);
}

std::optional<std::string> DataLogger::Fetch(const std::string& key, char letter1, char letter2, bool deviceLevel,
                                             int channel, uint32_t waitMs, int32_t length) {
  if (!Send(key, letter1, letter2, deviceLevel, channel, 3)) return std::nullopt;
  platform::Sleep(waitMs);
  return ValueText(ReadLoggerReply(length), length);
}

std::optional<std::string> DataLogger::ValueText(const std::optional<link::Bytes>& reply, int32_t length) {
  if (!reply) return std::nullopt;
  // What follows a NUL is still the reply: the line makes every byte fit its column.
  return reply->Raw().substr(0, static_cast<size_t>(length));
}

std::string DataLogger::MeasureSalinity(const std::string& key, int n) {
  if (!Send(key, 'M', 'S', false, n, 4)) return logline::kFailed;
  platform::Sleep(1480);
  const auto reply = Fetch(key, 'R', 'S', false, n, 20, 5);
  return reply ? logline::CommaToPoint(*reply) : logline::kFailed;
}

void DataLogger::StartMoisture(const std::string& key, int n) {
  Send(key, 'M', 'M', false, n, 4);  // what follows shows whether it was heard
  platform::Sleep(980);
}

std::string DataLogger::ReadMoisture(const std::string& key, int /*n*/) {
  const auto reply = Fetch(key, 'R', 'M', true, 0, 20, 6);
  return reply ? logline::CommaToPoint(*reply) : logline::kFailed;
}

std::string DataLogger::ReadDielectricConstant(const std::string& key, int /*n*/) {
  LastEpsRead = false;
  const auto reply = Fetch(key, 'R', 'N', true, 0, 20, 6);
  if (!reply) return logline::kFailed;
  const std::string value = logline::CommaToPoint(*reply);
  const auto eps = logline::ParseNumber(value);
  LastEps = eps.value_or(0);
  LastEpsRead = eps.has_value();
  return value;
}

std::string DataLogger::MeasureTemperature(const std::string& key, int n) {
  if (!Send(key, 'M', 'T', false, n, 4)) return logline::kFailed;
  platform::Sleep(2980);
  const auto reply = Fetch(key, 'R', 'T', false, n, 20, 5);
  return reply ? logline::CommaToPoint(*reply) : logline::kFailed;
}

std::string DataLogger::MeasureAuxProbe(const std::string& key, const std::string& identifier, int /*n*/) {
  if (identifier.size() != link::kAuxProbeIdLength || !link::DeviceAddress(key)) return logline::kFailed;
  const link::AuxMeasurement m = link::MeasureAux(
      *Port, [&](char l1, char l2) { return BuildLoggerCommand(l1, l2, true, 0, key); }, identifier);
  if (m.outcome != link::AuxMeasurement::Outcome::Reply) return logline::kFailed;
  const int32_t length =
      m.family == link::AuxFamily::Temperature ? link::kAuxTemperatureLength : link::kAuxPressureLength;
  return ValueText(m.reply, length).value_or(logline::kFailed);
}

std::vector<std::string> DataLogger::StationValues(const std::string& key, const DeviceConfig& c) {
  std::vector<std::string> values;
  for (int i = 0; i < 8; ++i) {
    const int n = i + 1;
    if (c.GetEpsi(i) || c.GetTeta(i)) StartMoisture(key, n);  // one MM serves both readings
    if (c.GetEpsi(i)) {
      values.push_back(ReadDielectricConstant(key, n));
      for (int k = 0; k < 2; ++k) {
        if (!c.GetCal(k)) continue;
        values.push_back(logline::CalibratedText(LastEpsRead ? std::optional<double>(LastEps) : std::nullopt,
                                                 c.GetA0(k), c.GetA1(k), c.GetA2(k)));
      }
    }
    if (c.GetTeta(i)) values.push_back(ReadMoisture(key, n));
    if (c.GetSigma(i)) values.push_back(MeasureSalinity(key, n));
    if (c.GetTemp(i)) values.push_back(MeasureTemperature(key, n));
    for (int slot = 1; slot <= 2; ++slot) {
      if (IsAuxProbeName(c.GetAuxName(i, slot))) values.push_back(MeasureAuxProbe(key, c.GetAuxId(i, slot), n));
    }
  }
  return values;
}

void DataLogger::Execute() {
  uint64_t counter = 0;
  while (!Terminated()) {
    for (const auto& [key, config] : *Stations) {
      const bool first = counter == 0;
      // The time is taken before the station's exchanges, which last seconds.
      const std::string time = logline::NowText(first);
      appender_->Append(logline::LogFileName(key), first ? logline::HeaderLine(*config) : std::string(),
                        logline::DataLine(counter, time, StationValues(key, *config)));
    }
    passes_ = ++counter;
    if (platform::WaitForSingleObject(StopEvent, static_cast<uint32_t>(PeriodMs)) != platform::WaitResult::Timeout) {
      break;
    }
  }
  appender_->Flush();  // a last chance for lines a file could not take
}
