// SPDX-License-Identifier: GPL-3.0-or-later
// The usb driver against scripted devices on a umockdev test bed: finding and claiming the
// interface, the pipe table, bulk transfers, vendor requests, controller-memory downloads.
#include <gtest/gtest.h>
#include <linux/usbdevice_fs.h>

#include <array>
#include <cstdlib>
#include <list>
#include <numeric>

#include "driver.h"
#include "fake_usb_device.h"

namespace qvt::test {
namespace {

constexpr uint16_t kVendor = 0x1209;
constexpr uint16_t kProduct = 0x5156;

class UsbDriverTest : public ::testing::Test {
protected:
  void SetUp() override {
    bed_ = umockdev_testbed_new();
    setenv("QVTLINK_USB_ID", "1209:5156", 1);
  }
  void TearDown() override {
    devices_.clear();
    g_object_unref(bed_);
    unsetenv("QVTLINK_USB_ID");
  }

  FakeUsbDevice& AddDevice(int address, uint16_t vendor = kVendor, uint16_t product = kProduct,
                           uint16_t release = 0x0100) {
    return devices_.emplace_back(bed_, 1, address,
                                 MakeDescriptors(vendor, product, release, kInterfaceEndpoints));
  }

  static std::unique_ptr<Driver> Open(const std::string& name = "VexorQVT2-0") {
    return OpenUsbDriver("\\\\.\\" + name);
  }

  // bcdDevice of the device a driver opened, from its device descriptor request.
  static uint16_t Release(Driver& driver) {
    std::array<uint8_t, kDescriptorSize> d{};
    if (driver.Request(kRequestDescriptor, d.data(), d.size(), d.data(), d.size()) != d.size())
      return 0;
    return static_cast<uint16_t>(d[12] | d[13] << 8);
  }

  static uint32_t Pipe(Driver& driver, uint32_t code, uint8_t pipe, uint8_t* data, uint32_t n) {
    const std::array<uint8_t, 4> index = {pipe, 0, 0, 0};
    return driver.Request(code, index.data(), index.size(), data, n);
  }

