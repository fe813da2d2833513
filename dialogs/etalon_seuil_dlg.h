// TEtalonSeuilDlg: the dialog of the calibration of the trigger comparator offset.
#pragma once

#include <QDialog>

namespace qvt {

class TEtalonSeuilDlg : public QDialog {
  Q_OBJECT

public:
  explicit TEtalonSeuilDlg(QWidget* parent = nullptr);
};

} // namespace qvt

// The program's one TEtalonSeuilDlg, created at start-up.
extern qvt::TEtalonSeuilDlg* EtalonSeuilDlg;
