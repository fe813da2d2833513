// SPDX-License-Identifier: LGPL-2.1-or-later
// The acquisition engine: channel, trigger and sampling configuration, the sample clock in
// device time, the trigger comparator with its pre-trigger frames, and the frame buffer the
// host reads in packets. Samples are computed lazily when a request brings the device up to
// the current time; nothing runs between requests.
#pragma once

#include <array>
#include <cstdint>

#include "frame_fifo.h"
#include "generator_output.h"
#include "scene.h"

namespace qvt::sim {

class AcquisitionEngine {
public:
  static constexpr uint64_t kPreTriggerFrames = 500;
  // A partial packet is committed once its oldest frame has waited this long.
  static constexpr int64_t kPacketLatencyNanos = 4'000'000;
  // While waiting for a trigger, at most this many sample periods before the present are
  // examined at each request; older ones count as passed without an edge.
  static constexpr uint64_t kMaxArmedScan = uint64_t{1} << 20;

  enum class State { kIdle, kArmed, kCapturing, kStopped };

  // A committed packet becomes ready `stallNanos` of device time after its commit.
  AcquisitionEngine(const Scene& scene, const GeneratorOutput& generator,
                    const std::array<float, 4>& factoryGains, uint64_t seed,
                    int64_t stallNanos = 0);

  // Configuration commands; they take effect at the next start.
  // 0x05: (input, range) for channels 0..3; input 1 is the YD socket, range 1 the narrow one.
  void SetChannels(const uint8_t pairs[8]);
  // 0x06: source 1..4 triggers on channel 0..3, anything else does not trigger.
  void SetTrigger(uint8_t source, bool rising, uint16_t level);
  // 0x07: clock select (0, 1, 2 = 6, 2, 10 MHz), timer reload, the four enabled bytes as sent
  // (0 = on), prescaler (0 reads as 1) and the 500-period timer value.
  void SetSampling(uint8_t clockSelect, uint8_t reload, const uint8_t invertedEnabled[4],
                   uint16_t prescaler, uint16_t preTriggerTimer);

  // 0x08 / 0x09: discards unread frames and starts a record at `now`; `reconfigured`
  // restarts the noise and glitch sequences from the seed.
  void Start(int64_t now, bool reconfigured);
  // 0x0A / 0x10: captures up to `now`, then stops; unread frames stay readable.
  void Stop(int64_t now);
  // Power-on state: no record, configuration cleared.
  void Reset();

  // Brings capture up to device time `now`. Call before every query or read.
  void Advance(int64_t now);
  // Whether a packet is ready: it is committed when a full packet of frames is buffered, or
  // the oldest frame has waited kPacketLatencyNanos, or the record has ended with frames
  // left, and ready the stall after that.
  bool PacketReady(int64_t now, uint32_t packetSize) const;
  // Removes one ready packet (whole frames, at most `length` bytes and one packet) into
  // `out`; returns its byte count, 0 when none is ready.
  uint32_t ReadPacket(int64_t now, uint8_t* out, uint32_t length, uint32_t packetSize);

  State GetState() const { return state_; }
  size_t BufferedFrames() const { return fifo_.Size(); }
  uint16_t PreTriggerTimer() const { return pending_.preTriggerTimer; }
  // Sample period of the running record in nanoseconds (fractional).
  double SamplePeriodNanos() const;

private:
  struct Config {
    std::array<uint8_t, 4> input{};
    std::array<uint8_t, 4> range{};
    uint8_t triggerSource = 0;
    bool rising = true;
    uint16_t triggerLevel = 2048;
    uint8_t clockSelect = 0;
    uint8_t reload = 0;
    std::array<bool, 4> enabled{};
    uint16_t prescaler = 1;
    uint16_t preTriggerTimer = 0xFFFF;
  };

  uint32_t FramesPerPacket(uint32_t packetSize) const;
  int64_t CommitTime(uint32_t packetSize) const;
  int64_t SampleNanos(uint64_t index) const;
  void ComputeFrame(uint64_t index, uint16_t* words);
  double ComparatorVolts(uint64_t index) const;
  void ScanForTrigger(uint64_t due);
  void Fire(uint64_t triggerIndex, uint64_t detectedAt);
  void Capture(uint64_t due);

  const Scene& scene_;
  const GeneratorOutput& generator_;
  std::array<double, 4> frontEndGain_{};
  uint64_t seed_;
  int64_t stallNanos_;

  Config pending_;
  State state_ = State::kIdle;
  FrameFifo fifo_;

  // The running record, fixed at its start.
  int64_t start_ = 0;
  int64_t stoppedAt_ = 0;
  double startSeconds_ = 0.0;
  double periodSeconds_ = 0.0;
  uint64_t clockMegahertz_ = 6;
  uint64_t periodTicks_ = 1;
  uint32_t width_ = 0;
  std::array<uint32_t, 4> order_{};      // enabled channels in frame order
  std::array<double, 4> codesPerVolt_{}; // per channel, range and front-end gain applied
  std::array<bool, 4> yd_{};
  bool framesUseGenerator_ = false;
  int triggerChannel_ = -1;
  bool rising_ = true;
  double threshold_ = 0.0;
  double hysteresis_ = 0.0;
  double noiseBound_ = 0.0; // the largest noise value
  bool triggerUsesGenerator_ = false;
  uint64_t salt_ = 0;
  uint64_t recordNumber_ = 0;

  uint64_t next_ = 0; // index of the next sample to examine or capture
  bool primed_ = false;
  bool havePrevious_ = false;
  double previous_ = 0.0;
  uint64_t nextSequential_ = 0;
  std::array<bool, 4> lastNegative_{};
};

} // namespace qvt::sim
