// SPDX-License-Identifier: GPL-3.0-or-later
// The interface as a Python object: opening, sweeps with the GIL released, closing.
#include "device.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

#include "log.h"
#include "sweep_arguments.h"

namespace py = pybind11;
using namespace std::chrono_literals;

namespace qvt::python {

namespace {

// The library keeps one state per process: a second device object on it would share the
// link with the first one. The holder of the open interface; one whose interface was lost no
// longer counts.
const TPyDevice* Holder = nullptr;

constexpr auto kSignalCheckPeriod = 50ms;

// The channel list: an int, or an iterable of ints.
std::array<bool, 4> ChannelsArgument(const py::object& channels, std::vector<int>& order) {
  std::array<bool, 4> on{};
  std::vector<py::handle> items;
  if (py::isinstance<py::int_>(channels)) {
    items.push_back(channels);
  } else {
    for (py::handle item : channels)
      items.push_back(item);
  }
  if (items.empty())
    throw std::invalid_argument("no channel given; accepted: 0, 1, 2, 3");
  for (py::handle item : items) {
    if (!py::isinstance<py::int_>(item))
      throw std::invalid_argument("channel " + py::repr(item).cast<std::string>() +
                                  " is not a number; accepted: 0, 1, 2, 3");
    const int c = ChannelArgument(item.cast<long long>());
    if (on[c])
      throw std::invalid_argument("channel " + std::to_string(c) + " given twice");
    on[c] = true;
    order.push_back(c);
  }
  return on;
}

int RangeOf(py::handle value) {
  if (py::isinstance<py::str>(value))
    return RangeArgument(value.cast<std::string>());
  if (py::isinstance<py::int_>(value) || py::isinstance<py::float_>(value))
    return RangeArgument(value.cast<double>());
  return RangeArgument(py::str(value).cast<std::string>());
}

} // namespace

TErrors& Errors() {
  static TErrors errors;
  return errors;
}

void Raise(const py::object& type, const std::string& message) {
  PyErr_SetString(type.ptr(), message.c_str());
  throw py::error_already_set();
}

bool TInterruptCheck::Interrupted() {
  if (Raised)
    return true;
  const auto now = std::chrono::steady_clock::now();
  if (now - Last < kSignalCheckPeriod)
    return false;
  Last = now;
  py::gil_scoped_acquire gil;
  Raised = PyErr_CheckSignals() != 0;
  return Raised;
}

TPyDevice::TPyDevice(bool simulate, const py::object& device) {
  if (!device.is_none()) {
    const bool first =
        (py::isinstance<py::int_>(device) && device.cast<long long>() == 0) ||
        (py::isinstance<py::str>(device) && device.cast<std::string>() == "VexorQVT2-0");
    if (!first)
      throw std::invalid_argument("unknown device " + py::repr(device).cast<std::string>() +
                                  "; accepted: None, 0, 'VexorQVT2-0'");
  }
  if (Holder != nullptr && Holder->IsOpen())
    Raise(Errors().Busy, "an interface is already open in this process; close it first");
  if (simulate)
    ::setenv("QVTLINK_DEVICE", "sim", 1); // before the library opens anything
  Device = std::make_unique<TQVT2>();
  Gbf.SetDevice(Device.get());
  bool opened = false;
  {
    py::gil_scoped_release release; // opening waits for the port to settle
    opened = Device->OpenPort();
  }
  if (!opened) {
    Device.reset();
    Raise(Errors().Absent, "no interface answers (QVTLINK_DEVICE=sim, or simulate=True, selects "
                           "the virtual interface)");
  }
  Holder = this;
}

TPyDevice::~TPyDevice() {
  try {
    Close();
  } catch (...) { // a destructor called by Python's collector has nobody to tell
  }
}

void TPyDevice::Close() {
  if (Sweeping)
    Raise(Errors().Busy, "a sweep is running on this interface");
  EndLog();
  if (!Device)
    return;
  if (Device->IsOpen() && Gbf.Running)
    Gbf.Stop();
  {
    py::gil_scoped_release release;
    Device.reset(); // stops the acquisition and closes the port
  }
  Gbf.SetDevice(nullptr);
  if (Holder == this)
    Holder = nullptr;
}

TQVT2& TPyDevice::Require() {
  if (Sweeping)
    Raise(Errors().Busy, "a sweep is running on this interface");
  if (!Device)
    Raise(Errors().Absent, "the interface is closed");
  if (!Device->IsOpen()) // lost during a sweep: the port is closed
    Raise(Errors().Absent, "the interface was lost; open it again");
  return *Device;
}

void TPyDevice::SetLog(TLog* log) {
  EndLog();
  Log = log;
}

void TPyDevice::EndLog() {
  if (Log != nullptr) {
    TLog* log = Log;
    Log = nullptr;
    log->End();
  }
}

void TPyDevice::Forget(const TLog* log) {
  if (Log == log)
    Log = nullptr;
}

void TPyDevice::StopPointMeasure() {
  if (Device && Device->IsOpen()) {
    py::gil_scoped_release release;
    Device->StopPointMeasure();
  }
}

TResult TPyDevice::Sweep(const std::string& timebase, const py::object& channels,
                         const py::object& ranges, const py::object& trigger, bool pretrigger) {
  TSweepSetup setup;
  setup.TimeBase = TimeBaseArgument(timebase);
  std::vector<int> order;
  setup.Channels = ChannelsArgument(channels, order);
  if (!ranges.is_none()) {
    for (auto [key, value] : py::cast<py::dict>(ranges)) {
      if (!py::isinstance<py::int_>(key))
        throw std::invalid_argument("range key " + py::repr(key).cast<std::string>() +
                                    " is not a channel; accepted: 0, 1, 2, 3");
      const int c = ChannelArgument(key.cast<long long>());
      if (!setup.Channels[c])
        throw std::invalid_argument("range given for channel " + std::to_string(c) +
                                    ", which is not swept");
      setup.Range[c] = RangeOf(value);
    }
  }
  if (!trigger.is_none()) {
    const auto t = py::cast<py::tuple>(trigger);
    if (t.size() < 2 || t.size() > 3 || !py::isinstance<py::str>(t[0]) ||
        !py::isinstance<py::int_>(t[1]))
      throw std::invalid_argument("trigger " + py::repr(trigger).cast<std::string>() +
                                  "; accepted: None or (edge, channel[, level in V]) with edge "
                                  "'rising' or 'falling'");
    setup.Rising = EdgeArgument(t[0].cast<std::string>());
    const int c = ChannelArgument(t[1].cast<long long>());
    if (!setup.Channels[c])
      throw std::invalid_argument("trigger channel " + std::to_string(c) + " is not swept");
    setup.TriggerSource = c + 1;
    setup.Level = t.size() == 3 ? LevelArgument(t[2].cast<double>()) : 0.0;
  } else if (pretrigger) {
    throw std::invalid_argument("pretrigger=True needs a trigger");
  }
  setup.PreTrigger = pretrigger;

  TQVT2& device = Require();
  EndLog();
  std::optional<TScopeError> failure;
  bool interrupted = false;
  TSweep sweep;
  Sweeping = true;
  {
    py::gil_scoped_release release;
    TInterruptCheck interrupt;
    TAcquireControl control;
    control.Continue = [&interrupt] { return !interrupt.Interrupted(); };
    try {
      sweep = Acquire(device, setup, control);
    } catch (const TScopeError& e) {
      failure = e;
    }
    // The handler's exception (KeyboardInterrupt) is set; it goes up once the GIL is back.
    interrupted = interrupt.Interrupted();
  }
  Sweeping = false;
  if (interrupted)
    throw py::error_already_set();
  if (failure) {
    if (failure->Kind == TScopeError::TKind::Lost)
      Raise(Errors().Lost, failure->what());
    Raise(failure->Kind == TScopeError::TKind::Absent ? Errors().Absent : Errors().Base,
          failure->what());
  }
  // Volts rows follow the sweep's channel order (0..3); the caller's order is the rows' order.
  std::vector<std::vector<double>> rows;
  for (int c : order) {
    const auto at =
        std::find(sweep.Channels.begin(), sweep.Channels.end(), c) - sweep.Channels.begin();
    rows.push_back(static_cast<size_t>(at) < sweep.Volts.size()
                       ? std::move(sweep.Volts[static_cast<size_t>(at)])
                       : std::vector<double>());
  }
  sweep.Volts = std::move(rows);
  sweep.Channels = order;
  return ResultOfSweep(std::move(sweep));
}

} // namespace qvt::python
