// SPDX-License-Identifier: GPL-3.0-or-later
// TOscChannelDlg: the shared channel dialog bound to an oscilloscope curve.
#include "osc_channel_dlg.h"

#include "courbe.h"

qvt::TOscChannelDlg* OscChannelDlg = nullptr;

namespace qvt {

TOscChannelDlg::TOscChannelDlg(QWidget* parent) : TChannelDlg("OscChannelDlg", parent) {}

TCourbe* TOscChannelDlg::EditedCurve() const {
  return Curve;
}

int TOscChannelDlg::EditedChannel() const {
  return Curve ? Curve->Channel : 0;
}

} // namespace qvt
