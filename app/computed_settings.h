// SPDX-License-Identifier: GPL-3.0-or-later
// The computed quantities in the settings file: section [Calculs], the constants and the
// definitions as their one-line texts and, per quantity, how it is shown. Nothing is written
// while there is no quantity nor constant and the section does not exist, so a settings file
// of a user who never opened "Calculs" keeps its bytes.
//
//   [Calculs]
//   Constantes=1
//   Constante1=v=1;type=constante;nom=R;unite=\x9D;valeur=100
//   Nombre=2
//   Grandeur1=v=1;type=formule;nom=I;unite=;expr=V1/R
//   Affichage1=couleur=804000;echelle=auto;visible=1
//   Grandeur2=v=1;type=derivee;nom=dU;unite=;source=V0;points=9
//   Affichage2=couleur=000000;echelle=-2:2;visible=1
//
// Counts bound the lists: keys beyond them, left by a longer list, are not read.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "computed.h"
#include "computed_curves.h"

namespace qvt {

class TIniFile;

// One quantity's display: "couleur=RRGGBB;echelle=auto;visible=1", or the range as
// "echelle=MIN:MAX" (shortest decimal texts with '.'). Reading is lenient: an unknown key
// is ignored, a bad value leaves that field at its default.
std::string ComputedDisplayText(const TComputedDisplay& display);
TComputedDisplay ParseComputedDisplay(std::string_view text);

// What the settings file holds. `errors`: one French (UTF-8) message per line that was
// refused as a whole (from a newer program, a key missing); such a line is left out and the
// others are read. The set is not checked here: TComputedCurves::Define does that.
struct TComputedSettings {
  std::vector<analysis::ComputedConstant> Constants;
  std::vector<analysis::ComputedDefinition> Definitions;
  std::vector<TComputedDisplay> Displays; // one per definition
  std::vector<std::string> Errors;
};
TComputedSettings LoadComputedSettings(const TIniFile& ini);
void SaveComputedSettings(TIniFile& ini, const std::vector<analysis::ComputedConstant>& constants,
                          const std::vector<analysis::ComputedDefinition>& definitions,
                          const std::vector<TComputedDisplay>& displays);

} // namespace qvt
