// TConstanteDlg: the dialog of the comment, destination and constant of a transfer to Kalkio.
#pragma once

#include <QDialog>

namespace qvt {

class TConstanteDlg : public QDialog {
  Q_OBJECT

public:
  explicit TConstanteDlg(QWidget* parent = nullptr);
};

} // namespace qvt

// The program's one TConstanteDlg, created at start-up.
extern qvt::TConstanteDlg* ConstanteDlg;
