// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: the "Mesures" panel. A table under the graph, one row per active channel and
// then per visible computed quantity, each in its colour and its unit, and one column per
// chosen measurement, refreshed after each complete sweep; the quantities are chosen from a
// menu (the button's and the table's context menu) and the table is copied as tab-separated
// text with Ctrl+C or from the context menu.
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <string>

#include "ansi.h"
#include "globals.h"
#include "graphe_frequences.h"
#include "graphe_osc.h"
#include "inifile.h"
#include "mainform.h"
#include "mainform_texts.h"
#include "measure_list.h"
#include "numbers.h"
#include "paintbox.h"

namespace qvt {

using texts::T;

namespace {

constexpr char kSection[] = "Mesures";
constexpr char kListKey[] = "Liste";
constexpr char kShownKey[] = "Affiche";
constexpr int kTableRowsShown = 4;
// The rows' keys: channel i is i, computed quantity k is kFirstComputed + k.
constexpr int kFirstComputed = 4;

const std::vector<analysis::Quantity>& DefaultMeasures() {
  static const std::vector<analysis::Quantity> list = {
      analysis::Quantity::kFrequency, analysis::Quantity::kPeakToPeak, analysis::Quantity::kMean,
      analysis::Quantity::kRms};
  return list;
}

// The value part of a measurement text: "50,00 Hz" of "f = 50,00 Hz", "—" when missing; the
// levels in `unit`, the curve's.
QString ValueText(analysis::Quantity q, const std::optional<double>& value, const Tunite& unit) {
  const QString text = QString::fromStdString(analysis::MeasureText(q, value, unit));
  const int equal = text.indexOf(QStringLiteral(" = "));
  return equal < 0 ? text : text.mid(equal + 3);
}

// Ctrl+C on the table copies all of it, not only the current cell as a table view would.
class TCopyKey : public QObject {
public:
  TCopyKey(QObject* parent, TMainForm* form) : QObject(parent), form_(form) {}

protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
      form_->CopyMeasures();
      return true;
    }
    return false;
  }

private:
  TMainForm* form_;
};

// The graph area's resizes place the panel anew.
class TResizeWatch : public QObject {
public:
  TResizeWatch(QObject* parent, TMainForm* form) : QObject(parent), form_(form) {}

protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Resize)
      form_->PlaceMesuresPanel();
    return false;
  }

private:
  TMainForm* form_;
};

} // namespace

void TMainForm::PlaceMesuresPanel() {
  if (GraphBox == nullptr)
    return;
  const int row = MesuresTable->verticalHeader()->defaultSectionSize();
  const int width = MesuresTable->verticalHeader()->sizeHint().width() +
                    std::max<int>(1, static_cast<int>(ChosenMeasures.size())) *
                        MesuresTable->horizontalHeader()->minimumSectionSize() +
                    2 * MesuresTable->frameWidth() + 4;
  const int graphWidth = PanelCourbe->width() - width;
  if (graphWidth >= PanelCourbe->height() * 6 / 5) {
    GraphBox->setDirection(QBoxLayout::LeftToRight);
    MesuresTable->setMinimumHeight(0);
    MesuresTable->setMaximumHeight(QWIDGETSIZE_MAX);
    MesuresTable->setFixedWidth(width);
  } else {
    // Tall enough for the header and four rows, no taller: the graph keeps the rest.
    GraphBox->setDirection(QBoxLayout::TopToBottom);
    MesuresTable->setMinimumWidth(0);
    MesuresTable->setMaximumWidth(QWIDGETSIZE_MAX);
    MesuresTable->setFixedHeight(row * (kTableRowsShown + 1) + 4);
  }
}

