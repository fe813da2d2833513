// SPDX-License-Identifier: GPL-3.0-or-later
// Computed quantities in the measurement file: their columns, gaps, constants and scales read
// back and written again byte for byte, in the spreadsheet export and in a recording; lines
// that do not read leave the file open with a warning.
#include "measure_computed.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "measure_append.h"
#include "measure_csv.h"

namespace qvt {
namespace {

namespace fs = std::filesystem;

// Two channels and two computed quantities over five samples, the power with gaps.
TMeasurement WithComputed() {
  TMeasurement m;
  m.DateTime = "2026-12-08T19:30:05+0100";
  m.TimeBase = "1 ms";
  m.SampleRate = 1000;
  m.Channels = {{0, "U", "V", "", 0x0000FF, "5 V", TMeasureInput::Bnc, {}},
                {1, "I", "A", "", 0xFF0000, "5 V", TMeasureInput::Bnc, {}}};
  m.ComputedConstants = {MeasureComputedText(analysis::ComputedConstant{"R", 100, "\x9D"}),
                         MeasureComputedText(analysis::ComputedConstant{"\x80", 2, ""})};
  analysis::ComputedDefinition power, slope;
  power.name = "P";
  power.formula = "U*I*\x80";
  slope.name = "dU";
  slope.unit = "V/s";
  slope.kind = analysis::ComputedKind::kDerivative;
  slope.source = "U";
  m.Computed = {{MeasureComputedText(power), "P", "W", 0, {}, {}, {}},
                {MeasureComputedText(slope), "dU", "V/s", 0x336699, -5, 2.5e3, {}}};
  for (int i = 0; i < 5; ++i) {
    m.Time.push_back(i * 1e-3);
    m.Channels[0].Values.push_back(1.5 * i);
    m.Channels[1].Values.push_back(2 - i);
    m.Computed[0].Values.push_back(i % 2 ? kMeasureNoValue : 2 * 1.5 * i * (2 - i));
    m.Computed[1].Values.push_back(1500);
  }
  m.Computed[1].Values[4] = kMeasureNoValue;
  return m;
}

TEST(MeasureComputed, ColumnsConstantsAndGapsReadBackAndWriteTheSameBytes) {
  const TMeasurement saved = WithComputed();
  const std::string text = MeasureFileText(saved);
  EXPECT_TRUE(text.starts_with("t (s),U (V),I (A),P (W),dU (V/s)\n")) << text;
  for (const char* line : {"# col3.definition: v=1;type=formule;nom=P;unite=;expr=U*I*α\n"
                           "# col3.name: P\n# col3.unit: W\n# col3.colour: 000000\n",
                           "# col4.colour: 336699\n# col4.scale: -5;2500\n",
                           "# calc.constant1: v=1;type=constante;nom=R;unite=Ω;valeur=100\n",
                           "\n0.001,1.5,1,,1500\n", "\n0.003,4.5,-1,,1500\n0.004,6,-2,-24,\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;

  TMeasurement read;
  std::string error;
  ASSERT_TRUE(ParseMeasureText(text, read, error)) << error;
  EXPECT_EQ(read.Computed, saved.Computed);
  EXPECT_EQ(read.ComputedConstants, saved.ComputedConstants);
  EXPECT_EQ(MeasureFileText(read), text);

  // Back to the definitions the window defines, in the code page.
  const TMeasureComputedSet set = ReadMeasureComputed(read);
  EXPECT_TRUE(set.Warnings.empty());
  ASSERT_EQ(set.Constants.size(), 2u);
  EXPECT_EQ(set.Constants[0], (analysis::ComputedConstant{"R", 100, "\x9D"}));
  ASSERT_EQ(set.Definitions.size(), 2u);
  ASSERT_TRUE(set.Definitions[0]);
  EXPECT_EQ(set.Definitions[0]->formula, "U*I*\x80");

  // The spreadsheet export: the computed columns after the channels, gaps as empty cells.
  const std::string csv = MeasureCsvText(read, TCsvFormat{';', ',', false});
  EXPECT_TRUE(
      csv.starts_with("t (s);U (V);I (A);P (W);dU (V/s)\r\n0;0;2;0;1500\r\n0,001;1,5;1;;1500\r\n"))
      << csv;
  EXPECT_TRUE(csv.ends_with("0,004;6;-2;-24;\r\n")) << csv;

  // A recording writes them as well, gaps included.
  const fs::path path = fs::temp_directory_path() / ("qvtm_computed_" + std::to_string(::getpid()));
  TMeasurement header = saved;
  header.Time.clear();
  for (auto& c : header.Channels)
    c.Values.clear();
  for (auto& c : header.Computed)
    c.Values.clear();
  {
    TMeasureAppender appender;
    ASSERT_TRUE(appender.Open(path.string(), header, error)) << error;
    const double row[] = {0.5, 1, 2, kMeasureNoValue, 3};
    ASSERT_TRUE(appender.Append(row, 5, error)) << error;
  }
  ASSERT_TRUE(ReadMeasureFile(path.string(), read, error)) << error;
  fs::remove(path);
  ASSERT_EQ(read.Computed.size(), 2u);
  EXPECT_EQ(read.Computed[0].Values, (std::vector<double>{kMeasureNoValue}));
  EXPECT_EQ(read.Computed[1].Values, (std::vector<double>{3}));
}

// Lines of a newer program, or edited by hand, do not stop the file from opening: the columns
// keep their values and each line that does not read gives a warning.
TEST(MeasureComputed, UnreadableLinesLeaveTheFileOpenWithAWarning) {
  const std::string text = "t (s),U (V),S,Q (C)\n"
                           "# format: qvtm 1\n"
                           "# col2.definition: v=2;type=spline;nom=S;unite=;source=U\n"
                           "# col2.name: S\n"
                           "# col3.definition: v=1;type=integrale;nom=Q;unite=;source=U\n"
                           "# col3.name: Q\n"
                           "# col3.scale: x;1\n"
                           "# calc.constant1: v=1;type=constante;nom=C;unite=F;valeur=abc\n"
                           "# calc.constant2: v=1;type=formule;nom=P;unite=;expr=U\n"
                           "0,1,,0\n"
                           "1,2,7,1.5\n";
  TMeasurement m;
  std::string error;
  ASSERT_TRUE(ParseMeasureText(text, m, error)) << error;
  ASSERT_EQ(m.Channels.size(), 1u);
  ASSERT_EQ(m.Computed.size(), 2u);
  EXPECT_EQ(m.Computed[0].Values, (std::vector<double>{kMeasureNoValue, 7}));
  EXPECT_FALSE(m.Computed[1].Mini || m.Computed[1].Maxi); // a scale that does not read

  const TMeasureComputedSet set = ReadMeasureComputed(m);
  ASSERT_EQ(set.Definitions.size(), 2u);
  EXPECT_FALSE(set.Definitions[0]);
  ASSERT_TRUE(set.Definitions[1]);
  EXPECT_EQ(set.Definitions[1]->source, "U");
  EXPECT_TRUE(set.Constants.empty());
  EXPECT_EQ(set.Warnings, (std::vector<std::string>{
                              "Constante 1 : constante C : valeur incorrecte abc",
                              "Constante 2 : la ligne n'est pas une constante",
                              "Grandeur calculée « S » (colonne 3) : définition d'une version "
                              "plus récente du programme"}));

  // An empty cell in a channel's column is still refused.
  EXPECT_FALSE(ParseMeasureText("t (s),U (V)\n# format: qvtm 1\n0,\n", m, error));
  EXPECT_TRUE(error.starts_with("Valeur non numérique")) << error;
}

} // namespace
} // namespace qvt
