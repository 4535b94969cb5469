// The reflectogram of one TDR measurement: 1024 trace samples followed by two marker positions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "protocol/moisture.h"

// Values 0 to 1023 are the trace (sample i lies at 0.01 * i ns), 1024 and 1025 the two markers.
using protocol::kReflectogramValues;
using protocol::Reflectogram;
constexpr size_t kTraceLength = kReflectogramValues - 2;
constexpr size_t kFirstMarker = kTraceLength;
constexpr size_t kSecondMarker = kTraceLength + 1;

// The trace sample a marker position points at (position / 10, truncated), or nothing when that
// lies past the trace: such a marker cannot stand on the trace and is not drawn.
std::optional<size_t> MarkerSample(uint32_t position);
