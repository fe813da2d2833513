// SPDX-License-Identifier: GPL-3.0-or-later
// TConstanteDlg: the dialog of the comment, destination and constant of a transfer to Kalkio.
//
// Created at start-up and kept until the program ends, so that its fields keep their values
// from one transfer to the next. The symbol, the unit and the comment also survive the
// program: they are read from the section "Constante" of the settings file when the dialog is
// created and written back to it when the dialog is destroyed.
#pragma once

#include <QDialog>

#include <string>

#include "transfer_block.h"

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace qvt {

class TLabeledEdit;
class TRadioGroup;

class TConstanteDlg : public QDialog {
  Q_OBJECT

public:
  // Builds the dialog and, when the settings file ConfigFileName exists, reads "Nom",
  // "Unité" (the 8-bit key "Unit\xE9") and "Comm" of "Constante" into the symbol, unit and
  // comment (missing keys give empty texts). The file's name is kept for the destructor.
  explicit TConstanteDlg(QWidget* parent = nullptr);
  // Writes the three keys back through TIniFile, everything else in the file kept. Nothing
  // is written when the program had no settings file name, when the file exists but cannot
  // be read, when it does not exist and the three texts are empty, or when the keys already
  // hold the texts.
  ~TConstanteDlg() override;

  // OK: the first 32 characters of the value, when not empty, must be a number for
  // ParseValue ("4,7k" is); otherwise the error "Nombre mal écrit" and the dialog stays
  // open. The value is only checked: the transfer carries the text as typed.
  void OKBtnClick();

  // The comment, destination and constant as the transfer takes them (8-bit texts), with
  // `title` as the block's first line.
  TTransferInfo Info(const std::string& title) const;

  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QPushButton* HelpBtn = nullptr;
  QGroupBox* CommentGB = nullptr;
  QLineEdit* EditComm = nullptr;
  TRadioGroup* NewPageCB = nullptr; // 0 "Nouveau &fichier", 1 "Nouvelle &page"
  QGroupBox* ParametreGB = nullptr;
  TLabeledEdit* NomConstEdit = nullptr; // at most 8 characters
  TLabeledEdit* UniteConstEdit = nullptr;
  TLabeledEdit* ValeurConstEdit = nullptr;

protected:
  void showEvent(QShowEvent* event) override;

private:
  std::string settingsFile_;
};

} // namespace qvt

// The program's one TConstanteDlg, created at start-up.
extern qvt::TConstanteDlg* ConstanteDlg;
