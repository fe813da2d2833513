// SPDX-License-Identifier: GPL-3.0-or-later
// TDDEForm: the macro server's commands and the client that sends data to Kalkio.
#include "dde_form.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QSettings>
#include <QWidget>

#include <stdexcept>

#include "ansi.h"
#include "constante_dlg.h"
#include "macro_line.h"
#include "message_box.h"
#include "radiogroup.h"
#include "text8.h"
#include "translate.h"

qvt::TDDEForm* DDEForm = nullptr;

namespace qvt {
namespace {

constexpr char kServerTopic[] = "ServeurDDE";
constexpr char kKalkioService[] = "Kalkio";
constexpr char kKalkioTopic[] = "ServeurDDE";

// The texts of the boxes, written once (translated where shown).
const char* const kOneMessage = QT_TRANSLATE_NOOP("qvt::TDDEForm", "Un message à la fois SVP");
const char* const kUnknownFunction = QT_TRANSLATE_NOOP("qvt::TDDEForm", "Fonction inconnue : %1");
const char* const kMacroSyntax =
    QT_TRANSLATE_NOOP("qvt::TDDEForm", "Syntaxe Macro DDE : Fonction(Paramètre)");
const char* const kCannotStart = QT_TRANSLATE_NOOP("qvt::TDDEForm", "Impossible de lancer Kalkio");
const char* const kNotExecuted = QT_TRANSLATE_NOOP("qvt::TDDEForm", "%1 non exécuté");
const char* const kNoSwitch = QT_TRANSLATE_NOOP("qvt::TDDEForm", "Bascule vers Kalkio non effectué");

QString ProgramService() {
  return QFileInfo(QCoreApplication::applicationFilePath()).fileName().section('.', 0, 0);
}

// The hourglass while a transfer runs.
class TWaitCursor {
public:
  TWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;
};

} // namespace

TDDEForm::TDDEForm(QObject* parent) : QObject(parent) {
  setObjectName("DDEForm");
  KalkioPath = QSettings(QStringLiteral("Kalkio"))
                   .value(QStringLiteral("Kalkio/Path"), QStringLiteral("kalkio"))
                   .toString();
  // The reply goes back before the line is handled: a box the handling shows must not keep
  // the requesting program waiting for the user.
  ServeurDDE = new TDdeServer(
      ProgramService(), QString::fromLatin1(kServerTopic),
      [this](const std::vector<std::string>& lines) {
        QMetaObject::invokeMethod(
            this, [this, lines] { ServeurDDEExecuteMacro(lines); }, Qt::QueuedConnection);
        return true;
      },
      this);
}

void TDDEForm::ServeurDDEExecuteMacro(const std::vector<std::string>& lines) {
  if (lines.size() != 1) {
    ShowMessage(TMessageKind::Error, tr(kOneMessage), false);
    return;
  }
  const std::string& line = lines.front();
  try {
    switch (ParseMacroLine(line).Command) {
    case TMacroCommand::ConfigLoad:
    case TMacroCommand::ConfigSave:
      break;
    case TMacroCommand::Focus:
      ActivateMainWindow();
      break;
    case TMacroCommand::GetData:
      if (ConstanteDlg != nullptr)
        ConstanteDlg->NewPageCB->SetItemIndex(1);
      ActivateMainWindow();
      break;
    case TMacroCommand::Unknown:
      ShowMessage(TMessageKind::Error, tr(kUnknownFunction).arg(AnsiToQString(line)), false);
      break;
    }
  } catch (const std::exception&) {
    ShowMessage(TMessageKind::Error, tr(kMacroSyntax), false);
  }
}

void TDDEForm::ActivateMainWindow() {
  if (MainWindow == nullptr || !MainWindow->isVisible() || !MainWindow->isEnabled())
    throw std::runtime_error("the main window cannot take the focus");
  if (MainWindow->isMinimized())
    MainWindow->setWindowState(MainWindow->windowState() & ~Qt::WindowMinimized);
  MainWindow->raise();
  MainWindow->activateWindow();
}

void TDDEForm::SendMacro(std::string_view macro, bool focus) {
  const std::string text = ShortString(macro, kLongText);
  const QString service = QString::fromLatin1(kKalkioService);
  const QString topic = QString::fromLatin1(kKalkioTopic);
  bool open = ClientDDE.Connect(service, topic);
  if (!open && !KalkioPath.isEmpty() && QProcess::startDetached(KalkioPath, {}) &&
      TDdeClient::WaitForService(service, StartWaitMs))
    open = ClientDDE.Connect(service, topic);
  if (!open) {
    ShowMessage(TMessageKind::Information, tr(kCannotStart));
    return;
  }
  if (!ClientDDE.Execute(text))
    ShowMessage(TMessageKind::Information, tr(kNotExecuted).arg(AnsiToQString(text)));
  if (focus && !ClientDDE.Execute("FOCUS"))
    ShowMessage(TMessageKind::Information, tr(kNoSwitch));
  ClientDDE.Close();
}

TTransferInfo TDDEForm::CurrentInfo() const {
  const std::string title = AnsiFromQString(QCoreApplication::applicationName());
  if (ConstanteDlg != nullptr)
    return ConstanteDlg->Info(title);
  TTransferInfo info;
  info.Title = title;
  return info;
}

void TDDEForm::SendOscData(const TgrapheOsc& graph) {
  const TTransferInfo info = CurrentInfo();
  Transfer(OscBlock(graph, info), info.NewPage);
}

void TDDEForm::SendPointData(const TgraphePoint& graph) {
  const TTransferInfo info = CurrentInfo();
  Transfer(PointBlock(graph, info), info.NewPage);
}

void TDDEForm::AddConstantLines() { qvt::AddConstantLines(Lines, CurrentInfo()); }

void TDDEForm::Transfer(std::vector<std::string> lines, bool newPage) {
  const TWaitCursor wait;
  Lines = std::move(lines);
  QString text;
  for (const std::string& line : Lines)
    text += AnsiToQString(line) + QStringLiteral("\r\n");
  QGuiApplication::clipboard()->setText(text);
  SendMacro(newPage ? "CLIP|ADD" : "CLIP|LOAD", true);
  // The next transfer adds a page to the same Kalkio file, whether Kalkio took this one or
  // the user pastes the block by hand.
  if (ConstanteDlg != nullptr)
    ConstanteDlg->NewPageCB->SetItemIndex(1);
  Lines.clear();
}

} // namespace qvt
