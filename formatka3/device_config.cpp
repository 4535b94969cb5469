#include "formatka3/device_config.h"

bool IsAuxProbeName(const std::string& name) { return name != "no probe" && name != "AUX probe"; }
