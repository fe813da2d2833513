// SPDX-License-Identifier: GPL-3.0-or-later
// TCalcToolsBar: the controls, the computations on the copy of the last data fed, and the
// results' texts. The numbers come from analysis/calculus.h. Units are composed from the
// curve's and the abscissa's texts rather than through the unit algebra, which would name a
// volt-second a weber: the area reads "V·s" as the axes do, a steep slope "V/ms".
#include "calc_tools.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numeric>
#include <tuple>

#include "ansi.h"
#include "calc_tools_draw.h"
#include "codepage.h"
#include "courbe.h"
#include "model_text.h"
#include "numtext.h"
#include "range_markers_drag.h"
#include "unite.h"

namespace qvt {

namespace {

using TTool = TCalcToolsBar::TTool;

constexpr int kDefaultPoints = 9;

QString U8(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

bool IsGap(double v) {
  return v == kNoValue || !std::isfinite(v);
}

// A unit that takes an SI prefix: a valid, unnamed, dimensioned one ("V", "mA", "m/s"), not
// "pH" nor a percentage.
bool TakesPrefix(std::string_view text) {
  if (text.empty())
    return false;
  Tunite u;
  u.SetText(text);
  return u.Valid && !u.Named && u.UnitText(3).find("10^") == std::string::npos;
}

// The unit of the SI values of a curve whose unit is `text` (UTF-8): "A" for "mA".
std::string SiUnit(std::string_view text) {
  if (!TakesPrefix(text))
    return AnsiToUtf8(text);
  Tunite u;
  u.SetText(text);
  return AnsiToUtf8(u.UnitText(0));
}

struct TText {
  QString value, unit;
};

// A value of a curve in unit `unit` (8-bit): four significant digits, with the prefix of the
// value when the unit takes one.
TText Quantity(double v, std::string_view unit) {
  if (TakesPrefix(unit)) {
    const TValueText t = FitValueParts(v, std::nullopt, unit);
    return {U8(t.value), U8(t.unit)};
  }
  return {U8(FormatGeneral(v, 4)), U8(AnsiToUtf8(unit))};
}

// dy/dx per the abscissa's unit; a steep slope per a prefixed one ("2,350 V/ms", "3,000 V/µs"),
// the way a slope against time is read off a graph, rather than in kilovolts per second.
TText Slope(double v, std::string_view yUnit, std::string_view xUnit) {
  int k = 0;
  std::string per = AnsiToUtf8(xUnit);
  if (TakesPrefix(xUnit)) {
    while (std::fabs(v * std::pow(1000.0, k)) >= 1000 && k > -4)
      --k;
    Tunite x;
    x.SetText(xUnit);
    per = AnsiToUtf8(x.UnitText(3 * k));
  }
  TText t = Quantity(v * std::pow(1000.0, k), yUnit);
  if (!per.empty())
    t.unit = (t.unit.isEmpty() ? QStringLiteral("1") : t.unit) + QLatin1Char('/') + U8(per);
  return t;
}

// y·x: the curve's unit prefixed for the value, times the abscissa's SI unit ("mV·s").
TText Product(double v, std::string_view yUnit, std::string_view xUnit) {
  TText t = Quantity(v, yUnit);
  const QString x = U8(SiUnit(xUnit));
  if (!x.isEmpty())
    t.unit = t.unit.isEmpty() ? x : t.unit + QStringLiteral("·") + x;
  return t;
}

// The level typed, in SI with a prefix letter allowed ("5", "4,5", "200m"), or with the
// curve's unit after it ("5 V"); empty for an empty or unreadable text.
std::optional<double> TypedLevel(const QString& typed, std::string_view unit) {
  auto read = [](const QString& text) -> std::optional<double> {
    const double v = ParseValue(AnsiFromQString(text.trimmed()));
    if (v == kNoValue || !std::isfinite(v))
      return std::nullopt;
    return v;
  };
  const QString text = typed.trimmed();
  if (const auto v = read(text))
    return v;
  const QString si = U8(SiUnit(unit));
  if (!si.isEmpty() && text.endsWith(si) && text.size() > si.size())
    return read(text.left(text.size() - si.size()));
  return std::nullopt;
}

} // namespace

TCalcToolsBar::TCalcToolsBar(TRangeMarkers& markers, QWidget* parent)
    : QWidget(parent), markers_(&markers) {
  setObjectName("CalcToolsBar");
  setAccessibleName(tr("Outils"));
  setFocusPolicy(Qt::ClickFocus);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(3, 2, 3, 2);
  row->setSpacing(4);
  auto caption = [this, row](const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text, this);
    label->setBuddy(buddy);
    row->addWidget(label);
    row->addWidget(buddy);
    return label;
  };
  ToolCB = new QComboBox(this);
  ToolCB->setObjectName("CalcToolCB");
  for (const QString& item : {tr("Aucun"), tr("Tangente"), tr("Pente"), tr("Aire"),
                              tr("Statistiques")})
    ToolCB->addItem(item);
  ToolCB->setCurrentIndex(static_cast<int>(TTool::kTangent));
  caption(tr("Outil"), ToolCB);
  CurveCB = new QComboBox(this);
  CurveCB->setObjectName("CalcCurveCB");
  CurveCB->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  caption(tr("Courbe"), CurveCB);
  LevelEdit = new QLineEdit(this);
  LevelEdit->setObjectName("CalcLevelEdit");
  LevelEdit->setAccessibleName(tr("Niveau"));
  LevelEdit->setToolTip(
      tr("Niveau dont la tangente donne le croisement (ex. la valeur finale "
         "d'une charge, pour lire τ)"));
  LevelEdit->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("-0,000m")) + 12);
  levelCaption_ = caption(tr("Niveau"), LevelEdit);
  LevelUnit = new QLabel(this);
  LevelUnit->setObjectName("CalcLevelUnit");
  row->addWidget(LevelUnit);
  PointsSE = new QSpinBox(this);
  PointsSE->setObjectName("CalcPointsSE");
  PointsSE->setRange(3, 101);
  PointsSE->setSingleStep(2);
  PointsSE->setValue(kDefaultPoints);
  PointsSE->setToolTip(tr("Points de l'ajustement local de la tangente"));
  pointsCaption_ = caption(tr("Points"), PointsSE);
  ResultLabel = new QLabel(this);
  ResultLabel->setObjectName("CalcResultLabel");
  ResultLabel->setWordWrap(true);
  ResultLabel->setFocusPolicy(Qt::ClickFocus);
  // A long line wraps rather than widening the bar, down to a width that keeps it to a few
  // lines; below it the window scrolls the bar sideways.
  ResultLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  ResultLabel->setMinimumWidth(
      fontMetrics().horizontalAdvance(tr("pente") + QStringLiteral(" = -000,0 mV/ms")));
  row->addSpacing(8);
  row->addWidget(ResultLabel, 1);

  const std::initializer_list<QWidget*> copying = {this, ResultLabel, ToolCB, CurveCB, PointsSE};
  for (QWidget* w : copying)
    w->installEventFilter(this);
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
    QMenu m(this);
    m.addAction(tr("Copier les résultats"), QKeySequence::Copy, this,
                [this] { CopyResult(); });
    m.exec(mapToGlobal(p));
  });

  connect(ToolCB, &QComboBox::currentIndexChanged, this, [this] { ToolChanged(); });
  connect(CurveCB, &QComboBox::currentIndexChanged, this, [this] {
    if (!filling_)
      Compute();
  });
  connect(LevelEdit, &QLineEdit::editingFinished, this, [this] { Compute(); });
  connect(PointsSE, &QSpinBox::valueChanged, this, [this] { Compute(); });
  ToolChanged();
}

