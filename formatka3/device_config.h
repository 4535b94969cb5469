// One station's logging configuration, and the map of them by station key.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>

// What each of the eight channels logs, the AUX probes read with it, the two moisture
// calibrations (moisture = a0 + a1 * sqrt(eps) + a2 * eps) and the period. Channel index 0..7
// stands for channel 1..8, calibration index 0..1 for calibration 1..2; indices are not checked.
class DeviceConfig {
 public:
  // Every name and identifier empty, every flag clear, every number 0.
  DeviceConfig() = default;

  bool GetSigma(int i) const { return Sigma[i]; }
  void SetSigma(int i, bool v) { Sigma[i] = v; }
  bool GetTeta(int i) const { return Teta[i]; }
  void SetTeta(int i, bool v) { Teta[i] = v; }
  bool GetTemp(int i) const { return Temp[i]; }
  void SetTemp(int i, bool v) { Temp[i] = v; }
  bool GetEpsi(int i) const { return Epsi[i]; }
  void SetEpsi(int i, bool v) { Epsi[i] = v; }
  bool GetCal(int k) const { return Cal[k]; }
  void SetCal(int k, bool v) { Cal[k] = v; }
  double GetA0(int k) const { return a0[k]; }
  void SetA0(int k, double v) { a0[k] = v; }
  double GetA1(int k) const { return a1[k]; }
  void SetA1(int k, double v) { a1[k] = v; }
  double GetA2(int k) const { return a2[k]; }
  void SetA2(int k, double v) { a2[k] = v; }
  double GetPeriod() const { return Period; }
  void SetPeriod(double v) { Period = v; }
  std::string GetAux1Name(int i) const { return Aux1Name[i]; }
  void SetAux1Name(int i, const std::string& v) { Aux1Name[i] = v; }
  std::string GetAux2Name(int i) const { return Aux2Name[i]; }
  void SetAux2Name(int i, const std::string& v) { Aux2Name[i] = v; }
  std::string GetAux1Id(int i) const { return Aux1Id[i]; }
  void SetAux1Id(int i, const std::string& v) { Aux1Id[i] = v; }
  std::string GetAux2Id(int i) const { return Aux2Id[i]; }
  void SetAux2Id(int i, const std::string& v) { Aux2Id[i] = v; }

  // Both slots of a channel, by slot 1 or 2.
  std::string GetAuxName(int i, int slot) const { return slot == 1 ? Aux1Name[i] : Aux2Name[i]; }
  std::string GetAuxId(int i, int slot) const { return slot == 1 ? Aux1Id[i] : Aux2Id[i]; }

  bool operator==(const DeviceConfig&) const = default;

 private:
  bool Sigma[8] = {};
  bool Teta[8] = {};
  bool Temp[8] = {};
  bool Epsi[8] = {};
  bool Cal[2] = {};
  double a0[2] = {};
  double a1[2] = {};
  double a2[2] = {};
  double Period = 0;
  std::array<std::string, 8> Aux1Name;
  std::array<std::string, 8> Aux2Name;
  std::array<std::string, 8> Aux1Id;
  std::array<std::string, 8> Aux2Id;
};

// Station key -> record, ascending by plain character codes. The map owns its records: storing
// under a key deletes the record there before, and erasing or clearing deletes what it held.
using StationMap = std::map<std::string, std::unique_ptr<DeviceConfig>>;

// "no probe" and "AUX probe" both mean an AUX slot without a probe.
bool IsAuxProbeName(const std::string& name);
