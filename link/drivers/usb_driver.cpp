// SPDX-License-Identifier: LGPL-2.1-or-later
// The usb driver: carries out the kernel driver's requests with libusb-1.0 on the interface
// found on the bus, so that the library runs unchanged where that kernel driver does not exist.
#include <libusb.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <optional>
#include <tuple>
#include <vector>

#include "driver.h"
#include "usb_device_match.h"
#include "usb_pipe_table.h"

namespace qvt {
namespace {

// Long enough for any reply the interface gives to a command; short enough that a read on a
// silent pipe does not hang the caller.
constexpr unsigned kTimeoutMs = 1000;

// The EZ-USB controller's own "firmware load" vendor request: writes up to 64 bytes of its
// memory at the address given as value.
constexpr uint8_t kControllerMemoryRequest = 0xA0;
constexpr uint32_t kDownloadPieceSize = 64;

// bmRequestType of vendor requests to the device, host to device and device to host.
constexpr uint8_t kVendorOut = 0x40;
constexpr uint8_t kVendorIn = 0xC0;
static_assert(kVendorOut == (static_cast<int>(LIBUSB_ENDPOINT_OUT) |
                             static_cast<int>(LIBUSB_REQUEST_TYPE_VENDOR) |
                             static_cast<int>(LIBUSB_RECIPIENT_DEVICE)));
static_assert(kVendorIn == (static_cast<int>(LIBUSB_ENDPOINT_IN) | kVendorOut));

constexpr uint32_t kVendorRecordSize = 10;
constexpr uint32_t kPipeIndexSize = 4;
constexpr uint32_t kAddressSize = 2;

struct ContextDeleter {
  void operator()(libusb_context* ctx) const { libusb_exit(ctx); }
};
struct DeviceListDeleter {
  void operator()(libusb_device** list) const { libusb_free_device_list(list, 1); }
};
struct ConfigDeleter {
  void operator()(libusb_config_descriptor* config) const { libusb_free_config_descriptor(config); }
};
struct HandleDeleter {
  void operator()(libusb_device_handle* handle) const {
    // Releasing gives the interface back to the kernel driver we detached, if any.
    libusb_release_interface(handle, 0);
    libusb_close(handle);
  }
};
using ContextPtr = std::unique_ptr<libusb_context, ContextDeleter>;
using DeviceListPtr = std::unique_ptr<libusb_device*, DeviceListDeleter>;
using ConfigPtr = std::unique_ptr<libusb_config_descriptor, ConfigDeleter>;
using HandlePtr = std::unique_ptr<libusb_device_handle, HandleDeleter>;

uint16_t Le16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }

using DescriptorBytes = std::array<uint8_t, kDescriptorSize>;

// The device descriptor as it travels on the bus (libusb hands it over in host byte order).
DescriptorBytes RawDescriptor(const libusb_device_descriptor& d) {
  return {d.bLength,
          d.bDescriptorType,
          static_cast<uint8_t>(d.bcdUSB),
          static_cast<uint8_t>(d.bcdUSB >> 8),
          d.bDeviceClass,
          d.bDeviceSubClass,
          d.bDeviceProtocol,
          d.bMaxPacketSize0,
          static_cast<uint8_t>(d.idVendor),
          static_cast<uint8_t>(d.idVendor >> 8),
          static_cast<uint8_t>(d.idProduct),
          static_cast<uint8_t>(d.idProduct >> 8),
          static_cast<uint8_t>(d.bcdDevice),
          static_cast<uint8_t>(d.bcdDevice >> 8),
          d.iManufacturer,
          d.iProduct,
          d.iSerialNumber,
          d.bNumConfigurations};
}

// Interface 0, alternate setting 0 of `config`, or nothing when the device has none.
std::optional<UsbInterface> FindInterfaceZero(const libusb_config_descriptor& config) {
  for (int i = 0; i < config.bNumInterfaces; ++i) {
    const libusb_interface& iface = config.interface[i];
    for (int a = 0; a < iface.num_altsetting; ++a) {
      const libusb_interface_descriptor& alt = iface.altsetting[a];
      if (alt.bInterfaceNumber != 0 || alt.bAlternateSetting != 0) continue;
      UsbInterface found;
      found.number = alt.bInterfaceNumber;
      found.alternateSetting = alt.bAlternateSetting;
      found.interfaceClass = alt.bInterfaceClass;
      found.interfaceSubClass = alt.bInterfaceSubClass;
      found.interfaceProtocol = alt.bInterfaceProtocol;
      for (int e = 0; e < alt.bNumEndpoints; ++e) {
        const libusb_endpoint_descriptor& ep = alt.endpoint[e];
        found.endpoints.push_back(
            {ep.bEndpointAddress, ep.bmAttributes, ep.wMaxPacketSize, ep.bInterval});
      }
      return found;
    }
  }
  return std::nullopt;
}

class UsbDriver final : public Driver {
public:
  UsbDriver(ContextPtr context, HandlePtr handle, const UsbInterface& iface,
            const DescriptorBytes& descriptor)
      : context_(std::move(context)), handle_(std::move(handle)),
        pipeTable_(BuildPipeTable(iface)), descriptor_(descriptor),
        pipes_(iface.endpoints.begin(),
               iface.endpoints.begin() + std::min<size_t>(iface.endpoints.size(), kMaxPipes)) {}

