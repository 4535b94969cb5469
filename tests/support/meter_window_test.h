// A window test with the handheld meter found on COM1, and what the meter tests look at: the
// lines logged since a mark, the files written.
#pragma once

#include <string>
#include <vector>

#include "tests/support/window_test.h"

namespace testing_support {

class MeterWindowTest : public WindowTest {
 protected:
  // Opens COM1, finds the meter and marks the log; the frames of the search are forgotten.
  void FindMeter();
  void MarkLog() { mark_ = Main().Memo1->Lines().Count(); }
  // The lines logged since the mark.
  std::vector<std::string> NewLines() { return Since(Main().Memo1->Lines(), mark_); }
  // The whole content of a file, empty when there is none.
  static std::string ReadFile(const std::string& path);

 private:
  int mark_ = 0;
};

}  // namespace testing_support
