// SPDX-License-Identifier: GPL-3.0-or-later
// TRadioGroup: radio buttons in a grid, one exclusive button group, the index as the value.
#include "radiogroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

#include <algorithm>

namespace qvt {

TRadioGroup::TRadioGroup(const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent), grid_(new QGridLayout(this)), group_(new QButtonGroup(this)) {
  grid_->setContentsMargins(4, 2, 4, 2);
  grid_->setHorizontalSpacing(4);
  grid_->setVerticalSpacing(0);
  // idClicked comes from the user only (a click or the arrow keys), never from setChecked.
  connect(group_, &QButtonGroup::idClicked, this, [this] { Q_EMIT Click(); });
}

void TRadioGroup::SetItems(const QStringList& items) {
  for (QRadioButton* b : buttons_) {
    group_->removeButton(b);
    delete b;
  }
  buttons_.clear();
  for (int i = 0; i < items.size(); ++i) {
    auto* b = new QRadioButton(items[i], this);
    group_->addButton(b, i);
    buttons_.push_back(b);
  }
  Arrange();
}

void TRadioGroup::SetColumns(int columns) {
  columns_ = std::max(columns, 1);
  Arrange();
}

void TRadioGroup::Arrange() {
  for (QRadioButton* b : buttons_)
    grid_->removeWidget(b);
  for (int i = 0; i < Count(); ++i)
    grid_->addWidget(buttons_[i], i / columns_, i % columns_);
}

int TRadioGroup::ItemIndex() const {
  return group_->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
  if (index >= 0 && index < Count()) {
    buttons_[index]->setChecked(true);
    return;
  }
  // An exclusive group keeps one button checked; clearing needs it non-exclusive a moment.
  group_->setExclusive(false);
  for (QRadioButton* b : buttons_)
    b->setChecked(false);
  group_->setExclusive(true);
}

QRadioButton* TRadioGroup::Button(int index) const {
  return index >= 0 && index < Count() ? buttons_[index] : nullptr;
}

} // namespace qvt