void TMainForm::BuildAnalysisButtons(QHBoxLayout* row) {
  MesuresBtn->setCheckable(true);
  SpectreBtn->setCheckable(true);
  MesuresMenu = new QMenu(T(texts::kMesuresShown), MesuresBtn);
  MesuresMenu->setObjectName("MesuresMenu");
  for (const analysis::Quantity q : analysis::kAllQuantities) {
    QAction* a = MesuresMenu->addAction(
        QString::fromUtf8(analysis::Label(q).data(), static_cast<int>(analysis::Label(q).size())));
    a->setCheckable(true);
    a->setData(static_cast<int>(q));
  }
  connect(MesuresMenu, &QMenu::triggered, this, [this](QAction*) {
    std::vector<analysis::Quantity> list;
    // Kept in the order of the menu, which is the order of the library's list.
    for (QAction* a : MesuresMenu->actions())
      if (a->isChecked())
        list.push_back(static_cast<analysis::Quantity>(a->data().toInt()));
    SetChosenMeasures(std::move(list));
  });
  MesuresBtn->setMenu(MesuresMenu);
  MesuresBtn->setPopupMode(QToolButton::MenuButtonPopup);
  connect(MesuresBtn, &QToolButton::clicked, this, [this] { MesuresBtnClick(); });
  connect(SpectreBtn, &QToolButton::clicked, this, [this] { SpectreBtnClick(); });
  row->addWidget(MesuresBtn);
  row->addWidget(SpectreBtn);
}

void TMainForm::BuildAnalysisPanels(QVBoxLayout* column) {
  BuildSpectreBar();
  column->insertWidget(column->indexOf(TempsPaintBox), SpectreBar);

  MesuresTable = new QTableWidget(PanelCourbe);
  MesuresTable->setObjectName("MesuresTable");
  MesuresTable->setAccessibleName(T(texts::kMesures));
  MesuresTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  MesuresTable->setFocusPolicy(Qt::ClickFocus);
  MesuresTable->setPalette(QApplication::palette());
  // Columns share the width: sizing them to their contents would measure every cell at
  // every sweep.
  MesuresTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  MesuresTable->horizontalHeader()->setMinimumSectionSize(
      MesuresTable->fontMetrics().horizontalAdvance(QStringLiteral("-000,00 mHz")));
  MesuresTable->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  MesuresTable->verticalHeader()->setDefaultSectionSize(MesuresTable->fontMetrics().height() + 6);
  MesuresTable->setContextMenuPolicy(Qt::CustomContextMenu);
  MesuresTable->installEventFilter(new TCopyKey(MesuresTable, this));
  connect(MesuresTable, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
    QMenu menu(MesuresTable);
    menu.addAction(T(texts::kCopyTable), QKeySequence::Copy, this, [this] { CopyMeasures(); });
    menu.addSeparator();
    menu.addMenu(MesuresMenu);
    menu.exec(MesuresTable->viewport()->mapToGlobal(p));
  });
  MesuresTable->hide();
  // The graph and the panel share a box of the graph area's own layout, so that the graph
  // keeps its place in the area's coordinates (the readout is placed in them).
  const int at = column->indexOf(TempsPaintBox);
  column->removeWidget(TempsPaintBox);
  GraphBox = new QBoxLayout(QBoxLayout::TopToBottom);
  GraphBox->setSpacing(0);
  GraphBox->addWidget(TempsPaintBox, 1);
  GraphBox->addWidget(MesuresTable);
  column->insertLayout(at, GraphBox, 1);
  PanelCourbe->installEventFilter(new TResizeWatch(PanelCourbe, this));

  SpectreGraph = std::make_unique<TGrapheSpectre>(&TempsPaintBox->Canvas(), TempsPaintBox);
  SetChosenMeasures(DefaultMeasures());
}

void TMainForm::MesuresBtnClick() {
  MesuresTable->setVisible(MesuresBtn->isChecked());
  // A panel shown between two sweeps of a held single shot reads the curves held now.
  if (MesuresBtn->isChecked() && OscGraph != nullptr && OscGraph->FilledCount > 1 && !PointMode)
    AnalyseSweep();
}

void TMainForm::SetChosenMeasures(std::vector<analysis::Quantity> quantities) {
  ChosenMeasures = std::move(quantities);
  for (QAction* a : MesuresMenu->actions())
    a->setChecked(std::find(ChosenMeasures.begin(), ChosenMeasures.end(),
                            static_cast<analysis::Quantity>(a->data().toInt())) !=
                  ChosenMeasures.end());
  ShowMeasures(MeasuredChannels, MeasuredValues);
  PlaceMesuresPanel();
}

