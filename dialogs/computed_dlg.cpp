// SPDX-License-Identifier: GPL-3.0-or-later
// TCalculsDlg: the two tables and their buttons, moving the rows' contents, and the check of
// the whole set on OK.
//
// Every field of a row is a widget of its own in its cell, so that the symbol filter, the
// combos and the spin box work as in the other dialogs. Moving or removing a row moves the
// contents of the widgets, never the widgets: the table keeps one set of widgets per row.
#include "computed_dlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <span>

#include "ansi.h"
#include "colour_combo.h"
#include "numbers.h"
#include "numtext.h"
#include "savgol.h"
#include "symbol_validator.h"
#include "translate.h"

namespace qvt {
namespace {

using analysis::ComputedConstant;
using analysis::ComputedDefinition;
using analysis::ComputedKind;
using analysis::SmoothingMethod;

// The captions and hints of the dialog.
namespace texts {
constexpr const char* kTitle = QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Calculs");
constexpr const char* kQuantities = QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Grandeurs calculées");
constexpr const char* kConstants = QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Constantes");
constexpr const char* kHelp = QT_TRANSLATE_NOOP(
    "qvt::TCalculsDlg", "Une formule lit t, les voies (V0 à V3 ou leur nom), les constantes\n"
                        "et les grandeurs au-dessus d'elle : P = V0*V1, i = U/R.\n"
                        "Ctrl+lettre tape les lettres grecques et Ω.\n"
                        "Une unité laissée vide est déduite de la formule.");
constexpr const char* kQuantityColumns[] = {QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Nom"),
                                            QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Unité"),
                                            QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Type"),
                                            QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Formule ou source"),
                                            QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Points"),
                                            QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Méthode"),
                                            QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Couleur"),
                                            QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Échelle")};
constexpr const char* kConstantColumns[] = {QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Nom"),
                                            QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Valeur"),
                                            QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Unité")};
constexpr const char* kKinds[] = {
    QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Formule"), QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Dérivée"),
    QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Intégrale"), QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Lissage")};
constexpr const char* kMethods[] = {QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Savitzky-Golay"),
                                    QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Moyenne glissante")};
constexpr const char* kDefaultColour = QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Par défaut");
constexpr const char* kAuto = QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "auto");
constexpr const char* kTo = QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "à");
constexpr const char* kNameHint = QT_TRANSLATE_NOOP(
    "qvt::TCalculsDlg", "Nom de la grandeur : 8 caractères au plus, une lettre d'abord");
constexpr const char* kUnitHint =
    QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Unité ; vide : celle que donne la formule");
constexpr const char* kKindHint =
    QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Formule, ou dérivée, intégrale ou lissage d'une voie ou "
                                    "d'une grandeur au-dessus");
constexpr const char* kFormulaHint =
    QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Formule en t, les voies, les constantes et les grandeurs "
                                    "au-dessus, par exemple V0*V1/R");
constexpr const char* kSourceHint =
    QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "La voie ou la grandeur dérivée, intégrée ou lissée");
constexpr const char* kPointsHint =
    QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Nombre impair de points du filtre, de 3 à 51");
constexpr const char* kMethodHint = QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Méthode de lissage");
constexpr const char* kScaleHint =
    QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Échelle automatique, ou de min à max (unités SI)");
constexpr const char* kValueHint = QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Valeur : 100, 4,7k, 2.2e-6");
constexpr const char* kBadValue =
    QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "Constante %1 : valeur %2 illisible");
constexpr const char* kBadScale = QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "%1 : échelle %2 illisible");
constexpr const char* kEmptyScale =
    QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "%1 : le minimum de l'échelle doit être inférieur au maximum");
} // namespace texts

// A text of the dialog in the interface language.
QString T(const char* text) {
  return QCoreApplication::translate("qvt::TCalculsDlg", text);
}

enum QuantityColumn { kName, kUnit, kKind, kDefinition, kPoints, kMethod, kColour, kScale };
enum ConstantColumn { kConstName, kConstValue, kConstUnit };
constexpr int kQuantityColumnCount = 8;
constexpr int kConstantColumnCount = 3;
constexpr int kUnitChars = 20;
constexpr int kFormulaChars = 255;
constexpr int kShownRows = 8;  // the quantities table's height at first
constexpr int kFewestRows = 3; // its height at the dialog's minimum size
constexpr int kConstantRows = 3;

QString Quoted(const QString& text) {
  return T(QT_TRANSLATE_NOOP("qvt::TCalculsDlg", "« %1 »")).arg(text);
}

