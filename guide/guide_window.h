// SPDX-License-Identifier: GPL-3.0-or-later
// TGuideWindow: the user's guide, a top-level window of its own ("Aide"): the contents on the
// left, built from the links of the guide's index.html, and the page on the right, with its
// links, back and forward (Alt+Left, Alt+Right). It stays usable while a modal dialog runs.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QListWidget;
class QTextBrowser;
class QUrl;

namespace qvt {

// The folders holding the guide's languages, the first first: "../share/doc/qvt2/guide"
// beside the program (as installed and as built).
QStringList GuideRoots();

// The folder of the guide in `language` ("fr", "en"): the first of `roots` that has
// "<language>/index.html", else the first that has the French one; empty when none has.
QString GuideFolder(const QString& language, const QStringList& roots);

class TGuideWindow : public QWidget {
  Q_OBJECT

public:
  // The guide in `language` found in `roots` (French when that language is missing).
  explicit TGuideWindow(const QString& language, const QStringList& roots = GuideRoots(),
                        QWidget* parent = nullptr);

  // Shows the window, raised and active, at `page`: a page's name with or without ".html",
  // and with an optional "#anchor" ("trigger#single"); the index for an empty name. While a
  // modal dialog runs the window is tied to it, so that it takes the mouse and the keys.
  void ShowPage(const QString& page);

  // The page shown, relative to the guide's folder ("measurements.html"); empty before the
  // first page.
  QString CurrentPage() const;
  // The guide's folder, empty when no guide was found.
  QString Folder() const { return folder; }
  // The contents as listed: the pages in the index's order.
  QStringList ContentsPages() const { return pages; }

  QTextBrowser* Browser = nullptr;
  QListWidget* Contents = nullptr;

private:
  void LoadContents();
  void SelectCurrent(const QUrl& url);

  QString folder;
  QStringList pages;
};

} // namespace qvt
