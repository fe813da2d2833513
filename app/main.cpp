// SPDX-License-Identifier: GPL-3.0-or-later
// qvt2_oscillo: the oscilloscope program. Reads its command line, starts the window system,
// creates its forms in their order and runs until the main window closes. SIGINT and SIGTERM
// close the main window as its close button does, so that a session ending keeps the
// close-time work (placement and settings).
#include <QApplication>
#include <QCheckBox>
#include <QTimer>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/socket.h>
#include <unistd.h>

#include "command_line.h"
#include "config_file.h"
#include "gbf.h"
#include "globals.h"
#include "icons.h"
#include "mainform.h"
#include "mainform_texts.h"
#include "program_forms.h"
#include "program_language.h"

namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int number) {
  const char byte = static_cast<char>(number);
  [[maybe_unused]] const auto n = ::write(signalPipe[0], &byte, 1);
  // A second signal ends the program the hard way, should closing itself hang.
  std::signal(number, SIG_DFL);
}

std::vector<std::string> Arguments(const QStringList& list) {
  std::vector<std::string> out;
  for (qsizetype i = 1; i < list.size(); ++i)
    out.push_back(list[i].toStdString());
  return out;
}

int Refuse(const char* program, const std::string& message, bool english) {
  std::fputs(qvt::RefusalText(program, message, english).c_str(), stderr);
  return 2;
}

} // namespace

int main(int argc, char* argv[]) {
  using qvt::TCommandLine;
  const char* program = "qvt2_oscillo";
  // --help and --version answer before the window system starts, so that they work without
  // a display; in the desktop's language, Qt's translator not being there yet.
  const bool english = qvt::DesktopLanguage() == QLatin1String("en");
  std::vector<std::string> raw(argv + 1, argv + argc);
  TCommandLine line = qvt::ReadCommandLine(raw, false, english);
  if (line.Action == TCommandLine::Help) {
    std::fputs(qvt::UsageText(program, english).c_str(), stdout);
    return 0;
  }
  if (line.Action == TCommandLine::Version) {
    std::printf("%s %s\n", program, QVT2_VERSION);
    return 0;
  }
  if (line.Action == TCommandLine::Error)
    return Refuse(program, line.Message, english);

  QApplication app(argc, argv);
  line = qvt::ReadCommandLine(Arguments(QApplication::arguments()), true, english);
  if (line.Action == TCommandLine::Error)
    return Refuse(program, line.Message, english);
  if (line.Simulate)
    ::setenv("QVTLINK_DEVICE", "sim", 1); // before the library opens anything
  DemoOnFirstRun = line.Simulate;
  QApplication::setApplicationName(qvt::texts::U8(qvt::texts::kApplicationTitle));
  QApplication::setApplicationVersion(QStringLiteral(QVT2_VERSION));
  QApplication::setWindowIcon(qvt::ProgramIcon());
  // The menu entry's name: Wayland desktops take the window's icon and name from it.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.qvt2.oscillo"));

  // What the program's units set up before any form.
  ConfigFileName = qvt::SettingsFilePath(QApplication::applicationFilePath().toStdString());
  // The program's texts and Qt's own dialogs in the desktop's language or the one chosen in
  // "Options", before the first form takes its texts.
  qvt::InstallInterfaceLanguage(
      qvt::InterfaceLanguage(qvt::ReadLanguageChoice(ConfigFileName)),
      qvt::ProgramTranslationFolders());
  Generator = new TGBF;

  auto* mainForm = new qvt::TMainForm;
  qvt::CreateProgramForms(mainForm);

  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) == 0) {
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, mainForm);
    QObject::connect(notifier, &QSocketNotifier::activated, mainForm, [mainForm] {
      char byte = 0;
      [[maybe_unused]] const auto n = ::read(signalPipe[1], &byte, 1);
      mainForm->close();
    });
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
  }

  if (!line.RecordPoints.empty()) {
    // Point by point, automatic: the first activation starts it in that mode.
    mainForm->PointMode = true;
    mainForm->PointAutoCB->setChecked(true);
  }
  mainForm->show();
  // After the first activation (queued by show()): the set-up is in place by then.
  const QString record = QString::fromStdString(line.RecordPoints);
  const QString file = QString::fromStdString(line.File);
  QTimer::singleShot(0, mainForm, [mainForm, record, file] {
    if (!record.isEmpty())
      mainForm->StartRecording(record);
    if (!file.isEmpty())
      mainForm->OpenMeasureFile(file);
  });
  const int status = QApplication::exec();
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  delete mainForm; // with it the dialogs, the device object (port closed) and the graphs
  delete Generator;
  Generator = nullptr;
  return status;
}
