// The logger thread: pass after pass it measures every configured station and appends one line
// per station to that station's file, then waits on the stop event for the rest of the period.
// It touches no control and reports nothing: a failed exchange is "ERR01" in the file.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/log_file.h"
#include "formatka3/device_config.h"
#include "link/serial_port.h"
#include "platform/event.h"
#include "protocol/station.h"
#include "ui/thread.h"

// The name by which Stop reaches the thread's event.
inline constexpr const char* kThreadStopEventName = "ThreadStopEvent";

class DataLogger : public ui::Thread {
 public:
  // Starts at once with every field set. The port and the stations are lent: the window keeps
  // them unchanged until the thread has ended. So are the lines held for files that could not
  // take them, when given: they then outlive this run and go first into the next one's appends.
  DataLogger(int32_t periodMs, link::SerialPort* port, const StationMap* stations, LogAppender* held = nullptr);
  // Ends the thread first when the owner has not (its pass runs to its end), then closes the event.
  ~DataLogger() override;

  // The station command functions: each returns the value for the file, or "ERR01".
  std::string MeasureSalinity(const std::string& key, int n);
  void StartMoisture(const std::string& key, int n);
  std::string ReadMoisture(const std::string& key, int n);
  std::string ReadDielectricConstant(const std::string& key, int n);
  std::string MeasureTemperature(const std::string& key, int n);
  std::string MeasureAuxProbe(const std::string& key, const std::string& identifier, int n);

  // The values of one station's data line after the counter and time, in header order.
  std::vector<std::string> StationValues(const std::string& key, const DeviceConfig& config);

  // Passes completed so far.
  uint64_t Passes() const { return passes_; }

 protected:
  void Execute() override;

 private:
  // The station a key's characters 7 and 8 address, made at its first use, on this thread.
  protocol::Station& StationAt(const std::string& key);

  link::SerialPort* Port;
  const StationMap* Stations;
  int32_t PeriodMs;
  platform::EventHandle StopEvent;
  double LastEps = 0;
  // Whether LastEps came from the RN exchange just made, as a number with a real square root.
  bool LastEpsRead = false;
  std::map<std::string, protocol::Station> stations_;
  LogAppender ownAppender_;
  LogAppender* appender_;
  std::atomic<uint64_t> passes_{0};
};
