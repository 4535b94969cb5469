// The program's one link to the instruments: a serial port with fixed line settings, an optional
// wake preamble in front of what it writes, and three read modes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/bytes.h"
#include "link/frame.h"
#include "platform/serial.h"

// The namespace sits in an inline one because a global `link` would clash with the C library's
// link() that <unistd.h> declares (and <memory> pulls in). Write link::X as usual; reopen it only
// as below.
inline namespace qvusb {
namespace link {

// 23 bytes of 0xFF that wake the instruments before a frame.
constexpr int kWakePreambleLength = 23;
constexpr uint8_t kWakeByte = 0xFF;

// Read modes besides a plain count.
constexpr int32_t kReadUpTo256 = -1;       // up to 256 bytes, buffer of 257
constexpr int32_t kReadExactCopy256 = -2;  // up to 256 bytes, returned at their exact length

class SerialPort {
 public:
  SerialPort();
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Opens "COMn" with the fixed line settings: 57600 8N1, binary, DTR on; read interval time-out
  // 200 ms, total 200 ms + 1 ms per byte; both queues purged. False when the port cannot be
  // opened or refuses those settings; Close then releases what was opened.
  bool Open(const char* name);
  // Writes `length` bytes of `data`, after the wake preamble when asked. Purges both queues
  // first. True only when everything went out.
  bool Write(const uint8_t* data, int32_t length, bool withPreamble);
  // Reads n bytes (n >= 0), or up to 256 (kReadUpTo256, kReadExactCopy256). Nothing when no byte
  // arrived within the time-outs.
  std::optional<Bytes> Read(int32_t n);
  void Close();

  bool IsOpen() const { return isOpen_; }
  void SetOpen(bool open) { isOpen_ = open; }

  // The "COM ports" menu item that opened the port, kept as an opaque pointer (this layer knows
  // no menus) together with its tag, the COM number.
  void SetPortMenuItem(void* item, int tag) {
    openingItem_ = item;
    openingTag_ = tag;
  }
  void* PortMenuItem() const { return openingItem_; }
  int PortNumber() const { return openingTag_; }

 private:
  platform::SerialDevice handle_;
  bool isOpen_ = false;
  void* openingItem_ = nullptr;
  int openingTag_ = 0;
};

// Writes the first `count` bytes of a frame (3 or 4) with the wake preamble, followed by a
// payload; a missing frame fails as a failed write does.
bool WriteFrame(SerialPort& port, const std::optional<CommandFrame>& frame, int count, const std::string& payload = {});

}  // namespace link
}  // namespace qvusb
