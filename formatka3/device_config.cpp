#include "formatka3/device_config.h"

bool DeviceConfig::operator==(const DeviceConfig& o) const {
  for (int i = 0; i < 8; ++i) {
    if (Sigma[i] != o.Sigma[i] || Teta[i] != o.Teta[i] || Temp[i] != o.Temp[i] || Epsi[i] != o.Epsi[i] ||
        Aux1Name[i] != o.Aux1Name[i] || Aux2Name[i] != o.Aux2Name[i] || Aux1Id[i] != o.Aux1Id[i] ||
        Aux2Id[i] != o.Aux2Id[i]) {
      return false;
    }
  }
  for (int k = 0; k < 2; ++k) {
    if (Cal[k] != o.Cal[k] || a0[k] != o.a0[k] || a1[k] != o.a1[k] || a2[k] != o.a2[k]) return false;
  }
  return Period == o.Period;
}

bool IsAuxProbeName(const std::string& name) { return name != "no probe" && name != "AUX probe"; }
