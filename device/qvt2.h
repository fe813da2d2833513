// SPDX-License-Identifier: GPL-3.0-or-later
// TQVT2: the program's one door to the interface. It owns the port, the acquisition request
// and the generator table that the library reads (and normalises in place), the sample store
// that polling fills, the conversion to volts, the generator frequency fitting and the
// point-measure thread.
//
// Threads: everything runs on the caller's thread except the point-measure thread, which
// uses the request and the store while it runs; the caller stops it before using the
// oscilloscope operations again. LatestValue is the one field both read at the same time.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <string_view>
#include <thread>

#include "qvtrecords.h"
#include "timebases.h"

// Which ends of the converter's scale a channel's samples reached: a sample there was clipped.
struct TClipping {
  bool Low = false;
  bool High = false;
};

class TQVT2 {
public:
  static constexpr int kChannels = 4;
  static constexpr int kStoreSize = 16385; // slots of the sample store per channel
  static constexpr int kMaxStored = 16384; // samples kept per channel and sweep
  static constexpr int kPreTrigger = 500;  // samples acquired before the sweep
  static constexpr int kGeneratorSamples = QVT_GENERATOR_SAMPLES;
  static constexpr double kWideVoltsPerCode = 30.0 / 16384.0;
  static constexpr double kNarrowVoltsPerCode = 15.0 / 16384.0;

  TQVT2();
  ~TQVT2(); // stops the point measure and any acquisition, closes the port
  TQVT2(const TQVT2&) = delete;
  TQVT2& operator=(const TQVT2&) = delete;

  // Port. OpenPort opens `name` ("VexorQVT2-0", the first interface, by default) once (an open
  // port is not reopened) and waits 100 ms.
  static constexpr const char* kDefaultPortName = "VexorQVT2-0";
  bool IsOpen() const { return PortHandle != 0; }
  bool OpenPort(std::string_view name = kDefaultPortName);
  int32_t PortHandleValue() const { return PortHandle; } // for the library's exports; 0 closed
  void ClosePort();

  // Acquisition. Poll appends what the interface has sent to the store (at most 16,384
  // samples per channel) and tells whether anything was stored.
  bool StartAcquisition();
  bool StopAcquisition();
  bool Poll();
  int32_t TotalPoints() const; // sweep points + 500
  int32_t SweepPoints() const;
  bool IsFinished() const { return TotalPoints() <= ReceivedCount; }
  double SampleRate() const;     // Hz, from the request as it stands
  double PreTriggerTime() const; // seconds (<= 0) of the first sample relative to the trigger
  bool AcquisitionRunning() const { return Running; }
  // Asks the interface for its version text: true when it answered. A way to tell an interface
  // that is only waiting for its trigger from one that is gone, without touching the sweep.
  bool Answers();

  // Settings. Channel indexes above 3, enabled values above 127 and time bases above 25 throw
  // std::out_of_range.
  void SetTimeBase(int index);
  int TimeBaseIndex() const { return TimeBase; }
  void SetChannelEnabled(int channel, uint8_t value);
  bool ChannelEnabled(int channel) const;
  int EnabledChannelCount() const { return EnabledCount; }
  void SetInputYD(int channel, uint8_t value);
  void SetHighRange(int channel, bool wide);
  void SetTriggerSource(uint8_t source);
  uint8_t TriggerSource() const { return Request.triggerSource; }
  void SetTriggerEnable(uint8_t enable) { Request.triggerEnable = enable; }
  void SetRisingEdge(uint8_t rising) { Request.risingEdge = rising; }
  bool RisingEdge() const { return Request.risingEdge != 0; }
  void SetThreshold(double volts); // kept only when the code falls in 97..3999
  double Threshold() const;

  // The records as the library sees them.
  const QvtAcquisitionRequest& AcquisitionRequest() const { return Request; }
  const QvtGeneratorTable& GeneratorTable() const { return Generator; }
  uint16_t StoredCode(int channel, int index) const;

  // Conversion. `out` must hold 16,385 values (std::out_of_range otherwise). Times are
  // index / SampleRate(), so that they read as the decimals they are ("0.015984").
  void FillChannel(int channel, std::span<double> out) const;
  void FillTimes(std::span<double> out) const;
  // Whether samples first..end-1 of `channel`, numbered as FillChannel numbers them, reached
  // an end of the converter's scale: the code of a full-scale input as the channel's gain
  // calibrates it (the library's gains as they stand). A sample beyond the displayed range is
  // not clipped unless the converter was. The range is cut to the sweep's samples, 0 to
  // TotalPoints().
  TClipping Clipping(int channel, int first, int end) const;
  double FirstSampleValue(int channel) const;

  // Generator: fits a frequency (limited to 1..9,999 Hz) to the three generator clocks, and
  // loads the first 16,000 of `samples` (output codes) for GeneratorPoints samples a period.
  void FitGeneratorFrequency(int32_t requestedHz);
  void StartGenerator(std::span<const int32_t> samples);
  void StopGenerator();

  // Point measure: a thread acquiring at 100 samples per second that keeps the newest value
  // of every channel in LatestValue. StopPointMeasure waits at most 9 ticks of 55 ms; a
  // thread that has not ended by then is joined before the next start or the destruction.
  void StartPointMeasure();
  void StopPointMeasure();
  bool PointMeasureRunning() const { return PointThreadActive.load(); }

  int32_t ReceivedCount = 0;
  uint8_t GeneratorMode = 0;
  int32_t GeneratorTimer = 0;
  int32_t GeneratorFrequency = 0;
  uint8_t GeneratorClockIndex = 0;
  int32_t GeneratorPoints = 0;
  std::array<double, kChannels> VoltsPerCode;
  double ThresholdOffset = 0.0;
  std::array<std::atomic<double>, kChannels> LatestValue;

private:
  static_assert(std::atomic<double>::is_always_lock_free, "LatestValue is handed over whole");

  void CheckChannel(int channel) const;
  // The signed code of the point measure's newest stored code, on the side of the value
  // before it where the code stands for either end of the scale (see qvt2_convert.cpp).
  int PointCode(int channel, int32_t stored) const;
  void CountEnabled();
  void PointMeasureLoop();
  void JoinPointThread();

  int32_t PortHandle = 0;
  int32_t EnabledCount = 1;
  QvtAcquisitionRequest Request{};
  QvtGeneratorTable Generator{};
  std::array<std::array<uint16_t, kStoreSize>, kChannels> Store{};
  std::array<uint8_t, kChannels> Enabled{};
  std::array<uint8_t, kChannels> Input{};
  int TimeBase = 0;
  bool Running = false;

  std::thread PointThread;
  std::atomic<bool> PointStop{false};
  std::atomic<bool> PointThreadActive{false};
  std::mutex PointMutex;
  std::condition_variable PointEnded;
};
