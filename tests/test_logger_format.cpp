// The logger's texts and arithmetic: file names, header and time columns, the values' decimal
// points, the calibrated moisture, the minimum period, and the framework's number conversions.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "formatka3/device_config.h"
#include "formatka3/log_line.h"
#include "tests/support/temp_dir.h"
#include "ui/numbers.h"

namespace {

// Restores the decimal separator the test changed.
class SeparatorGuard {
 public:
  explicit SeparatorGuard(char c) { ui::SetDecimalSeparator(c); }
  ~SeparatorGuard() { ui::SetDecimalSeparator(0); }
};

DeviceConfig EmptyConfig() {
  DeviceConfig c;
  for (int i = 0; i < 8; ++i) {
    c.SetAux1Name(i, "no probe");
    c.SetAux2Name(i, "AUX probe");
  }
  return c;
}

}  // namespace

TEST(LoggerFormat, HeaderHasOneTokenPerLoggedColumnInChannelOrder) {
  DeviceConfig c = EmptyConfig();
  c.SetEpsi(0, true);
  c.SetCal(0, true);
  c.SetTeta(0, true);
  c.SetSigma(1, true);
  c.SetTemp(1, true);
  c.SetAux1Name(1, "t0A1B2C");
  EXPECT_EQ(logline::HeaderLine(c), "counter time/date E1 Cal11 M1 S2 T2 X21 \r\n");

  // Calibrations make columns only where the dielectric constant is logged.
  DeviceConfig m = EmptyConfig();
  m.SetTeta(3, true);
  m.SetCal(0, true);
  m.SetCal(1, true);
  m.SetEpsi(7, true);
  m.SetAux2Name(7, "p3C4D5E");
  EXPECT_EQ(logline::HeaderLine(m), "counter time/date M4 E8 Cal81 Cal82 X82 \r\n");
  EXPECT_EQ(logline::HeaderLine(EmptyConfig()), "counter time/date \r\n");
}

TEST(LoggerFormat, FileNameIsTheKeysFirstEightCharacters) {
  EXPECT_EQ(logline::LogFileName("T0000102"), "T0000102.txt");
  EXPECT_EQ(logline::LogFileName("T0001A0199"), "T0001A01.txt");
  EXPECT_EQ(logline::LogFileName("T0001"), "T0001.txt");
  EXPECT_EQ(logline::LogFileName(std::string("../\\\0\x1f\x7f/01", 10)), "..______.txt");  // never outside the folder
}

TEST(LoggerFormat, EveryValueIsOneColumnWhateverTheStationSent) {
  const std::vector<std::string> values = {"25.43 ",  " 7.2", "1 2", "", "   ", "\x7f", std::string("\00012.5", 5),
                                           " 1\t 2\r"};
  EXPECT_EQ(logline::DataLine(3, "07:03:09", values), "3 07:03:09 25.43   7.2 1?2 ? ? ? ?12.5  1??2? \r\n");
}

TEST(LoggerFormat, TimeHasTheDateOnlyInTheFirstPass) {
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 0;
  t.tm_mday = 5;
  t.tm_hour = 7;
  t.tm_min = 3;
  t.tm_sec = 9;
  EXPECT_EQ(logline::TimeText(t, true), "2026-01-05/07:03:09");
  EXPECT_EQ(logline::TimeText(t, false), "07:03:09");
  EXPECT_EQ(logline::NowText(true).size(), 19u);
  EXPECT_EQ(logline::NowText(false).size(), 8u);
}

