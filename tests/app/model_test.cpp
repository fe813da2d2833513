// SPDX-License-Identifier: GPL-3.0-or-later
// The "Modélisation" panel in the window against the virtual interface: the generator's
// arbitrary wave, looped back to Y0, plays a capacitor's charge at 10 Hz (τ = 12,5 ms), which
// the panel fits over the range dragged on the graph, on a channel or on a computed quantity.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>

#include <fstream>
#include <iterator>

#include "computed_curves.h"
#include "lcd99.h"
#include "mainform_fixture.h"
#include "model_panel.h"

namespace qvt {
namespace {

constexpr int k100ms = 12;

class ModelTest : public MainFormFileTest {
protected:
  // The generator plays `formula` at `hertz`, Y0 triggers on its rise through 1 V and one
  // sweep of 100 ms is taken; the panel is shown with `model`.
  void PlayAndSweep(const char* formula, const char* hertz, const char* model) {
    Start("noise=0");
    form->GBFbtn->click();
    form->LCD10k->SetValue(hertz);
    form->signalRG->Button(3)->click(); // "Arbitraire"
    form->ExpressionEdit->setText(formula);
    form->MajBtnClick();
    ASSERT_TRUE(WaitFor([&] { return form->GeneratorState == 2; }));
    Trigger(1);
    form->SeuilEdit->setText("1");
    form->SeuilEditExit();
    TimeBase(k100ms);
    SingleShot(true);
    form->ModeleBtn->click();
    ASSERT_FALSE(form->ModelArea->isHidden());
    panel = form->ModelPanel;
    panel->ModelCB->setCurrentIndex(panel->ModelCB->findText(QString::fromUtf8(model)));
    ASSERT_TRUE(WaitFor([&] { return Idle(); }));
    form->EnregistreBtn->click();
    ASSERT_TRUE(NextSweep());
    ASSERT_TRUE(WaitFor([&] { return Idle(); }));
    ASSERT_EQ(panel->Channel(), 0);
  }
  // Drags a marker on the graph from time `t0` to time `t1`.
  void DragMarker(double t0, double t1) {
    form->TempsPaintBox->Repaint();
    const int y = (OscGraph->PlotRect.Top + OscGraph->PlotRect.Bottom) / 2;
    const int from = OscGraph->TimeCurve.ToPixel(t0);
    const int to = OscGraph->TimeCurve.ToPixel(t1);
    form->TempsPaintBoxMouseDown(At(from, y, Qt::LeftButton, Qt::LeftButton));
    form->TempsPaintBoxMouseMove(At((from + to) / 2, y, Qt::NoButton, Qt::LeftButton));
    form->TempsPaintBoxMouseMove(At(to, y, Qt::NoButton, Qt::LeftButton));
    form->TempsPaintBoxMouseUp(At(to, y, Qt::LeftButton));
  }
  bool Fitted() const { return panel->Result() != nullptr && !panel->Busy(); }
  double Value(const char* name) const {
    for (const analysis::FitParameter& p : panel->Result()->parameters)
      if (p.name == name)
        return p.value;
    return 0;
  }
  QString Cell(int row, int column) const { return panel->ParamTable->item(row, column)->text(); }
  int Row(const QString& name) const {
    for (int r = 0; r < panel->ParamTable->rowCount(); ++r)
      if (Cell(r, 0) == name)
        return r;
    return -1;
  }

