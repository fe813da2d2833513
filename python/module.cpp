// SPDX-License-Identifier: GPL-3.0-or-later
// The Python module qvt2: bindings of the device, its sweeps, log and generator, the result
// object and the measurement-file reader, with their docstrings and exceptions.
#include <filesystem>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include "device.h"
#include "english_texts.h"
#include "fitting.h"
#include "generator.h"
#include "log.h"
#include "result.h"
#include "sweep_arguments.h"
#include "sweep_calculus.h"
#include "timebase_names.h"
#include "timebases.h"

namespace py = pybind11;
using namespace py::literals;
using qvt::python::TLog;
using qvt::python::TPyDevice;
using qvt::python::TPyGenerator;
using qvt::python::TResult;

namespace {

py::object NewError(py::module_& m, const char* name, const py::object& base, const char* doc) {
  const std::string full = std::string("qvt2.") + name;
  py::object type = py::reinterpret_steal<py::object>(
      PyErr_NewExceptionWithDoc(full.c_str(), doc, base.ptr(), nullptr));
  if (!type)
    throw py::error_already_set();
  m.attr(name) = type;
  return type;
}

std::vector<int> LogChannels(const py::object& channels) {
  std::vector<int> out;
  for (py::handle item : channels) {
    if (!py::isinstance<py::int_>(item))
      throw std::invalid_argument("channel " + py::repr(item).cast<std::string>() +
                                  " is not a number; accepted: 0, 1, 2, 3");
    const int c = qvt::python::ChannelArgument(item.cast<long long>());
    if (std::find(out.begin(), out.end(), c) != out.end())
      throw std::invalid_argument("channel " + std::to_string(c) + " given twice");
    out.push_back(c);
  }
  if (out.empty())
    throw std::invalid_argument("no channel given; accepted: 0, 1, 2, 3");
  return out;
}

TResult Read(const std::string& path) {
  qvt::TMeasurement m;
  std::string error;
  bool ok = false;
  {
    py::gil_scoped_release release;
    ok = qvt::ReadMeasureFile(path, m, error);
  }
  if (!ok) {
    std::error_code code;
    if (!std::filesystem::exists(path, code)) {
      PyErr_SetString(PyExc_FileNotFoundError, error.c_str());
      throw py::error_already_set();
    }
    throw std::invalid_argument(error);
  }
  return qvt::python::ResultOfMeasurement(std::move(m));
}

} // namespace

