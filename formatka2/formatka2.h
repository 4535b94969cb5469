// The window of the multi-channel stations.
#pragma once

#include <optional>
#include <string>

#include "forms/formatka2_layout.h"
#include "link/serial_port.h"
#include "protocol/station.h"

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

  // Moisture and probe temperature: each read logs the value it keeps, or why none came.
  protocol::Result<std::string> ReadMoisture();
  protocol::Result<std::string> ReadDielectricConstant();
  void ReadProbeTemperature();

  // Full calibrations.
  void RunFullCalibration(bool fieldProbe, bool standard);

  link::SerialPort* Port;
  LogAppender* HeldLines;
  std::string LastMoisture;
  std::string LastDielectricConstant;
  protocol::AuxProbeIdMap AuxProbeMap;

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
  // The station DeviceSelect names now: its address is read afresh for every exchange.
  protocol::Station SelectedStation();
  // The channel chosen in ChannelSelect, when its text reads as 1 to 8.
  std::optional<int> SelectedChannel() const;
  // Whether the selected channel's field-probe button is checked (else: a laboratory probe).
  bool FieldProbeOnSelectedChannel() const;
  // What the shared full calibration takes from this window, and its second medium for a
  // laboratory probe: the AUX probe chosen, or the water temperature from the dialog.
  FullCalibrationSteps CalibrationSteps();
  std::optional<std::string> LaboratoryWaterPayload();
  // A refused reply's line, which comes before the caller's own failure lines.
  void LogRefusal(protocol::Failure failure);
  // The send failure when the frame did not go out, else the refusal; no line for a missing reply.
  void LogReadFailure(protocol::Failure failure);
  // Reads a value and logs `label`, its first `shown` characters and `unit`, keeping it in `kept`
  // when given; or logs the failure.
  protocol::Result<std::string> ShowValue(protocol::Station::Value value, const std::string& label, size_t shown,
                                          const std::string& unit, std::string* kept);
  // The log lines of a failed channel exchange: the send failure, then the hint to the channel.
  void LogChannelFailure();
};

// Unit-level pointers.
extern ui::Component* Module2Owner;
extern TGraph1* StationGraph;
extern TModule3* LoggerWindow;
