// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: measurement files. "Enregistrer" saves what the graph shows (a sweep, or the
// points recorded in point mode) as a measurement file or a spreadsheet export; "Ouvrir", a
// file dropped on the window or named on the command line shows a saved measurement in place
// of the live data until "Acquisition" is clicked. The live curves are kept aside meanwhile,
// so that neither the settings file nor the next acquisition sees the file's curves.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ansi.h"
#include "channel_controls.h"
#include "globals.h"
#include "hints.h"
#include "graphe_osc.h"
#include "graphe_point.h"
#include "icons.h"
#include "mainform.h"
#include "mainform_texts.h"
#include "measure_csv.h"
#include "measure_file.h"
#include "message_box.h"
#include "oscillo_rules.h"
#include "paintbox.h"
#include "qvt2.h"
#include "radiogroup.h"
#include "timebases.h"

namespace qvt {

using texts::T;

// The oscilloscope graph's settings besides its curves that an opened file replaces.
struct TGraphScalars {
  void Take(const TgrapheOsc& g) {
    TriggerChannel = g.TriggerChannel;
    TriggerLevel = g.TriggerLevel;
    TriggerRising = g.TriggerRising;
    PreTrigger = g.PreTrigger;
    MaxPoints = g.MaxPoints;
    Step = g.Step;
    SampleCount = g.SampleCount;
    FilledCount = g.FilledCount;
    VisibleCount = g.VisibleCount;
  }
  void Give(TgrapheOsc& g) const {
    g.TriggerChannel = TriggerChannel;
    g.TriggerLevel = TriggerLevel;
    g.TriggerRising = TriggerRising;
    g.PreTrigger = PreTrigger;
    g.MaxPoints = MaxPoints;
    g.Step = Step;
    g.SampleCount = SampleCount;
    g.FilledCount = FilledCount;
    g.VisibleCount = VisibleCount;
  }

  std::uint8_t TriggerChannel = TgrapheOsc::kNoTrigger;
  double TriggerLevel = 0;
  bool TriggerRising = true;
  bool PreTrigger = false;
  std::int32_t MaxPoints = 0;
  std::int32_t Step = 1;
  std::int32_t SampleCount = 0;
  std::uint16_t FilledCount = 0;
  std::int32_t VisibleCount = 0;
};

// The other side of the oscilloscope graph: the live curves while a file is shown, the
// file's while the settings are written.
struct TLiveCurves {
  explicit TLiveCurves(const TgrapheOsc& g)
      : Curves(g.Curves.begin(), g.Curves.end()), TimeCurve(g.TimeCurve) {
    Scalars.Take(g);
  }

