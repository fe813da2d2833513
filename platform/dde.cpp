// SPDX-License-Identifier: GPL-3.0-or-later
// Execute requests over the D-Bus session bus: the server's adaptor, the client's conversation.
#include "dde.h"

#include <QAtomicInt>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QLoggingCategory>
#include <QTimer>

#include "ansi.h"

Q_LOGGING_CATEGORY(lcDde, "qvt.dde")

namespace qvt {
namespace {

bool IsNameChar(QChar c, bool allowDash) {
  const char16_t u = c.unicode();
  return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') ||
         u == '_' || (allowDash && u == '-');
}

// One element of a bus name (letters, digits, "_" and "-", no leading digit) or of an object
// path (the same without "-").
QString Element(const QString& name, bool allowDash) {
  QString out;
  out.reserve(name.size() + 1);
  for (QChar c : name)
    out += IsNameChar(c, allowDash) ? c : QChar('_');
  if (out.isEmpty() || out.front().isDigit())
    out.prepend('_');
  return out;
}

// The bus calls this adaptor's slot; it hands the text to its server.
class TDdeAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.qvt2.DDE")

public:
  explicit TDdeAdaptor(TDdeServer* server) : QDBusAbstractAdaptor(server), server_(server) {}

public Q_SLOTS:
  bool Execute(const QString& text) { return server_->Execute(text); }

private:
  TDdeServer* server_;
};

} // namespace

QString DdeBusName(const QString& service) {
  return QStringLiteral("org.qvt2.DDE.") + Element(service, true);
}

QString DdeObjectPath(const QString& topic) { return QStringLiteral("/") + Element(topic, false); }

std::vector<std::string> SplitExecuteLines(const QString& text) {
  std::vector<std::string> lines;
  qsizetype start = 0;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text[i];
    if (c != '\r' && c != '\n')
      continue;
    lines.push_back(AnsiFromQString(text.mid(start, i - start)));
    if (c == '\r' && i + 1 < n && text[i + 1] == '\n')
      ++i;
    start = i + 1;
  }
  if (start < n)
    lines.push_back(AnsiFromQString(text.mid(start)));
  return lines;
}

TDdeServer::TDdeServer(const QString& service, const QString& topic, THandler handler,
                       QObject* parent)
    : QObject(parent), handler_(std::move(handler)), busName_(DdeBusName(service)),
      path_(DdeObjectPath(topic)) {
  new TDdeAdaptor(this);
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    qCInfo(lcDde) << "no session bus; no server for" << busName_;
    return;
  }
  if (!bus.registerObject(path_, this, QDBusConnection::ExportAdaptors)) {
    qCWarning(lcDde) << "cannot serve" << path_ << bus.lastError().message();
    return;
  }
  if (!bus.registerService(busName_)) {
    qCWarning(lcDde) << "cannot own" << busName_ << bus.lastError().message();
    bus.unregisterObject(path_);
    return;
  }
  registered_ = true;
}

TDdeServer::~TDdeServer() {
  if (!registered_)
    return;
  QDBusConnection bus = QDBusConnection::sessionBus();
  bus.unregisterService(busName_);
  bus.unregisterObject(path_);
}

bool TDdeServer::Execute(const QString& text) {
  if (text.size() > kDdeMaxText) {
    qCInfo(lcDde) << busName_ << "refused a request of" << text.size() << "characters";
    return false;
  }
  return handler_ ? handler_(SplitExecuteLines(text)) : false;
}

bool TDdeClient::Connect(const QString& service, const QString& topic) {
  Close();
  // A connection of its own, not the program's shared one: a request to a server of this
  // same program then still goes through the bus, like any other.
  static QAtomicInt serial;
  const QString name = QStringLiteral("qvt.dde.client.%1").arg(serial.fetchAndAddRelaxed(1));
  QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
  busName_ = DdeBusName(service);
  path_ = DdeObjectPath(topic);
  if (!bus.isConnected() || bus.interface() == nullptr ||
      !bus.interface()->isServiceRegistered(busName_).value()) {
    QDBusConnection::disconnectFromBus(name);
    return false;
  }
  connection_ = name;
  return true;
}

bool TDdeClient::Execute(std::string_view text) {
  if (!Connected())
    return false;
  QDBusMessage call =
      QDBusMessage::createMethodCall(busName_, path_, kDdeInterface, QStringLiteral("Execute"));
  call << AnsiToQString(text);
  QDBusPendingCall pending = QDBusConnection(connection_).asyncCall(call, TimeoutMs);
  if (!pending.isFinished()) {
    QDBusPendingCallWatcher watcher(pending);
    QEventLoop loop;
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
    if (!watcher.isFinished())
      loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
  const QDBusPendingReply<bool> reply = pending;
  if (reply.isError()) {
    qCInfo(lcDde) << busName_ << "did not execute the request:" << reply.error().message();
    return false;
  }
  return reply.value();
}

void TDdeClient::Close() {
  if (connection_.isEmpty())
    return;
  QDBusConnection::disconnectFromBus(connection_);
  connection_.clear();
}

bool TDdeClient::WaitForService(const QString& service, int timeoutMs) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || bus.interface() == nullptr)
    return false;
  const QString name = DdeBusName(service);
  // The watcher first, then the look-up: a name taken in between is not missed.
  QDBusServiceWatcher watcher(name, bus, QDBusServiceWatcher::WatchForRegistration);
  if (bus.interface()->isServiceRegistered(name).value())
    return true;
  QEventLoop loop;
  bool registered = false;
  QObject::connect(&watcher, &QDBusServiceWatcher::serviceRegistered, &loop, [&] {
    registered = true;
    loop.quit();
  });
  QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  return registered || bus.interface()->isServiceRegistered(name).value();
}

} // namespace qvt

#include "dde.moc"
