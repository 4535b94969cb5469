// Runs the Qt backend's tests inside a QApplication with the backend installed, on Qt's offscreen
// platform unless another one is asked for.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "ui/backend.h"
#include "ui/qt/qt_backend.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  int result = 0;
  {
    ui::qt::QtBackend backend;
    ui::SetBackend(&backend);
    result = RUN_ALL_TESTS();
    ui::SetBackend(nullptr);
  }
  return result;
}