  std::vector<TCourbeOsc> Curves;
  TCourbe TimeCurve;
  TGraphScalars Scalars;
};

namespace {

constexpr int kMaxRecentFiles = 8;
const QString kRecentKey = QStringLiteral("Fichiers/Recents");
const QString kFolderKey = QStringLiteral("Fichiers/Dossier");

QSettings Store() {
  return QSettings(QStringLiteral("QVT2"));
}

std::string Utf8(const std::string& ansi) {
  return AnsiToQString(ansi).toStdString();
}

std::string Ansi(const std::string& utf8) {
  return AnsiFromQString(QString::fromStdString(utf8));
}

std::string LocalName(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

// The saved channel of a curve, with the range and input of the channel's controls.
TMeasureChannel SavedChannel(const TCourbe& curve, int channel, const TChannelControls& c) {
  TMeasureChannel out;
  out.Channel = channel;
  out.QuantityName = Utf8(curve.QuantityName);
  out.Unit = Utf8(curve.Text);
  out.Meaning = Utf8(curve.Meaning);
  out.Colour = curve.Colour & 0xFFFFFFu;
  out.Range = texts::kRanges[std::clamp(c.Range->currentIndex(), 0, 7)];
  out.Input = c.Input->ItemIndex() == 1 ? TMeasureInput::Yd : TMeasureInput::Bnc;
  return out;
}

// The display range of a saved channel: its input range when the label is one of ours,
// otherwise the values' own span.
void SetRange(TCourbe& curve, const TMeasureChannel& c) {
  for (std::size_t i = 0; i < kRangeVolts.size(); ++i)
    if (c.Range == texts::kRanges[i]) {
      curve.Maxi = kRangeVolts[i];
      curve.Mini = -curve.Maxi;
      curve.ComputeDisplayScale();
      return;
    }
  const auto [lo, hi] = std::minmax_element(c.Values.begin(), c.Values.end());
  curve.Mini = c.Values.empty() ? -1 : *lo;
  curve.Maxi = c.Values.empty() ? 1 : *hi;
  if (curve.Maxi - curve.Mini <= 0) {
    curve.Mini -= 1;
    curve.Maxi += 1;
  }
  curve.ComputeDisplayScale();
}

// The spreadsheet format, chosen after the file: separator, decimal mark and Excel's
// byte-order mark, the locale's habit first.
bool AskCsvFormat(QWidget* parent, TCsvFormat& format) {
  QDialog dialog(parent);
  dialog.setObjectName("CsvDlg");
  dialog.setWindowTitle(T(texts::kCsvTitle));
  auto* form = new QFormLayout(&dialog);
  auto* separator = new QComboBox(&dialog);
  separator->setObjectName("CsvSeparator");
  for (const char* s : texts::kCsvSeparators)
    separator->addItem(T(s));
  auto* decimal = new QComboBox(&dialog);
  decimal->setObjectName("CsvDecimal");
  for (const char* d : texts::kCsvDecimals)
    decimal->addItem(T(d));
  auto* excel = new QCheckBox(T(texts::kCsvExcel), &dialog);
  excel->setObjectName("CsvExcel");
  static constexpr char kSeparators[] = {';', ',', '\t'};
  static constexpr char kDecimals[] = {',', '.'};
  separator->setCurrentIndex(format.Separator == ',' ? 1 : format.Separator == '\t' ? 2 : 0);
  decimal->setCurrentIndex(format.DecimalMark == '.' ? 1 : 0);
  excel->setChecked(format.ByteOrderMark);
  // The separator and the decimal mark never both become the comma.
  QObject::connect(separator, &QComboBox::currentIndexChanged, &dialog, [=](int i) {
    if (i == 1 && decimal->currentIndex() == 0)
      decimal->setCurrentIndex(1);
  });
  QObject::connect(decimal, &QComboBox::currentIndexChanged, &dialog, [=](int i) {
    if (i == 0 && separator->currentIndex() == 1)
      separator->setCurrentIndex(0);
  });
  form->addRow(T(texts::kCsvSeparator), separator);
  form->addRow(T(texts::kCsvDecimal), decimal);
  form->addRow(excel);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted)
    return false;
  format.Separator = kSeparators[std::clamp(separator->currentIndex(), 0, 2)];
  format.DecimalMark = kDecimals[std::clamp(decimal->currentIndex(), 0, 1)];
  format.ByteOrderMark = excel->isChecked();
  return true;
}

// The file an image goes to, from the save dialog in the last folder; empty when cancelled.
QString AskImageName(QWidget* parent, const QString& title, const char* suffix,
                     const QString& filter) {
  QFileDialog dialog(parent, title);
  dialog.setObjectName("ImageDialog");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QString::fromLatin1(suffix));
  dialog.setNameFilter(filter);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setDirectory(Store().value(kFolderKey, QDir::homePath()).toString());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return QString();
  return dialog.selectedFiles().first();
}

} // namespace

