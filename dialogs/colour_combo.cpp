// SPDX-License-Identifier: GPL-3.0-or-later
// TColourCombo: the colour table, the swatches and the item of a colour outside the table.
#include "colour_combo.h"

#include <QPainter>
#include <QPixmap>

#include <array>

#include "graphe_base.h"
#include "translate.h"

namespace qvt {
namespace {

constexpr std::array<TNamedColour, 20> kColours{{
    {MakeColour(0x00, 0x00, 0x00), QT_TRANSLATE_NOOP("qvt::TColourCombo", "Noir")},
    {MakeColour(0x80, 0x00, 0x00), QT_TRANSLATE_NOOP("qvt::TColourCombo", "Marron")},
    {MakeColour(0x00, 0x80, 0x00), QT_TRANSLATE_NOOP("qvt::TColourCombo", "Vert")},
    {MakeColour(0x80, 0x80, 0x00), QT_TRANSLATE_NOOP("qvt::TColourCombo", "Olive")},
    {MakeColour(0x00, 0x00, 0x80), QT_TRANSLATE_NOOP("qvt::TColourCombo", "Bleu marine")},
    {MakeColour(0x80, 0x00, 0x80), QT_TRANSLATE_NOOP("qvt::TColourCombo", "Pourpre")},
    {MakeColour(0x00, 0x80, 0x80), QT_TRANSLATE_NOOP("qvt::TColourCombo", "Sarcelle")},
    {MakeColour(0x80, 0x80, 0x80), QT_TRANSLATE_NOOP("qvt::TColourCombo", "Gris")},
    {MakeColour(0xC0, 0xC0, 0xC0), QT_TRANSLATE_NOOP("qvt::TColourCombo", "Argent")},
    {MakeColour(0xFF, 0x00, 0x00), QT_TRANSLATE_NOOP("qvt::TColourCombo", "Rouge")},
    {MakeColour(0x00, 0xFF, 0x00), QT_TRANSLATE_NOOP("qvt::TColourCombo", "Vert citron")},
    {MakeColour(0xFF, 0xFF, 0x00), QT_TRANSLATE_NOOP("qvt::TColourCombo", "Jaune")},
    {MakeColour(0x00, 0x00, 0xFF), QT_TRANSLATE_NOOP("qvt::TColourCombo", "Bleu")},
    {MakeColour(0xFF, 0x00, 0xFF), QT_TRANSLATE_NOOP("qvt::TColourCombo", "Fuchsia")},
    {MakeColour(0x00, 0xFF, 0xFF), QT_TRANSLATE_NOOP("qvt::TColourCombo", "Cyan")},
    {MakeColour(0xFF, 0xFF, 0xFF), QT_TRANSLATE_NOOP("qvt::TColourCombo", "Blanc")},
    {MakeColour(0xC0, 0xDC, 0xC0), QT_TRANSLATE_NOOP("qvt::TColourCombo", "Vert monnaie")},
    {MakeColour(0xA6, 0xCA, 0xF0), QT_TRANSLATE_NOOP("qvt::TColourCombo", "Bleu ciel")},
    {MakeColour(0xFF, 0xFB, 0xF0), QT_TRANSLATE_NOOP("qvt::TColourCombo", "Crème")},
    {MakeColour(0xA4, 0xA0, 0xA0), QT_TRANSLATE_NOOP("qvt::TColourCombo", "Gris moyen")},
}};

// A filled square with a dark outline, so that white and cream show against the list.
QPixmap Swatch(TColour colour, QSize size, qreal ratio) {
  QPixmap pixmap(size * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(QColor(64, 64, 64));
  p.setBrush(ToQColor(colour));
  p.drawRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1));
  return pixmap;
}

} // namespace

std::span<const TNamedColour> StandardAndExtendedColours() {
  return kColours;
}

TColourCombo::TColourCombo(QWidget* parent) : QComboBox(parent) {
  setIconSize(QSize(22, 12));
  for (const TNamedColour& c : kColours)
    AddItem(c.Colour, tr(c.Name));
  listed_ = count();
}

void TColourCombo::AddItem(TColour colour, const QString& name) {
  QIcon icon;
  for (qreal ratio : {1.0, 2.0})
    icon.addPixmap(Swatch(colour, iconSize(), ratio));
  addItem(icon, name, QVariant::fromValue(colour));
}

TColour TColourCombo::Selected() const {
  return currentIndex() < 0 ? 0 : currentData().value<TColour>();
}

void TColourCombo::SetSelected(TColour colour) {
  colour &= 0xFFFFFF;
  const int found = findData(QVariant::fromValue(colour));
  if (found >= 0 && found < listed_) {
    setCurrentIndex(found);
    return;
  }
  while (count() > listed_)
    removeItem(count() - 1);
  AddItem(colour, QStringLiteral("#%1").arg(colour, 6, 16, QLatin1Char('0')).toUpper());
  setCurrentIndex(listed_);
}

} // namespace qvt
