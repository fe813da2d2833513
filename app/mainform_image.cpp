// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: the graph as an image and on paper. The screen's picture (with the cursor
// readout over it) is copied or saved as PNG as it stands; SVG, a PNG of another width and
// the printed page are drawn anew by the same graph code on another paint device, so that
// SVG and PDF keep lines as lines and texts as texts.
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QPainter>
#include <QPicture>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <cstdio>

#include "ansi.h"
#include "canvas.h"
#include "globals.h"
#include "graphe_osc.h"
#include "graphe_point.h"
#include "labelededit.h"
#include "mainform.h"
#include "mainform_texts.h"
#include "measure_file.h"
#include "message_box.h"
#include "paintbox.h"

namespace qvt {

using texts::T;

namespace {

// Lines of the caption over the printed graph, as a share of the page's height.
constexpr double kCaptionShare = 0.04;

void CannotExport(const QString& path, const QString& reason) {
  QString text = T(texts::kCannotExport).arg(path);
  if (!reason.isEmpty())
    text += QStringLiteral(" (") + reason + QLatin1Char(')');
  ShowMessage(TMessageKind::Error, text);
}

} // namespace

void TMainForm::DrawGraphOn(QPaintDevice* device) {
  TgraphePoint* points = ShownPointGraph();
  TGrapheBase* graph = points != nullptr ? static_cast<TGrapheBase*>(points) : OscGraph;
  TCanvas canvas;
  canvas.SetDevice(device);
  TCanvas* screen = graph->Canvas;
  graph->Canvas = &canvas;
  if (points != nullptr)
    points->Paint();
  else
    OscGraph->Paint();
  PaintModel(canvas);
  // The readout as the user sees it, at the same place relative to the graph.
  if (LabelX->isVisible() && TempsPaintBox->width() > 0) {
    const double scale = double(canvas.Width()) / TempsPaintBox->width();
    canvas.SetFontColour(LabelX->palette().color(LabelX->foregroundRole()));
    for (QLabel* label : {LabelX, LabelY}) {
      const QPoint at = label->geometry().topLeft() - TempsPaintBox->geometry().topLeft();
      canvas.TextOut(int(at.x() * scale), int(at.y() * scale), AnsiFromQString(label->text()));
    }
  }
  canvas.End();
  // The cursors read the layout of the last picture drawn: the screen's is drawn again (the
  // readout labels stay, unlike a full repaint of the paint box).
  graph->Canvas = screen;
  if (points != nullptr)
    points->Paint();
  else
    OscGraph->Paint();
  screen->End();
  TempsPaintBox->Flush();
}

void TMainForm::CopyImage() {
  QApplication::clipboard()->setPixmap(PanelCourbe->grab(TempsPaintBox->geometry()));
}

bool TMainForm::ExportPng(const QString& path, int width) {
  QImage image;
  if (width <= 0) {
    // The screen's picture at the screen's pixel ratio: sharp on a HiDPI display.
    image = PanelCourbe->grab(TempsPaintBox->geometry()).toImage();
  } else {
    const int height = std::max(1, width * TempsPaintBox->height() / std::max(1, TempsPaintBox->width()));
    image = QImage(width, height, QImage::Format_RGB32);
    image.fill(SystemWindowColour());
    DrawGraphOn(&image);
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
    CannotExport(path, file.errorString());
    return false;
  }
  RememberFolder(path); // an image is not a measurement: not among the recent files
  return true;
}

bool TMainForm::ExportSvg(const QString& path) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    CannotExport(path, file.errorString());
    return false;
  }
  QSvgGenerator svg;
  svg.setOutputDevice(&file);
  svg.setSize(TempsPaintBox->size());
  svg.setViewBox(QRect(QPoint(0, 0), TempsPaintBox->size()));
  svg.setTitle(windowTitle());
  DrawGraphOn(&svg);
  if (!file.commit()) {
    CannotExport(path, file.errorString());
    return false;
  }
  RememberFolder(path); // an image is not a measurement: not among the recent files
  return true;
}

