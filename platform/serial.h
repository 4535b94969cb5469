// Serial device access over POSIX terminals, in the steps the port object takes: exclusive open,
// device type check, event mask, time-outs, line state, purge, write, read, close.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace platform {

// Device types reported by SerialDevice::FileType.
constexpr uint32_t kFileTypeUnknown = 0;
constexpr uint32_t kFileTypeDisk = 1;
constexpr uint32_t kFileTypeChar = 2;
constexpr uint32_t kFileTypePipe = 3;

// Purge flags; they may be combined.
constexpr uint32_t kPurgeTxClear = 4;
constexpr uint32_t kPurgeRxClear = 8;

// Line state values.
constexpr uint8_t kNoParity = 0;
constexpr uint8_t kOddParity = 1;
constexpr uint8_t kEvenParity = 2;
constexpr uint8_t kOneStopBit = 0;
constexpr uint8_t kTwoStopBits = 2;
constexpr uint8_t kDtrControlDisable = 0;
constexpr uint8_t kDtrControlEnable = 1;
constexpr uint8_t kRtsControlDisable = 0;
constexpr uint8_t kRtsControlEnable = 1;
constexpr uint8_t kRtsControlHandshake = 2;

// An interval of kTimeoutMaxValue with both read totals 0 makes a read return at once with what
// has arrived.
constexpr uint32_t kTimeoutMaxValue = 0xFFFFFFFFu;

// Time-outs in ms. A read ends when `readIntervalTimeout` passes between two bytes (0: not used)
// or when constant + multiplier * count has passed since it began (both 0: not used). Likewise
// for a write; with both write values 0 a write waits until the line takes everything.
// A freshly opened line has write time-outs of 1 s plus 1 ms per byte (a byte takes well under a
// millisecond at the rates in use), so that a line held up by its flow control reports a failed
// write instead of freezing the program.
struct SerialTimeouts {
  uint32_t readIntervalTimeout = 0;
  uint32_t readTotalTimeoutMultiplier = 0;
  uint32_t readTotalTimeoutConstant = 0;
  uint32_t writeTotalTimeoutMultiplier = 1;
  uint32_t writeTotalTimeoutConstant = 1000;
};

// The line settings, as a control block that is read, changed in part and written back.
struct SerialLineState {
  uint32_t baudRate = 9600;
  uint8_t byteSize = 8;  // 5 to 8
  uint8_t parity = kNoParity;
  uint8_t stopBits = kOneStopBit;
  bool binary = true;
  uint8_t dtrControl = kDtrControlDisable;
  uint8_t rtsControl = kRtsControlDisable;
  bool outxCtsFlow = false;  // hardware flow control (with kRtsControlHandshake)
  bool outX = false;         // XON/XOFF on output
  bool inX = false;          // XON/XOFF on input
  char xonChar = 0x11;
  char xoffChar = 0x13;
};

// "COMn" resolved through the port-link folder, else /dev/ttyS(n-1); any other name as it is.
std::string ResolvePortName(const std::string& name);
// QVUSB_PORTS_DIR when set, else $XDG_CONFIG_HOME/qvusb/ports, else $HOME/.config/qvusb/ports.
std::string PortLinkFolder();

// Steps of a serial device that a test can make fail, as a device that refuses a setting or
// loses one write.
enum class SerialStep { SetTimeouts, SetState, Write };
// Asked before each such step of every device, with the bytes of a write (none for a setting);
// true makes the step fail with nothing set or sent. One for the process; empty: none fail.
using SerialFaultHook = std::function<bool(SerialStep step, const uint8_t* data, size_t length)>;
void SetSerialFaultHook(SerialFaultHook hook);

class SerialDevice {
 public:
  SerialDevice() = default;
  ~SerialDevice();
  SerialDevice(const SerialDevice&) = delete;
  SerialDevice& operator=(const SerialDevice&) = delete;

  // Opens the named port for reading and writing, for this process alone. Closes a device that
  // was open before. False when it cannot be opened.
  bool OpenExclusive(const std::string& name);
  bool Valid() const { return fd_ >= 0; }

  uint32_t FileType() const;
  // Accepted on an open device and not kept: the port object never waits on line events.
  bool SetEventMask(uint32_t mask);
  bool GetTimeouts(SerialTimeouts* timeouts) const;
  bool SetTimeouts(const SerialTimeouts& timeouts);
  bool GetState(SerialLineState* state) const;
  // Raw mode with the given settings. DTR follows dtrControl where the device has modem lines.
  bool SetState(const SerialLineState& state);
  bool Purge(uint32_t flags);
  // Writes the whole buffer, waiting for the line as needed. True only when every byte went out;
  // *written counts the bytes that did.
  bool Write(const uint8_t* data, size_t length, size_t* written);
  // Reads up to `count` bytes under the time-outs, gathering the pieces in which they arrive.
  // Returns as soon as `count` bytes are in. False on a device error; *got counts the bytes read
  // either way.
  bool Read(uint8_t* buffer, size_t count, size_t* got);
  bool Close();

 private:
  // Waits until the queued output has left, up to the deadline when there is one.
  bool Drain(std::optional<std::chrono::steady_clock::time_point> deadline);

  int fd_ = -1;
  SerialTimeouts timeouts_;
  uint8_t dtrControl_ = kDtrControlDisable;
  uint8_t rtsControl_ = kRtsControlDisable;
};

}  // namespace platform
