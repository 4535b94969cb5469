// The data logger window: per station and channel what the logger thread measures, the AUX probes
// read with each channel, two moisture calibrations, the period, the devices configuration file,
// Start and Stop.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "common/log_file.h"
#include "formatka3/device_config.h"
#include "forms/formatka3_layout.h"
#include "link/serial_port.h"
#include "protocol/station.h"

class DataLogger;

// Which AUX combo box has taken which probe name.
using AuxAssignmentMap = std::map<const ui::ComboBox*, std::string>;

class TModule3 : public forms::TModule3Layout {
 public:
  // The lines held for station files that could not take them are lent, when given, so that they
  // outlive this window; else the window holds its own.
  TModule3(ui::Component* Owner, link::SerialPort* port, LogAppender* heldLines = nullptr);
  // Stops a running logger first: the thread must not outlive the map and port it reads.
  ~TModule3() override;

  // Reads the selected station's probe types into the probe-type and temperature boxes.
  void ReadProbeConfig();
  // Searches the selected station's AUX probes into DetectedProbes and FreeProbes, silently.
  void SearchAuxProbes();
  // Probe types, AUX search, the AUX lists refilled and every AUX box back to "no probe".
  void ScanStation();
  // Shows the selected station's stored record and takes the probes it names out of the lists.
  void ApplyStoredConfig();
  // Refills the 16 AUX lists from DetectedProbes or from FreeProbes.
  void RefreshAuxLists(bool fromDetected);

  // The controls into the record of the station on show (replacing the one stored before).
  // Raises the framework's conversion error for a coefficient or period that is no number; the
  // record stored before then stays.
  void StoreCurrentConfig();
  std::unique_ptr<DeviceConfig> BuildConfigFromUi();
  void ApplyConfigToUi();

  link::SerialPort* Port;
  DataLogger* Logger = nullptr;
  protocol::AuxProbeIdMap DetectedProbes;
  protocol::AuxProbeIdMap FreeProbes;
  AuxAssignmentMap AuxAssignments;
  StationMap Stations;

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
  // Per-channel controls by name: prefix and channel (or calibration) number.
  ui::CheckBox* CheckBoxOf(const std::string& prefix, int n) const;
  ui::Edit* EditOf(const std::string& prefix, int k) const;
  ui::ComboBox* AuxBox(int n, int slot) const;
  // The station DeviceSelect names now.
  protocol::Station SelectedStation();

  // StoreCurrentConfig with its conversion error shown as the framework shows it; false then.
  bool StoreShownStation();
  // Enables or disables everything that could change the station map or use the port.
  void SetConfigControlsEnabled(bool enabled);
  // Ends the logger as Stop does. False when the window went away meanwhile.
  bool StopLogging();
  void ClearMaps();
  void ReturnToStation();

  // Lines a station file could not take yet: kept from one run to the next, so that a file that
  // is still unwritable at Stop loses nothing once it can be written again. The lent ones, or
  // this window's own when none were lent.
  LogAppender ownHeldLines_;
  LogAppender* HeldLines;
  // Set while Stop runs, so that nothing handled meanwhile stops the logger again.
  bool stopping_ = false;
  // A close handled while Stop ran: the maps are emptied once the thread has ended.
  bool clearAfterStop_ = false;
};

extern ui::Component* Module3Owner;
