// The data logger window's scan of the selected station (probe types, the silent AUX search) and
// the sharing of the detected AUX probes among its sixteen AUX boxes.
#include <gtest/gtest.h>

#include <fstream>

#include "sim/station.h"
#include "tests/support/logger_test.h"

using testing_support::LoggerWindowTest;
using Lines = std::vector<std::string>;

namespace {

ui::ComboBox* Aux(TModule3& w, int n, int slot) {
  return ui::FindAs<ui::ComboBox>(w, "AUXselect" + std::to_string(n) + std::to_string(slot));
}
ui::CheckBox* Box(TModule3& w, const std::string& name) { return ui::FindAs<ui::CheckBox>(w, name); }

// The item list of every AUX box but the given one must be `others`.
void ExpectOtherLists(TModule3& w, const ui::ComboBox* except, const Lines& others) {
  for (int n = 1; n <= 8; ++n) {
    for (int slot = 1; slot <= 2; ++slot) {
      if (Aux(w, n, slot) == except) continue;
      EXPECT_EQ(Aux(w, n, slot)->Items().Items(), others) << Aux(w, n, slot)->Name();
    }
  }
}

void Pick(ui::ComboBox* box, const std::string& item) { box->UserPick(box->Items().IndexOf(item)); }

}  // namespace

class LoggerScanTest : public LoggerWindowTest {
 protected:
  std::shared_ptr<sim::StationDevice> Station() { return Line().Get<sim::StationDevice>(0x01); }
  size_t Sent(const std::string& command) {
    size_t n = 0;
    for (const auto& f : Line().Frames()) n += f.command == command;
    return n;
  }
};

TEST_F(LoggerScanTest, ProbeTypesCheckTheirBoxesAndOnlyFieldProbesMeasureTemperature) {
  Line().SetDeviceIds({"T0000101"});
  Station()->SetProbeTypeMask(0x11);
  ASSERT_NO_FATAL_FAILURE(OpenLogger({"T0000101"}));
  TModule3& w = Logger();
  for (int n = 1; n <= 8; ++n) {
    const bool lab = n == 1 || n == 5;
    SCOPED_TRACE(n);
    EXPECT_EQ(Box(w, "LabProbeButton" + std::to_string(n))->Checked(), lab);
    EXPECT_EQ(Box(w, "FieldProbeButton" + std::to_string(n))->Checked(), !lab);
    EXPECT_EQ(Box(w, "TempCheckBox" + std::to_string(n))->Enabled(), !lab);
  }

  // Replies that hold no mask leave every probe-type box unchecked and the temperature boxes as
  // they were.
  for (const char* reply : {"1g00", "1", "ER  "}) {
    SCOPED_TRACE(reply);
    Line().SetHandler("RH", [reply](const sim::ReceivedFrame&) { return reply; });
    testing_support::ClearWaits();
    w.DeviceSelect->UserType("T0000101");
    EXPECT_EQ(testing_support::Waits(), "20 r204 100 100 r216 100 100 r216 100 100 r216 100 100 r216");
    for (int n = 1; n <= 8; ++n) {
      EXPECT_FALSE(Box(w, "LabProbeButton" + std::to_string(n))->Checked());
      EXPECT_FALSE(Box(w, "FieldProbeButton" + std::to_string(n))->Checked());
      EXPECT_EQ(Box(w, "TempCheckBox" + std::to_string(n))->Enabled(), n != 1 && n != 5);
    }
  }
  // A station text without an address sends nothing at all.
  Line().ClearFrames();
  w.DeviceSelect->UserType("T00001");
  EXPECT_TRUE(Line().Frames().empty());
}

