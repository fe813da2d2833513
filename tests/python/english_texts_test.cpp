// SPDX-License-Identifier: GPL-3.0-or-later
// The module's reading of the program's catalogue without Qt, on a catalogue made by lrelease.
#include "english_texts.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace qvt::python {
namespace {

std::string FileBytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

TEST(EnglishTexts, TheCatalogueGivesEachTextItsTranslationInItsContext) {
  const std::string qm = FileBytes(QVT_TEST_QM);
  ASSERT_FALSE(qm.empty());
  const TCatalogue catalogue(qm);
  const auto text = [&](const char* context, const char* source) {
    const std::string* found = catalogue.Find(context, source);
    return found != nullptr ? *found : std::string("(none)");
  };
  EXPECT_EQ(text("MeasureFile", "Fichier tronqué"), "Truncated file");
  EXPECT_EQ(text("MeasureFile", "Lecture impossible (%1) : %2"), "Cannot read (%1): %2");
  EXPECT_EQ(text("MeasureFile", "Voie"), "Channel");
  EXPECT_EQ(text("Fit", "Voie"), "Trace \xf0\x9d\x91\xa6 (\xc2\xb5s)");
  EXPECT_EQ(text("MeasureFile", "%n point(s)"), "%n point");
  EXPECT_EQ(text("Fit", "Fichier tronqué"), "(none)");
  EXPECT_EQ(text("MeasureFile", "Pas encore traduit"), "(none)");
  EXPECT_EQ(catalogue.Size(), 5u);

  // Bytes that are not a catalogue, or one cut short, give no text (and no crash).
  EXPECT_EQ(TCatalogue("not a catalogue").Size(), 0u);
  for (const std::size_t size : {std::size_t{16}, qm.size() / 2, qm.size() - 1})
    EXPECT_EQ(TCatalogue(std::string_view(qm).substr(0, size)).Size(), 0u) << size;
}

} // namespace
} // namespace qvt::python
