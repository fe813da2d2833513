// SPDX-License-Identifier: GPL-3.0-or-later
// TChannelDlg: what the two channel dialogs share: the group "Grandeur physique" with the
// symbol, unit, meaning and colour of one curve, the buttons "Activer" and "Désactiver", and
// the caption that names the channel and its input.
#pragma once

#include <QDialog>

class QFormLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace qvt {

class TColourCombo;
class TCourbe;

class TChannelDlg : public QDialog {
  Q_OBJECT

public:
  // The channel's "Entrée" choice on the main window, which the caption names: true when it
  // is on its second item, the YD socket. The caller sets it together with the curve before
  // each exec(); the dialog only reads it when it is shown.
  bool InputYD = false;

  // Shown: the fields hold the curve's QuantityName, unit Text, Meaning and Colour, and the
  // caption is "Y<n> BNC QVT2", or "YD<n> QVT2" with InputYD. Without a curve the fields
  // stay as they were. EditNom's filter holds for the name shown too: a name that came from
  // elsewhere with characters outside the symbol set shows without them.
  //
  // "Activer" stores the fields into the curve (the name cut to 32 bytes, the unit through
  // Tunite::SetText, which marks a text it does not understand invalid, the meaning cut to
  // 255 bytes) and makes it Visible. "Désactiver", and the Escape key, only clear Visible.
  // Both close the dialog with Accepted. Closing the window otherwise is Rejected and
  // changes nothing.
  QGroupBox* GroupBox1 = nullptr; // "&Grandeur physique"
  QLineEdit* EditNom = nullptr;   // at most 8 characters, filtered by TSymbolValidator
  QLineEdit* EditUnite = nullptr; // at most 20 characters
  QLineEdit* EditSignif = nullptr;
  TColourCombo* CouleurCombo = nullptr;
  QPushButton* OKBtn = nullptr;        // "&Activer", the default button
  QPushButton* DesactiveBtn = nullptr; // "&Désactiver"

protected:
  TChannelDlg(const QString& name, QWidget* parent);

  // The curve the caller gave, nullptr when none, and its channel number.
  virtual TCourbe* EditedCurve() const = 0;
  virtual int EditedChannel() const = 0;
  // What a dialog adds to the shared fields: filled when shown, stored by "Activer".
  virtual void FillExtra() {}
  virtual void StoreExtra() {}

  // The rows of the group, for a dialog that adds its own.
  QFormLayout* Fields = nullptr;

  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  void FormActivate();
  void OKBtnClick();
  void DesactiveBtnClick();
};

} // namespace qvt
