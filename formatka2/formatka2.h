// The window of the multi-channel stations.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "forms/formatka2_layout.h"
#include "link/bytes.h"
#include "link/frame.h"
#include "link/serial_port.h"

class TGraph1;
class TModule3;

// AUX probes found on the station's AUX connector: display name -> 16-character identifier.
using AuxProbeMap = std::map<std::string, std::string>;

class TModule2 : public forms::TModule2Layout {
 public:
  TModule2(ui::Component* Owner, link::SerialPort* port);
  ~TModule2() override;

  // Hides the data logger window and shows the given station window again, as it was left.
  void ReturnToStationWindow(TModule2* stationWindow);

  // Station command layer.
  std::optional<link::CommandFrame> BuildStationCommand(char letter1, char letter2, bool deviceLevel);
  std::optional<link::Bytes> ReadStationReply(int32_t count, bool check);

  // Reads the selected station's probe types into the channel radio buttons.
  void ReadProbeConfig();
  // Searches the selected station's AUX probes.
  void SearchAuxProbes();

  link::SerialPort* Port;
  std::string LastMoisture;
  std::string LastDielectricConstant;
  AuxProbeMap AuxProbes;

 protected:
  void FormCreate(ui::Component* Sender) override;
  void FormClose(ui::Component* Sender, ui::CloseAction& Action) override;
  void DeviceSelectChange(ui::Component* Sender) override;
  void MeasMoiClick(ui::Component* Sender) override;
  void MeasCondClick(ui::Component* Sender) override;
  void MeasTempAllClick(ui::Component* Sender) override;
  void ChannelSelectChange(ui::Component* Sender) override;
  void CableCalibClick(ui::Component* Sender) override;
  void ProbeCalibClick(ui::Component* Sender) override;
  void NonStProbCalibClickClick(ui::Component* Sender) override;
  void AUXselectChange(ui::Component* Sender) override;
  void AUXstartClick(ui::Component* Sender) override;
  void MeasTempClick(ui::Component* Sender) override;
  void MeasMPotClick(ui::Component* Sender) override;
  void ReadConfigClick(ui::Component* Sender) override;
  void SaveConfigClick(ui::Component* Sender) override;
  void DataLoggerClick(ui::Component* Sender) override;
  void BackClick(ui::Component* Sender) override;
  void Exitprogram1Click(ui::Component* Sender) override;
  void Help1Click(ui::Component* Sender) override;
  void Help2Click(ui::Component* Sender) override;

 private:
  void Log(const std::string& line) { Memo1->Lines().Add(line); }
  void ReturnToMain();
};

// Unit-level pointers.
extern ui::Component* Module2Owner;
extern TGraph1* StationGraph;
extern TModule3* LoggerWindow;
