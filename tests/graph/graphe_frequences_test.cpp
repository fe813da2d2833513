// SPDX-License-Identifier: GPL-3.0-or-later
// The spectrum graph: ranges fitted to the data in V and dBV, the tone drawn at its frequency
// in the channel's colour, the bin picked under the mouse, the harmonic list's lines.
#include <gtest/gtest.h>

#include <cmath>

#include "graphe_frequences.h"
#include "numtext.h"
#include "picture_fixture.h"

using namespace qvt;

namespace {

constexpr QRgb kRed = 0xFF0000;

class SpectreTest : public PictureTest {
protected:
  // Y1 visible: 1001 bins of 10 Hz (0 to 10 kHz), a 2 V tone at 1 kHz (bin 100) over 1 mV.
  void SetUp() override {
    PictureTest::SetUp();
    TSpectreVoie& v = g.Voies[1];
    v.Visible = true;
    v.Resolution = 10;
    v.Magnitudes.assign(1001, 1e-3);
    v.Magnitudes[100] = 2;
    v.Magnitudes[0] = 5; // the mean, left out of the range
    v.Harmonics = {{1, 1000, 2, 0}, {2, 2000, 0.001, -66.0}, {3, 3000, 0.5, -12.04}};
  }

  TGrapheSpectre g{&canvas};
};

TEST_F(SpectreTest, RangesFollowTheDataWithoutTheMean) {
  g.Fit();
  EXPECT_DOUBLE_EQ(g.FrequencyCurve.Mini, 0);
  EXPECT_DOUBLE_EQ(g.FrequencyCurve.Maxi, 10000) << "half the sample rate";
  EXPECT_NEAR(g.Curves[1].Maxi, 2.2, 1e-9) << "a margin above the tone, the mean ignored";
  EXPECT_DOUBLE_EQ(g.Curves[1].Mini, 0);

  g.SetScale(analysis::SpectrumScale::kDbv);
  for (double& m : g.Voies[1].Magnitudes)
    m = analysis::ToDbv(m);
  g.Fit();
  EXPECT_DOUBLE_EQ(g.Curves[1].Maxi, 20) << "6 dBV rounded up to the next 20 dB";
  EXPECT_DOUBLE_EQ(g.Curves[1].Mini, 20 - TGrapheSpectre::kDbvSpan);
}

TEST_F(SpectreTest, TheToneIsDrawnAtItsFrequencyAndPickedUnderTheMouse) {
  g.Fit();
  g.Paint();
  const int x = g.FrequencyCurve.ToPixel(1000);
  const int top = g.Curves[1].ToPixel(2);
  EXPECT_GT(Count(kRed, x - 1, top - 1, x + 2, top + 4), 0) << "the tone's top is drawn";
  EXPECT_EQ(Count(kRed, g.FrequencyCurve.ToPixel(5000) - 1, g.PlotRect.Top,
                  g.FrequencyCurve.ToPixel(5000) + 2, g.Curves[1].ToPixel(0.5)),
            0)
      << "nothing high where there is no tone";

  // The mouse a column off and a little below the top still finds the tone.
  int mx = x + 2, my = top + 10;
  std::size_t bin = 0;
  EXPECT_EQ(g.NearestBin(mx, my, bin), 1);
  EXPECT_EQ(bin, 100u);
  EXPECT_EQ(mx, x);
  EXPECT_EQ(my, top);
  mx = x;
  my = g.PlotRect.Top + (top - g.PlotRect.Top) / 2 - 40;
  EXPECT_EQ(g.NearestBin(mx, my, bin), 4) << "too far above";
}

TEST_F(SpectreTest, HarmonicLinesUseTheSystemSeparator) {
  ForceDecimalSeparator(',');
  const std::vector<std::string> lines = g.HarmonicLines(1);
  ForceDecimalSeparator('\0');
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "Voie 1 : rang, f, amplitude, dB");
  EXPECT_EQ(lines[1], "1   1,00 kHz   2,00 V   0,0 dB");
  EXPECT_EQ(lines[3], "3   3,00 kHz   500 mV   -12,0 dB");
  EXPECT_TRUE(g.HarmonicLines(0).empty()) << "a channel without a tone lists nothing";
}

} // namespace
