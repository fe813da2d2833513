// SPDX-License-Identifier: GPL-3.0-or-later
// The transport through the raw pipe exports and the waits: direction rule, counts, delays
// on the 32-bit tick counter, and the 0 results of a driver that moves nothing.
#include <cstring>
#include <functional>

#include "link_fixture.h"

namespace qvt::test {
namespace {

using TransportTest = LinkTest;

uint32_t PipeIndexSent(const Transfer& t) {
  uint32_t index;
  std::memcpy(&index, t.in.data(), sizeof index);
  return index;
}

TEST_F(TransportTest, TheDirectionComesFromThePipeTableWhateverTheCallerMeant) {
  fake_.SetReadPipes({2, 3, 5, 9});
  const int32_t handle = OpenPort();
  uint8_t buffer[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  struct Case {
    int32_t pipe;
    uint32_t indexSent;
    uint32_t code;
  };
  for (const Case c : {Case{2, 2, kRequestBulkRead}, Case{3, 3, kRequestBulkRead}, Case{5, 5, kRequestBulkRead},
                       Case{9, 9, kRequestBulkRead}, Case{0, 0, kRequestBulkWrite}, Case{4, 4, kRequestBulkWrite},
                       Case{15, 15, kRequestBulkWrite}, Case{0x102, 2, kRequestBulkRead},
                       // Past the 16 table entries: no endpoint, so a write.
                       Case{40, 40, kRequestBulkWrite}}) {
    SCOPED_TRACE(c.pipe);
    fake_.ClearLog();
    GetPipe(handle, buffer, sizeof buffer, c.pipe);
    const auto log = fake_.Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].code, c.code);
    EXPECT_EQ(PipeIndexSent(log[0]), c.indexSent);
    EXPECT_EQ(log[0].length, sizeof buffer);
  }
}

TEST_F(TransportTest, RawTransfersReportTheirCounts) {
  const int32_t handle = OpenPort();
  uint8_t bytes[4] = {9, 8, 7, 6};
  EXPECT_EQ(SendPipe(handle, bytes, 4, 0), 1);
  EXPECT_EQ(_SendPipe(handle, bytes, 0, 0), 0) << "a zero-length send moves nothing";
  const auto writes = fake_.Writes(0);
  ASSERT_EQ(writes.size(), 2u) << "the zero-length send still reaches the driver";
  EXPECT_EQ(writes[0], (std::vector<uint8_t>{9, 8, 7, 6}));
  EXPECT_TRUE(writes[1].empty());

  // Counted blocks: count, then the bytes.
  uint8_t block[4 + 16] = {};
  const int32_t three = 3;
  std::memcpy(block, &three, 4);
  block[4] = 0xAA;
  block[5] = 0xBB;
  block[6] = 0xCC;
  EXPECT_EQ(SendUSBDataX(handle, block, 1), 1);
  EXPECT_EQ(fake_.Writes(1).back(), (std::vector<uint8_t>{0xAA, 0xBB, 0xCC}));

  fake_.QueueH8Packet({1, 2, 3, 4, 5});
  const int32_t sixteen = 16;
  std::memcpy(block, &sixteen, 4);
  EXPECT_EQ(_GetUSBDataX(handle, block, 3), 5);
  int32_t count;
  std::memcpy(&count, block, 4);
  EXPECT_EQ(count, 5);
  EXPECT_EQ(block[4], 1);
  EXPECT_EQ(block[8], 5);
  EXPECT_EQ(fake_.Log().back().length, 16u);
}

TEST_F(TransportTest, DelaysLastTheirTimeAcrossTheTickCounterWrap) {
  const int32_t handle = OpenPort();
  // Each case starts the library clock elsewhere; the gain write waits 50 ms between its
  // command and its reply.
  for (const int64_t startMs : {int64_t{0}, (int64_t{1} << 32) - 20, (int64_t{1} << 32) - 1, (int64_t{1} << 33) + 7}) {
    SCOPED_TRACE(startMs);
    ManualClock clock(startMs * 1'000'000 + 250'000);
    qvt::testing::UseClock(&clock);
    SendAdjust(handle, 1, 1, 1, 1, 1);
    const int64_t waited = clock.NowNanos() - (startMs * 1'000'000 + 250'000);
    EXPECT_GE(waited, 50'000'000);
    EXPECT_LE(waited, 52'000'000);
    qvt::testing::UseClock(&clock_);
  }
}

TEST_F(TransportTest, ADriverThatMovesNothingGivesTheDocumentedResults) {
  const int32_t handle = OpenPort();
  fake_.SetFailAll(true);
  QvtAcquisitionRequest request{};
  request.channel[0].enabled = 1;
  QvtSampleBlock block{};
  uint8_t buffer[70] = {};
  char16_t* version = nullptr;
  struct Case {
    const char* call;
    std::function<int32_t()> run;
    int32_t expected;
  };
  const Case cases[] = {
      {"DefineUSB", [&] { return DefineUSB(handle); }, 0},
      {"_GetVersion", [&] { return _GetVersion(handle, reinterpret_cast<char*>(buffer)); }, 0},
      {"GetVersionSysteme", [&] { return GetVersionSysteme(handle, &version); }, 0},
      {"_IsBusy", [&] { return _IsBusy(handle); }, 0},
      {"GetUSBData", [&] { return GetUSBData(handle, &block, &request); }, 0},
      {"GetPipe", [&] { return GetPipe(handle, buffer, 64, 2); }, 0},
      {"SendPipe", [&] { return SendPipe(handle, buffer, 64, 4); }, 0},
      {"StopGenerateur", [&] { return _StopGenerateur(handle); }, 0},
      {"ChangeVitesse", [&] { return _ChangeVitesse(handle, 1); }, 253},
      {"LanceAcqui", [&] { return _LanceAcqui(handle, &request); }, 0},
      {"StopAcqui", [&] { return StopAcqui(handle); }, 0},
      {"SendBOOT", [&] { return _SendBOOT(Counted16("VexorQVT2-0"), Counted16("/nonexistent.hex")); }, 254},
  };
  for (const auto& c : cases) EXPECT_EQ(c.run(), c.expected) << c.call;
  EXPECT_EQ(version, nullptr);
}

} // namespace
} // namespace qvt::test
