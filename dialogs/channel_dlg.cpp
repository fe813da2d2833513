// SPDX-License-Identifier: GPL-3.0-or-later
// TChannelDlg: the shared group, its filling and storing, the caption and the Escape key.
#include "channel_dlg.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "ansi.h"
#include "colour_combo.h"
#include "courbe.h"
#include "placement.h"
#include "symbol_validator.h"
#include "text8.h"

namespace qvt {
namespace {

constexpr int kNameChars = 8;
constexpr int kUnitChars = 20;
constexpr std::size_t kStoredNameBytes = 32;

QLineEdit* NewEdit(const char* name, int maxLength, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setMaxLength(maxLength);
  return edit;
}

} // namespace

TChannelDlg::TChannelDlg(const QString& name, QWidget* parent) : QDialog(parent) {
  setObjectName(name);

  GroupBox1 = new QGroupBox(tr("&Grandeur physique"), this);
  GroupBox1->setObjectName("GroupBox1");
  EditNom = NewEdit("EditNom", kNameChars, GroupBox1);
  EditNom->setValidator(new TSymbolValidator(EditNom));
  EditUnite = NewEdit("EditUnite", kUnitChars, GroupBox1);
  EditSignif = NewEdit("EditSignif", static_cast<int>(kLongText), GroupBox1);
  CouleurCombo = new TColourCombo(GroupBox1);
  CouleurCombo->setObjectName("CouleurCombo");

  // The meaning is a sentence; the box is wide enough for a short one and the other fields
  // share its width, so that their right edges line up.
  EditSignif->setMinimumWidth(
      EditSignif->fontMetrics().horizontalAdvance(tr("tension aux bornes du condensateur C1")));
  Fields = new QFormLayout(GroupBox1);
  Fields->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  Fields->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  Fields->addRow(tr("&Nom"), EditNom);
  Fields->addRow(tr("&Unité"), EditUnite);
  Fields->addRow(tr("&Signif."), EditSignif);
  Fields->addRow(tr("&Couleur"), CouleurCombo);

  OKBtn = new QPushButton(tr("&Activer"), this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setDefault(true);
  DesactiveBtn = new QPushButton(tr("&Désactiver"), this);
  DesactiveBtn->setObjectName("DesactiveBtn");
  connect(OKBtn, &QPushButton::clicked, this, &TChannelDlg::OKBtnClick);
  connect(DesactiveBtn, &QPushButton::clicked, this, &TChannelDlg::DesactiveBtnClick);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(DesactiveBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(GroupBox1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TChannelDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A window coming back from being minimised is no new activation.
  if (event->spontaneous())
    return;
  FormActivate();
  CentreOnScreen(*this);
}

void TChannelDlg::keyPressEvent(QKeyEvent* event) {
  // Escape is the "Désactiver" button's key, not QDialog's reject.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    DesactiveBtn->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TChannelDlg::FormActivate() {
  const int channel = EditedChannel();
  setWindowTitle(InputYD ? QStringLiteral("YD%1 QVT2").arg(channel)
                         : QStringLiteral("Y%1 BNC QVT2").arg(channel));
  const TCourbe* curve = EditedCurve();
  if (curve == nullptr)
    return;
  EditNom->setText(AnsiToQString(curve->QuantityName));
  EditUnite->setText(AnsiToQString(curve->Text));
  EditSignif->setText(AnsiToQString(curve->Meaning));
  CouleurCombo->SetSelected(curve->Colour);
  FillExtra();
  EditNom->setFocus();
  EditNom->selectAll();
}

void TChannelDlg::OKBtnClick() {
  if (TCourbe* curve = EditedCurve()) {
    curve->QuantityName = ShortString(AnsiFromQString(EditNom->text()), kStoredNameBytes);
    curve->Visible = true;
    curve->SetText(AnsiFromQString(EditUnite->text()));
    curve->Meaning = ShortString(AnsiFromQString(EditSignif->text()), kLongText);
    curve->Colour = CouleurCombo->Selected();
    StoreExtra();
  }
  accept();
}

void TChannelDlg::DesactiveBtnClick() {
  if (TCourbe* curve = EditedCurve())
    curve->Visible = false;
  accept();
}

} // namespace qvt