TCalcToolsBar::TTool TCalcToolsBar::Tool() const {
  return static_cast<TTool>(std::max(ToolCB->currentIndex(), 0));
}

void TCalcToolsBar::SetTool(TTool tool) {
  ToolCB->setCurrentIndex(static_cast<int>(tool));
}

bool TCalcToolsBar::ReadsRange() const {
  return !isHidden() && Tool() != TTool::kNone && Tool() != TTool::kTangent;
}

bool TCalcToolsBar::TakesClicks() const {
  return !isHidden() && Tool() == TTool::kTangent;
}

int TCalcToolsBar::CurveIndex() const {
  return CurveCB->currentIndex() < 0 ? -1 : CurveCB->currentData().toInt();
}

void TCalcToolsBar::ToolChanged() {
  const bool tangent = Tool() == TTool::kTangent;
  const std::initializer_list<QWidget*> only = {LevelEdit, LevelUnit, PointsSE, levelCaption_,
                                                pointsCaption_};
  for (QWidget* w : only)
    w->setVisible(tangent);
  Compute();
}

void TCalcToolsBar::Feed(const TCourbe& x, std::span<const TCourbe* const> curves, int count,
                         int abscissa) {
  const std::size_t n =
      std::min<std::size_t>(static_cast<std::size_t>(std::max(count, 0)), x.Value.size());
  x_.assign(x.Value.data(), x.Value.data() + n);
  xUnit_ = x.Text;
  xName_ = x.QuantityName.empty() ? QStringLiteral("x") : AnsiToQString(x.QuantityName);
  curves_.clear();
  for (const TCourbe* c : curves) {
    if (c == nullptr || !c->Visible || (abscissa >= 0 && c->Index == abscissa))
      continue;
    TFedCurve f;
    f.index = c->Index;
    f.name = c->Index >= 0 && c->Index < 4 ? tr("Voie %1").arg(c->Index)
                                           : AnsiToQString(c->QuantityName);
    f.unit = c->Text;
    f.colour = c->Colour;
    f.y.assign(c->Value.data(), c->Value.data() + n);
    curves_.push_back(std::move(f));
  }
  std::tie(lo_, hi_) = MarkerSpan(x_, x.Mini, x.Maxi);
  // Recorded points come in the order they were taken: the tools read a curve y(x), so they
  // are put in the order of x, the gaps last.
  auto before = [this](std::size_t i, std::size_t j) {
    const bool gi = IsGap(x_[i]), gj = IsGap(x_[j]);
    return gi != gj ? gj : !gi && x_[i] < x_[j];
  };
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  if (!std::is_sorted(order.begin(), order.end(), before)) {
    std::stable_sort(order.begin(), order.end(), before);
    auto permute = [&order](std::vector<double>& v) {
      std::vector<double> out(v.size());
      for (std::size_t i = 0; i < order.size(); ++i)
        out[i] = v[order[i]];
      v.swap(out);
    };
    permute(x_);
    for (TFedCurve& f : curves_)
      permute(f.y);
  }
  FillCurves();
  if (isVisible())
    Compute();
}

