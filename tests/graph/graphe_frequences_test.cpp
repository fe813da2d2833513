// SPDX-License-Identifier: GPL-3.0-or-later
// The spectrum graph: ranges fitted to the data in V and dBV, the frequency span, the tone
// drawn at its frequency in the channel's colour, the bin picked under the mouse, the harmonic
// lists' lines and their place clear of the plot, the channel's caption.
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
  EXPECT_DOUBLE_EQ(g.FrequencyCurve.Maxi, 10000) << "ten times the 1 kHz tone";
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
  EXPECT_EQ(lines[0], "Voie 1 : rang, f, A, dB");
  EXPECT_EQ(lines[1], "1   1,00 kHz   2,00 V   0,0 dB");
  EXPECT_EQ(lines[3], "3   3,00 kHz   500 mV   -12,0 dB");
  EXPECT_TRUE(g.HarmonicLines(0).empty()) << "a channel without a tone lists nothing";
}

TEST(FrequencySpanTest, TenFundamentalsRoundedUpToAGraduationWithinNyquist) {
  struct Case {
    double fundamental, nyquist, span;
  };
  for (const Case& c : {Case{1000.3, 62500, 10000}, Case{999.8, 62500, 10000}, Case{50, 62500, 500},
                        Case{440, 62500, 5000}, Case{1300, 62500, 15000}, Case{10000, 62500, 62500},
                        Case{0, 62500, 62500}})
    EXPECT_DOUBLE_EQ(AutoFrequencySpan(c.fundamental, c.nyquist), c.span) << c.fundamental;
}

TEST_F(SpectreTest, TheSpanIsAutomaticOrChosenAndTheMouseZoomsAndPansIt) {
  // Y0 holds noise whose largest bin (9 kHz) stands out of nothing: it sets no span.
  TSpectreVoie& noise = g.Voies[0];
  noise.Visible = true;
  noise.Resolution = 10;
  noise.Magnitudes.assign(1001, 1e-3);
  noise.Magnitudes[900] = 2e-3;
  noise.Harmonics = {{1, 9000, 2e-3, 0}};
  g.Fit();
  EXPECT_DOUBLE_EQ(g.FrequencyCurve.Maxi, 10000) << "ten times 1 kHz, within Nyquist";
  g.Voies[1].Harmonics[0].frequency = 200;
  g.Fit();
  EXPECT_DOUBLE_EQ(g.FrequencyCurve.Maxi, 2000);
  g.MaxFrequency = 5000;
  g.Fit();
  EXPECT_DOUBLE_EQ(g.FrequencyCurve.Maxi, 5000) << "chosen";
  g.MaxFrequency = 1e6;
  g.Fit();
  EXPECT_DOUBLE_EQ(g.FrequencyCurve.Maxi, 10000) << "no further than Nyquist";

  // A notch of the wheel narrows the range around the frequency under the mouse, a drag
  // moves it, each within 0 .. Nyquist; new data keep it until it is reset.
  g.Paint();
  const int x = g.FrequencyCurve.ToPixel(2500);
  g.ZoomAt(x, 1);
  EXPECT_NEAR(g.FrequencyCurve.Maxi - g.FrequencyCurve.Mini, 8000, 1e-6);
  EXPECT_NEAR(g.FrequencyCurve.Mini, 500, 1e-6) << "2.5 kHz stays under the mouse";
  g.Paint();
  EXPECT_NEAR(g.FrequencyCurve.FromPixel(x), 2500, 20);
  g.PanBy(-(g.FrequencyCurve.ToPixel(1000) - g.FrequencyCurve.ToPixel(0)));
  EXPECT_NEAR(g.FrequencyCurve.Mini, 1500, 20) << "dragged left by 1 kHz";
  g.PanBy(-10000);
  EXPECT_DOUBLE_EQ(g.FrequencyCurve.Maxi, 10000);
  g.Fit();
  EXPECT_NEAR(g.FrequencyCurve.Mini, 2000, 1e-6) << "kept over a new sweep";
  for (int k = 0; k < 40; ++k)
    g.ZoomAt(x, 1);
  EXPECT_NEAR(g.FrequencyCurve.Maxi - g.FrequencyCurve.Mini, 80, 1e-6) << "8 bins at least";
  g.ZoomAt(x, -100);
  EXPECT_DOUBLE_EQ(g.FrequencyCurve.Mini, 0);
  EXPECT_DOUBLE_EQ(g.FrequencyCurve.Maxi, 10000);
  g.ResetZoom();
  g.MaxFrequency = 3000;
  g.Fit();
  EXPECT_DOUBLE_EQ(g.FrequencyCurve.Maxi, 3000);
}

