// SPDX-License-Identifier: LGPL-2.1-or-later
// The sim driver: hands every request of a device path "\\.\VexorQVT2-<n>" (n = 0..3) to the
// virtual interface of that name. The driver shares the interface, so it stays usable even
// if the interfaces are reset while the driver is open. An unplugged interface does not open,
// as an absent device does not.
#include <string_view>

#include "driver.h"
#include "registry.h"
#include "virtual_interface.h"

namespace qvt {
namespace {

class SimDriver final : public Driver {
public:
  explicit SimDriver(std::shared_ptr<sim::VirtualInterface> device) : device_(std::move(device)) {}
  uint32_t Request(uint32_t code, const void* in, uint32_t inLength, void* out,
                   uint32_t outLength) override {
    return device_->Request(code, in, inLength, out, outLength);
  }

private:
  std::shared_ptr<sim::VirtualInterface> device_;
};

} // namespace

std::unique_ptr<Driver> OpenSimDriver(const std::string& path) {
  constexpr std::string_view kPathPrefix = "\\\\.\\";
  const std::string_view p = path;
  if (!p.starts_with(kPathPrefix))
    return nullptr;
  auto device = sim::ShareInterface(p.substr(kPathPrefix.size()));
  if (!device || device->Unplugged())
    return nullptr;
  return std::make_unique<SimDriver>(std::move(device));
}

} // namespace qvt
