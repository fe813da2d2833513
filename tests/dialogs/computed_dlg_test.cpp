// SPDX-License-Identifier: GPL-3.0-or-later
// The "Calculs" dialog: a set typed through its widgets is the set OK accepts, and a set the
// check refuses leaves the dialog open at the field concerned, the accepted set unchanged.
#include "computed_dlg.h"

#include "../platform/qt_test_app.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "colour_combo.h"

namespace qvt {
namespace {

using analysis::ComputedConstant;
using analysis::ComputedDefinition;
using analysis::ComputedKind;

const std::array<analysis::ComputedChannel, 4> kChannels{{{"U", "V"}, {"", "V"}, {}, {}}};

ComputedDefinition Formula(const char* name, const char* unit, const char* formula) {
  ComputedDefinition d;
  d.name = name;
  d.unit = unit;
  d.formula = formula;
  return d;
}

class CalculsDlg : public ::testing::Test {
protected:
  static void SetUpTestSuite() { TestApp(); }

  void Show() {
    dlg_.show();
    QApplication::setActiveWindow(&dlg_);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg_));
  }

  static void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }

  TCalculsDlg dlg_{nullptr, kChannels, "s"};
};

TEST_F(CalculsDlg, SetTypedInTheTablesIsAccepted) {
  Show();
  dlg_.AjouterConstBtn->click();
  const TCalculsDlg::TConstantRow& r = dlg_.ConstantRow(0);
  Type(r.Name, "R");
  Type(r.Value, "2,2k");
  r.Unit->insert(QString(QChar(0x3A9))); // Ω, as the Ctrl+letter keys type it

  dlg_.AjouterBtn->click();
  const TCalculsDlg::TQuantityRow& p = dlg_.QuantityRow(0);
  Type(p.Name, "P");
  Type(p.Formula, "V0 * V1/R");
  p.Colour->setCurrentText("Rouge");
  p.AutoScale->setChecked(false);
  Type(p.Mini, "0");
  Type(p.Maxi, "0,5");
  EXPECT_EQ(p.Unit->placeholderText(), "W"); // V·V/Ω, while the unit is left empty

  dlg_.AjouterBtn->click();
  const TCalculsDlg::TQuantityRow& d = dlg_.QuantityRow(1);
  Type(d.Name, "dP");
  d.Kind->setCurrentIndex(1); // Dérivée
  EXPECT_TRUE(d.Source->isVisibleTo(&dlg_));
  EXPECT_FALSE(d.Formula->isVisibleTo(&dlg_));
  EXPECT_FALSE(d.Method->isVisibleTo(&dlg_));
  // The channels by their names, then the quantities above.
  ASSERT_EQ(d.Source->count(), 5);
  EXPECT_EQ(d.Source->itemData(0).toString(), "U");
  EXPECT_EQ(d.Source->itemData(1).toString(), "V1");
  d.Source->setCurrentIndex(4);
  d.Points->setValue(5);

  dlg_.OKBtn->click();
  EXPECT_EQ(dlg_.result(), QDialog::Accepted);
  EXPECT_EQ(dlg_.Constants(), (std::vector<ComputedConstant>{{"R", 2200, "\x9D"}}));
  const ComputedDefinition power = Formula("P", "", "V0*V1/R");
  ComputedDefinition derivative;
  derivative.name = "dP";
  derivative.kind = ComputedKind::kDerivative;
  derivative.source = "P";
  derivative.points = 5;
  EXPECT_EQ(dlg_.Definitions(), (std::vector<ComputedDefinition>{power, derivative}));
  ASSERT_EQ(dlg_.Displays().size(), 2u);
  EXPECT_EQ(dlg_.Displays()[0], (TComputedDisplay{MakeColour(255, 0, 0), false, 0, 0.5, true}));
  EXPECT_EQ(dlg_.Displays()[1], TComputedDisplay{});
}

TEST_F(CalculsDlg, RefusedSetKeepsTheDialogOpenAtTheField) {
  const std::vector<ComputedConstant> constants{{"R", 100, "\x9D"}};
  const std::vector<ComputedDefinition> definitions{
      Formula("a", "A", "V0/R"),
      Formula("b", "", "a*2"),
  };
  const std::vector<TComputedDisplay> displays{{}, {MakeColour(0, 128, 0), false, -1.5, 1.0 / 3}};
  const struct {
    const char* what;
    int row;           // quantity row typed into, or -1 for the constant
    const char* typed; // into its formula, or the constant's unit
    const char* said;  // in the message
  } cases[] = {
      {"cycle", 0, "b", "circulaire"},
      {"unknown name", 1, "a*Z", "inconnu"},
      {"constant unit", -1, "xyz", "incorrecte"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    dlg_.SetContents(constants, definitions, displays);
    Show();
    QLineEdit* field = c.row < 0 ? dlg_.ConstantRow(0).Unit : dlg_.QuantityRow(c.row).Formula;
    Type(field, c.typed);
    dlg_.OKBtn->click();

    EXPECT_TRUE(dlg_.isVisible());
    QLabel* message = c.row < 0 ? dlg_.ConstantMessage : dlg_.QuantityMessage;
    EXPECT_TRUE(message->isVisible());
    EXPECT_TRUE(message->text().contains(c.said)) << message->text().toStdString();
    QTableWidget* table = c.row < 0 ? dlg_.ConstantTable : dlg_.QuantityTable;
    EXPECT_EQ(table->currentRow(), std::max(c.row, 0));
    EXPECT_EQ(QApplication::focusWidget(), field);
    EXPECT_EQ(dlg_.Constants(), constants);
    EXPECT_EQ(dlg_.Definitions(), definitions);
    EXPECT_EQ(dlg_.Displays(), displays);
    dlg_.AnnulerBtn->click();
    EXPECT_EQ(dlg_.result(), QDialog::Rejected);
  }

  // The untouched set comes back as it was given, the typed range exactly.
  dlg_.SetContents(constants, definitions, displays);
  dlg_.OKBtn->click();
  EXPECT_EQ(dlg_.result(), QDialog::Accepted);
  EXPECT_EQ(dlg_.Displays(), displays);
  EXPECT_EQ(dlg_.Definitions(), definitions);
}

} // namespace
} // namespace qvt
