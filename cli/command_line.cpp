// SPDX-License-Identifier: GPL-3.0-or-later
// The shared parts of qvt2ctl's commands.
#include "command_line.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>

#include "qvt2.h"
#include "translate.h"

namespace qvt::cli {

std::atomic<bool> CancelRequested{false};

namespace {

void OnCancel(int number) {
  // Only a lock-free atomic store is allowed here; the command's loop sees it and stops. A
  // second signal ends the program the hard way, should stopping itself hang.
  CancelRequested.store(true);
  std::signal(number, SIG_DFL);
}

} // namespace

bool French() {
  // English unless French is asked for: the command line's messages were English first.
  return AskedLanguage() == "fr";
}

const char* Say(const char* fr, const char* en) {
  return French() ? fr : en;
}

std::string Refused(std::string_view option, std::string_view value, std::string_view accepted,
                    bool unknown) {
  std::string out(option);
  if (French()) {
    out += ": « ";
    out += value;
    out += unknown ? " » inconnue ; valeurs admises : " : " » refusée ; valeurs admises : ";
  } else {
    out += ": '";
    out += value;
    out += unknown ? "' unknown; accepted values: " : "' refused; accepted values: ";
  }
  out += accepted;
  return out;
}

const std::string* TArguments::Last(const std::string& name) const {
  const auto [first, end] = Values.equal_range(name);
  return first == end ? nullptr : &std::prev(end)->second;
}

std::vector<std::string> TArguments::All(const std::string& name) const {
  std::vector<std::string> out;
  const auto [first, end] = Values.equal_range(name);
  for (auto it = first; it != end; ++it)
    out.push_back(it->second);
  return out;
}

TArguments ReadArguments(const std::vector<std::string>& args, const std::set<std::string>& flags,
                         const std::set<std::string>& valued) {
  TArguments out;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 2 || arg[0] != '-' || (arg[1] != '-' && arg != "-o") ||
        (arg[1] >= '0' && arg[1] <= '9')) {
      out.Words.push_back(arg);
      continue;
    }
    const auto equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    if (flags.count(name) && equals == std::string::npos) {
      out.Flags.insert(name);
    } else if (valued.count(name)) {
      if (equals != std::string::npos) {
        out.Values.emplace(name, arg.substr(equals + 1));
      } else if (i + 1 < args.size()) {
        out.Values.emplace(name, args[++i]);
      } else {
        throw TUsageError(name + Say(" : valeur manquante", ": missing value"));
      }
    } else {
      std::string accepted;
      for (const auto* set : {&flags, &valued})
        for (const auto& o : *set)
          accepted += (accepted.empty() ? "" : ", ") + o;
      throw TUsageError(Refused("option", name, accepted, true));
    }
  }
  return out;
}

std::string PortName(const TGlobalOptions& options) {
  return options.Device.empty() ? TQVT2::kDefaultPortName : options.Device;
}

void OpenInterface(TQVT2& device, const TGlobalOptions& options) {
  if (options.Simulate)
    ::setenv("QVTLINK_DEVICE", "sim", 1); // before the library opens anything
  if (!device.OpenPort(PortName(options))) {
    throw TDeviceError(
        (French()
             ? "interface « " + PortName(options) + " » absente ou utilisée par un autre programme"
             : "interface '" + PortName(options) + "' absent or held by another program"));
  }
}

void InstallCancelHandlers() {
  std::signal(SIGINT, OnCancel);
  std::signal(SIGTERM, OnCancel);
}

} // namespace qvt::cli