void TMainForm::BuildFileButtons() {
  auto make = [this](const char* name, const char* caption, const char* icon, const char* hint) {
    auto* b = new QToolButton(ToolBar1);
    b->setObjectName(name);
    b->setText(T(caption));
    b->setIcon(ToolIcon(icon));
    b->setIconSize(QSize(20, 20));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    SetHint(b, T(hint));
    return b;
  };
  OuvrirBtn = make("OuvrirBtn", texts::kOpen, "open", texts::kOpenHint);
  SauverBtn = make("SauverBtn", texts::kSave, "save", texts::kSaveHint);
  ImageBtn = make("ImageBtn", texts::kImage, "image", texts::kImageHint);
  ImprimerBtn = make("ImprimerBtn", texts::kPrint, "print", texts::kPrintHint);

  // "Ouvrir" opens the dialog; its arrow lists the recent files.
  auto* recent = new QMenu(T(texts::kRecentFiles), OuvrirBtn);
  recent->setObjectName("RecentMenu");
  OuvrirBtn->setMenu(recent);
  OuvrirBtn->setPopupMode(QToolButton::MenuButtonPopup);
  connect(recent, &QMenu::aboutToShow, this, &TMainForm::FillRecentMenu);
  connect(OuvrirBtn, &QToolButton::clicked, this, &TMainForm::OuvrirBtnClick);
  connect(SauverBtn, &QToolButton::clicked, this, &TMainForm::SauverBtnClick);
  connect(ImprimerBtn, &QToolButton::clicked, this, &TMainForm::ImprimerBtnClick);

  auto* image = new QMenu(ImageBtn);
  image->setObjectName("ImageMenu");
  image->addAction(T(texts::kCopyImage), this, &TMainForm::CopyImage);
  image->addAction(T(texts::kExportPng), this, [this] {
    const QString path = AskImageName(this, T(texts::kExportPng), "png", T(texts::kPngFilter));
    if (path.isEmpty())
      return;
    // The window's size by default; another width redraws the graph that wide.
    bool ok = false;
    const int shown = TempsPaintBox->width();
    const int width = QInputDialog::getInt(this, T(texts::kExportPng), T(texts::kPngWidth),
                                           shown, 100, 10000, 10, &ok);
    if (ok)
      ExportPng(path, width == shown ? 0 : width);
  });
  image->addAction(T(texts::kExportSvg), this, [this] {
    const QString path = AskImageName(this, T(texts::kExportSvg), "svg", T(texts::kSvgFilter));
    if (!path.isEmpty())
      ExportSvg(path);
  });
  ImageBtn->setMenu(image);
  ImageBtn->setPopupMode(QToolButton::InstantPopup);

  EnregContinuCB = new QCheckBox(T(texts::kRecordContinuous));
  EnregContinuCB->setObjectName("EnregContinuCB");
  SetHint(EnregContinuCB, T(texts::kRecordHint));
  EnregContinuCB->hide();
  connect(EnregContinuCB, &QCheckBox::clicked, this, &TMainForm::EnregContinuCBClick);
  setAcceptDrops(true);
}

bool TMainForm::FileKeyDown(QObject* watched, QKeyEvent* key) {
  if (key->modifiers() != Qt::ControlModifier)
    return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != this)
    return false;
  // In an edit box the letter is a symbol of the label font; the one-pixel box where the
  // focus rests is not one the user types in.
  if (qobject_cast<QLineEdit*>(widget) != nullptr && widget != Edit1)
    return false;
  // Run once the key's delivery is over: the handlers open modal dialogs.
  switch (key->key()) {
  case Qt::Key_O:
    QTimer::singleShot(0, this, &TMainForm::OuvrirBtnClick);
    return true;
  case Qt::Key_S:
    QTimer::singleShot(0, this, &TMainForm::SauverBtnClick);
    return true;
  case Qt::Key_P:
    QTimer::singleShot(0, this, &TMainForm::ImprimerBtnClick);
    return true;
  default:
    return false;
  }
}

bool TMainForm::CurrentMeasurement(TMeasurement& m, bool header) const {
  if (!ChannelsMeasurement(m, header))
    return false;
  KeepComputed(m);
  return true;
}

