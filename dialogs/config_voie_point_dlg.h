// TConfigVoiePointDlg: the dialog of the name, unit, meaning, colour and marker of a point-mode channel.
#pragma once

#include <QDialog>

namespace qvt {

class TConfigVoiePointDlg : public QDialog {
  Q_OBJECT

public:
  explicit TConfigVoiePointDlg(QWidget* parent = nullptr);
};

} // namespace qvt

// The program's one TConfigVoiePointDlg, created at start-up.
extern qvt::TConfigVoiePointDlg* ConfigVoiePointDlg;
