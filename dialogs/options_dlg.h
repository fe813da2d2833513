// TOptionsDlg: the dialog of the display options and the acquisition mode.
#pragma once

#include <QDialog>

namespace qvt {

class TOptionsDlg : public QDialog {
  Q_OBJECT

public:
  explicit TOptionsDlg(QWidget* parent = nullptr);
};

} // namespace qvt

// The program's one TOptionsDlg, created at start-up.
extern qvt::TOptionsDlg* OptionsDlg;
