// TOscChannelDlg: its window; the controls come with the feature that uses them.
#include "osc_channel_dlg.h"

qvt::TOscChannelDlg* OscChannelDlg = nullptr;

namespace qvt {

TOscChannelDlg::TOscChannelDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("OscChannelDlg");
}

} // namespace qvt
