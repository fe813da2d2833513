// SPDX-License-Identifier: GPL-3.0-or-later
// The guide window. The contents are read from index.html rather than kept here, so that the
// writers of the pages change the guide without touching the program. A window shown while a
// modal dialog runs would be blocked like every other window; tying it to the dialog (its
// transient parent) makes it one of the dialog's own, which Qt lets through.
#include "guide_window.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QListWidget>
#include <QPointer>
#include <QRegularExpression>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace qvt {

namespace {

const QString kIndex = QStringLiteral("index.html");

bool HasIndex(const QString& root, const QString& language) {
  return QFileInfo::exists(QDir(root).filePath(language + QLatin1Char('/') + kIndex));
}

// Unties the guide from a modal dialog once the dialog is hidden, so that the guide does not
// follow a window that is gone.
class TModalWatch : public QObject {
public:
  TModalWatch(QWidget* guide, QWidget* dialog) : QObject(guide), guide(guide), dialog(dialog) {
    dialog->installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == dialog && event->type() == QEvent::Hide) {
      if (guide->windowHandle() != nullptr)
        guide->windowHandle()->setTransientParent(nullptr);
      dialog->removeEventFilter(this);
      deleteLater();
    }
    return false;
  }

private:
  QWidget* guide;
  QPointer<QWidget> dialog;
};

} // namespace

QStringList GuideRoots() {
  return {QDir(QCoreApplication::applicationDirPath())
              .absoluteFilePath(QStringLiteral("../share/doc/qvt2/guide"))};
}

QString GuideFolder(const QString& language, const QStringList& roots) {
  for (const QString& lang : {language, QStringLiteral("fr")})
    for (const QString& root : roots)
      if (HasIndex(root, lang))
        return QDir::cleanPath(QDir(root).filePath(lang));
  return {};
}

TGuideWindow::TGuideWindow(const QString& language, const QStringList& roots, QWidget* parent)
    : QWidget(parent, Qt::Window), folder(GuideFolder(language, roots)) {
  setObjectName(QStringLiteral("GuideWindow"));
  setWindowTitle(tr("Aide"));
  setAttribute(Qt::WA_DeleteOnClose, false);

  auto* back = new QToolButton;
  back->setArrowType(Qt::LeftArrow);
  back->setToolTip(tr("Page précédente (Alt+Gauche)"));
  back->setAccessibleName(tr("Page précédente"));
  auto* forward = new QToolButton;
  forward->setArrowType(Qt::RightArrow);
  forward->setToolTip(tr("Page suivante (Alt+Droite)"));
  forward->setAccessibleName(tr("Page suivante"));
  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(0, 0, 0, 0);
  buttons->addWidget(back);
  buttons->addWidget(forward);
  buttons->addStretch();

  Contents = new QListWidget;
  Contents->setObjectName(QStringLiteral("GuideContents"));
  Contents->setAccessibleName(tr("Sommaire"));
  Contents->setSpacing(2);
  Browser = new QTextBrowser;
  Browser->setObjectName(QStringLiteral("GuideBrowser"));
  Browser->setOpenExternalLinks(true);
  auto* split = new QSplitter;
  split->addWidget(Contents);
  split->addWidget(Browser);
  split->setStretchFactor(0, 0);
  split->setStretchFactor(1, 1);
  split->setChildrenCollapsible(false);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(4, 4, 4, 4);
  column->addLayout(buttons);
  column->addWidget(split, 1);

  back->setEnabled(false);
  forward->setEnabled(false);
  connect(back, &QToolButton::clicked, Browser, &QTextBrowser::backward);
  connect(forward, &QToolButton::clicked, Browser, &QTextBrowser::forward);
  connect(Browser, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
  connect(Browser, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
  // Also when the contents have the focus (the browser answers them itself otherwise).
  auto* backKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Left), this);
  connect(backKey, &QShortcut::activated, Browser, &QTextBrowser::backward);
  auto* forwardKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Right), this);
  connect(forwardKey, &QShortcut::activated, Browser, &QTextBrowser::forward);
  auto* closeKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(closeKey, &QShortcut::activated, this, &QWidget::close);

  connect(Contents, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    ShowPage(item->data(Qt::UserRole).toString());
  });
  connect(Contents, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    ShowPage(item->data(Qt::UserRole).toString());
  });
  connect(Browser, &QTextBrowser::sourceChanged, this, &TGuideWindow::SelectCurrent);

  LoadContents();
  // The contents as wide as their longest title, within reason; the page wide enough for a
  // picture of the whole window (640 pixels) and its margins.
  const int width = std::clamp(Contents->sizeHintForColumn(0) + 24, 160, 300);
  split->setSizes({width, 700});
  resize(width + 720, 700);
}

