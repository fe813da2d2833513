// SPDX-License-Identifier: GPL-3.0-or-later
// The trace file's lines, byte for byte: pipe writes and reads, and the other driver requests.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "sim_host.h"

namespace qvt::sim::testing {
namespace {

std::vector<std::string> Lines(const std::filesystem::path& path) {
  std::ifstream file(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);)
    lines.push_back(line);
  return lines;
}

std::string Hex(size_t count, const char* byte) {
  std::string s;
  for (size_t i = 0; i < count; ++i)
    s += std::string(" ") + byte;
  return s;
}

TEST(TraceTest, EachTransferIsOneLineAppendedAsItHappens) {
  const std::filesystem::path path = ::testing::TempDir() + "qvt_sim_trace_test.txt";
  std::filesystem::remove(path);
  { std::ofstream(path) << "earlier line\n"; }
  Options o = QuietOptions();
  o.trace = path.string();
  SimHost host(o);

  host.Write(kPipeH8Out, {0x41, 0xB2});
  EXPECT_EQ(Lines(path).back(), "W 1 2: 41 b2"); // flushed at once
  host.Read(kPipeH8In, 512);
  host.Read(kPipeH8In, 512);
  host.Write(kPipeSamples, {1});
  const uint8_t at[2] = {0x34, 0x12};
  uint8_t data[2] = {0x01, 0xFE};
  host.device.Request(kRequestDownload, at, 2, data, 2);
  const uint8_t record[10] = {0xA0, 0, 0x00, 0xE6, 0, 0, 1, 0, 0, 0};
  host.device.Request(kRequestVendor, record, 10, nullptr, 0);
  std::vector<uint8_t> table(336, 0);
  host.device.Request(kRequestPipeTable, table.data(), 336, table.data(), 336);
  host.Query(kCmdStatus);

  const auto lines = Lines(path);
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0], "earlier line");
  EXPECT_EQ(lines[2], "R 3 2: 41 b2");
  EXPECT_EQ(lines[3], "R 3 0:");
  EXPECT_EQ(lines[4], "W 2 0:");
  EXPECT_EQ(lines[5], "C 22206d in 2: 34 12 out 2: 01 fe");
  EXPECT_EQ(lines[6], "C 222014 in 10: a0 00 00 e6 00 00 01 00 00 00 out 0:");
  // The request's input as given, then the table as returned.
  const std::string tableStart =
      "C 222000 in 336:" + Hex(336, "00") + " out 336: 88 00 00 00 ff ff ff";
  EXPECT_EQ(lines[7].substr(0, tableStart.size()), tableStart);
  EXPECT_EQ(lines[7].size(), tableStart.size() + (336 - 7) * 3);
  EXPECT_EQ(lines[8], "W 4 64: 15" + Hex(63, "00"));
  EXPECT_EQ(lines[9], "R 5 64: 01" + Hex(63, "00"));
  std::filesystem::remove(path);
}

TEST(TraceTest, UnwritableTraceFileIsReportedAndTheInterfaceRunsOn) {
  Options o = QuietOptions();
  o.trace = "/nonexistent-dir/trace.txt";
  ::testing::internal::CaptureStderr();
  SimHost host(o);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("/nonexistent-dir/trace.txt"), std::string::npos);
  EXPECT_EQ(host.Query(kCmdIdentify).size(), 64u);
}

} // namespace
} // namespace qvt::sim::testing