  TModelPanel* panel = nullptr;
};

TEST_F(ModelTest, TheChargeIsFittedOverTheDraggedRangeWithItsTimeConstantAndCopied) {
  ForceDecimalSeparator(',');
  PlayAndSweep("5*(1-EXP(-8*t))", "10", "Charge");
  // The markers start at the ends of the time axis; the sweep shows the start of the next
  // period at its right end: the range is dragged onto the charge.
  const double first = std::max(OscGraph->TimeCurve.Value[0], OscGraph->TimeCurve.Mini);
  const double last =
      std::min(OscGraph->TimeCurve.Value[OscGraph->FilledCount - 1], OscGraph->TimeCurve.Maxi);
  DragMarker(first, 0.0005);
  ASSERT_TRUE(panel->Markers().Placed());
  DragMarker(last, 0.09);
  EXPECT_NEAR(panel->Markers().From(), 0.0005, 0.0002);
  EXPECT_NEAR(panel->Markers().To(), 0.09, 0.0005);
  ASSERT_TRUE(WaitFor([&] { return Fitted(); }));

  const analysis::FitResult& r = *panel->Result();
  ASSERT_TRUE(r.Ok()) << r.message;
  const auto tau = std::find_if(r.parameters.begin(), r.parameters.end(),
                                [](const auto& p) { return p.name == "tau"; });
  ASSERT_NE(tau, r.parameters.end());
  ASSERT_TRUE(tau->error.has_value());
  EXPECT_NEAR(tau->value, 0.0125, std::max(3 * *tau->error, 0.0125 * 0.01));
  const double fittedTau = tau->value;
  EXPECT_TRUE(panel->ShowsCurve());

  const int row = Row(QString::fromUtf8("τ"));
  ASSERT_GE(row, 0);
  EXPECT_TRUE(
      QRegularExpression(QString::fromUtf8("^12,\\d+ ± 0,\\d+$")).match(Cell(row, 1)).hasMatch())
      << Cell(row, 1).toStdString();
  EXPECT_EQ(Cell(row, 2), "ms");
  EXPECT_EQ(Cell(Row("A"), 2), "V");
  EXPECT_TRUE(panel->StatusLabel->text().startsWith(QString::fromUtf8("Ajustement réussi en ")))
      << panel->StatusLabel->text().toStdString();
  EXPECT_TRUE(panel->R2Label->text().startsWith(QString::fromUtf8("r² = 0,9999")))
      << panel->R2Label->text().toStdString();

  QTest::keyClick(panel->ParamTable, Qt::Key_C, Qt::ControlModifier);
  const QStringList lines = QApplication::clipboard()->text().split('\n');
  ASSERT_GE(lines.size(), 6);
  EXPECT_TRUE(lines[0].startsWith(QString::fromUtf8("Modèle\tCharge\t"))) << lines[0].toStdString();
  EXPECT_EQ(lines[1], QString::fromUtf8("Paramètre\tValeur\tIncertitude\tUnité"));
  EXPECT_TRUE(QApplication::clipboard()->text().contains(QString::fromUtf8("\nτ\t12,")));
  EXPECT_TRUE(QApplication::clipboard()->text().contains(QString::fromUtf8("\nr²\t0,9999")));
  ForceDecimalSeparator('\0');

  // Saved with the sweep, the model comes back when the file is opened.
  QTemporaryDir dir;
  const QString path = dir.filePath("charge.qvtm");
  ASSERT_TRUE(form->SaveMeasureFile(path));
  std::ifstream in(path.toStdString());
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("\n# model: charge\n# model.channel: 0\n# model.from: "), std::string::npos);
  EXPECT_NE(text.find("\n# model.parameters: A="), std::string::npos);
  form->ModeleBtn->click();
  panel->ModelCB->setCurrentIndex(1);
  panel->Markers().Reset();
  ASSERT_TRUE(form->OpenMeasureFile(path));
  EXPECT_FALSE(form->ModelArea->isHidden());
  EXPECT_EQ(panel->ModelCB->currentText(), "Charge");
  EXPECT_NEAR(panel->Markers().To(), 0.09, 0.0005);
  ASSERT_TRUE(WaitFor([&] { return Fitted(); }));
  ASSERT_TRUE(panel->Result()->Ok());
  EXPECT_NEAR(panel->Result()->parameters[1].value, fittedTau, 1e-9) << "the same points";
}

TEST_F(ModelTest, AFailedFitSaysWhyInFrenchAndDrawsNoCurve) {
  PlayAndSweep("5*(1-EXP(-8*t))", "10", "Sinus amorti");
  // A range narrower than a sample step holds fewer points than the model's five parameters.
  panel->Markers().Place(0.01, 0.01 + 1e-6);
  panel->Refit();
  ASSERT_TRUE(WaitFor([&] { return Fitted(); }));
  EXPECT_FALSE(panel->Result()->Ok());
  EXPECT_EQ(panel->StatusLabel->text(),
            QString::fromUtf8("Trop peu de points pour ajuster ce modèle"));
  EXPECT_FALSE(panel->ShowsCurve());
  EXPECT_EQ(Cell(0, 1), QString::fromUtf8("—"));

  // An expression without a parameter is refused with a sentence of the window's own.
  panel->ModelCB->setCurrentIndex(panel->ModelCB->findText("Expression"));
  panel->ExpressionEdit->setText("2*t+1");
  panel->ExpressionEdit->setModified(true); // as typed
  emit panel->ExpressionEdit->editingFinished();
  EXPECT_TRUE(panel->StatusLabel->text().startsWith(
      QString::fromUtf8("L'expression n'a aucun paramètre à ajuster")))
      << panel->StatusLabel->text().toStdString();
}

TEST_F(ModelTest, AComputedQuantityIsFittedInItsUnitAndOpenedAgainWithItsModel) {
  PlayAndSweep("5*(1-EXP(-8*t))", "10", "Charge");
  panel->Markers().Place(0.0005, 0.09);
  panel->Refit();
  ASSERT_TRUE(WaitFor([&] { return Fitted(); }));
  ASSERT_TRUE(panel->Result()->Ok()) << panel->Result()->message;
  const double a = Value("A");
  const double tau = Value("tau");

  // P = 2·V0 in W: "Charge" on P gives twice the channel's A, in W, and the same τ.
  analysis::ComputedDefinition p;
  p.name = "P";
  p.kind = analysis::ComputedKind::kFormula;
  p.formula = "2*V0";
  p.unit = "W";
  ASSERT_FALSE(form->ComputedQuantities().Define(form->ComputedChannels(), {}, {p}, {}));
  form->ComputeQuantities();
  form->FeedModelPanel();
  ASSERT_EQ(panel->ChannelCB->itemText(panel->ChannelCB->count() - 1), "P");
  panel->ChannelCB->setCurrentIndex(panel->ChannelCB->count() - 1);
  ASSERT_TRUE(WaitFor([&] { return Fitted() && panel->Channel() == 4; }));
  ASSERT_TRUE(panel->Result()->Ok()) << panel->Result()->message;
  EXPECT_NEAR(Value("A"), 2 * a, 1e-6 * a);
  EXPECT_NEAR(Value("tau"), tau, 1e-6 * tau);
  EXPECT_EQ(Cell(Row("A"), 2), "W");
  EXPECT_EQ(Cell(Row("B"), 2), "W");
  EXPECT_EQ(Cell(Row(QString::fromUtf8("τ")), 2), "ms");

  // The file names the quantity rather than a channel, and shows the model on it again.
  const QString path = dir.filePath("p.qvtm");
  ASSERT_TRUE(form->SaveMeasureFile(path));
  const std::string text = ReadFile(path.toStdString());
  EXPECT_NE(text.find("\n# model: charge\n# model.quantity: P\n# model.from: "), std::string::npos);
  panel->ChannelCB->setCurrentIndex(0);
  panel->ModelCB->setCurrentIndex(1);
  ASSERT_TRUE(form->OpenMeasureFile(path));
  EXPECT_EQ(panel->ModelCB->currentText(), "Charge");
  EXPECT_EQ(panel->ChannelCB->currentText(), "P");
  ASSERT_TRUE(WaitFor([&] { return Fitted(); }));
  ASSERT_TRUE(panel->Result()->Ok());
  EXPECT_EQ(panel->Channel(), 4);
  EXPECT_NEAR(Value("A"), 2 * a, 1e-6 * a);
}

TEST_F(ModelTest, SettingsKeepThePanelItsModelAndExpression) {
  Start();
  Close();
  ASSERT_EQ(ReadFile().find("[Modelisation]"), std::string::npos) << "nothing but defaults";
  Start();
  form->ModeleBtn->click();
  form->ModelPanel->ExpressionEdit->setText("E*(1-EXP(-t/tau))");
  form->ModelPanel->SelectModel("expression");
  form->ModelPanel->ResidusCB->setChecked(true);
  Close();
  Start();
  panel = form->ModelPanel;
  EXPECT_FALSE(form->ModelArea->isHidden());
  EXPECT_EQ(panel->ModelKey(), "expression");
  EXPECT_EQ(panel->ExpressionEdit->text(), "E*(1-EXP(-t/tau))");
  EXPECT_EQ(panel->ParamTable->rowCount(), 2) << "E and tau";
  EXPECT_TRUE(panel->ResidusCB->isChecked());
  Close();

  // Values that do not read keep the defaults.
  std::string text = ReadFile();
  const auto model = text.find("Modele=expression");
  ASSERT_NE(model, std::string::npos);
  text.replace(model, 17, "Modele=nouveau\nDegre=9");
  std::ofstream(ConfigFileName, std::ios::binary) << text;
  Start();
  EXPECT_EQ(form->ModelPanel->ModelKey(), "affine");
  EXPECT_EQ(form->ModelPanel->DegreeSE->value(), 3);
}

} // namespace
} // namespace qvt
