// SPDX-License-Identifier: GPL-3.0-or-later
// Sweep.spectrum, Sweep.derivative and Sweep.integral: a channel's row is handed to the same
// Spectrum, Savitzky-Golay filter and trapezoid integral as the window's, and the results come
// back as numpy arrays, the no-value marker as NaN.
#include "sweep_calculus.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "calculus.h"
#include "fourier.h"
#include "numbers.h"
#include "result.h"
#include "savgol.h"

namespace py = pybind11;
using namespace py::literals;

namespace qvt::python {

namespace {

// The harmonics the window lists.
constexpr std::size_t kHarmonicsListed = 7;

// A channel's row and how its samples are spaced.
struct Row {
  std::vector<double> values;
  std::vector<double> t;
  double samplePeriod = 0; // 0: point mode, spaced by t
};

Row RowOf(const TResult& r, int channel) {
  const TMeasurement& h = r.Header;
  const auto v = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(r.V);
  const auto t = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(r.T);
  const std::size_t rows = h.Channels.size();
  if (!v || v.ndim() != 2 || static_cast<std::size_t>(v.shape(0)) != rows || !t || t.ndim() != 1 ||
      t.shape(0) != v.shape(1))
    throw py::value_error("v no longer has one row per channel, as long as t");
  const auto found = std::find_if(h.Channels.begin(), h.Channels.end(),
                                  [&](const TMeasureChannel& c) { return c.Channel == channel; });
  if (found == h.Channels.end())
    throw py::value_error("channel " + std::to_string(channel) + " is not among the channels " +
                          py::repr(r.Channels).cast<std::string>());
  const std::size_t k = static_cast<std::size_t>(found - h.Channels.begin());
  const std::size_t n = static_cast<std::size_t>(v.shape(1));
  Row row;
  row.values.assign(v.data() + k * n, v.data() + (k + 1) * n);
  row.t.assign(t.data(), t.data() + n);
  // NaN in an edited array is a gap, as the no-value marker is.
  for (double& x : row.values)
    if (!std::isfinite(x))
      x = kNoValue;
  if (h.Mode == TMeasureMode::Oscilloscope && h.SampleRate > 0)
    row.samplePeriod = 1.0 / h.SampleRate;
  return row;
}

py::array_t<double> Output(std::vector<double>&& values) {
  for (double& x : values)
    if (x == kNoValue)
      x = std::nan("");
  return ArrayOf(std::move(values));
}

analysis::Window WindowNamed(const std::string& name) {
  // scipy.signal.get_window's names, and the aliases it accepts for these five.
  struct Named {
    const char* name;
    analysis::Window window;
  };
  static constexpr Named kNames[] = {
      {"boxcar", analysis::Window::kRectangular},
      {"rectangular", analysis::Window::kRectangular},
      {"hann", analysis::Window::kHann},
      {"hanning", analysis::Window::kHann},
      {"hamming", analysis::Window::kHamming},
      {"blackmanharris", analysis::Window::kBlackmanHarris},
      {"flattop", analysis::Window::kFlatTop},
  };
  for (const Named& n : kNames)
    if (name == n.name)
      return n.window;
  throw py::value_error("unknown window '" + name +
                        "'; accepted: boxcar, hann, hamming, blackmanharris, flattop");
}

py::tuple Spectrum(const TResult& r, int channel, const std::string& window,
                   const std::string& scale, int averaging) {
  Row row = RowOf(r, channel);
  if (row.samplePeriod == 0)
    throw py::value_error("a spectrum needs an oscilloscope sweep, not a point-by-point series");
  analysis::SpectrumScale spectrumScale;
  if (scale == "V")
    spectrumScale = analysis::SpectrumScale::kLinear;
  else if (scale == "dBV")
    spectrumScale = analysis::SpectrumScale::kDbv;
  else
    throw py::value_error("unknown scale '" + scale + "'; accepted: V, dBV");
  if (averaging < 1 || averaging > analysis::Spectrum::kMaxAveraging)
    throw py::value_error("averaging must be 1 to " +
                          std::to_string(analysis::Spectrum::kMaxAveraging));
  const std::size_t block = row.values.size() / static_cast<std::size_t>(averaging);
  if (block < 2)
    throw py::value_error("too few samples for " + std::to_string(averaging) + " blocks");
  for (double x : row.values)
    if (x == kNoValue)
      throw py::value_error("the channel has samples without a value (NaN)");

  analysis::Spectrum s;
  s.SetWindow(WindowNamed(window));
  s.SetScale(spectrumScale);
  s.SetAveraging(averaging);
  {
    py::gil_scoped_release release;
    for (int b = 0; b < averaging; ++b)
      s.Compute(std::span<const double>(row.values).subspan(b * block, block), row.samplePeriod);
  }
  const std::span<const double> m = s.Magnitudes();
  std::vector<double> f(m.size());
  for (std::size_t k = 0; k < f.size(); ++k)
    f[k] = s.BinFrequency(k);
  std::array<analysis::Harmonic, kHarmonicsListed> found;
  const std::size_t count = s.Harmonics(found);
  py::list harmonics;
  for (std::size_t k = 0; k < count; ++k)
    harmonics.append(py::dict("number"_a = found[k].number, "frequency"_a = found[k].frequency,
                              "amplitude"_a = found[k].amplitude,
                              "relative_db"_a = found[k].relativeDb));
  return py::make_tuple(ArrayOf(std::move(f)), ArrayOf(std::vector<double>(m.begin(), m.end())),
                        harmonics);
}

py::array_t<double> Derivative(const TResult& r, int channel, int points) {
  if (!analysis::ValidFilterPoints(points))
    throw py::value_error("points must be odd, 3 to 51");
  Row row = RowOf(r, channel);
  if (row.values.size() < static_cast<std::size_t>(points))
    throw py::value_error(std::to_string(points) + " points asked for, the sweep has " +
                          std::to_string(row.values.size()) + " samples");
  std::vector<double> out(row.values.size());
  if (row.samplePeriod > 0)
    analysis::SavgolFilter(row.values, points, analysis::kDefaultPolyOrder, 1, row.samplePeriod,
                           out);
  else
    analysis::SavgolDerivativeAgainst(row.t, row.values, points, analysis::kDefaultPolyOrder, out);
  return Output(std::move(out));
}

py::array_t<double> Integral(const TResult& r, int channel) {
  Row row = RowOf(r, channel);
  std::vector<double> out(row.values.size());
  if (row.samplePeriod > 0)
    analysis::CumulativeTrapezoid(row.values, row.samplePeriod, 0, out);
  else
    analysis::CumulativeTrapezoid(row.t, row.values, 0, out);
  return Output(std::move(out));
}

} // namespace

void AddCalculus(py::module_& m) {
  auto sweep = py::reinterpret_borrow<py::class_<TResult>>(m.attr("Sweep"));
  sweep
      .def("spectrum", &Spectrum, "channel"_a, "window"_a = "hann", "scale"_a = "V",
           "averaging"_a = 1,
           "The amplitude spectrum of a channel, as the window's \"Spectre\" mode shows it: "
           "returns (f, magnitude, harmonics). f: the bin frequencies, Hz; magnitude: the "
           "amplitude (V, peak) of the tone at each bin, or 20 log10 of it with scale=\"dBV\"; "
           "harmonics: the fundamental and the next harmonics, each a dict of number, "
           "frequency (Hz), amplitude (V) and relative_db. window: \"boxcar\", \"hann\", "
           "\"hamming\", \"blackmanharris\" or \"flattop\" (scipy.signal.get_window's names; "
           "periodic windows). averaging: the sweep is cut into that many equal blocks, whose "
           "magnitudes are averaged. ValueError for a point-mode series or a NaN sample.")
      .def("derivative", &Derivative, "channel"_a, "points"_a = 9,
           "The derivative of a channel against time (against t in a point-mode series), by a "
           "Savitzky-Golay filter of degree 2 over `points` samples (odd, 3 to 51): equal to "
           "scipy.signal.savgol_filter(v, points, 2, deriv=1, delta=1/sample_rate), whose "
           "default mode fits the first and last windows for the ends. Unit per s; as long as "
           "the sweep; NaN where a window holds a NaN.")
      .def("integral", &Integral, "channel"_a,
           "The cumulative integral of a channel against time (against t in a point-mode "
           "series) by the trapezoid rule, 0 at the first sample: "
           "scipy.integrate.cumulative_trapezoid(v, t, initial=0). Unit times s; as long as "
           "the sweep; a NaN sample is NaN and the integral bridges it.");
}

} // namespace qvt::python
