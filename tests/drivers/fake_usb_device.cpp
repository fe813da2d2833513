// SPDX-License-Identifier: GPL-3.0-or-later
// The scripted USB device: usbfs request handling for the umockdev test bed.
#include "fake_usb_device.h"

#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace qvt::test {
namespace {

void Put16(std::vector<uint8_t>& to, uint16_t value) {
  to.push_back(static_cast<uint8_t>(value));
  to.push_back(static_cast<uint8_t>(value >> 8));
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string text;
  char pair[3];
  for (uint8_t b : bytes) {
    std::snprintf(pair, sizeof pair, "%02x", b);
    text += pair;
  }
  return text;
}

struct UrbView {
  UMockdevIoctlData* urb;
  usbdevfs_urb* operator->() const { return reinterpret_cast<usbdevfs_urb*>(urb->data); }
};

} // namespace

std::vector<uint8_t> MakeDescriptors(uint16_t vendor, uint16_t product, uint16_t release,
                                     const std::vector<FakeEndpoint>& endpoints) {
  std::vector<uint8_t> d = {18, 1};
  Put16(d, 0x0200);                // USB 2.0
  d.insert(d.end(), {0, 0, 0, 64}); // class in the interface, packet size 64 on endpoint 0
  Put16(d, vendor);
  Put16(d, product);
  Put16(d, release);
  d.insert(d.end(), {1, 2, 0, 1});

  const auto total = static_cast<uint16_t>(9 + 9 + 7 * endpoints.size());
  d.insert(d.end(), {9, 2});
  Put16(d, total);
  d.insert(d.end(), {1, 1, 0, 0x80, 50}); // one interface, configuration 1, bus powered
  d.insert(d.end(), {9, 4, 0, 0, static_cast<uint8_t>(endpoints.size()), 0xFF, 0, 0, 0});
  for (const FakeEndpoint& ep : endpoints) {
    d.insert(d.end(), {7, 5, ep.address, 0x02}); // bulk
    Put16(d, ep.maxPacketSize);
    d.push_back(0);
  }
  return d;
}

FakeUsbDevice::FakeUsbDevice(UMockdevTestbed* bed, int bus, int address,
                             const std::vector<uint8_t>& descriptors)
    : handler_(umockdev_ioctl_base_new()) {
  char devnode[64];
  std::snprintf(devnode, sizeof devnode, "/dev/bus/usb/%03d/%03d", bus, address);
  g_signal_connect_after(handler_, "handle-ioctl", G_CALLBACK(&FakeUsbDevice::OnIoctl), this);
  // The handler goes first: libusb may open the device as soon as it appears.
  GError* error = nullptr;
  if (!umockdev_testbed_attach_ioctl(bed, devnode, handler_, &error))
    throw std::runtime_error(error->message);

  char text[1024];
  std::snprintf(text, sizeof text,
                "P: /devices/usb%d/%d-%d\n"
                "N: bus/usb/%03d/%03d\n"
                "E: SUBSYSTEM=usb\n"
                "E: DEVTYPE=usb_device\n"
                "E: DEVNAME=%s\n"
                "E: BUSNUM=%03d\n"
                "E: DEVNUM=%03d\n"
                "A: busnum=%d\\n\n"
                "A: devnum=%d\\n\n"
                "A: speed=480\\n\n"
                "A: bConfigurationValue=1\\n\n"
                "H: descriptors=%s\n",
                bus, bus, address, bus, address, devnode, bus, address, bus, address,
                Hex(descriptors).c_str());
  if (!umockdev_testbed_add_from_string(bed, text, &error))
    throw std::runtime_error(error->message);
}

FakeUsbDevice::~FakeUsbDevice() {
  for (UMockdevIoctlData* urb : flying_) g_object_unref(urb);
  for (UMockdevIoctlData* urb : done_) g_object_unref(urb);
  g_object_unref(handler_);
}

void FakeUsbDevice::QueueIn(uint8_t endpoint, std::vector<uint8_t> data, bool complete) {
  std::lock_guard lock(mutex_);
  inQueue_[endpoint].emplace_back(std::move(data), complete);
}

std::vector<FakeUsbDevice::Urb> FakeUsbDevice::Submitted() const {
  std::lock_guard lock(mutex_);
  return submitted_;
}

bool FakeUsbDevice::Claimed() const {
  std::lock_guard lock(mutex_);
  return claimed_;
}

gboolean FakeUsbDevice::OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self) {
  return static_cast<FakeUsbDevice*>(self)->Handle(client);
}

