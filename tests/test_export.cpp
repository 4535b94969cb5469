// Exporting the last reflectogram to the spreadsheet application: the calls in their order, the
// cells, both message boxes; and the built-in server writing a real workbook for the desktop's
// spreadsheet program.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/automation.h"
#include "platform/spreadsheet_server.h"
#include "tests/support/meter_test.h"
#include "tests/support/recording_automation.h"
#include "tests/support/xlsx_reader.h"

using namespace testing_support;
using Lines = std::vector<std::string>;

namespace {

const std::string kNotInstalled = "You must install MSExcel first";
const std::string kFailed = "Exporting to MS Excel failed - Try again.";
const std::string kNoMoisture = "Unable to save moisture measurement results - Perform the measurement again";

uint32_t TraceValue(size_t i) { return static_cast<uint32_t>((i * 97 + 11) % 65536); }

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A stand-in program in `dir` that writes its arguments into dir/<name>.opened, or a fixed text
// to its standard output.
void WriteProgram(const TempDir& dir, const std::string& name, const std::string& prints = "") {
  const std::string path = dir.File(name);
  std::ofstream(path) << "#!/bin/sh\n"
                      << (prints.empty() ? "echo \"$@\" > '" + path + ".opened'\n" : "echo '" + prints + "'\n");
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

// What the stand-in program was handed, once it has run.
std::string WaitForOpened(const TempDir& dir, const std::string& name) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < until) {
    std::ifstream in(dir.File(name + ".opened"));
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!text.empty() && text.back() == '\n') return text.substr(0, text.size() - 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return {};
}

}  // namespace

class ExportTest : public MeterTest {
 protected:
  // A moisture measurement whose trace differs in every value.
  void MeasureMoisture() {
    Meter()->SetMoisture("23.45 ");
    sim::MeterDevice::Values values{};
    for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<uint16_t>(TraceValue(i));
    Meter()->SetReflectogram(values);
    Main().MeasMoi->Click();
    Mark();
  }
  void Export() { Main().ExportmeasurementresultstoMSExcel1->Click(); }
  static Lines ExpectedCalls() {
    Lines calls = {"0.Visible put true",       "0.Workbooks get -> 1", "1.Add method -> 2",  "1.Item get 1 -> 3",
                   "3.Worksheets method -> 4", "4.Item get 1 -> 5",    "5.Cells method -> 6"};
    int next = 7;
    auto cell = [&](int row, const std::string& column, const std::string& value) {
      calls.push_back("6.Item get " + std::to_string(row) + " \"" + column + "\" -> " + std::to_string(next));
      calls.push_back(std::to_string(next++) + ".Value put " + value);
    };
    cell(1, "A", "\"theta =\"");
    cell(1, "B", "\"23.45 \"");
    for (int i = 1; i <= 1023; ++i)
      cell(i + 1, "A", std::to_string(-static_cast<int>(TraceValue(static_cast<size_t>(i)))));
    for (const char* object : {"6", "5", "4", "3", "1", "0"}) calls.push_back(std::string(object) + " released");
    return calls;
  }
};

TEST_F(ExportTest, CallsInOrderAndCellsA1B1AndA2ToA1024) {
  Ready(1);
  RecordingSpreadsheet excel;
  // Moisture alone: salinity and temperature are not needed.
  MeasureMoisture();
  Export();
  EXPECT_EQ(excel.Calls(), ExpectedCalls());
  EXPECT_EQ(excel.Cells().size(), 1025u);
  EXPECT_EQ(excel.Cells().count("A1025"), 0u);
  EXPECT_EQ(excel.Alive(), 0) << "every object is released";
  // Nothing logged, nothing shown.
  EXPECT_EQ(NewLines(), Lines{});
  EXPECT_TRUE(Responder().Shown().empty());
  EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);

  // Each export starts the application anew.
  Export();
  EXPECT_EQ(excel.Created(), 2);
}

