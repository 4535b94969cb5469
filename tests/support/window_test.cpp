#include "tests/support/window_test.h"

#include <poll.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "app/support/services.h"
#include "platform/timing.h"
#include "ui/application.h"

namespace testing_support {

void WindowTest::SetUp() {
  HeadlessTest::SetUp();
  ui::App().SetTitle("QV USB Rererazuzazu");
  app::InstallPlatformServices();
  ui::GetScreen().SetCursor(ui::Cursor::Default);
  scale_ = std::make_unique<ScopedTimeScale>(0.05);
  ClearWaits();

  ports_ = std::make_unique<TempDir>();
  setenv("QVUSB_PORTS_DIR", ports_->Path().c_str(), 1);
  instruments_ = std::make_unique<sim::Instruments>(std::vector<std::string>{});
  instruments_->LinkAs("COM1", ports_->Path());
  // A read waits first for the stand-ins to answer what they were sent: on a loaded machine
  // their reader thread may be late by more than a scaled time-out, and a late instrument must
  // not pass for a silent one. Their deliberate delays still run against the time-outs.
  platform::SetWaitHook([this](int fd, short events, int ms) {
    if (fd == -1) {
      std::this_thread::sleep_for(std::chrono::milliseconds(ms));
      return;
    }
    if (instruments_ && (events & POLLIN) != 0) instruments_->WaitUntilSettled(std::chrono::seconds(10));
    pollfd p{fd, events, 0};
    poll(&p, 1, ms);
  });
}

void WindowTest::TearDown() {
  platform::SetWaitHook(nullptr);
  delete main_;
  main_ = nullptr;
  instruments_.reset();
  ports_.reset();
  unsetenv("QVUSB_PORTS_DIR");
  scale_.reset();
  platform::RecordWaits(false);
  HeadlessTest::TearDown();
}

void WindowTest::EndProgram() {
  delete main_;
  main_ = nullptr;
  Module1 = nullptr;
}

TModule1& WindowTest::Main() {
  if (!main_) {
    main_ = new TModule1(nullptr);
    Module1 = main_;
    ui::App().SetMainForm(main_);
    main_->Show();
  }
  return *main_;
}

void WindowTest::ClickCom(int n) {
  auto* item = ui::FindAs<ui::MenuItem>(Main(), "COM" + std::to_string(n) + "1");
  ASSERT_NE(item, nullptr);
  item->Click();
}

void WindowTest::OpenAndSearch(const std::vector<std::string>& ids) {
  Line().SetDeviceIds(ids);
  ClickCom(1);
  Main().search->Click();
}

void WindowTest::PlugInAndSearch(const std::string& id) {
  ASSERT_FALSE(Main().GetPort()->IsOpen());
  Line().PlugIn();
  OpenAndSearch({id});
  EXPECT_EQ(Tail(Main().Memo1->Lines(), 5),
            (std::vector<std::string>{"Opening port: COM1", "Port COM1 opened", "Searching for devices on port: COM1",
                                      "Found devices:", id}));
}

std::vector<std::string> WindowTest::MainLog() { return Main().Memo1->Lines().Items(); }

std::vector<std::string> WindowTest::Tail(const ui::StringList& lines, int n) {
  return Since(lines, std::max(0, lines.Count() - n));
}

std::vector<std::string> WindowTest::Since(const ui::StringList& lines, int from) {
  return {lines.Items().begin() + std::clamp(from, 0, lines.Count()), lines.Items().end()};
}

std::vector<uint8_t> WithPreamble(std::vector<uint8_t> bytes) {
  bytes.insert(bytes.begin(), 23, 0xFF);
  return bytes;
}

double ProcessCpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

}  // namespace testing_support
