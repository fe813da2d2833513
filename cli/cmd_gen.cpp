// SPDX-License-Identifier: GPL-3.0-or-later
// qvt2ctl gen: starts the interface's generator with a wave, as the window's generator panel
// sends it, or stops it. The interface keeps playing after the program ends.
#include <algorithm>
#include <cstdio>
#include <exception>

#include "codepage.h"
#include "commands.h"
#include "gbf.h"
#include "qvt2.h"
#include "values.h"

namespace qvt::cli {

namespace {

// The evaluator's messages are 8-bit code-page text, in UTF-8 here; line breaks become spaces.
std::string EvaluatorMessage(const char* text) {
  std::string out = AnsiToUtf8(text);
  std::replace(out.begin(), out.end(), '\r', ' ');
  std::replace(out.begin(), out.end(), '\n', ' ');
  return out;
}

double Amount(const TArguments& a, const std::string& option, std::string_view unit,
              double fallback, double mini, double maxi, const std::string& accepted) {
  const std::string* text = a.Last(option);
  if (text == nullptr)
    return fallback;
  const auto value = ParseAmount(*text, unit);
  if (!value || *value < mini || *value > maxi)
    throw TUsageError(Refused(option, *text, accepted));
  return *value;
}

} // namespace

int RunGen(const TWords& args, const TGlobalOptions& global) {
  const TArguments a = ReadArguments(args, {}, {"--freq", "--amplitude", "--offset", "--duty"});
  const std::string waves = "sine, square, triangle, formula \"EXPRESSION\", stop";
  if (a.Words.empty())
    throw TUsageError(Refused("gen", "", waves, true));
  const std::string& wave = a.Words.front();
  TGBF generator;
  if (wave == "stop") {
    if (a.Words.size() > 1 || !a.Values.empty())
      throw TUsageError(Refused("gen stop",
                                a.Words.size() > 1 ? a.Words[1] : a.Values.begin()->first,
                                Say("(aucune option)", "(no option)"), true));
    TQVT2 device;
    OpenInterface(device, global);
    generator.SetDevice(&device);
    generator.Stop();
    return kExitDone;
  }
  if (wave == "sine")
    generator.Waveform = 2;
  else if (wave == "square")
    generator.Waveform = 0;
  else if (wave == "triangle")
    generator.Waveform = 1;
  else if (wave == "formula")
    generator.Waveform = 3;
  else
    throw TUsageError(Refused("gen", wave, waves, true));
  const bool formula = generator.Waveform == 3;
  if (a.Words.size() != (formula ? 2u : 1u))
    throw TUsageError(Refused(
        "gen " + wave, a.Words.size() > (formula ? 2u : 1u) ? a.Words.back() : "",
        formula
            ? Say("une formule de t, entre guillemets", "one formula of t, quoted")
            : Say("--freq, --amplitude, --offset, --duty", "--freq, --amplitude, --offset, --duty"),
        true));
  if (a.Last("--freq") == nullptr)
    throw TUsageError(Say("--freq : fréquence manquante (1 à 9999 Hz)",
                          "--freq: frequency missing (1 to 9999 Hz)"));
  const double hertz = Amount(a, "--freq", "Hz", 0, 1, 9999, Say("de 1 à 9999 Hz", "1 to 9999 Hz"));
  generator.Frequency = static_cast<int32_t>(hertz + 0.5);
  generator.Amplitude =
      Amount(a, "--amplitude", "V", 1, 0, 10, Say("de 0 V à 10 V", "0 V to 10 V"));
  generator.Offset =
      Amount(a, "--offset", "V", 0, -10, 10, Say("de -10 V à 10 V", "-10 V to 10 V"));
  generator.DutyCycle =
      Amount(a, "--duty", "%", 50, 0, 100, Say("de 0 à 100 (%)", "0 to 100 (%)")) / 100.0;
  if (formula) {
    try {
      generator.SetExpression(a.Words[1]);
    } catch (const std::exception& e) {
      throw TUsageError(Say("formule refusée : ", "formula refused: ") +
                        EvaluatorMessage(e.what()));
    }
  }

  TQVT2 device;
  OpenInterface(device, global);
  generator.SetDevice(&device);
  try {
    generator.Compute();
  } catch (const std::exception& e) {
    throw TUsageError(Say("formule refusée : ", "formula refused: ") + EvaluatorMessage(e.what()));
  }
  generator.LoadOnly = false;
  generator.Start();
  std::printf("%s %d Hz\n", Say("générateur :", "generator:"), generator.Frequency);
  return kExitDone;
}

} // namespace qvt::cli
