// SPDX-License-Identifier: GPL-3.0-or-later
// TDDEForm: the program's side of the data exchange with other programs: the macro server
// other programs reach it through, and the client that hands data to Kalkio.
//
// Server: service = the program's file name up to its first ".", topic "ServeurDDE" (see
// platform/dde.h for the bus names). A request must be one line "Function(Parameter)"; the
// functions are CONFIG|LOAD and CONFIG|SAVE (accepted, nothing done), FOCUS (the main window
// comes to the front) and GETDATA (the next transfer adds a page, then as FOCUS). The reply
// "accepted" goes back at once; the line is handled afterwards, and its error boxes do not
// wait for the user.
//
// Client: the transfers put the data block on the clipboard and send Kalkio (service
// "Kalkio", topic "ServeurDDE") "CLIP|LOAD" or "CLIP|ADD", then "FOCUS".
#pragma once

#include <QObject>
#include <QString>

#include <string>
#include <string_view>
#include <vector>

#include "dde.h"
#include "transfer_block.h"

class QWidget;

namespace qvt {

class TgrapheOsc;
class TgraphePoint;

class TDDEForm : public QObject {
  Q_OBJECT

public:
  // Registers the server (absent without a session bus) and reads Kalkio's program path:
  // QSettings organisation "Kalkio", key "Kalkio/Path" (the registry value
  // Software\Kalkio\Kalkio\Path on Windows), "kalkio" when missing.
  explicit TDDEForm(QObject* parent = nullptr);

  // Handles the lines of one request (8-bit texts). Not exactly one line: "Un message à la
  // fois SVP". An unknown function: "Fonction inconnue : " and the line. A window that cannot
  // be activated (none set, hidden or disabled): "Syntaxe Macro DDE : Fonction(Paramètre)".
  // The boxes are error boxes shown without waiting.
  void ServeurDDEExecuteMacro(const std::vector<std::string>& lines);

  // Sends `macro` (8-bit, at most 255 bytes are sent) to Kalkio and, with `focus`, "FOCUS"
  // after it, waiting for each reply. When no Kalkio answers, starts KalkioPath, waits up to
  // StartWaitMs for it to appear on the bus and tries once more. Information boxes:
  // "Impossible de lancer Kalkio" (nothing sent), macro + " non exécuté", "Bascule vers
  // Kalkio non effectué".
  void SendMacro(std::string_view macro, bool focus);

  // The transfers: the block of the graph (transfer_block.h) with the comment, destination
  // and constant of ConstanteDlg and the application's name as title goes on the clipboard
  // (CR LF after every line), then SendMacro("CLIP|ADD" for a new page, else "CLIP|LOAD",
  // focus). Afterwards the destination is "Nouvelle page", whatever Kalkio answered.
  void SendOscData(const TgrapheOsc& graph);
  void SendPointData(const TgraphePoint& graph);
  // Appends the constant block of ConstanteDlg to Lines (see transfer_block.h).
  void AddConstantLines();

  // The window FOCUS and GETDATA activate; set by the program once it exists. Not owned.
  QWidget* MainWindow = nullptr;
  TDdeServer* ServeurDDE = nullptr; // owned (child)
  TDdeClient ClientDDE;
  QString KalkioPath;
  int StartWaitMs = 5000;
  // The block of the transfer under way; empty between transfers.
  std::vector<std::string> Lines;

private:
  void ActivateMainWindow();
  void Transfer(std::vector<std::string> lines, bool newPage);
  TTransferInfo CurrentInfo() const;
};

} // namespace qvt

// The program's one TDDEForm, created at start-up.
extern qvt::TDDEForm* DDEForm;