TEST_F(ExportTest, RefusedBeforeTheApplicationStarts) {
  Ready(1);
  RecordingSpreadsheet excel;
  struct Step {
    std::string what;
    std::function<void()> before;
    std::string line;
  };
  const std::vector<Step> steps = {
      {"nothing measured", [] {}, kNoMoisture},
      // Moisture read alone has no trace to go with it.
      {"moisture read only", [this] { Main().Lastmeasuredmoisture1->Click(); }, kNoMoisture},
      {"no device found",
       [this] {
         MeasureMoisture();
         Line().SetDeviceIds({});
         Main().search->Click();
       },
       "Search for devices on the selected com port first"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    step.before();
    Mark();
    Export();
    EXPECT_EQ(NewLines(), Lines{step.line});
  }
  EXPECT_EQ(excel.Created(), 0);
}

TEST_F(ExportTest, ApplicationThatCannotBeCreated) {
  Ready(1);
  MeasureMoisture();
  RecordingSpreadsheet excel;
  excel.FailCreation();
  Responder().AnswerMessage(kNotInstalled, ui::mrOk, ui::DialogType::Custom);
  Export();
  EXPECT_TRUE(excel.Calls().empty());
  EXPECT_EQ(NewLines(), Lines{});
  ASSERT_EQ(Responder().Messages().size(), 1u);
  EXPECT_EQ(Responder().Messages()[0].caption, "QV USB Rererazuzazu");
  EXPECT_EQ(Responder().Messages()[0].buttons, ui::DialogButtons::Ok);
  EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
}

TEST_F(ExportTest, FailingCallStopsTheExportAndKeepsWhatWasMade) {
  Ready(1);
  MeasureMoisture();
  const Lines all = ExpectedCalls();
  for (size_t failing : {size_t{0}, size_t{3}, size_t{7}, size_t{12}, all.size() - 1}) {
    SCOPED_TRACE(failing);
    RecordingSpreadsheet excel;
    excel.FailCall(failing);
    Responder().AnswerMessage(kFailed, ui::mrOk, ui::DialogType::Custom);
    Export();
    Lines expected(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(failing));
    expected.push_back(all[failing].substr(0, all[failing].find(" ->")) + " failed");
    EXPECT_EQ(excel.Calls(), expected);
    EXPECT_EQ(excel.Alive(), 0);
    EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
  }
  EXPECT_EQ(NewLines(), Lines{});
}

// The built-in server, with a stand-in spreadsheet program on the PATH that records the file it
// is handed.
class SpreadsheetServerTest : public ExportTest {
 protected:
  void SetUp() override {
    ExportTest::SetUp();
    path_ = std::make_unique<ScopedEnv>("PATH", bin_.Path());
    tmp_ = std::make_unique<ScopedEnv>("TMPDIR", tmpDir_.Path());
  }
  void TearDown() override {
    tmp_.reset();
    path_.reset();
    ExportTest::TearDown();
  }
  TempDir bin_, tmpDir_;

 private:
  std::unique_ptr<ScopedEnv> path_, tmp_;
};

TEST_F(SpreadsheetServerTest, ExportOpensAWorkbookWithTheCellsInTheSpreadsheetProgram) {
  Ready(1);
  WriteProgram(bin_, "localc");
  MeasureMoisture();
  Export();
  EXPECT_TRUE(Responder().Shown().empty());
  const std::string opened = WaitForOpened(bin_, "localc");
  ASSERT_FALSE(opened.empty()) << "the spreadsheet program was not started";
  EXPECT_EQ(std::filesystem::path(opened).parent_path(), std::filesystem::path(tmpDir_.Path()));
  EXPECT_EQ(std::filesystem::path(opened).extension(), ".xlsx");

  const auto cells = testing_support::ReadFirstSheetCells(opened);
  ASSERT_TRUE(cells.has_value()) << opened << " is no workbook";
  std::map<std::string, std::string> expected = {{"A1", "theta ="}, {"B1", "23.45 "}};
  for (size_t i = 1; i <= 1023; ++i) {
    expected[std::string(1, 'A').append(std::to_string(i + 1))] = std::to_string(-static_cast<int>(TraceValue(i)));
  }
  EXPECT_EQ(*cells, expected);
}

TEST_F(SpreadsheetServerTest, DesktopDefaultApplicationWinsOverAProgramOnThePath) {
  WriteProgram(bin_, "xdg-mime", "calc.desktop");
  WriteProgram(bin_, "xdg-open");
  WriteProgram(bin_, "gnumeric");
  EXPECT_EQ(platform::FindSpreadsheetProgram(), (Lines{bin_.File("xdg-open")}));
  // A desktop without a default for .xlsx files: the program on the PATH.
  WriteProgram(bin_, "xdg-mime", " ");
  EXPECT_EQ(platform::FindSpreadsheetProgram(), (Lines{bin_.File("gnumeric")}));
  std::filesystem::remove(bin_.File("gnumeric"));
  EXPECT_EQ(platform::FindSpreadsheetProgram(), std::nullopt);
}

TEST_F(SpreadsheetServerTest, NoOrFailingSpreadsheetProgramIsToldOnce) {
  Ready(1);
  MeasureMoisture();
  // No program, one that cannot be executed, one that fails at once; /proc takes no file, even from root.
  for (const auto& [program, tmp, box] :
       std::vector<std::array<std::string, 3>>{{"", tmpDir_.Path(), kNotInstalled},
                                               {"#!/no/such/shell\n", tmpDir_.Path(), kFailed},
                                               {"#!/bin/sh\nexit 1\n", tmpDir_.Path(), kFailed},
                                               {"#!/bin/sh\n", "/proc", kFailed}}) {
    if (!program.empty()) std::ofstream(bin_.File("localc")) << program;
    chmod(bin_.File("localc").c_str(), 0700);
    ScopedEnv tmpDir("TMPDIR", tmp);
    Responder().AnswerMessage(box, ui::mrOk, ui::DialogType::Custom);
    Export();
    EXPECT_TRUE(!program.empty() || std::filesystem::is_empty(tmpDir_.Path()));
  }
}

TEST_F(SpreadsheetServerTest, FailedCallAfterShowingStillOpensTheCellsMadeBefore) {
  WriteProgram(bin_, "localc");
  {
    platform::OleValue app = platform::CreateAutomationObject("Excel.Application");
    app.PutProperty("visible", true);  // names are matched without regard to case
    platform::OleValue books = app.GetProperty("Workbooks");
    books.CallMethod("Add");
    platform::OleValue cells =
        books.GetProperty("Item", {1}).CallMethod("Worksheets").GetProperty("Item", {1}).CallMethod("Cells");
    cells.GetProperty("Item", {1, "A"}).PutProperty("Value", "kept");
    cells.GetProperty("Item", {3, 2}).PutProperty("Value", 7);
    cells.GetProperty("Item", {2, "AA"}).PutProperty("Value", true);
    struct Bad {
      std::string what;
      std::function<void()> call;
    };
    const std::vector<Bad> bad = {
        {"unknown member", [&] { cells.CallMethod("Sort"); }},
        {"row 0",
         [&] {
           cells.GetProperty("Item", {0, "A"});
         }},
        {"no column",
         [&] {
           cells.GetProperty("Item", {1, "A1"});
         }},
        {"second workbook", [&] { books.GetProperty("Item", {2}); }},
        {"text for Visible", [&] { app.PutProperty("Visible", "yes"); }},
        {"no object", [&] { platform::OleValue(3).GetProperty("Value"); }},
    };
    for (const auto& b : bad) EXPECT_THROW(b.call(), platform::AutomationError) << b.what;
    EXPECT_FALSE(std::filesystem::exists(bin_.File("localc.opened"))) << "nothing opens while objects are held";
  }
  const std::string opened = WaitForOpened(bin_, "localc");
  ASSERT_FALSE(opened.empty());
  const auto cells = testing_support::ReadFirstSheetCells(opened);
  ASSERT_TRUE(cells.has_value());
  EXPECT_EQ(*cells, (std::map<std::string, std::string>{{"A1", "kept"}, {"B3", "7"}, {"AA2", "1"}}));
}

TEST_F(SpreadsheetServerTest, TextCellsHoldValidUtf8WhateverBytesTheyWereGiven) {
  WriteProgram(bin_, "localc");
  // A garbled byte in a text must not make the whole workbook unreadable: it shows as U+FFFD.
  const std::string kBad = "\xEF\xBF\xBD";
  const std::vector<std::pair<std::string, std::string>> texts = {
      {"23.45 ", "23.45 "},
      {"23\xB0", "23" + kBad},                              // a lone high byte
      {"\xC3\xA9t\xC3", "\xC3\xA9t" + kBad},                // valid, then a cut sequence
      {"\xC0\xAF", kBad + kBad},                            // overlong form
      {"\xED\xA0\x80", kBad + kBad + kBad},                 // surrogate
      {"\xEF\xBF\xBE", kBad + kBad + kBad},                 // U+FFFE and
      {"\xEF\xBF\xBF", kBad + kBad + kBad},                 // U+FFFF: no characters in XML
      {"\xF0\x9F\x98\x80\xF5", "\xF0\x9F\x98\x80" + kBad},  // four bytes, then none possible
  };
  {
    platform::OleValue app = platform::CreateAutomationObject("Excel.Application");
    app.PutProperty("Visible", true);
    platform::OleValue books = app.GetProperty("Workbooks");
    books.CallMethod("Add");
    platform::OleValue cells =
        books.GetProperty("Item", {1}).CallMethod("Worksheets").GetProperty("Item", {1}).CallMethod("Cells");
    for (size_t i = 0; i < texts.size(); ++i) {
      cells.GetProperty("Item", {static_cast<int32_t>(i + 1), "B"}).PutProperty("Value", texts[i].first);
    }
  }
  const std::string opened = WaitForOpened(bin_, "localc");
  ASSERT_FALSE(opened.empty());
  const auto cells = testing_support::ReadFirstSheetCells(opened);
  ASSERT_TRUE(cells.has_value());
  std::map<std::string, std::string> expected;
  for (size_t i = 0; i < texts.size(); ++i) expected["B" + std::to_string(i + 1)] = texts[i].second;
  EXPECT_EQ(*cells, expected);
}

TEST(AutomationTest, ColumnLettersAndServerRegistry) {
  for (const auto& [letters, number] : std::vector<std::pair<std::string, int>>{
           {"A", 1}, {"b", 2}, {"Z", 26}, {"AA", 27}, {"XFD", 16384}, {"", 0}, {"A1", 0}, {"ABCD", 0}}) {
    EXPECT_EQ(platform::ColumnNumber(letters), number) << letters;
  }
  EXPECT_THROW(platform::CreateAutomationObject("Word.Application"), platform::AutomationError);
  {
    RecordingSpreadsheet excel;
    EXPECT_NO_THROW(platform::CreateAutomationObject("Excel.Application"));
    EXPECT_EQ(excel.Created(), 1);
  }
  // The built-in server is back: it finds no spreadsheet program on an empty PATH.
  TempDir empty;
  ScopedEnv path("PATH", empty.Path());
  EXPECT_THROW(platform::CreateAutomationObject("Excel.Application"), platform::AutomationError);
}
