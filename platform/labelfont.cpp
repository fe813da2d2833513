// SPDX-License-Identifier: GPL-3.0-or-later
// Loading the label font files once, and the label font at its three heights.
#include "labelfont.h"

#include <QFontDatabase>
#include <QLoggingCategory>
#include <QStringList>

Q_LOGGING_CATEGORY(lcLabelFont, "qvt.platform.labelfont")

namespace qvt {
namespace {

constexpr const char* kFamily = "DejaVu Sans";

// Loading by file makes the label font the same on every machine whatever the font
// configuration says; the family name alone is the fallback.
QString LoadFamily() {
  const QString dir = QStringLiteral(QVT_LABEL_FONT_DIR);
  QString family;
  for (const char* file : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"}) {
    const int id = QFontDatabase::addApplicationFont(dir + u'/' + QLatin1String(file));
    if (id < 0) {
      qCWarning(lcLabelFont) << "cannot load" << file << "from" << dir;
      continue;
    }
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (family.isEmpty() && !families.isEmpty())
      family = families.front();
  }
  return family.isEmpty() ? QString::fromLatin1(kFamily) : family;
}

} // namespace

int LabelFontHeight(int requested) {
  if (requested < 14)
    return kLabelFontSmall;
  if (requested <= 18)
    return kLabelFontMedium;
  return kLabelFontLarge;
}

QString LabelFontFamily() {
  static const QString family = LoadFamily();
  return family;
}

QFont LabelFont(int pixelHeight, bool bold) {
  QFont font(LabelFontFamily());
  font.setPixelSize(pixelHeight > 0 ? pixelHeight : kLabelFontSmall);
  font.setBold(bold);
  return font;
}

} // namespace qvt
