// The station log file's texts and the logging period's arithmetic, apart from any exchange.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "formatka3/device_config.h"

namespace logline {

// The value written for a failed exchange.
inline constexpr const char* kFailed = "ERR01";
// Every line of a log file ends so, whatever the platform.
inline constexpr const char* kLineEnd = "\r\n";

// The first 8 characters of the key (all of a shorter one) and ".txt", in the current folder:
// '/', '\\' and control bytes become '_', so that no typed key leads anywhere else.
std::string LogFileName(const std::string& key);
// The first two keys, in the map's order, whose stations would append to one file: their lines,
// each with its own columns, would mix there. The names are compared with ASCII letter case
// ignored, as a FAT stick or a case-insensitive disk compares them. Nothing when every station
// has a file of its own.
std::optional<std::pair<std::string, std::string>> KeysSharingAFile(const StationMap& stations);

// "counter time/date " and a token per logged column, each followed by a space, and the line end.
std::string HeaderLine(const DeviceConfig& config);

// A value as one column of a data line, whatever its bytes: control bytes and blanks inside the
// value become '?', a value of blanks alone (or none) is "?"; the blanks around it stay.
std::string ColumnValue(std::string value);

// "counter time " and each value as its column followed by a space, and the line end: as many
// columns after the time as there are values.
std::string DataLine(uint64_t counter, const std::string& time, const std::vector<std::string>& values);

// The time column: date and time in the first pass of a run, the time alone in later passes.
std::string TimeText(const std::tm& local, bool firstPass);
// The same for now, local time, safe on any thread.
std::string NowText(bool firstPass);

// The first ',' becomes '.': the stations may send either.
std::string CommaToPoint(std::string reply);

// The number at the start of an eps reply ('.' as the decimal point whatever the process locale,
// leading blanks skipped, the rest ignored); nothing when no number starts there.
std::optional<double> ParseNumber(const std::string& text);

// A double as the standard stream writes it by default ("C" locale): 6 significant digits,
// trailing zeros dropped, exponent form for the very small and the very large.
std::string StreamNumber(double value);

// a0 + a1 * sqrt(eps) + a2 * eps, or kFailed when there is no eps whose square root is real.
std::string CalibratedText(std::optional<double> eps, double a0, double a1, double a2);

// The seconds every pass needs at least, over all stations: 1 s per moisture, 1.5 s per
// conductivity, 3 s per probe temperature, 1 s per AUX probe.
double MinimumPeriod(const StationMap& stations);

// The thread's wait after each pass, (period - minimum) * 1000 truncated; nothing when it does
// not fit a signed 32-bit count or is not a number.
std::optional<int32_t> PeriodWaitMs(double period, double minimum);

}  // namespace logline
