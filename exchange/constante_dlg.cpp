// TConstanteDlg: its window; the controls come with the feature that uses them.
#include "constante_dlg.h"

qvt::TConstanteDlg* ConstanteDlg = nullptr;

namespace qvt {

TConstanteDlg::TConstanteDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("ConstanteDlg");
  setWindowTitle(QStringLiteral("Renseignements sur la page courante"));
}

} // namespace qvt
