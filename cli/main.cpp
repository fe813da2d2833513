// SPDX-License-Identifier: GPL-3.0-or-later
// qvt2ctl: the oscilloscope and generator of the QVT II from the command line, for scripts and
// unattended logging. Reads the options every command shares, runs the command and turns its
// failures into messages and exit codes.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "commands.h"

namespace {

const char* kProgram = "qvt2ctl";

const char* UsageText() {
  return qvt::cli::Say(
      "Usage : qvt2ctl [--simulate] [--device NOM] COMMANDE [OPTIONS]\n"
      "\n"
      "Commandes :\n"
      "  info                      nom, version, paquets, vitesse et gains de l'interface\n"
      "  sweep                     un balayage (ou plusieurs) vers la sortie ou un fichier\n"
      "      --timebase DURÉE      « 20 ms », « 1 h », « 500us » (défaut 1 ms)\n"
      "      --channels 0,1        voies de 0 à 3 (défaut 0)\n"
      "      --range VOIE:CALIBRE  « 0:5 V », « 1:500 mV » (défaut 15 V)\n"
      "      --input VOIE:bnc|yd   entrée de la voie\n"
      "      --trigger key|VOIE:rising|falling:NIVEAU   « 0:rising:0.5 V »\n"
      "      --pretrigger          avec les 500 échantillons avant le déclenchement\n"
      "      --count N | --continuous   fichiers numérotés nom-1.csv…, ou blocs à la suite\n"
      "      --format csv|qvtm|matlab|json   -o FICHIER (écrit d'un coup)\n"
      "  measure                   un balayage et ses mesures automatiques (--json)\n"
      "  log --interval 1s [--duration 2h] --channels 0,1 -o FICHIER.csv [--force]\n"
      "                            mesure point par point, une ligne par point\n"
      "  gen sine|square|triangle --freq 440 [--amplitude 2V] [--offset 0V] [--duty 50]\n"
      "  gen formula \"5*SIN(2*PI*t)^3\" --freq 100\n"
      "  gen stop\n"
      "  fit FICHIER.qvtm --channel 1 --model charge [--from 2ms --to 18ms] [--start tau=5ms]\n"
      "      [--fixed B=0] [--degree 3..5] [--json]   ajuste un modèle (charge, affine, sine…\n"
      "                            ou une formule en t : \"E*(1-EXP(-t/tau))\")\n"
      "\n"
      "  --simulate   l'interface virtuelle    --device NOM   une autre interface (VexorQVT2-1)\n"
      "Codes de sortie : 0 fait, 1 interface absente, perdue ou occupée (ou fichier impossible\n"
      "à lire ou écrire, ou ajustement manqué), 2 ligne de commande refusée, 130 interrompu.\n",
      "Usage: qvt2ctl [--simulate] [--device NAME] COMMAND [OPTIONS]\n"
      "\n"
      "Commands:\n"
      "  info                      the interface's name, version, packet size, speed and gains\n"
      "  sweep                     one sweep (or more) to the output or a file\n"
      "      --timebase DURATION   \"20 ms\", \"1 h\", \"500us\" (default 1 ms)\n"
      "      --channels 0,1        channels 0 to 3 (default 0)\n"
      "      --range CH:RANGE      \"0:5 V\", \"1:500 mV\" (default 15 V)\n"
      "      --input CH:bnc|yd     the channel's input\n"
      "      --trigger key|CH:rising|falling:LEVEL   \"0:rising:0.5 V\"\n"
      "      --pretrigger          with the 500 samples before the trigger\n"
      "      --count N | --continuous   numbered files name-1.csv…, or blocks one after another\n"
      "      --format csv|qvtm|matlab|json   -o FILE (written at once)\n"
      "  measure                   one sweep and its automatic measurements (--json)\n"
      "  log --interval 1s [--duration 2h] --channels 0,1 -o FILE.csv [--force]\n"
      "                            point-by-point logging, one line a point\n"
      "  gen sine|square|triangle --freq 440 [--amplitude 2V] [--offset 0V] [--duty 50]\n"
      "  gen formula \"5*SIN(2*PI*t)^3\" --freq 100\n"
      "  gen stop\n"
      "  fit FILE.qvtm --channel 1 --model charge [--from 2ms --to 18ms] [--start tau=5ms]\n"
      "      [--fixed B=0] [--degree 3..5] [--json]   fits a model (charge, affine, sine…\n"
      "                            or a formula of t: \"E*(1-EXP(-t/tau))\")\n"
      "\n"
      "  --simulate   the virtual interface    --device NAME   another interface (VexorQVT2-1)\n"
      "Exit codes: 0 done, 1 interface absent, lost or held (or a file that cannot be read or\n"
      "written, or a failed fit), 2 command line refused, 130 interrupted.\n");
}

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
  if (code == qvt::cli::kExitUsage)
    std::fprintf(stderr, qvt::cli::Say("Essayez « %s --help ».\n", "Try '%s --help'.\n"), kProgram);
  return code;
}

} // namespace

int main(int argc, char* argv[]) {
  using namespace qvt::cli;
  TGlobalOptions global;
  std::vector<std::string> rest;
  bool help = false;
  bool version = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--simulate") {
      global.Simulate = true;
    } else if (arg == "--help" || arg == "-h") {
      help = true;
    } else if (arg == "--version") {
      version = true;
    } else if (arg == "--device" || arg.starts_with("--device=")) {
      if (arg == "--device" && i + 1 >= argc)
        return Fail(kExitUsage, Say("--device : nom manquant", "--device: name missing"));
      global.Device = arg == "--device" ? argv[++i] : arg.substr(9);
      if (global.Device.empty() || global.Device.size() > 54)
        return Fail(kExitUsage, Refused("--device", global.Device,
                                        Say("un nom de 1 à 54 caractères (VexorQVT2-0)",
                                            "a name of 1 to 54 characters (VexorQVT2-0)")));
    } else {
      rest.push_back(arg);
    }
  }
  if (help) {
    std::fputs(UsageText(), stdout);
    return kExitDone;
  }
  if (version) {
    std::printf("%s %s\n", kProgram, QVT2_VERSION);
    return kExitDone;
  }
  const std::string commands = "info, sweep, measure, log, gen, fit";
  if (rest.empty())
    return Fail(kExitUsage,
                Say("commande manquante ; commandes : ", "command missing; commands: ") + commands);
  const std::string command = rest.front();
  rest.erase(rest.begin());
  InstallCancelHandlers();
  try {
    if (command == "info")
      return RunInfo(rest, global);
    if (command == "sweep")
      return RunSweep(rest, global);
    if (command == "measure")
      return RunMeasure(rest, global);
    if (command == "log")
      return RunLog(rest, global);
    if (command == "gen")
      return RunGen(rest, global);
    if (command == "fit")
      return RunFit(rest, global);
    return Fail(kExitUsage, Refused(Say("commande", "command"), command, commands, true));
  } catch (const TUsageError& e) {
    return Fail(kExitUsage, e.what());
  } catch (const TDeviceError& e) {
    return Fail(kExitDevice, e.what());
  } catch (const std::exception& e) {
    return Fail(kExitDevice, e.what());
  }
}
