// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own texts follow the interface language: the save dialog the program opens and an edit
// box's context menu, in French under a French locale and left English under an English one.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTranslator>

#include <memory>

#include "../platform/qt_test_app.h"
#include "qt_translations.h"

namespace qvt {
namespace {

// A caption as the user reads it: without its mnemonic mark and its shortcut.
QString Shown(QString text) {
  return text.section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
}

struct Expected {
  const char* locale;
  const char* save;
  const char* cancel;
  const char* lookIn;
  const char* undo;
  const char* copy;
};

TEST(QtTranslationsTest, StandardDialogAndEditMenuSpeakTheLocalesLanguage) {
  TestApp();
  const Expected table[] = {
      {"fr_FR", "Enregistrer", "Annuler", "Voir dans :", "Annuler", "Copier"},
      // A country without a catalogue of its own takes its language's.
      {"fr_CA", "Enregistrer", "Annuler", "Voir dans :", "Annuler", "Copier"},
      {"en_US", "Save", "Cancel", "Look in:", "Undo", "Copy"},
  };
  for (const Expected& e : table) {
    SCOPED_TRACE(e.locale);
    const std::unique_ptr<QTranslator> translator(InstallQtTranslations(QLocale(e.locale)));
    if (QString(e.locale).startsWith("fr")) {
      ASSERT_NE(translator, nullptr) << "Qt's French catalogue is missing (qt6-translations-l10n)";
    }

    // Made as the program makes its Matlab file dialog.
    QFileDialog dialog(nullptr, QStringLiteral("Matlab"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    auto* box = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(box->button(QDialogButtonBox::Save) && box->button(QDialogButtonBox::Cancel));
    EXPECT_EQ(Shown(box->button(QDialogButtonBox::Save)->text()), e.save);
    EXPECT_EQ(Shown(box->button(QDialogButtonBox::Cancel)->text()), e.cancel);
    auto* lookIn = dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"));
    ASSERT_NE(lookIn, nullptr);
    EXPECT_EQ(Shown(lookIn->text()), e.lookIn);

    QLineEdit edit;
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    // Its first entries: undo, redo, a separator, cut, copy.
    const QList<QAction*> entries = menu->actions();
    ASSERT_GE(entries.size(), 5);
    EXPECT_EQ(Shown(entries[0]->text()), e.undo);
    EXPECT_EQ(Shown(entries[4]->text()), e.copy);
  }
}

} // namespace
} // namespace qvt
