// SPDX-License-Identifier: GPL-3.0-or-later
// The acquisition engine through the exports: start sequence bytes and in-place
// normalisation, and the fetch's framing, filter, calibration and failures.
#include <cstring>

#include "link_fixture.h"

namespace qvt::test {
namespace {

class AcquisitionTest : public LinkTest {
protected:
  void SetUp() override {
    LinkTest::SetUp();
    handle_ = OpenPort(0); // high speed: 512-byte packets
  }

  // The commands written by one start, in order.
  std::vector<std::vector<uint8_t>> Start(QvtAcquisitionRequest& request) {
    fake_.ClearLog();
    EXPECT_EQ(_LanceAcqui(handle_, &request), 0);
    return fake_.Writes(4);
  }

  static std::vector<uint8_t> Words(std::initializer_list<uint16_t> words) {
    std::vector<uint8_t> bytes;
    for (uint16_t w : words) {
      bytes.push_back(static_cast<uint8_t>(w >> 8));
      bytes.push_back(static_cast<uint8_t>(w));
    }
    return bytes;
  }

  static QvtAcquisitionRequest Channels(uint8_t e0, uint8_t e1, uint8_t e2, uint8_t e3) {
    QvtAcquisitionRequest r{};
    r.channel[0].enabled = e0;
    r.channel[1].enabled = e1;
    r.channel[2].enabled = e2;
    r.channel[3].enabled = e3;
    return r;
  }

  static QvtSampleBlock Sentinel() {
    QvtSampleBlock block;
    std::memset(&block, 0x5A, sizeof block);
    return block;
  }

