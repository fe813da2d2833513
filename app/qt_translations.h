// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own texts (standard dialogs, the edit boxes' context menus) in the interface language.
#pragma once

#include <QLocale>

class QTranslator;

namespace qvt {

// Loads Qt's catalogue for `locale`'s languages from Qt's translation folder and installs it
// in the running application, which must exist. Returns the installed translator, owned by the
// application, or nullptr when Qt has no catalogue for those languages (its texts then stay
// English). Call it before the first window is built: widgets take their texts when made.
QTranslator* InstallQtTranslations(const QLocale& locale);

} // namespace qvt
