// SPDX-License-Identifier: GPL-3.0-or-later
// TRadioGroup: a titled group of radio buttons read and set by item index, laid out in columns.
//
// Click is emitted when the user picks an item (mouse or keyboard); setting the index from
// code is silent, so that a handler that moves the selection does not run itself again.
#pragma once

#include <QGroupBox>
#include <QStringList>

#include <vector>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

namespace qvt {

class TRadioGroup : public QGroupBox {
  Q_OBJECT

public:
  explicit TRadioGroup(const QString& caption = {}, QWidget* parent = nullptr);

  // Replaces the items; none is selected afterwards.
  void SetItems(const QStringList& items);
  int Count() const { return static_cast<int>(buttons_.size()); }
  // Items fill the columns row by row, as a grid of `columns` (at least 1) columns.
  void SetColumns(int columns);
  int Columns() const { return columns_; }

  // The selected item, -1 when none. SetItemIndex with an index outside the items clears
  // the selection.
  int ItemIndex() const;
  void SetItemIndex(int index);

  QRadioButton* Button(int index) const; // nullptr outside the items

Q_SIGNALS:
  void Click();

private:
  void Arrange();

  QGridLayout* grid_;
  QButtonGroup* group_;
  std::vector<QRadioButton*> buttons_;
  int columns_ = 1;
};

} // namespace qvt
