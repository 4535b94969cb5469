#include "formatka3/data_logger.h"

#include <optional>

#include "formatka3/log_line.h"
#include "link/bytes.h"

DataLogger::DataLogger(int32_t periodMs, link::SerialPort* port, const StationMap* stations, LogAppender* held)
    : Port(port),
      Stations(stations),
      PeriodMs(periodMs),
      StopEvent(platform::CreateEventA(kThreadStopEventName, false, false)),
      appender_(held ? held : &ownAppender_) {
  Resume();
}

DataLogger::~DataLogger() {
  Terminate();
  platform::SetEvent(StopEvent);
  WaitFor();
  platform::CloseHandle(StopEvent);
}

protocol::Station& DataLogger::StationAt(const std::string& key) {
  return stations_.try_emplace(key, *Port, link::DeviceAddress(key)).first->second;
}

namespace {

using Measurement = protocol::Station::Measurement;
using Value = protocol::Station::Value;

// A TDR channel's value as it came, NULs and all (the line makes every byte fit its column), with
// its first ',' turned into '.'; a failed exchange is kFailed.
std::string ChannelValue(const protocol::Result<link::Bytes>& reply) {
  return reply ? logline::CommaToPoint(reply->Raw()) : logline::kFailed;
}

}  // namespace

std::string DataLogger::MeasureSalinity(const std::string& key, int n) {
  protocol::Station& station = StationAt(key);
  if (!station.Measure(Measurement::Conductivity, n)) return logline::kFailed;
  return ChannelValue(station.ReadValue(Value::Conductivity, n, false));
}

void DataLogger::StartMoisture(const std::string& key, int n) {
  protocol::Station& station = StationAt(key);
  // What follows shows whether MM was heard: its time is waited for all the same.
  if (!station.Measure(Measurement::Moisture, n)) station.AwaitMeasurement(Measurement::Moisture);
}

std::string DataLogger::ReadMoisture(const std::string& key, int n) {
  return ChannelValue(StationAt(key).ReadValue(Value::Moisture, n, false));
}

std::string DataLogger::ReadDielectricConstant(const std::string& key, int n) {
  LastEpsRead = false;
  const auto reply = StationAt(key).ReadValue(Value::DielectricConstant, n, false);
  if (!reply) return logline::kFailed;
  std::string value = ChannelValue(reply);
  const auto eps = logline::ParseNumber(value);
  LastEps = eps.value_or(0);
  LastEpsRead = eps.has_value();
  return value;
}

std::string DataLogger::MeasureTemperature(const std::string& key, int n) {
  protocol::Station& station = StationAt(key);
  if (!station.Measure(Measurement::ProbeTemperature, n)) return logline::kFailed;
  return ChannelValue(station.ReadValue(Value::ProbeTemperature, n, false));
}

std::string DataLogger::MeasureAuxProbe(const std::string& key, const std::string& identifier, int /*n*/) {
  protocol::Station& station = StationAt(key);
  const auto family = station.MeasureAux(identifier);
  if (!family) return logline::kFailed;
  const auto reply = station.ReadAux(*family, false);
  return reply ? reply->Raw() : logline::kFailed;  // as it came
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