QString NumberText(double x) {
  return QString::fromStdString(FormatGeneral(x, 15));
}

// A number typed in a field, or nothing when it does not read.
std::optional<double> ReadNumber(const QString& text) {
  const double x = ParseValue(AnsiFromQString(text).c_str());
  if (x == kNoValue || !std::isfinite(x))
    return std::nullopt;
  return x;
}

// Each field sits in a cell of its own with a small margin, so that the row's selection shows
// around the fields; hiding a field leaves its cell empty.
QWidget* Cell(std::initializer_list<QWidget*> fields, QWidget* parent) {
  auto* cell = new QWidget(parent);
  auto* layout = new QHBoxLayout(cell);
  layout->setContentsMargins(3, 2, 3, 2);
  layout->setSpacing(4);
  for (QWidget* field : fields)
    layout->addWidget(field);
  return cell;
}

QLineEdit* NameEdit(QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setMaxLength(static_cast<int>(analysis::kMaxComputedName));
  edit->setValidator(new TSymbolValidator(edit));
  edit->setToolTip(T(texts::kNameHint));
  edit->setFixedWidth(edit->fontMetrics().averageCharWidth() * 8 + 14);
  return edit;
}

QLineEdit* UnitEdit(QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setMaxLength(kUnitChars);
  edit->setToolTip(T(texts::kUnitHint));
  edit->setFixedWidth(edit->fontMetrics().averageCharWidth() * 8 + 14);
  return edit;
}

// The "Par défaut" swatch: the list's square, empty and crossed, for the colour the quantity
// gets from its rank.
QIcon DefaultSwatch(QSize size) {
  QIcon icon;
  for (qreal ratio : {1.0, 2.0}) {
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    p.setPen(QColor(64, 64, 64));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.drawLine(r.bottomLeft(), r.topRight());
    icon.addPixmap(pixmap);
  }
  return icon;
}

// The source keeps its text even when it is in no list (a quantity below, a name from a
// file): it then has an item of its own, the last. An empty source chooses none.
void SelectSource(QComboBox* combo, const QString& source) {
  int found = source.isEmpty() ? -1 : combo->findData(source);
  if (found < 0 && !source.isEmpty()) {
    combo->addItem(source, source);
    found = combo->count() - 1;
  }
  combo->setCurrentIndex(found);
}

// The row of the table a widget lies in: its cell is a direct child of the viewport.
int RowOf(const QTableWidget& table, QWidget* widget) {
  while (widget != nullptr && widget->parentWidget() != table.viewport())
    widget = widget->parentWidget();
  if (widget == nullptr)
    return -1;
  return table.indexAt(widget->geometry().center()).row();
}

} // namespace

// What a row's widgets hold, so that rows can trade places.
struct TCalculsDlg::TQuantityText {
  QString name, unit, formula, source;
  int kind = 0, points = analysis::kDefaultFilterPoints, method = 0;
  TColour colour = 0;
  bool autoScale = true;
  QString mini, maxi;
  TComputedDisplay shown;
};

struct TCalculsDlg::TConstantText {
  QString name, value, unit;
  double given = 0; // the value its text was written from
};

struct TCalculsDlg::TProblem {
  bool constant = false;
  int row = -1;
  int field = 0;
  QString message;
};

