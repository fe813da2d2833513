// SPDX-License-Identifier: LGPL-2.1-or-later
// The acquisition engine.
//
// Timing: sample k of a record is taken (k + 1) sample periods after the start command, one
// period being (256 - reload) * prescaler ticks of the selected clock. A request at device
// time t makes every sample taken by t exist; the engine computes them then, in order.
//
// Codes: volts are converted with the channel's range (30/16384 or 15/16384 V per code) and
// its front-end gain, the inverse of the calibration factor the interface reports, so that the
// host's calibration gives back the true voltage. Codes saturate at -8191 and +8192: 0x2000 is
// the positive full scale, never a negative one, so the host's reading of it stays right.
//
// Trigger: a comparator with hysteresis watches the source channel's input on the ±15 V scale
// (level code 0..4096 spans -15..+15 V) plus the comparator's offset. It is primed once the
// input has been beyond the threshold on the far side of the edge by the hysteresis, and
// fires when the input reaches the threshold. The trigger frame is the sample nearest to the
// crossing (found by linear interpolation between two samples), so the value read at the
// trigger frame centres on the threshold itself; an edge is accepted only once 500 frames
// precede it in the record, so every triggered record starts with 500 pre-trigger frames.
//
// Buffering: frames enter a 16,384-frame buffer. When it is full, capture pauses: samples
// taken meanwhile are not kept, and capture resumes once the host has read a packet. A
// record of up to 16,384 frames therefore always reaches the host contiguous.
//
// Readiness: the first buffered packet is committed at the earliest of three device times:
// the sample time of its last frame once it is full, its oldest frame's time plus the packet
// latency, and the stop of the record. It is ready the stall after its commit.
#include "acquisition.h"

#include <algorithm>
#include <cmath>

#include "device_time.h"

