// Helpers for the data logger's tests: a fixture that opens the logger window from the station
// window against the stand-in instruments, in a folder of its own for the station log files.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "formatka2/formatka2.h"
#include "formatka3/data_logger.h"
#include "formatka3/formatka3.h"
#include "tests/support/temp_dir.h"
#include "tests/support/window_test.h"

namespace testing_support {

// Makes a temporary folder the current one while it lives (the log files go there).
class InTempFolder {
 public:
  InTempFolder();
  ~InTempFolder();
  const TempDir& Dir() const { return dir_; }
  std::string File(const std::string& name) const { return dir_.File(name); }

 private:
  TempDir dir_;
  std::string before_;
};

// A record that logs nothing: every AUX slot "no probe".
std::unique_ptr<DeviceConfig> NothingLogged();
// Ends a logger as Stop does: the terminate request, the event set by its name, the wait, delete.
// Returns the passes it completed.
uint64_t StopLogger(std::unique_ptr<DataLogger>& logger);

// True once the logger has completed n passes, false when the limit passed first.
bool WaitForPasses(const DataLogger& logger, uint64_t n, std::chrono::seconds limit = std::chrono::seconds(30));

// A file's lines, split at CR LF; a last line without it is kept as it is.
std::vector<std::string> CrlfLines(const std::string& path);
std::string ReadAll(const std::string& path);

class LoggerWindowTest : public WindowTest {
 protected:
  void TearDown() override;
  // Searches the given stations, opens the station window and from it the logger window; when
  // either does not open the test fails and the caller stops (ASSERT_NO_FATAL_FAILURE).
  void OpenLogger(const std::vector<std::string>& ids);
  // The window OpenLogger opened.
  TModule3& Logger() { return *LoggerWindow; }

  InTempFolder folder_;
};

}  // namespace testing_support
