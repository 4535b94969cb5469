// A fixture for the station window against stand-in stations: opens the window the way the
// device search does and looks at what went over the line.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "formatka2/formatka2.h"
#include "sim/station.h"
#include "tests/support/window_test.h"

namespace testing_support {

// An addressed frame's bytes: the address, then the letters and payload.
inline std::vector<uint8_t> Bytes(uint8_t address, const std::string& rest) {
  std::vector<uint8_t> b(rest.begin(), rest.end());
  b.insert(b.begin(), address);
  return b;
}

class StationTest : public WindowTest {
 protected:
  using Lines = std::vector<std::string>;

  // Puts the identifiers on the line, so that their stations can be set up before the search.
  void PutOnLine(const std::vector<std::string>& ids) { Line().SetDeviceIds(ids); }
  // The stand-in station at an address.
  std::shared_ptr<sim::StationDevice> Station(uint8_t address) { return Line().Get<sim::StationDevice>(address); }
  // Opens COM1 and searches; the station window must open, else the test fails and the caller
  // stops (ASSERT_NO_FATAL_FAILURE). Frames and log start afresh after it.
  void OpenStationWindow(const std::vector<std::string>& ids);
  // The window OpenStationWindow opened.
  TModule2& Window() { return *StationWindow; }

  // The lines added to the station window's log since the last Mark().
  Lines Logged();
  // The commands received since the last Mark(), in order ("MS", "RS", "1W" ...), once at least
  // `atLeast` have arrived (the last frame of an exchange without reply may still be under way).
  std::vector<std::string> Sent(size_t atLeast = 0);
  std::vector<sim::ReceivedFrame> SentFrames(size_t atLeast = 0);
  // The log, the frames and the waits start afresh.
  void Mark();

  // Chooses a channel as the user does (typing into the channel box).
  void ChooseChannel(const std::string& text);

 private:
  int logMark_ = 0;
};

}  // namespace testing_support
