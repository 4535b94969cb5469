// The data logger window's Stop on the Qt backend, where Stop's processing of pending messages
// really handles the user's clicks: nothing handled meanwhile stops or deletes the logger again,
// and leaving the window meanwhile waits for the thread before the station map goes.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <future>
#include <memory>

#include "formatka2/formatka2.h"
#include "formatka3/data_logger.h"
#include "formatka3/formatka3.h"
#include "main/main.h"
#include "platform/timing.h"
#include "sim/instruments.h"
#include "tests/qt/qt_helpers.h"
#include "tests/support/logger_test.h"
#include "tests/support/time_scale.h"
#include "ui/ui.h"

namespace {

using qt_test::Backend;

class QtLoggerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::App().Reset();
    setenv("QVUSB_PORTS_DIR", ports_.Path().c_str(), 1);
    line_ = std::make_unique<sim::Instruments>(std::vector<std::string>{"T0000101"});
    line_->LinkAs("COM1", ports_.Path());
    main_ = std::make_unique<TModule1>(nullptr);
    Module1 = main_.get();
    ui::App().SetMainForm(main_.get());
    main_->Show();
  }
  void TearDown() override {
    main_.reset();
    Module1 = nullptr;
    line_.reset();
    qt_test::Flush();
    unsetenv("QVUSB_PORTS_DIR");
    ui::GetScreen().SetCursor(ui::Cursor::Default);
    ui::App().Reset();
    platform::SetTimeoutFloor(60);
  }

  // The logger window of the station found, logging its channel 1's conductivity back to back;
  // the caller stops when it did not open.
  void StartLogging(uint32_t readFloorMs = 60) {
    ui::FindAs<ui::MenuItem>(*main_, "COM11")->Click();
    main_->search->Click();
    ASSERT_NE(StationWindow, nullptr);
    StationWindow->DataLogger->Click();
    ASSERT_NE(LoggerWindow, nullptr);
    TModule3& w = *LoggerWindow;
    ui::FindAs<ui::CheckBox>(w, "SigmaCheckBox1")->UserToggle();
    w.Period->UserType("1.5");
    QWidget* top = Backend().WidgetOf(w);
    line_->ClearFrames();
    platform::SetTimeoutFloor(readFloorMs);  // the logger's reads only: the search's ends by a time-out
    top->findChild<QPushButton*>("Start")->click();
    EXPECT_NE(w.Logger, nullptr);
    // A Stop before the first pass begins ends the thread without any pass.
    EXPECT_TRUE(line_->WaitForFrames(1, std::chrono::seconds(10)));
  }

  testing_support::ScopedTimeScale scale_{0.05};
  testing_support::InTempFolder folder_;
  testing_support::TempDir ports_;
  std::unique_ptr<sim::Instruments> line_;
  std::unique_ptr<TModule1> main_;
};

// The pass, and so the wait of Stop, of the window's end, or of both (the window destroyed inside
// Stop's wait), lasts until the third tick inside a wait with the hourglass shown lets the RS reply
// go. A Stop clicked meanwhile, or a close (held until Stop's end), stops and deletes the logger no
// second time.
enum End { kStop, kWindow, kWindowInStop };
class QtLoggerStopTest : public QtLoggerTest, public ::testing::WithParamInterface<End> {};

TEST_P(QtLoggerStopTest, StopWaitsPaintingAndStopsOnceWhenClickedAgain) {
  const End end = GetParam();
  std::promise<void> release;
  line_->SetHandler("RS", [done = release.get_future().share()](const sim::ReceivedFrame&) {
    done.wait_for(std::chrono::seconds(20));
    return std::optional<std::string>("0.123");
  });
  ASSERT_NO_FATAL_FAILURE(StartLogging(30000));
  TModule3& w = *LoggerWindow;
  QWidget* top = Backend().WidgetOf(w);
  auto* stop = top->findChild<QPushButton*>("Stop");
  // Queued now, handled by Stop's processing of pending messages.
  QMetaObject::invokeMethod(stop, "click", Qt::QueuedConnection);
  QMetaObject::invokeMethod(
      qApp, [&w] { w.Stop->Click(); }, Qt::QueuedConnection);
  qt_test::PaintCounter painted;
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (ticks == 3 || QThread::currentThread()->loopLevel() == 0 || !QApplication::overrideCursor() || !w.Visible())
      return;
    if (++ticks == 1) qApp->installEventFilter(&painted), top->update(), w.Stop->Click();
    if (ticks == 1 && end == kStop) top->close();
    if (ticks == 2 && end == kWindowInStop)
      QMetaObject::invokeMethod(
          qApp, [] { delete LoggerWindow; }, Qt::QueuedConnection);
    if (ticks == 3) release.set_value();
  });
  timer.start(10);
  end == kWindow ? delete LoggerWindow : stop->click();
  EXPECT_GE(ticks, 3);
  EXPECT_GE(painted.paints, 1);
  if (end != kStop) return;
  EXPECT_EQ(w.Logger, nullptr);
  EXPECT_TRUE(w.Start->Enabled());
  EXPECT_FALSE(w.Stop->Enabled());
  EXPECT_EQ(w.Stations.size(), 1u);
  const auto lines = testing_support::CrlfLines("T0000101.txt");
  ASSERT_GE(lines.size(), 2u);
  for (size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(lines[i].rfind(std::to_string(i - 1) + " ", 0), 0u);
}
INSTANTIATE_TEST_SUITE_P(StopOrWindowEnd, QtLoggerStopTest, ::testing::Values(kStop, kWindow, kWindowInStop));

// Left while logging, the window stops first; left while Stop runs, it hands back once the thread
// has ended.
TEST_F(QtLoggerTest, ExitOrCloseWhileLoggingOrWhileStopRunsHandsBackAfterTheThreadHasEnded) {
  for (const bool whileStopRuns : {false, true}) {
    for (const bool close : {false, true}) {
      SCOPED_TRACE(std::string(close ? "close" : "exit") + (whileStopRuns ? " while Stop runs" : " while logging"));
      ASSERT_NO_FATAL_FAILURE(StartLogging());
      TModule3& w = *LoggerWindow;
      QWidget* top = Backend().WidgetOf(w);
      QObject* target = close ? static_cast<QObject*>(top) : top->findChild<QAction*>("Exitprogram1");
      const char* leave = close ? "close" : "trigger";
      if (whileStopRuns) {
        QMetaObject::invokeMethod(target, leave, Qt::QueuedConnection);
        top->findChild<QPushButton*>("Stop")->click();
      } else {
        QMetaObject::invokeMethod(target, leave, Qt::DirectConnection);
      }
      EXPECT_EQ(w.Logger, nullptr);
      EXPECT_FALSE(w.Visible());
      EXPECT_TRUE(StationWindow->Visible());
      EXPECT_EQ(w.Stations.empty(), close);  // emptied by the close, once the thread had ended
      EXPECT_TRUE(w.Start->Enabled());
      StationWindow->Back->Click();
    }
  }
}

}  // namespace
