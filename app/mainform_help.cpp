// SPDX-License-Identifier: GPL-3.0-or-later
// The user's guide from the main window: the "Aide" button and F1. F1 is caught by a filter on
// the application rather than a shortcut, because a shortcut of the main window does not fire
// while a modal dialog runs, and the dialogs are where help is asked for most.
#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QScrollArea>
#include <QTableWidget>
#include <QToolButton>

#include "calc_tools.h"
#include "computed_dlg.h"
#include "channel_dlg.h"
#include "etalon_seuil_dlg.h"
#include "guide_window.h"
#include "hints.h"
#include "mainform.h"
#include "model_panel.h"
#include "options_dlg.h"
#include "program_language.h"

namespace qvt {

namespace {

// F1 anywhere but in the guide itself.
class THelpKey : public QObject {
public:
  explicit THelpKey(TMainForm* form) : QObject(form), form(form) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress)
      return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
      return false;
    // The first widget the key reaches is the focus widget (or a window without one); the
    // key does not travel further once taken.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr)
      return false;
    if (form->Guide != nullptr && widget->window() == form->Guide)
      return false;
    form->ShowGuide(form->HelpTopic(widget));
    return true;
  }

private:
  TMainForm* form;
};

// Deletes the guide with the main window (the guide is not its child, see ShowGuide).
class TGuideOwner : public QObject {
public:
  TGuideOwner(QObject* form, QWidget* guide) : QObject(form), guide(guide) {}
  ~TGuideOwner() override { delete guide; }

private:
  QWidget* guide;
};

} // namespace

void TMainForm::ConnectHelp() {
  SetHint(HelpBtn, QCoreApplication::translate(
                       "MainWindow", "Aide|Le guide de l'utilisateur (F1 : la page de ce qui a le focus)"));
  connect(HelpBtn, &QToolButton::clicked, this, &TMainForm::HelpBtnClick);
  qApp->installEventFilter(new THelpKey(this));
}

void TMainForm::HelpBtnClick() {
  ShowGuide(QStringLiteral("first-steps"));
}

void TMainForm::ShowGuide(const QString& page) {
  if (Guide == nullptr) {
    // A window of its own, not a child of the main window: it stays where the user put it
    // when the main window is minimised; it goes with the main window all the same.
    Guide = new TGuideWindow(InstalledInterfaceLanguage(),
                             GuideFolders.isEmpty() ? GuideRoots() : GuideFolders);
    new TGuideOwner(this, Guide);
  }
  Guide->ShowPage(page);
}

QString TMainForm::HelpTopic(const QWidget* focus) const {
  for (const QWidget* w = focus; w != nullptr; w = w->parentWidget()) {
    if (qobject_cast<const TCalculsDlg*>(w) != nullptr)
      return QStringLiteral("calculations");
    if (qobject_cast<const TOptionsDlg*>(w) != nullptr)
      return QStringLiteral("options");
    if (qobject_cast<const TChannelDlg*>(w) != nullptr)
      return QStringLiteral("channels");
    if (qobject_cast<const TEtalonSeuilDlg*>(w) != nullptr)
      return QStringLiteral("trigger");
    if (qobject_cast<const QFileDialog*>(w) != nullptr)
      return QStringLiteral("files");
    if (w == MesuresTable)
      return QStringLiteral("measurements");
    if (w == SpectreBar)
      return QStringLiteral("frequencies");
    if (w == ModelArea || w == ModelPanel)
      return QStringLiteral("modelling");
    if (w == CalcToolsArea)
      return QStringLiteral("calculations");
    if (w == GBFPanel)
      return QStringLiteral("generator");
    if (w == PointGB)
      return QStringLiteral("point-by-point");
    if (w == PanelVoies)
      return QStringLiteral("channels");
    if (w == SynchroGB || w == SeuilGB)
      return QStringLiteral("trigger");
    if (w == BaseDeTempsGB)
      return QStringLiteral("timebase");
    if (w->isWindow() && w != this)
      break; // another window of the program: its own topic or none
  }
  // The focus rests in the toolbar's one-pixel box most of the time: the topic is then what
  // the window shows.
  if (focus == nullptr || focus->window() == this) {
    if (ModelArea != nullptr && ModelArea->isVisible())
      return QStringLiteral("modelling");
    if (MesuresTable != nullptr && MesuresTable->isVisible())
      return QStringLiteral("measurements");
    if (SpectreBar != nullptr && SpectreBar->isVisible())
      return QStringLiteral("frequencies");
    if (PointMode)
      return QStringLiteral("point-by-point");
  }
  return QStringLiteral("first-steps");
}

} // namespace qvt
