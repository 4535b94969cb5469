// A fixture with a headless backend installed for the test: its responder fails the test on a
// modal request nothing answers, and a scripted answer left unused fails it too.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "ui/application.h"
#include "ui/backend.h"
#include "ui/headless.h"

namespace testing_support {

template <typename B = ui::HeadlessBackend>
class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend_.Responder().OnFailure = [](const std::string& message) { ADD_FAILURE() << message; };
    ui::SetBackend(&backend_);
    ui::App().Reset();
  }
  void TearDown() override {
    EXPECT_TRUE(backend_.Responder().AllAnswered())
        << backend_.Responder().Pending() << " scripted answers were not used";
    ui::App().Reset();
    ui::SetBackend(nullptr);
  }

  ui::ScriptedResponder& Responder() { return backend_.Responder(); }
  B& Backend() { return backend_; }

 private:
  B backend_;
};

}  // namespace testing_support
