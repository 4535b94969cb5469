// A spreadsheet automation server for tests, registered as "Excel.Application" while it lives:
// it records every call, in order, and can refuse to be created or fail a chosen call.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation.h"

namespace testing_support {

class RecordingSpreadsheet {
 public:
  RecordingSpreadsheet();
  // Puts the built-in server back.
  ~RecordingSpreadsheet();
  RecordingSpreadsheet(const RecordingSpreadsheet&) = delete;
  RecordingSpreadsheet& operator=(const RecordingSpreadsheet&) = delete;

  // Creating the application fails.
  void FailCreation() { state_->failCreation = true; }
  // The call with this 0-based number fails.
  void FailCall(size_t index) { state_->failAt = index; }

  // Every call as "<object>.<member> <get|put|method> <arguments> [-> <object>]", the objects
  // numbered in the order they were made (the application is 0); a last value's release: "<n> released".
  const std::vector<std::string>& Calls() const { return state_->calls; }
  // Applications created.
  int Created() const { return state_->created; }
  // Objects not yet released.
  int Alive() const { return state_->alive; }
  // The values put into cells ("A1" -> "\"theta =\""), by the cell's row and column arguments.
  const std::map<std::string, std::string>& Cells() const { return state_->cells; }

  struct State {
    bool failCreation = false;
    std::optional<size_t> failAt;
    std::vector<std::string> calls;
    int created = 0;
    int objects = 0;
    int alive = 0;
    std::map<std::string, std::string> cells;
  };

 private:
  std::shared_ptr<State> state_;
};

}  // namespace testing_support
