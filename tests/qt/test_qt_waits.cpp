// Waits on the Qt backend: sleeps and serial reads keep timers and painting going while the user's
// input waits for the end of the handler that waits.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>

#include "link/frame.h"
#include "link/serial_port.h"
#include "platform/timing.h"
#include "sim/instruments.h"
#include "tests/qt/qt_helpers.h"
#include "tests/support/temp_dir.h"
#include "ui/ui.h"

namespace {

using qt_test::Find;
using qt_test::Flush;
using qt_test::WidgetOf;

// A window with a button whose handler waits, and a label that a timer changes meanwhile.
struct WaitingWindow {
  std::unique_ptr<ui::Form> form = std::make_unique<ui::Form>(nullptr, "Waiting");
  ui::Button* button = new ui::Button(form.get(), "Button1", form.get());
  ui::Label* label = new ui::Label(form.get(), "Label1", form.get());
  ui::Button* other = new ui::Button(form.get(), "Other", form.get());
  ui::MainMenu* menu = new ui::MainMenu(form.get(), "MainMenu1");
  ui::MenuItem* file = new ui::MenuItem(form.get(), "File1", menu, nullptr);
  ui::MenuItem* item = new ui::MenuItem(form.get(), "Item1", menu, file);

  WaitingWindow() {
    form->SetClientSize(300, 100);
    form->SetMenu(menu);
    file->SetCaption("File");
    item->SetCaption("Item");
    button->SetBounds(10, 10, 90, 25);
    button->SetCaption("Read");
    other->SetBounds(110, 10, 90, 25);
    label->SetBounds(10, 50, 200, 16);
    form->Show();
  }
  QPushButton* RealButton() const { return Find<QPushButton>(*form, "Button1"); }
};

class QtWaits : public ::testing::Test {
 protected:
  void TearDown() override {
    Flush();
    ui::App().Reset();
  }
};

TEST_F(QtWaits, ReadThatWaitsForItsReplyRepaintsAndKeepsAClickForAfterIt) {
  testing_support::TempDir ports;
  setenv("QVUSB_PORTS_DIR", ports.Path().c_str(), 1);
  sim::Instruments line;  // nobody answers
  line.LinkAs("COM1", ports.Path());
  link::SerialPort port;
  ASSERT_TRUE(port.Open("COM1"));

  WaitingWindow w;
  int exchanges = 0, running = 0, nested = 0, ticks = 0, ticksInRead = 0;
  qint64 readMs = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    ++ticks;
    w.label->SetCaption("tick " + std::to_string(ticks));
  });
  qt_test::PaintCounter painted;
  Find<QLabel>(*w.form, "Label1")->installEventFilter(&painted);
  int paintsInRead = 0;
  w.button->OnClick = [&](ui::Component*) {
    if (running > 0) ++nested;
    ++running;
    ++exchanges;
    const auto frame = link::MakeFrame(0x01, 'R', 'G', true, 0);
    port.Write(frame.data(), 3, true);
    if (exchanges == 1) {
      // The user clicks again while the reply is awaited.
      QTimer::singleShot(100, [&] { w.RealButton()->click(); });
    }
    const int ticksBefore = ticks, paintsBefore = painted.paints;
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(port.Read(300).has_value());  // 200 ms + 1 ms per byte: 500 ms of waiting
    if (exchanges == 1) {
      readMs = clock.elapsed();
      ticksInRead = ticks - ticksBefore;
      paintsInRead = painted.paints - paintsBefore;
    }
    --running;
  };
  timer.start(10);
  w.RealButton()->click();
  EXPECT_GE(readMs, 490);
  EXPECT_GE(ticksInRead, 20);
  EXPECT_GE(paintsInRead, 1);
  EXPECT_EQ(exchanges, 1);  // the second click waits for the handler to return
  Flush();
  EXPECT_EQ(exchanges, 2);
  EXPECT_EQ(nested, 0);
  timer.stop();
  unsetenv("QVUSB_PORTS_DIR");
}

TEST_F(QtWaits, InputDuringAWaitIsCarriedOutAfterTheHandlerThatWaits) {
  // Input runs window code, which must not cut into an exchange; it is not lost either.
  struct Case {
    const char* what;
    std::function<void(WaitingWindow&)> input;
  };
  const Case cases[] = {
      {"close", [](WaitingWindow& w) { WidgetOf(*w.form)->close(); }},
      {"menu pick", [](WaitingWindow& w) { qt_test::Backend().ActionOf(*w.item)->trigger(); }},
      {"click", [](WaitingWindow& w) { Find<QPushButton>(*w.form, "Other")->click(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WaitingWindow w;
    int handled = 0;
    bool waiting = false, askedDuringWait = false, handledDuringWait = false;
    w.form->OnClose = [&](ui::Component*, ui::CloseAction&) { ++handled; };
    w.item->OnClick = w.other->OnClick = [&](ui::Component*) { ++handled; };
    w.button->OnClick = [&](ui::Component*) {
      bool asked = false;
      QTimer::singleShot(5, [&] {
        asked = true;
        askedDuringWait = waiting;
        c.input(w);
      });
      // However late the timer fires, the input comes inside a wait.
      QElapsedTimer clock;
      clock.start();
      while (!asked && clock.elapsed() < 5000) {
        waiting = true;
        platform::Sleep(10);
        waiting = false;
      }
      platform::Sleep(10);
      handledDuringWait = handled > 0;
    };
    w.RealButton()->click();
    EXPECT_TRUE(askedDuringWait);
    EXPECT_FALSE(handledDuringWait);
    Flush();
    EXPECT_EQ(handled, 1);
  }
}

TEST_F(QtWaits, SleepsKeepEventsFlowingAndLastTheirTime) {
  bool fired = false;
  QTimer::singleShot(10, [&] { fired = true; });
  QElapsedTimer clock;
  clock.start();
  platform::Sleep(60);
  EXPECT_TRUE(fired);
  EXPECT_GE(clock.elapsed(), 59);
}

}  // namespace
