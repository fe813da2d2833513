// SPDX-License-Identifier: GPL-3.0-or-later
// TColourCombo: a drop-down list of named colours, each shown with its swatch: the sixteen
// standard colours, then the extended ones (money green, sky blue, cream, medium grey).
#pragma once

#include <QComboBox>

#include <span>

#include "colour.h"

namespace qvt {

struct TNamedColour {
  TColour Colour;
  const char* Name; // UTF-8
};

// The list's colours in their order.
std::span<const TNamedColour> StandardAndExtendedColours();

class TColourCombo : public QComboBox {
  Q_OBJECT

public:
  explicit TColourCombo(QWidget* parent = nullptr);

  // The colour of the chosen item (black when none is chosen).
  TColour Selected() const;
  // Chooses the item of `colour`. A colour outside the list gets one item of its own at the
  // end, named by its hexadecimal code, so that choosing nothing else keeps it; that item
  // is replaced by the next such colour.
  void SetSelected(TColour colour);

private:
  void AddItem(TColour colour, const QString& name);

  int listed_ = 0; // items of the list; an item past them is the colour outside it
};

} // namespace qvt
