// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own texts in the interface language, from the catalogues Qt installs beside itself.
#include "qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace qvt {

QTranslator* InstallQtTranslations(const QLocale& locale) {
  auto* translator = new QTranslator(QCoreApplication::instance());
  // "qt_<language>" gathers the catalogues of every Qt module (qtbase_fr and the others), so
  // that the dialogs of modules added later are translated too. load() tries the locale's
  // languages in order of preference, from "fr_FR" down to "fr".
  if (!translator->load(locale, QStringLiteral("qt"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return nullptr;
  }
  return translator;
}

} // namespace qvt
