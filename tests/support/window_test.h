// A test fixture for the windows: the headless backend with a scripted responder, stand-in
// instruments on a pseudo-terminal linked as COM1, a fast time scale, and helpers that act as the
// user does.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "main/main.h"
#include "sim/instruments.h"
#include "tests/support/headless_test.h"
#include "tests/support/temp_dir.h"
#include "tests/support/time_scale.h"
#include "ui/headless.h"

namespace testing_support {

class WindowTest : public HeadlessTest<> {
 protected:
  void SetUp() override;
  void TearDown() override;

  sim::Instruments& Line() { return *instruments_; }
  const std::string& PortsDir() const { return ports_->Path(); }

  // The main window, created on first use as the program does.
  TModule1& Main();
  // The program's end after its message loop: the main window goes, with what it owns.
  void EndProgram();
  // The instruments go away: the other end of the line is closed.
  void HangUpLine() { instruments_.reset(); }
  // Clicks "COM ports" > "COMn".
  void ClickCom(int n);
  // Opens COM1 and searches with the given identifiers on the line.
  void OpenAndSearch(const std::vector<std::string>& ids);
  // After the line vanished and the port was closed: the adapter is plugged in again, and COM1
  // opens and the search finds the instrument `id` as before.
  void PlugInAndSearch(const std::string& id);
  // The main window's program log.
  std::vector<std::string> MainLog();
  // The last n lines of a log.
  static std::vector<std::string> Tail(const ui::StringList& lines, int n);
  // The lines added to a log since it held `from` lines.
  static std::vector<std::string> Since(const ui::StringList& lines, int from);

 private:
  std::unique_ptr<ScopedTimeScale> scale_;
  std::unique_ptr<TempDir> ports_;
  std::unique_ptr<sim::Instruments> instruments_;
  TModule1* main_ = nullptr;
};

// The wake preamble followed by the given bytes.
std::vector<uint8_t> WithPreamble(std::vector<uint8_t> bytes);

// Processor time this process has used so far, in ms.
double ProcessCpuMs();

}  // namespace testing_support