void TMainForm::AnalyseSweep() {
  if (OscGraph == nullptr || PointMode)
    return;
  if (ShowsPointFile()) {
    // Points against their number have no period nor spectrum: the panel is left empty
    // rather than showing the sweep from before the file.
    MeasuredChannels.clear();
    MeasuredValues.clear();
    ShowMeasures(MeasuredChannels, MeasuredValues);
    return;
  }
  const int reference = OscGraph->TriggerChannel < 4 ? OscGraph->TriggerChannel : -1;
  std::span<const TCourbe> computed;
  if (OscGraph->Computed != nullptr)
    computed = *OscGraph->Computed;
  AnalyseCurves(OscGraph->Curves, computed, OscGraph->TimeCurve, OscGraph->FilledCount, reference);
}

bool TMainForm::Gapless(const TCourbe& curve, int count) {
  // The measurer and the transform would read the no-value marker as a level of 1e-26.
  return std::none_of(curve.Value.begin(), curve.Value.begin() + count,
                      [](double v) { return v == kNoValue || !std::isfinite(v); });
}

void TMainForm::AnalyseCurves(const std::array<TCourbeOsc, 4>& curves,
                              std::span<const TCourbe> computed, const TCourbe& time, int count,
                              int reference) {
  const bool measure = MesuresBtn->isChecked();
  const bool spectrum = SpectrumShown();
  count = std::min(count, static_cast<int>(TSamples::kCount));
  if ((!measure && !spectrum) || count < 2)
    return;
  const double dt = time.Value[1] - time.Value[0];
  computed = computed.first(std::min(computed.size(), analysis::kMaxComputed));
  if (spectrum)
    ComputeSpectra(curves, computed, dt, count);
  if (!measure)
    return;

  std::vector<int> channels;
  std::vector<analysis::ChannelInput> inputs;
  std::size_t ref = 0;
  for (int i = 0; i < 4; ++i) {
    if (!curves[i].Visible)
      continue;
    if (i == reference)
      ref = inputs.size();
    channels.push_back(i);
    // Saturated only where the converter clipped: a trace beyond the displayed range that
    // the converter measured is measured as it is.
    inputs.push_back({{curves[i].Value.data(), static_cast<std::size_t>(count)},
                      dt,
                      curves[i].Mini,
                      curves[i].Maxi,
                      curves[i].ClippedLow,
                      curves[i].ClippedHigh});
  }
  // A computed quantity is measured in its range, never clipped; one with a gap (a formula
  // that cannot give a value somewhere, a channel it reads hidden) gets a row of dashes, its
  // values thrown away (no other row's delay or phase reads it: the reference is a channel).
  std::vector<std::size_t> gapped;
  for (std::size_t k = 0; k < computed.size(); ++k) {
    const TCourbe& c = computed[k];
    if (!c.Visible)
      continue;
    if (!Gapless(c, count))
      gapped.push_back(inputs.size());
    channels.push_back(kFirstComputed + static_cast<int>(k));
    inputs.push_back(
        {{c.Value.data(), static_cast<std::size_t>(count)}, dt, c.Mini, c.Maxi, false, false});
  }
  std::vector<analysis::Measurements> out(inputs.size());
  Measurer.Measure(inputs, ref, out);
  for (const std::size_t g : gapped)
    out[g] = {};
  ShowMeasures(channels, out);
}

