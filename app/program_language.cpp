// SPDX-License-Identifier: GPL-3.0-or-later
// The interface language.
#include "program_language.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QTranslator>

#include <cstdlib>

#include "inifile.h"
#include "qt_translations.h"
#include "translate.h"

namespace qvt {
namespace {

// "fr_FR.UTF-8" and "fr" give "fr"; "C", "POSIX" and "" give "".
QString LanguageOf(const QString& locale) {
  const QString language = locale.section(QLatin1Char('_'), 0, 0).section(QLatin1Char('.'), 0, 0)
                               .section(QLatin1Char('@'), 0, 0).toLower();
  if (language == QLatin1String("c") || language == QLatin1String("posix"))
    return {};
  return language;
}

bool Translated(const QString& language) {
  return language == QLatin1String("en") || language == QLatin1String("fr");
}

QString installedLanguage = QStringLiteral("fr");

std::string TranslateWithQt(const char* context, const char* source) {
  return QCoreApplication::translate(context, source).toStdString();
}

} // namespace

QString DesktopLanguage(const char* (*getenv)(const char*)) {
  const auto read = [getenv](const char* name) {
    return QString::fromLocal8Bit(getenv != nullptr ? getenv(name) : std::getenv(name));
  };
  // LANGUAGE is a list by preference ("de:en:fr"); gettext passes over the languages it has
  // no catalogue for, and so does the program.
  for (const QString& entry : read("LANGUAGE").split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
    if (const QString language = LanguageOf(entry); Translated(language))
      return language;
  }
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const QString value = read(name);
    if (!value.isEmpty())
      return LanguageOf(value) == QLatin1String("en") ? QStringLiteral("en")
                                                      : QStringLiteral("fr");
  }
  return QStringLiteral("fr");
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
