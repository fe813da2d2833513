// SPDX-License-Identifier: GPL-3.0-or-later
// TQVT2: the point-measure thread. It acquires all enabled channels at 100 samples per second
// without trigger and keeps the newest value of each channel in LatestValue, restarting the
// acquisition whenever 16,384 samples have come in.
#include <chrono>

#include "qvt2.h"
#include "qvtlink.h"

namespace {
// The wait of StopPointMeasure: 9 ticks of the 55 ms system tick.
constexpr auto kStopWait = std::chrono::milliseconds(9 * 55);
// An empty poll is followed by this pause: the interface delivers 100 samples a second, so
// polling faster would only spin the processor.
constexpr auto kIdlePause = std::chrono::milliseconds(2);
} // namespace

void TQVT2::StartPointMeasure() {
  if (!IsOpen())
    return;
  StopPointMeasure();
  JoinPointThread(); // a thread that outlived the stop's wait must end before a new one runs
  PointStop.store(false);
  PointThreadActive.store(true);
  PointThread = std::thread([this] { PointMeasureLoop(); });
}

void TQVT2::StopPointMeasure() {
  if (!IsOpen() || !PointThread.joinable())
    return;
  PointStop.store(true);
  std::unique_lock lock(PointMutex);
  const bool ended =
      PointEnded.wait_for(lock, kStopWait, [this] { return !PointThreadActive.load(); });
  lock.unlock();
  // A thread still running keeps its std::thread; the destructor or the next start joins it,
  // so it never outlives the object it works on.
  if (ended)
    PointThread.join();
}

void TQVT2::JoinPointThread() {
  if (PointThread.joinable()) {
    PointStop.store(true);
    PointThread.join();
  }
}

void TQVT2::PointMeasureLoop() {
  Request.clockSelect = 1;
  Request.timerReload = 56;
  Request.prescaler = 100;
  Request.triggerSource = 0;
  Request.triggerEnable = 0;
  Request.risingEdge = 0;
  Request.triggerLevel = 2048;
  Request.reconfigure = 0;
  CountEnabled();
  try {
    while (!PointStop.load()) {
      _LanceAcqui(PortHandle, &Request);
      ReceivedCount = 0;
      while (!PointStop.load() && ReceivedCount < kMaxStored) {
        QvtSampleBlock block;
        const int32_t words = _GetUSBData(PortHandle, &block, &Request);
        const int32_t n = EnabledCount > 0 ? words / EnabledCount : 0;
        if (n <= 0) {
          std::this_thread::sleep_for(kIdlePause);
          continue;
        }
        for (int k = 0; k < kChannels; ++k) {
          const int32_t c = block.count[k];
          if (Enabled[k] == 0 || c <= 0 || c > QVT_BLOCK_SAMPLES)
            continue;
          LatestValue[k].store(PointCode(k, block.samples[k][c - 1]) * VoltsPerCode[k]);
        }
        ReceivedCount += n;
      }
    }
  } catch (...) {
    // Nothing in the loop is expected to throw; the acquisition is stopped below either way.
  }
  _StopAcqui(PortHandle);
  for (int i = 0; i < 4096 && Poll(); ++i) {
  }
  ReceivedCount = 0;
  {
    std::lock_guard lock(PointMutex);
    PointThreadActive.store(false);
  }
  PointEnded.notify_all();
}
