// The handheld meter's device information and memory banks: text commands without preamble, the
// stored-points layout, the bank transfer with its wait, listing and saving.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "common/log_texts.h"
#include "sim/meter.h"
#include "tests/support/log_lines.h"
#include "tests/support/meter_test.h"

using namespace testing_support;
using Lines = std::vector<std::string>;

namespace {}  // namespace

class MeterInfoTest : public MeterTest {
 protected:
  sim::MeterMemory& Memory() { return Meter()->Memory(); }
  ui::MenuItem* ReadBank(int bank) {
    return ui::FindAs<ui::MenuItem>(Main(), "DataBanknr" + std::to_string(bank) + "1");
  }
  ui::MenuItem* SaveBank(int bank) {
    return ui::FindAs<ui::MenuItem>(Main(), "Databanknr" + std::to_string(bank) + "2");
  }
  std::string Points(int bank, int count) {
    std::string all;
    for (int i = 0; i < count; ++i) all += sim::MeterMemory::MakePoint(bank, i);
    return all;
  }
};

TEST_F(MeterInfoTest, EachItemSendsItsTextCommandWaitsAndLogsTheReply) {
  FindMeter();
  struct Case {
    ui::MenuItem* item;
    std::string command;
    std::function<void()> setUp;
    Lines lines;
  };
  const std::vector<Case> cases = {
      {Main().Time1, "HRT\n", [] {}, {"Current time: 14:25:07"}},
      {Main().Date1, "HRD\n", [] {}, {"Current date: 06.12.2026"}},
      {Main().Contrast1, "HRC\n", [] {}, {"Current contrast value: 045"}},
      {Main().Contrast1, "HRC\n", [this] { Memory().SetContrast("45"); }, {"Current contrast value: 45"}},
      // Only the three characters asked for are read.
      {Main().Contrast1, "HRC\n", [this] { Memory().SetContrast("0456"); }, {"Current contrast value: 045"}},
      {Main().Supplyvoltage1, "HRV\n", [this] { Memory().SetSupplyVoltage("4.87"); }, {"Current supply voltage: 4.87"}},
      // A NUL ends what is shown.
      {Main().Date1, "HRD\n", [this] { Memory().SetDate(std::string("06.1\0.2026", 10)); }, {"Current date: 06.1"}},
      {Main().Storeddatapoints1,
       "HRS\n",
       [] {},
       {"Stored data points:", "Data bank nr 1: 0004", "Data bank nr 2: 0000", "Data bank nr 3: 0012"}},
      {Main().Storeddatapoints1,
       "HRS\n",
       [this] { Memory().SetStoredPointsReply("0007 0123"); },
       {"Stored data points:", "Data bank nr 1: 0007", "Data bank nr 2: 0123", "Data bank nr 3: "}},
      {Main().Storeddatapoints1,
       "HRS\n",
       [this] { Memory().SetStoredPointsReply("0007 01"); },
       {"Stored data points:", "Data bank nr 1: 0007", "Data bank nr 2: 01", "Data bank nr 3: "}},
  };
  // 100 ms, then the read of the item's reply length.
  const std::map<ui::MenuItem*, std::string> waits = {{Main().Time1, "100 r208"},
                                                      {Main().Date1, "100 r210"},
                                                      {Main().Contrast1, "100 r203"},
                                                      {Main().Supplyvoltage1, "100 r205"},
                                                      {Main().Storeddatapoints1, "100 r214"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines.back());
    c.setUp();
    Mark();
    c.item->Click();
    EXPECT_EQ(NewLines(), c.lines);
    EXPECT_EQ(Waits(), waits.at(c.item));
    const auto frames = Line().Frames();
    ASSERT_EQ(frames.size(), 1u);
    // No preamble and no address: exactly the four characters.
    EXPECT_EQ(std::string(frames[0].raw.begin(), frames[0].raw.end()), c.command);
    EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
  }
}

TEST_F(MeterInfoTest, FailuresLogTheReadersLineAndNoValue) {
  FindMeter();
  const std::vector<std::pair<ui::MenuItem*, std::string>> items = {{Main().Time1, "HRT"},
                                                                    {Main().Date1, "HRD"},
                                                                    {Main().Contrast1, "HRC"},
                                                                    {Main().Supplyvoltage1, "HRV"},
                                                                    {Main().Storeddatapoints1, "HRS"}};
  for (const auto& [item, command] : items) {
    for (const auto& [fault, line] : {std::pair{sim::Fault::Er(), kErLine}, std::pair{sim::Fault::Silent(), kNoData}}) {
      SCOPED_TRACE(testing::Message() << command << " -> " << line);
      Line().ClearFaults();
      Line().InjectFault(command, fault);
      Mark();
      item->Click();
      EXPECT_EQ(NewLines(), Lines{line});
    }
  }
}

