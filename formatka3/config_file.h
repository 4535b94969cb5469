// The devices configuration file: one 13-line block per station ("device", the key, eight channel
// lines, two calibration lines, the period line), then "fin". Every field ends with ';'.
#pragma once

#include <optional>
#include <string>

#include "formatka3/device_config.h"

namespace configfile {

// Longest fields the reader takes.
inline constexpr size_t kMarkerLimit = 7;
inline constexpr size_t kKeyLimit = 8;
inline constexpr size_t kFlagLimit = 7;
inline constexpr size_t kTextLimit = 16;  // names, identifiers, numbers

// The file's text for every station in key order; lines end with CR LF, "fin" has no line end.
std::string Write(const StationMap& stations);

// The first station (in key order) whose record the reader could not take back: a key or field
// over its limit, an empty AUX name, a ';' or a line break inside a field, a number that is not
// finite. Nothing when all fit: then Read(Write(stations)) gives the records back, numbers to six
// significant digits, and what Read gives always fits.
std::optional<std::string> FirstUnwritable(const StationMap& stations);

// The records of a file's text, by key (a later block of the same key replaces the earlier one);
// nothing when the text breaks the format (also a CR inside a field, or a number field that reads
// as infinite or not a number) or ends before "fin". CR LF and LF both end a line. Numbers read
// as the C library reads them, '.' as the decimal point; a field without a number gives 0.
std::optional<StationMap> Read(const std::string& text);

}  // namespace configfile
