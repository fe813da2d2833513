// SPDX-License-Identifier: GPL-3.0-or-later
// One interface used at once by a service-like thread (sample polling and clock) and a client
// thread (serial link and controller memory), as the library's service thread and its clients
// do. Run under ThreadSanitizer, it also checks that the model guards all its state.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "sim_host.h"

namespace qvt::sim::testing {
namespace {

TEST(ConcurrencyTest, ServiceAndClientThreadsShareOneInterface) {
  SimHost host;
  Acquisition a;
  a.enabled = {true, true, false, false};
  a.clockSelect = 0;
  a.reload = 232; // 250 kHz: 25 frames per 100 us step, never a full buffer
  host.Start(a);

  // Both threads go on until each has done its share while the other runs.
  constexpr int kSteps = 4000;
  constexpr int kRounds = 500;
  std::atomic<bool> serviceDone{false};
  std::atomic<int> clientRounds{0};
  size_t words = 0;
  size_t steps = 0;
  std::thread service([&] {
    for (; steps < kSteps || clientRounds < kRounds; ++steps) {
      host.clock.Advance(100'000);
      if (host.PacketReady())
        words += host.ReadPacket().size() / 2;
    }
    serviceDone = true;
  });

  std::vector<uint8_t> echoed;
  size_t sent = 0;
  std::thread client([&] {
    const auto receive = [&] {
      const auto got = host.Read(kPipeH8In, 512);
      echoed.insert(echoed.end(), got.begin(), got.end());
    };
    while (!serviceDone) {
      std::vector<uint8_t> chunk(10);
      for (size_t j = 0; j < chunk.size(); ++j)
        chunk[j] = static_cast<uint8_t>(sent + j);
      sent += host.Write(kPipeH8Out, chunk);
      receive();
      uint8_t byte = static_cast<uint8_t>(sent);
      const uint8_t at[2] = {0x00, 0x10};
      host.device.Request(kRequestDownload, at, 2, &byte, 1);
      EXPECT_EQ(host.device.ControllerByte(0x1000), byte);
      ++clientRounds;
    }
    while (echoed.size() < sent)
      receive();
  });
  service.join();
  client.join();

  host.Write(kPipeCommand, {kCmdStop});
  words += host.Drain().size();
  EXPECT_EQ(words, 2u * 25 * steps);
  for (size_t i = 0; i < echoed.size(); ++i)
    ASSERT_EQ(echoed[i], static_cast<uint8_t>(i)) << i;
  EXPECT_EQ(echoed.size(), sent);
  EXPECT_GT(sent, 0u);
}

} // namespace
} // namespace qvt::sim::testing