bool TMainForm::ChannelsMeasurement(TMeasurement& m, bool header) const {
  if (ShownMeasure && !header) {
    m = *ShownMeasure;
    return true;
  }
  m = TMeasurement();
  m.DateTime = MeasureDateNow();
  if (PointMode) {
    const int n = PointGraph->PointCount;
    if (n == 0 && !header)
      return false;
    m.Mode = TMeasureMode::Point;
    m.Abscissa = PointGraph->Abscissa;
    for (int k = 0; k < n; ++k)
      m.Time.push_back(k + 1);
    for (int i = 0; i < 4; ++i) {
      const TCourbePoint& curve = PointGraph->Curves[i];
      if (!curve.Visible)
        continue;
      m.Channels.push_back(SavedChannel(curve, i, Channels[i]));
      m.Channels.back().Values.assign(curve.Value.data(), curve.Value.data() + n);
    }
    return true;
  }
  const int n = header ? 0 : OscGraph->FilledCount;
  if (n == 0 && !header)
    return false;
  m.Mode = TMeasureMode::Oscilloscope;
  m.TimeBase = AnsiToQString(TimeBases()[Device->TimeBaseIndex()].Label).toStdString();
  m.SampleRate = Device->SampleRate();
  if (OscGraph->TriggerChannel != TgrapheOsc::kNoTrigger)
    m.TriggerSource = OscGraph->TriggerChannel;
  m.TriggerEdge = OscGraph->TriggerRising ? TMeasureEdge::Rising : TMeasureEdge::Falling;
  m.TriggerLevel = OscGraph->TriggerLevel;
  m.PreTrigger = OscGraph->PreTrigger;
  m.Time.assign(OscGraph->TimeCurve.Value.data(), OscGraph->TimeCurve.Value.data() + n);
  for (int i = 0; i < 4; ++i) {
    const TCourbeOsc& curve = OscGraph->Curves[i];
    if (!curve.Visible)
      continue;
    m.Channels.push_back(SavedChannel(curve, i, Channels[i]));
    m.Channels.back().Values.assign(curve.Value.data(), curve.Value.data() + n);
    // A recording's header comes before its samples, and cannot tell.
    m.Channels.back().ClippedLow = !header && curve.ClippedLow;
    m.Channels.back().ClippedHigh = !header && curve.ClippedHigh;
  }
  return true;
}

bool TMainForm::SaveMeasureFile(const QString& path, const TCsvFormat* csv) {
  TMeasurement m;
  if (!CurrentMeasurement(m)) {
    ShowMessage(TMessageKind::Information, T(texts::kNothingToSave));
    return false;
  }
  KeepModel(m);
  std::string error;
  const bool written = csv != nullptr ? WriteMeasureCsv(LocalName(path), m, *csv, error)
                                      : (CheckMeasurement(m, error) &&
                                         WriteMeasureFile(LocalName(path), m, error));
  if (!written) {
    // The check's messages do not name the file: the box always does.
    QString text = QString::fromStdString(error);
    if (!text.contains(QFileInfo(path).fileName()))
      text = QCoreApplication::translate("Files", "%1 : %2", "message, file").arg(text, path);
    ShowMessage(TMessageKind::Error, text);
    return false;
  }
  if (csv != nullptr)
    RememberFolder(path); // a CSV file does not open again: it stays out of the recent files
  else
    RememberFile(path);
  return true;
}

void TMainForm::SauverBtnClick() {
  if (Closing)
    return;
  // The sweep on the screen is the one saved: a continuous acquisition pauses meanwhile.
  const bool live = ShownFile.isEmpty();
  const bool resume = live && !PointMode && !StopBtn->isHidden() && ContinuousTrigger();
  if (live && PointMode)
    TimerPoint->stop();
  else if (live && !StopBtn->isHidden())
    StopBtnClick();
  TMeasurement probe;
  if (!CurrentMeasurement(probe)) {
    ShowMessage(TMessageKind::Information, T(texts::kNothingToSave));
  } else {
    QFileDialog dialog(this, T(texts::kSave));
    dialog.setObjectName("SauverDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters({T(texts::kMeasureFilter), T(texts::kCsvFilter)});
    dialog.setDefaultSuffix(QStringLiteral("qvtm"));
    dialog.setDirectory(Store().value(kFolderKey, QDir::homePath()).toString());
    // The filters are told apart by their place in the list, not by their captions.
    const auto isCsv = [&dialog](const QString& filter) {
      return dialog.nameFilters().indexOf(filter) == 1;
    };
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, isCsv](const QString& f) {
      dialog.setDefaultSuffix(isCsv(f) ? QStringLiteral("csv") : QStringLiteral("qvtm"));
    });
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
      const QString chosen = dialog.selectedFiles().first();
      const bool asCsv = isCsv(dialog.selectedNameFilter()) ||
                         chosen.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
      if (asCsv) {
        TCsvFormat format = CsvFormatForLocale(QLocale::system().name().toStdString());
        if (AskCsvFormat(this, format))
          SaveMeasureFile(chosen, &format);
      } else {
        SaveMeasureFile(chosen);
      }
    }
  }
  if (live && PointMode && !Closing)
    TimerPoint->start();
  else if (resume && !Closing)
    EnregistreBtnClick();
}

