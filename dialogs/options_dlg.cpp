// SPDX-License-Identifier: GPL-3.0-or-later
// TOptionsDlg: the controls, their filling from the settings and graphs, the mode rule and
// the storing on OK.
#include "options_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

#include "ansi.h"
#include "graph_settings.h"
#include "graphe_osc.h"
#include "graphe_point.h"
#include "placement.h"
#include "radiogroup.h"

qvt::TOptionsDlg* OptionsDlg = nullptr;

namespace qvt {

TOptionsDlg::TOptionsDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("OptionsDlg");
  setWindowTitle(tr("Options QVT II "));
  // A fixed frame with the system menu and close box only.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  ModeRG = new TRadioGroup(tr("Mode d'acquisition"), this);
  ModeRG->setObjectName("ModeRG");
  ModeRG->SetItems({tr("temporelle"), tr("point par point")});
  ModeRG->SetColumns(2);
  connect(ModeRG, &TRadioGroup::Click, this, &TOptionsDlg::ApplyModeRule);

  GrilleCB = new QCheckBox(tr("Grille"), this);
  GrilleCB->setObjectName("GrilleCB");

  WidthCourbeSE = new QSpinBox(this);
  WidthCourbeSE->setObjectName("WidthCourbeSE");
  WidthCourbeSE->setRange(1, 5);
  auto* widthLabel = new QLabel(tr("Epaisseur des courbes"), this);
  widthLabel->setBuddy(WidthCourbeSE);

  AbscisseRG = new TRadioGroup(tr("Abscisse"), this);
  AbscisseRG->setObjectName("AbscisseRG");
  AbscisseRG->SetItems(
      {QStringLiteral("Y0"), QStringLiteral("Y1"), QStringLiteral("Y2"), QStringLiteral("Y3")});
  AbscisseRG->SetColumns(4);

  AnalyseurCB = new QCheckBox(tr("Superposition type analyseur logique"), this);
  AnalyseurCB->setObjectName("AnalyseurCB");

  RapideCB = new QCheckBox(tr("Affichage rapide"), this);
  RapideCB->setObjectName("RapideCB");
  QSizePolicy keepRoom = RapideCB->sizePolicy();
  keepRoom.setRetainSizeWhenHidden(true);
  RapideCB->setSizePolicy(keepRoom);

  // The languages are named in their own language, so that a user who cannot read the
  // current one still finds theirs; the items' order is TLanguageChoice's.
  LangueCombo = new QComboBox(this);
  LangueCombo->setObjectName("LangueCombo");
  LangueCombo->addItems({tr("Automatique"), QStringLiteral("Français"), QStringLiteral("English")});
  auto* langueLabel = new QLabel(tr("&Langue"), this);
  langueLabel->setBuddy(LangueCombo);
  LangueNote = new QLabel(tr("Prise en compte au prochain démarrage"), this);
  LangueNote->setObjectName("LangueNote");
  QFont small = LangueNote->font();
  small.setPointSizeF(small.pointSizeF() * 0.9);
  LangueNote->setFont(small);

  BtnOK = new QPushButton(tr("&OK"), this);
  BtnOK->setObjectName("BtnOK");
  BtnOK->setDefault(true);
  BtnCancel = new QPushButton(tr("&Abandon"), this);
  BtnCancel->setObjectName("BtnCancel");
  connect(BtnOK, &QPushButton::clicked, this, &TOptionsDlg::BtnOKClick);
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* width = new QHBoxLayout;
  width->addWidget(widthLabel);
  width->addWidget(WidthCourbeSE);
  width->addStretch();

  // AbscisseRG and AnalyseurCB share one place, as only one of them shows at a time; each
  // keeps its room while hidden so that the dialog keeps its size when the mode changes.
  auto* modeDependent = new QGridLayout;
  for (QWidget* w : {static_cast<QWidget*>(AbscisseRG), static_cast<QWidget*>(AnalyseurCB)}) {
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
    modeDependent->addWidget(w, 0, 0, Qt::AlignLeft | Qt::AlignTop);
  }

  auto* langue = new QHBoxLayout;
  langue->addWidget(langueLabel);
  langue->addWidget(LangueCombo);
  langue->addStretch();

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BtnOK);
  buttons->addWidget(BtnCancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ModeRG);
  layout->addWidget(GrilleCB);
  layout->addLayout(width);
  layout->addLayout(modeDependent);
  layout->addWidget(RapideCB);
  layout->addSpacing(6);
  layout->addLayout(langue);
  layout->addWidget(LangueNote);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TOptionsDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous())
    return;
  FormActivate();
  CentreOnScreen(*this);
}

void TOptionsDlg::FormActivate() {
  if (PointGraph != nullptr) {
    // The channels, then the computed quantities: a characteristic U = f(I) puts a computed
    // current on the horizontal axis.
    QStringList items = {QStringLiteral("Y0"), QStringLiteral("Y1"), QStringLiteral("Y2"),
                         QStringLiteral("Y3")};
    if (PointGraph->Computed != nullptr)
      for (const TCourbe& c : *PointGraph->Computed)
        items << AnsiToQString(c.QuantityName);
    QStringList shown;
    for (int i = 0; i < AbscisseRG->Count(); ++i)
      shown << AbscisseRG->Button(i)->text();
    if (shown != items)
      AbscisseRG->SetItems(items);
    const int computed = PointGraph->ComputedAbscissa;
    AbscisseRG->SetItemIndex(computed >= 0 && 4 + computed < items.size() ? 4 + computed
                                                                          : PointGraph->Abscissa);
  }
  GrilleCB->setChecked(ShowGrid);
  WidthCourbeSE->setValue(LineWidth);
  RapideCB->setChecked(FastDisplay);
  if (OscGraph != nullptr)
    AnalyseurCB->setChecked(OscGraph->Separate);
  LangueCombo->setCurrentIndex(Language >= 0 && Language < LangueCombo->count() ? Language : 0);
  ModeRG->SetItemIndex(PointMode ? 1 : 0);
  ApplyModeRule();
}

void TOptionsDlg::ApplyModeRule() {
  const bool pointByPoint = ModeRG->ItemIndex() == 1;
  AbscisseRG->setVisible(pointByPoint);
  AnalyseurCB->setVisible(!pointByPoint);
  RapideCB->setVisible(!pointByPoint);
}

void TOptionsDlg::BtnOKClick() {
  if (PointGraph != nullptr && AbscisseRG->ItemIndex() >= 0) {
    const int item = AbscisseRG->ItemIndex();
    if (item < 4)
      PointGraph->Abscissa = static_cast<std::uint8_t>(item);
    PointGraph->ComputedAbscissa = item < 4 ? -1 : item - 4;
  }
  ShowGrid = GrilleCB->isChecked();
  LineWidth = WidthCourbeSE->value();
  FastDisplay = RapideCB->isChecked();
  if (OscGraph != nullptr)
    OscGraph->Separate = AnalyseurCB->isChecked();
  PointMode = ModeRG->ItemIndex() > 0;
  Language = std::max(LangueCombo->currentIndex(), 0);
  accept();
}

} // namespace qvt
