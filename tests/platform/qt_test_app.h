// SPDX-License-Identifier: GPL-3.0-or-later
// One QApplication for a whole test program, on the offscreen platform unless the
// environment names another; tests call TestApp() in their set-up before using Qt.
#pragma once

#include <QApplication>

inline QApplication& TestApp() {
  static int argc = 1;
  static char name[] = "qvt_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
      qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}
