// SPDX-License-Identifier: GPL-3.0-or-later
// Generator load, stop and status, gains and the H8 speed change through the exports.
#include <bit>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "link_fixture.h"

namespace qvt::test {
namespace {

class GeneratorTest : public LinkTest {
protected:
  void SetUp() override {
    LinkTest::SetUp();
    table_ = std::make_unique<QvtGeneratorTable>();
    *table_ = {};
  }

  // Writes on the generator pipe, and every command's code in order.
  std::vector<std::vector<uint8_t>> Chunks() const { return fake_.Writes(0); }

  std::unique_ptr<QvtGeneratorTable> table_;
};

TEST_F(GeneratorTest, TableGoesOutInHalfPacketChunksEachFollowedByAReadyWait) {
  struct Case {
    uint8_t busByte;
    size_t chunks;
    size_t lastChunkBytes;
  };
  // 20,000 samples are cut to 16,000: 500 chunks of 32 samples on full speed, 62 of 256
  // and one of 128 on high speed.
  for (const Case c : {Case{1, 500, 64}, Case{0, 63, 256}}) {
    SCOPED_TRACE(int(c.busByte));
    const int32_t handle = OpenPort(c.busByte);
    table_->count = 20000;
    for (int i = 0; i < QVT_GENERATOR_SAMPLES; ++i) table_->samples[i] = i;
    EXPECT_EQ(_LanceGenerateur(handle, 0, table_.get()), 0);
    EXPECT_EQ(table_->count, 0) << "counted down by a complete load";
    const auto chunks = Chunks();
    ASSERT_EQ(chunks.size(), c.chunks);
    EXPECT_EQ(chunks.back().size(), c.lastChunkBytes);
    EXPECT_EQ(chunks[1][0], (c.chunks == 500 ? 32 : 256) & 0xFF);

    // 0x01 first, then a status query after every chunk, then the start command.
    const auto codes = fake_.CommandCodes();
    ASSERT_EQ(codes.size(), c.chunks + 2);
    EXPECT_EQ(codes.front(), 0x01);
    for (size_t i = 1; i <= c.chunks; ++i) ASSERT_EQ(codes[i], 0x15) << i;
    EXPECT_EQ(codes.back(), 0x02);
    const auto log = fake_.Log();
    size_t chunk = 0;
    for (size_t i = 0; i + 1 < log.size(); ++i) {
      if (log[i].code == kRequestBulkWrite && log[i].pipe == 0) {
        ++chunk;
        ASSERT_EQ(log[i + 1].pipe, 4u) << "chunk " << chunk << " is followed by the status query";
      }
    }
    fake_.ClearLog();
  }
}

TEST_F(GeneratorTest, SamplesAreSentLowByteFirstAndAtMost16383) {
  const char* dir = std::getenv("TEST_TMPDIR");
  const std::filesystem::path traces = std::filesystem::path(dir ? dir : "/tmp") / "qvtlink_generator_traces";
  std::filesystem::create_directories(traces);
  setenv("QVTLINK_TRACE_DIR", traces.c_str(), 1);
  const int32_t handle = OpenPort();
  table_->count = 3;
  table_->samples[0] = 0x4000;
  table_->samples[1] = 0x1234;
  table_->samples[2] = 0x3FFF;
  LanceGenerateur(handle, 0, table_.get());
  unsetenv("QVTLINK_TRACE_DIR");
  ASSERT_EQ(Chunks().size(), 1u);
  EXPECT_EQ(Chunks()[0], (std::vector<uint8_t>{0xFF, 0x3F, 0x34, 0x12, 0xFF, 0x3F}));
  std::ifstream trace(traces / "USBReceive.txt");
  std::stringstream text;
  text << trace.rdbuf();
  EXPECT_EQ(text.str(), "FF 3F\n34 12\nFF 3F\n");
  std::filesystem::remove_all(traces);
}

TEST_F(GeneratorTest, StartCommandCarriesModeClockAndTimer) {
  const int32_t handle = OpenPort();
  struct Case {
    uint8_t mode, clockIndex;
    int32_t timer;
    std::vector<uint8_t> firstFour;
  };
  for (const Case& c : {Case{1, 2, 65285, {0x03, 0x02, 0x05, 0xFF}}, Case{0, 1, 0x0102, {0x02, 0x01, 0x02, 0x01}},
                        Case{2, 9, 70000, {0x02, 0x02, 0xFF, 0xFF}}, Case{1, 0, -4, {0x03, 0x00, 0x00, 0x00}}}) {
    SCOPED_TRACE(c.timer);
    fake_.ClearLog();
    table_->count = 1;
    table_->clockIndex = c.clockIndex;
    table_->timerValue = c.timer;
    LanceGenerateur(handle, c.mode, table_.get());
    const auto start = fake_.Writes(4).back();
    ASSERT_EQ(start.size(), 5u);
    EXPECT_EQ(std::vector<uint8_t>(start.begin(), start.begin() + 4), c.firstFour);
    EXPECT_LE(table_->clockIndex, 2);
    EXPECT_GE(table_->timerValue, 0);
    EXPECT_LE(table_->timerValue, 65535);
  }
}

TEST_F(GeneratorTest, BeginWaitsBeforeTheFirstChunk) {
  const int32_t handle = OpenPort();
  table_->count = 1;
  const int64_t before = NowMs();
  LanceGenerateur(handle, 0, table_.get());
  EXPECT_GE(NowMs() - before, 100);
}

TEST_F(GeneratorTest, EmptyTableAndUnreadyInterfaceStopTheLoad) {
  const int32_t handle = OpenPort();
  table_->count = -5;
  LanceGenerateur(handle, 0, table_.get());
  EXPECT_EQ(table_->count, 0);
  EXPECT_TRUE(fake_.Log().empty()) << "an empty table sends nothing";

  // Not ready within 500 ms after the first chunk: no more chunks, no start, count kept.
  fake_.SetStatus(0);
  table_->count = 100;
  const int64_t before = NowMs();
  _LanceGenerateur(handle, 1, table_.get());
  EXPECT_GE(NowMs() - before, 600);
  EXPECT_EQ(Chunks().size(), 1u);
  EXPECT_EQ(table_->count, 100);
  const auto codes = fake_.CommandCodes();
  EXPECT_EQ(codes.front(), 0x01);
  EXPECT_EQ(codes.back(), 0x15);
}

TEST_F(GeneratorTest, StopAndStatus) {
  const int32_t handle = OpenPort();
  EXPECT_EQ(StopGenerateur(handle), 1);
  EXPECT_EQ(fake_.Writes(4), (std::vector<std::vector<uint8_t>>{{0x04}}));
  for (const int8_t status : {int8_t{0}, int8_t{1}, int8_t{-2}, int8_t{127}}) {
    fake_.SetStatus(status);
    EXPECT_EQ(_IsBusy(handle), status);
  }
}

TEST_F(GeneratorTest, GainsAreStoredAsGivenAndWrittenOnlyWithFlagOne) {
  const int32_t handle = OpenPort();
  _SendAdjust(handle, 1.2, 0.5, 1.0, 0.99, 2);
  EXPECT_TRUE(fake_.Log().empty());
  double g[4];
  GetAdjust(handle, &g[0], &g[1], &g[2], &g[3]);
  EXPECT_EQ(g[0], 1.2);
  EXPECT_EQ(g[1], 0.5);
  EXPECT_EQ(g[3], 0.99);

  const int64_t before = NowMs();
  SendAdjust(handle, 1.25, -2.0, 1.0, 0.5, 1);
  EXPECT_GE(NowMs() - before, 50);
  const auto writes = fake_.Writes(4);
  ASSERT_EQ(writes.size(), 1u);
  ASSERT_EQ(writes[0].size(), 64u);
  EXPECT_EQ(writes[0][0], 0x16);
  const float expected[4] = {1.25f, -2.0f, 1.0f, 0.5f};
  for (int k = 0; k < 4; ++k) {
    uint32_t bits = 0;
    for (int b = 0; b < 4; ++b) bits |= uint32_t{writes[0][1 + 4 * k + b]} << (8 * b);
    EXPECT_EQ(std::bit_cast<float>(bits), expected[k]) << k;
  }
  EXPECT_EQ(fake_.Log().back().pipe, 5u) << "the reply is read after the wait";
}

TEST_F(GeneratorTest, SpeedChangeSendsTheBaudTextThenTheSpeedCommand) {
  const int32_t handle = OpenPort();
  struct Case {
    int32_t speed;
    char digit;
  };
  for (const Case c : {Case{7, '1'}, Case{1, '1'}, Case{0, '0'}, Case{-3, '0'}}) {
    SCOPED_TRACE(c.speed);
    fake_.ClearLog();
    const int64_t before = NowMs();
    EXPECT_EQ(ChangeVitesse(handle, c.speed), 0);
    EXPECT_GE(NowMs() - before, 200);
    EXPECT_EQ(fake_.Writes(1), (std::vector<std::vector<uint8_t>>{{'W', 'B', 'A', 'U', 'D', 'S', ' ',
                                                                   static_cast<uint8_t>(c.digit), '\r'}}));
    const auto commands = fake_.Writes(4);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0][0], 0x13);
    EXPECT_EQ(commands[1], (std::vector<uint8_t>{0x14, static_cast<uint8_t>(c.digit - '0')}));
  }
  fake_.SetH8Accepts(false);
  fake_.ClearLog();
  EXPECT_EQ(_ChangeVitesse(handle, 1), 253);
  EXPECT_TRUE(fake_.Writes(1).empty());
}

} // namespace
} // namespace qvt::test
