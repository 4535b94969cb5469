#include "tests/support/logger_test.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "formatka2/formatka2.h"
#include "formatka3/data_logger.h"

namespace testing_support {

InTempFolder::InTempFolder() : before_(std::filesystem::current_path().string()) {
  std::filesystem::current_path(dir_.Path());
}

InTempFolder::~InTempFolder() {
  std::error_code ec;
  std::filesystem::current_path(before_, ec);
}

std::unique_ptr<DeviceConfig> NothingLogged() {
  auto c = std::make_unique<DeviceConfig>();
  for (int i = 0; i < 8; ++i) {
    c->SetAux1Name(i, "no probe");
    c->SetAux2Name(i, "no probe");
  }
  return c;
}

uint64_t StopLogger(std::unique_ptr<DataLogger>& logger) {
  logger->Terminate();
  platform::EventHandle stop = platform::CreateEventA(kThreadStopEventName);
  platform::SetEvent(stop);
  logger->WaitFor();
  const uint64_t passes = logger->Passes();
  logger.reset();
  platform::CloseHandle(stop);
  return passes;
}

bool WaitForPasses(const DataLogger& logger, uint64_t n, std::chrono::seconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (logger.Passes() < n) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> CrlfLines(const std::string& path) {
  const std::string text = ReadAll(path);
  std::vector<std::string> lines;
  size_t pos = 0;
  for (size_t end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2) {
    lines.push_back(text.substr(pos, end - pos));
  }
  if (pos < text.size()) lines.push_back(text.substr(pos));
  return lines;
}

void LoggerWindowTest::TearDown() { WindowTest::TearDown(); }

void LoggerWindowTest::OpenLogger(const std::vector<std::string>& ids) {
  OpenAndSearch(ids);
  ASSERT_NE(StationWindow, nullptr);
  StationWindow->DataLogger->Click();
  ASSERT_NE(LoggerWindow, nullptr);
}

}  // namespace testing_support
