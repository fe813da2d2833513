// SPDX-License-Identifier: GPL-3.0-or-later
// Measurement files from the main window: a saved sweep opened again, saved points opened by
// dropping them and from the recent files, a refused file, the spreadsheet export read by
// Python, the image (clipboard, PNG, SVG, PDF), and the continuous
// recording of the real program killed with SIGKILL.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QToolButton>
#include <QFileDialog>
#include <QTableWidget>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <csignal>
#include <cstring>
#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

#include "config_file.h"
#include "graphe_point.h"
#include "mainform_fixture.h"
#include "measure_csv.h"
#include "measure_file.h"
#include "message_box.h"

namespace qvt {
namespace {

class FilesTest : public MainFormFileTest {
protected:
  void SetUp() override {
    MainFormFileTest::SetUp();
    SetMessageHook([this](TMessageKind, const QString& text) { boxes.push_back(text); });
  }
  void TearDown() override {
    SetMessageHook({});
    MainFormFileTest::TearDown();
  }
  // A finished sweep of channels 0 and 2 at 1 ms, the acquisition idle.
  void Sweep() {
    Activate(2);
    TimeBase(k1ms);
    ASSERT_TRUE(WaitFor([&] { return Idle() && OscGraph->FilledCount == 1700; }));
  }
  static std::vector<double> Values(const TCourbe& curve, int n) {
    return {curve.Value.data(), curve.Value.data() + n};
  }

