// The probes on the station's AUX connector: the search that lists them in AUXselect and the
// measurement of the one chosen there.
#include <string>

#include "common/log_texts.h"
#include "formatka2/formatka2.h"
#include "ui/application.h"
#include "ui/dialogs.h"

namespace {

// The texts of AUXselect that choose no probe.
bool NoProbeChosen(const std::string& text) { return text == "AUX probe" || text == "no probe" || text == "No probes"; }

}  // namespace

void TModule2::SearchAuxProbes() {
  using Ending = protocol::AuxSearch::Ending;
  // An "ER" reply is no marker: a probe of another family, skipped.
  const protocol::AuxSearch result = SelectedStation().SearchAux(false);
  if (result.ending == Ending::NotStarted) {
    Log(kSendFailureLine);
    return;
  }

  AuxProbeMap.clear();
  AUXselect->Items().Clear();
  // The list keeps the order and the repetitions reported; the map keeps the last identifier.
  for (const auto& [name, id] : result.probes) {
    AUXselect->Items().Add(name);
    AuxProbeMap[name] = id;
  }

  switch (result.ending) {
    case Ending::NotStarted:
    case Ending::Interrupted:
      Log(kSendFailureLine);
      break;
    case Ending::EndOfList:
      if (!AuxProbeMap.empty()) {
        Log("Probes found in AUX connector");
        AUXselect->SetText("no probe");
        break;
      }
      [[fallthrough]];  // an empty list says what a missing probe says
    case Ending::NoProbe:
      Log("No probes found in AUX connector");
      AUXselect->SetText("No probes");
      break;
    case Ending::BusError:
      Log("Error while connecting through AUX");
      ui::MessageDlg("Error\nwhile connecting through AUX", ui::DialogType::Warning, ui::DialogButtons::Ok);
      AUXselect->SetText("No probes");
      break;
  }
  if (result.ending != Ending::Interrupted) {
    MeasTemp->SetEnabled(false);
    MeasMPot->SetEnabled(false);
  }
  AUXselect->Items().Add("no probe");
}

void TModule2::AUXstartClick(ui::Component*) {
  ui::HourGlass hourGlass;
  SearchAuxProbes();
}

void TModule2::AUXselectChange(ui::Component*) {
  const std::string& text = AUXselect->Text();
  if (text == "no probe" || text == "No probes") {
    MeasTemp->SetEnabled(false);
    MeasMPot->SetEnabled(false);
  } else if (!text.empty() && text[0] == 't') {
    MeasMPot->SetEnabled(false);
    MeasTemp->SetEnabled(true);
  } else if (!text.empty() && text[0] == 'p') {
    MeasTemp->SetEnabled(false);
    MeasMPot->SetEnabled(true);
  }
}

void TModule2::MeasureAuxProbe() {
  const std::string name = AUXselect->Text();
  // A typed text that names no probe found has no identifier to send.
  const auto probe = AuxProbeMap.find(name);
  if (NoProbeChosen(name) || probe == AuxProbeMap.end()) {
    Log("Choose a probe connected through AUX");
    return;
  }
  Log(link::ShownInLog(name));

  protocol::Station station = SelectedStation();
  const auto family = station.MeasureAux(probe->second);
  if (!family) {
    Log(kSendFailureLine);
    return;
  }
  if (*family == protocol::AuxFamily::Other) return;  // nothing to read
  const auto reply = station.ReadAux(*family, true);
  if (!reply) {
    LogRefusal(reply.failure());
    Log(kSendFailureLine);
  } else if (*family == protocol::AuxFamily::Temperature) {
    Log("Measured probe temperature: " + link::ShownInLog(reply->Text()) + " Celsius grades");
  } else {
    Log("Measured matric pressure: " + link::ShownInLog(reply->Text()) + " mbar");
  }
}

void TModule2::MeasTempClick(ui::Component*) {
  ui::HourGlass hourGlass;
  MeasureAuxProbe();
}

void TModule2::MeasMPotClick(ui::Component*) {
  ui::HourGlass hourGlass;
  MeasureAuxProbe();
}