  uint32_t Request(uint32_t code, const void* in, uint32_t inLength, void* out,
                   uint32_t outLength) override {
    if ((in == nullptr && inLength != 0) || (out == nullptr && outLength != 0)) return 0;
    const auto* input = static_cast<const uint8_t*>(in);
    auto* output = static_cast<uint8_t*>(out);
    switch (code) {
    case kRequestPipeTable: return CopyOut(pipeTable_.data(), pipeTable_.size(), output, outLength);
    case kRequestDescriptor: return CopyOut(descriptor_.data(), descriptor_.size(), output, outLength);
    case kRequestVendor: return Vendor(input, inLength, output, outLength);
    case kRequestBulkRead: return BulkRead(input, inLength, output, outLength);
    case kRequestBulkWrite: return BulkWrite(input, inLength, output, outLength);
    case kRequestDownload: return Download(input, inLength, output, outLength);
    default: return 0;
    }
  }

private:
  static uint32_t CopyOut(const uint8_t* from, size_t size, uint8_t* out, uint32_t outLength) {
    if (outLength < size) return 0;
    std::memcpy(out, from, size);
    return static_cast<uint32_t>(size);
  }

  // The pipe named by a 4-byte little-endian index, if it exists and runs in the asked direction.
  const UsbEndpoint* Pipe(const uint8_t* in, uint32_t inLength, bool toHost) const {
    if (inLength < kPipeIndexSize) return nullptr;
    const uint32_t index = Le16(in) | (static_cast<uint32_t>(Le16(in + 2)) << 16);
    if (index >= pipes_.size()) return nullptr;
    const UsbEndpoint& pipe = pipes_[index];
    if (((pipe.address & LIBUSB_ENDPOINT_IN) != 0) != toHost) return nullptr;
    return &pipe;
  }

  // One bulk or interrupt transfer; the count of bytes moved, also when it ended early.
  uint32_t Transfer(const UsbEndpoint& pipe, uint8_t* data, uint32_t length) {
    int transferred = 0;
    int status;
    switch (pipe.attributes & LIBUSB_TRANSFER_TYPE_MASK) {
    case LIBUSB_TRANSFER_TYPE_BULK:
      status = libusb_bulk_transfer(handle_.get(), pipe.address, data, static_cast<int>(length),
                                    &transferred, kTimeoutMs);
      break;
    case LIBUSB_TRANSFER_TYPE_INTERRUPT:
      status = libusb_interrupt_transfer(handle_.get(), pipe.address, data,
                                         static_cast<int>(length), &transferred, kTimeoutMs);
      break;
    default: return 0;
    }
    // A stalled endpoint stays stalled until cleared; clear it so the next request can work.
    if (status == LIBUSB_ERROR_PIPE) libusb_clear_halt(handle_.get(), pipe.address);
    // On a time-out (or any other early end) the bytes already moved still count: the kernel
    // driver reports them the same way.
    return transferred > 0 ? static_cast<uint32_t>(transferred) : 0;
  }

  uint32_t BulkRead(const uint8_t* in, uint32_t inLength, uint8_t* out, uint32_t outLength) {
    const UsbEndpoint* pipe = Pipe(in, inLength, true);
    if (pipe == nullptr || outLength == 0) return 0;
    // The device may send a whole packet whatever was asked for, so the transfer buffer is
    // made of whole packets; only what the caller asked for is copied back.
    const uint32_t wanted = std::min(outLength, kMaxTransferSize);
    const uint32_t packet = pipe->maxPacketSize != 0 ? pipe->maxPacketSize : wanted;
    std::vector<uint8_t> staging((wanted + packet - 1) / packet * packet);
    const uint32_t moved = Transfer(*pipe, staging.data(), static_cast<uint32_t>(staging.size()));
    const uint32_t copied = std::min(moved, wanted);
    std::memcpy(out, staging.data(), copied);
    return copied;
  }

  uint32_t BulkWrite(const uint8_t* in, uint32_t inLength, uint8_t* out, uint32_t outLength) {
    const UsbEndpoint* pipe = Pipe(in, inLength, false);
    if (pipe == nullptr || outLength > kMaxTransferSize) return 0;
    // A write of length 0 goes out as a zero-length packet and reports 0, as it would through
    // the kernel driver.
    return Transfer(*pipe, out, outLength);
  }

  uint32_t Vendor(const uint8_t* in, uint32_t inLength, uint8_t* out, uint32_t outLength) {
    if (inLength < kVendorRecordSize) return 0;
    const uint8_t request = in[0];
    const uint16_t value = Le16(in + 2);
    const uint16_t index = Le16(in + 4);
    const uint16_t length = Le16(in + 6);
    const uint8_t direction = in[8];
    int status;
    if (direction == 0) {
      // The record carries one data byte; a longer data stage would have nothing to send.
      if (length > 1) return 0;
      uint8_t data = in[9];
      status = libusb_control_transfer(
          handle_.get(), kVendorOut,
          request, value, index, &data, length, kTimeoutMs);
    } else if (direction == 1) {
      // Data from the device lands in the output buffer, which must hold all of it.
      if (length > outLength) return 0;
      status = libusb_control_transfer(
          handle_.get(), kVendorIn,
          request, value, index, out, length, kTimeoutMs);
    } else {
      return 0;
    }
    return status > 0 ? static_cast<uint32_t>(status) : 0;
  }

