// SPDX-License-Identifier: LGPL-2.1-or-later
// The process-wide virtual interfaces. The registry and the steady clock are created once and
// never destroyed, so a thread still talking to an interface while the process exits does not
// meet a destroyed registry.
#include "registry.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>

#include "options.h"
#include "virtual_interface.h"

namespace qvt::sim {
namespace {

constexpr std::string_view kNamePrefix = "VexorQVT2-";

struct Registry {
  std::mutex mutex;
  Clock* clock = nullptr;
  std::array<std::shared_ptr<VirtualInterface>, 4> interfaces;
};

Registry& TheRegistry() {
  static Registry* registry = new Registry;
  return *registry;
}

Clock& TheSteadyClock() {
  static SteadyClock* clock = new SteadyClock;
  return *clock;
}

int IndexOf(std::string_view name) {
  if (name.size() != kNamePrefix.size() + 1 || !name.starts_with(kNamePrefix))
    return -1;
  const char digit = name.back();
  return digit >= '0' && digit <= '3' ? digit - '0' : -1;
}

bool IsIndex(int index) {
  return index >= 0 && index <= 3;
}

// A new interface from the options of the environment; the caller holds the registry's lock.
std::shared_ptr<VirtualInterface> Build(Registry& r, bool withUnplugDeadline) {
  const char* text = std::getenv("QVTLINK_SIM");
  ParsedOptions parsed = ParseOptions(text ? text : "");
  for (const std::string& message : parsed.messages)
    std::fprintf(stderr, "%s\n", message.c_str());
  if (!withUnplugDeadline)
    parsed.options.unplugAfter.reset();
  return std::make_shared<VirtualInterface>(parsed.options, r.clock ? *r.clock : TheSteadyClock());
}

std::shared_ptr<VirtualInterface> Share(int index) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  auto& slot = r.interfaces[static_cast<size_t>(index)];
  if (!slot)
    slot = Build(r, true);
  return slot;
}

} // namespace

std::shared_ptr<VirtualInterface> ShareInterface(std::string_view name) {
  const int index = IndexOf(name);
  return index < 0 ? nullptr : Share(index);
}

VirtualInterface* FindInterface(std::string_view name) {
  return ShareInterface(name).get();
}

void SetClock(Clock* clock) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  r.clock = clock;
}

void ResetInterfaces() {
  Registry& r = TheRegistry();
  std::array<std::shared_ptr<VirtualInterface>, 4> old;
  {
    std::lock_guard lock(r.mutex);
    old.swap(r.interfaces);
  }
}

void UnplugInterface(int index) {
  if (IsIndex(index))
    Share(index)->Unplug();
}

void PlugInterface(int index) {
  if (!IsIndex(index))
    return;
  Registry& r = TheRegistry();
  std::shared_ptr<VirtualInterface> old;
  {
    std::lock_guard lock(r.mutex);
    auto fresh = Build(r, false);
    old = std::exchange(r.interfaces[static_cast<size_t>(index)], std::move(fresh));
  }
  if (old)
    old->Unplug();
}

} // namespace qvt::sim
