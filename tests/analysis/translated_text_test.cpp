// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the analysis layer in another language: with a translate function installed,
// the measurement labels, the fit's status line and the refusals of computed quantities come
// out translated with their numbers and names where the translation puts them; without one,
// French again.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "computed.h"
#include "fit.h"
#include "measure_text.h"
#include "translate.h"

namespace qvt::analysis {
namespace {

std::string English(const char* context, const char* source) {
  struct Entry {
    const char* context;
    const char* source;
    const char* english;
  };
  static constexpr Entry kTable[] = {
      {"Measures", "Vmoy", "Vavg"},
      {"Fit", "Ajustement réussi en %1 itérations", "Fit converged in %1 iterations"},
      {"Computed", "%1 : fonction inconnue %2", "unknown function %2 in %1"},
      {"Computed", "« %1 »", "\"%1\""},
  };
  for (const Entry& e : kTable)
    if (std::strcmp(e.context, context) == 0 && std::strcmp(e.source, source) == 0)
      return e.english;
  return source;
}

TEST(TranslatedTextTest, LabelsFitStatusAndRefusalsFollowTheInstalledLanguage) {
  FitResult fit;
  fit.status = FitStatus::kConverged;
  fit.iterations = 9;
  ComputedDefinition bad;
  bad.name = "P";
  bad.formula = "FOO(V0)";
  auto refusal = [&] {
    ComputedModel model;
    const auto error = model.Define({}, {}, {{bad}});
    return error ? error->message : std::string();
  };

  SetTranslateFunction(English);
  const std::string_view label = Label(Quantity::kMean);
  EXPECT_EQ(label, "Vavg");
  EXPECT_EQ(MeasureText(Quantity::kMean, std::nullopt), "Vavg = \u2014");
  EXPECT_EQ(FitStatusText(fit), "Fit converged in 9 iterations");
  EXPECT_EQ(refusal(), "unknown function \"FOO\" in \"P\"");
  SetTranslateFunction(nullptr);

  EXPECT_EQ(label, "Vavg"); // a label already shown stays valid
  EXPECT_EQ(Label(Quantity::kMean), "Vmoy");
  EXPECT_EQ(FitStatusText(fit), "Ajustement réussi en 9 itérations");
  EXPECT_EQ(refusal(), "« P » : fonction inconnue « FOO »");
}

} // namespace
} // namespace qvt::analysis
