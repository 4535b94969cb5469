// The "COM ports" menu and the device search.
#include <string>
#include <vector>

#include "common/log_texts.h"
#include "formatka2/formatka2.h"
#include "formatka4/formatka4.h"
#include "main/main.h"
#include "protocol/search.h"
#include "ui/application.h"

namespace {

std::string ComName(int n) { return "COM" + std::to_string(n); }

}  // namespace

void TModule1::ChooseCOM(ui::Component* Sender) {
  auto* item = dynamic_cast<ui::MenuItem*>(Sender);
  if (!item) return;

  if (!Port->IsOpen()) {
    item->SetChecked(true);
    const int n = item->Tag();
    Port->SetPortMenuItem(item, n);
    Log("Opening port: " + ComName(n));
    if (Port->Open(ComName(n).c_str())) {
      Port->SetOpen(true);
      Opened_port->SetCaption(ComName(n));
      Log("Port " + ComName(n) + " opened");
    } else {
      Log("Port " + ComName(n) + " is unavailable");
      item->SetChecked(false);
      Port->Close();
    }
    return;
  }

  item->SetChecked(false);
  // Another port is open: it stays open. Switching takes two clicks.
  if (item->Tag() != Port->PortNumber()) return;
  const int n = Port->PortNumber();
  Log("Closing port: " + ComName(n));
  Port->SetOpen(false);
  Opened_port->SetCaption("none");
  Port->Close();
  DeviceName->SetCaption("none");
  deviceFound = false;
  DeviceName->Show();
  GroupBox3->Hide();
  GroupBox4->Hide();
  BLogo->Show();
  SetMeterMenusVisible(false);
  Log("Port " + ComName(n) + " closed");
}

void TModule1::searchClick(ui::Component*) {
  ui::HourGlass hourGlass;
  if (!Port->IsOpen()) {
    Log("Select port before serching for devices");
    return;
  }
  Log("Searching for devices on port: " + ComName(Port->PortNumber()));
  const auto found = protocol::SearchDevices(*Port);
  if (found.failed(protocol::Failure::NotSent)) {
    Log(kSendFailureLine);
    return;
  }
  if (!found) {
    DeviceName->SetCaption("none");
    Log("No devices found");
    deviceFound = false;
    return;
  }

  const std::vector<std::string>& ids = *found;
  DeviceName->SetCaption("none");
  Log("Found devices:");
  switch (ids[0].empty() ? '\0' : ids[0][0]) {
    case 'H':
      DeviceName->SetCaption(ids[0]);
      SetCaption("TDR/KAV/qrz");
      Log(link::ShownInLog(ids[0]));
      SetMeterMenusVisible(true);
      break;

    case 'T': {
      delete StationWindow;
      StationWindow = new TModule2(this, Port.get(), &heldLines_);
      for (size_t i = 0; i < ids.size(); ++i) {
        if (ids[i].empty() || ids[i][0] != 'G') StationWindow->DeviceSelect->Items().Add(ids[i]);
        if (i == 0) StationWindow->DeviceSelect->SetText(ids[i]);
        Log(link::ShownInLog(ids[i]));
      }
      Hide();
      StationWindow->Memo1->Lines().Assign(Memo1->Lines());
      StationWindow->ReadProbeConfig();
      StationWindow->SearchAuxProbes();
      StationWindow->Show();
      break;
    }

    case 'G':
      delete ModemWindow;
      ModemWindow = new TModule4(this, Port.get());
      ModemWindow->DeviceSelect->SetText(ids[0]);
      for (const auto& id : ids) Log(link::ShownInLog(id));
      Hide();
      ModemWindow->Memo1->Lines().Assign(Memo1->Lines());
      ModemWindow->Show();
      break;

    default:
      Log("The device is not supported by this program version");
      return;
  }
  GroupBox3->Show();
  GroupBox4->Show();
  BLogo->Hide();
  deviceFound = true;
}