  int32_t handle_ = 0;
};

TEST_F(AcquisitionTest, StartSendsChannelTriggerSamplingAndStartCommands) {
  QvtAcquisitionRequest r = Channels(1, 0, 1, 0);
  r.reconfigure = 1;
  for (int k = 0; k < 4; ++k) {
    r.channel[k].range = static_cast<uint8_t>(0x10 + k);
    r.channel[k].input = static_cast<uint8_t>(0x20 + k);
  }
  r.clockSelect = 0;
  r.timerReload = 251;
  r.prescaler = 0x1234;
  r.triggerSource = 3;
  r.triggerEnable = 1;
  r.risingEdge = 1;
  r.triggerLevel = 0x0ABC;
  const auto commands = Start(r);
  ASSERT_EQ(commands.size(), 4u);
  EXPECT_EQ(commands[0], (std::vector<uint8_t>{0x05, 0x20, 0x10, 0x21, 0x11, 0x22, 0x12, 0x23, 0x13}));
  EXPECT_EQ(commands[1], (std::vector<uint8_t>{0x06, 3, 1, 0xBC, 0x0A}));
  EXPECT_EQ(commands[2], (std::vector<uint8_t>{0x07, 0, 251, 0, 1, 0, 1, 0x34, 0x12, 0x7D, 0xF9, 0x01}));
  EXPECT_EQ(commands[3], (std::vector<uint8_t>{0x08}));

  r.reconfigure = 0;
  EXPECT_EQ(Start(r).back(), (std::vector<uint8_t>{0x09}));
}

TEST_F(AcquisitionTest, PreTriggerTimerBytes) {
  struct Case {
    uint8_t clockSelect, reload, source, enable;
    uint8_t low, high;
  };
  for (const Case c : {Case{2, 255, 1, 1, 0x38, 0xFF}, Case{0, 251, 1, 1, 0x7D, 0xF9},
                       Case{1, 56, 4, 1, 0xC0, 0xF2}, // negative value: its low 16 bits
                       Case{0, 251, 0, 1, 0xFF, 0xFF}, Case{0, 251, 2, 0, 0xFF, 0xFF}}) {
    SCOPED_TRACE(::testing::Message() << int(c.clockSelect) << "/" << int(c.reload) << "/" << int(c.source));
    QvtAcquisitionRequest r = Channels(1, 0, 0, 0);
    r.clockSelect = c.clockSelect;
    r.timerReload = c.reload;
    r.triggerSource = c.source;
    r.triggerEnable = c.enable;
    const auto commands = Start(r);
    ASSERT_EQ(commands.size(), 4u);
    ASSERT_EQ(commands[2].size(), 12u);
    EXPECT_EQ(commands[2][9], c.low);
    EXPECT_EQ(commands[2][10], c.high);
  }
}

TEST_F(AcquisitionTest, StartNormalisesTheRequestInPlace) {
  struct Case {
    uint8_t clockSelect, reload;
    int32_t prescaler, level;
    uint8_t clockAfter, reloadAfter;
    int32_t prescalerAfter, levelAfter;
  };
  for (const Case c : {Case{2, 100, 0, 5000, 2, 255, 1, 4096}, Case{1, 20, 70000, -3, 1, 56, 65535, 0},
                       Case{1, 57, 12, 2048, 1, 57, 12, 2048}, Case{0, 3, -5, 4096, 0, 3, 1, 4096},
                       // Only three clocks exist: a larger select is taken as the fastest.
                       Case{7, 9, 1, 1, 2, 255, 1, 1}}) {
    SCOPED_TRACE(::testing::Message() << int(c.clockSelect) << "/" << int(c.reload));
    QvtAcquisitionRequest r = Channels(1, 1, 0, 0);
    r.clockSelect = c.clockSelect;
    r.timerReload = c.reload;
    r.prescaler = c.prescaler;
    r.triggerLevel = c.level;
    const auto commands = Start(r);
    EXPECT_EQ(r.clockSelect, c.clockAfter);
    EXPECT_EQ(r.timerReload, c.reloadAfter);
    EXPECT_EQ(r.prescaler, c.prescalerAfter);
    EXPECT_EQ(r.triggerLevel, c.levelAfter);
    ASSERT_EQ(commands.size(), 4u);
    EXPECT_EQ(commands[2][1], c.clockAfter);
    EXPECT_EQ(commands[2][2], c.reloadAfter);
  }
}

TEST_F(AcquisitionTest, FetchSplitsThePacketIntoFramesOfTheEnabledChannels) {
  // Two channels, a full 512-byte packet: 128 frames.
  std::vector<uint8_t> packet;
  for (uint16_t f = 0; f < 128; ++f) {
    const auto frame = Words({static_cast<uint16_t>(f), static_cast<uint16_t>(1000 + f)});
    packet.insert(packet.end(), frame.begin(), frame.end());
  }
  fake_.QueueSamplePacket(packet);
  const QvtAcquisitionRequest r = Channels(0, 1, 0, 1);
  QvtSampleBlock block = Sentinel();
  ASSERT_EQ(_GetUSBData(handle_, &block, &r), 256);
  EXPECT_EQ(block.count[0], 0);
  EXPECT_EQ(block.count[1], 128);
  EXPECT_EQ(block.count[2], 0);
  EXPECT_EQ(block.count[3], 128);
  EXPECT_EQ(block.samples[1][0], 0);
  EXPECT_EQ(block.samples[3][0], 1000);
  EXPECT_EQ(block.samples[1][127], 127);
  EXPECT_EQ(block.samples[3][127], 1127);

  // The ready query: 64 bytes of 0xFF with 0x0B in front; then one packet-size read.
  const auto log = fake_.Log();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].bytes, [] {
    std::vector<uint8_t> q(64, 0xFF);
    q[0] = 0x0B;
    return q;
  }());
  EXPECT_EQ(log[2].pipe, 2u);
  EXPECT_EQ(log[2].length, 512u);

  // A 3-byte packet holds one frame of one channel.
  fake_.QueueSamplePacket({0x01, 0x02, 0x03});
  const QvtAcquisitionRequest one = Channels(1, 0, 0, 0);
  ASSERT_EQ(GetUSBData(handle_, &block, &one), 1);
  EXPECT_EQ(block.count[0], 1);
  EXPECT_EQ(block.samples[0][0], 0x0102);
}

TEST_F(AcquisitionTest, FilterRepeatsANegativeCodeOverALone0x2000) {
  QvtAcquisitionRequest r = Channels(1, 0, 0, 0);
  Start(r);
  fake_.QueueSamplePacket(Words({0x2000, 0x3000, 0x2000, 0x2000, 0x0005, 0x2000}));
  QvtSampleBlock block;
  ASSERT_EQ(GetUSBData(handle_, &block, &r), 6);
  const int32_t expected[] = {0x2000, 0x3000, 0x3000, 0x3000, 0x0005, 0x2000};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(block.samples[0][i], expected[i]) << i;

  // The memory spans calls, and a start forgets it.
  fake_.QueueSamplePacket(Words({0x3FFF}));
  fake_.QueueSamplePacket(Words({0x2000}));
  ASSERT_EQ(GetUSBData(handle_, &block, &r), 1);
  ASSERT_EQ(GetUSBData(handle_, &block, &r), 1);
  EXPECT_EQ(block.samples[0][0], 0x3FFF);
  fake_.QueueSamplePacket(Words({0x3FFF}));
  ASSERT_EQ(GetUSBData(handle_, &block, &r), 1);
  Start(r);
  fake_.QueueSamplePacket(Words({0x2000}));
  ASSERT_EQ(GetUSBData(handle_, &block, &r), 1);
  EXPECT_EQ(block.samples[0][0], 0x2000);
}

