// SPDX-License-Identifier: GPL-3.0-or-later
// Execute requests between programs, as DDE knows them, over the D-Bus session bus.
//
// A server for service S and topic T owns the bus name "org.qvt2.DDE.S" and serves the object
// "/T" with the interface "org.qvt2.DDE", whose one method Execute(s text) -> (b accepted)
// carries a request: a text of one or more lines. Any program can send one, for example
//   gdbus call --session --dest org.qvt2.DDE.Kalkio --object-path /ServeurDDE
//     --method org.qvt2.DDE.Execute FOCUS
// (one command line).
// Texts cross the bus as UTF-8 and are 8-bit code-page strings (platform/ansi) on both sides.
//
// Without a session bus nothing fails loudly: a server is simply not registered and a client
// does not connect.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qvt {

inline constexpr char kDdeInterface[] = "org.qvt2.DDE";
// Longest request a server takes, in characters; a longer one is refused unread. Requests
// are short macros: the limit keeps a flood of text from tying up the receiving program.
inline constexpr int kDdeMaxText = 4096;

// "org.qvt2.DDE." + service and "/" + topic. Characters that a bus name or an object path
// element cannot hold become "_", as does a leading digit; an empty name becomes "_".
QString DdeBusName(const QString& service);
QString DdeObjectPath(const QString& topic);

// The lines of a request: the text split at CR LF, LF and lone CR, each line converted to the
// code page. A break at the very end adds no empty line, and an empty text has no line.
std::vector<std::string> SplitExecuteLines(const QString& text);

// The server side: registered on the session bus while it lives.
class TDdeServer : public QObject {
  Q_OBJECT

public:
  // Gets the lines of a request; its result is the request's reply (true: accepted). It runs
  // while the requesting program waits for that reply: work that may wait on the user, such
  // as a message box, belongs after the reply (queued), not in the handler.
  using THandler = std::function<bool(const std::vector<std::string>& lines)>;

  // Takes the bus name and serves the topic's object on the session bus. When there is no
  // session bus or another program owns the name, the server stays unregistered.
  TDdeServer(const QString& service, const QString& topic, THandler handler,
             QObject* parent = nullptr);
  // Gives the name and the object back.
  ~TDdeServer() override;

  bool Registered() const { return registered_; }
  const QString& BusName() const { return busName_; }
  const QString& ObjectPath() const { return path_; }

  // Called by the bus for each request: false for a text longer than kDdeMaxText or without
  // a handler, else the handler's result.
  bool Execute(const QString& text);

private:
  THandler handler_;
  QString busName_;
  QString path_;
  bool registered_ = false;
};

// The client side: a conversation with one service and topic, opened on demand and closed
// after use. Its own connection to the session bus lives from Connect to Close.
class TDdeClient {
public:
  TDdeClient() = default;
  TDdeClient(const TDdeClient&) = delete;
  TDdeClient& operator=(const TDdeClient&) = delete;
  ~TDdeClient() { Close(); }

  // Opens the conversation: true when the session bus is reached and the service's bus name
  // has an owner. A conversation already open is closed first.
  bool Connect(const QString& service, const QString& topic);
  bool Connected() const { return !connection_.isEmpty(); }
  // Sends one request and waits for its reply, at most TimeoutMs. Events other than user
  // input run meanwhile (the other program may ask the clipboard of this one, or send it a
  // request of its own). True when the server accepted the text; false when not connected,
  // refused, on a bus error or when the time ran out.
  bool Execute(std::string_view text);
  void Close();

  // Waits, letting events other than user input run, until the service's bus name has an
  // owner: true as soon as it has, false after timeoutMs or without a session bus.
  static bool WaitForService(const QString& service, int timeoutMs);

  int TimeoutMs = 5000;

private:
  QString connection_; // name of the open connection, empty when closed
  QString busName_;
  QString path_;
};

} // namespace qvt