TCalculsDlg::TCalculsDlg(QWidget* parent, const std::array<analysis::ComputedChannel, 4>& channels,
                         std::string abscissaUnit)
    : QDialog(parent), channels_(channels), abscissaUnit_(std::move(abscissaUnit)) {
  setObjectName("CalculsDlg");
  setWindowTitle(T(texts::kTitle));

  auto newTable = [this](const char* name, std::span<const char* const> columns) {
    auto* table = new QTableWidget(0, static_cast<int>(columns.size()), this);
    table->setObjectName(name);
    QStringList labels;
    for (const char* c : columns)
      labels << T(c);
    table->setHorizontalHeaderLabels(labels);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setFocusPolicy(Qt::NoFocus);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->horizontalHeader()->setHighlightSections(false);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    return table;
  };
  QuantityTable = newTable("QuantityTable", texts::kQuantityColumns);
  ConstantTable = newTable("ConstantTable", texts::kConstantColumns);

  auto button = [this](const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
  };
  AjouterBtn = button("AjouterBtn", tr("&Ajouter"));
  SupprimerBtn = button("SupprimerBtn", tr("&Supprimer"));
  MonterBtn = button("MonterBtn", tr("&Monter"));
  DescendreBtn = button("DescendreBtn", tr("&Descendre"));
  AjouterConstBtn = button("AjouterConstBtn", tr("Ajou&ter"));
  SupprimerConstBtn = button("SupprimerConstBtn", tr("Suppr&imer"));
  OKBtn = button("OKBtn", tr("&OK"));
  OKBtn->setDefault(true);
  AnnulerBtn = button("AnnulerBtn", tr("A&nnuler"));
  connect(AjouterBtn, &QPushButton::clicked, this, &TCalculsDlg::AddQuantity);
  connect(SupprimerBtn, &QPushButton::clicked, this, &TCalculsDlg::RemoveQuantity);
  connect(MonterBtn, &QPushButton::clicked, this, [this] { MoveQuantity(-1); });
  connect(DescendreBtn, &QPushButton::clicked, this, [this] { MoveQuantity(1); });
  connect(AjouterConstBtn, &QPushButton::clicked, this, &TCalculsDlg::AddConstant);
  connect(SupprimerConstBtn, &QPushButton::clicked, this, &TCalculsDlg::RemoveConstant);
  connect(OKBtn, &QPushButton::clicked, this, &TCalculsDlg::OKBtnClick);
  connect(AnnulerBtn, &QPushButton::clicked, this, &QDialog::reject);
  for (QTableWidget* table : {QuantityTable, ConstantTable})
    connect(table, &QTableWidget::itemSelectionChanged, this, &TCalculsDlg::UpdateButtons);
  focusWatch_ = connect(qApp, &QApplication::focusChanged, this,
                        [this](QWidget*, QWidget* now) { FocusChanged(now); });

  auto message = [this](const char* name) {
    auto* label = new QLabel(this);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0xB0, 0x10, 0x10));
    label->setPalette(palette);
    label->hide();
    return label;
  };
  QuantityMessage = message("QuantityMessage");
  ConstantMessage = message("ConstantMessage");

  // The columns are as wide as their fields need, from one row made for the measure; only the
  // formula's column takes the room left.
  NewQuantityRow();
  NewConstantRow();
  auto fitColumns = [](QTableWidget* table, int rows, int stretched) {
    QHeaderView* header = table->horizontalHeader();
    int width = 0;
    for (int c = 0; c < table->columnCount(); ++c) {
      const int w =
          std::max(table->cellWidget(0, c)->sizeHint().width(),
                   header->fontMetrics().horizontalAdvance(table->horizontalHeaderItem(c)->text()) +
                       4 * header->style()->pixelMetric(QStyle::PM_HeaderMargin));
      header->setSectionResizeMode(c, c == stretched ? QHeaderView::Stretch : QHeaderView::Fixed);
      header->resizeSection(c, w);
      header->setMinimumSectionSize(std::min(header->minimumSectionSize(), w));
      width += w;
    }
    int height = 0;
    for (int c = 0; c < table->columnCount(); ++c)
      height = std::max(height, table->cellWidget(0, c)->sizeHint().height());
    table->verticalHeader()->setDefaultSectionSize(height);
    table->verticalHeader()->setMinimumSectionSize(height);
    const int frame = 2 * table->frameWidth();
    // Room for the row's number and the warning sign of a refusal.
    const int vertical =
        table->verticalHeader()->fontMetrics().horizontalAdvance(QStringLiteral("88")) +
        table->style()->pixelMetric(QStyle::PM_SmallIconSize) + 16;
    table->verticalHeader()->setFixedWidth(vertical);
    table->setMinimumWidth(width + vertical + frame +
                           table->verticalScrollBar()->sizeHint().width());
    table->setMinimumHeight(header->sizeHint().height() + rows * height + frame);
  };
  fitColumns(QuantityTable, kFewestRows, kDefinition);
  fitColumns(ConstantTable, kConstantRows, kConstValue);
  QuantityTable->setRowCount(0);
  rows_.clear();
  shown_.clear();
  ConstantTable->setRowCount(0);
  constantRows_.clear();
  values_.clear();

  auto* quantities = new QGroupBox(T(texts::kQuantities), this);
  auto* quantityButtons = new QHBoxLayout;
  for (QPushButton* b : {AjouterBtn, SupprimerBtn, MonterBtn, DescendreBtn})
    quantityButtons->addWidget(b);
  quantityButtons->addStretch();
  auto* quantityLayout = new QVBoxLayout(quantities);
  quantityLayout->addWidget(QuantityTable, 1);
  quantityLayout->addWidget(QuantityMessage);
  quantityLayout->addLayout(quantityButtons);

  auto* constants = new QGroupBox(T(texts::kConstants), this);
  auto* constantButtons = new QVBoxLayout;
  constantButtons->addWidget(AjouterConstBtn);
  constantButtons->addWidget(SupprimerConstBtn);
  constantButtons->addStretch();
  auto* constantTable = new QHBoxLayout;
  constantTable->addWidget(ConstantTable);
  constantTable->addLayout(constantButtons);
  auto* constantLayout = new QVBoxLayout(constants);
  constantLayout->addLayout(constantTable);
  constantLayout->addWidget(ConstantMessage);
  ConstantTable->setMaximumWidth(ConstantTable->minimumWidth());
  ConstantTable->setMaximumHeight(ConstantTable->minimumHeight());

  auto* help = new QLabel(T(texts::kHelp), this);
  help->setObjectName("HelpLabel");
  help->setWordWrap(true);
  help->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  help->setMinimumWidth(
      help->fontMetrics().horizontalAdvance(T(texts::kHelp).section(QLatin1Char('\n'), 1, 1)));

  auto* lower = new QHBoxLayout;
  lower->addWidget(constants);
  lower->addSpacing(12);
  lower->addWidget(help, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(AnnulerBtn);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(quantities, 1);
  layout->addLayout(lower);
  layout->addLayout(buttons);

  // At first the table shows eight rows without scrolling; at the minimum size, three.
  const int rowHeight = QuantityTable->verticalHeader()->defaultSectionSize();
  resize(minimumSizeHint() + QSize(0, (kShownRows - kFewestRows) * rowHeight));
  UpdateButtons();
}