TEST_F(MeterInfoTest, OnlyTheClockIsReadWithoutAFoundDevice) {
  FindMeter();
  // A new search that finds nothing leaves the menus shown but the device unfound.
  Line().SetDeviceIds({});
  Main().search->Click();
  ASSERT_FALSE(Main().DeviceFound());
  Mark();
  Main().Time1->Click();
  EXPECT_EQ(NewLines(), Lines{"Current time: 14:25:07"});
  EXPECT_EQ(Commands(), Lines{"HRT"});
  for (auto* item :
       {Main().Date1, Main().Contrast1, Main().Supplyvoltage1, Main().Storeddatapoints1, ReadBank(1), SaveBank(2)}) {
    Mark();
    item->Click();
    EXPECT_EQ(NewLines(), Lines{kNoDevice}) << item->Name();
    EXPECT_EQ(Commands(), Lines{}) << item->Name();
  }

  // The other end of the line is gone: the command cannot be written.
  HangUpLine();
  const int before = Main().Memo1->Lines().Count();
  Main().Time1->Click();
  EXPECT_EQ(Since(Main().Memo1->Lines(), before), Lines{kSendFailureLine});
}

TEST_F(MeterInfoTest, BankListedInTheLogAsTwoEntries) {
  FindMeter();
  ReadBank(1)->Click();
  EXPECT_EQ(NewLines(), (Lines{"Data bank nr 1:", Points(1, 4)}));
  EXPECT_EQ(Commands(), (Lines{"HRS", "HRB1"}));
  EXPECT_EQ(Line().Frames()[1].raw, (std::vector<uint8_t>{'H', 'R', 'B', '1', '\n'}));
}

TEST_F(MeterInfoTest, BankCountIsReadFromItsOwnFourCharacters) {
  FindMeter();
  struct Case {
    std::string stored;  // the "HRS" reply
    int bank;
    int count;  // 0: empty
  };
  const std::vector<Case> cases = {
      {"0004;0000;0012", 2, 0},
      {"0004;    ;0012", 2, 0},
      {"0004;0000;0012", 3, 12},
      // What follows the field never counts: neither the separator nor the next bank's count.
      {"00030005;0001", 1, 3},
      {"  12;0000;0000", 1, 12},
      {"0004;0000;-005", 3, 0},
      {"0004;0000", 3, 0},  // field beyond the reply
      {"0004;02", 2, 2},
      {"x004;0000;0001", 1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored + " bank " + std::to_string(c.bank));
    Memory().SetStoredPointsReply(c.stored);
    Memory().FillBank(c.bank, c.count);
    Mark();
    ReadBank(c.bank)->Click();
    if (c.count == 0) {
      EXPECT_EQ(NewLines(), Lines{"Data bank nr " + std::to_string(c.bank) + " is empty"});
      EXPECT_EQ(Commands(), Lines{"HRS"});
    } else {
      EXPECT_EQ(NewLines(), (Lines{"Data bank nr " + std::to_string(c.bank) + ":", Points(c.bank, c.count)}));
      EXPECT_EQ(Commands(), (Lines{"HRS", "HRB" + std::to_string(c.bank)}));
    }
  }
}

TEST_F(MeterInfoTest, BankWaitGrowsWithTheCountFromTenPoints) {
  FindMeter();
  // The "HRS" exchange, then the bank's wait and its read of 92 characters per point.
  for (const auto& [count, waits] : {std::pair{1, "100 r214 200 r292"},
                                     {9, "100 r214 200 r1028"},
                                     {10, "100 r214 200 r1120"},
                                     {11, "100 r214 220 r1212"},
                                     {250, "100 r214 5000 r23200"}}) {
    SCOPED_TRACE(count);
    Memory().SetStoredPointsReply(std::nullopt);
    Memory().FillBank(3, count);
    Mark();
    ReadBank(3)->Click();
    EXPECT_EQ(Waits(), waits);
    const Lines lines = NewLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].size(), 92u * count);
  }
}

TEST_F(MeterInfoTest, BankTransferFailures) {
  FindMeter();
  struct Case {
    std::string command;
    sim::Fault fault;
    Lines lines;
    Lines commands;
  };
  const std::vector<Case> cases = {
      {"HRS", sim::Fault::Er(), {kErLine, "Data bank nr 1 is empty"}, {"HRS"}},
      {"HRS", sim::Fault::Silent(), {kNoData, "Data bank nr 1 is empty"}, {"HRS"}},
      {"HRB1", sim::Fault::Er(), {kErLine}, {"HRS", "HRB1"}},
      {"HRB1", sim::Fault::Silent(), {kNoData}, {"HRS", "HRB1"}},
      // Contents shorter than the count promised are listed as they came.
      {"HRB1", sim::Fault::Short(100), {"Data bank nr 1:", Points(1, 4).substr(0, 100), kNoData}, {"HRS", "HRB1"}},
      // So are contents a NUL cuts: what follows it is not in the bank.
      {"HRB1",
       sim::Fault::Custom(Points(1, 4).replace(10, 1, 1, '\0')),
       {"Data bank nr 1:", Points(1, 4).substr(0, 10), kNoData},
       {"HRS", "HRB1"}},
      {"HRB1", sim::Fault::LostWrite(), {kSendFailureLine}, {"HRS"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command + " " + c.lines.front());
    Line().ClearFaults();
    Line().InjectFault(c.command, c.fault);
    Mark();
    ReadBank(1)->Click();
    EXPECT_EQ(NewLines(), c.lines);
    EXPECT_EQ(Commands(), c.commands);
  }
  // Failures in save mode never get as far as the dialog (none is scripted).
  Line().InjectFault("HRB1", sim::Fault::Er());
  Mark();
  SaveBank(1)->Click();
  EXPECT_EQ(NewLines(), Lines{kErLine});
  EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);

  // "HRS" cannot be written: the bank counts as empty.
  HangUpLine();
  const int before = Main().Memo1->Lines().Count();
  ReadBank(3)->Click();
  EXPECT_EQ(Since(Main().Memo1->Lines(), before), (Lines{kSendFailureLine, "Data bank nr 3 is empty"}));
}