TEST(LoggerFormat, RepliesGetAPointAndEpsIsReadWhateverTheLocale) {
  EXPECT_EQ(logline::CommaToPoint("12,34"), "12.34");
  EXPECT_EQ(logline::CommaToPoint("1,2,3"), "1.2,3");
  EXPECT_EQ(logline::CommaToPoint("ER   "), "ER   ");

  struct Case {
    std::string text;
    std::optional<double> value;
  };
  const std::vector<Case> cases = {
      {"16.5  ", 16.5},        {"  7.25", 7.25},   {"+3", 3.0},           {"-2.5x", -2.5},     {"1e2", 100.0},
      {"ER   ", std::nullopt}, {"", std::nullopt}, {"x12", std::nullopt}, {".", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(logline::ParseNumber(c.text), c.value);
  }
  EXPECT_EQ(logline::StreamNumber(17.5), "17.5");
}

TEST(LoggerFormat, CalibratedValueOrErr01) {
  struct Case {
    std::optional<double> eps;
    double a0, a1, a2;
    std::string expected;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<Case> cases = {
      {16.0, 1, 2, 0.5, "17"},
      {2.0, 0, 1, 0, "1.41421"},      // 6 significant digits
      {4.0, 0, 0, 0.00001, "4e-05"},  // exponent form for the very small
      {1e6, 0, 0, 2, "2e+06"},
      {0.0, 3.25, 1, 1, "3.25"},
      {std::nullopt, 1, 2, 0.5, "ERR01"},  // no number from the channel's own RN
      {-1.0, 1, 2, 0.5, "ERR01"},          // no real square root
      {inf, 1, 2, 0.5, "ERR01"},
      {std::nan(""), 1, 2, 0.5, "ERR01"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(logline::CalibratedText(c.eps, c.a0, c.a1, c.a2), c.expected);
  }
}

TEST(LoggerFormat, MinimumPeriodAddsUpEveryStoredStation) {
  StationMap stations;
  stations["T0000101"] = std::make_unique<DeviceConfig>(EmptyConfig());
  stations["T0000101"]->SetTeta(0, true);
  stations["T0000101"]->SetSigma(1, true);
  EXPECT_DOUBLE_EQ(logline::MinimumPeriod(stations), 2.5);

  auto second = std::make_unique<DeviceConfig>(EmptyConfig());
  second->SetTemp(2, true);
  second->SetEpsi(3, true);                 // adds nothing
  second->SetAux1Name(4, "t0A1B2C");        // 1 s
  second->SetAux2Name(4, "typed by hand");  // any other text: 1 s
  stations["T0000202"] = std::move(second);
  EXPECT_DOUBLE_EQ(logline::MinimumPeriod(stations), 7.5);

  EXPECT_EQ(logline::PeriodWaitMs(5.5, 2.5), 3000);
  EXPECT_EQ(logline::PeriodWaitMs(2.5, 2.5), 0);
  EXPECT_EQ(logline::PeriodWaitMs(0.0019, 0), 1);  // truncated
  EXPECT_EQ(logline::PeriodWaitMs(2147483.647, 0), 2147483647);
  EXPECT_EQ(logline::PeriodWaitMs(2147483.648, 0), std::nullopt);
  EXPECT_EQ(logline::PeriodWaitMs(std::numeric_limits<double>::infinity(), 0), std::nullopt);
  EXPECT_EQ(logline::PeriodWaitMs(std::nan(""), 0), std::nullopt);
}

TEST(LoggerFormat, StationMapWalksKeysByCharacterCodeAndOwnsItsRecords) {
  StationMap stations;
  stations["T0000201"] = std::make_unique<DeviceConfig>();
  stations["T0000102"] = std::make_unique<DeviceConfig>();
  stations["T00001"] = std::make_unique<DeviceConfig>();
  stations["t0000001"] = std::make_unique<DeviceConfig>();
  std::vector<std::string> keys;
  for (const auto& entry : stations) keys.push_back(entry.first);
  EXPECT_EQ(keys, (std::vector<std::string>{"T00001", "T0000102", "T0000201", "t0000001"}));

  stations["T0000102"]->SetPeriod(1);
  stations["T0000102"] = std::make_unique<DeviceConfig>();
  EXPECT_EQ(stations.size(), 4u);
  EXPECT_EQ(stations["T0000102"]->GetPeriod(), 0);
}

TEST(FrameworkNumbers, TextToFloatFollowsTheUsersDecimalSeparator) {
  struct Case {
    char separator;
    std::string text;
    std::optional<double> value;
  };
  const std::vector<Case> cases = {
      {'.', "5.5", 5.5},
      {'.', " -2.5e3 ", -2500.0},
      {'.', "0", 0.0},
      {'.', "+7", 7.0},
      {'.', "1E-2", 0.01},
      {'.', "3.", 3.0},
      {'.', ".5", 0.5},
      {'.', "5,5", std::nullopt},
      {'.', "", std::nullopt},
      {'.', "period", std::nullopt},
      {'.', "1e", std::nullopt},
      {'.', "1e999", std::nullopt},
      {'.', "inf", std::nullopt},
      {'.', "nan", std::nullopt},
      {'.', "1.2.3", std::nullopt},
      {',', "5,5", 5.5},
      {',', "5.5", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(1, c.separator) + " " + c.text);
    SeparatorGuard guard(c.separator);
    if (c.value) {
      EXPECT_DOUBLE_EQ(ui::StrToFloat(c.text), *c.value);
    } else {
      try {
        ui::StrToFloat(c.text);
        ADD_FAILURE() << "no error";
      } catch (const ui::EConvertError& e) {
        EXPECT_EQ(std::string(e.what()), "'" + c.text + "' is not a valid floating point value");
      }
    }
  }
}

TEST(FrameworkNumbers, FloatToTextIsGeneralWith15Digits) {
  SeparatorGuard point('.');
  EXPECT_EQ(ui::FloatToStr(0), "0");
  EXPECT_EQ(ui::FloatToStr(-0.0), "0");
  EXPECT_EQ(ui::FloatToStr(2.5), "2.5");
  EXPECT_EQ(ui::FloatToStr(6), "6");
  EXPECT_EQ(ui::FloatToStr(0.1 + 0.2), "0.3");
  EXPECT_EQ(ui::FloatToStr(123456789012345678.0), "1.23456789012346E17");
  EXPECT_EQ(ui::FloatToStr(0.00001), "1E-5");
  EXPECT_EQ(ui::FloatToStr(-2.5e-100), "-2.5E-100");
  SeparatorGuard comma(',');
  EXPECT_EQ(ui::FloatToStr(2.5), "2,5");
  // A locale whose point is more than a byte (U+066B) leaves '.' to type and to show.
  struct NumericLocaleGuard {  // the locale found comes back, also when the row throws
    const std::string found = std::setlocale(LC_NUMERIC, nullptr);
    ~NumericLocaleGuard() { std::setlocale(LC_NUMERIC, found.c_str()); }
  } restore;
  testing_support::TempDir locales;
  const int built = std::system(("localedef -i ps_AF -f UTF-8 " + locales.File("ps_AF.UTF-8")).c_str());
  setenv("LOCPATH", locales.Path().c_str(), 1);
  const char* set = std::setlocale(LC_NUMERIC, "ps_AF.UTF-8");  // localedef's warnings are no failure
  unsetenv("LOCPATH");
  ASSERT_NE(set, nullptr) << "localedef ended with " << built;
  SeparatorGuard locale(0);
  EXPECT_EQ(ui::FloatToStr(ui::StrToFloat("2.5")), "2.5");
}
