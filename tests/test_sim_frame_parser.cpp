// How the stand-in instruments split the program's byte stream into frames.

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "sim/frame_parser.h"

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

Bytes Wake(size_t n = 23) { return Bytes(n, 0xFF); }

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

Bytes Str(const std::string& s) { return Bytes(s.begin(), s.end()); }

struct Expected {
  std::string command;
  uint8_t address;
  int preamble;
  Bytes bytes;
};

struct ParserCase {
  const char* name;
  Bytes input;
  std::vector<Expected> frames;
  size_t dropped;
};

std::vector<ParserCase> Cases() {
  const Bytes payload16 = Str("5003E822F0000000");
  return {
      {"search", Cat({Wake(), {0x00, 'B'}}), {{"B", 0x00, 23, {0x00, 'B'}}}, 0},
      {"measure salinity, 4 bytes", Cat({Wake(), {0xFE, 'M', 'S', '3'}}), {{"MS", 0xFE, 23, {0xFE, 'M', 'S', '3'}}}, 0},
      {"reading command, 3 bytes", Cat({Wake(), {0xFE, 'R', 'G'}}), {{"RG", 0xFE, 23, {0xFE, 'R', 'G'}}}, 0},
      {"AUX reading, 3 bytes", Cat({Wake(), {0x1F, '1', 'S'}}), {{"1S", 0x1F, 23, {0x1F, '1', 'S'}}}, 0},
      // The modem's address 0x0A is a line feed: after a preamble it is an address all the same.
      {"modem on, 3 bytes", Cat({Wake(), {0x0A, 'S', '4'}}), {{"S4", 0x0A, 23, {0x0A, 'S', '4'}}}, 0},
      {"write 16 characters, 19 bytes",
       Cat({Wake(), {0x01, '1', 'W'}, payload16}),
       {{"1W", 0x01, 23, Cat({{0x01, '1', 'W'}, payload16})}},
       0},
      {"AUX measurement, 19 bytes",
       Cat({Wake(), {0x01, '1', 'M'}, Str("28FF0A1B2C3D4E5F")}),
       {{"1M", 0x01, 23, Cat({{0x01, '1', 'M'}, Str("28FF0A1B2C3D4E5F")})}},
       0},
      {"set probe types, 7 bytes",
       Cat({Wake(), {0xFE, 'S', 'P', 'A', '5', '0', '0'}}),
       {{"SP", 0xFE, 23, {0xFE, 'S', 'P', 'A', '5', '0', '0'}}},
       0},
      {"verification with channel", Cat({Wake(), {0x01, 'V', 'L', '8'}}), {{"VL", 0x01, 23, {0x01, 'V', 'L', '8'}}}, 0},
      {"meter text command", Str("HRT\n"), {{"HRT", 0, 0, Str("HRT\n")}}, 0},
      {"memory bank with digit", Str("HRB2\n"), {{"HRB2", 0, 0, Str("HRB2\n")}}, 0},
      {"modem line", Str("at+show1\r"), {{"at+show1", 0, 0, Str("at+show1\r")}}, 0},
      {"station at address 0xFF", Cat({Wake(24), {'M', 'S', '1'}}), {{"MS", 0xFF, 23, {0xFF, 'M', 'S', '1'}}}, 0},
      {"back to back",
       Cat({Wake(), {0xFE, 'R', 'S'}, Wake(), {0xFE, 'M', 'T', '1'}, Str("HRV\n")}),
       {{"RS", 0xFE, 23, {0xFE, 'R', 'S'}}, {"MT", 0xFE, 23, {0xFE, 'M', 'T', '1'}}, {"HRV", 0, 0, Str("HRV\n")}},
       0},
      {"noise before a line", Cat({{0x00, 0x01, 0x7F}, Str("HRT\n")}), {{"HRT", 0, 0, Str("HRT\n")}}, 3},
      {"line broken by a control byte", Cat({Str("HR"), {0x02}, Str("HRC\n")}), {{"HRC", 0, 0, Str("HRC\n")}}, 3},
      {"line end after a line end", Str("at\r\n"), {{"at", 0, 0, Str("at\r")}}, 1},
      {"frame cut short by the next preamble",
       Cat({Wake(), {0xFE, 'M'}, Wake(), {0xFE, 'R', 'S'}}),
       {{"RS", 0xFE, 23, {0xFE, 'R', 'S'}}},
       25},
      {"payload cut short by the next preamble",
       Cat({Wake(), {0x01, '1', 'W', 'F', 'F'}, Wake(), {0x00, 'B'}}),
       {{"B", 0x00, 23, {0x00, 'B'}}},
       28},
      {"line cut short by a preamble", Cat({Str("HR"), Wake(), {0x00, 'B'}}), {{"B", 0x00, 23, {0x00, 'B'}}}, 2},
      {"overlong line",
       Cat({Bytes(sim::FrameParser::kMaxTextLine + 10, 'a'), Str("\nHRT\n")}),
       {{"HRT", 0, 0, Str("HRT\n")}},
       sim::FrameParser::kMaxTextLine + 11},
      {"preamble without a frame", Wake(), {}, 0},
      {"unterminated line", Str("HRT"), {}, 0},
  };
}

