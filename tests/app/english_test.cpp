// SPDX-License-Identifier: GPL-3.0-or-later
// The window in English: every text the main window, its panels and its dialogs show is in
// the English catalogue, and the language follows the desktop (French, English, and French for
// a language without a catalogue), Qt's own dialogs included.
#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTableWidget>
#include <QXmlStreamReader>

#include <vector>

#include "about_box.h"
#include "computed_dlg.h"
#include "config_voie_point_dlg.h"
#include "constante_dlg.h"
#include "etalon_seuil_dlg.h"
#include "graphe_point.h"
#include "mainform_fixture.h"
#include "message_box.h"
#include "options_dlg.h"
#include "osc_channel_dlg.h"
#include "program_language.h"

namespace qvt {
namespace {

struct Entry {
  QString context, source, translation;
};

std::vector<Entry> Catalogue() {
  QFile file(QStringLiteral(QVT_TS_FILE));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << QVT_TS_FILE;
  QXmlStreamReader xml(&file);
  std::vector<Entry> out;
  Entry e;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement)
      continue;
    if (xml.name() == QLatin1String("name")) {
      e.context = xml.readElementText();
    } else if (xml.name() == QLatin1String("source")) {
      e.source = xml.readElementText();
    } else if (xml.name() == QLatin1String("translation")) {
      e.translation = xml.readElementText();
      out.push_back(e);
    }
  }
  return out;
}

// The French sources of the catalogue whose English differs.
QSet<QString> TranslatedSources() {
  QSet<QString> out;
  for (const Entry& e : Catalogue())
    if (e.translation != e.source)
      out.insert(e.source);
  return out;
}

// Every text a person can read in `root` and its children: captions, hints, titles, items,
// headings, placeholders, the names screen readers say, and their menus' entries.
QStringList Texts(QWidget* root) {
  QStringList out;
  QList<QWidget*> widgets = root->findChildren<QWidget*>();
  widgets.prepend(root);
  for (QWidget* w : widgets) {
    out << w->windowTitle() << w->toolTip() << w->statusTip() << w->whatsThis()
        << w->accessibleName() << w->accessibleDescription();
    if (auto* label = qobject_cast<QLabel*>(w))
      out << label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
      out << button->text();
    if (auto* group = qobject_cast<QGroupBox*>(w))
      out << group->title();
    if (auto* edit = qobject_cast<QLineEdit*>(w))
      out << edit->placeholderText();
    if (auto* combo = qobject_cast<QComboBox*>(w))
      for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    if (auto* table = qobject_cast<QTableWidget*>(w))
      for (int i = 0; i < table->columnCount(); ++i)
        if (table->horizontalHeaderItem(i) != nullptr)
          out << table->horizontalHeaderItem(i)->text();
    for (QAction* action : w->actions())
      out << action->text() << action->toolTip() << action->statusTip();
  }
  out.removeAll(QString());
  return out;
}

// The texts of `texts` left in French: a catalogue source shown as it stands (whole, or one
// part of a "caption|hint" or of a text of several lines), or a text with French letters.
QStringList LeftInFrench(const QStringList& texts, const QSet<QString>& sources) {
  static const QRegularExpression french(QStringLiteral("[éèêëàâçùûôîœ«»ÉÈÀ]"));
  // Shown in its own language whatever the interface's.
  static const QStringList own = {QStringLiteral("Français")};
  QStringList out;
  for (const QString& text : texts) {
    QStringList parts = text.split(QRegularExpression(QStringLiteral("[|\n]")));
    parts << text;
    bool left = text.contains(french) && !own.contains(text);
    for (const QString& part : parts)
      left = left || sources.contains(part) || sources.contains(part.trimmed());
    if (left && !out.contains(text))
      out << text;
  }
  return out;
}

class EnglishWindowTest : public MainFormTest {
protected:
  void SetUp() override {
    TestApp();
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
      unsetenv(name);
    setenv("LANG", "en_US.UTF-8", 1);
    ASSERT_TRUE(InstallInterfaceLanguage(InterfaceLanguage(TLanguageChoice::Automatic),
                                         {QStringLiteral(QVT_QM_DIR)}));
  }
  void TearDown() override {
    MainFormTest::TearDown();
    unsetenv("LANG");
    InstallInterfaceLanguage(QStringLiteral("fr"), {});
  }
  // Collects the texts of the modal dialog `Dialog` the click opens, then closes it.
  template <typename Dialog> void FromDialog(QAbstractButton* button, QStringList& texts) {
    bool seen = false;
    WhenShown<Dialog>([&](Dialog* d) {
      texts << Texts(d);
      seen = true;
      d->reject();
    });
    button->click();
    EXPECT_TRUE(seen) << button->objectName().toStdString();
  }
};

