// The main window: COM-port menu, device search, the handheld meter's commands, and the way back
// from the device windows.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/log_file.h"
#include "forms/main_layout.h"
#include "link/probe_type_mask.h"
#include "link/serial_port.h"
#include "protocol/meter.h"

struct FullCalibrationSteps;
class TGraph1;
class TModule2;
class TModule4;

class TModule1 : public forms::TModule1Layout {
 public:
  explicit TModule1(ui::Component* Owner);
  ~TModule1() override;

  // Called by the station window ("formatka2") and the modem window ("formatka4") when they are
  // left: takes their log back, closes the port and shows this window again.
  void ReturnToMainWindow(const std::string& unitName);

  // Every handheld-meter operation asks first whether a device was found (and logs it if not).
  bool CheckDeviceFound();

  // Meter measurements: each read fetches one last value from the meter, keeps it and logs it,
  // or logs why not.
  protocol::Result<std::string> ReadSalinity() { return ReadMeterValue(protocol::MeterValue::Salinity); }
  protocol::Result<std::string> ReadProbeTemperature() {
    return ReadMeterValue(protocol::MeterValue::ProbeTemperature);
  }
  protocol::Result<std::string> ReadMoisture() { return ReadMeterValue(protocol::MeterValue::Moisture); }
  protocol::Result<std::string> ReadDielectricConstant() {
    return ReadMeterValue(protocol::MeterValue::DielectricConstant);
  }

  // Probe type of the selected channel: the meter's mask, shown in and saved from ProbeGroup.
  std::optional<link::ProbeTypeMask> ReadProbeConfig();
  void ShowProbeType(const std::optional<link::ProbeTypeMask>& mask);
  void SaveProbeConfig(const std::optional<link::ProbeTypeMask>& mask);

  // Calibrations of the probe on the selected channel.
  bool CalibrateProbeLength();
  void RunFullCalibration(bool field, bool standard);

  link::SerialPort* GetPort() const { return Port.get(); }
  bool DeviceFound() const { return deviceFound; }

  // The last values of the handheld meter, exactly as received (absent until read).
  std::optional<std::string> LastSalinity, LastProbeTemperature, LastMoisture, LastDielectricConstant;
  // The last reflectogram: 1024 trace values and the two marker positions.
  std::optional<std::vector<uint32_t>> LastReflectogram;

 protected:
  void FormCreate(ui::Component* Sender) override;
  void FormClose(ui::Component* Sender, ui::CloseAction& Action) override;
  void searchClick(ui::Component* Sender) override;
  void ChooseCOM(ui::Component* Sender) override;
  void Exitprogram1Click(ui::Component* Sender) override;
  void Help1Click(ui::Component* Sender) override;
  void Help2Click(ui::Component* Sender) override;

  // Handheld meter operations.
  void ProbeGroupClick(ui::Component* Sender) override;
  void ChannelSelectChange(ui::Component* Sender) override;
  void CableCalibClick(ui::Component* Sender) override;
  void ProbeCalibClick(ui::Component* Sender) override;
  void NonStProbCalibClickClick(ui::Component* Sender) override;
  void MeasMoiClick(ui::Component* Sender) override;
  void MeasSalClick(ui::Component* Sender) override;
  void MeasTempClick(ui::Component* Sender) override;
  void Performcompletemeasurement1Click(ui::Component* Sender) override;
  void Savemeasurementresults1Click(ui::Component* Sender) override;
  void ExportmeasurementresultstoMSExcel1Click(ui::Component* Sender) override;
  void LastMeasuredSalinity1Click(ui::Component* Sender) override;
  void Lastmeasuredprobetemperature1Click(ui::Component* Sender) override;
  void Lastmeasuredmoisture1Click(ui::Component* Sender) override;
  void Time1Click(ui::Component* Sender) override;
  void Date1Click(ui::Component* Sender) override;
  void Contrast1Click(ui::Component* Sender) override;
  void Supplyvoltage1Click(ui::Component* Sender) override;
  void Storeddatapoints1Click(ui::Component* Sender) override;
  void DataBankReadClick(ui::Component* Sender) override;
  void DataBankSaveClick(ui::Component* Sender) override;

 private:
  void Log(const std::string& line);
  void SetMeterMenusVisible(bool visible);
  // The channel of ChannelSelect for a meter command; nothing before a device was found (logged)
  // or while the box names no channel.
  std::optional<int> MeterChannel();
  // The line a failed meter exchange leaves in the log; none for a reply the caller judges.
  void LogMeterFailure(protocol::Failure failure);
  // Reads a value on the channel, keeps it in its Last member and logs it; or logs why none came.
  protocol::Result<std::string> ReadMeterValue(protocol::MeterValue value);
  // A measurement with one read: the meter measures on the channel, then `value` is read, between
  // the start and completion lines.
  void MeasureAndRead(const char* startLine,
                      protocol::Result<protocol::Done> (protocol::Meter::*measure)(std::optional<int>),
                      protocol::MeterValue value, const char* completeLine);
  // What the shared full calibration sequence takes from this window.
  FullCalibrationSteps CalibrationSteps();
  // The probe type ProbeGroup showed before the user's last click, put back when the meter could
  // not take the click.
  int probeTypeShown = 0;

  // Device information and memory banks.
  void ShowMeterInfo(protocol::MeterInfo item, const std::string& label, bool needsDevice);
  // Bank 1 to 3 of the meter's memory into the log or a file.
  void TransferDataBank(int bank, bool toLog);
  // True when a moisture text and a reflectogram to go with it are kept; else logs why not.
  bool CheckMoistureKept();

  // Before the program ends: a last try for the lines the station files could not take, and a
  // box naming every file that still lacks some.
  void ReportUnwrittenLines();

  std::unique_ptr<link::SerialPort> Port;
  protocol::Meter meter;
  // The lines held for station files, kept for the whole run: no logger window or station window
  // that goes takes them along.
  LogAppender heldLines_;
  bool deviceFound = false;
};

// Unit-level window pointers.
extern TModule1* Module1;
extern TGraph1* MeterGraph;
extern TModule2* StationWindow;
extern TModule4* ModemWindow;

// The line of a meter reply that is missing or cut short.
extern const char* const kReceiveFailureLine;
