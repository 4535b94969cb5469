// The devices configuration file: the exact bytes, round trips, the reader's leniencies and
// every way a file can be corrupt.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "formatka3/config_file.h"
#include "tests/support/logger_test.h"

using testing_support::NothingLogged;

namespace {

std::string Crlf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

const std::string kChannelLine = "0;0;0;0;no probe;noAUX;no probe;noAUX;";

std::string OneBlock(const std::string& key) {
  std::vector<std::string> lines = {"device", key};
  for (int i = 0; i < 8; ++i) lines.push_back(kChannelLine);
  lines.insert(lines.end(), {"0;0;0;0;", "0;0;0;0;", "0;"});
  return Crlf(lines);
}

}  // namespace

TEST(DevicesConfigFile, OneStationWithNothingChosenGivesThirteenLinesAndFin) {
  StationMap stations;
  stations["T0001A01"] = NothingLogged();
  EXPECT_EQ(configfile::Write(stations), OneBlock("T0001A01") + "fin");
}

TEST(DevicesConfigFile, RecordsComeBackAsWritten) {
  StationMap stations;
  auto a = NothingLogged();
  a->SetEpsi(0, true);
  a->SetTeta(2, true);
  a->SetSigma(7, true);
  a->SetTemp(4, true);
  a->SetAux1Name(2, "t0A1B2C");
  a->SetAux1Id(2, "280A1B2C0000009F");
  a->SetAux2Name(5, "AUX probe");
  a->SetCal(1, true);
  a->SetA0(1, -1.5);
  a->SetA1(1, 0.000012345);
  a->SetA2(1, 1234567.0);
  a->SetPeriod(60);
  stations["T0000201"] = std::move(a);
  stations["T0000102"] = NothingLogged();

  const std::string text = configfile::Write(stations);
  EXPECT_LT(text.find("T0000102"), text.find("T0000201"));
  EXPECT_NE(text.find("1;-1.5;1.2345e-05;1.23457e+06;\r\n"), std::string::npos);
  const auto read = configfile::Read(text);
  ASSERT_TRUE(read);
  ASSERT_EQ(read->size(), 2u);
  const DeviceConfig& r = *read->at("T0000201");
  EXPECT_TRUE(r.GetEpsi(0) && r.GetTeta(2) && r.GetSigma(7) && r.GetTemp(4) && r.GetCal(1));
  EXPECT_FALSE(r.GetEpsi(1) || r.GetCal(0));
  EXPECT_EQ(r.GetAux1Name(2), "t0A1B2C");
  EXPECT_EQ(r.GetAux1Id(2), "280A1B2C0000009F");
  EXPECT_EQ(r.GetAux2Name(5), "AUX probe");
  EXPECT_EQ(r.GetAux2Id(5), "noAUX");  // an empty identifier comes back as the token
  EXPECT_EQ(r.GetA0(1), -1.5);
  EXPECT_EQ(r.GetA1(1), 1.2345e-05);
  EXPECT_EQ(r.GetA2(1), 1234570.0);  // six significant digits
  EXPECT_EQ(r.GetPeriod(), 60);
  // What the writer made and the reader took is written again byte for byte.
  EXPECT_EQ(configfile::Write(*read), text);
}

TEST(DevicesConfigFile, ReaderLeniencies) {
  struct Case {
    std::string name, text;
  };
  std::string lf = OneBlock("T0001A01");
  for (size_t p; (p = lf.find("\r\n")) != std::string::npos;) lf.erase(p, 1);
  std::string flags = OneBlock("T0001A01");
  flags.replace(flags.find(kChannelLine), 8, "10;0;2;1;");  // "10" and "1" set, "0" and "2" not
  std::string markers = OneBlock("T0001A01");
  markers.replace(0, 6, "xdevice");
  const std::vector<Case> cases = {
      {"fin with a line end", OneBlock("T0001A01") + "fin\r\n"},
      {"LF line ends", lf + "fin"},
      {"markers as substrings", markers + "refine"},
      {"flags containing 1", flags + "fin"},
      {"text after fin", OneBlock("T0001A01") + "fin\r\ngarbage"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto read = configfile::Read(c.text);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->count("T0001A01"), 1u);
    if (c.name == "flags containing 1") {
      const DeviceConfig& r = *read->at("T0001A01");
      EXPECT_TRUE(r.GetEpsi(0));
      EXPECT_FALSE(r.GetTeta(0));
      EXPECT_FALSE(r.GetSigma(0));
      EXPECT_TRUE(r.GetTemp(0));
    }
  }
  // An empty file with only the end marker, and a later block of the same key replacing the first.
  EXPECT_EQ(configfile::Read("fin")->size(), 0u);
  std::string twice = OneBlock("T0001A01") + OneBlock("T0001A01") + "fin";
  twice.replace(twice.rfind("0;\r\n"), 2, "9;");
  EXPECT_EQ(configfile::Read(twice)->at("T0001A01")->GetPeriod(), 9);
  // Number fields as the C library reads them: without a number 0, "0x10" 16.
  std::string words = OneBlock("T0001A01") + "fin";
  words.replace(words.rfind("0;\r\n"), 2, "abc;");
  words.replace(words.rfind("0;0;0;0;"), 8, "0;0x10;0;0;");
  EXPECT_EQ(configfile::Read(words)->at("T0001A01")->GetPeriod(), 0);
  EXPECT_EQ(configfile::Read(words)->at("T0001A01")->GetA0(1), 16);
}

