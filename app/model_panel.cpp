// SPDX-License-Identifier: GPL-3.0-or-later
// TModelPanel: the controls, the table and the live fit. Each fed sweep is copied and handed
// to the worker, which cancels the fit of the sweep before; results come back to the GUI
// thread as queued calls and only the latest job's is shown.
#include "model_panel.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <tuple>

#include "ansi.h"
#include "canvas.h"
#include "courbe.h"
#include "model_fitter.h"
#include "model_text.h"
#include "numtext.h"
#include "range_markers_drag.h"
#include "range_markers_draw.h"
#include "residual_strip.h"

namespace qvt {

namespace {

using analysis::FitModel;

constexpr std::array<FitModel, 10> kModels = {
    FitModel::kProportional, FitModel::kAffine,  FitModel::kParabola, FitModel::kPolynomial,
    FitModel::kExponential,  FitModel::kCharge,  FitModel::kSine,     FitModel::kDampedSine,
    FitModel::kPower,        FitModel::kGaussian};
constexpr int kExpressionItem = static_cast<int>(kModels.size());
constexpr int kCurvePoints = 400; // the model drawn through this many points of the range

enum Column { kName, kValue, kUnit, kFixed };

QString U8(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

bool SameName(const std::string& a, const std::string& b) {
  return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

} // namespace

TModelPanel::TModelPanel(TRangeMarkers& markers, QWidget* parent)
    : QWidget(parent), markers_(&markers) {
  setObjectName("ModelPanel");
  setAccessibleName(tr("Modélisation"));
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(3, 2, 3, 2);
  column->setSpacing(3);

  auto* form = new QFormLayout;
  form->setContentsMargins(0, 0, 0, 0);
  form->setSpacing(3);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  ChannelCB = new QComboBox(this);
  ChannelCB->setObjectName("ModelChannelCB");
  ModelCB = new QComboBox(this);
  ModelCB->setObjectName("ModelCB");
  for (const FitModel m : kModels)
    ModelCB->addItem(U8(analysis::FitModelCaption(m)));
  ModelCB->addItem(tr("Expression"));
  ModelCB->setCurrentIndex(1); // "Affine"
  form->addRow(tr("Courbe"), ChannelCB);
  form->addRow(tr("Modèle"), ModelCB);
  DegreeSE = new QSpinBox(this);
  DegreeSE->setObjectName("ModelDegreeSE");
  DegreeSE->setRange(3, 5);
  form->addRow(tr("Degré"), DegreeSE);
  column->addLayout(form);
  ExpressionEdit = new QLineEdit(this);
  ExpressionEdit->setObjectName("ModelExpressionEdit");
  ExpressionEdit->setPlaceholderText(QStringLiteral("E*(1-EXP(-t/tau))"));
  ExpressionEdit->setAccessibleName(tr("Expression du modèle"));
  column->addWidget(ExpressionEdit);

  ParamTable = new QTableWidget(0, 4, this);
  ParamTable->setObjectName("ModelParamTable");
  ParamTable->setHorizontalHeaderLabels({tr("Nom"), tr("Valeur"), tr("Unité"), tr("Bloqué")});
  ParamTable->verticalHeader()->hide();
  ParamTable->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  // Every column as wide as its texts, never elided: a narrow panel scrolls sideways rather
  // than cutting a value.
  ParamTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  ParamTable->setTextElideMode(Qt::ElideNone);
  ParamTable->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
  ParamTable->setContextMenuPolicy(Qt::CustomContextMenu);
  ParamTable->installEventFilter(this);
  ParamTable->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
  ParamTable->setMinimumHeight(ParamTable->verticalHeader()->defaultSectionSize() * 2);
  column->addWidget(ParamTable, 1);

  R2Label = new QLabel(this);
  R2Label->setObjectName("ModelR2Label");
  RmsLabel = new QLabel(this);
  RmsLabel->setObjectName("ModelRmsLabel");
  column->addWidget(R2Label);
  column->addWidget(RmsLabel);
  StatusLabel = new QLabel(this);
  StatusLabel->setObjectName("ModelStatusLabel");
  StatusLabel->setWordWrap(true);
  column->addWidget(StatusLabel);
  RefitBtn = new QPushButton(tr("Réajuster"), this);
  RefitBtn->setObjectName("ModelRefitBtn");
  RefitBtn->setFocusPolicy(Qt::NoFocus);
  ResidusCB = new QCheckBox(tr("Résidus"), this);
  ResidusCB->setObjectName("ModelResidusCB");
  ResidualStrip = new TResidualStrip;
  ResidualStrip->hide();
  connect(ResidusCB, &QCheckBox::toggled, this, [this] { ShowResiduals(); });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(RefitBtn);
  buttons->addWidget(ResidusCB);
  buttons->addStretch();
  column->addLayout(buttons);

  setContextMenuPolicy(Qt::CustomContextMenu);
  auto menu = [this](QWidget* from, const QPoint& p) {
    QMenu m(this);
    m.addAction(tr("Copier le modèle"), QKeySequence::Copy, this,
                [this] { CopyResult(); });
    m.exec(from->mapToGlobal(p));
  };
  connect(this, &QWidget::customContextMenuRequested, this,
          [this, menu](const QPoint& p) { menu(this, p); });
  connect(ParamTable, &QWidget::customContextMenuRequested, this,
          [this, menu](const QPoint& p) { menu(ParamTable->viewport(), p); });

  connect(ModelCB, &QComboBox::currentIndexChanged, this, [this] { ModelChanged(); });
  connect(DegreeSE, &QSpinBox::valueChanged, this, [this] { ModelChanged(); });
  connect(ExpressionEdit, &QLineEdit::editingFinished, this, [this] {
    if (ExpressionEdit->isModified()) {
      ExpressionEdit->setModified(false);
      ModelChanged();
    }
  });
  connect(ChannelCB, &QComboBox::currentIndexChanged, this, [this] {
    if (filling_)
      return;
    start_.clear();
    Submit();
  });
  connect(ParamTable, &QTableWidget::cellChanged, this,
          [this](int row, int col) { CellEdited(row, col); });
  connect(RefitBtn, &QPushButton::clicked, this, [this] { Refit(); });

  fitter_ = std::make_unique<TModelFitter>([this](std::uint64_t job, analysis::FitResult r) {
    // Queued to the GUI thread; dropped with the panel if it is gone by then.
    QMetaObject::invokeMethod(
        this, [this, job, r = std::move(r)]() mutable { Take(job, std::move(r)); },
        Qt::QueuedConnection);
  });
  ModelChanged();
}

TModelPanel::~TModelPanel() {
  fitter_.reset();
}

void TModelPanel::SetResidualAxis(const TCourbe& x, const TRect& plot) {
  ResidualStrip->SetAxis(x.A, x.B, plot.Left, plot.Right);
}

void TModelPanel::ShowResiduals() {
  const TFedCurve* curve = Fed(shownChannel_);
  const bool good = shown_ && shown_->Ok() && curve != nullptr && !curveX_.empty();
  if (good && ResidusCB->isChecked()) {
    double lo = 0, hi = 0;
    DataSpan(lo, hi);
    const double from = markers_->Placed() ? std::max(lo, markers_->From()) : lo;
    const double to = markers_->Placed() ? std::min(hi, markers_->To()) : hi;
    // The points fitted: in the range, gaps left out.
    std::vector<double> x, r;
    for (std::size_t i = 0; i < x_.size(); ++i)
      if (x_[i] >= from && x_[i] <= to && std::isfinite(curve->y[i]))
        x.push_back(x_[i]), r.push_back(curve->y[i]);
    std::vector<double> model(x.size());
    std::vector<double> values;
    for (const analysis::FitParameter& p : shown_->parameters)
      values.push_back(p.value);
    if (analysis::FitModelValues(shownSpec_, values, x, model)) {
      for (std::size_t k = 0; k < r.size(); ++k)
        r[k] -= model[k];
    } else {
      x.clear(), r.clear();
    }
    ResidualStrip->SetResiduals(std::move(x), std::move(r), ToQColor(shownColour_), shownUnit_);
  } else if (!good) {
    ResidualStrip->SetResiduals({}, {}, QColor(), {}); // a failed fit has none
  }
  ResidualStrip->setVisible(isVisible() && ResidusCB->isChecked());
}

analysis::FitModelSpec TModelPanel::ChosenModel() const {
  analysis::FitModelSpec wanted;
  const int item = ModelCB->currentIndex();
  wanted.model = item >= 0 && item < kExpressionItem ? kModels[static_cast<std::size_t>(item)]
                                                     : FitModel::kExpression;
  wanted.degree = DegreeSE->value();
  wanted.expression = ExpressionEdit->text().toStdString();
  return wanted;
}

int TModelPanel::Channel() const {
  return ChannelCB->currentIndex() < 0 ? -1 : ChannelCB->currentData().toInt();
}

void TModelPanel::ModelChanged() {
  const analysis::FitModelSpec wanted = ChosenModel();
  ExpressionEdit->setVisible(wanted.model == FitModel::kExpression);
  DegreeSE->setVisible(wanted.model == FitModel::kPolynomial);
  if (auto* form = findChild<QFormLayout*>())
    form->setRowVisible(DegreeSE, wanted.model == FitModel::kPolynomial);
  start_.clear();
  FillRows();
  Submit();
}

void TModelPanel::FillRows() {
  std::string error;
  const std::vector<std::string> names = analysis::FitParameterNames(ChosenModel(), &error);
  filling_ = true;
  std::vector<bool> held(names.size(), false);
  // A parameter held keeps its box across a refill of the same model.
  for (int r = 0; r < ParamTable->rowCount(); ++r)
    for (std::size_t i = 0; i < names.size(); ++i)
      if (ParamTable->item(r, kName) != nullptr &&
          ParamTable->item(r, kName)->data(Qt::UserRole).toString().toStdString() == names[i])
        held[i] = ParamTable->item(r, kFixed)->checkState() == Qt::Checked;
  ParamTable->setRowCount(static_cast<int>(names.size()));
  for (int r = 0; r < static_cast<int>(names.size()); ++r) {
    auto* name = new QTableWidgetItem(U8(FitParameterSymbol(names[r])));
    name->setData(Qt::UserRole, QString::fromStdString(names[r]));
    name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    ParamTable->setItem(r, kName, name);
    auto* value = new QTableWidgetItem(QStringLiteral("—"));
    value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setToolTip(tr("Valeur de départ : tapez-la ici"));
    ParamTable->setItem(r, kValue, value);
    auto* unit = new QTableWidgetItem;
    unit->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    ParamTable->setItem(r, kUnit, unit);
    auto* fixed = new QTableWidgetItem;
    fixed->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    fixed->setCheckState(held[static_cast<std::size_t>(r)] ? Qt::Checked : Qt::Unchecked);
    ParamTable->setItem(r, kFixed, fixed);
  }
  filling_ = false;
  if (names.empty() && !error.empty())
    StatusLabel->setText(U8(analysis::FitExpressionErrorText(error)));
}

namespace {

// A curve's first `n` values, its gaps (and any value past its end) as NaN, which the fit
// leaves out like any other non-finite value.
std::vector<double> Ungapped(const TCourbe& c, std::size_t n) {
  std::vector<double> v(c.Value.data(), c.Value.data() + std::min(n, c.Value.size()));
  v.resize(n, std::numeric_limits<double>::quiet_NaN());
  for (double& d : v)
    if (d == kNoValue)
      d = std::numeric_limits<double>::quiet_NaN();
  return v;
}

QString CurveName(int index, const std::string& quantity) {
  return index >= 0 && index < 4 ? TModelPanel::tr("Voie %1").arg(index) : AnsiToQString(quantity);
}

} // namespace

void TModelPanel::Feed(const TCourbe& x, std::span<const TCourbe* const> curves, int count,
                       int abscissa) {
  const std::size_t n = std::min(static_cast<std::size_t>(std::max(count, 0)), x.Value.size());
  x_ = Ungapped(x, n);
  xUnit_ = x.Text;
  xName_ = CurveName(abscissa, x.QuantityName);
  axisLo_ = std::min(x.Mini, x.Maxi);
  axisHi_ = std::max(x.Mini, x.Maxi);
  abscissa_ = abscissa;
  curves_.clear();
  for (const TCourbe* c : curves) {
    if (c == nullptr || !c->Visible || (abscissa >= 0 && c->Index == abscissa))
      continue;
    curves_.push_back(
        {c->Index, CurveName(c->Index, c->QuantityName), c->Text, c->Colour, Ungapped(*c, n)});
  }
  FillChannels();
  if (x_.size() < 2) {
    // Nothing left to model (the points taken away): no result, and none still to come.
    latest_ = waiting_ = 0;
    shown_.reset();
    curveX_.clear();
    curveY_.clear();
    FillRows();
    R2Label->setText(QStringLiteral("r² = —"));
    RmsLabel->setText(QStringLiteral("RMS = —"));
    StatusLabel->clear();
    ShowResiduals();
    emit Changed();
    return;
  }
  if (isVisible())
    Submit();
}

const TModelPanel::TFedCurve* TModelPanel::Fed(int index) const {
  for (const TFedCurve& f : curves_)
    if (f.index == index)
      return &f;
  return nullptr;
}

void TModelPanel::FillChannels() {
  int current = Channel();
  if (!wantedQuantity_.isEmpty()) {
    for (const TFedCurve& f : curves_)
      if (f.index >= 4 && f.name == wantedQuantity_)
        current = f.index;
  } else if (wantedChannel_ >= 0) {
    current = wantedChannel_;
  }
  wantedChannel_ = -1;
  wantedQuantity_.clear();
  // In point mode each curve against the abscissa: "Voie 1 = f(Voie 0)", "P = f(Voie 0)".
  auto text = [this](const TFedCurve& f) {
    return abscissa_ < 0 ? f.name : f.name + QStringLiteral(" = f(") + xName_ + QLatin1Char(')');
  };
  filling_ = true;
  bool same = static_cast<int>(curves_.size()) == ChannelCB->count();
  for (int k = 0; same && k < ChannelCB->count(); ++k) {
    const TFedCurve& f = curves_[static_cast<std::size_t>(k)];
    same = ChannelCB->itemData(k).toInt() == f.index && ChannelCB->itemText(k) == text(f);
  }
  if (!same) {
    ChannelCB->clear();
    for (const TFedCurve& f : curves_)
      ChannelCB->addItem(text(f), f.index);
  }
  const int at = ChannelCB->findData(current);
  ChannelCB->setCurrentIndex(at >= 0 ? at : (ChannelCB->count() > 0 ? 0 : -1));
  filling_ = false;
}

void TModelPanel::DataSpan(double& lo, double& hi) const {
  std::tie(lo, hi) = MarkerSpan(x_, axisLo_, axisHi_);
}

void TModelPanel::Submit() {
  const TFedCurve* curve = Fed(Channel());
  if (curve == nullptr || x_.size() < 2)
    return;
  TFitJob job;
  job.x = x_;
  job.y = curve->y;
  job.model = ChosenModel();
  double lo = 0, hi = 0;
  DataSpan(lo, hi);
  job.from = markers_->Placed() ? markers_->From() : lo;
  job.to = markers_->Placed() ? markers_->To() : hi;
  job.start = start_;
  for (int r = 0; r < ParamTable->rowCount(); ++r) {
    if (ParamTable->item(r, kFixed)->checkState() != Qt::Checked)
      continue;
    const std::string name =
        ParamTable->item(r, kName)->data(Qt::UserRole).toString().toStdString();
    const auto it = std::find_if(start_.begin(), start_.end(), [&](const analysis::FitValue& v) {
      return SameName(v.name, name);
    });
    // A parameter held with no value yet is held at the value of the last fit, or 0.
    job.fixed.push_back({name, it != start_.end() ? it->value : 0.0});
  }
  std::erase_if(job.start, [&](const analysis::FitValue& s) {
    return std::any_of(job.fixed.begin(), job.fixed.end(),
                       [&](const analysis::FitValue& f) { return SameName(f.name, s.name); });
  });
  latest_ = fitter_->Submit(std::move(job));
  waiting_ = latest_;
}

void TModelPanel::Refit() {
  Submit();
}

void TModelPanel::Take(std::uint64_t job, analysis::FitResult result) {
  if (job != latest_)
    return; // a later sweep is being fitted
  waiting_ = 0;
  shownSpec_ = ChosenModel();
  shownChannel_ = Channel();
  if (const TFedCurve* curve = Fed(shownChannel_)) {
    shownUnit_ = curve->unit;
    shownName_ = curve->name;
    shownColour_ = curve->colour;
  }
  shown_ = std::move(result);
  curveX_.clear();
  curveY_.clear();
  if (shown_->Ok()) {
    // The next sweep starts from here.
    start_.clear();
    for (const analysis::FitParameter& p : shown_->parameters)
      start_.push_back({p.name, p.value});
    double lo = 0, hi = 0;
    DataSpan(lo, hi);
    const double from = markers_->Placed() ? std::max(lo, markers_->From()) : lo;
    const double to = markers_->Placed() ? std::min(hi, markers_->To()) : hi;
    std::vector<double> values;
    for (const analysis::FitParameter& p : shown_->parameters)
      values.push_back(p.value);
    if (to > from) {
      curveX_.resize(kCurvePoints);
      curveY_.resize(kCurvePoints);
      for (int i = 0; i < kCurvePoints; ++i)
        curveX_[static_cast<std::size_t>(i)] = from + (to - from) * i / (kCurvePoints - 1);
      if (!analysis::FitModelValues(shownSpec_, values, curveX_, curveY_))
        curveX_.clear(), curveY_.clear();
    }
  } else {
    // A failed fit is not a start: the next one begins from the automatic values, or from
    // those typed.
    start_.clear();
  }
  ShowResult();
  ShowResiduals();
  emit Changed();
}

void TModelPanel::ShowResult() {
  if (!shown_)
    return;
  const analysis::FitResult& r = *shown_;
  filling_ = true;
  for (int row = 0; row < ParamTable->rowCount(); ++row) {
    const std::string name =
        ParamTable->item(row, kName)->data(Qt::UserRole).toString().toStdString();
    const auto p =
        std::find_if(r.parameters.begin(), r.parameters.end(),
                     [&](const analysis::FitParameter& q) { return SameName(q.name, name); });
    QString value = QStringLiteral("—");
    QString unit;
    double scale = 1;
    const std::string unitText = FitParameterUnit(shownSpec_, name, xUnit_, shownUnit_);
    if (p != r.parameters.end() && r.Ok()) {
      const TValueText t = FitValueParts(p->value, p->error, unitText);
      value = U8(t.value);
      if (!t.error.empty())
        value += QStringLiteral(" ± ") + U8(t.error);
      else if (!p->fixed)
        value += QStringLiteral(" (") + QCoreApplication::translate("Fit", analysis::kFitUndeterminedText.data()) + QLatin1Char(')');
      unit = U8(t.unit);
      // The prefix shown, so that a value typed in the cell is read in the unit beside it.
      const double shown = ParseValue(t.value);
      if (shown != 0 && shown != kNoValue && p->value != 0)
        scale = p->value / shown;
    }
    ParamTable->item(row, kValue)->setText(value);
    ParamTable->item(row, kValue)->setData(Qt::UserRole, scale);
    ParamTable->item(row, kUnit)->setText(unit);
  }
  filling_ = false;
  if (r.Ok() && r.r2)
    R2Label->setText(QStringLiteral("r² = ") + U8(FormatFixed(*r.r2, 7, 6)));
  else
    R2Label->setText(QStringLiteral("r² = —"));
  if (r.Ok()) {
    const TValueText rms = FitValueParts(r.rms, std::nullopt, shownUnit_);
    RmsLabel->setText(QStringLiteral("RMS = ") + U8(rms.value) + QLatin1Char(' ') + U8(rms.unit));
  } else {
    RmsLabel->setText(QStringLiteral("RMS = —"));
  }
  StatusLabel->setText(U8(analysis::FitStatusText(r)));
}

void TModelPanel::CellEdited(int row, int column) {
  if (filling_ || row < 0 || row >= ParamTable->rowCount())
    return;
  const std::string name =
      ParamTable->item(row, kName)->data(Qt::UserRole).toString().toStdString();
  if (column == kFixed) {
    Submit();
    return;
  }
  if (column != kValue)
    return;
  QString text = ParamTable->item(row, kValue)->text();
  text = text.section(QStringLiteral("±"), 0, 0).trimmed();
  const double typed = ParseValue(text.toStdString());
  if (typed == kNoValue || !std::isfinite(typed))
    return;
  const double value = typed * ParamTable->item(row, kValue)->data(Qt::UserRole).toDouble();
  auto it = std::find_if(start_.begin(), start_.end(),
                         [&](const analysis::FitValue& v) { return SameName(v.name, name); });
  if (it == start_.end())
    start_.push_back({name, value});
  else
    it->value = value;
}

void TModelPanel::Paint(TCanvas& canvas, const TRect& plot, const TCourbe& x,
                        std::span<const TCourbe* const> curves) const {
  if (!isVisible() || x_.size() < 2 || curveX_.empty() || shownChannel_ < 0 ||
      shownChannel_ != Channel())
    return;
  for (const TCourbe* c : curves)
    if (c != nullptr && c->Index == shownChannel_) {
      DrawModelCurve(canvas, plot, x, *c, curveX_, curveY_, shownColour_);
      return;
    }
}

void TModelPanel::PaintLegend(TCanvas& canvas, const TRect& plot) const {
  if (!isVisible() || !shown_ || !shown_->Ok() || curveX_.empty())
    return;
  // The canvas writes 8-bit texts: the Greek names are written out ("tau").
  std::vector<QString> lines;
  lines.push_back(tr("%1 : %2", "model and formula in the graph's legend")
                      .arg(ModelCB->currentText(), U8(shown_->formula)));
  for (const analysis::FitParameter& p : shown_->parameters) {
    const TValueText t =
        FitValueParts(p.value, p.error, FitParameterUnit(shownSpec_, p.name, xUnit_, shownUnit_));
    const QString unit = t.unit.empty() ? QString() : QLatin1Char(' ') + U8(t.unit);
    QString line = QString::fromStdString(p.name) + QStringLiteral(" = ") + U8(t.value) + unit;
    if (!t.error.empty())
      line += QStringLiteral(" ± ") + U8(t.error) + unit;
    lines.push_back(line);
  }
  if (shown_->r2)
    lines.push_back(QStringLiteral("r² = ") + U8(FormatFixed(*shown_->r2, 7, 6)));
  std::vector<std::string> texts;
  int width = 0;
  for (const QString& line : lines) {
    texts.push_back(AnsiFromQString(line));
    width = std::max(width, canvas.TextWidth(texts.back()));
  }
  // In the bottom right corner, where a charge or a decay leaves room, on a veil that keeps
  // it readable over a trace.
  const int step = canvas.TextHeight("0");
  const int height = step * static_cast<int>(texts.size());
  // A plot too small for it goes without: the panel beside it shows the same values.
  if (width + 16 > plot.Right - plot.Left || height + 16 > plot.Bottom - plot.Top)
    return;
  const int left = std::max(plot.Left + 2, plot.Right - width - 12);
  const int top = std::max(plot.Top + 2, plot.Bottom - height - 12);
  canvas.SetBrushStyle(TBrushStyle::Solid);
  canvas.SetBrushColour(QColor(255, 255, 255, 210));
  canvas.FillRect(left - 4, top - 2, left + width + 4, top + height + 2);
  canvas.SetBrushColour(Qt::white);
  canvas.SetFontColour(ToQColor(shownColour_));
  int y = top;
  for (const std::string& text : texts) {
    canvas.TextOut(left, y, text);
    y += step;
  }
  canvas.SetFontColour(Qt::black);
}

void TModelPanel::MarkersMoved() {
  if (isVisible())
    Submit();
}

QString TModelPanel::ResultText() const {
  QString text = tr("Modèle") + QLatin1Char('\t') + ModelCB->currentText();
  if (shown_)
    text += QLatin1Char('\t') + U8(shown_->formula);
  text += QLatin1Char('\n');
  text += tr("Paramètre") + QLatin1Char('\t') + tr("Valeur") + QLatin1Char('\t') +
          tr("Incertitude") + QLatin1Char('\t') + tr("Unité") + QLatin1Char('\n');
  if (shown_ && shown_->Ok()) {
    for (const analysis::FitParameter& p : shown_->parameters) {
      const TValueText t =
          FitValueParts(p.value, p.error, FitParameterUnit(shownSpec_, p.name, xUnit_, shownUnit_));
      QString error = U8(t.error);
      if (error.isEmpty() && !p.fixed)
        error = QCoreApplication::translate("Fit", analysis::kFitUndeterminedText.data());
      text += U8(FitParameterSymbol(p.name)) + QLatin1Char('\t') + U8(t.value) + QLatin1Char('\t') +
              error + QLatin1Char('\t') + U8(t.unit) + QLatin1Char('\n');
    }
    if (shown_->r2)
      text += QStringLiteral("r²\t") + U8(FormatFixed(*shown_->r2, 7, 6)) + QLatin1Char('\n');
  } else if (shown_) {
    text += U8(analysis::FitStatusText(*shown_)) + QLatin1Char('\n');
  }
  return text;
}

void TModelPanel::CopyResult() {
  QApplication::clipboard()->setText(ResultText());
}

namespace {

std::string KeyOf(FitModel m) {
  return m == FitModel::kExpression ? std::string("expression")
                                    : std::string(analysis::FitModelKey(m));
}

std::string Shortest(double v) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, v).ptr;
  return std::string(text, end);
}

} // namespace

TMeasureModel TModelPanel::SavedModel() const {
  TMeasureModel saved;
  if (!isVisible() || !shown_ || !shown_->Ok() || shownChannel_ < 0)
    return saved;
  saved.Model = KeyOf(shownSpec_.model);
  if (shownSpec_.model == FitModel::kExpression)
    saved.Expression = shownSpec_.expression;
  saved.Degree = shownSpec_.degree;
  if (shownChannel_ < 4)
    saved.Channel = shownChannel_;
  else
    saved.Quantity = shownName_.toStdString();
  if (markers_->Placed()) {
    saved.From = markers_->From();
    saved.To = markers_->To();
  }
  for (const analysis::FitParameter& p : shown_->parameters) {
    const std::string sep = saved.Parameters.empty() ? "" : ";";
    saved.Parameters += sep + p.name + "=" + Shortest(p.value);
    saved.Errors += sep + p.name + "=" + (p.error ? Shortest(*p.error) : std::string());
  }
  saved.R2 = shown_->r2;
  return saved;
}

std::string TModelPanel::ModelKey() const {
  return KeyOf(ChosenModel().model);
}

bool TModelPanel::SelectModel(std::string_view key) {
  const std::optional<FitModel> m =
      key == "expression" ? FitModel::kExpression : analysis::FitModelByName(key);
  if (!m)
    return false;
  const auto at = std::find(kModels.begin(), kModels.end(), *m);
  ModelCB->setCurrentIndex(at == kModels.end() ? kExpressionItem
                                               : static_cast<int>(at - kModels.begin()));
  return true;
}

void TModelPanel::ShowSavedModel(const TMeasureModel& model) {
  if (model.Model != "expression" && !analysis::FitModelByName(model.Model))
    return; // a later version's model: the file opens without it
  filling_ = true;
  ExpressionEdit->setText(QString::fromStdString(model.Expression));
  DegreeSE->setValue(model.Degree);
  SelectModel(model.Model);
  filling_ = false;
  wantedChannel_ = model.Channel;
  wantedQuantity_ = QString::fromStdString(model.Quantity);
  if (model.From && model.To)
    markers_->Place(*model.From, *model.To);
  else
    markers_->Reset();
  ModelChanged();
}

void TModelPanel::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  ShowResiduals();
  Submit();
}

void TModelPanel::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  ResidualStrip->hide();
}

bool TModelPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ParamTable && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    // The cell editor gets its own keys: a key reaching the table is not an edit's.
    CopyResult();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

} // namespace qvt
