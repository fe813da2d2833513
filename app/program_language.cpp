// SPDX-License-Identifier: GPL-3.0-or-later
// The interface language.
#include "program_language.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QTranslator>

#include "inifile.h"
#include "qt_translations.h"
#include "translate.h"

namespace qvt {
namespace {

QString installedLanguage = QStringLiteral("fr");

std::string TranslateWithQt(const char* context, const char* source) {
  return QCoreApplication::translate(context, source).toStdString();
}

} // namespace

QString DesktopLanguage(const char* (*getenv)(const char*)) {
  return AskedLanguage(getenv) == "en" ? QStringLiteral("en") : QStringLiteral("fr");
}

QString InterfaceLanguage(TLanguageChoice choice) {
  switch (choice) {
  case TLanguageChoice::French:
    return QStringLiteral("fr");
  case TLanguageChoice::English:
    return QStringLiteral("en");
  case TLanguageChoice::Automatic:
    break;
  }
  return DesktopLanguage();
}

TLanguageChoice ReadLanguageChoice(const std::string& fileName) {
  TIniFile ini(fileName);
  const int value = ini.ReadInteger("Affichage", "Langue", 0);
  if (value == static_cast<int>(TLanguageChoice::French) ||
      value == static_cast<int>(TLanguageChoice::English))
    return static_cast<TLanguageChoice>(value);
  return TLanguageChoice::Automatic;
}

QStringList ProgramTranslationFolders() {
  return {QDir(QCoreApplication::applicationDirPath())
              .absoluteFilePath(QStringLiteral("../share/qvt2/translations"))};
}

bool InstallInterfaceLanguage(const QString& language, const QStringList& folders) {
  // The catalogues of a language installed before go: a later translator would otherwise be
  // asked first, and the earlier one answer for the texts it has.
  static QPointer<QTranslator> qt;
  static QPointer<QTranslator> program;
  SetTranslateFunction(nullptr);
  for (QPointer<QTranslator>* installed : {&qt, &program}) {
    if (!installed->isNull()) {
      QCoreApplication::removeTranslator(*installed);
      delete installed->data();
    }
  }
  qt = InstallQtTranslations(QLocale(language));
  installedLanguage = QStringLiteral("fr");
  if (language == QLatin1String("fr"))
    return true;
  auto* translator = new QTranslator(QCoreApplication::instance());
  for (const QString& folder : folders) {
    if (translator->load(QStringLiteral("qvt2_") + language, folder) &&
        QCoreApplication::installTranslator(translator)) {
      program = translator;
      SetTranslateFunction(TranslateWithQt);
      installedLanguage = language;
      return true;
    }
  }
  delete translator;
  return false;
}

QString InstalledInterfaceLanguage() {
  return installedLanguage;
}

} // namespace qvt
