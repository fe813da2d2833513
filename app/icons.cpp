// SPDX-License-Identifier: GPL-3.0-or-later
// Icons rendered from the SVG resources with Qt's SVG renderer, so that they never depend on
// an icon-engine plugin being installed.
#include "icons.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <initializer_list>

// The resources are compiled into a static library: registering them by hand keeps the
// linker from dropping them.
static void RegisterIcons() {
  static const bool done = [] {
    Q_INIT_RESOURCE(icons);
    return true;
  }();
  (void)done;
}

namespace qvt {
namespace {

QIcon Render(const QString& path, std::initializer_list<int> sizes) {
  RegisterIcons();
  QSvgRenderer renderer(path);
  QIcon icon;
  if (!renderer.isValid())
    return icon;
  for (int size : sizes) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

} // namespace

QIcon ToolIcon(const char* name) {
  return Render(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)), {20, 40});
}

QIcon ProgramIcon() {
  return Render(QStringLiteral(":/icons/qvt2.svg"), {16, 24, 32, 48, 64, 128, 256});
}

} // namespace qvt
