// SPDX-License-Identifier: LGPL-2.1-or-later
// The one instance of the library-wide state, and the port table and locks around it.
#include "link_state.h"

#include "service_thread.h"

namespace qvt::link {

namespace {
// Static storage: zeroed before any code runs, so loading the library does no work.
LinkState gState;
} // namespace

LinkState& State() { return gState; }

LinkState::~LinkState() {
  // A client that never stopped the service thread: end it before the state goes away.
  JoinServiceThread();
}

int32_t AddPort(std::unique_ptr<Driver> driver) {
  auto& s = State();
  std::lock_guard lock(s.portMutex);
  do {
    s.lastHandle = (s.lastHandle == INT32_MAX) ? 1 : s.lastHandle + 1;
  } while (s.ports.count(s.lastHandle) != 0);
  s.ports.emplace(s.lastHandle, std::shared_ptr<Driver>(std::move(driver)));
  return s.lastHandle;
}

void RemovePort(int32_t handle) {
  std::shared_ptr<Driver> released;
  {
    auto& s = State();
    std::lock_guard lock(s.portMutex);
    auto it = s.ports.find(handle);
    if (it == s.ports.end()) return;
    released = std::move(it->second);
    s.ports.erase(it);
  }
  // The driver is destroyed here, outside the lock, unless a call still holds it.
}

std::shared_ptr<Driver> PortDriver(int32_t handle) {
  auto& s = State();
  std::lock_guard lock(s.portMutex);
  auto it = s.ports.find(handle);
  return it == s.ports.end() ? nullptr : it->second;
}

std::unique_ptr<Driver> OpenPortDriver(const std::string& name) {
  const std::string path = "\\\\.\\" + name;
  testing::DriverOpener opener;
  {
    auto& s = State();
    std::lock_guard lock(s.portMutex);
    opener = s.opener;
  }
  return opener ? opener(path) : OpenDriver(path);
}

void TakeLock(std::atomic_flag& lock) {
  while (lock.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
}

} // namespace qvt::link
