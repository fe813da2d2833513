// SPDX-License-Identifier: GPL-3.0-or-later
// TAboutBox: a fixed little box; nothing in it acts but OK.
#include "about_box.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

qvt::TAboutBox* AboutBox = nullptr;

namespace qvt {

TAboutBox::TAboutBox(const QIcon& icon, QWidget* parent) : QDialog(parent) {
  setObjectName("AboutBox");
  setWindowTitle(tr("A propos"));
  ProgramIcon = new QLabel(this);
  ProgramIcon->setObjectName("ProgramIcon");
  ProgramIcon->setPixmap(icon.pixmap(64, 64));
  ProductName = new QLabel(QApplication::applicationDisplayName(), this);
  ProductName->setObjectName("ProductName");
  QFont big = ProductName->font();
  big.setPointSizeF(big.pointSizeF() * 1.6);
  big.setBold(true);
  ProductName->setFont(big);
  Version = new QLabel(tr("Version %1").arg(QApplication::applicationVersion()), this);
  Version->setObjectName("Version");
  Comments = new QLabel(
      tr("Oscilloscope et générateur basse fréquence\npour l'interface Vexor QVT II"), this);
  Comments->setObjectName("Comments");

  auto* text = new QVBoxLayout;
  text->addWidget(ProductName);
  text->addWidget(Version);
  text->addSpacing(6);
  text->addWidget(Comments);
  text->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(ProgramIcon, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(text);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("OKButton");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 12);
  layout->addLayout(top);
  layout->addSpacing(10);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace qvt