void TMainForm::ShowMeasures(std::span<const int> channels,
                             std::span<const analysis::Measurements> values) {
  if (channels.data() != MeasuredChannels.data())
    MeasuredChannels.assign(channels.begin(), channels.end());
  if (values.data() != MeasuredValues.data())
    MeasuredValues.assign(values.begin(), values.end());
  auto curveOf = [this](int key) -> const TCourbe* {
    if (key < kFirstComputed)
      return &OscGraph->Curves[key];
    const auto k = static_cast<std::size_t>(key - kFirstComputed);
    return OscGraph->Computed != nullptr && k < OscGraph->Computed->size()
               ? &(*OscGraph->Computed)[k]
               : nullptr;
  };
  // A computed quantity gone since it was measured (a set defined anew) leaves the panel.
  for (std::size_t r = MeasuredChannels.size(); r-- > 0;)
    if (curveOf(MeasuredChannels[r]) == nullptr) {
      MeasuredChannels.erase(MeasuredChannels.begin() + static_cast<std::ptrdiff_t>(r));
      MeasuredValues.erase(MeasuredValues.begin() + static_cast<std::ptrdiff_t>(r));
    }
  const int rows = static_cast<int>(MeasuredChannels.size());
  const int columns = static_cast<int>(ChosenMeasures.size());
  MesuresTable->setRowCount(rows);
  MesuresTable->setColumnCount(columns);
  // Items are made once and their texts set only when they change: a table refreshed at
  // every sweep must not lay itself out again each time.
  auto setText = [](QTableWidgetItem* item, const QString& text) {
    if (item->text() != text)
      item->setText(text);
  };
  for (int c = 0; c < columns; ++c) {
    const std::string_view label = analysis::Label(ChosenMeasures[c]);
    const QString text = QString::fromUtf8(label.data(), static_cast<int>(label.size()));
    if (MesuresTable->horizontalHeaderItem(c) == nullptr)
      MesuresTable->setHorizontalHeaderItem(c, new QTableWidgetItem(text));
    else
      setText(MesuresTable->horizontalHeaderItem(c), text);
  }
  for (int r = 0; r < rows; ++r) {
    const int key = MeasuredChannels[r];
    const TCourbe& curve = *curveOf(key);
    const analysis::Measurements& m = MeasuredValues[r];
    const QColor colour = ToQColor(curve.Colour);
    QString name = key < kFirstComputed ? ChannelCaption(key, curve.QuantityName, false)
                                        : AnsiToQString(curve.QuantityName);
    if (m.saturated)
      name += T(texts::kSaturated);
    QTableWidgetItem* head = MesuresTable->verticalHeaderItem(r);
    if (head == nullptr) {
      head = new QTableWidgetItem(name);
      MesuresTable->setVerticalHeaderItem(r, head);
    }
    setText(head, name);
    if (head->foreground().color() != colour)
      head->setForeground(colour);
    for (int c = 0; c < columns; ++c) {
      QTableWidgetItem* item = MesuresTable->item(r, c);
      if (item == nullptr) {
        item = new QTableWidgetItem;
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        MesuresTable->setItem(r, c, item);
      }
      setText(item, ValueText(ChosenMeasures[c], analysis::ValueOf(m, ChosenMeasures[c]), curve));
      if (item->foreground().color() != colour)
        item->setForeground(colour);
    }
  }
}

QString TMainForm::MeasuresText() const {
  QString text = T(texts::kChannel).trimmed();
  for (int c = 0; c < MesuresTable->columnCount(); ++c)
    text += QLatin1Char('\t') + MesuresTable->horizontalHeaderItem(c)->text();
  text += QLatin1Char('\n');
  for (int r = 0; r < MesuresTable->rowCount(); ++r) {
    text += MesuresTable->verticalHeaderItem(r)->text();
    for (int c = 0; c < MesuresTable->columnCount(); ++c)
      text += QLatin1Char('\t') + MesuresTable->item(r, c)->text();
    text += QLatin1Char('\n');
  }
  return text;
}

void TMainForm::CopyMeasures() {
  QApplication::clipboard()->setText(MeasuresText());
}

void TMainForm::LoadAnalysisSettings(const TIniFile& ini) {
  if (ini.ValueExists(kSection, kListKey))
    SetChosenMeasures(ParseMeasureList(ini.ReadString(kSection, kListKey, "")));
  MesuresBtn->setChecked(ini.ReadBool(kSection, kShownKey, false));
  MesuresTable->setVisible(MesuresBtn->isChecked());
  LoadSpectrumSettings(ini);
}

void TMainForm::SaveAnalysisSettings(TIniFile& ini) const {
  // New keys are written only once they differ from the defaults, so that a file made
  // before the panel existed keeps its bytes.
  if (ChosenMeasures != DefaultMeasures() || ini.ValueExists(kSection, kListKey))
    ini.WriteString(kSection, kListKey, MeasureListText(ChosenMeasures));
  if (MesuresBtn->isChecked() || ini.ValueExists(kSection, kShownKey))
    ini.WriteBool(kSection, kShownKey, MesuresBtn->isChecked());
  SaveSpectrumSettings(ini);
}

} // namespace qvt
