// The window of the multi-channel stations.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/reflectogram.h"
#include "forms/formatka2_layout.h"
#include "link/aux_probe.h"
#include "link/bytes.h"
#include "link/frame.h"
#include "link/serial_port.h"

struct FullCalibrationSteps;
class LogAppender;
class TGraph1;
class TModule3;

class TModule2 : public forms::TModule2Layout {
 public:
  // The lines held for station files are lent on to every logger window opened from here; without
  // them each logger window holds its own.
  TModule2(ui::Component* Owner, link::SerialPort* port, LogAppender* heldLines = nullptr);
  ~TModule2() override;

  // Hides the data logger window and shows the given station window again, as it was left.
  void ReturnToStationWindow(TModule2* stationWindow);

  // Station command layer.
  std::optional<link::CommandFrame> BuildStationCommand(char letter1, char letter2, bool deviceLevel);
  std::optional<link::Bytes> ReadStationReply(int32_t count, bool check);

  // Probe types: reads the selected station's mask into the channel radio buttons (true when a
  // reply was shown), writes what the buttons show (true when the frame went out).
  bool ReadProbeConfig();
  bool SaveProbeConfig();

  // AUX probes: the search fills AuxProbeMap and AUXselect; the measurement reads the probe
  // chosen in AUXselect.
  void SearchAuxProbes();
  void MeasureAuxProbe();

  // Conductivity and probe length.
  void ReadConductivity();
  bool CalibrateProbeLength();

  // Moisture and probe temperature; the two reads return true when their frame was not sent.
  bool ReadMoisture();
  bool ReadDielectricConstant();
  void ReadProbeTemperature();

  // Full calibrations.
  void RunFullCalibration(bool fieldProbe, bool standard);
  void FinishFullCalibration();

  link::SerialPort* Port;
  LogAppender* HeldLines;
  std::string LastMoisture;
  std::string LastDielectricConstant;
  link::AuxProbeIdMap AuxProbeMap;

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
  // The channel chosen in ChannelSelect, when its text reads as 1 to 8.
  std::optional<int> SelectedChannel() const;
  // Whether the selected channel's field-probe button is checked (else: a laboratory probe).
  bool FieldProbeOnSelectedChannel() const;
  // What the shared full calibration takes from this window, and its second medium for a
  // laboratory probe: the AUX probe chosen, or the water temperature from the dialog.
  FullCalibrationSteps CalibrationSteps();
  std::optional<std::string> LaboratoryWaterPayload();
  // Builds a frame for the selected station and writes its first `count` bytes, then `payload`.
  bool Send(char letter1, char letter2, bool deviceLevel, int count, const std::string& payload = {});
  // The log lines of a failed channel exchange: the send failure, then the hint to the channel.
  void LogChannelFailure();
};

// Unit-level pointers.
extern ui::Component* Module2Owner;
extern TGraph1* StationGraph;
extern TModule3* LoggerWindow;
