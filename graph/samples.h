// SPDX-License-Identifier: GPL-3.0-or-later
// The sample store of one curve: 16,385 doubles, indices 0 to 16,384, every access checked.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace qvt {

class TSamples {
public:
  static constexpr std::ptrdiff_t kLast = 16384;
  static constexpr std::size_t kCount = kLast + 1;

  // All slots 0.
  TSamples() : values_(kCount, 0.0) {}

  // Throws std::out_of_range for an index outside 0..16384; never touches memory beyond.
  double& operator[](std::ptrdiff_t index) { return values_[Check(index)]; }
  const double& operator[](std::ptrdiff_t index) const { return values_[Check(index)]; }
  double& at(std::ptrdiff_t index) { return (*this)[index]; }
  const double& at(std::ptrdiff_t index) const { return (*this)[index]; }

  static constexpr std::size_t size() { return kCount; }
  double* data() { return values_.data(); }
  const double* data() const { return values_.data(); }
  auto begin() { return values_.begin(); }
  auto end() { return values_.end(); }
  auto begin() const { return values_.begin(); }
  auto end() const { return values_.end(); }

private:
  static std::size_t Check(std::ptrdiff_t index) {
    if (index < 0 || index > kLast)
      throw std::out_of_range("sample index " + std::to_string(index) + " outside 0..16384");
    return static_cast<std::size_t>(index);
  }

  std::vector<double> values_;
};

} // namespace qvt
