// SPDX-License-Identifier: GPL-3.0-or-later
// TDDEForm through a real session bus: the macros other programs send the oscilloscope, and
// the transfers to Kalkio, played by fake_kalkio (started by the transfer itself, as the
// program starts Kalkio). Runs under dbus-run-session.
#include "dde_form.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <csignal>
#include <memory>
#include <vector>

#include "ansi.h"
#include "constante_dlg.h"
#include "graphe_osc.h"
#include "labelededit.h"
#include "message_box.h"
#include "../platform/qt_test_app.h"
#include "radiogroup.h"
#include "transfer_block.h"

namespace qvt {
namespace {

const QString kKalkioBusName = QStringLiteral("org.qvt2.DDE.Kalkio");

template <typename F> bool WaitFor(F done, int ms = 5000) {
  QDeadlineTimer deadline(ms);
  while (!done()) {
    if (deadline.hasExpired())
      return false;
    QTest::qWait(10);
  }
  return true;
}

class DdeFormTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    TestApp();
    QCoreApplication::setApplicationName(QStringLiteral("Vexor QVT 2"));
    // Where the program finds Kalkio (XDG_CONFIG_HOME is the test's own folder).
    QSettings(QStringLiteral("Kalkio")).setValue(QStringLiteral("Kalkio/Path"), FAKE_KALKIO);
  }

  void SetUp() override {
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run under dbus-run-session";
    ASSERT_TRUE(dir_.isValid());
    log_ = dir_.filePath("kalkio.log");
    qputenv("FAKE_KALKIO_LOG", log_.toLocal8Bit());
    qunsetenv("FAKE_KALKIO_REFUSE");
    previous_ = SetMessageHook([this](TMessageKind, const QString& text) { boxes_ << text; });
    ConstanteDlg = new TConstanteDlg;
    form_ = std::make_unique<TDDEForm>();
    form_->MainWindow = &window_;
    window_.show();
    other_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other_));

    graph_.Curves[0].Visible = true;
    graph_.Curves[2].Visible = true;
    graph_.FilledCount = 3;
    for (int j = 0; j < 3; ++j) {
      graph_.TimeCurve.Value[j] = j * 1e-3;
      graph_.Curves[0].Value[j] = 0.5 * j;
      graph_.Curves[2].Value[j] = -j;
    }
  }

  void TearDown() override {
    StopKalkio();
    form_.reset();
    delete ConstanteDlg;
    ConstanteDlg = nullptr;
    SetMessageHook(previous_);
  }

  // Sends `text` to the oscilloscope's server as another program does, then lets the
  // queued handling run.
  bool Send(const QString& text) {
    TDdeClient client;
    const QString service =
        QFileInfo(QCoreApplication::applicationFilePath()).fileName().section('.', 0, 0);
    if (!client.Connect(service, QStringLiteral("ServeurDDE")))
      return false;
    const bool accepted = client.Execute(AnsiFromQString(text));
    QTest::qWait(50);
    return accepted;
  }

  // Makes the other window the active one, so that activating the main window shows.
  void ActivateOther() {
    other_.activateWindow();
    ASSERT_TRUE(WaitFor([this] { return QApplication::activeWindow() == &other_; }));
  }
  // Whether the main window becomes active: waited for long when it should, briefly when not.
  bool MainActive(bool expected = true) {
    return WaitFor([this] { return QApplication::activeWindow() == &window_; },
                   expected ? 5000 : 300);
  }

  // One field ("macro" or "clipboard") of every request fake_kalkio received.
  QStringList Received(const char* field) const {
    QStringList out;
    QFile file(log_);
    if (file.open(QIODevice::ReadOnly))
      while (!file.atEnd())
        out << QJsonDocument::fromJson(file.readLine()).object()[field].toString();
    return out;
  }

  // The block as the clipboard should hold it for the dialog's current state.
  QString ExpectedBlock() const {
    QString text;
    for (const std::string& line : OscBlock(graph_, ConstanteDlg->Info("Vexor QVT 2")))
      text += AnsiToQString(line) + "\r\n";
    return text;
  }

  // Ends the fake_kalkio a transfer started, by its process id on the bus.
  static void StopKalkio() {
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    const auto pid = bus->servicePid(kKalkioBusName);
    if (!pid.isValid())
      return;
    ::kill(static_cast<pid_t>(pid.value()), SIGTERM);
    WaitFor([bus] { return !bus->isServiceRegistered(kKalkioBusName).value(); });
  }

  QTemporaryDir dir_;
  QString log_;
  QStringList boxes_;
  TMessageHook previous_;
  std::unique_ptr<TDDEForm> form_;
  QWidget window_;
  QWidget other_;
  TgrapheOsc graph_;
};