int TCalculsDlg::NewQuantityRow() {
  const int row = QuantityTable->rowCount();
  QuantityTable->insertRow(row);
  QWidget* viewport = QuantityTable->viewport();
  TQuantityRow r;
  r.Name = NameEdit(viewport);
  r.Unit = UnitEdit(viewport);
  r.Kind = new QComboBox(viewport);
  for (const char* k : texts::kKinds)
    r.Kind->addItem(T(k));
  r.Kind->setToolTip(T(texts::kKindHint));
  r.Formula = new QLineEdit(viewport);
  r.Formula->setMaxLength(kFormulaChars);
  r.Formula->setToolTip(T(texts::kFormulaHint));
  r.Source = new QComboBox(viewport);
  r.Source->setToolTip(T(texts::kSourceHint));
  r.Source->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  r.Source->setMinimumContentsLength(8);
  r.FormulaOrSource = new QStackedWidget(viewport);
  r.FormulaOrSource->addWidget(r.Formula);
  r.FormulaOrSource->addWidget(r.Source);
  r.FormulaOrSource->setMinimumWidth(
      r.Formula->fontMetrics().horizontalAdvance(QStringLiteral("(V0-V1)*V1/R+sin(t)")) + 12);
  r.Points = new QSpinBox(viewport);
  r.Points->setRange(analysis::kMinFilterPoints, analysis::kMaxFilterPoints);
  r.Points->setSingleStep(2);
  r.Points->setValue(analysis::kDefaultFilterPoints);
  r.Points->setToolTip(T(texts::kPointsHint));
  r.Method = new QComboBox(viewport);
  for (const char* m : texts::kMethods)
    r.Method->addItem(T(m));
  r.Method->setToolTip(T(texts::kMethodHint));
  r.Colour = new TColourCombo(viewport);
  r.Colour->setItemText(0, T(texts::kDefaultColour));
  r.Colour->setItemIcon(0, DefaultSwatch(r.Colour->iconSize()));
  r.AutoScale = new QCheckBox(T(texts::kAuto), viewport);
  r.Mini = new QLineEdit(viewport);
  r.Maxi = new QLineEdit(viewport);
  for (QLineEdit* e : {r.Mini, r.Maxi})
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("-1,2E-06")) + 10);
  r.Mini->setPlaceholderText(tr("min"));
  r.Maxi->setPlaceholderText(tr("max"));
  auto* to = new QLabel(T(texts::kTo), viewport);
  QuantityTable->setCellWidget(row, kName, Cell({r.Name}, viewport));
  QuantityTable->setCellWidget(row, kUnit, Cell({r.Unit}, viewport));
  QuantityTable->setCellWidget(row, kKind, Cell({r.Kind}, viewport));
  QuantityTable->setCellWidget(row, kDefinition, Cell({r.FormulaOrSource}, viewport));
  QuantityTable->setCellWidget(row, kPoints, Cell({r.Points}, viewport));
  QuantityTable->setCellWidget(row, kMethod, Cell({r.Method}, viewport));
  QuantityTable->setCellWidget(row, kColour, Cell({r.Colour}, viewport));
  QWidget* scale = Cell({r.AutoScale, r.Mini, to, r.Maxi}, viewport);
  scale->setToolTip(T(texts::kScaleHint));
  QuantityTable->setCellWidget(row, kScale, scale);
  rows_.push_back(r);
  shown_.emplace_back();

  connect(r.Kind, &QComboBox::currentIndexChanged, this, [this, row] {
    ShowKind(row);
    Changed();
  });
  connect(r.AutoScale, &QCheckBox::toggled, this, [this, row](bool on) {
    rows_[static_cast<std::size_t>(row)].Mini->setEnabled(!on);
    rows_[static_cast<std::size_t>(row)].Maxi->setEnabled(!on);
    Changed();
  });
  connect(r.Name, &QLineEdit::textChanged, this, [this] {
    // Whatever writes whole rows refills the sources once it is done.
    if (filling_)
      return;
    RefillSources();
    Changed();
  });
  for (QLineEdit* e : {r.Unit, r.Formula, r.Mini, r.Maxi})
    connect(e, &QLineEdit::textChanged, this, &TCalculsDlg::Changed);
  for (QComboBox* c : {r.Source, r.Method})
    connect(c, &QComboBox::currentIndexChanged, this, &TCalculsDlg::Changed);
  connect(r.Points, &QSpinBox::valueChanged, this, &TCalculsDlg::Changed);
  return row;
}