  UMockdevTestbed* bed_ = nullptr;
  std::list<FakeUsbDevice> devices_;
};

TEST_F(UsbDriverTest, OpensClaimsAndReportsPipeTableAndDescriptor) {
  FakeUsbDevice& device = AddDevice(2);
  {
    auto driver = Open();
    ASSERT_NE(driver, nullptr);
    EXPECT_TRUE(device.Claimed());

    std::array<uint8_t, kPipeTableSize> table;
    table.fill(0xEE);
    ASSERT_EQ(driver->Request(kRequestPipeTable, table.data(), table.size(), table.data(),
                              table.size()),
              kPipeTableSize);
    EXPECT_EQ(table[0] | table[1] << 8, 16 + 20 * 6);
    EXPECT_EQ(table[4], 0xFF); // vendor class
    EXPECT_EQ(table[12], 6);
    for (size_t i = 0; i < kInterfaceEndpoints.size(); ++i) {
      const uint8_t* entry = table.data() + 16 + 20 * i;
      EXPECT_EQ(entry[0] | entry[1] << 8, kInterfaceEndpoints[i].maxPacketSize) << "pipe " << i;
      EXPECT_EQ(entry[2], kInterfaceEndpoints[i].address) << "pipe " << i;
      EXPECT_EQ(entry[4], 2) << "pipe " << i; // bulk
    }
    EXPECT_EQ(table[16 + 20 * 6 + 2], 0); // the first unused entry is cleared

    std::array<uint8_t, kDescriptorSize> descriptor{};
    ASSERT_EQ(driver->Request(kRequestDescriptor, descriptor.data(), descriptor.size(),
                              descriptor.data(), descriptor.size()),
              kDescriptorSize);
    const auto expected = MakeDescriptors(kVendor, kProduct, 0x0100, kInterfaceEndpoints);
    EXPECT_TRUE(std::equal(descriptor.begin(), descriptor.end(), expected.begin()));
  }
  EXPECT_FALSE(device.Claimed()); // released on close
}

TEST_F(UsbDriverTest, BulkWriteAndReadUseThePipesEndpoints) {
  FakeUsbDevice& device = AddDevice(2);
  auto driver = Open();
  ASSERT_NE(driver, nullptr);

  std::array<uint8_t, 64> command{};
  command[0] = 0x0F;
  EXPECT_EQ(Pipe(*driver, kRequestBulkWrite, 4, command.data(), command.size()), 64u);

  std::vector<uint8_t> reply(64);
  std::iota(reply.begin(), reply.end(), 1);
  device.QueueIn(0x81, reply);
  std::array<uint8_t, 64> received{};
  EXPECT_EQ(Pipe(*driver, kRequestBulkRead, 5, received.data(), received.size()), 64u);
  EXPECT_TRUE(std::equal(received.begin(), received.end(), reply.begin()));

  const auto urbs = device.Submitted();
  ASSERT_EQ(urbs.size(), 2u);
  EXPECT_EQ(urbs[0].type, USBDEVFS_URB_TYPE_BULK);
  EXPECT_EQ(urbs[0].endpoint, 0x01);
  EXPECT_EQ(urbs[0].data, std::vector<uint8_t>(command.begin(), command.end()));
  EXPECT_EQ(urbs[1].endpoint, 0x81);
}

TEST_F(UsbDriverTest, ShortReadTransfersWholePacketsButFillsOnlyTheAskedLength) {
  FakeUsbDevice& device = AddDevice(2);
  auto driver = Open();
  ASSERT_NE(driver, nullptr);

  device.QueueIn(0x86, std::vector<uint8_t>(512, 0x5A));
  std::array<uint8_t, 16> buffer;
  buffer.fill(0xEE);
  EXPECT_EQ(Pipe(*driver, kRequestBulkRead, 2, buffer.data(), 10), 10u);
  EXPECT_EQ(buffer[9], 0x5A);
  EXPECT_EQ(buffer[10], 0xEE); // nothing past the asked length
  ASSERT_EQ(device.Submitted().size(), 1u);
  EXPECT_EQ(device.Submitted()[0].bufferLength, 512);
}

TEST_F(UsbDriverTest, ReadTimeOutReturnsTheBytesAlreadyReceived) {
  FakeUsbDevice& device = AddDevice(2);
  auto driver = Open();
  ASSERT_NE(driver, nullptr);

  device.QueueIn(0x88, std::vector<uint8_t>(512, 0x33), /*complete=*/false);
  std::vector<uint8_t> buffer(1024, 0);
  EXPECT_EQ(Pipe(*driver, kRequestBulkRead, 3, buffer.data(), 1024), 512u);
  EXPECT_EQ(buffer[511], 0x33);
  EXPECT_EQ(buffer[512], 0);

  EXPECT_EQ(Pipe(*driver, kRequestBulkRead, 3, buffer.data(), 64), 0u); // silent pipe
}

TEST_F(UsbDriverTest, VendorRequestAndDownloadBecomeVendorControlWrites) {
  FakeUsbDevice& device = AddDevice(2);
  auto driver = Open();
  ASSERT_NE(driver, nullptr);

  // Hold the controller's CPU in reset: request 0xA0, value 0xE600, length 1, data byte 1.
  const std::array<uint8_t, 10> reset = {0xA0, 0, 0x00, 0xE6, 0, 0, 1, 0, 0, 0x01};
  EXPECT_EQ(driver->Request(kRequestVendor, reset.data(), reset.size(), nullptr, 0), 1u);

  std::vector<uint8_t> image(130);
  std::iota(image.begin(), image.end(), 0);
  const std::array<uint8_t, 2> address = {0x00, 0x10};
  EXPECT_EQ(driver->Request(kRequestDownload, address.data(), address.size(), image.data(),
                            static_cast<uint32_t>(image.size())),
            130u);

  const auto urbs = device.Submitted();
  ASSERT_EQ(urbs.size(), 4u);
  for (const auto& urb : urbs) {
    EXPECT_EQ(urb.type, USBDEVFS_URB_TYPE_CONTROL);
    EXPECT_EQ(urb.endpoint, 0);
  }
  EXPECT_EQ(urbs[0].data, (std::vector<uint8_t>{0x40, 0xA0, 0x00, 0xE6, 0, 0, 1, 0, 0x01}));
  const std::array<std::pair<uint16_t, size_t>, 3> pieces = {
      {{0x1000, 64}, {0x1040, 64}, {0x1080, 2}}};
  for (size_t i = 0; i < pieces.size(); ++i) {
    const auto& urb = urbs[i + 1];
    const auto [value, size] = pieces[i];
    std::vector<uint8_t> expected = {0x40, 0xA0, static_cast<uint8_t>(value),
                                     static_cast<uint8_t>(value >> 8), 0, 0,
                                     static_cast<uint8_t>(size), 0};
    expected.insert(expected.end(), image.begin() + 64 * i, image.begin() + 64 * i + size);
    EXPECT_EQ(urb.data, expected) << "piece " << i;
  }
}

TEST_F(UsbDriverTest, MalformedRequestsReturnZeroAndSendNothing) {
  FakeUsbDevice& device = AddDevice(2);
  auto driver = Open();
  ASSERT_NE(driver, nullptr);

  std::array<uint8_t, 400> buffer{};
  const std::array<uint8_t, 4> pipe4 = {4, 0, 0, 0}, pipe5 = {5, 0, 0, 0}, pipe6 = {6, 0, 0, 0},
                               pipeHigh = {2, 0, 0, 1};
  const std::array<uint8_t, 10> longOut = {0x40, 0, 0, 0, 0, 0, 2, 0, 0, 0},
                                badDirection = {0x40, 0, 0, 0, 0, 0, 1, 0, 2, 0},
                                longIn = {0x40, 0, 0, 0, 0, 0, 8, 0, 1, 0};
  const std::array<uint8_t, 2> topOfMemory = {0xC0, 0xFF};
  struct Case {
    const char* what;
    uint32_t code;
    const uint8_t* in;
    uint32_t inLength;
    uint8_t* out;
    uint32_t outLength;
  } cases[] = {
      {"unknown request", 0x222008, pipe4.data(), 4, buffer.data(), 64},
      {"short pipe index", kRequestBulkRead, pipe5.data(), 3, buffer.data(), 64},
      {"no such pipe", kRequestBulkRead, pipe6.data(), 4, buffer.data(), 64},
      {"index beyond 8 bits", kRequestBulkRead, pipeHigh.data(), 4, buffer.data(), 64},
      {"read on an OUT pipe", kRequestBulkRead, pipe4.data(), 4, buffer.data(), 64},
      {"write on an IN pipe", kRequestBulkWrite, pipe5.data(), 4, buffer.data(), 64},
      {"null output buffer", kRequestBulkWrite, pipe4.data(), 4, nullptr, 64},
      {"short vendor record", kRequestVendor, longOut.data(), 9, nullptr, 0},
      {"OUT data longer than the record's byte", kRequestVendor, longOut.data(), 10, nullptr, 0},
      {"unknown direction", kRequestVendor, badDirection.data(), 10, nullptr, 0},
      {"IN data larger than the output", kRequestVendor, longIn.data(), 10, buffer.data(), 4},
      {"short download address", kRequestDownload, topOfMemory.data(), 1, buffer.data(), 8},
      {"download past the top of memory", kRequestDownload, topOfMemory.data(), 2, buffer.data(),
       128},
      {"short pipe table buffer", kRequestPipeTable, nullptr, 0, buffer.data(), kPipeTableSize - 1},
      {"short descriptor buffer", kRequestDescriptor, nullptr, 0, buffer.data(), 17},
  };
  for (const Case& c : cases)
    EXPECT_EQ(driver->Request(c.code, c.in, c.inLength, c.out, c.outLength), 0u) << c.what;
  EXPECT_TRUE(device.Submitted().empty());
}

TEST_F(UsbDriverTest, OpenFailsWithoutAMatchingDevice) {
  EXPECT_EQ(Open(), nullptr); // empty bus

  AddDevice(2, 0x1234, 0x5678);
  EXPECT_EQ(Open(), nullptr); // another device only

  AddDevice(3);
  EXPECT_EQ(Open("VexorQVT2-1"), nullptr); // one matching device, the second asked for
  setenv("QVTLINK_USB_ID", "not an id", 1);
  EXPECT_EQ(Open(), nullptr);
}

TEST_F(UsbDriverTest, DeviceNumberCountsMatchesInIdListThenBusOrder) {
  setenv("QVTLINK_USB_ID", "1209:5156, 04b4:8613", 1);
  AddDevice(2, 0x04b4, 0x8613, 0x0002);
  AddDevice(5, kVendor, kProduct, 0x0005);
  AddDevice(3, kVendor, kProduct, 0x0003);
  AddDevice(4, 0x1234, 0x5678, 0x0004);

  const std::array<std::pair<const char*, uint16_t>, 3> expected = {
      {{"VexorQVT2-0", 0x0003}, {"VexorQVT2-1", 0x0005}, {"VexorQVT2-2", 0x0002}}};
  for (const auto& [name, release] : expected) {
    auto driver = Open(name);
    ASSERT_NE(driver, nullptr) << name;
    EXPECT_EQ(Release(*driver), release) << name;
  }
  EXPECT_EQ(Open("VexorQVT2-3"), nullptr);

  unsetenv("QVTLINK_USB_ID"); // the defaults include the unprogrammed controller
  auto driver = Open("VexorQVT2-2");
  ASSERT_NE(driver, nullptr);
  EXPECT_EQ(Release(*driver), 0x0002);
}

} // namespace
} // namespace qvt::test