TEST_F(MeterInfoTest, BankSavedToAFileWithTxtAlwaysAppended) {
  FindMeter();
  TempDir dir;
  // A line feed of its own inside the contents becomes CR LF; the meter's CR LF stays as it is.
  Memory().SetBank(2, {"first\nsecond\r\n", "third"});
  Memory().SetStoredPointsReply("0004;0002;0012");
  std::ofstream(dir.File("x.txt")) << "kept";

  struct Case {
    std::string chosen;
    std::string written;
    std::string reply;  // in place of the bank's, when given
  };
  for (const auto& c : {Case{"bank", "bank.txt", ""}, Case{"x.txt", "x.txt.txt", ""},
                        Case{"cut", "cut.txt", Points(2, 2).replace(10, 1, 1, '\0')}}) {
    if (!c.reply.empty()) Line().InjectFault("HRB2", sim::Fault::Custom(c.reply));  // a NUL cuts it
    Mark();
    Responder().Answer([&](ui::ModalRequest& r) {
      EXPECT_EQ(r.kind, ui::ModalRequest::Kind::File);
      // The meter is read before the dialog opens.
      EXPECT_EQ(Commands(), (Lines{"HRS", "HRB2"}));
      EXPECT_EQ(r.file->kind, ui::FileDialogKind::Save);
      EXPECT_EQ(r.file->initialDir, std::filesystem::current_path().string());
      EXPECT_EQ(r.file->filter, "*.txt");
      EXPECT_EQ(r.file->defaultExt, "");
      r.file->fileName = dir.File(c.chosen);
      return 1;
    });
    SaveBank(2)->Click();
    EXPECT_EQ(NewLines(), Lines{kNoData}) << "points shorter than 92 characters each: saved, told incomplete";
    EXPECT_EQ(dir.Read(c.written), c.reply.empty() ? "Data bank nr 2:\r\nfirst\r\nsecond\r\nthird"
                                                   : "Data bank nr 2:\r\n" + c.reply.substr(0, 10));
  }
  EXPECT_EQ(dir.Read("x.txt"), "kept");
  // The dialog proposes the name it was last given.
  EXPECT_EQ(Main().SaveDialog1->FileName(), dir.File("cut"));
}

TEST_F(MeterInfoTest, BankSaveCancelledOrFailing) {
  FindMeter();
  TempDir dir;
  Responder().AnswerFile(ui::FileDialogKind::Save, std::nullopt);
  SaveBank(1)->Click();
  EXPECT_EQ(NewLines(), Lines{});
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));

  // A file that cannot be created is reported, not lost silently.
  Responder().AnswerFile(ui::FileDialogKind::Save, dir.File("missing-folder/bank"));
  SaveBank(3)->Click();
  EXPECT_EQ(NewLines(), Lines{"Saving data bank nr 3 to file failed - Try again"});
  EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
}

TEST(MeterMemoryTest, PointsAreFixedLengthLinesAndCountsFollowTheBanks) {
  sim::MeterMemory memory;
  for (int bank = 1; bank <= 3; ++bank) {
    for (int i : {0, 1, 250, 9998}) {
      const std::string p = sim::MeterMemory::MakePoint(bank, i);
      EXPECT_EQ(p.size(), sim::MeterMemory::kPointLength);
      EXPECT_EQ(p.substr(p.size() - 2), "\r\n");
      EXPECT_EQ(p.find('\n'), p.size() - 1);
      EXPECT_EQ(p, sim::MeterMemory::MakePoint(bank, i));
    }
  }
  auto ask = [&memory](const std::string& command) {
    sim::ReceivedFrame f;
    f.command = command;
    return memory.Answer(f);
  };
  memory.FillBank(2, 3);
  EXPECT_EQ(ask("HRS"), "0004;0003;0012");
  EXPECT_EQ(ask("HRB2")->size(), 3 * sim::MeterMemory::kPointLength);
  memory.FillBank(2, 0);
  EXPECT_EQ(ask("HRB2"), std::nullopt);
  EXPECT_EQ(ask("HRB4"), std::nullopt);
  EXPECT_EQ(ask("HRX"), std::nullopt);
}
