// SPDX-License-Identifier: GPL-3.0-or-later
// The CPU cost of _GetUSBData per 512-byte packet against a driver that answers at once, set
// beside the cost of copying the same 512 bytes in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "qvtlink.h"
#include "qvtlink_testing.h"
#include "qvtstring.h"

namespace {

// A high-speed interface reduced to what a fetch needs: the pipe table, identify, the
// data-ready reply and a prepared sample packet.
class InstantDriver final : public qvt::Driver {
public:
  InstantDriver() {
    for (size_t i = 0; i < packet_.size(); i += 2) {
      packet_[i] = static_cast<uint8_t>((i / 2 * 37) >> 8 & 0x3F);
      packet_[i + 1] = static_cast<uint8_t>(i / 2 * 37);
    }
  }

  uint32_t Request(uint32_t code, const void* in, uint32_t, void* out, uint32_t outLength) override {
    auto* bytes = static_cast<uint8_t*>(out);
    if (code == qvt::kRequestPipeTable) {
      for (int pipe : {2, 3, 5}) bytes[16 + 20 * pipe + 2] = static_cast<uint8_t>(0x80 | pipe);
      return qvt::kPipeTableSize;
    }
    const uint8_t pipe = *static_cast<const uint8_t*>(in);
    if (code == qvt::kRequestBulkWrite) {
      if (pipe == 4) lastCommand_ = bytes[0];
      return outLength;
    }
    if (code != qvt::kRequestBulkRead) return 0;
    if (pipe == 5) {
      // Identify: byte 0 not 1 means high speed; the gains are left 0 and become 1.0.
      std::memset(bytes, 0, outLength);
      bytes[0] = lastCommand_ == 0x0B ? 1 : 0;
      return outLength;
    }
    if (pipe == 2) {
      const uint32_t n = std::min<uint32_t>(outLength, packet_.size());
      std::memcpy(bytes, packet_.data(), n);
      return n;
    }
    return 0;
  }

private:
  std::array<uint8_t, 512> packet_{};
  uint8_t lastCommand_ = 0;
};

void BM_GetUSBData(benchmark::State& state) {
  qvt::testing::UseDriverOpener([](const std::string&) { return std::make_unique<InstantDriver>(); });
  char16_t* name = qvt::NewCountedString16(u"VexorQVT2-0");
  const int32_t handle = _SetPortOpen(name);
  qvt::FreeCountedString(name);
  QvtAcquisitionRequest request{};
  request.channel[0].enabled = 1;
  request.channel[1].enabled = 1;
  QvtSampleBlock block;
  for (auto _ : state) {
    benchmark::DoNotOptimize(_GetUSBData(handle, &block, &request));
    benchmark::ClobberMemory();
  }
  if (block.count[0] != 128) state.SkipWithError("the packet was not decoded");
  state.SetBytesProcessed(state.iterations() * 512);
  _SetPortClose(handle);
  qvt::testing::UseDriverOpener({});
}
BENCHMARK(BM_GetUSBData);

void BM_Memcpy512(benchmark::State& state) {
  std::array<uint8_t, 512> from{}, to{};
  for (auto _ : state) {
    benchmark::DoNotOptimize(from.data());
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * 512);
}
BENCHMARK(BM_Memcpy512);

// Prints the usual table, then the fetch's CPU time as a multiple of the copy's.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const auto& run : runs) {
      if (run.error_occurred || run.iterations == 0) continue;
      const double perIteration = run.GetAdjustedCPUTime();
      if (run.benchmark_name().rfind("BM_GetUSBData", 0) == 0) fetch_ = perIteration;
      if (run.benchmark_name().rfind("BM_Memcpy512", 0) == 0) copy_ = perIteration;
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    if (fetch_ > 0 && copy_ > 0) {
      std::printf("_GetUSBData per 512-byte packet: %.0f ns CPU = %.1f x memcpy of 512 bytes (%.1f ns)\n", fetch_,
                  fetch_ / copy_, copy_);
    }
  }

private:
  double fetch_ = 0;
  double copy_ = 0;
};

} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