void CheckFrames(const ParserCase& c, const std::vector<sim::ReceivedFrame>& got) {
  ASSERT_EQ(got.size(), c.frames.size());
  for (size_t i = 0; i < got.size(); ++i) {
    const sim::ReceivedFrame& f = got[i];
    const Expected& e = c.frames[i];
    EXPECT_EQ(f.command, e.command) << "frame " << i;
    EXPECT_EQ(f.address, e.address) << "frame " << i;
    EXPECT_EQ(f.preamble, e.preamble) << "frame " << i;
    EXPECT_EQ(f.bytes, e.bytes) << "frame " << i;
    EXPECT_EQ(f.raw, Cat({Wake(static_cast<size_t>(e.preamble)), e.bytes})) << "frame " << i;
  }
}

}  // namespace

// Fed at once, byte by byte and in uneven chunks, every input gives the same frames.
TEST(SimFrameParser, SplitsFramesHoweverTheBytesArrive) {
  std::mt19937 rng(7);
  for (const ParserCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    const Clock::time_point t = Clock::now();
    {
      sim::FrameParser whole;
      CheckFrames(c, whole.Feed(c.input.data(), c.input.size(), t));
      EXPECT_EQ(whole.DroppedBytes(), c.dropped);
    }
    {
      sim::FrameParser single;
      std::vector<sim::ReceivedFrame> got;
      for (uint8_t b : c.input) {
        for (auto& f : single.Feed(&b, 1, t)) got.push_back(std::move(f));
      }
      CheckFrames(c, got);
      EXPECT_EQ(single.DroppedBytes(), c.dropped);
    }
    {
      sim::FrameParser chunked;
      std::vector<sim::ReceivedFrame> got;
      for (size_t i = 0; i < c.input.size();) {
        size_t n = std::min<size_t>(1 + rng() % 7, c.input.size() - i);
        for (auto& f : chunked.Feed(c.input.data() + i, n, t)) got.push_back(std::move(f));
        i += n;
      }
      CheckFrames(c, got);
    }
  }
}

TEST(SimFrameParser, StampsAFrameWithTheArrivalOfItsLastByte) {
  sim::FrameParser parser;
  const Bytes first = Cat({Wake(), {0xFE, 'M'}});
  const Bytes rest = {'S', '1'};
  const Clock::time_point t0 = Clock::now();
  const Clock::time_point t1 = t0 + std::chrono::milliseconds(5);
  EXPECT_TRUE(parser.Feed(first.data(), first.size(), t0).empty());
  auto frames = parser.Feed(rest.data(), rest.size(), t1);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].at, t1);
}

// Random bytes, with wake runs and line ends mixed in, never crash the parser, and whatever it
// returns is a well-formed frame.
TEST(SimFrameParser, SurvivesRandomInput) {
  std::mt19937 rng(11);
  sim::FrameParser parser;
  size_t frames = 0;
  for (int round = 0; round < 2000; ++round) {
    Bytes chunk(1 + rng() % 64);
    for (uint8_t& b : chunk) {
      uint32_t r = rng() % 10;
      b = r < 3 ? 0xFF : r == 3 ? '\n' : static_cast<uint8_t>(rng());
    }
    for (const sim::ReceivedFrame& f : parser.Feed(chunk.data(), chunk.size(), Clock::now())) {
      ++frames;
      ASSERT_FALSE(f.bytes.empty());
      ASSERT_EQ(f.raw.size(), f.bytes.size() + static_cast<size_t>(f.preamble));
      if (f.preamble == 0) {
        ASSERT_TRUE(f.bytes.back() == '\n' || f.bytes.back() == '\r');
      } else if (f.command == "B") {
        ASSERT_EQ(f.bytes.size(), 2u);
      } else {
        ASSERT_EQ(f.bytes.size(), sim::AddressedFrameLength(f.command[0], f.command[1]));
      }
    }
  }
  EXPECT_GT(frames, 0u);
}