PYBIND11_MODULE(qvt2, m) {
  m.doc() =
      "Sweeps, point logs and the function generator of the Vexor QVT II lab interface.\n\n"
      "    import qvt2\n"
      "    with qvt2.open(simulate=True) as dev:\n"
      "        r = dev.sweep(timebase=\"20 ms\", channels=[0, 1], trigger=(\"rising\", 1, 0.0))\n"
      "        print(r.t.shape, r.v.shape)\n";
  m.attr("__version__") = QVT2_VERSION;
  // The layers' messages (a measurement file's errors...) in English, as the module's own.
  qvt::python::InstallEnglishTexts();

  auto& errors = qvt::python::Errors();
  errors.Base = NewError(m, "DeviceError", py::reinterpret_borrow<py::object>(PyExc_OSError),
                         "The interface could not do what was asked.");
  errors.Absent =
      NewError(m, "DeviceAbsent", errors.Base, "No interface answers, or it has been closed.");
  errors.Busy = NewError(m, "DeviceBusy", errors.Base,
                         "The interface is in use: already open in this process, or sweeping "
                         "on another thread.");
  errors.Lost = NewError(m, "DeviceLost", errors.Base,
                         "The interface went away during a sweep; open it again.");

  py::class_<TResult>(m, "Sweep",
                      "A sweep, or a measurement read from a file.\n\n"
                      "t: float64 array of the sample times, s (0 at the trigger; the point "
                      "number in a point-mode file).\n"
                      "v: float64 array of shape (len(channels), len(t)), one row per channel.\n"
                      "channels: the interface's channels (0 to 3), in the order of v's rows.\n"
                      "units: the unit of each row (\"V\").\n"
                      "meta: dict of the settings (timebase, sample_rate, trigger, pretrigger, "
                      "ranges, date, ...).")
      .def_readonly("t", &TResult::T)
      .def_readonly("v", &TResult::V)
      .def_readonly("channels", &TResult::Channels)
      .def_readonly("units", &TResult::Units)
      .def_readonly("meta", &TResult::Meta)
      .def("save", &qvt::python::SaveResult, "path"_a, "comment"_a = "",
           "Writes the sweep to a measurement file (.qvtm) that qvt2.read, the program, "
           "spreadsheets and numpy.loadtxt(path, delimiter=',', comments='#', skiprows=1) read.")
      .def("measure", &qvt::python::MeasureResult, "reference"_a = py::none(),
           "The automatic measurements of each channel: {channel: {'frequency': Hz, 'period', "
           "'peak_to_peak', 'min', 'max', 'mean', 'rms', 'amplitude', 'duty_cycle' (%), "
           "'rise_time', 'fall_time', 'delay' and 'phase' (degrees) against the reference "
           "channel (default: the first), 'base', 'top', 'saturated' (the converter clipped: "
           "the peak values are None)}. A value that cannot be measured is None, never a wrong "
           "number.")
      .def("__len__", [](const TResult& r) { return r.T.size(); })
      .def("__repr__", [](const TResult& r) {
        return "<qvt2.Sweep channels=" + py::repr(r.Channels).cast<std::string>() +
               " samples=" + std::to_string(r.T.size()) + ">";
      });
  qvt::python::AddCalculus(m);

  qvt::python::DefineFit(m);

  py::class_<TPyGenerator>(m, "Generator",
                           "The interface's function generator (output from -10 to 10 V, 1 to "
                           "9999 Hz). Each start returns the frequency obtained, Hz.")
      .def(
          "sine",
          [](TPyGenerator& g, double f, double a, double o) { return g.Start(2, f, a, o, 0.5); },
          "frequency"_a, "amplitude"_a = 1.0, "offset"_a = 0.0,
          "Plays a sine of `amplitude` volts (peak) around `offset` volts.")
      .def(
          "square",
          [](TPyGenerator& g, double f, double a, double o, double d) {
            return g.Start(0, f, a, o, d);
          },
          "frequency"_a, "amplitude"_a = 1.0, "offset"_a = 0.0, "duty"_a = 0.5,
          "Plays a square between offset-amplitude and offset+amplitude; `duty` is the low part.")
      .def(
          "triangle",
          [](TPyGenerator& g, double f, double a, double o, double d) {
            return g.Start(1, f, a, o, d);
          },
          "frequency"_a, "amplitude"_a = 1.0, "offset"_a = 0.0, "duty"_a = 0.5,
          "Plays a triangle from offset-amplitude to offset+amplitude; `duty` is the rising part.")
      .def("formula", &TPyGenerator::Formula, "text"_a, "frequency"_a,
           "Plays a formula of t (0 to 1 over one period) in volts, e.g. '5*sin(2*pi*t)'.")
      .def("stop", &TPyGenerator::Stop, "Stops the output.")
      .def_property_readonly("running", &TPyGenerator::Running, "Whether a wave is playing.");

  py::class_<TLog>(m, "Log",
                   "Points of a slow recording: iterate for (t, values), t in seconds from the "
                   "first point, values a float64 array (volts, one per channel). Ended by "
                   "close(), a sweep, another log or closing the interface.")
      .def(
          "__iter__", [](TLog& log) -> TLog& { return log; },
          py::return_value_policy::reference_internal)
      .def("__next__", &TLog::Next)
      .def("close", &TLog::End, "Stops the recording.")
      .def(
          "__enter__", [](TLog& log) -> TLog& { return log; },
          py::return_value_policy::reference_internal)
      .def("__exit__", [](TLog& log, const py::args&) { log.End(); });

  py::class_<TPyDevice>(m, "Device", "An open interface; see qvt2.open.")
      .def("sweep", &TPyDevice::Sweep, "timebase"_a = "20 ms", "channels"_a = std::vector<int>{0},
           "ranges"_a = py::none(), "trigger"_a = py::none(), "pretrigger"_a = false,
           "Runs one sweep and returns its qvt2.Sweep.\n\n"
           "timebase: the sweep's duration by name, \"10 µs\" (or \"10 us\") to \"1 h\".\n"
           "channels: the channels to take, 0 to 3 (an int or a list); v's rows follow it.\n"
           "ranges: {channel: range}, \"50 mV\" to \"15 V\" (or the volts, 5); 15 V otherwise.\n"
           "trigger: None to start at once, or (\"rising\"|\"falling\", channel, level in V).\n"
           "pretrigger: also return the 500 samples before the trigger.\n\n"
           "The wait releases the GIL; Ctrl+C stops it (KeyboardInterrupt) and leaves the "
           "interface usable.")
      .def(
          "log",
          [](TPyDevice& dev, double interval, const py::object& channels) {
            if (!(interval >= 0.01))
              throw std::invalid_argument("interval " + std::to_string(interval) +
                                          " s too short; accepted: 0.01 s and more");
            return std::make_unique<TLog>(dev, interval, LogChannels(channels));
          },
          "interval"_a = 1.0, "channels"_a = std::vector<int>{0}, py::keep_alive<0, 1>(),
          "Records the channels (±15 V) every `interval` seconds: an iterator of (t, values).")
      .def_property_readonly(
          "generator", [](TPyDevice& dev) { return std::make_unique<TPyGenerator>(dev); },
          py::keep_alive<0, 1>(), "The function generator (qvt2.Generator).")
      .def_property_readonly("is_open", &TPyDevice::IsOpen)
      .def("close", &TPyDevice::Close, "Stops the log and the generator and closes the interface.")
      .def(
          "__enter__", [](TPyDevice& dev) -> TPyDevice& { return dev; },
          py::return_value_policy::reference)
      .def("__exit__", [](TPyDevice& dev, const py::args&) { dev.Close(); });

  m.def(
      "open",
      [](bool simulate, const py::object& device) {
        return std::make_unique<TPyDevice>(simulate, device);
      },
      "simulate"_a = false, "device"_a = py::none(),
      "Opens the interface and returns a qvt2.Device (also a context manager).\n\n"
      "simulate: use the virtual interface (as QVTLINK_DEVICE=sim does).\n"
      "device: None or 0 for the first interface.\n"
      "Raises DeviceAbsent when no interface answers, DeviceBusy when one is already open in "
      "this process.");
  m.def("read", &Read, "path"_a,
        "Reads a measurement file (.qvtm) into a qvt2.Sweep; ValueError for a file that is not "
        "one, with the reason.");
  m.def(
      "timebases",
      [] {
        std::vector<std::string> out;
        for (int i = 0; i < kTimeBaseCount; ++i)
          out.push_back(qvt::TimeBaseLabelUtf8(i));
        return out;
      },
      "The time bases' names, shortest first.");
}
