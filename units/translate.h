// SPDX-License-Identifier: GPL-3.0-or-later
// Texts of the layers without Qt in the interface language. The program installs a translate
// function at start; without one (qvt2ctl, the Python module, the tests) the texts stay in
// their source language, French.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Marks a text for the translation catalogue without translating it, for tables of texts that
// are translated where shown (translate(context, table[i])). Qt's own macro, defined here the
// same way for the layers without Qt: the bare literal, which can initialise a character array.
// lupdate reads it, and translate() below, by their names, with no option.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace qvt {

// The text `source` (UTF-8) of `context` in the interface language, UTF-8; `source` itself when
// no translate function is installed or the catalogue has no translation. Both strings must be
// the ones the catalogue was made from: literals, or entries of a table marked QT_TRANSLATE_NOOP.
// Named as Qt's translate() so that lupdate reads its calls. Safe from any thread.
std::string translate(const char* context, const char* source);

// `text` with "%1", "%2"… replaced by the arguments in order, as Qt's arg() does, so that a
// translation may move them. A number absent from the text is left out; "%%" is not special.
std::string TrArg(std::string_view text, std::initializer_list<std::string_view> args);

// translate() for functions that return a view: the translation is kept until the program ends (each
// distinct text once), so the view stays valid whatever translate function is installed later.
// lupdate does not read it: give it entries of a table marked QT_TRANSLATE_NOOP.
std::string_view TrView(const char* context, const char* source);

// The language the desktop asks for, two lower-case letters: the first entry of LANGUAGE's list
// (by preference, "de:en:fr") that is English or French, as gettext passes over the languages
// it has no messages for; else the language of the first set of LC_ALL, LC_MESSAGES and LANG
// ("de" for "de_DE.UTF-8"); empty when none is set or it is "C" or "POSIX". `getenv` reads the
// environment (nullptr: the process's; replaced in tests). The program and qvt2ctl each choose
// from it.
std::string AskedLanguage(const char* (*getenv)(const char*) = nullptr);

using TranslateFunction = std::string (*)(const char* context, const char* source);

// Installs `function` for every later translate call (nullptr: none). Install it before the threads
// that show texts start; the exchange itself is atomic.
void SetTranslateFunction(TranslateFunction function);

} // namespace qvt
