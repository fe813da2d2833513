// SPDX-License-Identifier: LGPL-2.1-or-later
// The frame buffer, a ring over storage allocated once so that capturing never allocates. The
// storage is left uninitialised: only slots a record has filled are ever read, and an
// interface that captures little touches little memory.
#include "frame_fifo.h"

#include <algorithm>

namespace qvt::sim {

FrameFifo::FrameFifo()
    : words_(std::make_unique_for_overwrite<uint16_t[]>(kCapacity * 4)),
      entry_(std::make_unique_for_overwrite<uint64_t[]>(kCapacity)) {}

void FrameFifo::Reset(uint32_t wordsPerFrame) {
  width_ = std::clamp<uint32_t>(wordsPerFrame, 1, 4);
  head_ = 0;
  size_ = 0;
}

void FrameFifo::Push(const uint16_t* words, uint64_t entrySample) {
  if (Full())
    return;
  const size_t slot = (head_ + size_) % kCapacity;
  std::copy(words, words + width_, &words_[slot * width_]);
  entry_[slot] = entrySample;
  ++size_;
}

size_t FrameFifo::PopBigEndian(uint8_t* out, size_t maxFrames) {
  const size_t frames = std::min(maxFrames, size_);
  for (size_t f = 0; f < frames; ++f) {
    const uint16_t* frame = &words_[head_ * width_];
    for (uint32_t w = 0; w < width_; ++w) {
      *out++ = static_cast<uint8_t>(frame[w] >> 8);
      *out++ = static_cast<uint8_t>(frame[w]);
    }
    head_ = (head_ + 1) % kCapacity;
  }
  size_ -= frames;
  return frames;
}

} // namespace qvt::sim