TEST_F(AcquisitionTest, CalibrationScalesSignedCodes) {
  const QvtAcquisitionRequest r = Channels(1, 1, 0, 0);
  struct Case {
    uint16_t word;
    int32_t gain1, gain103; // with gain 1.0 on channel 0 and 1.03 on channel 1
  };
  const Case cases[] = {
      {0x1000, 0x1000, 4218},
      {0x2001, 0x2001, 7948},      // -8191 x 1.03 = -8436.7 -> -8436 + 16384
      {0x2000, 0x2000, 8437},      // 8192 x 1.03
      {0x0000, 0, 0},
      {0x3FFF, 0x3FFF, 16383},     // -1 x 1.03 = -1.03 -> -1 + 16384
      {0xC123, 0x0123, 299},       // the top two bits are not part of the code
  };
  SendAdjust(handle_, 1.0, 1.03, 1.0, 1.0, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    Start(const_cast<QvtAcquisitionRequest&>(r));
    fake_.QueueSamplePacket(Words({c.word, c.word}));
    QvtSampleBlock block;
    ASSERT_EQ(GetUSBData(handle_, &block, &r), 2);
    EXPECT_EQ(block.samples[0][0], c.gain1);
    EXPECT_EQ(block.samples[1][0], c.gain103);
  }
}

TEST_F(AcquisitionTest, OddEnabledBytesNeverReadOrWritePastABuffer) {
  // 1 + 1 + 1 + 254 is 1 modulo 256: one word per frame by the sum, three by the channels.
  const QvtAcquisitionRequest r = Channels(1, 1, 1, 254);
  std::vector<uint8_t> packet(512);
  for (size_t i = 0; i < packet.size(); i += 2) packet[i + 1] = static_cast<uint8_t>(i / 2);
  fake_.QueueSamplePacket(packet);
  QvtSampleBlock block = Sentinel();
  ASSERT_EQ(GetUSBData(handle_, &block, &r), 256);
  for (int k : {0, 1, 2}) EXPECT_EQ(block.count[k], 512 / 6) << k;
  EXPECT_EQ(block.count[3], 0);
  EXPECT_EQ(block.samples[2][84], (3 * 84 + 2) & 0xFF);

  // A nonzero sum with no channel exactly 1: nothing decoded, the words still counted.
  fake_.QueueSamplePacket(packet);
  const QvtAcquisitionRequest none = Channels(2, 0, 0, 0);
  ASSERT_EQ(GetUSBData(handle_, &block, &none), 256);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(block.count[k], 0);
}

TEST_F(AcquisitionTest, FailedFetchesReturnZeroAndLeaveTheBlockAlone) {
  const QvtAcquisitionRequest r = Channels(1, 0, 0, 0);
  const QvtAcquisitionRequest off = Channels(0, 0, 0, 0);
  const QvtAcquisitionRequest wraps = Channels(128, 128, 0, 0); // sums to 0 modulo 256
  QvtSampleBlock block = Sentinel();
  const QvtSampleBlock untouched = block;

  fake_.ClearLog();
  EXPECT_EQ(GetUSBData(handle_, &block, &off), 0);
  EXPECT_EQ(GetUSBData(handle_, &block, &wraps), 0);
  EXPECT_TRUE(fake_.Log().empty()) << "no channel: no traffic";

  EXPECT_EQ(GetUSBData(handle_, &block, &r), 0) << "no packet ready";
  EXPECT_EQ(fake_.Log().size(), 2u) << "no read without a ready packet";

  fake_.QueueSamplePacket({}); // ready, but the read brings nothing
  EXPECT_EQ(_GetUSBData(handle_, &block, &r), 0);
  EXPECT_EQ(std::memcmp(&block, &untouched, sizeof block), 0);
}

TEST_F(AcquisitionTest, StopsWithoutTheThread) {
  fake_.ClearLog();
  EXPECT_EQ(StopAcqui(handle_), 0);
  StopAcquiLENTE(); // only the service thread sends the slow stop
  EXPECT_EQ(fake_.Writes(4), (std::vector<std::vector<uint8_t>>{{0x0A}}));
}

} // namespace
} // namespace qvt::test
