// SPDX-License-Identifier: GPL-3.0-or-later
// TLabeledEdit: an edit box with its caption above it, as one widget.
#pragma once

#include <QWidget>

class QHBoxLayout;
class QLabel;
class QLineEdit;

namespace qvt {

class TLabeledEdit : public QWidget {
  Q_OBJECT

public:
  explicit TLabeledEdit(const QString& caption = {}, QWidget* parent = nullptr);

  QLabel* EditLabel() const { return label_; }
  QLineEdit* Edit() const { return edit_; }
  QString Text() const;
  void SetText(const QString& text);
  void SetReadOnly(bool readOnly);
  // Puts `widget` right of the edit box, under the caption (which keeps the whole width).
  void SetBeside(QWidget* widget);

private:
  QLabel* label_;
  QLineEdit* edit_;
  QHBoxLayout* row_;
};

} // namespace qvt
