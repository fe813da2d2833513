// SPDX-License-Identifier: GPL-3.0-or-later
// The "Mesures" panel and the "Spectre" mode of the main window against the virtual interface
// (Y1 a 50 Hz sine of 2 V, the generator looped back to Y0, sines of 3 V and 9 V on Y2 and Y3
// where asked) on Qt's offscreen platform, on the channels and on computed quantities.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTableWidget>
#include <QWheelEvent>

#include <fstream>
#include <sstream>

#include "computed_curves.h"
#include "config_file_name.h"
#include "graphe_frequences.h"
#include "lcd99.h"
#include "mainform_fixture.h"
#include "measure_list.h"

namespace qvt {
namespace {

constexpr int k100ms = 12;

class AnalysisTest : public MainFormFileTest {
protected:
  // One keyboard-started sweep, finished.
  void Sweep() {
    ASSERT_TRUE(WaitFor([&] { return Idle(); }));
    form->EnregistreBtn->click();
    ASSERT_TRUE(NextSweep());
    ASSERT_TRUE(WaitFor([&] { return Idle(); }));
  }
  QString Cell(int row, int column) const { return form->MesuresTable->item(row, column)->text(); }
  QString RowName(int row) const { return form->MesuresTable->verticalHeaderItem(row)->text(); }
};

TEST_F(AnalysisTest, ThePanelMeasuresEachActiveChannelMarksClippingAndCopiesAsText) {
  Start("noise=0;y2=sine:50:3;y3=sine:50:9");
  Activate(1);
  Trigger(0);
  TimeBase(k100ms);
  form->MesuresBtn->click();
  ASSERT_FALSE(form->MesuresTable->isHidden());
  Sweep();

  // Rows: the flat Y0 (the generator is off) and the 50 Hz sine of Y1; columns f, Vpp, ...
  ASSERT_EQ(form->MesuresTable->rowCount(), 2);
  EXPECT_EQ(RowName(0), "Voie 0");
  EXPECT_EQ(RowName(1), "Voie 1");
  EXPECT_EQ(form->MesuresTable->horizontalHeaderItem(0)->text(), "f");
  EXPECT_EQ(Cell(0, 0), "—") << "a flat channel has no frequency";
  EXPECT_EQ(Cell(1, 0), "50.00 Hz");
  EXPECT_EQ(Cell(1, 1), "4.00 V") << "Vpp of the 2 V sine";
  EXPECT_EQ(form->MesuresTable->item(1, 0)->foreground().color(),
            ToQColor(OscGraph->Curves[1].Colour));

  // Ctrl+C on the table: a header line, then a line per channel, fields between tabs.
  QApplication::clipboard()->clear();
  form->MesuresTable->setFocus();
  QTest::keyClick(form->MesuresTable, Qt::Key_C, Qt::ControlModifier);
  const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3) << QApplication::clipboard()->text().toStdString();
  EXPECT_EQ(lines[0], "Voie\tf\tVpp\tVmoy\tVeff");
  EXPECT_TRUE(lines[2].startsWith("Voie 1\t50.00 Hz\t4.00 V\t")) << lines[2].toStdString();

  // On "2 V" the converter measures up to 7.5 V: the 9 V sine of Y3 is clipped (marked, its
  // peak values not given), the 3 V one of Y2 only leaves the displayed range and is measured.
  for (const int channel : {2, 3}) {
    Activate(channel);
    form->Channels[channel].Range->setCurrentIndex(5); // "2 V"
    form->ComboBox0Change(form->Channels[channel].Range);
  }
  Sweep();
  ASSERT_EQ(form->MesuresTable->rowCount(), 4);
  EXPECT_EQ(RowName(2), "Voie 2");
  EXPECT_EQ(Cell(2, 1), "6.00 V");
  EXPECT_EQ(RowName(3), "Voie 3 (saturé)");
  EXPECT_EQ(Cell(3, 1), "—");
  EXPECT_EQ(Cell(3, 0), "50.00 Hz") << "the time values stay";

