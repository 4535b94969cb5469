// Splits the byte stream the program writes into the frames the instruments would see: wake
// preamble plus addressed frame, or a text line without preamble.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

constexpr uint8_t kWakeByte = 0xFF;
constexpr uint8_t kSearchAddress = 0x00;

struct ReceivedFrame {
  // The frame without the wake bytes (address, letters, payload), or the text line with its
  // terminator.
  std::vector<uint8_t> bytes;
  // Wake bytes counted in front of it (0 for text commands).
  int preamble = 0;
  // Arrival time of its last byte.
  std::chrono::steady_clock::time_point at;
  // "B" for the search, the two letters for addressed frames ("MS", "1W", "S4"), the text without
  // its terminator for text commands ("HRT", "HRB1", "at+show1").
  std::string command;
  // Address byte of addressed frames.
  uint8_t address = 0;
  // Everything received for it, wake bytes included.
  std::vector<uint8_t> raw;
};

// Length on the line of an addressed frame (address and letters included) with these two
// command letters; the search, which has one letter only, is handled by the parser itself.
size_t AddressedFrameLength(char letter1, char letter2);

// Fed the bytes one chunk at a time as they arrive; never blocks and accepts any input. Bytes
// that make no frame are dropped and counted.
class FrameParser {
 public:
  using Clock = std::chrono::steady_clock;

  // Parses `count` bytes that arrived at `at` and returns the frames they completed.
  std::vector<ReceivedFrame> Feed(const uint8_t* data, size_t count, Clock::time_point at);

  // Bytes dropped so far as noise or as parts of broken frames.
  size_t DroppedBytes() const { return dropped_; }

  // Longest text line kept; a longer one is noise.
  static constexpr size_t kMaxTextLine = 1024;

 private:
  // SkipLine: the rest of an overlong text line, dropped up to its terminator.
  enum class State { Idle, Wake, Frame, Text, SkipLine };

  void Step(uint8_t b, Clock::time_point at, std::vector<ReceivedFrame>& out);
  void StartWake();
  void DropPending();
  void CheckFrameComplete(Clock::time_point at, std::vector<ReceivedFrame>& out);
  void EmitFrame(Clock::time_point at, std::vector<ReceivedFrame>& out);
  void EmitText(Clock::time_point at, std::vector<ReceivedFrame>& out);

  State state_ = State::Idle;
  size_t wakeRun_ = 0;            // 0xFF bytes in the current run
  int preamble_ = 0;              // wake bytes in front of the frame being collected
  size_t expected_ = 0;           // length of the frame being collected, 0 while not yet known
  std::vector<uint8_t> pending_;  // the frame or text line being collected
  size_t dropped_ = 0;
};

}  // namespace sim