bool TMainForm::OpenMeasureFile(const QString& path) {
  TMeasurement m;
  std::string error;
  if (!ReadMeasureFile(LocalName(path), m, error)) {
    ShowMessage(TMessageKind::Error, QString::fromStdString(error));
    return false;
  }
  const std::size_t rows = m.Time.size();
  if (rows > TSamples::kCount) {
    ShowMessage(TMessageKind::Error,
                T(texts::kTooManyRows).arg(rows).arg(TSamples::kCount).arg(path));
    return false;
  }
  std::array<bool, 4> taken{};
  for (const TMeasureChannel& c : m.Channels) {
    if (c.Channel < 0 || c.Channel > 3 || taken[c.Channel]) {
      ShowMessage(TMessageKind::Error, T(texts::kDuplicateChannel).arg(c.Channel).arg(path));
      return false;
    }
    taken[c.Channel] = true;
  }

  // The file is good: the acquisition stops and the live curves go aside.
  if (PointMode) {
    TimerPoint->stop();
    EraseMarks();
  } else if (!StopBtn->isHidden()) {
    StopBtnClick();
  }
  if (!LiveCurves)
    LiveCurves = std::make_shared<TLiveCurves>(*OscGraph);
  EnregistreBtn->show();
  HideReadout();

  for (TCourbeOsc& curve : OscGraph->Curves)
    curve.Visible = false;
  OscGraph->VisibleCount = 0;
  for (const TMeasureChannel& c : m.Channels) {
    TCourbeOsc& curve = OscGraph->Curves[c.Channel];
    curve.SetText(Ansi(c.Unit));
    curve.QuantityName = Ansi(c.QuantityName);
    curve.Meaning = Ansi(c.Meaning).substr(0, 255);
    curve.Colour = c.Colour;
    curve.Visible = true;
    curve.ClippedLow = c.ClippedLow;
    curve.ClippedHigh = c.ClippedHigh;
    std::copy(c.Values.begin(), c.Values.end(), curve.Value.data());
    SetRange(curve, c);
    ++OscGraph->VisibleCount;
  }
  TCourbe& time = OscGraph->TimeCurve;
  const bool points = m.Mode == TMeasureMode::Point;
  time.SetText(points ? "" : "s");
  time.QuantityName = points ? "n" : "t";
  std::copy(m.Time.begin(), m.Time.end(), time.Value.data());
  time.Mini = rows > 0 ? m.Time.front() : 0;
  time.Maxi = rows > 1 ? m.Time.back() : time.Mini + 1;
  if (time.Maxi <= time.Mini)
    time.Maxi = time.Mini + 1;
  OscGraph->SetSampleCount(static_cast<std::int32_t>(std::max<std::size_t>(rows, 1)));
  OscGraph->SetMaxPoints(static_cast<std::int32_t>(std::max<std::size_t>(rows, 1)));
  OscGraph->FilledCount = static_cast<std::uint16_t>(rows);
  const bool triggered = !points && m.TriggerSource >= 0 && taken[m.TriggerSource];
  OscGraph->TriggerChannel =
      triggered ? static_cast<std::uint8_t>(m.TriggerSource) : TgrapheOsc::kNoTrigger;
  OscGraph->TriggerLevel = m.TriggerLevel;
  OscGraph->TriggerRising = m.TriggerEdge == TMeasureEdge::Rising;
  OscGraph->PreTrigger = m.PreTrigger;

  // Points of two channels or more go to a point graph of their own, against the channel the
  // file names (the user's point graph stays as it was); a single channel against its number.
  ShownPoints.reset();
  if (points && m.Channels.size() >= 2) {
    ShownPoints = std::make_shared<TgraphePoint>(&TempsPaintBox->Canvas(), TempsPaintBox);
    TgraphePoint& graph = *ShownPoints;
    for (const TMeasureChannel& c : m.Channels) {
      TCourbePoint& curve = graph.Curves[c.Channel];
      const TCourbeOsc& shown = OscGraph->Curves[c.Channel];
      static_cast<TCourbe&>(curve) = static_cast<const TCourbe&>(shown);
      curve.MarkerStyle = PointGraph->Curves[c.Channel].MarkerStyle;
      ++graph.VisibleCount;
    }
    graph.Abscissa = static_cast<std::uint8_t>(
        m.Abscissa >= 0 && taken[m.Abscissa] ? m.Abscissa : m.Channels.front().Channel);
    graph.PointCount = static_cast<std::uint16_t>(rows);
  }

  ShownMeasure = std::make_shared<TMeasurement>(std::move(m));
  ShownFile = QFileInfo(path).absoluteFilePath();
  ShowFileComputed();
  setWindowTitle(T(texts::kFileCaption).arg(QFileInfo(path).fileName()));
  SetStatusText(QString());
  RememberFile(ShownFile);
  // The measurements and the spectrum, when shown, are those of the opened sweep.
  ShowFileModel();
  ComputeQuantities();
  AnalyseSweep();
  FeedModelPanel();
  TempsPaintBox->Invalidate();
  DescribeGraph();
  return true;
}