void TCalcToolsBar::FillCurves() {
  bool same = static_cast<int>(curves_.size()) == CurveCB->count();
  for (int k = 0; same && k < CurveCB->count(); ++k)
    same = CurveCB->itemData(k).toInt() == curves_[static_cast<std::size_t>(k)].index &&
           CurveCB->itemText(k) == curves_[static_cast<std::size_t>(k)].name;
  if (same)
    return;
  const int current = CurveIndex();
  filling_ = true;
  CurveCB->clear();
  for (const TFedCurve& f : curves_)
    CurveCB->addItem(f.name, f.index);
  const int at = CurveCB->findData(current);
  CurveCB->setCurrentIndex(at >= 0 ? at : (CurveCB->count() > 0 ? 0 : -1));
  filling_ = false;
}

const TCalcToolsBar::TFedCurve* TCalcToolsBar::Chosen() const {
  const int index = CurveIndex();
  for (const TFedCurve& f : curves_)
    if (f.index == index)
      return &f;
  return nullptr;
}

const TCourbe* TCalcToolsBar::CurveOf(std::span<const TCourbe* const> curves) const {
  const int index = CurveIndex();
  for (const TCourbe* c : curves)
    if (c != nullptr && c->Index == index)
      return c;
  return nullptr;
}

void TCalcToolsBar::SetCursorAbscissa(double x) {
  if (!std::isfinite(x))
    return;
  cursor_ = x;
  Compute();
}

