// SPDX-License-Identifier: GPL-3.0-or-later
// The point log: deadlines on the steady clock, so that points do not drift however long the
// caller takes between them (a point whose time has passed is taken at once).
#include "log.h"

#include <algorithm>
#include <thread>

#include "device.h"
#include "qvt2.h"

namespace py = pybind11;
using namespace std::chrono_literals;

namespace qvt::python {

namespace {
// The point measure samples at 100 Hz; the first point waits until every channel has been
// sampled a few times.
constexpr auto kSettle = 50ms;
constexpr auto kWaitSlice = 20ms;
} // namespace

TLog::TLog(TPyDevice& owner, double interval, std::vector<int> channels)
    : Owner(&owner), Channels(std::move(channels)),
      Interval(std::chrono::duration_cast<std::chrono::steady_clock::duration>(
          std::chrono::duration<double>(interval))) {
  TQVT2& device = owner.Require();
  owner.SetLog(this);
  for (int c = 0; c < TQVT2::kChannels; ++c) {
    const bool on = std::find(Channels.begin(), Channels.end(), c) != Channels.end();
    device.SetChannelEnabled(c, on ? 1 : 0);
    if (on) {
      device.SetInputYD(c, 0);
      device.SetHighRange(c, true);
    }
  }
  device.StartPointMeasure();
  First = std::chrono::steady_clock::now() + kSettle;
}

TLog::~TLog() {
  End();
}

void TLog::End() {
  if (Owner == nullptr)
    return;
  TPyDevice* owner = Owner;
  Owner = nullptr;
  owner->Forget(this);
  owner->StopPointMeasure();
}

py::tuple TLog::Next() {
  if (Owner == nullptr)
    throw py::stop_iteration();
  TQVT2& device = Owner->Require();
  const auto due = First + Index * Interval;
  bool interrupted = false;
  {
    py::gil_scoped_release release;
    TInterruptCheck interrupt;
    for (auto now = std::chrono::steady_clock::now(); now < due && !interrupted;
         now = std::chrono::steady_clock::now()) {
      std::this_thread::sleep_for(
          std::min<std::chrono::steady_clock::duration>(due - now, kWaitSlice));
      interrupted = interrupt.Interrupted();
    }
  }
  if (interrupted) {
    py::error_already_set error; // fetched before End releases the GIL
    End();
    throw error;
  }
  if (Owner == nullptr) // ended by another thread meanwhile
    throw py::stop_iteration();
  py::array_t<double> values(static_cast<py::ssize_t>(Channels.size()));
  double* out = values.mutable_data();
  for (size_t k = 0; k < Channels.size(); ++k)
    out[k] = device.LatestValue[static_cast<size_t>(Channels[k])].load();
  const double t = std::chrono::duration<double>(Index * Interval).count();
  ++Index;
  return py::make_tuple(t, values);
}

} // namespace qvt::python
