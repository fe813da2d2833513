// TMainForm: the settings file and the window placement. Until they are kept between runs,
// every control starts with its design value and the window opens centred.
#include <QGuiApplication>
#include <QScreen>

#include "mainform.h"

namespace qvt {

void TMainForm::LoadSettings() {}

void TMainForm::SaveSettings() {}

void TMainForm::LoadPlacement() {
  FirstActivation = false;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect free = screen->availableGeometry();
    QRect frame = frameGeometry();
    frame.moveCenter(free.center());
    move(frame.topLeft());
  }
}

void TMainForm::SavePlacement() {}

} // namespace qvt