TEST(DevicesConfigFile, CorruptFilesAreRefused) {
  const std::string good = OneBlock("T0001A01");
  auto replaced = [&good](const std::string& from, const std::string& to) {
    std::string t = good;
    t.replace(t.find(from), from.size(), to);
    return t + "fin";
  };
  struct Case {
    std::string name, text;
  };
  const std::vector<Case> cases = {
      {"no fin", good},
      {"cut short", good.substr(0, good.size() / 2)},
      {"empty file", ""},
      {"empty line for a marker", "\r\n" + good + "fin"},
      {"unknown marker", "station\r\n" + good + "fin"},
      {"marker over 7", "devices1\r\n" + good.substr(8) + "fin"},
      {"key over 8", replaced("T0001A01", "T0001A01X")},
      {"empty field", replaced(kChannelLine, "0;;0;0;no probe;noAUX;no probe;noAUX;")},
      {"field without its ;", replaced(kChannelLine, "0;0;0;0;no probe;noAUX;no probe;noAUX")},
      {"flag over 7", replaced(kChannelLine, "00000000;0;0;0;no probe;noAUX;no probe;noAUX;")},
      {"name over 16", replaced(kChannelLine, "0;0;0;0;no probe at all here!!;noAUX;no probe;noAUX;")},
      {"number over 16", replaced("0;0;0;0;\r\n", "0;0.00000000000000001;0;0;\r\n")},
      {"missing period line", replaced("0;\r\n", "")},
      {"CR in a key", replaced("T0001A01", "T0\r01A01")},
      {"CR in a name", replaced(kChannelLine, "0;0;0;0;no\rprobe;noAUX;no probe;noAUX;")},
      {"coefficient not a number", replaced("0;0;0;0;\r\n", "0;0;nan;0;\r\n")},
      {"coefficient infinite", replaced("0;0;0;0;\r\n", "0;-inf;0;0;\r\n")},
      {"period out of range", good.substr(0, good.rfind("0;\r\n")) + "1e999;\r\nfin"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(configfile::Read(c.text));
  }
}

TEST(DevicesConfigFile, WriterRefusesWhatItsReaderWouldNotTake) {
  struct Case {
    std::string name, key;
    std::function<void(DeviceConfig&)> change;
    bool writable;
  };
  const std::vector<Case> cases = {
      {"as the window makes it", "T0001A01", [](DeviceConfig&) {}, true},
      {"empty key", "", [](DeviceConfig&) {}, true},
      {"key over 8", "T0001A01X", [](DeviceConfig&) {}, false},
      {"empty AUX name", "T0001A01", [](DeviceConfig& c) { c.SetAux1Name(3, ""); }, false},
      {"name over 16", "T0001A01", [](DeviceConfig& c) { c.SetAux2Name(0, std::string(17, 'x')); }, false},
      {"';' in a name", "T0001A01", [](DeviceConfig& c) { c.SetAux2Name(0, "t;1"); }, false},
      {"identifier over 16", "T0001A01", [](DeviceConfig& c) { c.SetAux1Id(0, std::string(17, '2')); }, false},
      {"16-character identifier", "T0001A01", [](DeviceConfig& c) { c.SetAux1Id(0, std::string(16, '2')); }, true},
      {"huge period", "T0001A01", [](DeviceConfig& c) { c.SetPeriod(-1.23456e-300); }, true},
      {"coefficient not a number", "T0001A01", [](DeviceConfig& c) { c.SetA2(1, std::nan("")); }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StationMap stations;
    stations["T0000001"] = NothingLogged();
    auto config = NothingLogged();
    c.change(*config);
    stations[c.key] = std::move(config);
    const auto bad = configfile::FirstUnwritable(stations);
    if (c.writable) {
      EXPECT_FALSE(bad);
      EXPECT_TRUE(configfile::Read(configfile::Write(stations)));
    } else {
      EXPECT_EQ(bad, c.key);
    }
  }
}