bool TMainForm::ShowsPointFile() const {
  return ShownMeasure && ShownMeasure->Mode == TMeasureMode::Point;
}

TgraphePoint* TMainForm::ShownPointGraph() const {
  if (!ShownFile.isEmpty())
    return ShownPoints.get();
  return PointMode ? PointGraph : nullptr;
}

void TMainForm::SwapShownCurves() {
  if (!LiveCurves)
    return;
  for (int i = 0; i < 4; ++i)
    std::swap(LiveCurves->Curves[i], OscGraph->Curves[i]);
  std::swap(LiveCurves->TimeCurve, OscGraph->TimeCurve);
  TGraphScalars shown;
  shown.Take(*OscGraph);
  LiveCurves->Scalars.Give(*OscGraph);
  LiveCurves->Scalars = shown;
}

void TMainForm::LeaveShownFile() {
  if (ShownFile.isEmpty())
    return;
  SwapShownCurves();
  LiveCurves.reset();
  ShownPoints.reset();
  ShownMeasure.reset();
  ShownFile.clear();
  LeaveFileComputed();
  setWindowTitle(T(texts::kIdleCaption));
  HideReadout();
}

void TMainForm::OuvrirBtnClick() {
  if (Closing)
    return;
  QFileDialog dialog(this, T(texts::kOpen));
  dialog.setObjectName("OuvrirDialog");
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  // Only measurement files open again; the CSV export is for spreadsheets.
  dialog.setNameFilters({T(texts::kMeasureFilter)});
  dialog.setDirectory(Store().value(kFolderKey, QDir::homePath()).toString());
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    OpenMeasureFile(dialog.selectedFiles().first());
}

void TMainForm::RememberFolder(const QString& path) {
  Store().setValue(kFolderKey, QFileInfo(path).absolutePath());
}

void TMainForm::RememberFile(const QString& path) {
  QSettings store = Store();
  const QString absolute = QFileInfo(path).absoluteFilePath();
  QStringList recent = store.value(kRecentKey).toStringList();
  recent.removeAll(absolute);
  recent.prepend(absolute);
  while (recent.size() > kMaxRecentFiles)
    recent.removeLast();
  store.setValue(kRecentKey, recent);
  store.setValue(kFolderKey, QFileInfo(path).absolutePath());
}

void TMainForm::FillRecentMenu() {
  QMenu* menu = OuvrirBtn->menu();
  menu->clear();
  for (const QString& file : Store().value(kRecentKey).toStringList())
    menu->addAction(QFileInfo(file).fileName(), this, [this, file] {
      OpenMeasureFile(file);
    })->setToolTip(file);
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() == 1 && urls.first().isLocalFile())
    event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() != 1 || !urls.first().isLocalFile())
    return;
  event->acceptProposedAction();
  // Opened once the drop is over: a refused file shows a modal box.
  const QString file = urls.first().toLocalFile();
  QTimer::singleShot(0, this, [this, file] { OpenMeasureFile(file); });
}

} // namespace qvt
