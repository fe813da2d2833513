// SPDX-License-Identifier: GPL-3.0-or-later
// Writes seeded random sweeps and their spectra for compare_numpy.py: for each case a line
// "window n", a line of the samples and a line of the linear magnitudes, all in full precision.
#include <cstdio>
#include <random>
#include <vector>

#include "fourier.h"

int main() {
  using qvt::analysis::Window;
  struct Case {
    Window window;
    const char* name;
    std::size_t n;
  };
  const Case cases[] = {{Window::kRectangular, "rectangular", 1024},
                        {Window::kHann, "hann", 1000},
                        {Window::kHamming, "hamming", 4097},
                        {Window::kBlackmanHarris, "blackmanharris", 16384},
                        {Window::kFlatTop, "flattop", 777}};
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> volts(-5.0, 5.0);
  qvt::analysis::Spectrum spectrum;
  for (const Case& c : cases) {
    std::vector<double> x(c.n);
    for (double& v : x)
      v = volts(random);
    spectrum.SetWindow(c.window);
    if (!spectrum.Compute(x, 1e-3))
      return 1;
    std::printf("%s %zu\n", c.name, c.n);
    for (const double v : x)
      std::printf("%.17g ", v);
    std::printf("\n");
    for (const double v : spectrum.Magnitudes())
      std::printf("%.17g ", v);
    std::printf("\n");
  }
  return 0;
}