TEST_F(SpectreTest, FourListsStandUnderTheAxisLabelsClearOfThePlot) {
  // Each channel with a fundamental and six harmonics, as in the demonstration at "20 ms".
  for (int i = 0; i < 4; ++i) {
    TSpectreVoie& v = g.Voies[i];
    v = g.Voies[1];
    v.Harmonics.clear();
    for (int n = 1; n <= 7; ++n)
      v.Harmonics.push_back({n, 1000.0 * n, 1.234 / n, -20 * std::log10(n)});
  }
  struct Size {
    int width, height;
    int lines; // shown of each list
  };
  for (const Size& size : {Size{1060, 600, 8}, Size{800, 560, 8}, Size{640, 400, 4}}) {
    Resize(size.width, size.height);
    image.fill(Qt::white);
    g.Fit();
    g.Paint();
    ASSERT_EQ(g.Lists.Boxes.size(), 4u) << size.width;
    EXPECT_EQ(g.Lists.Lines, size.lines) << size.width;
    const int labelsBottom = g.PlotRect.Bottom + g.Margin + canvas.TextHeight("0");
    for (int i = 0; i < 4; ++i) {
      const TRect& b = g.Lists.Boxes[i];
      EXPECT_GE(b.Top, labelsBottom) << "under the axis and its labels, " << size.width;
      EXPECT_GE(b.Left, 0);
      EXPECT_LE(b.Right, size.width) << "nothing cut";
      EXPECT_LE(b.Bottom, size.height);
      for (int j = 0; j < i; ++j) {
        const TRect& o = g.Lists.Boxes[j];
        EXPECT_TRUE(b.Left >= o.Right || o.Left >= b.Right || b.Top >= o.Bottom ||
                    o.Top >= b.Bottom)
            << "lists " << j << " and " << i << " apart, " << size.width;
      }
      EXPECT_GT(Count(ToQColor(g.Curves[i].Colour).rgb(), b.Left, b.Top, b.Right, b.Bottom), 0)
          << "list " << i << " drawn";
    }
  }
}

TEST_F(SpectreTest, TheCaptionIsTheChannelsQuantityAndUnit) {
  struct Case {
    const char* name;
    const char* unit;
    const char* linear;
    const char* decibels;
  };
  for (const Case& c : {Case{"V1", "V", "V1/V", "V1/dBV"}, Case{"I", "A", "I/A", "I/dBA"}}) {
    TCourbe channel(c.name, 1, c.unit);
    channel.Colour = kRed;
    g.FollowChannel(1, channel);
    g.SetScale(analysis::SpectrumScale::kLinear);
    EXPECT_EQ(g.Curves[1].AxisLabel(1), c.linear);
    g.SetScale(analysis::SpectrumScale::kDbv);
    EXPECT_EQ(g.Curves[1].AxisLabel(1), c.decibels);
  }
  g.SetScale(analysis::SpectrumScale::kLinear);
  ForceDecimalSeparator(',');
  EXPECT_EQ(g.HarmonicRows(1)[0][2], "2,00 A") << "the amplitudes in the channel's unit";
  ForceDecimalSeparator('\0');
}

} // namespace