  std::vector<QString> boxes;
};

TEST_F(FilesTest, SavedSweepOpensAgainAsItWasAndAcquisitionComesBack) {
  Start();
  Sweep();
  const int n = OscGraph->FilledCount;
  const std::vector<double> time = Values(OscGraph->TimeCurve, n);
  const std::vector<double> v2 = Values(OscGraph->Curves[2], n);
  const TColour colour = OscGraph->Curves[2].Colour;
  const QString path = dir.filePath("balayage.qvtm");
  WhenShown<QFileDialog>([path](QFileDialog* d) {
    d->selectNameFilter(QString::fromUtf8("Mesure qvt2 (*.qvtm)"));
    d->selectFile(path);
    QMetaObject::invokeMethod(d, "accept");
  });
  form->SauverBtnClick();
  ASSERT_TRUE(boxes.empty()) << boxes.front().toStdString();

  TMeasurement saved;
  std::string error;
  ASSERT_TRUE(ReadMeasureFile(path.toStdString(), saved, error)) << error;
  EXPECT_EQ(saved.Mode, TMeasureMode::Oscilloscope);
  EXPECT_EQ(saved.TimeBase, "1 ms");
  EXPECT_GT(saved.SampleRate, 0);
  ASSERT_EQ(saved.Channels.size(), 2u);
  EXPECT_EQ(saved.Channels[1].Channel, 2);
  EXPECT_EQ(saved.Channels[1].Unit, "V");
  EXPECT_EQ(saved.Channels[1].Colour, colour);
  EXPECT_FALSE(saved.Channels[1].Range.empty());

  // The live data changes; the settings file as the user left it.
  form->SaveSettings();
  const std::string settings = ReadFile();
  form->EnregistreBtnClick();
  ASSERT_TRUE(NextSweep());
  ASSERT_TRUE(WaitFor([&] { return Idle(); }));

  ASSERT_TRUE(form->OpenMeasureFile(path));
  EXPECT_TRUE(Idle()) << "the acquisition stops";
  EXPECT_TRUE(form->windowTitle().contains("balayage.qvtm"));
  ASSERT_EQ(OscGraph->FilledCount, n);
  // Bit for bit: every sample and every time.
  EXPECT_EQ(0, std::memcmp(OscGraph->TimeCurve.Value.data(), time.data(), n * sizeof(double)));
  EXPECT_EQ(0, std::memcmp(OscGraph->Curves[2].Value.data(), v2.data(), n * sizeof(double)));
  EXPECT_TRUE(OscGraph->Curves[0].Visible && OscGraph->Curves[2].Visible);
  EXPECT_FALSE(OscGraph->Curves[1].Visible);
  EXPECT_EQ(OscGraph->Curves[2].QuantityName, "V2");
  EXPECT_EQ(OscGraph->Curves[2].Text, "V");
  EXPECT_EQ(OscGraph->Curves[2].Colour, colour);
  // The cursor readout reads the file's samples.
  form->TempsPaintBox->Repaint();
  int x = OscGraph->TimeCurve.ToPixel(time[n / 2]);
  int y = OscGraph->Curves[2].ToPixel(v2[n / 2]);
  form->ShowReadout(x, y);
  EXPECT_TRUE(form->LabelY->isVisible());
  form->SaveSettings();
  EXPECT_EQ(ReadFile(), settings) << "the file's settings are not the user's";
  // The measurements work on the opened sweep.
  form->MesuresBtn->click();
  ASSERT_EQ(form->MesuresTable->rowCount(), 2);
  EXPECT_NE(form->MesuresTable->item(1, 1)->text(), QString::fromUtf8("\u2014"));
  form->MesuresBtn->click();

  form->EnregistreBtnClick();
  EXPECT_TRUE(Running()) << "Acquisition goes back to live data";
  EXPECT_FALSE(form->windowTitle().contains("balayage.qvtm"));
  ASSERT_TRUE(NextSweep());
}

// Points saved in point mode come back in a point graph of their own, against the channel
// that was on the horizontal axis, whether the file is dropped on the window or taken from the
// recent files, and from the oscilloscope too.
TEST_F(FilesTest, SavedPointsOpenInThePointGraphByDropOrFromTheRecentFiles) {
  Start();
  form->PointAutoCB->setChecked(false);
  form->PointMode = true;
  PointGraph->Abscissa = 1;
  form->Reconfigure();
  ASSERT_EQ(PointGraph->Abscissa, 1);
  for (int k = 0; k < 4; ++k) {
    QTest::qWait(150);
    form->EnregistreBtn->click();
  }
  ASSERT_EQ(PointGraph->PointCount, 4);
  const std::vector<double> v0 = Values(PointGraph->Curves[0], 4);
  const std::vector<double> v1 = Values(PointGraph->Curves[1], 4);
  const QString path = dir.filePath("points.qvtm");
  ASSERT_TRUE(form->SaveMeasureFile(path));
  form->PointMode = false;
  form->Reconfigure();

  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(path)});
  QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(form.get(), &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(form.get(), &drop);
  ASSERT_TRUE(WaitFor([&] { return !form->ShownFile.isEmpty(); }));
  TgraphePoint* shown = form->ShownPointGraph();
  ASSERT_NE(shown, nullptr);
  ASSERT_NE(shown, PointGraph);
  EXPECT_EQ(shown->Abscissa, 1);
  ASSERT_EQ(shown->PointCount, 4);
  EXPECT_EQ(Values(shown->Curves[0], 4), v0);
  EXPECT_EQ(Values(shown->Curves[1], 4), v1);

  // Channel 0's marks are drawn where its values fall against channel 1's, and the readout
  // reads the mark near the mouse.
  form->TempsPaintBox->Repaint();
  const QImage image = form->TempsPaintBox->grab().toImage();
  const double ratio = image.devicePixelRatio();
  const int x = shown->Curves[1].ToPixel(v1[2]);
  const int y = shown->Curves[0].ToPixel(v0[2]);
  EXPECT_EQ(image.pixelColor(int(x * ratio), int(y * ratio)), ToQColor(shown->Curves[0].Colour));
  form->ShowReadout(x + 2, y + 1);
  ASSERT_TRUE(form->LabelX->isVisible());
  EXPECT_TRUE(form->LabelX->text().startsWith("V1")) << form->LabelX->text().toStdString();
  EXPECT_TRUE(form->LabelY->text().startsWith("V0")) << form->LabelY->text().toStdString();
  form->MesuresBtn->click();
  EXPECT_EQ(form->MesuresTable->rowCount(), 0) << "no sweep measurements beside points";
  form->MesuresBtn->click();

  form->EnregistreBtnClick();
  EXPECT_EQ(form->ShownPointGraph(), nullptr);
  EXPECT_TRUE(Running());
  // An image exported since is not a measurement: it stays out of the list.
  ASSERT_TRUE(form->ExportPng(dir.filePath("graphe.png")));
  QMenu* menu = form->OuvrirBtn->menu();
  emit menu->aboutToShow();
  const QList<QAction*> recent = menu->actions();
  ASSERT_FALSE(recent.isEmpty());
  EXPECT_EQ(recent.first()->text(), "points.qvtm");
  recent.first()->trigger();
  EXPECT_EQ(form->ShownFile, QFileInfo(path).absoluteFilePath());
  EXPECT_NE(form->ShownPointGraph(), nullptr);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(FilesTest, RefusedFileLeavesTheScreenAsItWasWithABox) {
  Start();
  Sweep();
  const std::vector<double> before = Values(OscGraph->Curves[2], OscGraph->FilledCount);
  const QString title = form->windowTitle();
  struct Case {
    const char* name;
    const char* text;
  };
  const Case cases[] = {
      {"tableur.csv", "a,b\n1,2\n"},
      {"tronque.qvtm", "t (s),V0 (V)\n# format: qvtm 1\n# rows: 3\n0,1\n"},
      {"futur.qvtm", "t (s),V0 (V)\n# format: qvtm 9\n0,1\n"},
      {"texte.qvtm", "t (s),V0 (V)\n# format: qvtm 1\n0,abc\n"},
  };
  for (const Case& c : cases) {
    const QString path = dir.filePath(c.name);
    std::ofstream(path.toStdString(), std::ios::binary) << c.text;
    boxes.clear();
    EXPECT_FALSE(form->OpenMeasureFile(path)) << c.name;
    ASSERT_EQ(boxes.size(), 1u) << c.name;
    EXPECT_TRUE(boxes[0].contains(c.name)) << boxes[0].toStdString();
    EXPECT_EQ(form->windowTitle(), title);
    EXPECT_TRUE(Idle());
    EXPECT_EQ(Values(OscGraph->Curves[2], OscGraph->FilledCount), before) << c.name;
  }
}

TEST_F(FilesTest, FrenchCsvIsReadByPythonsCsvModule) {
  Start();
  Sweep();
  const QString path = dir.filePath("tableur.csv");
  const TCsvFormat french{';', ',', false};
  ASSERT_TRUE(form->SaveMeasureFile(path, &french));
  const std::string script =
      "import csv, sys\n"
      "rows = list(csv.reader(open(sys.argv[1], newline='', encoding='utf-8'), delimiter=';'))\n"
      "print(len(rows) - 1, len(rows[0]), repr(float(rows[900][2].replace(',', '.'))))\n";
  QProcess python;
  python.start("/usr/bin/python3", {"-c", QString::fromStdString(script), path});
  ASSERT_TRUE(python.waitForFinished(20000));
  const QStringList out = QString::fromUtf8(python.readAllStandardOutput()).split(' ');
  ASSERT_EQ(out.size(), 3) << python.readAllStandardError().toStdString();
  EXPECT_EQ(out[0].toInt(), 1700);
  EXPECT_EQ(out[1].toInt(), 3);
  EXPECT_EQ(out[2].trimmed().toDouble(), OscGraph->Curves[2].Value[899]);
}

TEST_F(FilesTest, ImageSvgAndPdfExportsHoldTheGraph) {
  Start();
  Sweep();
  form->TempsPaintBox->Repaint();
  const QString png = dir.filePath("graphe.png");
  ASSERT_TRUE(form->ExportPng(png));
  QImage screen(png);
  EXPECT_EQ(screen.size(), form->TempsPaintBox->size() * form->devicePixelRatio());
  form->CopyImage();
  EXPECT_EQ(QApplication::clipboard()->image().size(), screen.size());
  ASSERT_TRUE(form->ExportPng(png, 1600));
  EXPECT_EQ(QImage(png).width(), 1600);

  const QString svg = dir.filePath("graphe.svg");
  ASSERT_TRUE(form->ExportSvg(svg));
  QSvgRenderer renderer(svg);
  ASSERT_TRUE(renderer.isValid());
  QImage drawn(form->TempsPaintBox->size(), QImage::Format_RGB32);
  drawn.fill(Qt::white);
  QPainter painter(&drawn);
  renderer.render(&painter);
  painter.end();
  // Channel 2's trace, magenta, is there as drawn lines (smoothed by the renderer: pixels
  // where red and blue stand above green; the axes are blue or black).
  ASSERT_EQ(OscGraph->Curves[2].Colour, 0xFF00FFu);
  int traced = 0;
  for (int y = 0; y < drawn.height(); ++y)
    for (int x = 0; x < drawn.width(); ++x) {
      const QColor c = drawn.pixelColor(x, y);
      traced += c.red() > c.green() + 60 && c.blue() > c.green() + 60;
    }
  EXPECT_GT(traced, 100);
  QFile text(svg);
  ASSERT_TRUE(text.open(QIODevice::ReadOnly));
  EXPECT_TRUE(text.readAll().contains("<text")) << "texts stay texts";

  const QString pdf = dir.filePath("graphe.pdf");
  ASSERT_TRUE(form->ExportPdf(pdf));
  QFile printed(pdf);
  ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
  EXPECT_TRUE(printed.read(5) == "%PDF-");
  EXPECT_GT(printed.size(), 1000);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(FilesTest, CtrlSSavesExceptInAnEditBoxWhereItTypesASymbol) {
  Start();
  Sweep();
  int dialogs = 0;
  auto countDialog = [&] {
    WhenShown<QFileDialog>([&](QFileDialog* d) {
      ++dialogs;
      QMetaObject::invokeMethod(d, "reject");
    });
  };
  form->Edit1->setFocus();
  QTest::keyClick(form->Edit1, Qt::Key_S, Qt::ControlModifier);
  countDialog(); // queued after the key's save, which opens the dialog
  EXPECT_TRUE(WaitFor([&] { return dialogs == 1; }, 2000)) << "Ctrl+S where the focus rests";

  Trigger(1); // the threshold box shows
  form->SeuilEdit->setFocus();
  form->SeuilEdit->clear();
  QTest::keyClick(form->SeuilEdit, Qt::Key_S, Qt::ControlModifier);
  countDialog();
  QTest::qWait(100);
  EXPECT_EQ(dialogs, 1);
  EXPECT_FALSE(form->SeuilEdit->text().isEmpty()) << "the symbol key typed in the box";
  EXPECT_TRUE(boxes.empty());
}

TEST_F(FilesTest, SlowSweepIsRecordedSampleBySampleAsItArrives) {
  Start();
  form->TempsPaintBox->Repaint();
  EXPECT_FALSE(form->EnregContinuCB->isVisibleTo(form.get())) << "not offered for fast sweeps";
  TimeBase(k20s);
  ASSERT_TRUE(form->EnregContinuCB->isVisibleTo(form.get()));
  const QString path = dir.filePath("lent.qvtm");
  ASSERT_TRUE(form->StartRecording(path));
  EXPECT_TRUE(form->EnregContinuCB->isChecked());
  if (Idle())
    form->EnregistreBtnClick();
  // The virtual interface may deliver the whole sweep within one pass: the file holds it once
  // the sweep is in, written as the samples came.
  const std::string file = path.toStdString();
  ASSERT_TRUE(WaitFor([&] { return Idle(); }, 30000));
  TMeasurement m;
  std::string error;
  ASSERT_TRUE(ReadMeasureFile(file, m, error)) << error;
  EXPECT_EQ(m.TimeBase, "20 s");
  ASSERT_GE(m.Time.size(), 2500u);
  EXPECT_TRUE(std::is_sorted(m.Time.begin(), m.Time.end()));
  // Back to a fast time base: the recording ends, what was written stays.
  TimeBase(k1ms);
  EXPECT_FALSE(form->Recording());
  ASSERT_TRUE(ReadMeasureFile(file, m, error)) << error;
}

// The real program in point mode, recording every point, killed without warning: the file
// reads back and holds the points written before the kill.
TEST(ContinuousRecording, SurvivesSigkill) {
  QTemporaryDir dir;
  const QString file = dir.filePath("nuit.qvtm");
  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QVT2_CONFIG", dir.filePath("reglages.qvt2"));
  env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
  program.setProcessEnvironment(env);
  program.start(qEnvironmentVariable("QVT2_OSCILLO"), {"--simulate", "--record-points", file});
  ASSERT_TRUE(program.waitForStarted());
  // The points come every 110 ms once the window is up.
  QProcess::execute("sleep", {"4"});
  ::kill(static_cast<pid_t>(program.processId()), SIGKILL);
  ASSERT_TRUE(program.waitForFinished());
  EXPECT_EQ(program.exitStatus(), QProcess::CrashExit);

  TMeasurement m;
  std::string error;
  ASSERT_TRUE(ReadMeasureFile(file.toStdString(), m, error)) << error;
  EXPECT_EQ(m.Mode, TMeasureMode::Point);
  EXPECT_GE(m.Channels.size(), 2u);
  EXPECT_GE(m.Time.size(), 5u) << "points recorded before the kill";
  for (std::size_t k = 0; k < m.Time.size(); ++k)
    EXPECT_EQ(m.Time[k], double(k + 1));
}

} // namespace
} // namespace qvt