void TCalcToolsBar::MarkersMoved() {
  if (isVisible())
    Compute();
}

bool TCalcToolsBar::Press(double x) {
  if (!TakesClicks() || Chosen() == nullptr)
    return false;
  pressed_ = true;
  SetCursorAbscissa(x);
  return true;
}

bool TCalcToolsBar::Drag(double x) {
  if (!pressed_)
    return false;
  SetCursorAbscissa(x);
  return true;
}

bool TCalcToolsBar::Release() {
  const bool was = pressed_;
  pressed_ = false;
  return was;
}

void TCalcToolsBar::Compute() {
  results_ = TResults();
  message_.clear();
  const TFedCurve* c = Chosen();
  LevelUnit->setText(c != nullptr ? U8(SiUnit(c->unit)) : QString());
  results_.from = markers_->Placed() ? std::max(lo_, markers_->From()) : lo_;
  results_.to = markers_->Placed() ? std::min(hi_, markers_->To()) : hi_;
  const double from = results_.from, to = results_.to;
  const TTool tool = Tool();
  if (tool == TTool::kNone || c == nullptr || x_.empty()) {
    ResultLabel->clear();
    emit Changed();
    return;
  }
  const std::span<const double> x(x_), y(c->y);
  switch (tool) {
  case TTool::kTangent: {
    results_.level = TypedLevel(LevelEdit->text(), c->unit);
    if (!cursor_) {
      message_ = tr("Cliquez sur la courbe à l'endroit de la tangente");
      break;
    }
    results_.tangent = analysis::TangentAt(x, y, *cursor_, PointsSE->value());
    if (!results_.tangent) {
      message_ = tr("Pas de tangente en ce point");
      break;
    }
    results_.axisCrossing = results_.tangent->Crossing(0);
    if (results_.level)
      results_.levelCrossing = results_.tangent->Crossing(*results_.level);
    break;
  }
  case TTool::kChord:
    results_.chordFrom = analysis::ValueAt(x, y, from);
    results_.chordTo = analysis::ValueAt(x, y, to);
    results_.slope = analysis::ChordSlope(x, y, from, to);
    if (!results_.slope)
      message_ = tr("Pas de pente : la courbe n'a pas de valeur à une borne");
    break;
  case TTool::kArea:
    results_.area = analysis::Area(x, y, from, to);
    if (!results_.area)
      message_ = tr("Pas d'aire : les bornes sortent de la courbe");
    break;
  case TTool::kStatistics:
    results_.statistics = analysis::StatisticsBetween(x, y, from, to);
    if (!results_.statistics)
      message_ = tr("Aucun point entre les bornes");
    break;
  case TTool::kNone:
    break;
  }
  // The line wraps between the results, never inside one ("axe en t = -814 µs" stays whole).
  QStringList parts;
  for (const TRow& r : Rows())
    parts << QString(r.name + QStringLiteral(" = ") + r.value +
                     (r.unit.isEmpty() ? QString() : QLatin1Char(' ') + r.unit))
                 .replace(QLatin1Char(' '), QChar::Nbsp);
  ResultLabel->setText(parts.isEmpty() ? message_ : parts.join(QStringLiteral("   ")));
  emit Changed();
}

