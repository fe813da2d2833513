// SPDX-License-Identifier: GPL-3.0-or-later
// The service thread: H8 pumping, the fixed job order, the data-request handshake that lends
// the link to GetUSBData, and the calls it refuses while it runs.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "link_fixture.h"

namespace qvt::test {
namespace {

using namespace std::chrono_literals;

// Waits in real time for a condition the service thread brings about.
template <typename Condition>
bool Eventually(Condition condition, std::chrono::milliseconds limit = 10s) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(100us);
  }
  return true;
}

bool IsQuery(uint8_t code) { return code == 0x00 || code == 0x13 || code == 0x15 || code == 0x0B; }

class ServiceThreadTest : public LinkTest {
protected:
  void SetUp() override {
    LinkTest::SetUp();
    // Small steps: the thread's waits and the 2 s handshake time-out take many passes.
    clock_.SetPauseStep(10'000);
    fake_.SetEcho(true);
    handle_ = OpenPort(1); // full speed: 64-byte packets
  }

  void TearDown() override {
    fake_.Release();
    StopThread();
    LinkTest::TearDown();
  }

  void StartThread() {
    LanceTHREAD(handle_);
    ASSERT_TRUE(Eventually([] { return IsRunTHREAD() == 1; }));
  }

  void StopThread() {
    _StopTHREAD();
    ASSERT_TRUE(Eventually([] { return _IsRunTHREAD() == 0; }));
  }

  // Codes of the non-query commands, in order.
  std::vector<uint8_t> JobCommands() const {
    std::vector<uint8_t> codes = fake_.CommandCodes();
    std::erase_if(codes, IsQuery);
    return codes;
  }

  static std::vector<uint8_t> Counted(const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> block(4 + bytes.size());
    const auto count = static_cast<int32_t>(bytes.size());
    std::memcpy(block.data(), &count, 4);
    std::copy(bytes.begin(), bytes.end(), block.begin() + 4);
    return block;
  }

  int32_t handle_ = 0;
};

TEST_F(ServiceThreadTest, H8BytesGoOutInPacketsAndComeBackThroughTheReceiveBuffer) {
  const std::filesystem::path traces = std::filesystem::temp_directory_path() / "qvtlink_thread_traces";
  std::filesystem::create_directories(traces);
  setenv("QVTLINK_TRACE_DIR", traces.c_str(), 1);
  StartThread();
  std::vector<uint8_t> bytes(100);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(0xC0 + i);
  EXPECT_EQ(SendH8(Counted(bytes).data()), 100);
  ASSERT_TRUE(Eventually([] { return GetLenH8() == 100; }));
  EXPECT_EQ(EmptyBuffer(), 0);
  StopThread();
  unsetenv("QVTLINK_TRACE_DIR");

  const auto writes = fake_.Writes(1);
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(writes[0].size(), 64u);
  EXPECT_EQ(writes[1].size(), 36u);

  // Plain twin: bytes land 4 bytes into the block, the count is left alone.
  std::vector<uint8_t> block(4 + 101, 0xEE);
  EXPECT_EQ(GetH8(block.data(), 100, 0), 100);
  EXPECT_EQ(std::vector<uint8_t>(block.begin() + 4, block.begin() + 104), bytes);
  EXPECT_EQ(block[104], 0);
  EXPECT_EQ(block[0], 0xEE);

  auto text = [&](const char* name) {
    std::stringstream s;
    s << std::ifstream(traces / name).rdbuf();
    return s.str();
  };
  EXPECT_EQ(text("USBSend.txt"), std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(text("USBReceive.txt").substr(0, 8), "-64\n-63\n");
  EXPECT_EQ(text("data.txt").substr(0, 8), "192 193 ");
  std::filesystem::remove_all(traces);
}

TEST_F(ServiceThreadTest, GetH8TakesAtMostTheMaximumAndEndsItWithAZero) {
  StartThread();
  std::vector<uint8_t> bytes(25);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i + 1);
  _SendH8(bytes.data(), 25);
  ASSERT_TRUE(Eventually([] { return _GetLenH8() == 25; }));
  uint8_t buffer[32];
  std::memset(buffer, 0xEE, sizeof buffer);
  EXPECT_EQ(_GetH8(buffer, 10, 0), 10);
  EXPECT_EQ(buffer[9], 10);
  EXPECT_EQ(buffer[10], 0);
  EXPECT_EQ(buffer[11], 0xEE) << "no more than maximum + 1 bytes written";
  EXPECT_EQ(_GetLenH8(), 15);
  EXPECT_EQ(_GetH8(buffer, -1, 0), 0);
  EXPECT_EQ(buffer[0], 1) << "a negative maximum writes nothing";
  EXPECT_EQ(_GetH8(buffer, 0, 0), 0);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(_GetH8(buffer, 20, 0), 15);
  EXPECT_EQ(buffer[0], 11);
  EXPECT_EQ(buffer[15], 0);
  EXPECT_EQ(_GetH8(buffer, 20, 0), 0);
}

TEST_F(ServiceThreadTest, JobsRunOncePerPassInTheirFixedOrder) {
  StartThread();
  // Hold the thread inside its H8 transmit step while every job is posted.
  fake_.BlockOn(0x13);
  const uint8_t byte = 0x55;
  _SendH8(&byte, 1);
  fake_.WaitBlocked();
  fake_.ClearLog();

  QvtAcquisitionRequest request{};
  request.channel[0].enabled = 1;
  auto table = std::make_unique<QvtGeneratorTable>();
  *table = {};
  table->count = 1;
  EXPECT_EQ(_LanceAcqui(handle_, &request), 0);
  EXPECT_EQ(_StopGenerateur(handle_), 0) << "posted, not written";
  EXPECT_EQ(_LanceGenerateur(handle_, 1, table.get()), 0);
  EXPECT_EQ(_StopAcqui(handle_), 0);
  _StopAcquiLENTE();
  _StopAcquiLENTE(); // posted twice, carried out once
  EXPECT_EQ(_ChangeVitesse(handle_, 1), 254);
  EXPECT_TRUE(fake_.Log().empty()) << "nothing is sent while the thread holds the link";

  fake_.Release();
  ASSERT_TRUE(Eventually([&] { return !JobCommands().empty() && JobCommands().back() == 0x09; }));
  EXPECT_EQ(JobCommands(), (std::vector<uint8_t>{0x10, 0x0A, 0x01, 0x03, 0x04, 0x05, 0x06, 0x07, 0x09}));
  EXPECT_EQ(table->count, 0);

  // An acquisition start turns H8 service off, a stop turns it on again.
  fake_.ClearLog();
  _SendH8(&byte, 1);
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(EmptyBuffer(), 1);
  EXPECT_TRUE(fake_.Writes(1).empty());
  StopAcqui(handle_);
  ASSERT_TRUE(Eventually([] { return EmptyBuffer() == 0; }));
}

TEST_F(ServiceThreadTest, GetUSBDataBorrowsTheLinkForItsWholeExchange) {
  StartThread();
  const QvtAcquisitionRequest request = [] {
    QvtAcquisitionRequest r{};
    r.channel[2].enabled = 1;
    return r;
  }();
  for (int round = 0; round < 30; ++round) {
    fake_.QueueSamplePacket({0x00, static_cast<uint8_t>(round), 0x00, 0x07});
    QvtSampleBlock block;
    ASSERT_EQ(GetUSBData(handle_, &block, &request), 2) << round;
    EXPECT_EQ(block.count[2], 2);
    EXPECT_EQ(block.samples[2][0], round);
  }
  // No H8 query ever falls between a ready query and its packet read.
  const auto log = fake_.Log();
  for (size_t i = 0; i < log.size(); ++i) {
    if (log[i].pipe == 4 && !log[i].bytes.empty() && log[i].bytes[0] == 0x0B) {
      ASSERT_LT(i + 2, log.size());
      EXPECT_EQ(log[i + 1].pipe, 5u);
      EXPECT_EQ(log[i + 2].pipe, 2u);
    }
  }
}

TEST_F(ServiceThreadTest, AHandshakeThatTimesOutLeavesTheLinkReservedForTheNextCall) {
  StartThread();
  QvtAcquisitionRequest request{};
  request.channel[0].enabled = 1;
  fake_.QueueSamplePacket({0x00, 0x2A});
  fake_.BlockOn(0x13);
  const uint8_t byte = 0x55;
  _SendH8(&byte, 1);
  fake_.WaitBlocked();

  QvtSampleBlock block;
  std::memset(&block, 0x5A, sizeof block);
  const int64_t before = NowMs();
  EXPECT_EQ(_GetUSBData(handle_, &block, &request), 0);
  EXPECT_GE(NowMs() - before, 2000);
  EXPECT_EQ(block.count[0], 0x5A5A5A5A);

  // Released, the thread takes the still-posted request and keeps the link for the next call.
  fake_.Release();
  size_t quiet = 0;
  ASSERT_TRUE(Eventually([&] {
    quiet = fake_.Log().size();
    std::this_thread::sleep_for(5ms);
    return fake_.Log().size() == quiet;
  }));
  ASSERT_EQ(_GetUSBData(handle_, &block, &request), 1);
  EXPECT_EQ(block.samples[0][0], 0x2A);
  // Then the thread goes back to its H8 polling.
  ASSERT_TRUE(Eventually([&] { return fake_.Log().size() > quiet + 3; }));
}

TEST_F(ServiceThreadTest, OnlyOneThreadRunsAndItCanBeStartedAgain) {
  StartThread();
  LanceTHREAD(handle_); // already running: nothing changes
  EXPECT_EQ(IsRunTHREAD(), 1);
  StopThread();
  EXPECT_EQ(IsRunTHREAD(), 0);
  StartThread();
  const uint8_t bytes[3] = {1, 2, 3};
  _SendH8(bytes, 3);
  ASSERT_TRUE(Eventually([] { return GetLenH8() == 3; }));
  // A new start empties both H8 buffers.
  StopThread();
  StartThread();
  EXPECT_EQ(GetLenH8(), 0);
  EXPECT_EQ(EmptyBuffer(), 0);
}

} // namespace
} // namespace qvt::test
