// SPDX-License-Identifier: GPL-3.0-or-later
// TOptionsDlg: the dialog of the display options and the acquisition mode.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace qvt {

class TgrapheOsc;
class TgraphePoint;
class TRadioGroup;

// Use: set PointMode, OscGraph and PointGraph, exec(). When shown, the controls take the
// values of ShowGrid, LineWidth, FastDisplay (graph_settings.h), OscGraph->Separate,
// PointGraph->Abscissa, PointMode and Language. "&OK" (Accepted) stores them all back, PointMode
// included; "&Abandon", Escape or closing the window (Rejected) changes nothing. A graph left null
// is neither read nor written.
//
// The mode rule, applied when shown and on every click of ModeRG: AbscisseRG is shown only
// in point-by-point mode (item 1), AnalyseurCB and RapideCB only in time mode (item 0).
class TOptionsDlg : public QDialog {
  Q_OBJECT

public:
  explicit TOptionsDlg(QWidget* parent = nullptr);

  bool PointMode = false; // the main window's point-by-point mode flag
  int Language = 0;       // the "Langue" option: 0 automatic, 1 French, 2 English (TLanguageChoice)
  TgrapheOsc* OscGraph = nullptr;     // not owned
  TgraphePoint* PointGraph = nullptr; // not owned

  TRadioGroup* ModeRG = nullptr;     // "Mode d'acquisition": "temporelle", "point par point"
  QCheckBox* GrilleCB = nullptr;     // "Grille"
  QSpinBox* WidthCourbeSE = nullptr; // "Epaisseur des courbes", 1 to 5
  TRadioGroup* AbscisseRG = nullptr; // "Abscisse": "Y0" to "Y3"
  QCheckBox* AnalyseurCB = nullptr;  // "Superposition type analyseur logique"
  QCheckBox* RapideCB = nullptr;     // "Affichage rapide" (FastDisplay), time mode only
  // "Langue": "Automatique", "Français", "English", each language named in itself; the
  // choice is taken into account at the next start, as LangueNote says.
  QComboBox* LangueCombo = nullptr;
  QLabel* LangueNote = nullptr;
  QPushButton* BtnOK = nullptr;     // "&OK", the default button
  QPushButton* BtnCancel = nullptr; // "&Abandon"

protected:
  void showEvent(QShowEvent* event) override;

private:
  void FormActivate();
  void ApplyModeRule();
  void BtnOKClick();
};

} // namespace qvt

// The program's one TOptionsDlg, created at start-up.
extern qvt::TOptionsDlg* OptionsDlg;
