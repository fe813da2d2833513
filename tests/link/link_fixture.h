// SPDX-License-Identifier: GPL-3.0-or-later
// Shared set-up of the qvtlink tests: a manual clock and a scripted interface behind the
// library's handles, and counted strings that free themselves.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fake_interface.h"
#include "qvtlink.h"
#include "qvtlink_testing.h"
#include "qvtstring.h"

namespace qvt::test {

// Owns one counted string for the length of a call.
class Counted8 {
public:
  explicit Counted8(std::string_view text) : text_(NewCountedString8(text)) {}
  ~Counted8() { FreeCountedString(text_); }
  Counted8(const Counted8&) = delete;
  Counted8& operator=(const Counted8&) = delete;
  operator const char*() const { return text_; }

private:
  char* text_;
};

class Counted16 {
public:
  explicit Counted16(std::string_view text) : text_(NewCountedString16(text)) {}
  ~Counted16() { FreeCountedString(text_); }
  Counted16(const Counted16&) = delete;
  Counted16& operator=(const Counted16&) = delete;
  operator const char16_t*() const { return text_; }

private:
  char16_t* text_;
};

class LinkTest : public ::testing::Test {
protected:
  void SetUp() override {
    qvt::testing::UseClock(&clock_);
    qvt::testing::UseDriverOpener([this](const std::string& path) { return fake_.Open(path); });
  }

  void TearDown() override {
    for (int32_t handle : handles_) _SetPortClose(handle);
    qvt::testing::UseDriverOpener({});
    qvt::testing::UseClock(nullptr);
  }

  // Opens "VexorQVT2-0" on the fake (full speed unless told), then forgets the open's traffic.
  int32_t OpenPort(uint8_t busByte = 1) {
    fake_.SetIdentify(busByte, {1.0f, 1.0f, 1.0f, 1.0f});
    const int32_t handle = _SetPortOpen(Counted16("VexorQVT2-0"));
    if (handle != 0) handles_.push_back(handle);
    fake_.ClearLog();
    return handle;
  }

  int64_t NowMs() { return clock_.NowNanos() / 1'000'000; }

  ManualClock clock_;
  FakeInterface fake_;
  std::vector<int32_t> handles_;
};

} // namespace qvt::test
