#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

#include "link/frame.h"

namespace {

TEST(DeviceAddressTest, ReadsTwoUpperCaseHexDigits) {
  struct Case {
    std::string id;
    std::optional<uint8_t> address;
  };
  std::string withNuls(8, '\0');  // an embedded NUL is a character like any other, not an end
  withNuls[0] = 'T';
  withNuls[6] = '2';
  withNuls[7] = 'B';
  const Case cases[] = {
      {"T00000A3", 0xA3},         {"G123451F", 0x1F},         {"T0000000", 0x00},         {"T00000FF", 0xFF},
      {"T00000A3extra", 0xA3},    {withNuls, 0x2B},           {"T00000a3", std::nullopt}, {"T000001f", std::nullopt},
      {"T00000G1", std::nullopt}, {"T00000 1", std::nullopt}, {"T00000A", std::nullopt},  {"", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(link::DeviceAddress(c.id), c.address) << c.id;
  }
}

TEST(HexDigitValueTest, OnlyUpperCaseDigits) {
  EXPECT_EQ(link::HexDigitValue('0'), 0);
  EXPECT_EQ(link::HexDigitValue('9'), 9);
  EXPECT_EQ(link::HexDigitValue('A'), 10);
  EXPECT_EQ(link::HexDigitValue('F'), 15);
  EXPECT_EQ(link::HexDigitValue('a'), -1);
  EXPECT_EQ(link::HexDigitValue('G'), -1);
  EXPECT_EQ(link::HexDigitValue('\0'), -1);
}

TEST(ParseIntegerTest, LeadingBlanksSignDigitsThenStop) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  struct Case {
    const char* text;
    int32_t value;
  };
  const Case cases[] = {
      {" 7", 7},
      {"\t\n 8", 8},
      {"-3", -3},
      {"+12", 12},
      {"4x", 4},
      {"x4", 0},
      {"", 0},
      {"-", 0},
      {"+-5", 0},
      {"- 5", 0},
      {"007", 7},
      {"CH number", 0},
      {"2147483647", kMax},
      {"-2147483648", kMin},
      {"2147483648", kMax},
      {"-2147483649", kMin},
      {"99999999999999999999999999999999", kMax},
      {"-99999999999999999999999999999999", kMin},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(link::ParseInteger(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(link::ParseInteger(std::string(c.text)), c.value) << '"' << c.text << '"';
  }
  EXPECT_EQ(link::ParseInteger(static_cast<const char*>(nullptr)), 0);
}

TEST(MakeFrameTest, ChannelCharacterOrDeviceLevel) {
  struct Case {
    uint8_t address;
    char l1, l2;
    bool deviceLevel;
    int32_t channel;
    link::CommandFrame frame;
  };
  const Case cases[] = {
      {0xFE, 'M', 'S', false, 3, {0xFE, 'M', 'S', '3'}},
      {0xA3, 'R', 'H', true, 5, {0xA3, 'R', 'H', '0'}},  // channel not read
      {0x1F, 'C', 'L', false, 8, {0x1F, 'C', 'L', '8'}},
      {0x00, 'M', 'T', false, 12, {0x00, 'M', 'T', '<'}},
      {0x42, 'M', 'M', false, 0, {0x42, 'M', 'M', '0'}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(link::MakeFrame(c.address, c.l1, c.l2, c.deviceLevel, c.channel), c.frame)
        << c.l1 << c.l2 << " channel " << c.channel;
  }
}

}  // namespace
