// SPDX-License-Identifier: LGPL-2.1-or-later
// A fixed-capacity byte queue for the H8 link's send queue and receive buffer.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <array>

namespace qvt::link {

// Large (1 MB): lives in static storage, inside the library's state. The bytes are touched only by whoever holds the queue's lock; Size() may be read at any
// time. Room is reclaimed by moving the held bytes to the front only when an append would not
// fit behind them, so taking bytes from the front costs nothing per call.
class ByteQueue {
public:
  static constexpr int32_t kCapacity = 1'000'000;

  int32_t Size() const { return size_.load(std::memory_order_acquire); }
  int32_t Room() const { return kCapacity - Size(); }

  // Appends as many of `count` bytes as there is room for; returns how many were appended.
  int32_t Append(const uint8_t* bytes, int32_t count) {
    const int32_t size = Size();
    const int32_t n = std::clamp(count, 0, kCapacity - size);
    if (n == 0) return 0;
    if (head_ + size + n > kCapacity) {
      std::memmove(bytes_.data(), bytes_.data() + head_, static_cast<size_t>(size));
      head_ = 0;
    }
    std::memcpy(bytes_.data() + head_ + size, bytes, static_cast<size_t>(n));
    size_.store(size + n, std::memory_order_release);
    return n;
  }

  // The held bytes, oldest first (Size() of them).
  const uint8_t* Front() const { return bytes_.data() + head_; }

  // Drops the `count` oldest bytes (at most Size()).
  void Drop(int32_t count) {
    const int32_t size = Size();
    const int32_t n = std::clamp(count, 0, size);
    head_ = (n == size) ? 0 : head_ + n;
    size_.store(size - n, std::memory_order_release);
  }

  void Clear() { Drop(Size()); }

private:
  std::array<uint8_t, kCapacity> bytes_{};
  int32_t head_ = 0;
  std::atomic<int32_t> size_{0};
};

} // namespace qvt::link
