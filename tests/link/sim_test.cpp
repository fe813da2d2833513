// SPDX-License-Identifier: GPL-3.0-or-later
// qvtlink on the virtual interface, end to end: the wire bytes as the interface's trace
// records them, its identify answer, live samples, the generator and the H8 loop-back, and
// the program's calls on an interface that is unplugged or fails every transfer.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "link_fixture.h"

namespace qvt::test {
namespace {

class SimTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::filesystem::remove(trace_);
    qvt::testing::UseClock(&clock_);
  }

  void TearDown() override {
    if (handle_ != 0) _SetPortClose(handle_);
    qvt::testing::ResetVirtualInterfaces();
    qvt::testing::UseClock(nullptr);
    std::filesystem::remove(trace_);
  }

  // A fresh virtual interface with these options (and the trace), opened and identified.
  int32_t Open(const std::string& options) {
    setenv("QVTLINK_DEVICE", "sim", 1);
    setenv("QVTLINK_SIM", (options + ";noise=0;trace=" + trace_.string()).c_str(), 1);
    qvt::testing::ResetVirtualInterfaces();
    handle_ = _SetPortOpen(Counted16("VexorQVT2-0"));
    return handle_;
  }

  // The bytes of every trace line "W <pipe> <count>: <hex bytes>" for one pipe.
  std::vector<std::vector<uint8_t>> Written(uint32_t pipe) const {
    std::vector<std::vector<uint8_t>> writes;
    std::ifstream file(trace_);
    for (std::string line; std::getline(file, line);) {
      std::istringstream fields(line);
      std::string tag, count;
      uint32_t linePipe;
      if (!(fields >> tag >> linePipe >> count) || tag != "W" || linePipe != pipe) continue;
      std::vector<uint8_t> bytes;
      for (std::string hex; fields >> hex;) bytes.push_back(static_cast<uint8_t>(std::stoul(hex, nullptr, 16)));
      writes.push_back(bytes);
    }
    return writes;
  }

  // Two channels at 1.2 MHz, started by hand.
  static QvtAcquisitionRequest TwoChannels() {
    QvtAcquisitionRequest r{};
    r.reconfigure = 1;
    r.channel[0] = {1, 0, 0};
    r.channel[1] = {1, 0, 0};
    r.timerReload = 251;
    r.prescaler = 1;
    r.triggerLevel = 2048;
    return r;
  }

  // Frames of channel 0 that `polls` calls of _GetUSBData, 1 ms apart, deliver.
  int32_t Frames(const QvtAcquisitionRequest& r, int polls) {
    int32_t frames = 0;
    for (int poll = 0; poll < polls; ++poll) {
      clock_.AdvanceMs(1);
      QvtSampleBlock block;
      if (_GetUSBData(handle_, &block, &r) != 0)
        frames += block.count[0];
    }
    return frames;
  }

  // The program's calls on a port whose transfers all fail: each gives up within 1 s of the
  // library's waits (the manual clock moves only in them), and none reports a success. A new
  // open succeeds only when the interface is still plugged in. Closes the port.
  void ExpectEveryCallGivesUp(bool opens) {
    const auto waitedMs = [this](const auto& call) {
      const int64_t start = clock_.NowNanos();
      call();
      return (clock_.NowNanos() - start) / 1'000'000;
    };
    QvtAcquisitionRequest r = TwoChannels();
    QvtSampleBlock block;
    auto table = std::make_unique<QvtGeneratorTable>();
    *table = {};
    table->count = 1000; // four chunks on a high-speed bus
    EXPECT_LE(waitedMs([&] { EXPECT_EQ(_GetUSBData(handle_, &block, &r), 0); }), 1000);
    EXPECT_LE(waitedMs([&] { EXPECT_EQ(_StopAcqui(handle_), 0); }), 1000);
    EXPECT_LE(waitedMs([&] { _LanceAcqui(handle_, &r); }), 1000);
    EXPECT_LE(waitedMs([&] { _LanceGenerateur(handle_, 1, table.get()); }), 1000);
    EXPECT_EQ(table->count, 1000) << "the load gives up at the first chunk";
    EXPECT_LE(waitedMs([&] { EXPECT_EQ(_StopGenerateur(handle_), 0); }), 1000);
    int32_t second = 0;
    EXPECT_LE(waitedMs([&] { second = _SetPortOpen(Counted16("VexorQVT2-0")); }), 1000);
    EXPECT_EQ(second != 0, opens);
    if (second != 0)
      _SetPortClose(second);
    EXPECT_LE(waitedMs([&] { EXPECT_EQ(_SetPortClose(handle_), 1); }), 1000);
    handle_ = 0;
  }

