// Placeholder until the virtual interface lands.
#include "registry.h"
namespace qvt::sim {
VirtualInterface* FindInterface(std::string_view) { return nullptr; }
void SetClock(Clock*) {}
void ResetInterfaces() {}
} // namespace qvt::sim
