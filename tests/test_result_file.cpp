// Saving the last results: the proposed name, the checks, the file's exact bytes.
#include <gtest/gtest.h>

#include <clocale>
#include <ctime>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/meter_test.h"

using testing_support::MeterTest;
using testing_support::TempDir;
using Lines = std::vector<std::string>;

namespace {

const std::string kSaving = "Saving measurement results to file";
const std::string kFailed = "Saving measurement results to file failed - Try again";
const std::string kNoMoisture = "Unable to save moisture measurement results - Perform the measurement again";
const std::string kNoSalinity = "Unable to save salinity measurement results - Perform the measurement again";
const std::string kNoTemperature = "Unable to save temperature measurement results - Perform the measurement again";

// The name proposed at a time, made with the C library in the "C" locale.
std::string NameAt(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  char name[64];
  std::strftime(name, sizeof name, "%a %b %d %H-%M-%S.txt", &tm);
  return name;
}

}  // namespace

class ResultFileTest : public MeterTest {
 protected:
  // The meter's results: a ramp for the trace, so that every line differs.
  void SetResults(const std::string& moisture) {
    Meter()->SetMoisture(moisture);
    Meter()->SetSalinity("0.123");
    Meter()->SetProbeTemperature("21.50");
    sim::MeterDevice::Values values{};
    for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<uint16_t>(i * 64);
    Meter()->SetReflectogram(values);
  }
  void Save() {
    Mark();
    Main().Savemeasurementresults1->Click();
  }
  static std::string Trace(const std::function<uint32_t(size_t)>& value) {
    std::string lines;
    for (size_t i = 0; i < 1024; ++i) {
      lines += '-';
      lines += std::to_string(value(i));
      lines += "\r\n";
    }
    return lines;
  }
};

TEST_F(ResultFileTest, WritesLineOneAndTheNegatedTraceWithCrLf) {
  Ready(2);
  TempDir dir;
  SetResults("23.45");  // five characters: ";" follows directly
  Main().MeasAll->Click();
  std::string proposed;
  const std::time_t before = std::time(nullptr);
  Responder().Answer([&](ui::ModalRequest& r) {
    EXPECT_EQ(r.kind, ui::ModalRequest::Kind::File);
    proposed = r.file->fileName;
    EXPECT_EQ(r.file->initialDir, std::filesystem::current_path().string());
    EXPECT_EQ(r.file->filter, "*.txt");
    EXPECT_EQ(r.file->defaultExt, "");
    r.file->fileName = dir.File("results");  // no extension: used as typed
    return 1;
  });
  Save();
  const std::time_t after = std::time(nullptr);

  EXPECT_TRUE(proposed == NameAt(before) || proposed == NameAt(after)) << proposed;
  EXPECT_EQ(NewLines(), Lines{kSaving});
  EXPECT_EQ(dir.Read("results"), "theta 23.45;sigma 0.123;temp 21.50;\r\n" + Trace([](size_t i) { return i * 64; }));
  EXPECT_FALSE(std::filesystem::exists(dir.File("results.txt")));
  EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
}

TEST_F(ResultFileTest, ProposedNameUsesEnglishNamesWhateverTheLocale) {
  FindMeter();
  // Any locale the machine has with other day names; the plain one when there is none.
  const char* const previous = std::setlocale(LC_TIME, nullptr);
  const std::string kept = previous ? previous : "C";
  for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "pl_PL.UTF-8"}) {
    if (std::setlocale(LC_TIME, name)) break;
  }
  const std::time_t before = std::time(nullptr);
  Save();  // refused, nothing measured: the name is proposed all the same
  std::setlocale(LC_TIME, kept.c_str());
  const std::string proposed = Main().SaveDialog1->FileName();
  EXPECT_TRUE(proposed == NameAt(before) || proposed == NameAt(std::time(nullptr))) << proposed;
}

