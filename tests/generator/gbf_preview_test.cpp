// SPDX-License-Identifier: GPL-3.0-or-later
// The generator panel's preview drawn on a canvas: frame, two periods in blue, the dotted
// 0 V level and the caption in red.
#include <gtest/gtest.h>

#include <QImage>
#include <memory>

#include "../platform/qt_test_app.h"
#include "canvas.h"
#include "gbf.h"
#include "qvt2.h"

namespace {

int CountColour(const QImage& image, QRgb colour, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
  return n;
}

TEST(GeneratorPreview, DrawsTwoPeriodsTheMidLevelAndTheCaption) {
  TestApp();
  auto device = std::make_unique<TQVT2>();
  TGBF gbf(device.get());
  gbf.Waveform = 0; // square: easy to find in pixels
  gbf.Amplitude = 5;
  gbf.DutyCycle = 0.5;
  gbf.Frequency = 1000;
  gbf.Compute();

  QImage image(400, 200, QImage::Format_RGB32);
  image.fill(Qt::white);
  qvt::TCanvas canvas(&image);
  gbf.DrawPreview(canvas, 400, 200);
  canvas.End();

  // The square sits at +5 V (code 4096, y = 50) and -5 V (12288, y = 150), twice each.
  const QRgb blue = qRgb(0, 0, 255);
  EXPECT_GT(CountColour(image, blue, 10, 149, 90, 152), 60);
  EXPECT_GT(CountColour(image, blue, 110, 49, 190, 52), 60); // high half of the first period
  EXPECT_GT(CountColour(image, blue, 210, 149, 290, 152), 60);
  EXPECT_GT(CountColour(image, blue, 310, 49, 390, 52), 60);
  // The dotted mid level: black pixels with gaps on row 100.
  const int black = CountColour(image, qRgb(0, 0, 0), 1, 100, 399, 101);
  EXPECT_GT(black, 100);
  EXPECT_LT(black, 390);
  // The caption starts at a quarter of the width, near the top, in red.
  EXPECT_GT(CountColour(image, qRgb(255, 0, 0), 100, 4, 200, 25), 20);
  EXPECT_EQ(CountColour(image, qRgb(255, 0, 0), 0, 4, 95, 25), 0);
}

} // namespace
