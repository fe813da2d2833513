// TOscChannelDlg: the dialog of the name, unit, meaning and colour of an oscilloscope channel.
#pragma once

#include <QDialog>

namespace qvt {

class TOscChannelDlg : public QDialog {
  Q_OBJECT

public:
  explicit TOscChannelDlg(QWidget* parent = nullptr);
};

} // namespace qvt

// The program's one TOscChannelDlg, created at start-up.
extern qvt::TOscChannelDlg* OscChannelDlg;