int TCalculsDlg::NewConstantRow() {
  const int row = ConstantTable->rowCount();
  ConstantTable->insertRow(row);
  QWidget* viewport = ConstantTable->viewport();
  TConstantRow r;
  r.Name = NameEdit(viewport);
  r.Value = new QLineEdit(viewport);
  r.Value->setToolTip(T(texts::kValueHint));
  r.Value->setMinimumWidth(r.Value->fontMetrics().horizontalAdvance(QStringLiteral("1,23456E-06")) +
                           12);
  r.Unit = UnitEdit(viewport);
  ConstantTable->setCellWidget(row, kConstName, Cell({r.Name}, viewport));
  ConstantTable->setCellWidget(row, kConstValue, Cell({r.Value}, viewport));
  ConstantTable->setCellWidget(row, kConstUnit, Cell({r.Unit}, viewport));
  constantRows_.push_back(r);
  values_.push_back(0);
  for (QLineEdit* e : {r.Name, r.Value, r.Unit})
    connect(e, &QLineEdit::textChanged, this, &TCalculsDlg::Changed);
  return row;
}

TCalculsDlg::TQuantityText TCalculsDlg::ReadQuantity(int row) const {
  const TQuantityRow& r = QuantityRow(row);
  TQuantityText t;
  t.name = r.Name->text();
  t.unit = r.Unit->text();
  t.kind = r.Kind->currentIndex();
  t.formula = r.Formula->text();
  t.source = r.Source->currentIndex() < 0 ? QString() : r.Source->currentData().toString();
  t.points = r.Points->value();
  t.method = r.Method->currentIndex();
  t.colour = r.Colour->Selected();
  t.autoScale = r.AutoScale->isChecked();
  t.mini = r.Mini->text();
  t.maxi = r.Maxi->text();
  t.shown = shown_[static_cast<std::size_t>(row)];
  return t;
}

void TCalculsDlg::WriteQuantity(int row, const TQuantityText& t) {
  const TQuantityRow& r = QuantityRow(row);
  filling_ = true;
  shown_[static_cast<std::size_t>(row)] = t.shown;
  r.Name->setText(t.name);
  r.Unit->setText(t.unit);
  r.Kind->setCurrentIndex(t.kind);
  r.Formula->setText(t.formula);
  SelectSource(r.Source, t.source);
  r.Points->setValue(t.points);
  r.Method->setCurrentIndex(t.method);
  r.Colour->SetSelected(t.colour);
  r.AutoScale->setChecked(t.autoScale);
  r.Mini->setText(t.mini);
  r.Maxi->setText(t.maxi);
  r.Mini->setEnabled(!t.autoScale);
  r.Maxi->setEnabled(!t.autoScale);
  ShowKind(row);
  filling_ = false;
}

TCalculsDlg::TConstantText TCalculsDlg::ReadConstant(int row) const {
  const TConstantRow& r = ConstantRow(row);
  return {r.Name->text(), r.Value->text(), r.Unit->text(), values_[static_cast<std::size_t>(row)]};
}

void TCalculsDlg::WriteConstant(int row, const TConstantText& t) {
  const TConstantRow& r = ConstantRow(row);
  filling_ = true;
  values_[static_cast<std::size_t>(row)] = t.given;
  r.Name->setText(t.name);
  r.Value->setText(t.value);
  r.Unit->setText(t.unit);
  filling_ = false;
}

