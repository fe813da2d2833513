// SPDX-License-Identifier: GPL-3.0-or-later
// The channel dialogs: the symbol filter of "Nom", what "Activer", "Désactiver" and Escape do to
// the curve, the caption, and the point dialog's marker.
#include "config_voie_point_dlg.h"
#include "osc_channel_dlg.h"

#include "../platform/qt_test_app.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ansi.h"
#include "colour_combo.h"
#include "courbe.h"

namespace qvt {
namespace {

QString Symbol(unsigned char byte) {
  return QString(QChar(AnsiToUnicode(byte)));
}

class OscChannel : public ::testing::Test {
protected:
  static void SetUpTestSuite() { TestApp(); }

  void SetUp() override {
    curve_.Channel = 2;
    curve_.QuantityName = "U2";
    curve_.SetText("V");
    curve_.Meaning = "tension";
    curve_.Colour = MakeColour(255, 0, 255);
    dlg_.Curve = &curve_;
  }

  // Shows the dialog as exec() would, without its own event loop.
  void Show() {
    dlg_.show();
    QApplication::setActiveWindow(&dlg_);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg_));
  }

  // Replaces the text of an edit as typing would.
  static void Retype(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    for (QChar c : text)
      QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }

  TCourbeOsc curve_{"V2", 2, "V"};
  TOscChannelDlg dlg_;
};

TEST_F(OscChannel, NameKeepsSymbolCharactersOnly) {
  Show();
  QLineEdit* nom = dlg_.EditNom;
  const struct {
    QString typed;
    QString kept;
  } cases[] = {
      {"aZ09", "aZ09"},
      {"a b+c/d", "abcd"},
      {"#$%'", "#$%'"},
      {"R" + Symbol(0x9D), "R" + Symbol(0x9D)}, // the ohm sign
      {Symbol(0xB5) + "x", Symbol(0xB5) + "x"},
      {"-*.,;" + Symbol(0x89) + Symbol(0xD8), ""}, // per mille and Ø are no symbols
  };
  for (const auto& c : cases) {
    Retype(nom, c.typed);
    EXPECT_EQ(nom->text(), c.kept) << c.typed.toStdString();
  }

  // The main window types its Ctrl+letter symbols with insert(), and a paste comes whole;
  // the filter holds for both.
  Retype(nom, "R");
  nom->insert(Symbol(0x9D));
  nom->insert(Symbol(0xD8));
  EXPECT_EQ(nom->text(), "R" + Symbol(0x9D));
  QApplication::clipboard()->setText("t 1/2");
  nom->paste();
  EXPECT_EQ(nom->text(), "R" + Symbol(0x9D) + "t12");
}

TEST_F(OscChannel, ActiverStoresTheFields) {
  Show();
  EXPECT_EQ(dlg_.EditNom->text(), "U2");
  EXPECT_EQ(dlg_.EditUnite->text(), "V");
  EXPECT_EQ(dlg_.EditSignif->text(), "tension");
  EXPECT_EQ(dlg_.CouleurCombo->Selected(), curve_.Colour);

  Retype(dlg_.EditNom, "R" + Symbol(0x9D));
  Retype(dlg_.EditUnite, "k" + Symbol(0x9D)); // kΩ, as the unit texts write it
  Retype(dlg_.EditSignif, QStringLiteral("résistance"));
  dlg_.CouleurCombo->setCurrentText("Vert");
  dlg_.OKBtn->click();

  EXPECT_EQ(dlg_.result(), QDialog::Accepted);
  EXPECT_TRUE(curve_.Visible);
  EXPECT_EQ(curve_.QuantityName, "R\x9D");
  EXPECT_EQ(curve_.Text, "k\x9D");
  Tunite ohm;
  ohm.SetText("\x9D");
  EXPECT_TRUE(curve_.Valid);
  EXPECT_EQ(curve_.Pow10, 3);
  EXPECT_EQ(curve_.Dim, ohm.Dim);
  EXPECT_EQ(curve_.Meaning, "r\xE9sistance");
  EXPECT_EQ(curve_.Colour, MakeColour(0, 128, 0));
}

TEST_F(OscChannel, UnitNotUnderstoodIsStoredInvalid) {
  Show();
  Retype(dlg_.EditUnite, "xyz");
  dlg_.OKBtn->click();
  EXPECT_EQ(curve_.Text, "xyz");
  EXPECT_FALSE(curve_.Valid);
  EXPECT_TRUE(curve_.Visible);
}

TEST_F(OscChannel, ColourOutsideTheListIsKept) {
  curve_.Colour = MakeColour(0x12, 0x34, 0x56);
  Show();
  dlg_.OKBtn->click();
  EXPECT_EQ(curve_.Colour, MakeColour(0x12, 0x34, 0x56));
}

TEST_F(OscChannel, DesactiverAndEscapeOnlySwitchOff) {
  for (bool escape : {false, true}) {
    SCOPED_TRACE(escape ? "Escape" : "Desactiver");
    curve_.Visible = true;
    Show();
    Retype(dlg_.EditNom, "X");
    Retype(dlg_.EditUnite, "A");
    Retype(dlg_.EditSignif, "autre");
    dlg_.CouleurCombo->setCurrentIndex(0);
    if (escape)
      QTest::keyClick(dlg_.EditSignif, Qt::Key_Escape);
    else
      dlg_.DesactiveBtn->click();

    EXPECT_TRUE(dlg_.isHidden());
    EXPECT_EQ(dlg_.result(), QDialog::Accepted);
    EXPECT_FALSE(curve_.Visible);
    EXPECT_EQ(curve_.QuantityName, "U2");
    EXPECT_EQ(curve_.Text, "V");
    EXPECT_EQ(curve_.Meaning, "tension");
    EXPECT_EQ(curve_.Colour, MakeColour(255, 0, 255));
  }
}

TEST_F(OscChannel, CaptionNamesTheChannelAndItsInput) {
  for (bool yd : {false, true}) {
    dlg_.InputYD = yd;
    Show();
    EXPECT_EQ(dlg_.windowTitle(), yd ? "YD2 QVT2" : "Y2 BNC QVT2");
    dlg_.hide();
  }
}

TEST(PointChannel, MarkerIsShownAndStored) {
  TestApp();
  TCourbePoint curve("V1", 1, "V");
  curve.Channel = 1;
  curve.MarkerStyle = 3;
  TConfigVoiePointDlg dlg;
  dlg.Curve = &curve;
  dlg.show();
  EXPECT_EQ(dlg.windowTitle(), "Y1 BNC QVT2");
  EXPECT_EQ(dlg.PointCombo->currentIndex(), 3);
  dlg.PointCombo->setCurrentIndex(4);
  dlg.OKBtn->click();
  EXPECT_EQ(curve.MarkerStyle, 4);
  EXPECT_TRUE(curve.Visible);
}

} // namespace
} // namespace qvt
