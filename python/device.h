// SPDX-License-Identifier: GPL-3.0-or-later
// TPyDevice: the interface as a Python object, `qvt2.open()`. It owns the device object and the
// generator, runs sweeps through the headless sweep layer with the GIL released, and keeps the
// point-measure log that runs on it. One interface is open per process at a time.
#pragma once

#include <pybind11/pybind11.h>

#include <chrono>
#include <memory>
#include <optional>

#include "gbf.h"
#include "qvt2.h"
#include "result.h"

namespace qvt::python {

class TLog;

// The Python exceptions of the module, made by the module at import.
struct TErrors {
  pybind11::object Base;   // qvt2.DeviceError
  pybind11::object Absent; // qvt2.DeviceAbsent
  pybind11::object Busy;   // qvt2.DeviceBusy
  pybind11::object Lost;   // qvt2.DeviceLost
};
TErrors& Errors();
// Raises `type` with `message` (sets the Python error and throws error_already_set).
[[noreturn]] void Raise(const pybind11::object& type, const std::string& message);

// Asks Python, from a thread without the GIL, whether a signal handler raised (Ctrl+C): takes
// the GIL at most every 50 ms. The exception stays set for the caller to raise.
class TInterruptCheck {
public:
  bool Interrupted(); // true once a handler has raised
private:
  std::chrono::steady_clock::time_point Last = std::chrono::steady_clock::now();
  bool Raised = false;
};

class TPyDevice {
public:
  // Opens the interface; QVTLINK_DEVICE=sim first when `simulate`. `device`: None, 0 or
  // "VexorQVT2-0" (the first interface). Raises DeviceBusy when an interface is already open in
  // this process, DeviceAbsent when none answers.
  TPyDevice(bool simulate, const pybind11::object& device);
  ~TPyDevice();

  void Close();
  bool IsOpen() const { return Device && Device->IsOpen(); }

  TResult Sweep(const std::string& timebase, const pybind11::object& channels,
                const pybind11::object& ranges, const pybind11::object& trigger, bool pretrigger);

  // The device object for a log or the generator: raises DeviceAbsent when closed or lost.
  TQVT2& Require();
  TGBF& Generator() { return Gbf; }

  // The log running on the device, ended by a sweep, a new log or the closing.
  void SetLog(TLog* log);
  void EndLog();
  void Forget(const TLog* log);
  // Stops the point-measure thread (with the GIL released while it ends).
  void StopPointMeasure();

private:
  std::unique_ptr<TQVT2> Device;
  TGBF Gbf;
  TLog* Log = nullptr;
  bool Sweeping = false;
};

} // namespace qvt::python