  ManualClock clock_;
  std::filesystem::path trace_ = std::filesystem::temp_directory_path() / "qvtlink_sim_test.trace";
  int32_t handle_ = 0;
};

TEST_F(SimTest, IdentifyReportsBusSpeedAndSanitisedGains) {
  ASSERT_NE(Open("bus=full;gains=0.97,1.03,0.9699,1.0301"), 0);
  EXPECT_EQ(DefineUSB(handle_), 64);
  double g[4];
  GetAdjust(handle_, &g[0], &g[1], &g[2], &g[3]);
  EXPECT_EQ(g[0], static_cast<double>(0.97f));
  EXPECT_EQ(g[1], static_cast<double>(1.03f));
  EXPECT_EQ(g[2], 1.0);
  EXPECT_EQ(g[3], 1.0);
  _SetPortClose(handle_);
  ASSERT_NE(Open("bus=high"), 0);
  EXPECT_EQ(_DefineUSB(handle_), 512);
  char version[65];
  EXPECT_EQ(_GetVersion(handle_, version), 1);
}

TEST_F(SimTest, AcquisitionStartsOnTheWireAndDeliversSamples) {
  ASSERT_NE(Open("bus=high"), 0);
  QvtAcquisitionRequest r{};
  r.reconfigure = 1;
  r.channel[0] = {1, 0, 0};
  r.channel[1] = {1, 0, 0};
  r.clockSelect = 0;
  r.timerReload = 251;
  r.prescaler = 1;
  r.triggerLevel = 2048;
  _LanceAcqui(handle_, &r);
  const auto commands = Written(4);
  ASSERT_GE(commands.size(), 4u);
  const auto tail = std::vector<std::vector<uint8_t>>(commands.end() - 4, commands.end());
  EXPECT_EQ(tail[0], (std::vector<uint8_t>{0x05, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(tail[1], (std::vector<uint8_t>{0x06, 0, 0, 0x00, 0x08}));
  EXPECT_EQ(tail[2], (std::vector<uint8_t>{0x07, 0, 251, 0, 0, 1, 1, 1, 0, 0xFF, 0xFF, 0x01}));
  EXPECT_EQ(tail[3], (std::vector<uint8_t>{0x08}));

  // Manual start, 1.2 MHz: a few milliseconds of interface time fill packets of 128 frames.
  int frames = 0;
  for (int poll = 0; poll < 200 && frames < 300; ++poll) {
    clock_.AdvanceMs(1);
    QvtSampleBlock block;
    const int32_t words = _GetUSBData(handle_, &block, &r);
    if (words == 0) continue;
    EXPECT_EQ(block.count[0], block.count[1]);
    EXPECT_EQ(block.count[2], 0);
    EXPECT_EQ(words, 2 * block.count[0]);
    frames += block.count[0];
  }
  EXPECT_GE(frames, 300);
  EXPECT_EQ(_StopAcqui(handle_), 0);
}

TEST_F(SimTest, GeneratorTableGoesOutInChunksOfThirtyTwoOnFullSpeed) {
  ASSERT_NE(Open("bus=full"), 0);
  auto table = std::make_unique<QvtGeneratorTable>();
  *table = {};
  table->count = 20000;
  table->clockIndex = 2;
  table->timerValue = 65285;
  for (int i = 0; i < QVT_GENERATOR_SAMPLES; ++i) table->samples[i] = (i % 2) ? 0x4000 : 0x1234;
  _LanceGenerateur(handle_, 1, table.get());
  EXPECT_EQ(table->count, 0);
  const auto chunks = Written(0);
  ASSERT_EQ(chunks.size(), 500u);
  EXPECT_EQ(chunks[0].size(), 64u);
  EXPECT_EQ(std::vector<uint8_t>(chunks[0].begin(), chunks[0].begin() + 4), (std::vector<uint8_t>{0x34, 0x12, 0xFF, 0x3F}));
  const auto start = Written(4).back();
  ASSERT_EQ(start.size(), 5u);
  EXPECT_EQ(std::vector<uint8_t>(start.begin(), start.begin() + 4), (std::vector<uint8_t>{0x03, 0x02, 0x05, 0xFF}));
  EXPECT_EQ(_StopGenerateur(handle_), 1);
}

// A chunk lost on a failing link ends the load unstarted; it never plays a wave with a hole.
TEST_F(SimTest, GeneratorLoadStopsAtAChunkTheInterfaceDidNotTake) {
  for (int seed = 1; seed <= 4; ++seed) {
    ASSERT_NE(Open("bus=full;fail_rate=0.02;seed=" + std::to_string(seed)), 0);
    auto table = std::make_unique<QvtGeneratorTable>();
    *table = {};
    table->count = 4000;
    _LanceGenerateur(handle_, 1, table.get());
    size_t sent = 0;
    for (const auto& chunk : Written(0)) sent += chunk.size() / 2;
    const auto commands = Written(4);
    const bool started = !commands.empty() && commands.back()[0] == 0x03;
    EXPECT_EQ(static_cast<int32_t>(sent) + table->count, 4000) << seed;
    EXPECT_EQ(started, table->count == 0) << seed;
    _SetPortClose(handle_);
    handle_ = 0;
    std::filesystem::remove(trace_);
  }
}

TEST_F(SimTest, H8LinkEchoesThroughTheServiceThreadAndChangesSpeedWithout) {
  ASSERT_NE(Open("bus=full"), 0);
  EXPECT_EQ(ChangeVitesse(handle_, 7), 0);
  const auto serial = Written(1);
  ASSERT_EQ(serial.size(), 1u);
  EXPECT_EQ(std::string(serial[0].begin(), serial[0].end()), "WBAUDS 1\r");
  EXPECT_EQ(Written(4).back(), (std::vector<uint8_t>{0x14, 0x01}));

  clock_.SetPauseStep(10'000);
  LanceTHREAD(handle_);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (IsRunTHREAD() == 0 && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
  EXPECT_EQ(ChangeVitesse(handle_, 0), 254);
  const std::string text = "MESURE 12\r";
  _SendH8(text.data(), static_cast<int32_t>(text.size()));
  while (GetLenH8() < static_cast<int32_t>(text.size()) && std::chrono::steady_clock::now() < deadline) {
    clock_.AdvanceMs(1);
    std::this_thread::yield();
  }
  char received[32] = {};
  EXPECT_EQ(_GetH8(received, 31, 0), static_cast<int32_t>(text.size()));
  EXPECT_EQ(std::string(received), text);
  StopTHREAD();
  while (IsRunTHREAD() == 1 && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
}

TEST_F(SimTest, UnpluggedMidAcquisitionEveryCallReturnsAndAReplugNeedsAReopen) {
  ASSERT_NE(Open("bus=high"), 0);
  const int32_t kept = _SetPortOpen(Counted16("VexorQVT2-0")); // held over the re-plug
  QvtAcquisitionRequest r = TwoChannels();
  _LanceAcqui(handle_, &r);
  ASSERT_GT(Frames(r, 5), 0);

  qvt::testing::UnplugVirtualInterface(0);
  qvt::testing::PlugVirtualInterface(-1); // no such interface: nothing happens
  qvt::testing::PlugVirtualInterface(4);
  ExpectEveryCallGivesUp(false);

  qvt::testing::PlugVirtualInterface(0);
  handle_ = kept;
  _LanceAcqui(handle_, &r);
  EXPECT_EQ(Frames(r, 5), 0) << "a port opened before the re-plug stays dead";
  _SetPortClose(handle_);
  handle_ = _SetPortOpen(Counted16("VexorQVT2-0"));
  ASSERT_NE(handle_, 0);
  _LanceAcqui(handle_, &r);
  EXPECT_GT(Frames(r, 5), 0);
}

TEST_F(SimTest, EveryCallGivesUpWhenEveryTransferFails) {
  ASSERT_NE(Open("bus=high"), 0); // the library keeps this packet size, so chunks go out below
  _SetPortClose(handle_);
  std::filesystem::remove(trace_);
  ASSERT_NE(Open("bus=high;fail_rate=1"), 0);
  ExpectEveryCallGivesUp(true);
  EXPECT_TRUE(Written(0).empty());
  EXPECT_TRUE(Written(4).empty()) << "nothing reached the interface";
}

TEST_F(SimTest, UnplugAfterZeroIsAnAbsentInterfaceUntilPluggedIn) {
  EXPECT_EQ(Open("unplug_after=0"), 0);
  qvt::testing::PlugVirtualInterface(0);
  handle_ = _SetPortOpen(Counted16("VexorQVT2-0"));
  ASSERT_NE(handle_, 0);
  EXPECT_EQ(_DefineUSB(handle_), 512);
}

} // namespace
} // namespace qvt::test