void TCalculsDlg::ShowKind(int row) {
  const TQuantityRow& r = QuantityRow(row);
  const auto kind = static_cast<ComputedKind>(r.Kind->currentIndex());
  r.FormulaOrSource->setCurrentIndex(kind == ComputedKind::kFormula ? 0 : 1);
  r.Points->setVisible(kind == ComputedKind::kDerivative || kind == ComputedKind::kSmoothing);
  r.Method->setVisible(kind == ComputedKind::kSmoothing);
  if (kind != ComputedKind::kFormula && r.Source->currentIndex() < 0 && r.Source->count() > 0 &&
      !filling_)
    r.Source->setCurrentIndex(0);
}

void TCalculsDlg::RefillSources() {
  const bool wasFilling = filling_;
  filling_ = true;
  for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
    QComboBox* combo = rows_[static_cast<std::size_t>(row)].Source;
    const QString current = combo->currentIndex() < 0 ? QString() : combo->currentData().toString();
    const QSignalBlocker block(combo);
    combo->clear();
    for (std::size_t k = 0; k < channels_.size(); ++k) {
      const QString v = QStringLiteral("V%1").arg(k);
      const QString name = AnsiToQString(channels_[k].name);
      if (name.isEmpty() || name.compare(v, Qt::CaseInsensitive) == 0)
        combo->addItem(v, v);
      else
        combo->addItem(QStringLiteral("%1 (%2)").arg(name, v), name);
    }
    for (int above = 0; above < row; ++above) {
      const QString name = rows_[static_cast<std::size_t>(above)].Name->text();
      if (!name.isEmpty())
        combo->addItem(name, name);
    }
    SelectSource(combo, current);
  }
  filling_ = wasFilling;
}

// The children go after this body has run, and the one with the focus hands it on as it
// goes: the application's signal would then call into a dialog no longer whole.
TCalculsDlg::~TCalculsDlg() {
  disconnect(focusWatch_);
}

void TCalculsDlg::SetContents(const std::vector<ComputedConstant>& constants,
                              const std::vector<ComputedDefinition>& definitions,
                              const std::vector<TComputedDisplay>& displays) {
  ClearProblem();
  constants_ = constants;
  definitions_ = definitions;
  if (definitions_.size() > analysis::kMaxComputed)
    definitions_.resize(analysis::kMaxComputed);
  displays_ = displays;
  displays_.resize(definitions_.size());

  QuantityTable->setRowCount(0);
  rows_.clear();
  shown_.clear();
  for (std::size_t k = 0; k < definitions_.size(); ++k) {
    const ComputedDefinition& d = definitions_[k];
    const TComputedDisplay& s = displays_[k];
    TQuantityText t;
    t.name = AnsiToQString(d.name);
    t.unit = AnsiToQString(d.unit);
    t.kind = static_cast<int>(d.kind);
    t.formula = AnsiToQString(d.formula);
    t.source = AnsiToQString(d.source);
    t.points = d.points;
    t.method = static_cast<int>(d.method);
    t.colour = s.Colour;
    t.autoScale = s.AutoScale;
    t.mini = NumberText(s.Mini);
    t.maxi = NumberText(s.Maxi);
    t.shown = s;
    WriteQuantity(NewQuantityRow(), t);
  }
  ConstantTable->setRowCount(0);
  constantRows_.clear();
  values_.clear();
  for (const ComputedConstant& c : constants_)
    WriteConstant(NewConstantRow(),
                  {AnsiToQString(c.name), NumberText(c.value), AnsiToQString(c.unit), c.value});
  RefillSources();
  Changed();
  UpdateButtons();
}

void TCalculsDlg::AddQuantity() {
  if (rows_.size() >= analysis::kMaxComputed)
    return;
  const int row = NewQuantityRow();
  TQuantityText t;
  t.mini = NumberText(t.shown.Mini);
  t.maxi = NumberText(t.shown.Maxi);
  WriteQuantity(row, t);
  RefillSources();
  QuantityTable->selectRow(row);
  QuantityTable->scrollToBottom();
  rows_[static_cast<std::size_t>(row)].Name->setFocus();
  UpdateButtons();
  Changed();
}

void TCalculsDlg::RemoveQuantity() {
  const int row = QuantityTable->currentRow();
  const int n = QuantityTable->rowCount();
  if (row < 0 || row >= n)
    return;
  for (int k = row; k + 1 < n; ++k)
    WriteQuantity(k, ReadQuantity(k + 1));
  QuantityTable->removeRow(n - 1);
  rows_.pop_back();
  shown_.pop_back();
  RefillSources();
  if (n > 1)
    QuantityTable->selectRow(std::min(row, n - 2));
  UpdateButtons();
  Changed();
}

