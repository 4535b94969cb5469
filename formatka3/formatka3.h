// The data logger window.
#pragma once

#include <string>

#include "forms/formatka3_layout.h"
#include "link/serial_port.h"

class TModule3 : public forms::TModule3Layout {
 public:
  TModule3(ui::Component* Owner, link::SerialPort* port);
  ~TModule3() override;

  // Reads the selected station's probe types and searches its AUX probes.
  void ScanStation();
  // Shows the selected station's stored configuration.
  void ApplyStoredConfig();

  link::SerialPort* Port;

 protected:
  void FormCreate(ui::Component* Sender) override;
  void FormClose(ui::Component* Sender, ui::CloseAction& Action) override;
  void DeviceSelectChange(ui::Component* Sender) override;
  void DeviceSelectDropDown(ui::Component* Sender) override;
  void StartClick(ui::Component* Sender) override;
  void StopClick(ui::Component* Sender) override;
  void AUXselectChange(ui::Component* Sender) override;
  void ReadConfigClick(ui::Component* Sender) override;
  void SaveConfigClick(ui::Component* Sender) override;
  void Exitprogram1Click(ui::Component* Sender) override;
  void Help1Click(ui::Component* Sender) override;
  void Help2Click(ui::Component* Sender) override;

 private:
  void ReturnToStation();
};

extern ui::Component* Module3Owner;