// Runs on the test bed's worker thread while the caller waits in ioctl().
gboolean FakeUsbDevice::Handle(UMockdevIoctlClient* client) {
  std::lock_guard lock(mutex_);
  UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
  switch (umockdev_ioctl_client_get_request(client)) {
  case USBDEVFS_GET_CAPABILITIES: {
    UMockdevIoctlData* caps = umockdev_ioctl_data_resolve(arg, 0, sizeof(uint32_t), nullptr);
    const uint32_t value = USBDEVFS_CAP_BULK_CONTINUATION | USBDEVFS_CAP_NO_PACKET_SIZE_LIM |
                           USBDEVFS_CAP_ZERO_PACKET;
    std::memcpy(caps->data, &value, sizeof value);
    umockdev_ioctl_client_complete(client, 0, 0);
    g_object_unref(caps);
    return TRUE;
  }
  case USBDEVFS_CLAIMINTERFACE:
  case USBDEVFS_DISCONNECT_CLAIM:
    claimed_ = true;
    umockdev_ioctl_client_complete(client, 0, 0);
    return TRUE;
  case USBDEVFS_RELEASEINTERFACE:
    claimed_ = false;
    umockdev_ioctl_client_complete(client, 0, 0);
    return TRUE;
  case USBDEVFS_IOCTL: // attach the kernel driver again: there is none
  case USBDEVFS_CLEAR_HALT:
    umockdev_ioctl_client_complete(client, 0, 0);
    return TRUE;
  case USBDEVFS_SUBMITURB: {
    UMockdevIoctlData* urb = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), nullptr);
    const UrbView view{urb};
    UMockdevIoctlData* buffer = umockdev_ioctl_data_resolve(
        urb, offsetof(usbdevfs_urb, buffer), static_cast<gsize>(view->buffer_length), nullptr);
    Urb record{view->type, view->endpoint, view->buffer_length, {}};
    const bool toHost = view->type != USBDEVFS_URB_TYPE_CONTROL && (view->endpoint & 0x80);
    if (!toHost) record.data.assign(buffer->data, buffer->data + view->buffer_length);
    submitted_.push_back(record);
    g_object_unref(buffer);

    view->actual_length = 0;
    view->status = 0;
    bool finished = true;
    if (view->type == USBDEVFS_URB_TYPE_CONTROL) {
      view->actual_length = view->buffer_length - 8; // the data stage, without the setup
    } else if (!toHost) {
      view->actual_length = view->buffer_length;
    } else {
      auto& queue = inQueue_[view->endpoint];
      if (queue.empty()) {
        finished = false;
      } else {
        auto& [bytes, complete] = queue.front();
        const int size = std::min<int>(static_cast<int>(bytes.size()), view->buffer_length);
        std::memcpy(view->buffer, bytes.data(), static_cast<size_t>(size));
        view->actual_length = size;
        finished = complete;
        queue.pop_front();
      }
    }
    (finished ? done_.push_back(urb) : flying_.push_back(urb));
    umockdev_ioctl_client_complete(client, 0, 0);
    return TRUE;
  }
  case USBDEVFS_DISCARDURB: {
    const gulong address = *reinterpret_cast<gulong*>(arg->data);
    const auto it = std::find_if(flying_.begin(), flying_.end(), [&](UMockdevIoctlData* urb) {
      return urb->client_addr == address;
    });
    if (it == flying_.end()) {
      umockdev_ioctl_client_complete(client, -1, EINVAL);
      return TRUE;
    }
    UrbView{*it}->status = -ENOENT; // the bytes already received stay in actual_length
    done_.push_back(*it);
    flying_.erase(it);
    umockdev_ioctl_client_complete(client, 0, 0);
    return TRUE;
  }
  case USBDEVFS_REAPURB:
  case USBDEVFS_REAPURBNDELAY:
    Reap(client);
    return TRUE;
  default:
    return FALSE;
  }
}

void FakeUsbDevice::Reap(UMockdevIoctlClient* client) {
  if (done_.empty()) {
    umockdev_ioctl_client_complete(client, -1, EAGAIN);
    return;
  }
  UMockdevIoctlData* urb = done_.front();
  done_.pop_front();
  UMockdevIoctlData* slot = umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0,
                                                        sizeof(void*), nullptr);
  umockdev_ioctl_data_set_ptr(slot, 0, urb);
  umockdev_ioctl_client_complete(client, 0, 0);
  g_object_unref(slot);
  g_object_unref(urb);
}

} // namespace qvt::test
