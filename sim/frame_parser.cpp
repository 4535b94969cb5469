#include "sim/frame_parser.h"

#include <algorithm>
#include <climits>

namespace sim {

namespace {

// A run this long holds the wake preamble and the address 0xFF of a station behind it.
constexpr size_t kRunWithWakeAddress = 24;

bool IsLineEnd(uint8_t b) { return b == '\n' || b == '\r'; }

// Text lines carry printable characters; 8-bit ones too, since the modem's settings are the
// user's texts unchanged. 0xFF never occurs in them: it always starts a wake preamble.
bool IsTextByte(uint8_t b) { return b == '\t' || (b >= 0x20 && b != 0x7F && b != kWakeByte); }

}  // namespace

size_t AddressedFrameLength(char letter1, char letter2) {
  if (letter1 == '1' && (letter2 == 'W' || letter2 == 'M')) return 3 + 16;
  if (letter1 == 'S' && letter2 == 'P') return 3 + 4;
  // Reading commands and the modem's mode commands go without the channel byte.
  if (letter1 == 'R') return 3;
  if (letter1 == '1' && (letter2 == 'S' || letter2 == 'R' || letter2 == 'P')) return 3;
  if (letter1 == 'S' && letter2 >= '0' && letter2 <= '9') return 3;
  return 4;
}

std::vector<ReceivedFrame> FrameParser::Feed(const uint8_t* data, size_t count, Clock::time_point at) {
  std::vector<ReceivedFrame> out;
  for (size_t i = 0; i < count; ++i) Step(data[i], at, out);
  return out;
}

void FrameParser::Step(uint8_t b, Clock::time_point at, std::vector<ReceivedFrame>& out) {
  switch (state_) {
    case State::Idle:
      if (b == kWakeByte) {
        StartWake();
      } else if (IsTextByte(b)) {
        pending_.assign(1, b);
        state_ = State::Text;
      } else {
        ++dropped_;  // includes a lone line end, such as the '\n' of a "\r\n"
      }
      return;

    case State::Wake:
      if (b == kWakeByte) {
        ++wakeRun_;
        return;
      }
      if (wakeRun_ >= kRunWithWakeAddress) {
        preamble_ = static_cast<int>(std::min<size_t>(wakeRun_ - 1, INT_MAX));
        pending_ = {kWakeByte, b};
      } else {
        preamble_ = static_cast<int>(wakeRun_);
        pending_.assign(1, b);
      }
      wakeRun_ = 0;
      expected_ = 0;
      state_ = State::Frame;
      CheckFrameComplete(at, out);
      return;

    case State::Frame:
      // Letters and payloads are ASCII: a wake byte here means the frame was cut short and the
      // next one begins.
      if (b == kWakeByte) {
        DropPending();
        StartWake();
        return;
      }
      pending_.push_back(b);
      CheckFrameComplete(at, out);
      return;

    case State::Text:
      if (IsLineEnd(b)) {
        pending_.push_back(b);
        EmitText(at, out);
      } else if (b == kWakeByte) {
        DropPending();
        StartWake();
      } else if (!IsTextByte(b)) {
        DropPending();
        ++dropped_;
        state_ = State::Idle;
      } else if (pending_.size() >= kMaxTextLine) {
        DropPending();
        ++dropped_;
        state_ = State::SkipLine;
      } else {
        pending_.push_back(b);
      }
      return;

    case State::SkipLine:
      if (b == kWakeByte) {
        StartWake();
        return;
      }
      ++dropped_;
      if (IsLineEnd(b)) state_ = State::Idle;
      return;
  }
}

void FrameParser::StartWake() {
  state_ = State::Wake;
  wakeRun_ = 1;
}

void FrameParser::DropPending() {
  dropped_ += pending_.size() + static_cast<size_t>(preamble_);
  pending_.clear();
  preamble_ = 0;
  expected_ = 0;
}

void FrameParser::CheckFrameComplete(Clock::time_point at, std::vector<ReceivedFrame>& out) {
  // The search is the one frame with a single letter.
  if (pending_.size() == 2 && pending_[0] == kSearchAddress && pending_[1] == 'B') {
    EmitFrame(at, out);
    return;
  }
  if (pending_.size() == 3) {
    expected_ = AddressedFrameLength(static_cast<char>(pending_[1]), static_cast<char>(pending_[2]));
  }
  if (expected_ != 0 && pending_.size() == expected_) EmitFrame(at, out);
}

void FrameParser::EmitFrame(Clock::time_point at, std::vector<ReceivedFrame>& out) {
  ReceivedFrame f;
  f.preamble = preamble_;
  f.at = at;
  f.address = pending_[0];
  if (pending_.size() == 2) {
    f.command = "B";
  } else {
    f.command = {static_cast<char>(pending_[1]), static_cast<char>(pending_[2])};
  }
  f.raw.assign(static_cast<size_t>(preamble_), kWakeByte);
  f.raw.insert(f.raw.end(), pending_.begin(), pending_.end());
  f.bytes = std::move(pending_);
  out.push_back(std::move(f));

  pending_.clear();
  preamble_ = 0;
  expected_ = 0;
  state_ = State::Idle;
}

void FrameParser::EmitText(Clock::time_point at, std::vector<ReceivedFrame>& out) {
  ReceivedFrame f;
  f.at = at;
  f.command.assign(pending_.begin(), pending_.end() - 1);
  f.raw = pending_;
  f.bytes = std::move(pending_);
  out.push_back(std::move(f));

  pending_.clear();
  state_ = State::Idle;
}

}  // namespace sim
