// SPDX-License-Identifier: GPL-3.0-or-later
// TCalculsDlg: the "Calculs" dialog, which edits the whole set of computed quantities: up to
// eight quantities (name, unit, definition and how each is shown) and the constants their
// formulas read.
#pragma once

#include <QDialog>

#include <array>
#include <string>
#include <vector>

#include "computed.h"
#include "computed_curves.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTableWidget;

namespace qvt {

class TColourCombo;

class TCalculsDlg : public QDialog {
  Q_OBJECT

public:
  // channels: the four channels as the formulas see them (their quantity names and units);
  // abscissaUnit: what derivatives and integrals are taken against ("s", or the abscissa's
  // unit in point mode). Both serve the check on OK and the unit shown for an empty unit.
  TCalculsDlg(QWidget* parent, const std::array<analysis::ComputedChannel, 4>& channels,
              std::string abscissaUnit);
  ~TCalculsDlg() override;

  // Fills the tables with a set (at most eight definitions are taken; `displays` has one
  // entry per definition, missing ones are defaults) and makes it the accepted set.
  void SetContents(const std::vector<analysis::ComputedConstant>& constants,
                   const std::vector<analysis::ComputedDefinition>& definitions,
                   const std::vector<TComputedDisplay>& displays);

  // The accepted set: the one given to SetContents, or the one "OK" took. "OK" checks the set
  // as the computed curves do (analysis::ComputedModel::Define with these channels) and
  // closes with Accepted only when it is sound; otherwise the message shows under the table
  // concerned, its row is selected and its field has the focus, and the accepted set stays as
  // it was. What is not typed in a field comes back as it was given: the display's Visible,
  // a range or a constant's value whose text was not changed (exactly, not as rounded for
  // the text), a formula kept while the kind is not "Formule" and the source while it is.
  // "Annuler" and Escape close with Rejected and change nothing.
  const std::vector<analysis::ComputedConstant>& Constants() const { return constants_; }
  const std::vector<analysis::ComputedDefinition>& Definitions() const { return definitions_; }
  const std::vector<TComputedDisplay>& Displays() const { return displays_; }

  // The widgets of one line of the quantities table (rows in the definitions' order).
  struct TQuantityRow {
    QLineEdit* Name = nullptr;      // at most 8 characters, filtered by TSymbolValidator
    QLineEdit* Unit = nullptr;      // placeholder: the unit the algebra gives when left empty
    QComboBox* Kind = nullptr;      // "Formule", "Dérivée", "Intégrale", "Lissage"
    QLineEdit* Formula = nullptr;   // shown for "Formule"
    QComboBox* Source = nullptr;    // shown otherwise: the channels, then the quantities above
    QSpinBox* Points = nullptr;     // shown for "Dérivée" and "Lissage": 3..51
    QComboBox* Method = nullptr;    // shown for "Lissage": "Savitzky-Golay", "Moyenne glissante"
    TColourCombo* Colour = nullptr; // its first item "Par défaut" is colour 0
    QCheckBox* AutoScale = nullptr; // "auto"; else the range Mini..Maxi in SI units
    QLineEdit* Mini = nullptr;
    QLineEdit* Maxi = nullptr;
    QStackedWidget* FormulaOrSource = nullptr;
  };
  struct TConstantRow {
    QLineEdit* Name = nullptr;  // filtered as a quantity's name
    QLineEdit* Value = nullptr; // a typed number, either decimal mark, a prefix letter allowed
    QLineEdit* Unit = nullptr;
  };
  const TQuantityRow& QuantityRow(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
  const TConstantRow& ConstantRow(int row) const {
    return constantRows_.at(static_cast<std::size_t>(row));
  }

  QTableWidget* QuantityTable = nullptr;
  QTableWidget* ConstantTable = nullptr;
  QPushButton* AjouterBtn = nullptr;   // "Ajouter": disabled at eight quantities
  QPushButton* SupprimerBtn = nullptr; // these three act on the current row
  QPushButton* MonterBtn = nullptr;
  QPushButton* DescendreBtn = nullptr;
  QPushButton* AjouterConstBtn = nullptr;
  QPushButton* SupprimerConstBtn = nullptr;
  QLabel* QuantityMessage = nullptr; // why "OK" refused, under the table concerned
  QLabel* ConstantMessage = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* AnnulerBtn = nullptr;

private:
  QMetaObject::Connection focusWatch_; // the application's focus changes, until destroyed
  struct TQuantityText;
  struct TConstantText;
  struct TProblem;

  void AddQuantity();
  void RemoveQuantity();
  void MoveQuantity(int step);
  void AddConstant();
  void RemoveConstant();
  void OKBtnClick();

  int NewQuantityRow();
  int NewConstantRow();
  TQuantityText ReadQuantity(int row) const;
  void WriteQuantity(int row, const TQuantityText& text);
  TConstantText ReadConstant(int row) const;
  void WriteConstant(int row, const TConstantText& text);
  void ShowKind(int row);
  void RefillSources();
  void FocusChanged(QWidget* now);
  void UpdateButtons();

  // The set the widgets hold, or the first field that does not read; then the model's check.
  bool Collect(std::vector<analysis::ComputedConstant>& constants,
               std::vector<analysis::ComputedDefinition>& definitions,
               std::vector<TComputedDisplay>& displays, TProblem& problem) const;
  bool Check(TProblem& problem, std::vector<analysis::ComputedConstant>* constants = nullptr,
             std::vector<analysis::ComputedDefinition>* definitions = nullptr,
             std::vector<TComputedDisplay>* displays = nullptr);
  void Changed();
  void ShowProblem(const TProblem& problem, bool focus);
  void ClearProblem();

  std::array<analysis::ComputedChannel, 4> channels_;
  std::string abscissaUnit_;
  std::vector<TQuantityRow> rows_;
  std::vector<TConstantRow> constantRows_;
  // What each row holds beyond its fields: the display as given (its Visible, its range as
  // written in Mini/Maxi) and the constants' values as written in their Value field.
  std::vector<TComputedDisplay> shown_;
  std::vector<double> values_;
  bool filling_ = false;
  bool problemShown_ = false;

  std::vector<analysis::ComputedConstant> constants_;
  std::vector<analysis::ComputedDefinition> definitions_;
  std::vector<TComputedDisplay> displays_;
};

} // namespace qvt
