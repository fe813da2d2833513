// SPDX-License-Identifier: GPL-3.0-or-later
// The interface language: chosen from the desktop's or by the "Langue" option, and installed
// (Qt's catalogue, the program's, and the translate hook of the layers without Qt).
#pragma once

#include <QString>
#include <QStringList>

#include <string>

namespace qvt {

// The "Langue" option, as kept in the settings file ([Affichage] Langue).
enum class TLanguageChoice { Automatic = 0, French = 1, English = 2 };

// "en" or "fr", what the desktop asks for: the first entry of LANGUAGE's list that is English
// or French, else the first set of LC_ALL, LC_MESSAGES and LANG when it is English; French
// otherwise (the source language; also for "C" and for languages without a translation).
// `getenv` reads the environment (replaced in tests).
QString DesktopLanguage(const char* (*getenv)(const char*) = nullptr);

// "en" or "fr" for a choice (Automatic: DesktopLanguage()).
QString InterfaceLanguage(TLanguageChoice choice);

// The choice kept in the settings file `fileName`; Automatic when it is missing or unknown.
TLanguageChoice ReadLanguageChoice(const std::string& fileName);

// The folders the program's catalogues are looked for in, the first first: beside the program,
// "../share/qvt2/translations", as installed and as built.
QStringList ProgramTranslationFolders();

// Installs, in the running application, Qt's catalogue for `language` and, for a language
// other than French, the program's "qvt2_<language>.qm" from the first of `folders` that has
// it; then the translate hook of the layers without Qt. The catalogues installed by an earlier
// call are removed first. Call it before the windows are built: widgets take their texts when
// made. Returns false when the program's catalogue was not found (its texts stay French).
bool InstallInterfaceLanguage(const QString& language, const QStringList& folders);

// The language the texts are shown in: the one InstallInterfaceLanguage installed, "fr" before
// it or when the program's catalogue was not found.
QString InstalledInterfaceLanguage();

} // namespace qvt