TEST_F(ResultFileTest, ZeroTraceGivesMinusZeroLinesAndLineOneKeepsItsFields) {
  Ready(1);
  TempDir dir;
  // A control byte or a ';' in a text would split line 1 or shift its fields.
  for (const auto& [moisture, salinity, temperature, line1] :
       {std::tuple<std::string, std::string, std::string, std::string>{"23.45 ", "0.123", "21.50",
                                                                       "theta 23.45 ;sigma 0.123;temp 21.50;\r\n"},
        {"2;4\t5", std::string("0\r1\x7F", 4), "21\n5", "theta 2?4?5;sigma 0?1?;temp 21?5;\r\n"},
        {"\x1F 4", "0\x80", "21\xFF", "theta ? 4;sigma 0\x80;temp 21\xFF;\r\n"}}) {
    SetResults(moisture);
    Meter()->SetSalinity(salinity);
    Meter()->SetProbeTemperature(temperature);
    Meter()->SetReflectogram({});
    Main().MeasAll->Click();
    Responder().AnswerFile(ui::FileDialogKind::Save, dir.File("zero.txt"));
    Save();
    EXPECT_EQ(dir.Read("zero.txt"), line1 + Trace([](size_t) { return 0; }));
  }
}

TEST_F(ResultFileTest, EachMissingResultRefusesBeforeTheDialog) {
  Ready(1);
  SetResults("23.45 ");
  struct Step {
    std::string what;
    std::function<void()> measure;
    std::string line;  // empty: the dialog opens
  };
  const std::vector<Step> steps = {
      {"nothing measured", [] {}, kNoMoisture},
      // Moisture read alone leaves no trace to write: the moisture measurement must run again.
      {"moisture read only", [this] { Main().Lastmeasuredmoisture1->Click(); }, kNoMoisture},
      {"moisture and a failed temperature",
       [this] {
         Main().MeasMoi->Click();
         Line().InjectFault("RT", sim::Fault::Er(1));
         Main().MeasTemp->Click();
       },
       kNoSalinity},
      {"salinity", [this] { Main().MeasSal->Click(); }, kNoTemperature},
      {"temperature", [this] { Main().MeasTemp->Click(); }, ""},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    step.measure();
    if (step.line.empty()) Responder().AnswerFile(ui::FileDialogKind::Save, std::nullopt);
    Save();
    EXPECT_EQ(NewLines(), (Lines{kSaving, step.line.empty() ? kFailed : step.line}));
    EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
  }
}

TEST_F(ResultFileTest, CancelledOrUnwritableIsReported) {
  Ready(1);
  TempDir dir;
  Main().MeasAll->Click();
  Responder().AnswerFile(ui::FileDialogKind::Save, std::nullopt);
  Save();
  EXPECT_EQ(NewLines(), (Lines{kSaving, kFailed}));
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));

  Responder().AnswerFile(ui::FileDialogKind::Save, dir.File("no-such-folder/results.txt"));
  Save();
  EXPECT_EQ(NewLines(), (Lines{kSaving, kFailed}));
}

TEST_F(ResultFileTest, NeedsAFoundDeviceButKeepsResultsAcrossPorts) {
  Ready(1);
  SetResults("23.45 ");
  Main().MeasAll->Click();
  // A search that finds nothing leaves the item shown but the device unfound.
  Line().SetDeviceIds({});
  Main().search->Click();
  Save();
  EXPECT_EQ(NewLines(), Lines{"Search for devices on the selected com port first"});

  // Kept from the meter found before: still saved after closing the port and finding another
  // meter, with other results, that measured nothing.
  ClickCom(1);
  Meter()->SetSalinity("9.999");
  FindMeter();
  TempDir dir;
  Responder().AnswerFile(ui::FileDialogKind::Save, dir.File("again.txt"));
  Save();
  EXPECT_EQ(NewLines(), Lines{kSaving});
  EXPECT_EQ(dir.Read("again.txt").substr(0, 38), "theta 23.45 ;sigma 0.123;temp 21.50;\r\n");
}

TEST_F(ResultFileTest, RefusedSaveStillProposesItsNameToTheNextBankSave) {
  FindMeter();
  Save();  // nothing kept: refused
  const std::string proposed = Main().SaveDialog1->FileName();
  ASSERT_FALSE(proposed.empty());
  Responder().Answer([&](ui::ModalRequest& r) {
    EXPECT_EQ(r.file->fileName, proposed);
    return 0;
  });
  ui::FindAs<ui::MenuItem>(Main(), "Databanknr12")->Click();
}
