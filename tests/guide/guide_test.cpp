// SPDX-License-Identifier: GPL-3.0-or-later
// The user's guide: its pages against its contents and its pictures, and F1 from the main
// window and from a modal dialog.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QWindow>

#include <set>

#include "../app/mainform_fixture.h"
#include "guide_window.h"
#include "options_dlg.h"

namespace qvt {
namespace {

QString Read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QStringList Captures(const QString& html, const char* pattern) {
  QStringList out;
  const QRegularExpression re(QString::fromLatin1(pattern),
                              QRegularExpression::CaseInsensitiveOption);
  for (auto it = re.globalMatch(html); it.hasNext();)
    out << it.next().captured(1);
  return out;
}

TEST(GuidePages, EveryPageIsInBothLanguagesAndShowsOnlyPicturesTheScriptMakes) {
  TestApp();
  const QDir source(QStringLiteral(QVT_GUIDE_SOURCE_DIR));
  std::set<QString> pictures;
  for (const QString& line : Read(source.filePath("pictures.list")).split('\n'))
    if (!line.isEmpty() && !line.startsWith('#'))
      pictures.insert(QStringLiteral("pictures/") + line.trimmed() + QStringLiteral(".png"));
  ASSERT_FALSE(pictures.empty());

  QStringList contents[2];
  const char* languages[] = {"fr", "en"};
  for (int l = 0; l < 2; ++l) {
    const QDir dir(source.filePath(languages[l]));
    TGuideWindow window(languages[l], {source.path()});
    ASSERT_EQ(window.Folder(), QDir::cleanPath(dir.path()));
    contents[l] = window.ContentsPages();
    EXPECT_GE(contents[l].size(), 10) << languages[l];
    const QStringList pages = QStringList(contents[l]) << QStringLiteral("index.html");
    for (const QString& page : pages) {
      const QString html = Read(dir.filePath(page));
      EXPECT_FALSE(html.isEmpty()) << languages[l] << "/" << page.toStdString() << " is missing";
      for (const QString& src : Captures(html, R"re(<img\s[^>]*src\s*=\s*"([^"]+)")re"))
        EXPECT_TRUE(pictures.count(src) != 0)
            << languages[l] << "/" << page.toStdString() << " shows " << src.toStdString()
            << ", which scripts/guide-pictures.sh does not make";
      for (const QString& href : Captures(html, R"re(<a\s[^>]*href\s*=\s*"([^"#:]+)[^"]*")re"))
        EXPECT_TRUE(dir.exists(href))
            << languages[l] << "/" << page.toStdString() << " links to " << href.toStdString();
    }
  }
  EXPECT_EQ(contents[0], contents[1]) << "both languages list the same pages in the same order";
}

class GuideKeyTest : public MainFormTest {
protected:
  void SetUp() override {
    Start();
    form->GuideFolders = {QStringLiteral(QVT_GUIDE_BUILD_DIR)};
  }
  bool GuideAt(const QString& page) {
    return WaitFor([&] {
      return form->Guide != nullptr && form->Guide->isVisible() &&
             form->Guide->CurrentPage() == page;
    });
  }
};

TEST_F(GuideKeyTest, F1OnTheMainWindowOpensTheGuideAtWhatItShows) {
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr);
  QTest::keyClick(focus, Qt::Key_F1);
  EXPECT_TRUE(GuideAt("first-steps.html"));
  EXPECT_EQ(form->Guide->windowTitle(), QStringLiteral("Aide"));
  // The contents come from the index, and follow the page shown.
  ASSERT_GT(form->Guide->Contents->count(), 10);
  EXPECT_EQ(form->Guide->Contents->currentItem()->data(Qt::UserRole).toString(),
            "first-steps.html");

  // With the "Mesures" panel shown, F1 goes to its page.
  form->MesuresBtn->click();
  QApplication::setActiveWindow(form.get());
  form->Edit1->setFocus();
  QTest::keyClick(form->Edit1, Qt::Key_F1);
  EXPECT_TRUE(GuideAt("measurements.html"));
  // Alt+Left goes back.
  QTest::keyClick(form->Guide->Browser, Qt::Key_Left, Qt::AltModifier);
  EXPECT_TRUE(GuideAt("first-steps.html"));
}

TEST_F(GuideKeyTest, F1InTheOptionsDialogOpensAGuideThatTakesTheKeysWhileTheDialogRuns) {
  bool atOptions = false, backWorked = false;
  WhenShown<TOptionsDlg>([&](TOptionsDlg* d) {
    QWidget* focus = d->focusWidget() != nullptr ? d->focusWidget() : d;
    QTest::keyClick(focus, Qt::Key_F1);
    atOptions = GuideAt("options.html");
    if (atOptions) {
      // Through the window system, as the user's keys come: a window that the dialog
      // blocked would not get them.
      form->Guide->ShowPage("channels");
      QTest::keyClick(form->Guide->windowHandle(), Qt::Key_Left, Qt::AltModifier);
      backWorked = GuideAt("options.html");
    }
    d->BtnCancel->click();
  });
  form->OptionsBtnClick();
  EXPECT_TRUE(atOptions);
  EXPECT_TRUE(backWorked) << "the guide is blocked by the modal dialog";
}

} // namespace
} // namespace qvt
