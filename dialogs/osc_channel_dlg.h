// SPDX-License-Identifier: GPL-3.0-or-later
// TOscChannelDlg: the dialog of the name, unit, meaning and colour of an oscilloscope channel.
#pragma once

#include "channel_dlg.h"

namespace qvt {

class TCourbeOsc;

// Use: set Curve (and InputYD, see TChannelDlg), exec(), then read the curve back: both
// buttons return Accepted, "Activer" with the fields stored and the curve Visible,
// "Désactiver" (or Escape) with only Visible cleared.
class TOscChannelDlg : public TChannelDlg {
  Q_OBJECT

public:
  explicit TOscChannelDlg(QWidget* parent = nullptr);

  TCourbeOsc* Curve = nullptr; // the curve edited; not owned

protected:
  TCourbe* EditedCurve() const override;
  int EditedChannel() const override;
};

} // namespace qvt

// The program's one TOscChannelDlg, created at start-up.
extern qvt::TOscChannelDlg* OscChannelDlg;
