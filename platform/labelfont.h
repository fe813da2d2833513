// SPDX-License-Identifier: GPL-3.0-or-later
// The label font in which the graphs and the main window write their texts.
//
// The label font is DejaVu Sans (Debian package fonts-dejavu-core), loaded from its files
// once per process; it has every glyph of the model's code page, the Greek letters, the
// ohm sign and the two edge arrows included.
#pragma once

#include <QFont>
#include <QString>

namespace qvt {

// The three heights the label font is drawn at.
inline constexpr int kLabelFontSmall = 13;
inline constexpr int kLabelFontMedium = 16;
inline constexpr int kLabelFontLarge = 20;

// The label height for a wanted size: 13 below 14, 16 from 14 to 18, 20 above 18.
int LabelFontHeight(int requested);

// The family name of the label font. The first call (which needs a QGuiApplication) loads
// the font files; when they are missing the family name is still returned and the
// system's font matching picks the nearest installed font.
QString LabelFontFamily();

// The label font at pixelHeight pixels (the em height), bold or normal.
QFont LabelFont(int pixelHeight, bool bold = false);

} // namespace qvt
