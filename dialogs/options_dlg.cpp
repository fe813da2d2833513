// TOptionsDlg: its window; the controls come with the feature that uses them.
#include "options_dlg.h"

qvt::TOptionsDlg* OptionsDlg = nullptr;

namespace qvt {

TOptionsDlg::TOptionsDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("OptionsDlg");
  setWindowTitle(QStringLiteral("Options QVT II "));
}

} // namespace qvt
