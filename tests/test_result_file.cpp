// Saving the last results: the proposed name, the checks, the file's exact bytes.
#include <gtest/gtest.h>

#include <clocale>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/meter_window_test.h"

using testing_support::MeterWindowTest;
using testing_support::TempDir;
using Lines = std::vector<std::string>;

namespace {

const std::string kSaving = "Saving measurement results to file";
const std::string kFailed = "Saving measurement results to file failed - Try again";
const std::string kNoMoisture = "Unable to save moisture measurement results - Perform the measurement again";

// The name proposed at a time, made with the C library in the "C" locale.
std::string NameAt(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  char name[64];
  std::strftime(name, sizeof name, "%a %b %d %H-%M-%S.txt", &tm);
  return name;
}

}  // namespace

class ResultFileTest : public MeterWindowTest {
 protected:
  // The window keeps these as a complete measurement leaves them; the tests set them directly.
  void KeepResults(std::vector<uint32_t> reflectogram) {
    Main().LastMoisture = "23.45 ";
    Main().LastSalinity = "0.123";
    Main().LastProbeTemperature = "21.50";
    Main().LastDielectricConstant = "12.345";
    Main().LastReflectogram = std::move(reflectogram);
  }
  static std::vector<uint32_t> Ramp() {
    std::vector<uint32_t> values(1026);
    for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<uint32_t>(i * 64 % 65536);
    return values;
  }
};

TEST_F(ResultFileTest, WritesLineOneAndTheNegatedTraceWithCrLf) {
  FindMeter();
  TempDir dir;
  KeepResults(Ramp());
  Main().LastMoisture = "23.45";  // five characters: ";" follows directly
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
  Main().Savemeasurementresults1->Click();
  const std::time_t after = std::time(nullptr);

  EXPECT_TRUE(proposed == NameAt(before) || proposed == NameAt(after)) << proposed;
  EXPECT_EQ(NewLines(), Lines{kSaving});
  std::string expected = "theta 23.45;sigma 0.123;temp 21.50;\r\n";
  for (size_t i = 0; i < 1024; ++i) expected += "-" + std::to_string(i * 64 % 65536) + "\r\n";
  EXPECT_EQ(ReadFile(dir.File("results")), expected);
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
  Main().Savemeasurementresults1->Click();  // refused: the name is proposed all the same
  std::setlocale(LC_TIME, kept.c_str());
  const std::string proposed = Main().SaveDialog1->FileName();
  EXPECT_TRUE(proposed == NameAt(before) || proposed == NameAt(std::time(nullptr))) << proposed;
}

TEST_F(ResultFileTest, ZeroTraceGivesMinusZeroLines) {
  FindMeter();
  TempDir dir;
  KeepResults(std::vector<uint32_t>(1026, 0));
  Responder().AnswerFile(ui::FileDialogKind::Save, dir.File("zero.txt"));
  Main().Savemeasurementresults1->Click();
  const std::string text = ReadFile(dir.File("zero.txt"));
  std::string zeros;
  for (int i = 0; i < 1024; ++i) zeros += "-0\r\n";
  EXPECT_EQ(text, "theta 23.45 ;sigma 0.123;temp 21.50;\r\n" + zeros);
}

TEST_F(ResultFileTest, MissingResultsRefuseBeforeTheDialog) {
  FindMeter();
  struct Case {
    std::string what;
    std::function<void(TModule1&)> drop;
    std::string line;
  };
  const std::vector<Case> cases = {
      {"moisture", [](TModule1& m) { m.LastMoisture.reset(); }, kNoMoisture},
      // Moisture read alone leaves no trace to write: the moisture measurement must run again.
      {"reflectogram", [](TModule1& m) { m.LastReflectogram.reset(); }, kNoMoisture},
      {"salinity", [](TModule1& m) { m.LastSalinity.reset(); },
       "Unable to save salinity measurement results - Perform the measurement again"},
      {"temperature", [](TModule1& m) { m.LastProbeTemperature.reset(); },
       "Unable to save temperature measurement results - Perform the measurement again"},
      {"all", [](TModule1& m) { m.LastMoisture.reset(), m.LastSalinity.reset(), m.LastProbeTemperature.reset(); },
       kNoMoisture},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    KeepResults(Ramp());
    c.drop(Main());
    MarkLog();
    Main().Savemeasurementresults1->Click();  // no dialog is scripted
    EXPECT_EQ(NewLines(), (Lines{kSaving, c.line}));
    EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
  }
}

TEST_F(ResultFileTest, CancelledOrUnwritableIsReported) {
  FindMeter();
  TempDir dir;
  KeepResults(Ramp());
  Responder().AnswerFile(ui::FileDialogKind::Save, std::nullopt);
  Main().Savemeasurementresults1->Click();
  EXPECT_EQ(NewLines(), (Lines{kSaving, kFailed}));
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));

  MarkLog();
  Responder().AnswerFile(ui::FileDialogKind::Save, dir.File("no-such-folder/results.txt"));
  Main().Savemeasurementresults1->Click();
  EXPECT_EQ(NewLines(), (Lines{kSaving, kFailed}));
}

TEST_F(ResultFileTest, NeedsAFoundDeviceButKeepsResultsAcrossPorts) {
  FindMeter();
  KeepResults(Ramp());
  // A search that finds nothing leaves the item shown but the device unfound.
  Line().SetDeviceIds({});
  Main().search->Click();
  MarkLog();
  Main().Savemeasurementresults1->Click();
  EXPECT_EQ(NewLines(), Lines{"Search for devices on the selected com port first"});

  // Kept from the meter found before: still saved after closing the port and finding another.
  ClickCom(1);
  TempDir dir;
  FindMeter();
  Responder().AnswerFile(ui::FileDialogKind::Save, dir.File("again.txt"));
  Main().Savemeasurementresults1->Click();
  EXPECT_EQ(NewLines(), Lines{kSaving});
  EXPECT_EQ(ReadFile(dir.File("again.txt")).substr(0, 38), "theta 23.45 ;sigma 0.123;temp 21.50;\r\n");
}

TEST_F(ResultFileTest, RefusedSaveStillProposesItsNameToTheNextBankSave) {
  FindMeter();
  Main().Savemeasurementresults1->Click();  // nothing kept: refused
  const std::string proposed = Main().SaveDialog1->FileName();
  ASSERT_FALSE(proposed.empty());
  Responder().Answer([&](ui::ModalRequest& r) {
    EXPECT_EQ(r.file->fileName, proposed);
    return 0;
  });
  ui::FindAs<ui::MenuItem>(Main(), "Databanknr12")->Click();
}