void TGuideWindow::LoadContents() {
  Contents->clear();
  pages.clear();
  if (folder.isEmpty())
    return;
  QFile file(QDir(folder).filePath(kIndex));
  if (!file.open(QIODevice::ReadOnly))
    return;
  const QString html = QString::fromUtf8(file.readAll());
  const QString home = QTextDocumentFragment::fromHtml(
                           QRegularExpression(QStringLiteral("<h1[^>]*>(.*?)</h1>"),
                                              QRegularExpression::DotMatchesEverythingOption |
                                                  QRegularExpression::CaseInsensitiveOption)
                               .match(html)
                               .captured(1))
                           .toPlainText()
                           .trimmed();
  auto* first = new QListWidgetItem(home.isEmpty() ? tr("Sommaire") : home, Contents);
  first->setData(Qt::UserRole, kIndex);
  static const QRegularExpression link(
      QStringLiteral(R"re(<a\s[^>]*href\s*=\s*"([^"]+)"[^>]*>(.*?)</a>)re"),
      QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
  for (auto it = link.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    const QString href = m.captured(1);
    if (href.contains(QLatin1Char(':')) || href.startsWith(QLatin1Char('#')))
      continue; // outside links and anchors of the index itself
    const QString title = QTextDocumentFragment::fromHtml(m.captured(2)).toPlainText().simplified();
    auto* item = new QListWidgetItem(title, Contents);
    item->setData(Qt::UserRole, href);
    pages << href.section(QLatin1Char('#'), 0, 0);
  }
}

void TGuideWindow::ShowPage(const QString& page) {
  QString name = page.section(QLatin1Char('#'), 0, 0);
  const QString anchor = page.section(QLatin1Char('#'), 1);
  if (name.isEmpty())
    name = kIndex;
  else if (!name.endsWith(QLatin1String(".html")))
    name += QLatin1String(".html");
  if (folder.isEmpty()) {
    Browser->setHtml(tr("<p>Le guide n'est pas installé ; il est cherché dans :</p><p>%1</p>")
                         .arg(GuideRoots().join(QLatin1String("<br>")).toHtmlEscaped()));
  } else {
    const QString path = QDir(folder).filePath(name);
    if (QFileInfo::exists(path)) {
      QUrl url = QUrl::fromLocalFile(path);
      if (!anchor.isEmpty())
        url.setFragment(anchor);
      if (Browser->source() != url)
        Browser->setSource(url);
    } else {
      Browser->setHtml(tr("<p>Page introuvable : %1</p>").arg(name.toHtmlEscaped()));
    }
  }

  show();
  // While a modal dialog runs, the guide is one of its windows (else it would be blocked).
  QWidget* modal = QApplication::activeModalWidget();
  if (modal != nullptr && modal != this && windowHandle() != nullptr &&
      modal->windowHandle() != nullptr) {
    windowHandle()->setTransientParent(modal->windowHandle());
    new TModalWatch(this, modal);
  }
  if (isMinimized())
    showNormal();
  raise();
  activateWindow();
}

QString TGuideWindow::CurrentPage() const {
  if (folder.isEmpty() || !Browser->source().isLocalFile())
    return {};
  return QDir(folder).relativeFilePath(Browser->source().toLocalFile());
}

void TGuideWindow::SelectCurrent(const QUrl& url) {
  const QString page = url.isLocalFile() ? QFileInfo(url.toLocalFile()).fileName() : QString();
  QSignalBlocker block(Contents);
  for (int i = 0; i < Contents->count(); ++i) {
    if (Contents->item(i)->data(Qt::UserRole).toString().section(QLatin1Char('#'), 0, 0) ==
        page) {
      Contents->setCurrentRow(i);
      return;
    }
  }
  Contents->clearSelection();
}

} // namespace qvt