TEST_F(DdeFormTest, MacroLinesFromAnotherProgram) {
  struct Case {
    QString text;
    bool activates;
    QStringList boxes;
  };
  const std::vector<Case> cases = {
      {"focus", true, {}},
      {"Focus(x)", true, {}},
      {"FOCUS\r\n", true, {}},
      {"CONFIG|LOAD(x)", false, {}},
      {"config|save", false, {}},
      {"PRINT", false, {"Fonction inconnue : PRINT"}},
      {"Imprime(é)", false, {"Fonction inconnue : Imprime(é)"}},
      {"FOCUS\r\nFOCUS", false, {"Un message à la fois SVP"}},
      {"FOCUS\nGETDATA", false, {"Un message à la fois SVP"}},
      {"", false, {"Un message à la fois SVP"}},
  };
  for (const Case& c : cases) {
    ActivateOther();
    boxes_.clear();
    EXPECT_TRUE(Send(c.text)) << c.text.toStdString(); // every request is taken
    EXPECT_EQ(MainActive(c.activates), c.activates) << c.text.toStdString();
    EXPECT_EQ(boxes_, c.boxes) << c.text.toStdString();
  }

  boxes_.clear();
  EXPECT_FALSE(Send(QString(kDdeMaxText + 1, 'x'))); // refused unread, no box
  EXPECT_EQ(boxes_, QStringList{});

  window_.hide(); // a window that cannot take the focus
  boxes_.clear();
  EXPECT_TRUE(Send("FOCUS"));
  EXPECT_EQ(boxes_, QStringList{"Syntaxe Macro DDE : Fonction(Paramètre)"});
}

TEST_F(DdeFormTest, NoKalkioLeavesTheBlockOnTheClipboard) {
  form_->KalkioPath = dir_.filePath("no-such-kalkio");
  const QString expected = ExpectedBlock();
  form_->SendOscData(graph_);
  EXPECT_EQ(boxes_, QStringList{"Impossible de lancer Kalkio"});
  EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
  EXPECT_EQ(ConstanteDlg->NewPageCB->ItemIndex(), 1);
  EXPECT_TRUE(form_->Lines.empty());
}

// The first transfer starts Kalkio, which finds the block on the clipboard when the macro
// arrives (a shared clipboard needs a real display: checked when the test has one). After
// "GETDATA" the next transfer adds a page.
TEST_F(DdeFormTest, TransferStartsKalkioThenGetDataAddsAPage) {
  ConstanteDlg->NomConstEdit->SetText("R");
  ConstanteDlg->ValeurConstEdit->SetText("4,7k");
  const QString block = ExpectedBlock();
  form_->SendOscData(graph_);
  EXPECT_EQ(boxes_, QStringList{});
  ASSERT_EQ(Received("macro"), (QStringList{"CLIP|LOAD", "FOCUS"}));
  if (QGuiApplication::platformName() != "offscreen") {
    EXPECT_EQ(Received("clipboard").front(), block);
  }

  ConstanteDlg->NewPageCB->SetItemIndex(0); // the user chose a new file again
  ActivateOther();
  EXPECT_TRUE(Send("GETDATA"));
  EXPECT_TRUE(MainActive());
  EXPECT_EQ(ConstanteDlg->NewPageCB->ItemIndex(), 1);
  form_->SendOscData(graph_);
  EXPECT_EQ(Received("macro"), (QStringList{"CLIP|LOAD", "FOCUS", "CLIP|ADD", "FOCUS"}));
  EXPECT_EQ(boxes_, QStringList{});
}

TEST_F(DdeFormTest, RefusedMacrosAreNamed) {
  qputenv("FAKE_KALKIO_REFUSE", "*");
  form_->SendMacro("CLIP|LOAD", true);
  EXPECT_EQ(boxes_,
            (QStringList{"CLIP|LOAD non exécuté", "Bascule vers Kalkio non effectué"}));
  EXPECT_EQ(Received("macro"), (QStringList{"CLIP|LOAD", "FOCUS"}));
}

// Without a session bus (run so by CTest too) the program still works: no server, and a
// transfer says Kalkio cannot be reached, even with a program to start.
TEST(DdeFormWithoutBus, TransferSaysKalkioCannotBeReached) {
  TestApp();
  if (QDBusConnection::sessionBus().isConnected())
    GTEST_SKIP() << "a session bus is running";
  QStringList boxes;
  const TMessageHook previous =
      SetMessageHook([&](TMessageKind, const QString& text) { boxes << text; });
  TDDEForm form;
  EXPECT_FALSE(form.ServeurDDE->Registered());
  form.KalkioPath = FAKE_KALKIO;
  form.SendMacro("CLIP|LOAD", true);
  EXPECT_EQ(boxes, QStringList{"Impossible de lancer Kalkio"});
  SetMessageHook(previous);
}

} // namespace
} // namespace qvt
