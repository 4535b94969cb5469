// What a full calibration tells the instrument about its media: the 16-character payloads of the
// 1W frame, and the conversions of the user's texts behind them.
#pragma once

#include <optional>
#include <string>

inline namespace qvusb {
namespace link {

// The largest dielectric constant a payload can carry: its square root in thousandths must fit
// four hexadecimal digits (65.5 gives 65500, FFDC).
constexpr double kLargestEpsRoot = 65.5;

// A decimal number as the user typed it, with the user's locale's decimal separator; leading
// blanks are allowed, anything after the number makes it no number.
std::optional<double> ParseEps(const std::string& text);

// trunc(sqrt(eps) * 1000).
unsigned EpsRoot(double eps);

// "50", N(eps_low) and N(eps_high) as four hexadecimal digits each, six '0'. Nothing unless both
// values lie above 0 with a square root of at most kLargestEpsRoot.
std::optional<std::string> EpsRootsPayload(double epsLow, double epsHigh);

// Whether the first four characters of a text read "##.#" (a water temperature in degrees
// Celsius; further characters do not count).
bool IsTemperatureText(const std::string& text);

// The water temperature of such a text in tenths of a kelvin (0 degrees Celsius is 2731).
std::optional<unsigned> TemperatureCode(const std::string& text);

// "50", nine '0', the temperature code in hexadecimal ("%X", three digits), "00".
std::optional<std::string> WaterTemperaturePayload(const std::string& text);

}  // namespace link
}  // namespace qvusb
