// The program's own windows on the Qt backend: every control and menu item gets its widget or
// action, named like it and placed as the layout says, and the main window works through its
// real widgets against the stand-in instruments.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <functional>
#include <memory>

#include "common/about.h"
#include "common/dialogQ.h"
#include "common/graph.h"
#include "formatka2/formatka2.h"
#include "formatka3/formatka3.h"
#include "formatka4/formatka4.h"
#include "link/serial_port.h"
#include "main/main.h"
#include "platform/timing.h"
#include "sim/instruments.h"
#include "tests/qt/qt_helpers.h"
#include "tests/support/time_scale.h"
#include "tests/support/window_test.h"
#include "ui/qt/qt_backend.h"
#include "ui/ui.h"

namespace {

using qt_test::Backend;

// Checks that everything the form owns is shown by a widget or action of its own name.
void ExpectRealised(ui::Form& form) {
  QWidget* top = Backend().WidgetOf(form);
  ASSERT_NE(top, nullptr) << form.Name();
  EXPECT_EQ(top->objectName().toStdString(), form.Name());
  for (int i = 0; i < form.ComponentCount(); ++i) {
    ui::Component* c = form.Components(i);
    SCOPED_TRACE(form.Name() + "." + c->Name());
    if (auto* item = dynamic_cast<ui::MenuItem*>(c)) {
      if (item->Menu()) {
        EXPECT_NE(Backend().ActionOf(*item), nullptr);
      }
      continue;
    }
    auto* control = dynamic_cast<ui::Control*>(c);
    if (!control || !control->ParentForm()) continue;
    QWidget* w = Backend().WidgetOf(*control);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->objectName().toStdString(), control->Name());
    EXPECT_EQ(w->pos(), QPoint(control->Left(), control->Top()));
    if (!dynamic_cast<ui::Label*>(control)) {  // labels may grow with their text
      EXPECT_EQ(w->size(), QSize(control->Width(), control->Height()));
    }
  }
}

class QtWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::App().Reset();
    ui::App().SetTitle("QV USB Rererazuzazu");
  }
  void TearDown() override {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ui::GetScreen().SetCursor(ui::Cursor::Default);
    ui::App().Reset();
  }
};

TEST_F(QtWindowsTest, EveryWindowGetsAWidgetForEachControl) {
  link::SerialPort port;
  std::unique_ptr<ui::Form> windows[] = {
      std::make_unique<TModule1>(nullptr),        std::make_unique<TGraph1>(nullptr),
      std::make_unique<TAboutBox>(nullptr),       std::make_unique<TSetPropDialog>(nullptr),
      std::make_unique<TModule2>(nullptr, &port), std::make_unique<TModule3>(nullptr, &port),
      std::make_unique<TModule4>(nullptr, &port),
  };
  for (auto& window : windows) {
    window->Show();
    ExpectRealised(*window);
    // The fixed size is the window's own, its menu bar included.
    const ui::SizeConstraints& size = window->Constraints();
    EXPECT_EQ(Backend().WidgetOf(*window)->size(), QSize(size.maxWidth, size.maxHeight)) << window->Name();
    window->Hide();
  }
  Module1 = nullptr;
}

TEST_F(QtWindowsTest, MainWindowOpensThePortAndFindsAMeterThroughItsWidgets) {
  testing_support::TempDir ports;
  setenv("QVUSB_PORTS_DIR", ports.Path().c_str(), 1);
  sim::Instruments line({"H0001AFE"});
  line.LinkAs("COM1", ports.Path());
  testing_support::ScopedTimeScale scale(0.05);

  auto main = std::make_unique<TModule1>(nullptr);
  Module1 = main.get();
  ui::App().SetMainForm(main.get());
  main->Show();
  QWidget* top = Backend().WidgetOf(*main);
  ASSERT_NE(top, nullptr);
  auto* com1 = top->findChild<QAction*>("COM11");
  ASSERT_NE(com1, nullptr);
  com1->trigger();
  EXPECT_EQ(top->findChild<QLabel*>("Opened_port")->text(), "COM1");
  EXPECT_TRUE(com1->isChecked());

  auto* meterGroup = top->findChild<QGroupBox*>("GroupBox3");
  ASSERT_NE(meterGroup, nullptr);
  EXPECT_FALSE(meterGroup->isVisible());
  top->findChild<QPushButton*>("search")->click();
  EXPECT_EQ(top->findChild<QLabel*>("DeviceName")->text(), "H0001AFE");
  EXPECT_TRUE(meterGroup->isVisible());
  EXPECT_TRUE(top->findChild<QAction*>("Measurement1")->isVisible());

  main.reset();
  Module1 = nullptr;
  unsetenv("QVUSB_PORTS_DIR");
}

}  // namespace