namespace qvt::sim {
namespace {

constexpr uint64_t kSampleClockMegahertz[3] = {6, 2, 10};
constexpr double kWideVoltsPerCode = 30.0 / 16384.0;
constexpr double kNarrowVoltsPerCode = 15.0 / 16384.0;
constexpr uint64_t kRecordSaltStep = 0x9E3779B97F4A7C15ull;

// Rounds half away from zero, as lround does, without its library call.
int32_t ToCode(double codes) {
  if (std::isnan(codes))
    return 0;
  const double clamped = std::clamp(codes, -8191.0, 8192.0);
  return static_cast<int32_t>(clamped + (clamped < 0.0 ? -0.5 : 0.5));
}

} // namespace

AcquisitionEngine::AcquisitionEngine(const Scene& scene, const GeneratorOutput& generator,
                                     const std::array<float, 4>& factoryGains, uint64_t seed,
                                     int64_t stallNanos)
    : scene_(scene), generator_(generator), seed_(seed), stallNanos_(stallNanos) {
  for (size_t i = 0; i < 4; ++i)
    frontEndGain_[i] = factoryGains[i] > 0.0f ? 1.0 / static_cast<double>(factoryGains[i]) : 1.0;
  salt_ = seed_;
}

void AcquisitionEngine::SetChannels(const uint8_t pairs[8]) {
  for (size_t k = 0; k < 4; ++k) {
    pending_.input[k] = pairs[2 * k];
    pending_.range[k] = pairs[2 * k + 1];
  }
}

void AcquisitionEngine::SetTrigger(uint8_t source, bool rising, uint16_t level) {
  pending_.triggerSource = source;
  pending_.rising = rising;
  pending_.triggerLevel = std::min<uint16_t>(level, 4096);
}

void AcquisitionEngine::SetSampling(uint8_t clockSelect, uint8_t reload,
                                    const uint8_t invertedEnabled[4], uint16_t prescaler,
                                    uint16_t preTriggerTimer) {
  pending_.clockSelect = std::min<uint8_t>(clockSelect, 2);
  pending_.reload = reload;
  for (size_t k = 0; k < 4; ++k)
    pending_.enabled[k] = invertedEnabled[k] == 0;
  pending_.prescaler = std::max<uint16_t>(prescaler, 1);
  pending_.preTriggerTimer = preTriggerTimer;
}

void AcquisitionEngine::Reset() {
  pending_ = Config{};
  state_ = State::kIdle;
  fifo_.Reset(1);
  recordNumber_ = 0;
  salt_ = seed_;
}

void AcquisitionEngine::Start(int64_t now, bool reconfigured) {
  const Config& c = pending_;
  start_ = now;
  clockMegahertz_ = kSampleClockMegahertz[c.clockSelect];
  periodTicks_ = uint64_t{256u - c.reload} * c.prescaler;
  // The sources take time in seconds; a product is cheaper per sample than the integer path.
  startSeconds_ = static_cast<double>(start_) * 1e-9;
  periodSeconds_ = static_cast<double>(periodTicks_) * 1e-6 / static_cast<double>(clockMegahertz_);

  width_ = 0;
  framesUseGenerator_ = false;
  for (uint32_t k = 0; k < 4; ++k) {
    yd_[k] = c.input[k] == 1;
    const double voltsPerCode = c.range[k] == 1 ? kNarrowVoltsPerCode : kWideVoltsPerCode;
    codesPerVolt_[k] = frontEndGain_[k] / voltsPerCode;
    if (c.enabled[k]) {
      order_[width_++] = k;
      framesUseGenerator_ = framesUseGenerator_ || scene_.UsesGenerator(k, yd_[k]);
    }
  }
  fifo_.Reset(std::max<uint32_t>(width_, 1));

  triggerChannel_ = c.triggerSource >= 1 && c.triggerSource <= 4 ? c.triggerSource - 1 : -1;
  rising_ = c.rising;
  threshold_ = c.triggerLevel * (30.0 / 4096.0) - 15.0 + scene_.TriggerOffset();
  // Wide enough that noise on a slow edge cannot fire the opposite edge.
  hysteresis_ = 0.01 + 5.0 * scene_.NoiseRms();
  noiseBound_ = scene_.NoiseBound();
  triggerUsesGenerator_ =
      triggerChannel_ >= 0 &&
      scene_.UsesGenerator(static_cast<uint32_t>(triggerChannel_), yd_[triggerChannel_]);

  recordNumber_ = reconfigured ? 0 : recordNumber_ + 1;
  salt_ = seed_ + recordNumber_ * kRecordSaltStep;

  next_ = 0;
  primed_ = false;
  havePrevious_ = false;
  nextSequential_ = UINT64_MAX;
  if (width_ == 0)
    state_ = State::kIdle;
  else
    state_ = triggerChannel_ >= 0 ? State::kArmed : State::kCapturing;
}

void AcquisitionEngine::Stop(int64_t now) {
  Advance(now);
  if (state_ == State::kArmed || state_ == State::kCapturing) {
    state_ = State::kStopped;
    stoppedAt_ = now;
  }
}

double AcquisitionEngine::SamplePeriodNanos() const {
  return static_cast<double>(periodTicks_) * 1000.0 / static_cast<double>(clockMegahertz_);
}

int64_t AcquisitionEngine::SampleNanos(uint64_t index) const {
  return start_ + static_cast<int64_t>(NanosOf((index + 1) * periodTicks_, clockMegahertz_));
}

uint32_t AcquisitionEngine::FramesPerPacket(uint32_t packetSize) const {
  return packetSize / (2 * fifo_.WordsPerFrame());
}

void AcquisitionEngine::ComputeFrame(uint64_t index, uint16_t* words) {
  // A glitch needs the sample before it; after a gap in the computed sequence none is known.
  if (index != nextSequential_)
    lastNegative_.fill(false);
  nextSequential_ = index + 1;

  const double seconds = startSeconds_ + static_cast<double>(index + 1) * periodSeconds_;
  const double g0 = framesUseGenerator_ ? generator_.VoltsAt(SampleNanos(index)) : 0.0;
  for (uint32_t i = 0; i < width_; ++i) {
    const uint32_t k = order_[i];
    const double volts = scene_.InputVolts(k, yd_[k], seconds, g0) + scene_.Noise(salt_, k, index);
    const int32_t code = ToCode(volts * codesPerVolt_[k]);
    uint16_t word = static_cast<uint16_t>(code) & 0x3FFF;
    if (lastNegative_[k] && scene_.Glitch(salt_, k, index))
      word = 0x2000;
    lastNegative_[k] = code < 0;
    words[i] = word;
  }
}

double AcquisitionEngine::ComparatorVolts(uint64_t index) const {
  const auto k = static_cast<uint32_t>(triggerChannel_);
  const double seconds = startSeconds_ + static_cast<double>(index + 1) * periodSeconds_;
  const double g0 = triggerUsesGenerator_ ? generator_.VoltsAt(SampleNanos(index)) : 0.0;
  const double v = scene_.InputVolts(k, yd_[k], seconds, g0);
  // Noise is bounded: far from the threshold and its hysteresis band it cannot change what
  // the comparator decides, so the scan need not draw it there.
  if (std::fabs(v - threshold_) > hysteresis_ + noiseBound_)
    return v;
  return v + scene_.Noise(salt_, k, index);
}

void AcquisitionEngine::Advance(int64_t now) {
  if (state_ != State::kArmed && state_ != State::kCapturing)
    return;
  if (now <= start_)
    return;
  const uint64_t due = TicksIn(static_cast<uint64_t>(now - start_), clockMegahertz_) / periodTicks_;
  if (state_ == State::kArmed)
    ScanForTrigger(due);
  if (state_ == State::kCapturing)
    Capture(due);
}

void AcquisitionEngine::ScanForTrigger(uint64_t due) {
  if (due > next_ && due - next_ > kMaxArmedScan) {
    next_ = due - kMaxArmedScan;
    primed_ = false;
    havePrevious_ = false;
  }
  for (; next_ < due; ++next_) {
    const double v = ComparatorVolts(next_);
    const bool reached = rising_ ? v >= threshold_ : v <= threshold_;
    if (primed_ && reached) {
      uint64_t triggerIndex = next_;
      if (havePrevious_ && v != previous_) {
        const double fraction = (threshold_ - previous_) / (v - previous_);
        if (fraction < 0.5)
          triggerIndex = next_ - 1;
      }
      primed_ = false;
      if (triggerIndex >= kPreTriggerFrames) {
        Fire(triggerIndex, next_);
        return;
      }
    } else if (!primed_) {
      primed_ = rising_ ? v < threshold_ - hysteresis_ : v > threshold_ + hysteresis_;
    }
    previous_ = v;
    havePrevious_ = true;
  }
}

void AcquisitionEngine::Fire(uint64_t triggerIndex, uint64_t detectedAt) {
  std::array<uint16_t, 4> frame{};
  for (uint64_t i = triggerIndex - kPreTriggerFrames; i <= triggerIndex; ++i) {
    ComputeFrame(i, frame.data());
    fifo_.Push(frame.data(), detectedAt);
  }
  next_ = triggerIndex + 1;
  state_ = State::kCapturing;
}

void AcquisitionEngine::Capture(uint64_t due) {
  std::array<uint16_t, 4> frame{};
  while (next_ < due) {
    if (fifo_.Full()) {
      next_ = due;
      return;
    }
    ComputeFrame(next_, frame.data());
    fifo_.Push(frame.data(), next_);
    ++next_;
  }
}

// Frames exist only once their sample time has passed, so without a stall this is the
// rule "a full packet, or the oldest frame has waited, or the record has ended" at `now`.
int64_t AcquisitionEngine::CommitTime(uint32_t packetSize) const {
  int64_t commit = SampleNanos(fifo_.OldestEntry()) + kPacketLatencyNanos;
  const uint32_t perPacket = FramesPerPacket(packetSize);
  if (perPacket > 0 && fifo_.Size() >= perPacket)
    commit = std::min(commit, SampleNanos(fifo_.EntryAt(perPacket - 1)));
  if (state_ != State::kCapturing)
    commit = std::min(commit, stoppedAt_);
  return commit;
}

bool AcquisitionEngine::PacketReady(int64_t now, uint32_t packetSize) const {
  if (fifo_.Size() == 0)
    return false;
  return now - stallNanos_ >= CommitTime(packetSize);
}

uint32_t AcquisitionEngine::ReadPacket(int64_t now, uint8_t* out, uint32_t length,
                                       uint32_t packetSize) {
  if (!PacketReady(now, packetSize))
    return 0;
  const uint32_t frameBytes = 2 * fifo_.WordsPerFrame();
  const size_t frames = std::min<size_t>(FramesPerPacket(packetSize), length / frameBytes);
  return static_cast<uint32_t>(fifo_.PopBigEndian(out, frames) * frameBytes);
}

} // namespace qvt::sim
