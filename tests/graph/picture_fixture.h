// SPDX-License-Identifier: GPL-3.0-or-later
// A fixture for the graph drawing tests: a picture with its canvas on Qt's offscreen platform,
// the display settings back at their defaults, and pixel helpers.
#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "../platform/qt_test_app.h"
#include "canvas.h"
#include "graph_settings.h"

class PictureTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() { TestApp(); }

  void SetUp() override {
    qvt::ShowGrid = false;
    qvt::LineWidth = 1;
    qvt::PointSize = 2;
    Resize(1060, 600);
  }
  void TearDown() override { SetUp(); }

  void Resize(int width, int height) {
    canvas.SetImage(nullptr);
    image = QImage(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    canvas.SetImage(&image);
  }

  // The picture as drawn so far.
  const QImage& Picture() {
    canvas.End();
    return image;
  }
  QRgb Pixel(int x, int y) { return Picture().pixel(x, y) & 0xFFFFFF; }
  bool Is(int x, int y, QRgb colour) { return Pixel(x, y) == (colour & 0xFFFFFF); }
  // Pixels of `colour` inside the box (x1, y1)-(x2, y2), right and bottom excluded.
  int Count(QRgb colour, int x1 = 0, int y1 = 0, int x2 = -1, int y2 = -1) {
    const QImage& p = Picture();
    x2 = x2 < 0 ? p.width() : x2;
    y2 = y2 < 0 ? p.height() : y2;
    int n = 0;
    for (int y = y1; y < y2; ++y)
      for (int x = x1; x < x2; ++x)
        n += (p.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
  }

  QImage image;
  qvt::TCanvas canvas;
};
