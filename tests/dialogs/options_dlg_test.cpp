// SPDX-License-Identifier: GPL-3.0-or-later
// TOptionsDlg: the mode rule, and what OK and Abandon do to the settings and the graphs.
#include "options_dlg.h"

#include "../platform/qt_test_app.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include "graph_settings.h"
#include "graphe_osc.h"
#include "graphe_point.h"
#include "radiogroup.h"

namespace qvt {
namespace {

class Options : public ::testing::Test {
protected:
  static void SetUpTestSuite() { TestApp(); }

  void SetUp() override {
    ShowGrid = false;
    LineWidth = 2;
    osc_.Separate = true;
    point_.Abscissa = 1;
    dlg_.PointMode = false;
    dlg_.OscGraph = &osc_;
    dlg_.PointGraph = &point_;
    dlg_.show();
  }
  void TearDown() override {
    ShowGrid = false;
    LineWidth = 1;
  }

  // Changes every control the way a user would.
  void ChangeEverything() {
    QTest::mouseClick(dlg_.ModeRG->Button(1), Qt::LeftButton);
    QTest::mouseClick(dlg_.AbscisseRG->Button(3), Qt::LeftButton);
    dlg_.GrilleCB->setChecked(true);
    dlg_.WidthCourbeSE->setValue(4);
    dlg_.AnalyseurCB->setChecked(false);
    dlg_.LangueCombo->setCurrentIndex(2);
  }

  TgrapheOsc osc_;
  TgraphePoint point_;
  TOptionsDlg dlg_;
};

TEST_F(Options, ModeShowsItsOwnOption) {
  EXPECT_EQ(dlg_.ModeRG->ItemIndex(), 0);
  EXPECT_TRUE(dlg_.AnalyseurCB->isVisible());
  EXPECT_FALSE(dlg_.AbscisseRG->isVisible());
  const QSize size = dlg_.size();

  QTest::mouseClick(dlg_.ModeRG->Button(1), Qt::LeftButton);
  EXPECT_FALSE(dlg_.AnalyseurCB->isVisible());
  EXPECT_TRUE(dlg_.AbscisseRG->isVisible());
  EXPECT_EQ(dlg_.AbscisseRG->ItemIndex(), 1);

  QTest::mouseClick(dlg_.ModeRG->Button(0), Qt::LeftButton);
  EXPECT_TRUE(dlg_.AnalyseurCB->isVisible());
  EXPECT_FALSE(dlg_.AbscisseRG->isVisible());
  QApplication::processEvents();
  EXPECT_EQ(dlg_.size(), size) << "the dialog keeps its size";

  // Shown again in point-by-point mode, it starts from that mode.
  dlg_.hide();
  dlg_.PointMode = true;
  dlg_.show();
  EXPECT_EQ(dlg_.ModeRG->ItemIndex(), 1);
  EXPECT_TRUE(dlg_.AbscisseRG->isVisible());
  EXPECT_FALSE(dlg_.AnalyseurCB->isVisible());
}

TEST_F(Options, AbandonChangesNothing) {
  ChangeEverything();
  dlg_.BtnCancel->click();
  EXPECT_EQ(dlg_.result(), QDialog::Rejected);
  EXPECT_FALSE(dlg_.PointMode);
  EXPECT_FALSE(ShowGrid);
  EXPECT_EQ(LineWidth, 2);
  EXPECT_TRUE(osc_.Separate);
  EXPECT_EQ(point_.Abscissa, 1);
  EXPECT_EQ(dlg_.Language, 0);
}

TEST_F(Options, OkStoresEverything) {
  EXPECT_EQ(dlg_.WidthCourbeSE->value(), 2);
  EXPECT_TRUE(dlg_.AnalyseurCB->isChecked());
  ChangeEverything();
  dlg_.BtnOK->click();
  EXPECT_EQ(dlg_.result(), QDialog::Accepted);
  EXPECT_TRUE(dlg_.PointMode);
  EXPECT_TRUE(ShowGrid);
  EXPECT_EQ(LineWidth, 4);
  EXPECT_FALSE(osc_.Separate);
  EXPECT_EQ(point_.Abscissa, 3);
  EXPECT_EQ(dlg_.Language, 2);
  EXPECT_EQ(dlg_.LangueCombo->itemText(2), "English") << "named in itself";
}

} // namespace
} // namespace qvt
