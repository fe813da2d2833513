// SPDX-License-Identifier: GPL-3.0-or-later
// TSpinButton and TUpDown: the small pair of arrow buttons beside an edit box.
//
// TSpinButton only reports which arrow was clicked. TUpDown also holds a position within
// Min..Max: a click (or the Up/Down keys and the wheel while it has the focus) first emits
// ChangingEx with the position it is about to take, which may lie one step outside the range
// at its ends, then moves the position when the new one lies inside the range.
#pragma once

#include <QWidget>

class QToolButton;

namespace qvt {

class TSpinButton : public QWidget {
  Q_OBJECT

public:
  explicit TSpinButton(QWidget* parent = nullptr);

  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }
  // What screen readers call the two arrows (they show no text), and the pair itself:
  // "up / down".
  void SetAccessibleNames(const QString& up, const QString& down);

Q_SIGNALS:
  void UpClick();
  void DownClick();

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

private:
  QToolButton* up_;
  QToolButton* down_;
};

class TUpDown : public TSpinButton {
  Q_OBJECT

public:
  explicit TUpDown(QWidget* parent = nullptr);

  int Min() const { return min_; }
  int Max() const { return max_; }
  // Sets the range; the position is held within it.
  void SetRange(int min, int max);
  int Position() const { return position_; }
  // Silent: no ChangingEx. Held within Min..Max.
  void SetPosition(int position);

Q_SIGNALS:
  void ChangingEx(int newPosition);

private:
  void Step(int delta);

  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
};

} // namespace qvt
