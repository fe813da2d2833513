// SPDX-License-Identifier: GPL-3.0-or-later
// TConfigVoiePointDlg: the dialog of the name, unit, meaning, colour and marker of a
// point-mode channel.
#pragma once

#include "channel_dlg.h"

class QComboBox;

namespace qvt {

class TCourbePoint;

// Use as TOscChannelDlg, with a curve of the point graph. Besides the shared fields, PointCombo
// shows the curve's MarkerStyle when the dialog is shown, and "Activer" stores its item index
// (0 to 4) into MarkerStyle.
class TConfigVoiePointDlg : public TChannelDlg {
  Q_OBJECT

public:
  explicit TConfigVoiePointDlg(QWidget* parent = nullptr);

  TCourbePoint* Curve = nullptr; // the curve edited; not owned

  // "Croix", "Croix diag.", "Cercle", "Carré", "Losange", each with its mark drawn as the
  // point graph draws it.
  QComboBox* PointCombo = nullptr;

protected:
  TCourbe* EditedCurve() const override;
  int EditedChannel() const override;
  void FillExtra() override;
  void StoreExtra() override;
};

} // namespace qvt

// The program's one TConfigVoiePointDlg, created at start-up.
extern qvt::TConfigVoiePointDlg* ConfigVoiePointDlg;