TEST_F(LoggerScanTest, TheAuxSearchOffersTemperatureAndPressureProbesOnly) {
  Line().SetDeviceIds({"T0000101"});
  Station()->SetAuxProbes({{"280A1B010000009F", "21.37"}, {"2811110100000001", "19.00"}, {"107788010000000C", ""}});
  ASSERT_NO_FATAL_FAILURE(OpenLogger({"T0000101"}));
  TModule3& w = Logger();
  EXPECT_EQ(w.DetectedProbes,
            (protocol::AuxProbeIdMap{{"t0A1B01", "280A1B010000009F"}, {"t111101", "2811110100000001"}}));
  EXPECT_EQ(w.FreeProbes, w.DetectedProbes);
  ExpectOtherLists(w, nullptr, {"t0A1B01", "t111101", "no probe"});
  EXPECT_EQ(Aux(w, 8, 2)->Text(), "no probe");

  struct Case {
    std::string name;
    std::function<void()> arrange;
    protocol::AuxProbeIdMap detected;
    Lines boxes;      // the messages shown
    size_t searches;  // 1S sent
  };
  const std::vector<Case> cases = {
      {"no probes", [this] { Station()->SetAuxProbes({}); }, {}, {}, 1},
      {"bus error after one probe",
       [this] {
         Station()->SetAuxProbes({{"553C4D01000000A1", "-153.2"}});
         Station()->SetAuxBusError(1);
       },
       {{"p3C4D01", "553C4D01000000A1"}},
       {"Error\nwhile connecting through AUX"},
       2},
      {"a reply cut short",
       [this] {
         Station()->SetAuxBusError(std::nullopt);
         Station()->SetAuxSearchReplies(Lines{"553C4D01000000A1", "280A1B01"});
       },
       {{"p3C4D01", "553C4D01000000A1"}},
       {},
       2},
      {"an ER reply ends the search as a missing one",
       [this] {
         Station()->SetAuxSearchReplies(Lines{"553C4D01000000A1", "ER00000000000000", "280A1B010000009F"});
       },
       {{"p3C4D01", "553C4D01000000A1"}},
       {},
       2},
      // P for ever after: a bus that lists a probe again has lost its place.
      {"a probe reported again ends the search as a bus error",
       [this] {
         Station()->SetAuxSearchReplies(Lines{"553C4D01000000A1", "280A1B010000009F", "553C4D01000000A1"});
       },
       {{"p3C4D01", "553C4D01000000A1"}, {"t0A1B01", "280A1B010000009F"}},
       {"Error\nwhile connecting through AUX"},
       3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.arrange();
    for (const auto& text : c.boxes) Responder().AnswerMessage(text, ui::mrOk, ui::DialogType::Warning);
    Line().ClearFrames();
    w.DeviceSelect->UserType("T0000101");
    EXPECT_EQ(Sent("1S"), c.searches);
    EXPECT_EQ(w.DetectedProbes, c.detected);
    Lines items;
    for (const auto& entry : c.detected) items.push_back(entry.first);
    items.push_back("no probe");
    ExpectOtherLists(w, nullptr, items);
  }
}

class LoggerAuxTest : public LoggerScanTest {
 protected:
  // P (p3C4D01) and T (t0A1B01) on the bus of the one station, and an unknown family.
  void SetUp() override {
    LoggerScanTest::SetUp();
    Line().SetDeviceIds({"T0000101", "T0000102"});
    Line().Get<sim::StationDevice>(0x02)->SetAuxProbes({});
    ASSERT_NO_FATAL_FAILURE(OpenLogger({"T0000101", "T0000102"}));
  }
  const std::string P = "p3C4D01", T = "t0A1B01";
};

TEST_F(LoggerAuxTest, EachDetectedProbeIsInAtMostOneBox) {
  TModule3& w = Logger();
  ui::ComboBox* box = Aux(w, 1, 1);
  ExpectOtherLists(w, nullptr, {P, T, "no probe"});

  Pick(box, T);
  EXPECT_EQ(w.FreeProbes, (protocol::AuxProbeIdMap{{P, "553C4D01000000A1"}}));
  ExpectOtherLists(w, box, {P, "no probe"});
  EXPECT_EQ(box->Items().Items(), (Lines{P, "no probe", T}));
  EXPECT_EQ(box->ItemIndex(), 2);
  EXPECT_EQ(w.AuxAssignments, (AuxAssignmentMap{{box, T}}));

  Pick(box, P);
  ExpectOtherLists(w, box, {T, "no probe"});
  EXPECT_EQ(box->Items().Items(), (Lines{T, "no probe", P}));
  EXPECT_EQ(w.AuxAssignments, (AuxAssignmentMap{{box, P}}));

  Pick(box, "no probe");
  ExpectOtherLists(w, nullptr, {P, T, "no probe"});
  EXPECT_EQ(box->Text(), "no probe");
  EXPECT_EQ(box->ItemIndex(), 2);
  EXPECT_TRUE(w.AuxAssignments.empty());

  // A typed name is taken like a picked one; let go, it is offered everywhere, without identifier.
  box->UserType("t777777");
  ExpectOtherLists(w, box, {P, T, "no probe"});
  EXPECT_EQ(w.AuxAssignments, (AuxAssignmentMap{{box, "t777777"}}));
  Pick(box, "no probe");
  EXPECT_EQ(w.FreeProbes.at("t777777"), "");
  ExpectOtherLists(w, nullptr, {P, T, "t777777", "no probe"});
}

TEST_F(LoggerAuxTest, StoredRecordsTakeTheirProbesOutOfTheLists) {
  TModule3& w = Logger();
  Pick(Aux(w, 3, 2), T);
  w.DeviceSelect->UserDropDown();
  EXPECT_EQ(w.Stations.at("T0000101")->GetAux2Id(2), "280A1B010000009F");
  EXPECT_EQ(w.Stations.at("T0000101")->GetAux1Id(2), "");

  // Away and back: the scan offers everything, then the record takes T again.
  w.DeviceSelect->UserPick(w.DeviceSelect->Items().IndexOf("T0000102"));
  ExpectOtherLists(w, nullptr, {"no probe"});  // the second station has no probes
  w.DeviceSelect->UserDropDown();
  w.DeviceSelect->UserPick(w.DeviceSelect->Items().IndexOf("T0000101"));
  EXPECT_EQ(Aux(w, 3, 2)->Text(), T);
  ExpectOtherLists(w, Aux(w, 3, 2), {P, "no probe"});
  EXPECT_EQ(w.AuxAssignments.at(Aux(w, 3, 2)), T);
}

TEST_F(LoggerAuxTest, AConfigurationFileCanNameProbesTheSearchDidNotFind) {
  TModule3& w = Logger();
  Pick(Aux(w, 1, 1), P);
  // A file for the station on show: slot 1 of channel 1 empty, slot 2 of channel 4 a probe that
  // is not on the bus.
  std::string text = "device\r\nT0000101\r\n";
  for (int n = 1; n <= 8; ++n) {
    text +=
        n == 4 ? "0;0;0;0;no probe;noAUX;t999999;2899999901000000;\r\n" : "0;0;0;0;no probe;noAUX;no probe;noAUX;\r\n";
  }
  text += "0;0;0;0;\r\n0;0;0;0;\r\n0;\r\nfin";
  const std::string path = folder_.File("probes.txt");
  std::ofstream(path, std::ios::binary) << text;
  Responder().AnswerFile(ui::FileDialogKind::Open, path);
  w.ReadConfig->Click();

  // t999999 shows in its box and is offered nowhere; P stays out of every list until box 11
  // changes again.
  EXPECT_EQ(Aux(w, 4, 2)->Text(), "t999999");
  EXPECT_EQ(Aux(w, 1, 1)->Text(), "no probe");
  ExpectOtherLists(w, nullptr, {T, "no probe"});
  Pick(Aux(w, 1, 1), "no probe");
  ExpectOtherLists(w, Aux(w, 1, 1), {P, T, "no probe"});

  // Stored again, the unknown probe has no identifier any more: the logger gives it "ERR01".
  w.DeviceSelect->UserDropDown();
  EXPECT_EQ(w.Stations.at("T0000101")->GetAux2Name(3), "t999999");
  EXPECT_EQ(w.Stations.at("T0000101")->GetAux2Id(3), "");
}