  uint32_t Download(const uint8_t* in, uint32_t inLength, const uint8_t* out, uint32_t outLength) {
    if (inLength < kAddressSize) return 0;
    const uint32_t address = Le16(in);
    // Controller memory is addressed with 16 bits; a block running past the top would wrap
    // around onto low memory, so it is refused whole.
    if (address + outLength > 0x10000) return 0;
    uint32_t done = 0;
    while (done < outLength) {
      std::array<uint8_t, kDownloadPieceSize> piece;
      const uint32_t size = std::min(kDownloadPieceSize, outLength - done);
      std::memcpy(piece.data(), out + done, size);
      const int status = libusb_control_transfer(
          handle_.get(), kVendorOut,
          kControllerMemoryRequest, static_cast<uint16_t>(address + done), 0, piece.data(),
          static_cast<uint16_t>(size), kTimeoutMs);
      if (status != static_cast<int>(size)) break;
      done += size;
    }
    return done;
  }

  ContextPtr context_; // declared first: destroyed after the handle that belongs to it
  HandlePtr handle_;
  PipeTable pipeTable_;
  DescriptorBytes descriptor_;
  std::vector<UsbEndpoint> pipes_;
};

struct Candidate {
  size_t idRank;
  uint8_t bus;
  uint8_t address;
  libusb_device* device;
  libusb_device_descriptor descriptor;
};

// Devices whose id is listed, ordered by the position of their id in the list, then by bus and
// address, so that a device number picks the same device from one open to the next.
std::vector<Candidate> MatchingDevices(libusb_device** list, ssize_t count,
                                       const std::vector<UsbId>& ids) {
  std::vector<Candidate> found;
  for (ssize_t i = 0; i < count; ++i) {
    libusb_device_descriptor d;
    if (libusb_get_device_descriptor(list[i], &d) != 0) continue;
    const auto id = std::find(ids.begin(), ids.end(), UsbId{d.idVendor, d.idProduct});
    if (id == ids.end()) continue;
    found.push_back({static_cast<size_t>(id - ids.begin()), libusb_get_bus_number(list[i]),
                     libusb_get_device_address(list[i]), list[i], d});
  }
  std::sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
    return std::tie(a.idRank, a.bus, a.address) < std::tie(b.idRank, b.bus, b.address);
  });
  return found;
}

ConfigPtr ConfigOf(libusb_device* device) {
  libusb_config_descriptor* config = nullptr;
  if (libusb_get_active_config_descriptor(device, &config) != 0 &&
      libusb_get_config_descriptor(device, 0, &config) != 0)
    return nullptr;
  return ConfigPtr(config);
}

} // namespace

std::unique_ptr<Driver> OpenUsbDriver(const std::string& path) {
  const std::vector<UsbId> ids = UsbIdsFromEnvironment();
  const std::optional<unsigned> index = DeviceIndexFromPath(path);
  if (ids.empty() || !index) return nullptr;

  libusb_context* rawContext = nullptr;
  if (libusb_init(&rawContext) != 0) return nullptr;
  ContextPtr context(rawContext);
  // The library never prints; LIBUSB_DEBUG still turns libusb's messages on for debugging.
  libusb_set_option(context.get(), LIBUSB_OPTION_LOG_LEVEL, LIBUSB_LOG_LEVEL_NONE);

  libusb_device** rawList = nullptr;
  const ssize_t count = libusb_get_device_list(context.get(), &rawList);
  if (count < 0) return nullptr;
  DeviceListPtr list(rawList);

  const std::vector<Candidate> candidates = MatchingDevices(list.get(), count, ids);
  if (*index >= candidates.size()) return nullptr;
  const Candidate& chosen = candidates[*index];

  const ConfigPtr config = ConfigOf(chosen.device);
  if (!config) return nullptr;
  const std::optional<UsbInterface> iface = FindInterfaceZero(*config);
  if (!iface) return nullptr;

  libusb_device_handle* rawHandle = nullptr;
  if (libusb_open(chosen.device, &rawHandle) != 0) return nullptr;
  // A kernel driver holding the interface is detached for the claim and attached again when
  // the interface is released. A handle whose claim failed is closed without a release.
  libusb_set_auto_detach_kernel_driver(rawHandle, 1);
  if (libusb_claim_interface(rawHandle, 0) != 0) {
    libusb_close(rawHandle);
    return nullptr;
  }
  HandlePtr handle(rawHandle);

  return std::make_unique<UsbDriver>(std::move(context), std::move(handle), *iface,
                                     RawDescriptor(chosen.descriptor));
}

} // namespace qvt
