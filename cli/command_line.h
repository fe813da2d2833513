// SPDX-License-Identifier: GPL-3.0-or-later
// What every qvt2ctl command shares: the reading of its options, the language of its messages,
// the failures that end it with their exit codes, the opening of the interface and the
// cancellation by Ctrl+C or SIGTERM.
#pragma once

#include <atomic>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class TQVT2;

namespace qvt::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitDevice = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitCancelled = 130;

// A wrong command line: exit 2 with this message.
class TUsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};
// The interface absent, lost or held by another program: exit 1 with this message.
class TDeviceError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// True when the messages are French: the first entry of LANGUAGE's colon list that is French
// or English says which; without one, the first set of LC_ALL, LC_MESSAGES and LANG starts
// with "fr".
bool French();
// `fr` or `en` by French().
const char* Say(const char* fr, const char* en);

// The message of a refused value, naming the option and the accepted values:
// "--timebase: « 3 ms » inconnue ; valeurs admises : 10 µs, …" (`unknown`: a name not in a
// list; otherwise the value is "refusée").
std::string Refused(std::string_view option, std::string_view value, std::string_view accepted,
                    bool unknown = false);

// The options of one command after its name: flags, valued options (each may repeat; "--x v"
// and "--x=v" alike) and positional words. Unknown options and missing values throw
// TUsageError naming the option.
struct TArguments {
  std::multimap<std::string, std::string> Values;
  std::set<std::string> Flags;
  std::vector<std::string> Words;

  bool Has(const std::string& name) const { return Flags.count(name) || Values.count(name); }
  // The last value given, or nothing.
  const std::string* Last(const std::string& name) const;
  std::vector<std::string> All(const std::string& name) const;
};
TArguments ReadArguments(const std::vector<std::string>& args, const std::set<std::string>& flags,
                         const std::set<std::string>& valued);

// Options read before the command or anywhere after it.
struct TGlobalOptions {
  bool Simulate = false;
  std::string Device; // the port name; empty for the first interface
};

// Opens the interface (the virtual one with --simulate) or throws TDeviceError.
void OpenInterface(TQVT2& device, const TGlobalOptions& options);
// The port name the options choose.
std::string PortName(const TGlobalOptions& options);

// Set by SIGINT and SIGTERM once InstallCancelHandlers has run.
extern std::atomic<bool> CancelRequested;
void InstallCancelHandlers();

} // namespace qvt::cli
