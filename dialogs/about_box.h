// SPDX-License-Identifier: GPL-3.0-or-later
// TAboutBox: the program's icon, name, version and a line about what it is, with OK.
#pragma once

#include <QDialog>

class QIcon;
class QLabel;

namespace qvt {

class TAboutBox : public QDialog {
  Q_OBJECT

public:
  // The name and version are the application's display name and version, read when the box
  // is built; the icon is the program's.
  explicit TAboutBox(const QIcon& icon, QWidget* parent = nullptr);

  QLabel* ProgramIcon = nullptr;
  QLabel* ProductName = nullptr;
  QLabel* Version = nullptr;
  QLabel* Comments = nullptr;
};

} // namespace qvt

// The program's about box, created at start-up.
extern qvt::TAboutBox* AboutBox;
