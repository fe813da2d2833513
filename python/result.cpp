// SPDX-License-Identifier: GPL-3.0-or-later
// Sweeps and measurement files turned into numpy arrays and Python metadata, and back into a
// measurement file.
#include "result.h"

#include <algorithm>
#include <cstring>

#include "measurer.h"
#include "courbe.h"
#include "oscillo_rules.h"
#include "qvt2.h"
#include "sweep_arguments.h"

namespace py = pybind11;

namespace qvt::python {

namespace {

// One contiguous (rows, n) block out of rows of equal length.
template <typename Rows, typename Get>
py::array_t<double> Matrix(const Rows& rows, size_t n, Get row) {
  py::array_t<double> v({rows.size(), n});
  double* out = v.mutable_data();
  for (const auto& r : rows) {
    const std::vector<double>& values = row(r);
    std::memcpy(out, values.data(), std::min(values.size(), n) * sizeof(double));
    out += n;
  }
  return v;
}

py::object Trigger(int source, bool rising, double level) {
  if (source < 0)
    return py::none();
  return py::make_tuple(rising ? "rising" : "falling", source, level);
}

} // namespace

py::array_t<double> ArrayOf(std::vector<double>&& values) {
  auto* owner = new std::vector<double>(std::move(values));
  py::capsule release(owner, [](void* p) { delete static_cast<std::vector<double>*>(p); });
  return py::array_t<double>(static_cast<py::ssize_t>(owner->size()), owner->data(), release);
}

TResult ResultOfSweep(TSweep&& sweep) {
  TResult r;
  const TSweepSetup& s = sweep.Setup;
  TMeasurement& h = r.Header;
  h.DateTime = MeasureDateNow();
  h.Mode = TMeasureMode::Oscilloscope;
  h.TimeBase = sweep.TimeBaseLabel;
  h.SampleRate = sweep.SampleRate;
  h.TriggerSource = s.TriggerSource - 1;
  h.TriggerEdge = s.Rising ? TMeasureEdge::Rising : TMeasureEdge::Falling;
  h.TriggerLevel = s.Level;
  h.PreTrigger = s.PreTrigger;

  py::dict ranges;
  for (int c : sweep.Channels) {
    TMeasureChannel channel;
    channel.Channel = c;
    channel.QuantityName = "Y" + std::to_string(c);
    channel.Unit = "V";
    channel.Colour = ChannelColour(c); // the trace colour the window gives the channel
    channel.Range = RangeLabel(s.Range[c]);
    channel.Input = s.InputYD[c] ? TMeasureInput::Yd : TMeasureInput::Bnc;
    const size_t row = h.Channels.size();
    if (row < sweep.Clipping.size()) {
      channel.ClippedLow = sweep.Clipping[row].Low;
      channel.ClippedHigh = sweep.Clipping[row].High;
    }
    h.Channels.push_back(channel);
    r.Channels.append(c);
    r.Units.append("V");
    ranges[py::int_(c)] = channel.Range;
  }
  const size_t n = sweep.Time.size();
  r.V = Matrix(
      sweep.Volts, n, [](const std::vector<double>& row) -> const auto& { return row; });
  r.T = ArrayOf(std::move(sweep.Time));

  r.Meta["mode"] = "oscilloscope";
  r.Meta["timebase"] = sweep.TimeBaseLabel;
  r.Meta["sample_rate"] = sweep.SampleRate;
  r.Meta["trigger"] = Trigger(h.TriggerSource, s.Rising, s.Level);
  r.Meta["pretrigger"] = s.PreTrigger;
  r.Meta["ranges"] = ranges;
  r.Meta["rearmed"] = sweep.Rearmed;
  r.Meta["date"] = h.DateTime;
  return r;
}

TResult ResultOfMeasurement(TMeasurement&& m) {
  TResult r;
  const size_t n = m.Time.size();
  r.V = Matrix(
      m.Channels, n, [](const TMeasureChannel& c) -> const auto& { return c.Values; });
  r.T = ArrayOf(std::move(m.Time));
  py::dict ranges;
  py::list names;
  py::list meanings;
  for (TMeasureChannel& c : m.Channels) {
    r.Channels.append(c.Channel);
    r.Units.append(c.Unit);
    names.append(c.QuantityName);
    meanings.append(c.Meaning);
    ranges[py::int_(c.Channel)] = c.Range;
    c.Values.clear();
  }
  const bool point = m.Mode == TMeasureMode::Point;
  r.Meta["mode"] = point ? "point" : "oscilloscope";
  r.Meta["timebase"] = point ? py::object(py::none()) : py::object(py::str(m.TimeBase));
  r.Meta["sample_rate"] = m.SampleRate;
  r.Meta["trigger"] =
      Trigger(m.TriggerSource, m.TriggerEdge == TMeasureEdge::Rising, m.TriggerLevel);
  r.Meta["pretrigger"] = m.PreTrigger;
  r.Meta["ranges"] = ranges;
  r.Meta["names"] = names;
  r.Meta["meanings"] = meanings;
  r.Meta["date"] = m.DateTime;
  r.Meta["comment"] = m.Comment;
  r.Meta["program"] = m.ProgramVersion;
  r.Header = std::move(m);
  return r;
}

void SaveResult(const TResult& result, const std::string& path, const std::string& comment) {
  TMeasurement m = result.Header;
  m.Comment = comment;
  const auto t = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(result.T);
  const auto v = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(result.V);
  const auto rows = static_cast<py::ssize_t>(m.Channels.size());
  if (!t || !v || t.ndim() != 1 || v.ndim() != 2 || v.shape(0) != rows || v.shape(1) != t.shape(0))
    throw py::value_error("t and v no longer have the shapes (n,) and (" + std::to_string(rows) +
                          ", n)");
  const auto n = static_cast<size_t>(t.shape(0));
  m.Time.assign(t.data(), t.data() + n);
  for (py::ssize_t k = 0; k < rows && n > 0; ++k)
    m.Channels[static_cast<size_t>(k)].Values.assign(v.data(k, 0), v.data(k, 0) + n);
  std::string error;
  if (!CheckMeasurement(m, error))
    throw py::value_error(error);
  if (!WriteMeasureFile(path, m, error)) {
    PyErr_SetString(PyExc_OSError, error.c_str());
    throw py::error_already_set();
  }
}

py::dict MeasureResult(const TResult& result, const py::object& reference) {
  const TMeasurement& h = result.Header;
  if (h.Mode != TMeasureMode::Oscilloscope || !(h.SampleRate > 0))
    throw py::value_error("measurements need an oscilloscope sweep, not a point-by-point series");
  const auto v = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(result.V);
  const auto rows = h.Channels.size();
  if (!v || v.ndim() != 2 || static_cast<size_t>(v.shape(0)) != rows)
    throw py::value_error("v no longer has one row per channel");
  size_t ref = 0;
  if (!reference.is_none()) {
    const int wanted = reference.cast<int>();
    ref = std::find_if(h.Channels.begin(), h.Channels.end(),
                       [&](const TMeasureChannel& c) { return c.Channel == wanted; }) -
          h.Channels.begin();
    if (ref == rows)
      throw py::value_error("reference channel " + std::to_string(wanted) +
                            " is not among the channels " +
                            py::repr(result.Channels).cast<std::string>());
  }
  std::vector<analysis::ChannelInput> inputs(rows);
  for (size_t k = 0; k < rows; ++k) {
    // The interface's input range, the wide one (±15 V) or the narrow one (±7.5 V) as the sweep
    // chose it from the displayed range, sets what a flat trace is. Whether the converter
    // clipped is the sweep's own word (a file's, as far as it tells), not read from the values.
    double limit = 15.0;
    try {
      const double maxi = kRangeVolts[static_cast<size_t>(RangeArgument(h.Channels[k].Range))];
      limit = NeedsWideRange(-maxi, maxi) ? TQVT2::kWideVoltsPerCode * 8192
                                          : TQVT2::kNarrowVoltsPerCode * 8192;
    } catch (const std::invalid_argument&) { // a file's range this program does not know
    }
    inputs[k].samples =
        std::span<const double>(v.data() + k * v.shape(1), static_cast<size_t>(v.shape(1)));
    inputs[k].samplePeriod = 1.0 / h.SampleRate;
    inputs[k].rangeMin = -limit;
    inputs[k].rangeMax = limit;
    inputs[k].clippedLow = h.Channels[k].ClippedLow;
    inputs[k].clippedHigh = h.Channels[k].ClippedHigh;
  }
  std::vector<analysis::Measurements> out(rows);
  analysis::Measurer().Measure(inputs, ref, out);
  py::dict all;
  for (size_t k = 0; k < rows; ++k) {
    const analysis::Measurements& m = out[k];
    auto value = [](const std::optional<double>& x) {
      return x ? py::object(py::float_(*x)) : py::object(py::none());
    };
    py::dict d;
    d["frequency"] = value(m.frequency);
    d["period"] = value(m.period);
    d["peak_to_peak"] = value(m.peakToPeak);
    d["min"] = value(m.min);
    d["max"] = value(m.max);
    d["mean"] = value(m.mean);
    d["rms"] = value(m.rms);
    d["amplitude"] = value(m.amplitude);
    d["duty_cycle"] = value(m.dutyCycle);
    d["rise_time"] = value(m.riseTime);
    d["fall_time"] = value(m.fallTime);
    d["delay"] = value(m.delay);
    d["phase"] = value(m.phase);
    d["base"] = value(m.base);
    d["top"] = value(m.top);
    d["saturated"] = m.saturated;
    all[py::int_(h.Channels[k].Channel)] = d;
  }
  return all;
}

} // namespace qvt::python
