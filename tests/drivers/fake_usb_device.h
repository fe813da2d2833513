// SPDX-License-Identifier: GPL-3.0-or-later
// A scripted USB device on a umockdev test bed: answers the usbfs requests libusb makes, hands
// queued bytes to IN transfers and records everything sent to it. Needs the umockdev preload
// library (LD_PRELOAD=libumockdev-preload.so.0).
#pragma once

#include <umockdev.h>

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace qvt::test {

struct FakeEndpoint {
  uint8_t address;
  uint16_t maxPacketSize;
};

// The device the tests model: EZ-USB endpoints in the interface's pipe order (pipes 0, 1, 4 to
// the device; 2, 3, 5 from it), bulk, high speed.
inline const std::vector<FakeEndpoint> kInterfaceEndpoints = {
    {0x02, 512}, {0x04, 512}, {0x86, 512}, {0x88, 512}, {0x01, 64}, {0x81, 64}};

// The raw device descriptor followed by one configuration with interface 0 (vendor class)
// holding `endpoints`.
std::vector<uint8_t> MakeDescriptors(uint16_t vendor, uint16_t product, uint16_t release,
                                     const std::vector<FakeEndpoint>& endpoints);

class FakeUsbDevice {
public:
  struct Urb {
    uint8_t type;              // USBDEVFS_URB_TYPE_*
    uint8_t endpoint;
    int bufferLength;          // as submitted; for control transfers including the setup
    std::vector<uint8_t> data; // what the host sent: setup and data stage, or OUT payload
  };

  // Adds the device at /dev/bus/usb/<bus>/<address> to `bed`.
  FakeUsbDevice(UMockdevTestbed* bed, int bus, int address, const std::vector<uint8_t>& descriptors);
  ~FakeUsbDevice();
  FakeUsbDevice(const FakeUsbDevice&) = delete;
  FakeUsbDevice& operator=(const FakeUsbDevice&) = delete;

  // The next IN transfer on `endpoint` receives `data` (cut to the transfer's buffer). When
  // `complete` is false the bytes arrive but the transfer stays open, as when the device sends
  // full packets and then falls silent, until the host gives up on it.
  void QueueIn(uint8_t endpoint, std::vector<uint8_t> data, bool complete = true);

  std::vector<Urb> Submitted() const;
  bool Claimed() const;

private:
  struct Pending;
  static gboolean OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self);
  gboolean Handle(UMockdevIoctlClient* client);
  void Reap(UMockdevIoctlClient* client);

  UMockdevIoctlBase* handler_;
  mutable std::mutex mutex_;
  std::map<uint8_t, std::deque<std::pair<std::vector<uint8_t>, bool>>> inQueue_;
  std::vector<UMockdevIoctlData*> flying_; // submitted, not yet finished
  std::deque<UMockdevIoctlData*> done_;    // finished, waiting to be reaped
  std::vector<Urb> submitted_;
  bool claimed_ = false;
};

} // namespace qvt::test
