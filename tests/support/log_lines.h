// The windows' log lines that many tests look for, written out here once rather than taken from
// the program, so that a changed text fails the tests.
#pragma once

#include <string>

namespace testing_support {

inline const std::string kSendFailure = "Unable to send data or no response from the device - Try again";
inline const std::string kCheckChannel = "Check the selected channel configuration";
inline const std::string kNoData = "Error while receiving data - Try again";
inline const std::string kErLine = "Unable to perform the measurement - Check the probe connection and try again";
inline const std::string kNoDevice = "Search for devices on the selected com port first";

}  // namespace testing_support
