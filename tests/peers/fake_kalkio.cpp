// SPDX-License-Identifier: GPL-3.0-or-later
// fake_kalkio: stands in for the companion program Kalkio on the session bus, for the tests
// of the transfer. It serves Kalkio's macro server (service "Kalkio", topic "ServeurDDE"),
// shows no window, and appends one JSON line per request to its log:
//   {"macro": <the request's text>, "clipboard": <the clipboard's text at that moment>}
//
//   fake_kalkio [--log FILE] [--refuse MACRO]... [--lifetime SECONDS]
// The environment gives the same: FAKE_KALKIO_LOG, FAKE_KALKIO_REFUSE (macros separated by
// ",", "*" for all), FAKE_KALKIO_LIFETIME. A refused macro gets the reply false. The program
// ends after its lifetime (30 s unless told), so that none outlives its test.
#include <QClipboard>
#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <cstdio>

#include "ansi.h"
#include "dde.h"

int main(int argc, char* argv[]) {
  // The offscreen platform unless the test names one (the clipboard needs a platform).
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  QCommandLineParser parser;
  const QCommandLineOption logOption("log", "File the requests are appended to.", "file",
                                     qEnvironmentVariable("FAKE_KALKIO_LOG"));
  const QCommandLineOption refuseOption("refuse", "Macro to refuse (\"*\": every one).", "macro");
  const QCommandLineOption lifetimeOption("lifetime", "Seconds before the program ends.",
                                          "seconds",
                                          qEnvironmentVariable("FAKE_KALKIO_LIFETIME", "30"));
  parser.addOptions({logOption, refuseOption, lifetimeOption});
  parser.process(app);

  const QString logName = parser.value(logOption);
  QStringList refused = parser.values(refuseOption);
  if (const QString env = qEnvironmentVariable("FAKE_KALKIO_REFUSE"); !env.isEmpty())
    refused += env.split(',');

  qvt::TDdeServer server(
      QStringLiteral("Kalkio"), QStringLiteral("ServeurDDE"),
      [&](const std::vector<std::string>& lines) {
        QString macro;
        for (const std::string& line : lines)
          macro += (macro.isEmpty() ? QString() : QStringLiteral("\n")) + qvt::AnsiToQString(line);
        QJsonObject record{{"macro", macro},
                           {"clipboard", QGuiApplication::clipboard()->text()}};
        if (!logName.isEmpty()) {
          QFile log(logName);
          if (log.open(QIODevice::Append))
            log.write(QJsonDocument(record).toJson(QJsonDocument::Compact) + '\n');
        }
        return !refused.contains(QStringLiteral("*")) && !refused.contains(macro);
      });
  if (!server.Registered()) {
    std::fprintf(stderr, "fake_kalkio: cannot own %s on the session bus\n",
                 qPrintable(server.BusName()));
    return 1;
  }
  QTimer::singleShot(parser.value(lifetimeOption).toInt() * 1000, &app, &QCoreApplication::quit);
  return QGuiApplication::exec();
}