void TCalculsDlg::MoveQuantity(int step) {
  const int row = QuantityTable->currentRow();
  const int other = row + step;
  if (row < 0 || other < 0 || other >= QuantityTable->rowCount())
    return;
  const TQuantityText a = ReadQuantity(row);
  WriteQuantity(row, ReadQuantity(other));
  WriteQuantity(other, a);
  RefillSources();
  QuantityTable->selectRow(other);
  UpdateButtons();
  Changed();
}

void TCalculsDlg::AddConstant() {
  const int row = NewConstantRow();
  ConstantTable->selectRow(row);
  ConstantTable->scrollToBottom();
  constantRows_[static_cast<std::size_t>(row)].Name->setFocus();
  UpdateButtons();
  Changed();
}

void TCalculsDlg::RemoveConstant() {
  const int row = ConstantTable->currentRow();
  const int n = ConstantTable->rowCount();
  if (row < 0 || row >= n)
    return;
  for (int k = row; k + 1 < n; ++k)
    WriteConstant(k, ReadConstant(k + 1));
  ConstantTable->removeRow(n - 1);
  constantRows_.pop_back();
  values_.pop_back();
  if (n > 1)
    ConstantTable->selectRow(std::min(row, n - 2));
  UpdateButtons();
  Changed();
}

void TCalculsDlg::FocusChanged(QWidget* now) {
  if (now == nullptr || now->window() != this)
    return;
  for (QTableWidget* table : {QuantityTable, ConstantTable}) {
    const int row = RowOf(*table, now);
    if (row >= 0 && row != table->currentRow())
      table->selectRow(row);
  }
}

void TCalculsDlg::UpdateButtons() {
  const int n = QuantityTable->rowCount();
  const int row = QuantityTable->currentRow();
  const bool chosen = row >= 0 && row < n && QuantityTable->selectionModel()->hasSelection();
  AjouterBtn->setEnabled(n < static_cast<int>(analysis::kMaxComputed));
  SupprimerBtn->setEnabled(chosen);
  MonterBtn->setEnabled(chosen && row > 0);
  DescendreBtn->setEnabled(chosen && row + 1 < n);
  SupprimerConstBtn->setEnabled(ConstantTable->currentRow() >= 0 &&
                                ConstantTable->selectionModel()->hasSelection());
}

bool TCalculsDlg::Collect(std::vector<ComputedConstant>& constants,
                          std::vector<ComputedDefinition>& definitions,
                          std::vector<TComputedDisplay>& displays, TProblem& problem) const {
  constants.clear();
  for (int row = 0; row < static_cast<int>(constantRows_.size()); ++row) {
    const TConstantText t = ReadConstant(row);
    ComputedConstant c{AnsiFromQString(t.name), t.given, AnsiFromQString(t.unit)};
    if (t.value != NumberText(t.given)) {
      const std::optional<double> value = ReadNumber(t.value);
      if (!value) {
        problem = {true, row, kConstValue,
                   T(texts::kBadValue).arg(Quoted(t.name), Quoted(t.value))};
        return false;
      }
      c.value = *value;
    }
    constants.push_back(std::move(c));
  }
  definitions.clear();
  displays.clear();
  for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
    const TQuantityText t = ReadQuantity(row);
    ComputedDefinition d;
    d.name = AnsiFromQString(t.name);
    d.unit = AnsiFromQString(t.unit);
    d.kind = static_cast<ComputedKind>(t.kind);
    // The evaluator takes no blank inside a formula, and a blank never means anything there.
    d.formula = AnsiFromQString(t.formula);
    if (d.kind == ComputedKind::kFormula)
      std::erase(d.formula, ' ');
    d.source = AnsiFromQString(t.source);
    d.points = t.points;
    d.method = static_cast<SmoothingMethod>(t.method);
    TComputedDisplay s = t.shown;
    s.Colour = t.colour;
    s.AutoScale = t.autoScale;
    if (!t.autoScale) {
      const std::optional<double> mini =
          t.mini == NumberText(t.shown.Mini) ? t.shown.Mini : ReadNumber(t.mini);
      const std::optional<double> maxi =
          t.maxi == NumberText(t.shown.Maxi) ? t.shown.Maxi : ReadNumber(t.maxi);
      if (!mini || !maxi) {
        problem = {false, row, kScale,
                   T(texts::kBadScale).arg(Quoted(t.name), Quoted(!mini ? t.mini : t.maxi))};
        return false;
      }
      if (!(*mini < *maxi)) {
        problem = {false, row, kScale, T(texts::kEmptyScale).arg(Quoted(t.name))};
        return false;
      }
      s.Mini = *mini;
      s.Maxi = *maxi;
    }
    definitions.push_back(std::move(d));
    displays.push_back(s);
  }
  return true;
}

