// SPDX-License-Identifier: GPL-3.0-or-later
// TLabeledEdit: a label over a line edit; the label names the edit for screen readers too.
#include "labelededit.h"

#include <QLabel>
#include <QLineEdit>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace qvt {

TLabeledEdit::TLabeledEdit(const QString& caption, QWidget* parent)
    : QWidget(parent), label_(new QLabel(caption, this)), edit_(new QLineEdit(this)),
      row_(new QHBoxLayout) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  layout->addWidget(label_);
  row_->setSpacing(2);
  row_->addWidget(edit_, 1);
  layout->addLayout(row_);
  label_->setBuddy(edit_);
}

void TLabeledEdit::SetBeside(QWidget* widget) {
  widget->setParent(this);
  row_->addWidget(widget);
}

QString TLabeledEdit::Text() const {
  return edit_->text();
}

void TLabeledEdit::SetText(const QString& text) {
  edit_->setText(text);
}

void TLabeledEdit::SetReadOnly(bool readOnly) {
  edit_->setReadOnly(readOnly);
}

} // namespace qvt