TEST_F(EnglishWindowTest, EveryPanelAndDialogIsInEnglish) {
  Start();
  const QSet<QString> sources = TranslatedSources();
  ASSERT_GT(sources.size(), 100);
  QStringList texts = Texts(form.get());
  // The panels, each shown once.
  for (QToolButton* b : {form->MesuresBtn, form->ModeleBtn, form->OutilsBtn, form->GBFbtn}) {
    b->click();
    QTest::qWait(50);
    texts << Texts(form.get());
  }
  form->SpectreBtn->click();
  QTest::qWait(50);
  texts << Texts(form.get());
  form->SpectreBtn->click();

  FromDialog<TOptionsDlg>(form->OptionsBtn, texts);
  FromDialog<TCalculsDlg>(form->CalculsBtn, texts);
  // The dialogs made once at start, shown as their handlers show them.
  OscChannelDlg->Curve = &OscGraph->Curves[0];
  ConfigVoiePointDlg->Curve = &PointGraph->Curves[0];
  for (QDialog* d : std::initializer_list<QDialog*>{OscChannelDlg, ConfigVoiePointDlg, AboutBox,
                                                   ConstanteDlg}) {
    d->show();
    QTest::qWait(20);
    texts << Texts(d);
    d->hide();
  }
  {
    TEtalonSeuilDlg calibration(*Device, *Generator, form.get());
    texts << Texts(&calibration);
  }
  // The guide's window, and whatever else the program opened on its own.
  form->HelpBtn->click();
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w != form.get())
      texts << Texts(w);
  const QStringList left = LeftInFrench(texts, sources);
  EXPECT_TRUE(left.isEmpty()) << "Not translated:\n" << left.join(QLatin1Char('\n')).toStdString();
}

// An entry left as its French source is one of the texts the two languages share, listed.
TEST(CatalogueTest, TextsTheSameInEnglishAreListed) {
  QFile file(QStringLiteral(QVT_SAME_FILE));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << QVT_SAME_FILE;
  QSet<QString> listed;
  for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')))
    if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
      listed.insert(line);
  QStringList unlisted;
  for (const Entry& e : Catalogue())
    if (e.translation == e.source && !listed.contains(e.context + QLatin1Char('|') + e.source))
      unlisted << e.context + QLatin1Char('|') + e.source;
  EXPECT_TRUE(unlisted.isEmpty()) << "Translate these or list them in same_in_english.txt:\n"
                                  << unlisted.join(QLatin1Char('\n')).toStdString();
}

// The desktop's language, as the program reads it at start.
struct Desktop {
  const char* lang;
  const char* exit;      // the toolbar's last button
  const char* nothing;   // the message of "Enregistrer" before any acquisition
  const char* cancel;    // the "Ouvrir" file dialog's button
};

TEST_F(MainFormTest, LanguageFollowsTheDesktop) {
  TestApp();
  const Desktop table[] = {
      {"fr_FR.UTF-8", "Quitter", "Aucune acquisition à enregistrer", "Annuler"},
      {"en_US.UTF-8", "Quit", "No acquisition to save", "Cancel"},
      // No catalogue for German: French, the source language, Qt's dialogs included.
      {"de_DE.UTF-8", "Quitter", "Aucune acquisition à enregistrer", "Annuler"},
  };
  for (const Desktop& d : table) {
    SCOPED_TRACE(d.lang);
    unsetenv("LANGUAGE");
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", d.lang, 1);
    InstallInterfaceLanguage(InterfaceLanguage(TLanguageChoice::Automatic),
                             {QStringLiteral(QVT_QM_DIR)});
    Start();
    EXPECT_EQ(form->ExitBtn->text(), QString::fromUtf8(d.exit));

    QString message;
    const TMessageHook previous = SetMessageHook([&](TMessageKind, const QString& text) {
      message = text;
    });
    form->SauverBtn->click();
    SetMessageHook(previous);
    EXPECT_TRUE(message.startsWith(QString::fromUtf8(d.nothing))) << message.toStdString();

    QString cancel;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
      if (auto* box = dialog->findChild<QDialogButtonBox*>())
        if (QPushButton* b = box->button(QDialogButtonBox::Cancel))
          cancel = b->text().remove(QLatin1Char('&'));
      dialog->reject();
    });
    form->OuvrirBtn->click();
    EXPECT_EQ(cancel, QString::fromUtf8(d.cancel));
    TearDown();
  }
  unsetenv("LANG");
  InstallInterfaceLanguage(QStringLiteral("fr"), {});
}

} // namespace
} // namespace qvt
