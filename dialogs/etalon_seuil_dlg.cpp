// TEtalonSeuilDlg: its window; the controls come with the feature that uses them.
#include "etalon_seuil_dlg.h"

qvt::TEtalonSeuilDlg* EtalonSeuilDlg = nullptr;

namespace qvt {

TEtalonSeuilDlg::TEtalonSeuilDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("EtalonSeuilDlg");
  setWindowTitle(QStringLiteral("Etalonnage du seuil de synchronisation"));
}

} // namespace qvt