std::vector<TCalcToolsBar::TRow> TCalcToolsBar::Rows() const {
  std::vector<TRow> rows;
  const TFedCurve* c = Chosen();
  if (c == nullptr)
    return rows;
  const TResults& r = results_;
  auto add = [&rows](const QString& name, const TText& t) {
    rows.push_back({name, t.value, t.unit});
  };
  auto at = [this](double v) { return Quantity(v, xUnit_); };
  auto bounds = [&] {
    add(tr("de %1").arg(xName_), at(r.from));
    add(tr("à %1").arg(xName_), at(r.to));
  };
  switch (Tool()) {
  case TTool::kTangent:
    if (!r.tangent)
      break;
    add(tr("tangente en %1").arg(xName_), at(r.tangent->x));
    add(tr("pente"), Slope(r.tangent->slope, c->unit, xUnit_));
    if (r.axisCrossing)
      add(tr("axe en %1").arg(xName_), at(*r.axisCrossing));
    if (r.level && r.levelCrossing) {
      const TText level = Quantity(*r.level, c->unit);
      add(tr("niveau %1 en %2")
              .arg(level.value + (level.unit.isEmpty() ? QString() : QLatin1Char(' ') + level.unit),
                   xName_),
          at(*r.levelCrossing));
    }
    break;
  case TTool::kChord:
    if (!r.slope)
      break;
    add(tr("pente"), Slope(*r.slope, c->unit, xUnit_));
    bounds();
    break;
  case TTool::kArea:
    if (!r.area)
      break;
    add(tr("aire"), Product(*r.area, c->unit, xUnit_));
    bounds();
    break;
  case TTool::kStatistics:
    if (!r.statistics)
      break;
    add(tr("n"), {QString::number(r.statistics->count), QString()});
    add(tr("moyenne"), Quantity(r.statistics->mean, c->unit));
    add(tr("écart type"), Quantity(r.statistics->standardDeviation, c->unit));
    add(tr("min"), Quantity(r.statistics->min, c->unit));
    add(tr("max"), Quantity(r.statistics->max, c->unit));
    bounds();
    break;
  case TTool::kNone:
    break;
  }
  return rows;
}

QString TCalcToolsBar::ResultText() const {
  const TFedCurve* c = Chosen();
  QString text = tr("Outil") + QLatin1Char('\t') + ToolCB->currentText();
  if (c != nullptr)
    text += QLatin1Char('\t') + c->name;
  text += QLatin1Char('\n');
  const std::vector<TRow> rows = Rows();
  if (rows.empty()) {
    if (!message_.isEmpty())
      text += message_ + QLatin1Char('\n');
    return text;
  }
  text += tr("Grandeur") + QLatin1Char('\t') + tr("Valeur") + QLatin1Char('\t') + tr("Unité") +
          QLatin1Char('\n');
  for (const TRow& r : rows)
    text += r.name + QLatin1Char('\t') + r.value + QLatin1Char('\t') + r.unit + QLatin1Char('\n');
  return text;
}

void TCalcToolsBar::CopyResult() {
  QApplication::clipboard()->setText(ResultText());
}

void TCalcToolsBar::Paint(TCanvas& canvas, const TRect& plot, const TCourbe& x,
                          std::span<const TCourbe* const> curves) const {
  const TFedCurve* c = Chosen();
  const TCourbe* yCurve = CurveOf(curves);
  if (!isVisible() || c == nullptr || yCurve == nullptr)
    return;
  const TResults& r = results_;
  switch (Tool()) {
  case TTool::kTangent:
    if (r.tangent)
      DrawTangent(canvas, plot, x, *yCurve, *r.tangent, r.level);
    break;
  case TTool::kChord:
    if (r.slope && r.chordFrom && r.chordTo)
      DrawChord(canvas, plot, x, *yCurve, r.from, *r.chordFrom, r.to, *r.chordTo);
    break;
  case TTool::kArea:
    if (r.area)
      DrawArea(canvas, plot, x, *yCurve, x_, c->y, r.from, r.to, c->colour);
    break;
  case TTool::kStatistics:
    if (r.statistics)
      DrawStatistics(canvas, plot, x, *yCurve, r.from, r.to, r.statistics->mean,
                     r.statistics->standardDeviation, c->colour);
    break;
  case TTool::kNone:
    break;
  }
}

void TCalcToolsBar::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Compute();
}

bool TCalcToolsBar::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    CopyResult();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

} // namespace qvt
