// SPDX-License-Identifier: GPL-3.0-or-later
// The status line of a fit, for the window, in the interface language.
#include "fit.h"
#include "translate.h"

namespace qvt::analysis {

bool FitResult::Undetermined() const {
  for (const FitParameter& p : parameters)
    if (!p.fixed && !p.error)
      return true;
  return false;
}

std::string FitExpressionErrorText(std::string_view message) {
  // The fit's own two refusals; any other message is the evaluator's, shown as it gives it.
  if (message == kFitEmptyExpression)
    return translate("Fit", "Tapez l'expression du modèle, par exemple E*(1-EXP(-t/tau))");
  if (message == kFitNoParameter)
    return translate("Fit",
              "L'expression n'a aucun paramètre à ajuster (tout nom autre que x et t en est un)");
  return TrArg(translate("Fit", "Expression incorrecte : %1"), {message});
}

std::string FitStatusText(const FitResult& result) {
  switch (result.status) {
  case FitStatus::kConverged: {
    const std::string n = std::to_string(result.iterations);
    const bool one = result.iterations <= 1;
    if (result.Undetermined())
      return TrArg(one ? translate("Fit", "Ajustement réussi en %1 itération ; incertitude non déterminée")
                       : translate("Fit", "Ajustement réussi en %1 itérations ; incertitude non déterminée"),
                   {n});
    return TrArg(one ? translate("Fit", "Ajustement réussi en %1 itération")
                     : translate("Fit", "Ajustement réussi en %1 itérations"),
                 {n});
  }
  case FitStatus::kNotConverged:
    return translate("Fit", "Pas de convergence : changez les valeurs de départ");
  case FitStatus::kNotFinite:
    return translate("Fit", "Modèle non calculable sur ces points : changez les valeurs de départ");
  case FitStatus::kTooFewPoints:
    return translate("Fit", "Trop peu de points pour ajuster ce modèle");
  case FitStatus::kBadExpression:
    return FitExpressionErrorText(result.message);
  case FitStatus::kBadInput:
    return TrArg(translate("Fit", "Données incorrectes : %1"), {result.message});
  case FitStatus::kCancelled:
    return translate("Fit", "Ajustement interrompu");
  }
  return {};
}

} // namespace qvt::analysis
