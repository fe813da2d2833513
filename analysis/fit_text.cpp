// SPDX-License-Identifier: GPL-3.0-or-later
// The French status line of a fit, for the window.
#include "fit.h"

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
    return "Tapez l'expression du modèle, par exemple E*(1-EXP(-t/tau))";
  if (message == kFitNoParameter)
    return "L'expression n'a aucun paramètre à ajuster (tout nom autre que x et t en est un)";
  return "Expression incorrecte : " + std::string(message);
}

std::string FitStatusText(const FitResult& result) {
  switch (result.status) {
  case FitStatus::kConverged: {
    std::string text = "Ajustement réussi en " + std::to_string(result.iterations) +
                       (result.iterations > 1 ? " itérations" : " itération");
    if (result.Undetermined())
      text += " ; incertitude non déterminée";
    return text;
  }
  case FitStatus::kNotConverged:
    return "Pas de convergence : changez les valeurs de départ";
  case FitStatus::kNotFinite:
    return "Modèle non calculable sur ces points : changez les valeurs de départ";
  case FitStatus::kTooFewPoints:
    return "Trop peu de points pour ajuster ce modèle";
  case FitStatus::kBadExpression:
    return FitExpressionErrorText(result.message);
  case FitStatus::kBadInput:
    return "Données incorrectes : " + result.message;
  case FitStatus::kCancelled:
    return "Ajustement interrompu";
  }
  return {};
}

} // namespace qvt::analysis
