// Addressed command frames, device identifiers and addresses.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// The namespace sits in an inline one because a global `link` would clash with the C library's
// link() that <unistd.h> declares (and <memory> pulls in). Write link::X as usual; reopen it only
// as below.
inline namespace qvusb {
namespace link {

// Address byte, two command characters, channel character ('0' for device-level commands, 0x00
// in the modem's frames). How many of the four bytes go out depends on the command.
using CommandFrame = std::array<uint8_t, 4>;

// Length of a device identifier in the search reply.
constexpr int kDeviceIdLength = 8;

// The address in characters 7 and 8 of a device identifier (two upper-case hexadecimal
// digits). Nothing when the text is shorter or those characters are not such digits.
std::optional<uint8_t> DeviceAddress(const std::string& deviceId);

// Leading white space, an optional sign, decimal digits up to the first other character; 0 for
// an empty or non-numeric text. Never fails.
int32_t ParseInteger(const char* text);
inline int32_t ParseInteger(const std::string& text) { return ParseInteger(text.c_str()); }

// The channel (1 to 8) that a typed or picked channel text names, as ParseInteger reads it;
// nothing for "CH number" and for any text that names no channel.
std::optional<int> ChannelNumber(const std::string& text);

// A frame {address, letter1, letter2, channel character}: '0' for device-level commands, else
// '0' + channel.
CommandFrame MakeFrame(uint8_t address, char letter1, char letter2, bool deviceLevel, int32_t channel);

// Value of an upper-case hexadecimal digit, or -1.
int HexDigitValue(char c);

}  // namespace link
}  // namespace qvusb
