// SPDX-License-Identifier: LGPL-2.1-or-later
// The interface's sample buffer: a first-in first-out store of whole frames (one 14-bit word
// per enabled channel), each stamped with the index of the sample at whose time it entered.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace qvt::sim {

class FrameFifo {
public:
  static constexpr size_t kCapacity = 16384; // frames

  FrameFifo();

  // Empties the buffer and sets the frame width (1..4 words).
  void Reset(uint32_t wordsPerFrame);

  size_t Size() const { return size_; }
  bool Full() const { return size_ == kCapacity; }
  uint32_t WordsPerFrame() const { return width_; }

  // Appends one frame of WordsPerFrame() words; the caller checks Full() first.
  void Push(const uint16_t* words, uint64_t entrySample);
  // Entry stamp of the oldest frame; only when Size() > 0.
  uint64_t OldestEntry() const { return entry_[head_]; }
  // Entry stamp of the frame `age` places after the oldest; only when age < Size().
  uint64_t EntryAt(size_t age) const { return entry_[(head_ + age) % kCapacity]; }
  // Removes up to `maxFrames` frames into `out` as big-endian words; returns frames removed.
  size_t PopBigEndian(uint8_t* out, size_t maxFrames);

private:
  std::unique_ptr<uint16_t[]> words_;
  std::unique_ptr<uint64_t[]> entry_;
  uint32_t width_ = 1;
  size_t head_ = 0;
  size_t size_ = 0;
};

} // namespace qvt::sim