  // Under the graph in the design size, beside it in a wide window.
  auto beside = [&] {
    QTest::qWait(20);
    const QRect table = form->MesuresTable->geometry(), graph = form->TempsPaintBox->geometry();
    EXPECT_GT(table.height(), 0);
    return table.left() >= graph.right() && table.top() < graph.bottom();
  };
  EXPECT_FALSE(beside());
  form->resize(1900, 700);
  EXPECT_TRUE(beside());
  form->resize(TMainForm::kDesignWidth, TMainForm::kDesignHeight);
  EXPECT_FALSE(beside());
}

TEST_F(AnalysisTest, TheSpectrumOfTheGeneratorsSquareListsItsOddHarmonics) {
  Start();
  form->GBFbtn->click();
  form->LCD10k->SetValue("440");
  form->signalRG->Button(0)->click(); // "Carré", sent at once
  ASSERT_TRUE(WaitFor([&] { return form->GeneratorState == 2; }));
  Trigger(0);
  TimeBase(k20ms);
  form->SpectreBtn->click();
  ASSERT_FALSE(form->SpectreBar->isHidden());
  Sweep();

  const TSpectreVoie& y0 = form->SpectreGraph->Voies[0];
  ASSERT_GE(y0.Harmonics.size(), 5u);
  const double bin = y0.Resolution;
  for (const int n : {1, 3, 5}) {
    const analysis::Harmonic& h = y0.Harmonics[n - 1];
    EXPECT_EQ(h.number, n);
    EXPECT_NEAR(h.frequency, 440.0 * n, bin) << n;
    // A square's odd harmonics fall as 1/n.
    EXPECT_NEAR(h.relativeDb, -20 * std::log10(n), 1.5) << n;
  }
  for (const int n : {2, 4})
    EXPECT_LT(y0.Harmonics[n - 1].relativeDb, -30) << "even harmonic " << n;
  EXPECT_NEAR(y0.Resolution * static_cast<double>(y0.Magnitudes.size() - 1), 62500, 1)
      << "bins from 0 to half the sample rate";

  // The graph is the spectrum's: the mouse on the fundamental reads its frequency.
  form->TempsPaintBox->Repaint();
  OscGraph->PaintRect = {};
  form->TempsPaintBox->Repaint();
  EXPECT_EQ(OscGraph->PaintRect, TRect{}) << "the time graph is not drawn";
  TGrapheSpectre& g = *form->SpectreGraph;
  const auto k = static_cast<std::size_t>(std::lround(y0.Harmonics[0].frequency / bin));
  const int x = g.FrequencyCurve.ToPixel(bin * static_cast<double>(k));
  const int y = g.Curves[0].ToPixel(y0.Magnitudes[k]);
  form->ShowReadout(x, y);
  EXPECT_TRUE(form->LabelX->isVisible());
  EXPECT_TRUE(form->LabelX->text().startsWith("f=4")) << form->LabelX->text().toStdString();
  EXPECT_TRUE(form->LabelY->text().startsWith("V0=")) << form->LabelY->text().toStdString();

  // Leaving the mode gives the time graph back.
  form->SpectreBtn->click();
  EXPECT_TRUE(form->SpectreBar->isHidden());
  form->TempsPaintBox->Repaint();
  EXPECT_NE(OscGraph->PaintRect, TRect{});
}

TEST_F(AnalysisTest, FourChannelsAt20msFitTheirSpanAndListsAndTheMouseZoomsTheFrequencies) {
  // Y0 flat, Y1 the 50 Hz sine, Y2 the 1 kHz square, Y3 the slow triangle.
  Start();
  for (int i = 1; i < 4; ++i)
    Activate(i);
  Trigger(0);
  TimeBase(k20ms);
  form->SpectreBtn->click();
  Sweep();
  form->TempsPaintBox->Repaint();
  TGrapheSpectre& g = *form->SpectreGraph;
  EXPECT_DOUBLE_EQ(g.FrequencyCurve.Mini, 0);
  EXPECT_DOUBLE_EQ(g.FrequencyCurve.Maxi, 10000) << "ten times the square's 1 kHz";
  EXPECT_EQ(g.Curves[0].AxisLabel(g.Curves[0].GradScale), "V0/V") << "as over the time graph";
  // The lists of the tones found, whole, under the axis's labels.
  EXPECT_EQ(g.Lists.Lines, 8);
  for (int i = 1; i < 4; ++i)
    EXPECT_GT(g.Lists.Boxes[i].Top, g.PlotRect.Bottom + g.CharHeight) << i;

  QWidget* box = form->TempsPaintBox;
  const QPoint at(g.FrequencyCurve.ToPixel(2000), g.PlotRect.Bottom + g.Margin);
  auto wheel = [&](int notches) {
    QWheelEvent e(at, box->mapToGlobal(at), {}, QPoint(0, 120 * notches), Qt::NoButton, {},
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(box, &e);
    form->TempsPaintBox->Repaint();
  };
  wheel(3);
  EXPECT_NEAR(g.FrequencyCurve.Maxi - g.FrequencyCurve.Mini, 10000 * 0.512, 1) << "zoomed in";
  EXPECT_NEAR(g.FrequencyCurve.FromPixel(at.x()), 2000, 20) << "around the mouse";
  // A drag to the left by a kilohertz's width shows a kilohertz higher.
  const double low = g.FrequencyCurve.Mini;
  const int kHz = g.FrequencyCurve.ToPixel(1000) - g.FrequencyCurve.ToPixel(0);
  QTest::mousePress(box, Qt::LeftButton, {}, at);
  QMouseEvent move(QEvent::MouseMove, QPointF(at - QPoint(kHz, 0)),
                   box->mapToGlobal(QPointF(at - QPoint(kHz, 0))), Qt::NoButton, Qt::LeftButton,
                   {});
  QApplication::sendEvent(box, &move);
  QTest::mouseRelease(box, Qt::LeftButton, {}, at - QPoint(kHz, 0));
  form->TempsPaintBox->Repaint();
  EXPECT_NEAR(g.FrequencyCurve.Mini, low + 1000, 20);
  Sweep();
  EXPECT_NEAR(g.FrequencyCurve.Mini, low + 1000, 20) << "kept over the next sweep";

  // A chosen f max, then a double click on the axis: back to the automatic span.
  form->FmaxCB->setCurrentIndex(form->FmaxCB->findData(2000));
  EXPECT_DOUBLE_EQ(g.FrequencyCurve.Mini, 0);
  EXPECT_DOUBLE_EQ(g.FrequencyCurve.Maxi, 2000);
  form->TempsPaintBox->Repaint();
  QTest::mouseDClick(box, Qt::LeftButton, {}, at);
  EXPECT_EQ(form->FmaxCB->currentIndex(), 0);
  EXPECT_DOUBLE_EQ(g.FrequencyCurve.Maxi, 10000);
}

TEST_F(AnalysisTest, ComputedQuantitiesAreMeasuredAndTransformedEachInItsUnit) {
  // Y0 and Y1 50 Hz sines of 2 V and 1 V in phase, Y1 read in amperes: P = V0·V1/R is a
  // 100 Hz wave of mean 2·1/2/100 W; sqrt(V0) has gaps over the negative half periods.
  Start("noise=0;y0=sine:50:2;y1=sine:50:1");
  Activate(1);
  Trigger(0);
  TimeBase(k100ms);
  OscGraph->Curves[1].SetText("A"); // as the channel dialog sets a current's unit
  analysis::ComputedDefinition p, root;
  p.name = "P";
  p.unit = "W";
  p.formula = "V0*V1/R";
  root.name = "S";
  root.unit = "V";
  root.formula = "sqrt(V0)";
  ASSERT_FALSE(form->ComputedQuantities().Define(form->ComputedChannels(), {{"R", 100, "\x9D"}},
                                                 {p, root}, {}));
  form->MesuresBtn->click();
  form->SpectreBtn->click();
  Sweep();

  ASSERT_EQ(form->MesuresTable->rowCount(), 4);
  EXPECT_EQ(RowName(1), "Voie 1");
  EXPECT_EQ(Cell(1, 1), "2.00 A") << "Vpp in the channel's unit";
  EXPECT_EQ(RowName(2), "P");
  EXPECT_EQ(Cell(2, 0), "100.0 Hz");
  // The mean, within the converter's steps.
  EXPECT_TRUE(Cell(2, 2).endsWith(" mW")) << Cell(2, 2).toStdString();
  EXPECT_NEAR(Cell(2, 2).chopped(3).toDouble(), 10, 0.05) << Cell(2, 2).toStdString();
  const std::vector<TCourbe>& computed = *OscGraph->Computed;
  EXPECT_EQ(form->MesuresTable->item(2, 0)->foreground().color(), ToQColor(computed[0].Colour));
  EXPECT_EQ(RowName(3), "S");
  for (int c = 0; c < form->MesuresTable->columnCount(); ++c)
    EXPECT_EQ(Cell(3, c), "—") << "a curve with gaps is not measured, column " << c;

  TGrapheSpectre& g = *form->SpectreGraph;
  ASSERT_EQ(g.Voies.size(), 6u);
  const TSpectreVoie& spectrum = g.Voies[4];
  ASSERT_FALSE(spectrum.Harmonics.empty());
  EXPECT_NEAR(spectrum.Harmonics[0].frequency, 100, spectrum.Resolution);
  EXPECT_EQ(g.Curves[4].AxisLabel(1), "P/W");
  EXPECT_LT(g.Curves[4].Maxi, 0.02) << "a range of its own, not the channels' volts";
  // The mouse on its fundamental reads it.
  form->TempsPaintBox->Repaint();
  const auto k = static_cast<std::size_t>(std::lround(100 / spectrum.Resolution));
  form->ShowReadout(g.FrequencyCurve.ToPixel(spectrum.Resolution * static_cast<double>(k)),
                    g.Curves[4].ToPixel(spectrum.Magnitudes[k]));
  EXPECT_TRUE(form->LabelY->text().startsWith("P=")) << form->LabelY->text().toStdString();
  EXPECT_TRUE(g.Voies[5].Visible);
  EXPECT_TRUE(g.Voies[5].Magnitudes.empty()) << "no spectrum for a curve with gaps";
}

TEST_F(AnalysisTest, ChoicesAreKeptInTheSettingsFileOnlyOnceChanged) {
  Start();
  Close();
  EXPECT_EQ(ReadFile().find("[Mesures]"), std::string::npos) << "a file keeps its bytes";
  EXPECT_EQ(ReadFile().find("[Spectre]"), std::string::npos);

  Start();
  form->SetChosenMeasures({analysis::Quantity::kPeriod, analysis::Quantity::kPhase});
  form->MesuresBtn->click();
  form->FenetreCB->setCurrentIndex(4);
  form->EchelleCB->setCurrentIndex(1);
  form->MoyenneSE->setValue(8);
  form->FmaxCB->setCurrentIndex(form->FmaxCB->findData(20000));
  Close();
  const std::string file = ReadFile();
  EXPECT_NE(file.find("[Mesures]\r\nListe=period,phase\r\nAffiche=1\r\n"), std::string::npos)
      << file;
  EXPECT_NE(file.find("[Spectre]\r\nFenetre=4\r\nEchelle=1\r\nMoyenne=8\r\nFMax=20000\r\n"),
            std::string::npos);

  Start();
  EXPECT_EQ(form->ChosenMeasures,
            (std::vector{analysis::Quantity::kPeriod, analysis::Quantity::kPhase}));
  EXPECT_TRUE(form->MesuresBtn->isChecked());
  EXPECT_FALSE(form->MesuresTable->isHidden());
  EXPECT_EQ(form->FenetreCB->currentIndex(), 4);
  EXPECT_EQ(form->EchelleCB->currentIndex(), 1);
  EXPECT_EQ(form->MoyenneSE->value(), 8);
  EXPECT_EQ(form->FmaxCB->currentText(), "20 kHz");
  EXPECT_EQ(form->SpectreGraph->MaxFrequency, 20000);
  EXPECT_EQ(form->SpectreGraph->Scale(), analysis::SpectrumScale::kDbv);
}

TEST(MeasureListTest, ReadsAnyTextIntoAUsableList) {
  using Q = analysis::Quantity;
  struct Case {
    const char* text;
    std::vector<Q> list;
  };
  for (const Case& c :
       {Case{"freq,vpp,rms,mean", {Q::kFrequency, Q::kPeakToPeak, Q::kRms, Q::kMean}},
        Case{"phase,freq", {Q::kPhase, Q::kFrequency}}, Case{"", {}},
        Case{"freq,,bogus,freq,Vpp,duty", {Q::kFrequency, Q::kDutyCycle}}}) {
    EXPECT_EQ(ParseMeasureList(c.text), c.list) << c.text;
  }
  EXPECT_EQ(MeasureListText({Q::kPeriod, Q::kPhase}), "period,phase");
}

} // namespace
} // namespace qvt