namespace {

// The caption line of the printed page: date, time base (or point mode), comment.
QString PrintCaption(const TMainForm& form, const TMeasurement* shown) {
  const QString date = shown != nullptr && !shown->DateTime.empty()
                           ? QString::fromStdString(shown->DateTime).left(16).replace('T', ' ')
                           : QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
  const bool points = shown != nullptr ? shown->Mode == TMeasureMode::Point : form.PointMode;
  const QString base = shown != nullptr ? QString::fromStdString(shown->TimeBase)
                                        : form.DureeEdit->Text().trimmed();
  QString caption = points ? T(texts::kPrintPointCaption).arg(date)
                           : T(texts::kPrintCaption).arg(date, base);
  if (shown != nullptr && !shown->Comment.empty())
    caption = QCoreApplication::translate("Image", "%1 ; %2", "printed caption, then more of it")
                  .arg(caption, QString::fromStdString(shown->Comment).simplified());
  if (!form.ShownFile.isEmpty())
    caption = QCoreApplication::translate("Image", "%1 ; %2", "printed caption, then more of it")
                  .arg(caption, QFileInfo(form.ShownFile).fileName());
  return caption;
}

} // namespace

// The page: landscape, the caption line at the top, the graph under it scaled to the rest of
// the page. The graph is first recorded as a picture at the screen's height, so that its
// labels keep their size relative to the traces.
static void PrintOn(TMainForm& form, QPrinter& printer, const TMeasurement* shown) {
  printer.setPageOrientation(QPageLayout::Landscape);
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  const int captionHeight = int(page.height() * kCaptionShare);
  // The screen's height, and the width that gives the graph the proportions of the page
  // under the caption: the graph fills the page, its labels sized as on the screen.
  const int height = std::max(1, form.TempsPaintBox->height());
  const double aspect = double(page.width()) / std::max(1, page.height() - captionHeight);
  const QSize size(std::max(1, int(height * aspect)), height);
  QPicture picture;
  picture.setBoundingRect(QRect(QPoint(0, 0), size));
  form.DrawGraphOn(&picture);

  QPainter painter(&printer);
  QFont font = painter.font();
  font.setPixelSize(std::max(1, captionHeight * 2 / 3));
  painter.setFont(font);
  painter.drawText(QRect(0, 0, page.width(), captionHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   PrintCaption(form, shown));
  const double scale = std::min(double(page.width()) / size.width(),
                                double(page.height() - captionHeight) / size.height());
  painter.translate(0, captionHeight);
  // A picture replayed on a device of another resolution is scaled by Qt to keep its size in
  // inches: that scaling is taken out, the page's own is given.
  const double replay = double(printer.logicalDpiX()) / picture.logicalDpiX();
  painter.scale(scale / replay, scale / replay);
  painter.drawPicture(0, 0, picture);
  painter.end();
}

bool TMainForm::ExportPdf(const QString& path) {
  // Written beside the chosen name, then renamed: no half-written PDF under that name.
  const QString part = path + QStringLiteral(".part");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(part);
  printer.setDocName(windowTitle());
  PrintOn(*this, printer, ShownMeasure.get());
  // rename(2) puts the new file in place of an older one of that name in one step.
  if (!QFileInfo(part).isFile() || QFileInfo(part).size() == 0 ||
      std::rename(QFile::encodeName(part).constData(), QFile::encodeName(path).constData()) != 0) {
    QFile::remove(part);
    CannotExport(path, QString());
    return false;
  }
  return true;
}

void TMainForm::ImprimerBtnClick() {
  if (Closing)
    return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setDocName(windowTitle());
  QPrintDialog dialog(&printer, this);
  dialog.setObjectName("PrintDialog");
  if (dialog.exec() == QDialog::Accepted)
    PrintOn(*this, printer, ShownMeasure.get());
}

} // namespace qvt
