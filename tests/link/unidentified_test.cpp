// SPDX-License-Identifier: GPL-3.0-or-later
// The library before any successful identify: state starts zeroed, and the operations that
// need a packet size refuse to move anything. Its own program, so no earlier test has set one.
#include <cstring>
#include <chrono>
#include <thread>

#include "link_fixture.h"

namespace qvt::test {
namespace {

class UnidentifiedTest : public LinkTest {
protected:
  void SetUp() override {
    LinkTest::SetUp();
    fake_.SetSilentCommand(0x0F);
    handle_ = OpenPort();
    ASSERT_NE(handle_, 0) << "an open whose identify fails still gives a handle";
  }
  int32_t handle_ = 0;
};

TEST_F(UnidentifiedTest, GainsStartAtZero) {
  double g[4] = {9, 9, 9, 9};
  GetAdjust(handle_, &g[0], &g[1], &g[2], &g[3]);
  for (double gain : g) EXPECT_EQ(gain, 0.0);
  EXPECT_EQ(DefineUSB(handle_), 0);
}

TEST_F(UnidentifiedTest, GeneratorLoadIsRefusedWithoutTraffic) {
  auto table = std::make_unique<QvtGeneratorTable>();
  *table = {};
  table->count = 20000;
  table->clockIndex = 7;
  EXPECT_EQ(_LanceGenerateur(handle_, 1, table.get()), 0);
  EXPECT_TRUE(fake_.Log().empty());
  EXPECT_EQ(table->count, 20000);
  EXPECT_EQ(table->clockIndex, 7);
}

TEST_F(UnidentifiedTest, SampleFetchReadsNothing) {
  QvtAcquisitionRequest request{};
  request.channel[0].enabled = 1;
  fake_.QueueSamplePacket({1, 2});
  QvtSampleBlock block;
  EXPECT_EQ(GetUSBData(handle_, &block, &request), 0);
}

TEST_F(UnidentifiedTest, H8BytesStayQueuedAndTheQueueNeverOverflows) {
  LanceTHREAD(handle_);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (IsRunTHREAD() == 0 && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
  ASSERT_EQ(IsRunTHREAD(), 1);

  std::vector<uint8_t> bytes(999'990, 0x33);
  EXPECT_EQ(_SendH8(bytes.data(), static_cast<int32_t>(bytes.size())), 999'990);
  EXPECT_EQ(_SendH8(bytes.data(), 25), 10) << "only what fits is queued";
  EXPECT_EQ(_SendH8(bytes.data(), 1), 0);
  EXPECT_EQ(_SendH8(bytes.data(), -4), 0);
  EXPECT_EQ(EmptyBuffer(), 1'000'000);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(EmptyBuffer(), 1'000'000) << "no packet size: nothing is sent";
  EXPECT_TRUE(fake_.Writes(1).empty());
  for (uint8_t code : fake_.CommandCodes()) EXPECT_NE(code, 0x13);

  StopTHREAD();
  while (IsRunTHREAD() == 1 && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
  EXPECT_EQ(IsRunTHREAD(), 0);
}

} // namespace
} // namespace qvt::test