bool TCalculsDlg::Check(TProblem& problem, std::vector<ComputedConstant>* constants,
                        std::vector<ComputedDefinition>* definitions,
                        std::vector<TComputedDisplay>* displays) {
  std::vector<ComputedConstant> c;
  std::vector<ComputedDefinition> d;
  std::vector<TComputedDisplay> s;
  const bool read = Collect(c, d, s, problem);
  analysis::ComputedModel model;
  std::optional<analysis::ComputedError> error;
  if (read)
    error = model.Define(channels_, c, d, abscissaUnit_);
  // An empty unit shows the one the algebra gives, when the set is sound.
  for (std::size_t k = 0; k < rows_.size(); ++k)
    rows_[k].Unit->setPlaceholderText(
        read && !error && k < model.Count() ? AnsiToQString(model.Unit(k)) : QString());
  if (!read)
    return false;
  if (error) {
    problem = TProblem{};
    problem.message = QString::fromStdString(error->message);
    problem.constant = error->where < 0;
    problem.row = problem.constant ? -1 - error->where : error->where;
    using Field = analysis::ComputedError::Field;
    if (problem.constant)
      problem.field = error->field == Field::kName   ? kConstName
                      : error->field == Field::kUnit ? kConstUnit
                                                     : kConstValue;
    else
      problem.field = error->field == Field::kName     ? kName
                      : error->field == Field::kUnit   ? kUnit
                      : error->field == Field::kPoints ? kPoints
                                                       : kDefinition;
    return false;
  }
  if (constants != nullptr) {
    *constants = std::move(c);
    *definitions = std::move(d);
    *displays = std::move(s);
  }
  return true;
}

void TCalculsDlg::Changed() {
  if (filling_)
    return;
  TProblem problem;
  const bool sound = Check(problem);
  // Once OK has refused, the message follows the edits; before, typing is left in peace.
  if (!problemShown_)
    return;
  if (sound)
    ClearProblem();
  else
    ShowProblem(problem, false);
}

void TCalculsDlg::ShowProblem(const TProblem& problem, bool focus) {
  ClearProblem();
  problemShown_ = true;
  QTableWidget* table = problem.constant ? ConstantTable : QuantityTable;
  QLabel* label = problem.constant ? ConstantMessage : QuantityMessage;
  label->setText(problem.message);
  label->show();
  if (problem.row < 0 || problem.row >= table->rowCount())
    return;
  auto* mark = new QTableWidgetItem(style()->standardIcon(QStyle::SP_MessageBoxWarning),
                                    QString::number(problem.row + 1));
  mark->setToolTip(problem.message);
  table->setVerticalHeaderItem(problem.row, mark);
  if (!focus)
    return;
  table->selectRow(problem.row);
  table->scrollTo(table->model()->index(problem.row, problem.field));
  QWidget* field = nullptr;
  if (problem.constant) {
    const TConstantRow& r = ConstantRow(problem.row);
    field = problem.field == kConstName ? r.Name : problem.field == kConstUnit ? r.Unit : r.Value;
  } else {
    const TQuantityRow& r = QuantityRow(problem.row);
    switch (problem.field) {
    case kName:
      field = r.Name;
      break;
    case kUnit:
      field = r.Unit;
      break;
    case kPoints:
      field = r.Points;
      break;
    case kScale:
      field = r.AutoScale->isChecked() ? static_cast<QWidget*>(r.AutoScale) : r.Mini;
      break;
    default:
      field = r.FormulaOrSource->currentWidget();
      break;
    }
  }
  field->setFocus();
  if (auto* edit = qobject_cast<QLineEdit*>(field))
    edit->selectAll();
}

void TCalculsDlg::ClearProblem() {
  problemShown_ = false;
  for (QLabel* label : {QuantityMessage, ConstantMessage}) {
    label->clear();
    label->hide();
  }
  for (QTableWidget* table : {QuantityTable, ConstantTable})
    for (int row = 0; row < table->rowCount(); ++row)
      delete table->takeVerticalHeaderItem(row);
}

void TCalculsDlg::OKBtnClick() {
  TProblem problem;
  std::vector<ComputedConstant> constants;
  std::vector<ComputedDefinition> definitions;
  std::vector<TComputedDisplay> displays;
  if (!Check(problem, &constants, &definitions, &displays)) {
    ShowProblem(problem, true);
    return;
  }
  ClearProblem();
  constants_ = std::move(constants);
  definitions_ = std::move(definitions);
  displays_ = std::move(displays);
  accept();
}

} // namespace qvt
