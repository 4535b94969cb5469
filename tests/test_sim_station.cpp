// The stand-in station answered frame by frame, without a line.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "sim/instruments.h"
#include "sim/station.h"

namespace {

using sim::StationDevice;

// A frame as the parser delivers it: address, two letters, then the channel or the payload.
sim::ReceivedFrame Frame(const std::string& command, const std::string& rest = "") {
  sim::ReceivedFrame f;
  f.preamble = 23;
  f.address = 0xA1;
  f.command = command;
  f.bytes = {0xA1, static_cast<uint8_t>(command[0]), static_cast<uint8_t>(command[1])};
  f.bytes.insert(f.bytes.end(), rest.begin(), rest.end());
  return f;
}

std::string Reply(StationDevice& s, const std::string& command, const std::string& rest = "") {
  return s.Answer(Frame(command, rest)).value_or("<none>");
}

const std::string kSearchStart(16, 'F');

TEST(SimStation, ReadingsFollowTheLastMeasuredChannel) {
  StationDevice s(0xA1);
  struct Case {
    std::string measure, channel, read;
    size_t length;
    std::string expected;  // empty: only the length is checked
  };
  const std::vector<Case> cases = {
      {"MS", "2", "RS", 5, "0.125"},  {"MT", "1", "RT", 5, "20.50"}, {"MM", "3", "RN", 6, "14.000"},
      {"MM", "3", "RM", 6, ""},       {"MS", "8", "RS", 5, "0.275"}, {"MS", ":", "RS", 5, "ER   "},
      {"MM", "0", "RN", 6, "ER    "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.measure + c.channel + " " + c.read);
    EXPECT_EQ(Reply(s, c.measure, c.channel), "<none>");
    const std::string r = Reply(s, c.read);
    EXPECT_EQ(r.size(), c.length);
    if (!c.expected.empty()) {
      EXPECT_EQ(r, c.expected);
    }
  }
  // Moisture agrees with the dielectric constant it comes from.
  Reply(s, "MM", "1");
  EXPECT_NEAR(std::strtod(Reply(s, "RM").c_str(), nullptr), 18.8, 0.1);
}

TEST(SimStation, ProbeTypeMaskIsReadAndSet) {
  StationDevice s(0xA1);
  EXPECT_EQ(Reply(s, "RH"), "F000");
  EXPECT_EQ(Reply(s, "SP", "8100"), "<none>");
  EXPECT_EQ(s.ProbeTypeMask(), 0x81);
  EXPECT_EQ(Reply(s, "RH"), "8100");
  Reply(s, "SP", "0g00");  // not a mask: kept
  EXPECT_EQ(s.ProbeTypeMask(), 0x81);
}

TEST(SimStation, ReflectogramIsHexadecimalWithMarkersOnTheTrace) {
  StationDevice s(0xA1);
  Reply(s, "MM", "4");
  const std::string text = Reply(s, "RG");
  ASSERT_EQ(text.size(), 4104u);
  const std::vector<uint16_t> values = s.Reflectogram(4);
  for (size_t i = 0; i < values.size(); ++i) {
    ASSERT_EQ(std::strtoul(text.substr(4 * i, 4).c_str(), nullptr, 16), values[i]) << i;
  }
  EXPECT_EQ(text.find_first_not_of("0123456789ABCDEF"), std::string::npos);
  EXPECT_LT(values[1024], values[1025]);
  EXPECT_LE(values[1025] / 10, 1023);

  s.SetTraceStyle(StationDevice::TraceStyle::LowerHex);
  const std::string lower = Reply(s, "RG");
  EXPECT_EQ(lower.find_first_not_of("0123456789abcdef"), std::string::npos);
  EXPECT_NE(lower.find_first_of("abcdef"), std::string::npos);
  s.SetTraceStyle(StationDevice::TraceStyle::Broken);
  EXPECT_NE(Reply(s, "RG").find('G'), std::string::npos);

  s.SetReflectogram(std::vector<uint16_t>{0x1234});
  s.SetTraceStyle(StationDevice::TraceStyle::UpperHex);
  EXPECT_EQ(Reply(s, "RG").substr(0, 8), "12340000");
}

TEST(SimStation, CalibrationResultsNeedTheirStepOnTheSameChannel) {
  StationDevice s(0xA1);
  struct Step {
    std::string command, channel, expected;
  };
  const std::vector<Step> steps = {
      {"VA", "2", "E002"},
      {"CL", "2", "<none>"},
      {"VL", "2", "1.75"},
      {"CA", "2", "<none>"},
      {"VA", "2", "1.00"},
      {"VA", "3", "E002"},
      {"CC", "2", "E004"},
      {"CW", "2", "<none>"},
      {"VW", "2", "80.2"},
      {"CC", "2", "OK00"},
      {"CC", "2", "E004"},  // applied: a new calibration starts from the
                            // first medium
      {"VL", "9", "E001"},
  };
  for (const Step& st : steps) EXPECT_EQ(Reply(s, st.command, st.channel), st.expected) << st.command << st.channel;

  s.SetRefused("VL", true);
  EXPECT_EQ(Reply(s, "VL", "1")[0], 'E');
  s.SetRefused("VL", false);
  EXPECT_EQ(Reply(s, "VL", "1"), "1.50");
}

TEST(SimStation, AuxSearchReportsProbesThenAMarker) {
  StationDevice s(0x2C);
  const std::vector<sim::AuxProbe> defaults = s.AuxProbes();
  ASSERT_EQ(defaults.size(), 3u);
  EXPECT_EQ(defaults[0].id, "280A1B2C0000009F");
  EXPECT_EQ(defaults[1].id.substr(0, 2), "55");

  auto search = [&](size_t replies) {
    Reply(s, "1W", kSearchStart);
    std::vector<std::string> got;
    for (size_t i = 0; i < replies; ++i) got.push_back(Reply(s, "1S"));
    return got;
  };
  EXPECT_EQ(search(5), (std::vector<std::string>{defaults[0].id, defaults[1].id, defaults[2].id, sim::kAuxEndOfList,
                                                 sim::kAuxEndOfList}));
  s.SetAuxBusError(1);
  EXPECT_EQ(search(3), (std::vector<std::string>{defaults[0].id, sim::kAuxBusError, sim::kAuxBusError}));
  s.SetAuxBusError(std::nullopt);
  s.SetAuxProbes({});
  EXPECT_EQ(search(1), std::vector<std::string>{sim::kAuxNoProbe});
  s.SetAuxSearchReplies(std::vector<std::string>{"ER00000000000000", "2801"});
  EXPECT_EQ(search(3), (std::vector<std::string>{"ER00000000000000", "2801", "2801"}));
  EXPECT_EQ(s.Payloads().size(), 4u);
}

TEST(SimStation, AuxMeasurementAnswersByTheProbesFamily) {
  StationDevice s(0xA1);
  s.SetAuxProbes({{"280A1B2C0000009F", "21.37"}, {"553C4D5E000000A1", "-153.2"}, {"10778899000000C3", ""}});
  struct Case {
    std::string id, read, expected;
  };
  const std::vector<Case> cases = {
      {"280A1B2C0000009F", "1R", "21.37"},  {"553C4D5E000000A1", "1P", "-153.2"},
      {"280A1B2C0000009F", "1P", "ER    "}, {"553C4D5E000000A1", "1R", "ER   "},
      {"10778899000000C3", "1R", "ER   "},  {"28FFFFFF0000009F", "1R", "ER   "},  // not on the bus
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Reply(s, "1M", c.id), "<none>");
    EXPECT_EQ(Reply(s, c.read), c.expected) << c.id << " " << c.read;
  }
  // A calibration payload is recorded, and is no search start.
  Reply(s, "1W", "50000000000B7300");
  EXPECT_EQ(s.Payloads().back(), "50000000000B7300");
}

TEST(SimStation, FaultsShapeOnlyThisStationsReplies) {
  StationDevice s(0xA1);
  Reply(s, "MS", "1");
  s.InjectFault("RS", sim::Fault::Silent(1));
  EXPECT_EQ(Reply(s, "RS"), "<none>");
  EXPECT_EQ(Reply(s, "RS"), "0.100");
  s.InjectFault("RS", sim::Fault::Short(3));
  EXPECT_EQ(Reply(s, "RS"), "0.1");
  s.InjectFault("RS", sim::Fault::Er());
  EXPECT_EQ(Reply(s, "RS"), "ER   ");
  s.ClearFaults();
  EXPECT_EQ(Reply(s, "RS"), "0.100");
}

TEST(SimStation, InstalledByDefaultAtTheAddressOfEachStation) {
  sim::Instruments line({"T0001A01", "T0001A02", "G0001A10"});
  auto first = line.Get<StationDevice>(0x01);
  auto second = line.Get<StationDevice>(0x02);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(line.Get<StationDevice>(0x10), nullptr);
  EXPECT_NE(first->AuxProbes()[0].id, second->AuxProbes()[0].id);
}

}  // namespace
