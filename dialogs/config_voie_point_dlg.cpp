// TConfigVoiePointDlg: its window; the controls come with the feature that uses them.
#include "config_voie_point_dlg.h"

qvt::TConfigVoiePointDlg* ConfigVoiePointDlg = nullptr;

namespace qvt {

TConfigVoiePointDlg::TConfigVoiePointDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("ConfigVoiePointDlg");
}

} // namespace qvt
