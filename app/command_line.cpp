// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of qvt2_oscillo.
#include "command_line.h"

#include <iterator>

namespace qvt {

TCommandLine ReadCommandLine(const std::vector<std::string>& arguments, bool afterQt,
                             bool english) {
  TCommandLine line;
  for (auto it = arguments.begin(); it != arguments.end(); ++it) {
    const std::string& a = *it;
    if (a == "--record-points") {
      if (std::next(it) == arguments.end() || std::next(it)->empty()) {
        line.Action = TCommandLine::Error;
        line.Message = english ? "--record-points needs a file name"
                               : "--record-points demande un nom de fichier";
        return line;
      }
      line.RecordPoints = *++it;
      continue;
    }
    if (a == "--help" || a == "-h") {
      line.Action = TCommandLine::Help;
      return line;
    }
    if (a == "--version" || a == "-v") {
      line.Action = TCommandLine::Version;
      return line;
    }
    if (a == "--simulate") {
      line.Simulate = true;
      continue;
    }
    // Once Qt has taken its own arguments out, one plain word is the file to open ("-" alone
    // and a second file are refused).
    if (afterQt && a.size() > 1 && a[0] != '-' && line.File.empty()) {
      line.File = a;
      continue;
    }
    // Before Qt has run, single-dash options and plain words may be Qt's (-platform xcb);
    // afterwards nothing of Qt's is left.
    if (a.rfind("--", 0) == 0 || afterQt) {
      line.Action = TCommandLine::Error;
      line.Message = (english ? "unknown option: " : "option inconnue : ") + a;
      return line;
    }
  }
  return line;
}

std::string UsageText(const std::string& program, bool english) {
  if (english)
    return "Usage: " + program +
           " [--simulate] [FILE.qvtm]\n"
           "Oscilloscope and function generator for the Vexor QVT II interface.\n"
           "\n"
           "  FILE         a saved measurement to show at start\n"
           "  --record-points FILE\n"
           "               automatic point by point mode, each point recorded at once\n"
           "               into FILE\n"
           "  --simulate   uses the virtual interface instead of a connected one\n"
           "               (like QVTLINK_DEVICE=sim)\n"
           "  --help       shows this help\n"
           "  --version    shows the version\n"
           "\n"
           "Environment variables:\n"
           "  QVTLINK_DEVICE   sim (virtual interface) or usb (connected interface, default)\n"
           "  QVTLINK_SIM      settings of the virtual interface (key=value;...)\n"
           "  QVTLINK_USB_ID   USB identifiers vvvv:pppp of the interface, separated by commas\n"
           "  QVT2_CONFIG      settings file to use\n";
  return "Usage : " + program +
         " [--simulate] [FICHIER.qvtm]\n"
         "Oscilloscope et générateur basse fréquence pour l'interface Vexor QVT II.\n"
         "\n"
         "  FICHIER      mesure enregistrée à afficher au démarrage\n"
         "  --record-points FICHIER\n"
         "               mode point par point automatique, chaque point enregistré aussitôt\n"
         "               dans FICHIER\n"
         "  --simulate   utilise l'interface virtuelle au lieu d'une interface branchée\n"
         "               (comme QVTLINK_DEVICE=sim)\n"
         "  --help       affiche cette aide\n"
         "  --version    affiche la version\n"
         "\n"
         "Variables d'environnement :\n"
         "  QVTLINK_DEVICE   sim (interface virtuelle) ou usb (interface branchée, par défaut)\n"
         "  QVTLINK_SIM      réglages de l'interface virtuelle (clé=valeur;...)\n"
         "  QVTLINK_USB_ID   identifiants USB vvvv:pppp de l'interface, séparés par des virgules\n"
         "  QVT2_CONFIG      fichier de réglages à utiliser\n";
}

std::string RefusalText(const std::string& program, const std::string& message, bool english) {
  return program + ": " + message + "\n" +
         (english ? "Try '" + program + " --help'.\n"
                  : "Essayez « " + program + " --help ».\n");
}

} // namespace qvt
